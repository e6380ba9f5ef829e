#include "host/ScreenModel.h"

#include "base/strings/Utf8Codec.h"
#include "console/ConsoleGlyphs.h"
#include "console/ScreenRules.h"

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

constexpr int kCodePageUtf8 = 65001;

// Code page 1252 where it differs from Latin-1; undefined bytes stand for themselves.
const char32_t k1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
};

// The part of [start, start + length) inside [0, limit), in 64-bit arithmetic
// so that no coordinate or count from the program can overflow; false when
// nothing of it is on the screen.
bool ClipSpan(int64_t start, int64_t length, int limit, int& clippedStart, int& clippedLength) {
    int64_t end = start + length;
    start = std::max<int64_t>(start, 0);
    end = std::min<int64_t>(end, limit);
    if (end <= start) {
        return false;
    }
    clippedStart = static_cast<int>(start);
    clippedLength = static_cast<int>(end - start);
    return true;
}

std::string AsBytes(const std::u32string& units) {
    std::string bytes;
    for (char32_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
    }
    return bytes;
}

}  // namespace

ScreenModel::ScreenModel(int columns, int rows) : m_columns(0), m_rows(0) {
    Resize(columns, rows);
}

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
}

void ScreenModel::SetSizeFixed(bool fixed) {
    m_sizeFixed = fixed;
    m_terminalColumns = m_columns;
    m_terminalRows = m_rows;
}

void ScreenModel::SetTerminalSize(int columns, int rows) {
    Resize(columns, rows);
    m_terminalColumns = m_columns;
    m_terminalRows = m_rows;
}

void ScreenModel::MarkDirty(int y) {
    if (y >= 0 && y < m_rows) {
        m_dirty[y] = true;
    }
}

void ScreenModel::Put(int x, int y, char32_t ch, uint8_t attr, GlyphRule rule) {
    if (!Inside(x, y)) {
        return;
    }
    if (rule == kMapAll) {
        ch = ConsoleGlyphs::MapGlyph(ch);
    } else if (rule == kMapLow) {
        ch = ConsoleGlyphs::MapRepeatGlyph(ch);
    }
    m_cells[static_cast<size_t>(y) * m_columns + x] = Cell{ch == 0 ? U' ' : ch, attr};
    MarkDirty(y);
}

std::u32string ScreenModel::DecodeText8(const std::u32string& bytes) const {
    if (m_codePage == kCodePageUtf8) {
        return Utf8ToUtf32(AsBytes(bytes));
    }
    std::u32string text = bytes;
    if (m_codePage == 0 || m_codePage == 1252) {
        for (char32_t& c : text) {
            if (c >= 0x80 && c < 0xA0) {
                c = k1252High[c - 0x80];
            }
        }
    }
    return text;
}

void ScreenModel::SetAttr(int x, int y, uint8_t attr) {
    if (Inside(x, y)) {
        m_cells[static_cast<size_t>(y) * m_columns + x].attr = attr;
        MarkDirty(y);
    }
}

void ScreenModel::FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t attr) {
    int left, width, top, height;
    if (!ClipSpan(x, w, m_columns, left, width) || !ClipSpan(y, h, m_rows, top, height)) {
        return;
    }
    for (int row = top; row < top + height; ++row) {
        for (int col = left; col < left + width; ++col) {
            Put(col, row, U' ', attr);
        }
    }
}

void ScreenModel::PutRow(int32_t x, int32_t y, const char32_t* chars, const uint8_t* attrs, size_t n, uint8_t attr,
                         GlyphRule rule) {
    int first, count;
    if (y < 0 || y >= m_rows || !ClipSpan(x, static_cast<int64_t>(n), m_columns, first, count)) {
        return;
    }
    const size_t skip = static_cast<size_t>(static_cast<int64_t>(first) - x);
    for (int i = 0; i < count; ++i) {
        Put(first + i, y, chars[skip + i], attrs ? attrs[skip + i] : attr, rule);
    }
}

