#include "ui/Win.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "app/settings/Config.h"
#include "base/strings/LocaleCase.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "platform/win32.h"

uint8_t DefaultWindowAttribute = 0;

namespace {

const char32_t FrameTopLeft = 0x2554;
const char32_t FrameTopRight = 0x2557;
const char32_t FrameBottomLeft = 0x255A;
const char32_t FrameBottomRight = 0x255D;
const char32_t FrameHorizontal = 0x2550;
const char32_t FrameVertical = 0x2551;

// Every window that exists, in the order they were made or last shown: a
// later one lies over the earlier ones. Windows are made, destroyed and
// drawn on one thread at a time (the threads that draw never draw while the
// main thread does), so the list needs no lock of its own.
std::vector<Win*>& WindowStack() {
    static std::vector<Win*> windows;
    return windows;
}

void RemoveFromStack(const Win* window) {
    std::vector<Win*>& windows = WindowStack();
    for (size_t i = windows.size(); i-- > 0;) {
        if (windows[i] == window) {
            windows.erase(windows.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

// Whether the inclusive ranges a0..a1 and b0..b1 share a value.
bool Overlaps(int a0, int a1, int b0, int b1) {
    return a0 <= b1 && b0 <= a1;
}

// The shadow rule for one attribute.
uint8_t DimAttribute(uint8_t attribute) {
    int fg = attribute & 0x0F;
    return static_cast<uint8_t>(fg >= 8 ? fg - 8 : 8);
}

CellString Blanks(int n, uint8_t attribute) {
    CellString cells(n);
    for (int i = 0; i < n; ++i) {
        cells += TCell{' ', attribute};
    }
    return cells;
}

int Clamp(int v, int low, int high) {
    return v < low ? low : (v > high ? high : v);
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The hot-key colour for a text attribute: yellow (white on yellow), or on the
// light backgrounds (6, 7, 14, 15) blue, or when the text itself is blue,
// black or white.
uint8_t HotKeyAttribute(uint8_t attr) {
    int fg = attr & 0x0F;
    int bg = attr & 0xF0;
    int hot = fg == 14 ? 15 : 14;
    if (((bg >> 4) & 6) == 6) {
        hot = 9;
        if (fg == 9) {
            hot = bg >= 0x80 ? 0 : 15;
        }
    }
    return static_cast<uint8_t>(bg | hot);
}

}  // namespace

Win::Win(int x, int y, int a, int b, int attr, int frameAttribute, int noShadow)
    : savedCells(nullptr), cursorX(0), cursorY(0), attribute(0), shadow(0), frame(0), hidden(0) {
    const int columns = ScreenColumns;
    const int rows = ScreenRows;
    if (x >= 0) {
        left = x;
        right = a;
    } else {
        left = (columns - a) / 2;
        right = left + a - 1;
    }
    if (y >= 0) {
        top = y;
        bottom = b;
    } else {
        top = (b - rows) / y;
        bottom = top + b - 1;
    }
    // Kept on the screen, so that the saved area and the frame stay within
    // the console's cells whatever size the caller asked for.
    left = Clamp(left, 0, columns - 1);
    top = Clamp(top, 0, rows - 1);
    right = Clamp(right, left - 1, columns - 1);
    bottom = Clamp(bottom, top - 1, rows - 1);

    shadow = (Config.Shadows && frameAttribute >= 0 && !noShadow && bottom + 1 < rows && right + 2 < columns) ? 1 : 0;
    originX = left;
    originY = top;
    int w = 0;
    int h = 0;
    SaveWidth(w, h);
    savedCells = Console->SaveRect(left, top, w, h);
    WindowStack().push_back(this);
    if (attr < 0) {
        attribute = DefaultWindowAttribute;
    } else {
        attribute = static_cast<uint8_t>(attr);
        if (right >= left && bottom >= top) {
            Console->FillRect(left, top, right - left + 1, bottom - top + 1, attribute);
        }
    }
    if (shadow) {
        DrawShadow();
    }
    if (frameAttribute >= 0) {
        frame = 1;
        DrawFrame(static_cast<uint8_t>(frameAttribute));
    }
}

Win::~Win() {
    RemoveFromStack(this);
    if (!hidden) {
        int w = 0;
        int h = 0;
        SaveWidth(w, h);
        Console->PutCellRect(left, top, w, h, savedCells);
    }
    delete[] savedCells;
}

void Win::SaveWidth(int& w, int& h) const {
    w = right - left + 1 + 2 * shadow;
    h = bottom - top + 1 + shadow;
}

void Win::SetHidden(bool hide) {
    if ((hidden != 0) == hide) {
        return;
    }
    int w = 0;
    int h = 0;
    SaveWidth(w, h);
    TCell* current = Console->SaveRect(left, top, w, h);
    Console->PutCellRect(left, top, w, h, savedCells);
    delete[] savedCells;
    savedCells = current;
    hidden = hide ? 1 : 0;
    if (!hide) {
        // Shown again, it lies over every window there is.
        RemoveFromStack(this);
        WindowStack().push_back(this);
    }
}

void Win::SetOrigin(int x, int y) {
    originX = left + x;
    originY = top + y;
}

void Win::GotoXY(int x, int y) {
    cursorX = x;
    cursorY = y;
    int sx = originX + x;
    int sy = originY + y;
    if (sx >= 0 && sy >= 0 && sx < ScreenColumns && sy < ScreenRows) {
        Console->SetCursorPos(sx, sy);
    }
}

bool Win::ScreenToClient(int& x, int& y) const {
    bool inside = x >= left && x <= right && y >= top && y <= bottom;
    x -= originX;
    y -= originY;
    return inside;
}

void Win::PutScreenCells(int sx, int sy, const CellString& cells) {
    if (sy < 0 || sy >= ScreenRows || sx >= ScreenColumns) {
        return;
    }
    if (sx < 0) {
        if (-sx >= cells.Length()) {
            return;
        }
        Output(0, sy, cells.Mid(-sx, -1));
    } else {
        Output(sx, sy, cells);
    }
}

template <class F>
bool Win::AnyWindowOver(F f) const {
    bool later = false;
    for (Win* window : WindowStack()) {
        if (window == this) {
            later = true;
        } else if (later && window->LiesOver() && f(window)) {
            return true;
        }
    }
    return false;
}

bool Win::Covered(int sx, int sy, int w, int h) const {
    return AnyWindowOver([&](const Win* window) {
        int savedWidth = 0;
        int savedHeight = 0;
        window->SaveWidth(savedWidth, savedHeight);
        return Overlaps(sx, sx + w - 1, window->left, window->left + savedWidth - 1) &&
               Overlaps(sy, sy + h - 1, window->top, window->top + savedHeight - 1);
    });
}

TCell* Win::SavedCellAt(int sx, int sy, bool& body, bool& shaded) {
    int w = 0;
    int h = 0;
    SaveWidth(w, h);
    const int cx = sx - left;
    const int cy = sy - top;
    if (savedCells == nullptr || cx < 0 || cy < 0 || cx >= w || cy >= h) {
        return nullptr;
    }
    body = sx <= right && sy <= bottom;
    // The shadow: the row below from two columns in, and the two columns
    // beside from one row down; the corners of the saved area stay bright.
    shaded = shadow && !body && ((sy == bottom + 1 && sx >= left + 2) || (sx > right && sy > top && sy <= bottom));
    return savedCells + cy * w + cx;
}

bool Win::PassUnderLaterWindows(int sx, int sy, TCell& cell) const {
    // The lowest window that covers the cell keeps it; a shadow or a corner
    // of a saved area keeps it and passes it on to the windows above, as the
    // screen shows it there.
    const bool kept = AnyWindowOver([&](Win* window) {
        bool body = false;
        bool shaded = false;
        TCell* saved = window->SavedCellAt(sx, sy, body, shaded);
        if (saved == nullptr) {
            return false;
        }
        *saved = cell;
        if (shaded) {
            cell.attribute = DimAttribute(cell.attribute);
        }
        return body;
    });
    return !kept;
}

void Win::Output(int sx, int sy, const CellString& cells) {
    if (!Covered(sx, sy, cells.Length(), 1)) {
        Console->WriteCells(sx, sy, cells);
        return;
    }
    // The cells that show go out in runs between the covered ones.
    CellString run;
    int runStart = sx;
    const TCell* data = cells.Data();
    for (int i = 0; i < cells.Length() && data[i].character != 0; ++i) {
        TCell cell = data[i];
        if (PassUnderLaterWindows(sx + i, sy, cell)) {
            if (run.Length() == 0) {
                runStart = sx + i;
            }
            run += cell;
        } else if (run.Length() > 0) {
            Console->WriteCells(runStart, sy, run);
            run = CellString();
        }
    }
    if (run.Length() > 0) {
        Console->WriteCells(runStart, sy, run);
    }
}

void Win::WriteText(int x, int y, const char* text, uint8_t attr) {
    const int length = static_cast<int>(std::strlen(text));
    int sx = originX + x;
    const int sy = originY + y;
    cursorX = x + length;
    cursorY = y;
    if (sy < 0 || sy >= ScreenRows || sx >= ScreenColumns || sx + length <= 0) {
        return;
    }
    if (sx < 0) {
        text -= sx;
        sx = 0;
    }
    if (Covered(sx, sy, length, 1)) {
        // As the console reads 8-bit text.
        Output(sx, sy, CellString(Westring(text, CP_ACP).Data(), attr));
        return;
    }
    Console->WriteText(sx, sy, text, attr);
}

void Win::WriteWide(int x, int y, const Westring& text, uint8_t attr) {
    int sx = originX + x;
    const int sy = originY + y;
    cursorX = x + text.Length();
    cursorY = y;
    if (sy < 0 || sy >= ScreenRows || sx >= ScreenColumns || sx + text.Length() <= 0) {
        return;
    }
    const Westring shown = sx < 0 ? text.Mid(-sx, text.Length() + sx) : text;
    sx = sx < 0 ? 0 : sx;
    if (Covered(sx, sy, shown.Length(), 1)) {
        Output(sx, sy, CellString(shown.Data(), attr));
    } else {
        Console->WriteWideText(sx, sy, shown, attr);
    }
}

void Win::WriteCentred(int y, const char* text, uint8_t attr) {
    WriteText((ClientWidth() - static_cast<int>(std::strlen(text))) / 2, y, text, attr);
}

void Win::WriteWideCentred(int y, const Westring& text, uint8_t attr) {
    WriteWide((ClientWidth() - text.Length()) / 2, y, text, attr);
}

void Win::WriteRight(int x, int y, const char* text, uint8_t attr) {
    WriteText(x - static_cast<int>(std::strlen(text)), y, text, attr);
}

void Win::WriteHotKeyText(int x, int y, const char* text, const char* keys, uint8_t attr) {
    WriteText(x, y, text, attr);
    const int sy = originY + y;
    if (sy < 0 || sy >= ScreenRows) {
        return;
    }
    const uint8_t hot = HotKeyAttribute(attr);
    for (const char* k = keys; *k; ++k) {
        unsigned char key = static_cast<unsigned char>(*k);
        const char* found = std::strchr(text, static_cast<char>(LocaleLowerTable[key]));
        if (!found) {
            found = std::strchr(text, static_cast<char>(LocaleUpperTable[key]));
        }
        if (!found) {
            continue;
        }
        int sx = originX + x + static_cast<int>(found - text);
        if (sx < 0 || sx >= ScreenColumns) {
            continue;
        }
        if (Covered(sx, sy, 1, 1)) {
            CellString one;
            one += TCell{static_cast<char32_t>(static_cast<unsigned char>(*found)), hot};
            Output(sx, sy, one);
        } else {
            Console->SetAttributes(sx, sy, 1, hot);
        }
    }
}

void Win::WriteCells(int x, int y, const TCell* cells) {
    CellString line;
    line.AppendCells(cells, -1);
    WriteAttrString(x, y, line);
}

void Win::WriteAttrString(int x, int y, const CellString& cells) {
    PutScreenCells(originX + x, originY + y, cells);
    cursorX = x + cells.Length();
    cursorY = y;
}

void Win::PutCellRect(int x, int y, int w, int h, const CellString& cells) {
    if (w <= 0 || h <= 0) {
        return;
    }
    int sx = originX + x;
    int sy = originY + y;
    bool inside = sx >= 0 && sy >= 0 && sx + w <= ScreenColumns && sy + h <= ScreenRows;
    if (inside && cells.Length() >= w * h && !Covered(sx, sy, w, h)) {
        Console->PutCellRect(sx, sy, w, h, cells.Data());
        return;
    }
    // Row by row, each clipped to the screen, and only as far as the cells go.
    for (int row = 0; row < h && (row + 1) * w <= cells.Length(); ++row) {
        PutScreenCells(sx, sy + row, cells.Mid(row * w, w));
    }
}

void Win::WriteWrapped(int x, int y, const Westring& text) {
    const int last = ClientWidth() - 1;
    int start = x;
    int row = y;
    Westring rest = text;
    while (!rest.IsEmpty()) {
        // A line needs room for at least one character, or nothing would ever
        // be taken off the text.
        int room = last - start;
        if (room < 1) {
            room = 1;
        }
        Westring piece = rest.Left(room + 1);
        if (rest.Length() > room) {
            int blank = piece.FindLast(' ');
            piece = blank >= 0 ? piece.Left(blank) : piece.Left(room);
        }
        WriteWide(start, row, piece, attribute);
        ++row;
        start = 0;
        int drop = piece.Length();
        while (drop < rest.Length() && IsBlank(rest[drop])) {
            ++drop;
        }
        rest = drop < rest.Length() ? rest.Mid(drop, rest.Length() - drop) : Westring();
    }
}

void Win::WriteWrappedText(int x, int y, const char* utf8) {
    WriteWrapped(x, y, Westring(utf8));
}

void Win::ClearToEol(uint8_t attr) {
    int n = right - originX - cursorX + 1 - (frame ? 1 : 0);
    int sx = originX + cursorX;
    int sy = originY + cursorY;
    if (n <= 0 || sy < 0 || sy >= ScreenRows) {
        return;
    }
    if (sx < 0) {
        n += sx;
        sx = 0;
    }
    if (sx + n > ScreenColumns) {
        n = ScreenColumns - sx;
    }
    if (n <= 0) {
        return;
    }
    if (Covered(sx, sy, n, 1)) {
        Output(sx, sy, Blanks(n, attr));
    } else {
        Console->FillRect(sx, sy, n, 1, attr);
    }
}

void Win::ClearRows(int topRows, int bottomRows) {
    int first = originY + topRows;
    int last = originY + ClientHeight() - 1 - bottomRows;
    first = first < 0 ? 0 : first;
    last = last >= ScreenRows ? ScreenRows - 1 : last;
    int width = ClientWidth();
    if (last < first || width <= 0) {
        return;
    }
    if (!Covered(originX, first, width, last - first + 1)) {
        Console->FillRect(originX, first, width, last - first + 1, attribute);
        return;
    }
    for (int row = first; row <= last; ++row) {
        PutScreenCells(originX, row, Blanks(width, attribute));
    }
}

void Win::Scroll(int x, int y, int w, int h, int n) {
    if (w <= 0 || h <= 0) {
        return;
    }
    if (n > 0) {
        Console->ScrollUp(originX + x, originY + y, w, h, n, attribute);
    } else {
        Console->ScrollDown(originX + x, originY + y, w, h, -n, attribute);
    }
}

void Win::DimCells(CellString& cells) {
    TCell* c = cells.Data();
    for (int i = 0; i < cells.Length(); ++i) {
        c[i].attribute = DimAttribute(c[i].attribute);
    }
}

void Win::DrawShadow() {
    // The row below the window, two columns to the right, then the two
    // columns beside it.
    struct TStrip {
        int x, y, w, h;
    } strips[] = {
        {left + 2, bottom + 1, right - left + 1, 1},
        {right + 1, top + 1, 2, bottom - top},
    };
    for (const TStrip& s : strips) {
        if (s.w <= 0 || s.h <= 0) {
            continue;
        }
        CellString cells;
        Console->CopyRect(cells, s.x, s.y, s.w, s.h);
        DimCells(cells);
        Console->PutCellRect(s.x, s.y, s.w, s.h, cells.Data());
    }
}

void Win::DrawFrame(uint8_t frameAttr) {
    originX = left;
    originY = top;
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    if (w >= 2 && h >= 2) {
        Westring inner = RepeatChar32(FrameHorizontal, w - 2);
        Westring topLine;
        topLine.AppendChar(FrameTopLeft);
        topLine += inner;
        topLine.AppendChar(FrameTopRight);
        WriteWide(0, 0, topLine, frameAttr);
        Westring side;
        side.AppendChar(FrameVertical);
        for (int row = 1; row < h - 1; ++row) {
            WriteWide(0, row, side, frameAttr);
            WriteWide(w - 1, row, side, frameAttr);
        }
        Westring bottomLine;
        bottomLine.AppendChar(FrameBottomLeft);
        bottomLine += inner;
        bottomLine.AppendChar(FrameBottomRight);
        WriteWide(0, h - 1, bottomLine, frameAttr);
    }
    originX = left + 1;
    originY = top + 1;
}
