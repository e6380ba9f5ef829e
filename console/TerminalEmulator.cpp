#include "console/TerminalEmulator.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/strings/Westring.h"
#include "console/Console.h"
#include "console/ConsoleGlyphs.h"
#include "console/KeyCodes.h"
#include "platform/win32.h"

TTerminalHooks TerminalHooks = {nullptr, nullptr, nullptr, nullptr};

namespace {

const char Esc = 27;
// A control sequence keeps this many parameters; more are read and dropped.
const int MaxParameters = 12;
// Numbers in control sequences stop growing here: no count means more.
const int MaxNumber = 9999;

// ANSI colour numbers 0-7 (black, red, green, yellow, blue, magenta, cyan,
// white) to the console's colour values.
const int ColourMap[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// The line-drawing character set, for the bytes it changes.
struct TGraphicsEntry {
    char byte;
    char32_t character;
};
const TGraphicsEntry SpecialGraphics[] = {
    {'_', 0x0020}, {'`', 0x25C6}, {'a', 0x2592}, {'b', 0x2409}, {'c', 0x240C}, {'d', 0x240D}, {'e', 0x240A},
    {'f', 0x00B0}, {'g', 0x00B1}, {'h', 0x2424}, {'i', 0x240B}, {'j', 0x2518}, {'k', 0x2510}, {'l', 0x250C},
    {'m', 0x2514}, {'n', 0x253C}, {'o', 0x23BA}, {'p', 0x23BB}, {'q', 0x2500}, {'r', 0x23BC}, {'s', 0x23BD},
    {'t', 0x251C}, {'u', 0x2524}, {'v', 0x2534}, {'w', 0x252C}, {'x', 0x2502}, {'y', 0x2264}, {'z', 0x2265},
    {'{', 0x03C0}, {'|', 0x2260}, {'}', 0x00A3}, {'~', 0x00B7},
};

char32_t MapSpecialGraphics(unsigned char byte) {
    for (const TGraphicsEntry& entry : SpecialGraphics) {
        if (static_cast<unsigned char>(entry.byte) == byte) {
            return entry.character;
        }
    }
    return byte;
}

// The bytes a key sends. A cursor key starts with ESC "O" when the program
// asked for application cursor keys, else with ESC "[".
struct TKeyEntry {
    int keyCode;
    bool cursorKey;
    const char* bytes;  // after the cursor prefix for cursor keys
};
const TKeyEntry KeyTable[] = {
    {KEY_UP, true, "A"},
    {KEY_DOWN, true, "B"},
    {KEY_RIGHT, true, "C"},
    {KEY_LEFT, true, "D"},
    {KEY_HOME, true, "H"},
    {KEY_END, true, "F"},
    {KEY_INSERT, false, "\x1b[2~"},
    {KEY_DELETE, false, "\x1b[3~"},
    {KEY_PGUP, false, "\x1b[5~"},
    {KEY_PGDN, false, "\x1b[6~"},
    {KEY_CTRL_PGUP, false, "\x1b[5;5~"},
    {KEY_CTRL_PGDN, false, "\x1b[6;5~"},
    {KEY_F1, false, "\x1bOP"},
    {KEY_F2, false, "\x1bOQ"},
    {KEY_F3, false, "\x1bOR"},
    {KEY_F4, false, "\x1bOS"},
    {KEY_F5, false, "\x1b[15~"},
    {KEY_F6, false, "\x1b[17~"},
    {KEY_F7, false, "\x1b[18~"},
    {KEY_F8, false, "\x1b[19~"},
    {KEY_F9, false, "\x1b[20~"},
    {KEY_F10, false, "\x1b[21~"},
    {KEY_F11, false, "\x1b[23~"},
    {KEY_F12, false, "\x1b[24~"},
    {KEY_BACKSPACE, false, "\b"},
};

int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

// n, or 1 when the parameter is 0 or missing.
int NOr1(const int* p, int count) {
    return count > 0 && p[0] > 0 ? p[0] : 1;
}
// n, or 1 when there are no parameters (a given 0 stays 0).
int NOrOneWhenMissing(const int* p, int count) {
    return count > 0 ? p[0] : 1;
}

// How many bytes a UTF-8 sequence that starts with this byte has; 0 for a
// byte that cannot start one.
int Utf8Length(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// The second byte's range depends on the lead, so that overlong forms,
// surrogates and code points past U+10FFFF are refused.
bool ValidSecond(unsigned char lead, unsigned char second) {
    unsigned char low = 0x80, high = 0xBF;
    if (lead == 0xE0) {
        low = 0xA0;
    } else if (lead == 0xED) {
        high = 0x9F;
    } else if (lead == 0xF0) {
        low = 0x90;
    } else if (lead == 0xF4) {
        high = 0x8F;
    }
    return second >= low && second <= high;
}

// Decodes the code point at text[i], advancing i; a byte that does not begin
// a well-formed sequence becomes U+FFFD and advances by one.
char32_t DecodeUtf8(const unsigned char* text, int length, int& i) {
    unsigned char lead = text[i];
    int n = Utf8Length(lead);
    if (n == 1) {
        ++i;
        return lead;
    }
    if (n == 0 || i + n > length || !ValidSecond(lead, text[i + 1])) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = lead & (0xFF >> (n + 1));
    for (int k = 1; k < n; ++k) {
        unsigned char next = text[i + k];
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += n;
    return c;
}

// The number of bytes at the end of the text that begin a well-formed UTF-8
// sequence the text does not finish; 0 when it ends on a whole character.
int IncompleteUtf8Tail(const unsigned char* text, int length) {
    for (int back = 1; back <= 3 && back <= length; ++back) {
        unsigned char b = text[length - back];
        if ((b & 0xC0) == 0x80) {
            continue;
        }
        int n = Utf8Length(b);
        if (n <= back) {
            return 0;
        }
        if (back >= 2 && !ValidSecond(b, text[length - back + 1])) {
            return 0;
        }
        return back;
    }
    return 0;
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

const TerminalEmulator::TCsiEntry TerminalEmulator::CsiTable[] = {
    {0, 'A', &TerminalEmulator::CsiCursorUp},
    {0, 'B', &TerminalEmulator::CsiCursorDown},
    {0, 'C', &TerminalEmulator::CsiCursorRight},
    {0, 'D', &TerminalEmulator::CsiCursorLeft},
    {0, 'G', &TerminalEmulator::CsiColumn},
    {0, 'H', &TerminalEmulator::CsiPosition},
    {0, 'J', &TerminalEmulator::CsiEraseDisplay},
    {0, 'K', &TerminalEmulator::CsiEraseLine},
    {0, 'L', &TerminalEmulator::CsiInsertLines},
    {0, 'M', &TerminalEmulator::CsiDeleteLines},
    {0, 'P', &TerminalEmulator::CsiDeleteCharacters},
    {0, '@', &TerminalEmulator::CsiInsertCharacters},
    {0, 'S', &TerminalEmulator::CsiScrollUp},
    {0, 'T', &TerminalEmulator::CsiScrollDown},
    {0, 'X', &TerminalEmulator::CsiEraseCharacters},
    {0, 'b', &TerminalEmulator::CsiRepeat},
    {0, 'd', &TerminalEmulator::CsiRow},
    {0, 'h', &TerminalEmulator::CsiSetMode},
    {0, 'l', &TerminalEmulator::CsiResetMode},
    {0, 'm', &TerminalEmulator::CsiRendition},
    {0, 'n', &TerminalEmulator::CsiReport},
    {0, 'r', &TerminalEmulator::CsiRegion},
    {'?', 'h', &TerminalEmulator::CsiSetPrivate},
    {'?', 'l', &TerminalEmulator::CsiResetPrivate},
};

// ---- Construction ----

TerminalEmulator::TerminalEmulator(CConsole& console, int fd)
    : console(console), fd(fd), x(0), y(0), savedX(0), savedY(0), attribute(0x07), width(80), height(25), row(nullptr),
      rowY(0), rowDirty(false), defaultAttribute(0x07), lastCharacter(0), foreground(7), background(0), reverse(0),
      bold(0), underline(0), insertMode(0), applicationCursorKeys(0), alternateSaved(nullptr), alternateWidth(0),
      alternateHeight(0), top(0), bottom(24), cursorSize(15), lineDrawing(0), skippingCsi(false), scrolledLines(0),
      rowPending(false) {
    if (TerminalHooks.defaultAttribute != nullptr) {
        defaultAttribute = TerminalHooks.defaultAttribute();
    }
    attribute = defaultAttribute;
    foreground = defaultAttribute & 15;
    background = defaultAttribute >> 4;
    console.GetScreenSize(width, height);
    top = 0;
    bottom = height - 1;
}

TerminalEmulator::~TerminalEmulator() {
    PutRowBack();
    DropRow();
    LeaveAlternateScreen();
}

// ---- Chunks ----

void TerminalEmulator::TakeConsoleState() {
    console.GetScreenSize(width, height);
    console.GetCursorPos(x, y);
    cursorSize = console.GetCursorShape();
    // x may stand just past the last column: the next character wraps.
    x = Clamp(x, 0, width);
    y = Clamp(y, 0, height - 1);
    // The screen may have shrunk since the region was set.
    if (bottom > height - 1) {
        bottom = height - 1;
    }
    if (top >= bottom) {
        top = 0;
        bottom = height - 1;
    }
}

void TerminalEmulator::Write(const char* text) {
    if (text != nullptr) {
        Write(text, static_cast<int>(strlen(text)));
    }
}

void TerminalEmulator::Write(const char* bytes, int length) {
    if (bytes == nullptr || length <= 0) {
        return;
    }
    TakeConsoleState();
    std::string joined;
    TScan scan{bytes, length, 0};
    if (!pending.IsEmpty()) {
        joined.assign(pending.Data(), pending.Length());
        joined.append(bytes, length);
        pending.Clear();
        scan.data = joined.data();
        scan.length = static_cast<int>(joined.size());
    }
    if (skippingCsi) {
        SkipLongCsi(scan);
    }
    const unsigned char* data = reinterpret_cast<const unsigned char*>(scan.data);
    int runStart = -1;
    int keepFrom = -1;  // where the text kept for the next chunk starts
    while (scan.pos < scan.length) {
        unsigned char c = data[scan.pos];
        if (c >= 32) {
            if (runStart < 0) {
                runStart = scan.pos;
            }
            ++scan.pos;
            continue;
        }
        if (runStart >= 0) {
            PutText(scan.data + runStart, scan.pos - runStart);
            runStart = -1;
        }
        switch (c) {
        case 7: console.Beep(); break;
        case 8:
            if (x >= width) {
                x = width - 1;
            }
            if (x > 0) {
                --x;
            }
            break;
        case 9:
            x = (x | 7) + 1;
            if (x >= width) {
                NewLine();
                x = 0;
            }
            break;
        case 10: NewLine(); break;
        case 13: x = 0; break;
        case Esc: {
            int start = scan.pos;
            if (Escape(scan) == ScanIncomplete) {
                keepFrom = start;
                scan.pos = scan.length;
            }
            continue;
        }
        default:
            // Other control bytes, NUL among them, show nothing.
            break;
        }
        ++scan.pos;
    }
    if (runStart >= 0) {
        int runLength = scan.length - runStart;
        int tail = lineDrawing ? 0 : IncompleteUtf8Tail(data + runStart, runLength);
        PutText(scan.data + runStart, runLength - tail);
        if (tail > 0) {
            keepFrom = scan.length - tail;
        }
    }
    if (keepFrom >= 0) {
        const int kept = scan.length - keepFrom;
        const char* from = scan.data + keepFrom;
        if (kept >= 2 && from[0] == Esc && from[1] == ']') {
            // An operating-system command has no effect: only the fact that
            // one is open matters, and whether its last byte may begin ESC "\".
            pending.Assign(from, 2);
            if (kept > 2 && from[kept - 1] == Esc) {
                pending += Esc;
            }
        } else if (kept > MaxPendingBytes) {
            // Only a control sequence grows this long; pass over the rest.
            skippingCsi = true;
        } else {
            pending.Assign(from, kept);
        }
    }
    PutRowBack();
    DropRow();
    console.SetCursorPos(x, y);
    console.SetCursorShape(cursorSize);
}

void TerminalEmulator::SkipLongCsi(TScan& scan) {
    while (scan.pos < scan.length) {
        unsigned char c = static_cast<unsigned char>(scan.data[scan.pos++]);
        if (!IsDigit(c) && c != ';' && c != '?' && c != '>') {
            skippingCsi = false;  // the final byte, consumed
            return;
        }
    }
}

// ---- Text ----

void TerminalEmulator::PutText(const char* run, int length) {
    if (length <= 0) {
        return;
    }
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(run);
    if (insertMode) {
        int count = 0;
        for (int i = 0; i < length; ++count) {
            if (lineDrawing) {
                ++i;
            } else {
                DecodeUtf8(bytes, length, i);
            }
        }
        InsertCharacters(count);
    }
    for (int i = 0; i < length;) {
        char32_t c = lineDrawing ? MapSpecialGraphics(bytes[i++]) : DecodeUtf8(bytes, length, i);
        PutCodePoint(c);
    }
}

void TerminalEmulator::PutCodePoint(char32_t c) {
    if (x >= width) {
        x = 0;
        NewLine();
    }
    TCell* cells = Row();
    cells[x] = TCell{ConsoleGlyphs::MapGlyph(c), attribute};
    rowDirty = true;
    ++x;
    lastCharacter = c;
}

void TerminalEmulator::NewLine() {
    if (y >= bottom) {
        ScrollRegionUp(1);
    } else if (y < height - 1) {
        ++y;
    }
}

void TerminalEmulator::ScrollRegionUp(int n) {
    n = Clamp(n, 0, bottom - top + 1);
    if (n == 0) {
        return;
    }
    const int regionHeight = bottom - top + 1;
    if (n == 1 && y == bottom) {
        // A line feed on the region's last row, as every line of a long
        // output gives: the scroll waits, and the rows that come in are
        // gathered, so that a run of lines reaches the console as one scroll
        // and one rectangle of cells instead of a scroll and a row per line.
        if (scrolledLines == regionHeight) {
            FlushScroll();
        }
        if (scrolledLines == 0) {
            PutRowBack();
            DropRow();
            scrolled.resize(static_cast<size_t>(regionHeight) * width);
        } else if (rowPending) {
            DropRow();
        }
        std::fill_n(scrolled.begin() + static_cast<std::ptrdiff_t>(scrolledLines) * width, width,
                    TCell{' ', attribute});
        ++scrolledLines;
        return;
    }
    PutRowBack();
    DropRow();
    AppendToScrollBack(n);
    console.ScrollUp(0, top, width, regionHeight, n, attribute);
}

void TerminalEmulator::AppendToScrollBack(int n) {
    if (alternateSaved == nullptr && TerminalHooks.scrollBackOn != nullptr &&
        TerminalHooks.appendScrollBackRow != nullptr && TerminalHooks.scrollBackOn()) {
        for (int r = top; r < top + n; ++r) {
            TerminalHooks.appendScrollBackRow(r);
        }
    }
}

void TerminalEmulator::FlushScroll() {
    if (scrolledLines == 0) {
        return;
    }
    const int lines = scrolledLines;
    scrolledLines = 0;
    if (rowPending) {
        DropRow();
    }
    AppendToScrollBack(lines);
    console.ScrollUp(0, top, width, bottom - top + 1, lines, attribute);
    // The scroll blanked the new rows; only their cells up to the last one
    // that differs from such a blank need to go out.
    const TCell blank{' ', attribute};
    int used = 0;
    for (int r = 0; r < lines; ++r) {
        const TCell* cells = scrolled.data() + static_cast<size_t>(r) * width;
        for (int i = width; i > used; --i) {
            if (cells[i - 1].character != blank.character || cells[i - 1].attribute != blank.attribute) {
                used = i;
                break;
            }
        }
    }
    if (used == 0) {
        return;
    }
    std::vector<TCell> rect(static_cast<size_t>(used) * lines);
    for (int r = 0; r < lines; ++r) {
        std::copy_n(scrolled.begin() + static_cast<std::ptrdiff_t>(r) * width, used,
                    rect.begin() + static_cast<std::ptrdiff_t>(r) * used);
    }
    console.PutCellRect(0, bottom - lines + 1, used, lines, rect.data());
}

void TerminalEmulator::ScrollRegionDown(int n) {
    n = Clamp(n, 0, bottom - top + 1);
    if (n == 0) {
        return;
    }
    PutRowBack();
    DropRow();
    console.ScrollDown(0, top, width, bottom - top + 1, n, attribute);
}

// ---- The row copy ----

TCell* TerminalEmulator::Row() {
    if (row != nullptr && rowY == y) {
        return row;
    }
    if (scrolledLines > 0 && y == bottom) {
        // The last row gathered by a waiting scroll is the region's bottom.
        DropRow();
        row = scrolled.data() + static_cast<size_t>(scrolledLines - 1) * width;
        rowPending = true;
        rowY = y;
        rowDirty = false;
        return row;
    }
    PutRowBack();
    DropRow();
    row = console.SaveRect(0, y, width, 1);
    rowY = y;
    rowDirty = false;
    return row;
}

void TerminalEmulator::PutRowBack() {
    if (scrolledLines > 0) {
        // The row copy, when there is one, is among the rows gathered.
        FlushScroll();
        return;
    }
    if (row != nullptr && rowDirty) {
        console.PutCellRect(0, rowY, width, 1, row);
    }
    rowDirty = false;
}

void TerminalEmulator::DropRow() {
    if (!rowPending) {
        delete[] row;
    }
    row = nullptr;
    rowPending = false;
}

void TerminalEmulator::BlankCells(int from, int count) {
    from = Clamp(from, 0, width);
    count = Clamp(count, 0, width - from);
    if (count == 0) {
        return;
    }
    TCell* cells = Row();
    for (int i = from; i < from + count; ++i) {
        cells[i] = TCell{' ', attribute};
    }
    rowDirty = true;
}

// ---- Escape sequences ----

TerminalEmulator::EScanResult TerminalEmulator::Escape(TScan& scan) {
    const int at = scan.pos;
    if (at + 1 >= scan.length) {
        return ScanIncomplete;
    }
    switch (scan.data[at + 1]) {
    case '[': scan.pos = at + 2; return ParseCsi(scan);
    case ']':
        // Skipped up to BEL, the one-byte terminator 0x9C, or ESC "\".
        for (int i = at + 2; i < scan.length; ++i) {
            unsigned char c = static_cast<unsigned char>(scan.data[i]);
            if (c == 7 || c == 0x9C) {
                scan.pos = i + 1;
                return ScanDone;
            }
            if (c == Esc && i + 1 < scan.length && scan.data[i + 1] == '\\') {
                scan.pos = i + 2;
                return ScanDone;
            }
        }
        return ScanIncomplete;
    case 'M':
        ScrollRegionDown(1);
        scan.pos = at + 2;
        return ScanDone;
    case '=':
    case '>': scan.pos = at + 2; return ScanDone;
    case '(':
        if (at + 2 >= scan.length) {
            return ScanIncomplete;
        }
        if (scan.data[at + 2] == '0') {
            lineDrawing = 1;
        } else if (scan.data[at + 2] == 'B') {
            lineDrawing = 0;
        }
        scan.pos = at + 3;
        return ScanDone;
    case '7':
        SaveCursor();
        scan.pos = at + 2;
        return ScanDone;
    case '8':
        RestoreCursor();
        scan.pos = at + 2;
        return ScanDone;
    default:
        // Only the ESC goes; what follows is output.
        scan.pos = at + 1;
        return ScanDone;
    }
}

TerminalEmulator::EScanResult TerminalEmulator::ParseCsi(TScan& scan) {
    const unsigned char* data = reinterpret_cast<const unsigned char*>(scan.data);
    int pos = scan.pos;
    char prefix = 0;
    if (pos < scan.length && (data[pos] == '?' || data[pos] == '>')) {
        prefix = static_cast<char>(data[pos++]);
    }
    int params[MaxParameters];
    int count = 0;
    bool afterSeparator = false;  // a ";" that followed a number was read
    unsigned char final = 0;
    for (;;) {
        if (pos >= scan.length) {
            return ScanIncomplete;
        }
        unsigned char c = data[pos];
        if (IsDigit(c)) {
            int value = 0;
            while (pos < scan.length && IsDigit(data[pos])) {
                value = value * 10 + (data[pos] - '0');
                if (value > MaxNumber) {
                    value = MaxNumber;
                }
                ++pos;
            }
            if (pos >= scan.length) {
                return ScanIncomplete;
            }
            if (count < MaxParameters) {
                params[count++] = value;
            }
            afterSeparator = false;
            if (data[pos] == ';') {
                afterSeparator = true;
                ++pos;
                continue;
            }
            final = data[pos];
            break;
        }
        if (c != ';' && afterSeparator && count < MaxParameters) {
            // "1;m": the number after the last ";" is missing and counts as 0.
            params[count++] = 0;
        }
        // A ";" here is an empty parameter; it ends the sequence as its final
        // byte and matches no action.
        final = c;
        break;
    }
    scan.pos = pos + 1;
    for (const TCsiEntry& entry : CsiTable) {
        if (entry.prefix == prefix && static_cast<unsigned char>(entry.final) == final) {
            (this->*entry.action)(params, count);
            break;
        }
    }
    return ScanDone;
}

// ---- Cursor ----

void TerminalEmulator::MoveTo(int column, int line) {
    x = Clamp(column, 0, width - 1);
    y = Clamp(line, 0, height - 1);
}

void TerminalEmulator::CsiCursorUp(const int* p, int n) {
    y = Clamp(y - NOrOneWhenMissing(p, n), 0, height - 1);
}

void TerminalEmulator::CsiCursorDown(const int* p, int n) {
    y = Clamp(y + NOrOneWhenMissing(p, n), 0, height - 1);
}

void TerminalEmulator::CsiCursorRight(const int* p, int n) {
    x = Clamp(x + NOrOneWhenMissing(p, n), 0, width - 1);
}

void TerminalEmulator::CsiCursorLeft(const int* p, int n) {
    x = Clamp(Clamp(x, 0, width - 1) - NOrOneWhenMissing(p, n), 0, width - 1);
}

void TerminalEmulator::CsiColumn(const int* p, int n) {
    x = Clamp(NOr1(p, n), 1, width) - 1;
}

void TerminalEmulator::CsiRow(const int* p, int n) {
    y = Clamp(NOr1(p, n), 1, height) - 1;
}

void TerminalEmulator::CsiPosition(const int* p, int n) {
    int r = n > 0 && p[0] > 0 ? p[0] : 1;
    int c = n > 1 && p[1] > 0 ? p[1] : 1;
    MoveTo(c - 1, r - 1);
}

void TerminalEmulator::SaveCursor() {
    savedX = x;
    savedY = y;
}

void TerminalEmulator::RestoreCursor() {
    x = Clamp(savedX, 0, width);
    y = Clamp(savedY, 0, height - 1);
}

// ---- Erasing, inserting, deleting ----

void TerminalEmulator::CsiEraseDisplay(const int* p, int n) {
    EraseDisplay(n > 0 ? p[0] : 0);
}

void TerminalEmulator::EraseDisplay(int mode) {
    switch (mode) {
    case 0:
        BlankCells(x, width - x);
        if (y + 1 < height) {
            console.FillRect(0, y + 1, width, height - y - 1, attribute);
        }
        break;
    case 1:
        if (y > 0) {
            FlushScroll();
            console.FillRect(0, 0, width, y, attribute);
        }
        BlankCells(0, x + 1);
        break;
    case 2:
        PutRowBack();
        DropRow();
        console.FillRect(0, 0, width, height, attribute);
        break;
    default: BlankCells(0, width); break;
    }
}

void TerminalEmulator::CsiEraseLine(const int* p, int n) {
    EraseLine(n > 0 ? p[0] : 0);
}

void TerminalEmulator::EraseLine(int mode) {
    switch (mode) {
    case 0: BlankCells(x, width - x); break;
    case 1: BlankCells(0, x + 1); break;
    default: BlankCells(0, width); break;
    }
}

void TerminalEmulator::CsiInsertLines(const int* p, int n) {
    InsertLines(NOr1(p, n));
}

void TerminalEmulator::InsertLines(int n) {
    ShiftLines(n, true);
}

// Lines inserted or deleted at the cursor move the rows from there to the
// region's bottom (or the screen's, below the region) by at most their count.
void TerminalEmulator::ShiftLines(int n, bool down) {
    const int last = y > bottom ? height - 1 : bottom;
    const int rows = last - y + 1;
    n = Clamp(n, 0, rows);
    if (n == 0) {
        return;
    }
    PutRowBack();
    DropRow();
    if (down) {
        console.ScrollDown(0, y, width, rows, n, attribute);
    } else {
        console.ScrollUp(0, y, width, rows, n, attribute);
    }
}

void TerminalEmulator::CsiDeleteLines(const int* p, int n) {
    DeleteLines(NOr1(p, n));
}

void TerminalEmulator::DeleteLines(int n) {
    ShiftLines(n, false);
}

void TerminalEmulator::CsiDeleteCharacters(const int* p, int n) {
    DeleteCharacters(NOr1(p, n));
}

void TerminalEmulator::DeleteCharacters(int n) {
    const int from = Clamp(x, 0, width - 1);
    n = Clamp(n, 0, width - from);
    if (n == 0) {
        return;
    }
    TCell* cells = Row();
    memmove(cells + from, cells + from + n, sizeof(TCell) * (width - from - n));
    rowDirty = true;
    BlankCells(width - n, n);
}

void TerminalEmulator::CsiInsertCharacters(const int* p, int n) {
    InsertCharacters(NOr1(p, n));
}

void TerminalEmulator::InsertCharacters(int n) {
    const int from = Clamp(x, 0, width - 1);
    n = Clamp(n, 0, width - from);
    if (n == 0) {
        return;
    }
    TCell* cells = Row();
    memmove(cells + from + n, cells + from, sizeof(TCell) * (width - from - n));
    rowDirty = true;
    BlankCells(from, n);
}

void TerminalEmulator::CsiEraseCharacters(const int* p, int n) {
    BlankCells(Clamp(x, 0, width - 1), NOrOneWhenMissing(p, n));
}

void TerminalEmulator::CsiScrollUp(const int* p, int n) {
    ScrollRegionUp(n > 0 ? p[0] : 0);
}

void TerminalEmulator::CsiScrollDown(const int* p, int n) {
    ScrollRegionDown(NOr1(p, n));
}

void TerminalEmulator::CsiRepeat(const int* p, int n) {
    Repeat(NOr1(p, n));
}

void TerminalEmulator::Repeat(int n) {
    if (lastCharacter == 0) {
        return;
    }
    // No count paints more than the whole screen once.
    n = Clamp(n, 0, width * height);
    const char32_t c = lastCharacter;
    for (int i = 0; i < n; ++i) {
        PutCodePoint(c);
    }
}

// ---- Modes ----

void TerminalEmulator::CsiSetMode(const int* p, int n) {
    for (int i = 0; i < n; ++i) {
        if (p[i] == 4) {
            insertMode = 1;
        }
    }
}

void TerminalEmulator::CsiResetMode(const int* p, int n) {
    for (int i = 0; i < n; ++i) {
        if (p[i] == 4) {
            insertMode = 0;
        }
    }
}

void TerminalEmulator::CsiSetPrivate(const int* p, int n) {
    for (int i = 0; i < n; ++i) {
        SetPrivateMode(p[i], true);
    }
}

void TerminalEmulator::CsiResetPrivate(const int* p, int n) {
    for (int i = 0; i < n; ++i) {
        SetPrivateMode(p[i], false);
    }
}

void TerminalEmulator::SetPrivateMode(int mode, bool set) {
    switch (mode) {
    case 1: applicationCursorKeys = set ? 1 : 0; break;
    case 25: cursorSize = set ? 15 : 0; break;
    case 47:
    case 1047:
        if (set) {
            EnterAlternateScreen();
        } else {
            LeaveAlternateScreen();
        }
        break;
    case 1048:
        if (set) {
            SaveCursor();
        } else {
            RestoreCursor();
        }
        break;
    case 1049:
        if (set) {
            SaveCursor();
            EnterAlternateScreen();
        } else {
            LeaveAlternateScreen();
            RestoreCursor();
        }
        break;
    default: break;
    }
}

void TerminalEmulator::EnterAlternateScreen() {
    if (alternateSaved != nullptr) {
        return;
    }
    PutRowBack();
    DropRow();
    alternateSaved = console.SaveRect(0, 0, width, height);
    alternateWidth = width;
    alternateHeight = height;
    console.FillRect(0, 0, width, height, attribute);
    x = 0;
    y = 0;
}

void TerminalEmulator::LeaveAlternateScreen() {
    if (alternateSaved == nullptr) {
        return;
    }
    PutRowBack();
    DropRow();
    console.PutCellRect(0, 0, alternateWidth, alternateHeight, alternateSaved);
    delete[] alternateSaved;
    alternateSaved = nullptr;
}

// ---- Colours ----

void TerminalEmulator::CsiRendition(const int* p, int n) {
    if (n == 0) {
        const int reset = 0;
        SelectGraphicRendition(&reset, 1);
    } else {
        SelectGraphicRendition(p, n);
    }
}

void TerminalEmulator::SelectGraphicRendition(const int* params, int count) {
    for (int i = 0; i < count; ++i) {
        const int p = params[i];
        if (p == 0) {
            reverse = bold = underline = 0;
            foreground = defaultAttribute & 15;
            background = defaultAttribute >> 4;
        } else if (p == 1) {
            bold = 1;
        } else if (p == 4) {
            underline = 1;
        } else if (p == 7) {
            reverse = 1;
        } else if (p == 24) {
            underline = 0;
        } else if (p == 27) {
            reverse = 0;
        } else if (p >= 30 && p <= 37) {
            foreground = ColourMap[p - 30];
        } else if (p == 39 || p == 99) {
            foreground = defaultAttribute & 15;
        } else if (p >= 40 && p <= 47) {
            background = ColourMap[p - 40];
        } else if (p == 49 || p == 109) {
            background = defaultAttribute >> 4;
        } else if (p >= 90 && p <= 97) {
            foreground = ColourMap[p - 90] + 8;
        } else if (p >= 100 && p <= 107) {
            background = ColourMap[p - 100] + 8;
        }
        ComputeAttribute();
    }
}

void TerminalEmulator::ComputeAttribute() {
    int a = reverse ? (background | foreground << 4) : (foreground | background << 4);
    if (bold) {
        a |= 0x08;
    }
    if (underline) {
        a |= 0x80;
    }
    attribute = static_cast<uint8_t>(a);
}

// ---- Replies and keys ----

void TerminalEmulator::CsiReport(const int* p, int n) {
    if (n != 1 || p[0] != 6) {
        return;
    }
    char text[32];
    int length = snprintf(text, sizeof text, "\x1b[%d;%dR", y + 1, Clamp(x, 0, width - 1) + 1);
    Reply(text, length);
}

void TerminalEmulator::CsiRegion(const int* p, int n) {
    // Rows gathered for the old region go out before it changes.
    FlushScroll();
    if (n != 2) {
        top = 0;
        return;
    }
    int newTop = top, newBottom = bottom;
    if (p[0] - 1 >= 0 && p[0] - 1 < height) {
        newTop = p[0] - 1;
    }
    if (p[1] - 1 >= 0 && p[1] - 1 < height) {
        newBottom = p[1] - 1;
    }
    // A region needs two rows at least; a bad one leaves the old in place.
    if (newTop < newBottom) {
        top = newTop;
        bottom = newBottom;
    }
}

void TerminalEmulator::Reply(const char* bytes, int length) {
    if (fd <= 0) {
        return;
    }
    while (length > 0) {
        int written = _write(fd, bytes, static_cast<unsigned int>(length));
        if (written <= 0) {
            return;  // the child has gone: nobody reads what it would have got
        }
        bytes += written;
        length -= written;
    }
}

void TerminalEmulator::EncodeKey(int keyCode) {
    if (fd <= 0) {
        return;
    }
    std::string bytes;
    if (keyCode == 0) {
        // A key event without a key carries only a shift state (the host's
        // report that the modifiers were let go): nothing for the child.
        return;
    }
    if (keyCode > 0 && keyCode < 0x80) {
        bytes += static_cast<char>(keyCode);
    } else if (keyCode >= 0x80 && keyCode < KEY_EXTENDED) {
        // A character key: the child reads the console's code page, UTF-8.
        if (keyCode >= 0xD800 && keyCode <= 0xDFFF) {
            return;
        }
        AppendUtf8(bytes, static_cast<char32_t>(keyCode));
    } else if (keyCode == KEY_SHIFT_INSERT) {
        Westring text;
        if (!console.GetClipboardText(text) || text.IsEmpty()) {
            return;
        }
        Estring utf8(text);
        bytes.assign(utf8.Data(), utf8.Length());
    } else {
        for (const TKeyEntry& entry : KeyTable) {
            if (entry.keyCode == keyCode) {
                if (entry.cursorKey) {
                    bytes = applicationCursorKeys ? "\x1bO" : "\x1b[";
                }
                bytes += entry.bytes;
                break;
            }
        }
    }
    if (!bytes.empty()) {
        Reply(bytes.data(), static_cast<int>(bytes.size()));
    }
}
