#include "console/ShadowScreen.h"

#include <algorithm>

#include "console/ConsoleGlyphs.h"
#include "console/ScreenRules.h"

namespace {

const uint8_t FreshAttribute = 0x07;

TCell Blank(uint8_t attribute) {
    return TCell{U' ', attribute};
}

bool Differs(const TCell& a, const TCell& b) {
    return a.character != b.character || a.attribute != b.attribute;
}

}  // namespace

ShadowScreen::ShadowScreen(int columns, int rows)
    : cursorX(0), cursorY(0), cursorSize(1), attribute(FreshAttribute), cells(nullptr), codePage(0), width(0),
      height(0) {
    Resize(columns, rows);
}

ShadowScreen::~ShadowScreen() {
    delete[] cells;
}

void ShadowScreen::Resize(int columns, int rows) {
    if (columns < 1) {
        columns = 1;
    }
    if (rows < 1) {
        rows = 1;
    }
    delete[] cells;
    cells = new TCell[static_cast<size_t>(columns) * rows];
    width = columns;
    height = rows;
    for (int i = 0; i < width * height; ++i) {
        cells[i] = Blank(FreshAttribute);
    }
}

void ShadowScreen::SetCodePage(UINT cp) {
    if (cp != 0) {
        codePage = cp;
    }
}

void ShadowScreen::FillRect(int x, int y, int w, int h, uint8_t attr) {
    if (!ScreenRules::ClipSpan(x, w, width) || !ScreenRules::ClipSpan(y, h, height)) {
        return;
    }
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            Row(row)[col] = Blank(attr);
        }
    }
}

void ShadowScreen::Clear(uint8_t attr) {
    FillRect(0, 0, width, height, attr);
}

// Rows move as whole spans of cells: a child's long output scrolls the
// screen for every few lines.
void ShadowScreen::ScrollUp(int x, int y, int w, int h, int lines, uint8_t attr) {
    if (lines < 0 || !ScreenRules::ClipSpan(x, w, width) || !ScreenRules::ClipSpan(y, h, height)) {
        return;
    }
    for (int row = y; row < y + h; ++row) {
        if (row + lines < y + h) {
            std::copy_n(Row(row + lines) + x, w, Row(row) + x);
        } else {
            std::fill_n(Row(row) + x, w, Blank(attr));
        }
    }
}

void ShadowScreen::ScrollDown(int x, int y, int w, int h, int lines, uint8_t attr) {
    if (lines < 0 || !ScreenRules::ClipSpan(x, w, width) || !ScreenRules::ClipSpan(y, h, height)) {
        return;
    }
    for (int row = y + h - 1; row >= y; --row) {
        if (row - lines >= y) {
            std::copy_n(Row(row - lines) + x, w, Row(row) + x);
        } else {
            std::fill_n(Row(row) + x, w, Blank(attr));
        }
    }
}

bool ShadowScreen::WriteUnits(int x, int y, const char32_t* text, int n, uint8_t attr) {
    if (y < 0 || y >= height) {
        return false;
    }
    bool changed = false;
    for (int i = 0; i < n && text[i] != 0 && x + i < width; ++i) {
        if (x + i < 0) {
            continue;
        }
        TCell cell{ConsoleGlyphs::MapGlyph(text[i]), attr};
        TCell& at = Row(y)[x + i];
        if (Differs(at, cell)) {
            at = cell;
            changed = true;
        }
    }
    return changed;
}

bool ShadowScreen::WriteText(int x, int y, const char* text, uint8_t attr) {
    if (text == nullptr) {
        return false;
    }
    Westring wide(text, codePage == 0 ? CP_ACP : codePage);
    return WriteUnits(x, y, wide.Data(), wide.Length(), attr);
}

bool ShadowScreen::WriteWideText(int x, int y, const char32_t* text, uint8_t attr) {
    if (text == nullptr) {
        return false;
    }
    int n = 0;
    while (text[n] != 0) {
        ++n;
    }
    return WriteUnits(x, y, text, n, attr);
}