void ScreenModel::Scroll(int32_t x0, int32_t y0, int32_t w0, int32_t h0, int32_t lines0, uint8_t attr, bool up) {
    int x, w, y, h;
    if (lines0 < 0 || !ClipSpan(x0, w0, m_columns, x, w) || !ClipSpan(y0, h0, m_rows, y, h)) {
        return;
    }
    // Scrolling by the height or more clears the region. The rows that stay
    // move as whole spans of cells (one block when the region is as wide as
    // the screen): a child's output scrolls the screen for every line.
    const int lines = lines0 > h ? h : lines0;
    const int kept = h - lines;
    auto span = [&](int row) { return m_cells.begin() + static_cast<std::ptrdiff_t>(row) * m_columns + x; };
    if (kept > 0 && lines > 0) {
        if (w == m_columns) {
            const size_t cells = static_cast<size_t>(kept) * m_columns;
            if (up) {
                std::copy(span(y + lines), span(y + lines) + cells, span(y));
            } else {
                std::copy_backward(span(y), span(y) + cells, span(y + lines) + cells);
            }
        } else if (up) {
            for (int row = 0; row < kept; ++row) {
                std::copy(span(y + lines + row), span(y + lines + row) + w, span(y + row));
            }
        } else {
            for (int row = kept - 1; row >= 0; --row) {
                std::copy(span(y + row), span(y + row) + w, span(y + lines + row));
            }
        }
    }
    const int firstBlank = up ? y + kept : y;
    for (int row = firstBlank; row < firstBlank + lines; ++row) {
        std::fill(span(row), span(row) + w, Cell{U' ', attr});
    }
    if (lines > 0) {
        for (int row = y; row < y + h; ++row) {
            MarkDirty(row);
        }
    }
}

void ScreenModel::LineFeed() {
    m_cursorX = 0;
    if (++m_cursorY >= m_rows) {
        m_cursorY = m_rows - 1;
        Scroll(0, 0, m_columns, m_rows, 1, m_attribute, true);
    }
}

// Teletype output follows the rules of the program's own copy of the screen,
// so that both agree on every cell.
class ScreenModel::Teletype {
public:
    explicit Teletype(ScreenModel& model) : m(model) {}
    int& X() { return m.m_cursorX; }
    int& Y() { return m.m_cursorY; }
    int Width() const { return m.m_columns; }
    int Height() const { return m.m_rows; }
    void LineFeed() { m.LineFeed(); }
    void Put(int x, int y, char32_t c) { m.Put(x, y, c, m.m_attribute); }
    void Bell() { ++m.m_beeps; }

private:
    ScreenModel& m;
};

void ScreenModel::WriteTty(const std::u32string& text) {
    Teletype teletype(*this);
    ScreenRules::Write(teletype, text.data(), static_cast<int>(text.size()));
}

