#include "host/ScreenModel.h"

#include <algorithm>

namespace qvhost {

namespace {

enum Opcode : uint16_t {
    kOpInit = 0,
    kOpSetCursorPos = 4,
    kOpSetCodePage = 5,
    kOpGetScreenSize = 6,
    kOpSetScreenSize = 7,
    kOpFill = 8,
    kOpScrollUp = 9,
    kOpScrollDown = 10,
    kOpSetTitle = 11,
    kOpSetCursorShape = 12,
    kOpSetAttribute = 14,
    kOpWrite = 15,
    kOpRepeatCell = 16,
    kOpSetAttributes = 17,
    kOpPutCellRect = 19,
    kOpSetClipboard = 20,
    kOpGetClipboard = 21,
    kOpWriteTty = 22,
    kOpBeep = 23,
    kOpSetOutputRegion = 24,
    kOpResetOutputRegion = 26,
};

// Sizes beyond these are not screens but mistakes.
constexpr int kMaxColumns = 1000;
constexpr int kMaxRows = 1000;

}  // namespace

ScreenModel::ScreenModel(int columns, int rows) : m_columns(0), m_rows(0) { Resize(columns, rows); }

void ScreenModel::Resize(int columns, int rows) {
    columns = std::max(1, std::min(columns, kMaxColumns));
    rows = std::max(1, std::min(rows, kMaxRows));
    std::vector<Cell> cells(static_cast<size_t>(columns) * rows, Cell{U' ', 0x07});
    for (int y = 0; y < std::min(rows, m_rows); ++y) {
        for (int x = 0; x < std::min(columns, m_columns); ++x) {
            cells[static_cast<size_t>(y) * columns + x] = At(x, y);
        }
    }
    m_cells.swap(cells);
    m_columns = columns;
    m_rows = rows;
    m_dirty.assign(rows, true);
    m_cursorX = std::min(m_cursorX, columns - 1);
    m_cursorY = std::min(m_cursorY, rows - 1);
}

void ScreenModel::MarkDirty(int y) {
    if (y >= 0 && y < m_rows) {
        m_dirty[y] = true;
    }
}

void ScreenModel::Put(int x, int y, char32_t ch, uint8_t attr) {
    if (Inside(x, y)) {
        m_cells[static_cast<size_t>(y) * m_columns + x] = Cell{ch == 0 ? U' ' : ch, attr};
        MarkDirty(y);
    }
}

void ScreenModel::SetAttr(int x, int y, uint8_t attr) {
    if (Inside(x, y)) {
        m_cells[static_cast<size_t>(y) * m_columns + x].attr = attr;
        MarkDirty(y);
    }
}

void ScreenModel::FillRect(int x, int y, int w, int h, uint8_t attr) {
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            Put(col, row, U' ', attr);
        }
    }
}

void ScreenModel::Scroll(int x, int y, int w, int h, int lines, uint8_t attr, bool up) {
    if (lines <= 0 || w <= 0 || h <= 0) {
        return;
    }
    if (lines >= h) {
        FillRect(x, y, w, h, attr);
        return;
    }
    std::vector<Cell> saved;
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            saved.push_back(Inside(x + col, y + row) ? At(x + col, y + row) : Cell{U' ', attr});
        }
    }
    for (int row = 0; row < h; ++row) {
        int from = up ? row + lines : row - lines;
        for (int col = 0; col < w; ++col) {
            Cell c = (from >= 0 && from < h) ? saved[static_cast<size_t>(from) * w + col] : Cell{U' ', attr};
            Put(x + col, y + row, c.ch, c.attr);
        }
    }
}

void ScreenModel::WriteTty(const std::u32string& text) {
    int x1 = m_regionX1, y1 = m_regionY1;
    int x2 = m_regionX2 < 0 ? m_columns - 1 : std::min(m_regionX2, m_columns - 1);
    int y2 = m_regionY2 < 0 ? m_rows - 1 : std::min(m_regionY2, m_rows - 1);
    auto newline = [&] {
        m_cursorX = x1;
        if (++m_cursorY > y2) {
            m_cursorY = y2;
            Scroll(x1, y1, x2 - x1 + 1, y2 - y1 + 1, 1, m_attribute, true);
        }
    };
    for (char32_t ch : text) {
        switch (ch) {
            case U'\r':
                m_cursorX = x1;
                break;
            case U'\n':
                newline();
                break;
            case U'\b':
                if (m_cursorX > x1) {
                    --m_cursorX;
                }
                break;
            case U'\t':
                do {
                    Put(m_cursorX, m_cursorY, U' ', m_attribute);
                    ++m_cursorX;
                } while (m_cursorX % 8 != 0 && m_cursorX <= x2);
                if (m_cursorX > x2) {
                    newline();
                }
                break;
            case 7:
                ++m_beeps;
                break;
            default:
                Put(m_cursorX, m_cursorY, ch, m_attribute);
                if (++m_cursorX > x2) {
                    newline();
                }
        }
    }
}