bool ShadowScreen::WriteCells(int x, int y, const TCell* run, int n) {
    if (run == nullptr || y < 0 || y >= height) {
        return false;
    }
    bool changed = false;
    for (int i = 0; (n < 0 || i < n) && run[i].character != 0 && x + i < width; ++i) {
        if (x + i < 0) {
            continue;
        }
        TCell cell{ConsoleGlyphs::MapGlyph(run[i].character), run[i].attribute};
        TCell& at = Row(y)[x + i];
        if (Differs(at, cell)) {
            at = cell;
            changed = true;
        }
    }
    return changed;
}

bool ShadowScreen::RepeatCell(int x, int y, int n, const TCell& cell) {
    if (n < 1 || x >= width || y < 0 || y >= height || !ScreenRules::ClipSpan(x, n, width)) {
        return false;
    }
    TCell mapped{ConsoleGlyphs::MapRepeatGlyph(cell.character), cell.attribute};
    bool changed = false;
    for (int col = x; col < x + n; ++col) {
        if (Differs(Row(y)[col], mapped)) {
            Row(y)[col] = mapped;
            changed = true;
        }
    }
    return changed;
}

bool ShadowScreen::SetAttributes(int x, int y, int n, uint8_t attr) {
    if (y < 0 || y >= height || !ScreenRules::ClipSpan(x, n, width)) {
        return false;
    }
    bool changed = false;
    for (int col = x; col < x + n; ++col) {
        if (Row(y)[col].attribute != attr) {
            Row(y)[col].attribute = attr;
            changed = true;
        }
    }
    return changed;
}

void ShadowScreen::CopyRect(CellString& out, int x, int y, int w, int h) const {
    out.SetLength(0);
    if (w < 1 || h < 1) {
        return;
    }
    out.Grow(w * h);
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            bool inside = row >= 0 && row < height && col >= 0 && col < width;
            out += inside ? At(col, row) : Blank(FreshAttribute);
        }
    }
}

TCell* ShadowScreen::SaveRect(int x, int y, int w, int h) const {
    if (w < 1 || h < 1) {
        return new TCell[1];
    }
    TCell* saved = new TCell[static_cast<size_t>(w) * h];
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            bool inside = y + row >= 0 && y + row < height && x + col >= 0 && x + col < width;
            saved[row * w + col] = inside ? At(x + col, y + row) : Blank(FreshAttribute);
        }
    }
    return saved;
}

void ShadowScreen::PutRect(int x, int y, int w, int h, const TCell* source) {
    if (source == nullptr || w < 1 || h < 1) {
        return;
    }
    for (int row = 0; row < h; ++row) {
        if (y + row < 0 || y + row >= height) {
            continue;
        }
        for (int col = 0; col < w; ++col) {
            if (x + col >= 0 && x + col < width) {
                Row(y + row)[x + col] = source[row * w + col];
            }
        }
    }
}

void ShadowScreen::LineFeed() {
    cursorX = 0;
    if (++cursorY >= height) {
        cursorY = height - 1;
        ScrollUp(0, 0, width, height, 1, attribute);
    }
}

// The shadow as the teletype rules see it.
class ShadowScreen::CTeletype {
public:
    explicit CTeletype(ShadowScreen& screen) : screen(screen) {}
    int& X() { return screen.cursorX; }
    int& Y() { return screen.cursorY; }
    int Width() const { return screen.width; }
    int Height() const { return screen.height; }
    void LineFeed() { screen.LineFeed(); }
    void Put(int x, int y, char32_t c) { screen.Row(y)[x] = TCell{c, screen.attribute}; }
    void Bell() {}

private:
    ShadowScreen& screen;
};

void ShadowScreen::WriteTty(const char* text) {
    if (text == nullptr) {
        return;
    }
    Westring wide(text);  // UTF-8
    CTeletype teletype(*this);
    ScreenRules::Write(teletype, wide.Data(), wide.Length());
}