bool ScreenModel::Apply(const Request& r, std::string& reply) {
    switch (r.opcode) {
    case kOpInit: reply = EncodeReply({1}); return true;
    case kOpGetScreenSize: reply = EncodeReply({m_columns, m_rows}); return true;
    case kOpSetScreenSize: {
        int cols = r.Int(0), rows = r.Int(1);
        bool ok = cols > 0 && rows > 0 && cols <= kMaxColumns && rows <= kMaxRows;
        if (ok && m_sizeFixed) {
            auto fits = [](int wanted, int terminal, int least) {
                return wanted == terminal || (terminal < wanted && wanted <= least);
            };
            ok = fits(cols, m_terminalColumns, kLeastColumns) && fits(rows, m_terminalRows, kLeastRows);
        }
        if (ok) {
            Resize(cols, rows);
        }
        reply = EncodeReply({ok ? 1 : 0});
        return true;
    }
    case kOpGetClipboard: reply = EncodeReply({m_clipboard.empty() ? 0 : 1}, &m_clipboard); return true;
    case kOpSetCursorPos:
        m_cursorX = r.Int(0);
        m_cursorY = r.Int(1);
        break;
    case kOpSetCursorShape: m_cursorSize = r.Int(0); break;
    case kOpSetAttribute: m_attribute = static_cast<uint8_t>(r.Int(0, m_attribute)); break;
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
        m_title = !r.params.empty() && r.params[0].type == kParamText8 ? DecodeText8(r.Text(0)) : r.Text(0);
        m_titleChanged = true;
        break;
    case kOpWrite: {
        const int32_t x = r.Int(0), y = r.Int(1);
        if (const std::vector<Cell>* cells = r.Cells(2)) {
            std::u32string chars;
            std::vector<uint8_t> attrs;
            for (const Cell& c : *cells) {
                chars += c.ch;
                attrs.push_back(c.attr);
            }
            PutRow(x, y, chars.data(), attrs.data(), chars.size(), 0, kMapAll);
        } else {
            uint8_t attr = static_cast<uint8_t>(r.Int(3, m_attribute));
            bool narrow = r.params.size() > 2 && r.params[2].type == kParamText8;
            const std::u32string text = narrow ? DecodeText8(r.Text(2)) : r.Text(2);
            PutRow(x, y, text.data(), nullptr, text.size(), attr, kMapAll);
        }
        break;
    }
    case kOpRepeatCell: {
        const std::vector<Cell>* cells = r.Cells(3);
        int first, count;
        if (cells && !cells->empty() && r.Int(1) >= 0 && r.Int(1) < m_rows &&
            ClipSpan(r.Int(0), r.Int(2), m_columns, first, count)) {
            for (int i = 0; i < count; ++i) {
                Put(first + i, r.Int(1), (*cells)[0].ch, (*cells)[0].attr, kMapLow);
            }
        }
        break;
    }
    case kOpSetAttributes: {
        int first, count;
        if (r.Int(1) >= 0 && r.Int(1) < m_rows && ClipSpan(r.Int(0), r.Int(2), m_columns, first, count)) {
            for (int i = 0; i < count; ++i) {
                SetAttr(first + i, r.Int(1), static_cast<uint8_t>(r.Int(3)));
            }
        }
        break;
    }
    case kOpPutCellRect: {
        // w x h cells row after row; only the rows that are on the screen
        // are walked.
        const std::vector<Cell>* cells = r.Cells(4);
        const int64_t x = r.Int(0), y = r.Int(1), w = r.Int(2);
        const int64_t h =
            std::min<int64_t>(r.Int(3), cells ? static_cast<int64_t>(cells->size()) / std::max<int64_t>(w, 1) : 0);
        int top, rows;
        if (!cells || w <= 0 || !ClipSpan(y, h, m_rows, top, rows)) {
            break;
        }
        std::u32string chars;
        std::vector<uint8_t> attrs;
        for (int row = top; row < top + rows; ++row) {
            const size_t first = static_cast<size_t>((row - y) * w);
            chars.clear();
            attrs.clear();
            for (size_t i = first; i < first + static_cast<size_t>(w); ++i) {
                chars += (*cells)[i].ch;
                attrs.push_back((*cells)[i].attr);
            }
            PutRow(static_cast<int32_t>(x), row, chars.data(), attrs.data(), chars.size(), 0, kMapNone);
        }
        break;
    }
    case kOpSetClipboard:
        m_clipboard = !r.params.empty() && r.params[0].type == kParamText8 ? DecodeText8(r.Text(0)) : r.Text(0);
        break;
    case kOpWriteTty:
        // Teletype output is the program's UTF-8 console text.
        WriteTty(Utf8ToUtf32(AsBytes(r.Text(0))));
        break;
    case kOpBeep: ++m_beeps; break;
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
    case kOpSetCodePage: m_codePage = r.Int(0); break;
    default: break;
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
    return Utf32ToUtf8(text);
}

std::string ScreenModel::TextRows() const {
    std::string text;
    std::string blankRows;
    for (int y = 0; y < m_rows; ++y) {
        std::string row = RowText(y);
        size_t end = row.find_last_not_of(' ');
        row.erase(end == std::string::npos ? 0 : end + 1);
        if (row.empty()) {
            blankRows += '\n';
            continue;
        }
        text += blankRows + row + '\n';
        blankRows.clear();
    }
    return text;
}

std::vector<uint8_t> ScreenModel::RowAttributes(int y, int x, int width) const {
    std::vector<uint8_t> attrs;
    if (y < 0 || y >= m_rows) {
        return attrs;
    }
    int end = width < 0 ? m_columns : std::min(m_columns, x + width);
    for (int col = std::max(0, x); col < end; ++col) {
        attrs.push_back(At(col, y).attr);
    }
    return attrs;
}

std::string ScreenModel::Dump() const {
    std::string text;
    for (int y = 0; y < m_rows; ++y) {
        text += RowText(y);
        text += '\n';
    }
    text += "cursor " + std::to_string(CursorX()) + "," + std::to_string(CursorY()) + " size " +
            std::to_string(m_cursorSize) + ", title \"" + Utf32ToUtf8(m_title) + "\", beeps " +
            std::to_string(m_beeps) + "\n";
    return text;
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