bool ScreenModel::Apply(const Request& r, std::string& reply) {
    switch (r.opcode) {
        case kOpInit:
            reply = EncodeReply({1});
            return true;
        case kOpGetScreenSize:
            reply = EncodeReply({m_columns, m_rows});
            return true;
        case kOpSetScreenSize: {
            int cols = r.Int(0), rows = r.Int(1);
            bool ok = cols > 0 && rows > 0 && cols <= kMaxColumns && rows <= kMaxRows;
            if (ok && m_sizeFixed) {
                ok = cols == m_columns && rows == m_rows;
            }
            if (ok) {
                Resize(cols, rows);
            }
            reply = EncodeReply({ok ? 1 : 0});
            return true;
        }
        case kOpGetClipboard:
            reply = EncodeReply({m_clipboard.empty() ? 0 : 1}, &m_clipboard);
            return true;
        case kOpSetCursorPos:
            m_cursorX = std::max(0, std::min(r.Int(0), m_columns - 1));
            m_cursorY = std::max(0, std::min(r.Int(1), m_rows - 1));
            break;
        case kOpSetCursorShape:
            m_cursorSize = r.Int(0);
            break;
        case kOpSetAttribute:
            m_attribute = static_cast<uint8_t>(r.Int(0, m_attribute));
            break;
        case kOpFill:
            if (r.params.size() >= 5) {
                FillRect(r.Int(0), r.Int(1), r.Int(2), r.Int(3), static_cast<uint8_t>(r.Int(4)));
            } else {
                FillRect(0, 0, m_columns, m_rows, m_attribute);
            }
            break;
        case kOpScrollUp:
        case kOpScrollDown:
            Scroll(r.Int(0), r.Int(1), r.Int(2), r.Int(3), r.Int(4), static_cast<uint8_t>(r.Int(5, 0x07)),
                   r.opcode == kOpScrollUp);
            break;
        case kOpSetTitle:
            m_title = r.Text(0);
            m_titleChanged = true;
            break;
        case kOpWrite: {
            int x = r.Int(0), y = r.Int(1);
            if (const std::vector<Cell>* cells = r.Cells(2)) {
                for (const Cell& c : *cells) {
                    Put(x++, y, c.ch, c.attr);
                }
            } else {
                uint8_t attr = static_cast<uint8_t>(r.Int(3, m_attribute));
                for (char32_t ch : r.Text(2)) {
                    Put(x++, y, ch, attr);
                }
            }
            break;
        }
        case kOpRepeatCell: {
            const std::vector<Cell>* cells = r.Cells(3);
            if (cells && !cells->empty()) {
                for (int i = 0; i < r.Int(2); ++i) {
                    Put(r.Int(0) + i, r.Int(1), (*cells)[0].ch, (*cells)[0].attr);
                }
            }
            break;
        }
        case kOpSetAttributes:
            for (int i = 0; i < r.Int(2); ++i) {
                SetAttr(r.Int(0) + i, r.Int(1), static_cast<uint8_t>(r.Int(3)));
            }
            break;
        case kOpPutCellRect: {
            const std::vector<Cell>* cells = r.Cells(4);
            int w = r.Int(2);
            if (cells && w > 0) {
                for (size_t i = 0; i < cells->size(); ++i) {
                    const Cell& c = (*cells)[i];
                    Put(r.Int(0) + static_cast<int>(i % w), r.Int(1) + static_cast<int>(i / w), c.ch, c.attr);
                }
            }
            break;
        }
        case kOpSetClipboard:
            m_clipboard = r.Text(0);
            break;
        case kOpWriteTty:
            WriteTty(r.Text(0));
            break;
        case kOpBeep:
            ++m_beeps;
            break;
        case kOpSetOutputRegion:
            m_regionX1 = r.Int(0);
            m_regionY1 = r.Int(1);
            m_regionX2 = r.Int(2);
            m_regionY2 = r.Int(3);
            break;
        case kOpResetOutputRegion:
            m_regionX1 = m_regionY1 = 0;
            m_regionX2 = m_regionY2 = -1;
            break;
        case kOpSetCodePage:
        default:
            break;
    }
    return false;
}

std::string ScreenModel::RowText(int y, int x, int width) const {
    std::u32string text;
    if (y < 0 || y >= m_rows) {
        return std::string();
    }
    int end = width < 0 ? m_columns : std::min(m_columns, x + width);
    for (int col = std::max(0, x); col < end; ++col) {
        text += At(col, y).ch;
    }
    return EncodeUtf8(text);
}

std::vector<bool> ScreenModel::TakeDirtyRows() {
    std::vector<bool> rows(m_rows, false);
    rows.swap(m_dirty);
    return rows;
}

bool ScreenModel::TakeTitleChanged() {
    bool changed = m_titleChanged;
    m_titleChanged = false;
    return changed;
}

}  // namespace qvhost
