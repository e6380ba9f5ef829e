#include "host/TerminalScreen.h"

#include "base/strings/Utf8Codec.h"
#include "console/ConsoleGlyphs.h"
#include "host/HostFrames.h"

#include <algorithm>
#include <clocale>
#include <cwchar>
#include <locale.h>

namespace qvhost {

namespace {

// Longer titles are no use to anybody and only load the terminal.
constexpr size_t kMaxTitle = 256;

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

locale_t Utf8Locale() {
    static locale_t utf8 = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l ? l : newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(nullptr));
    }();
    return utf8;
}

}  // namespace

int TerminalColumns(char32_t ch) {
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
        return -1;
    }
    if (ch < 0x7F) {
        return ch < 0x20 ? -1 : 1;
    }
    locale_t utf8 = Utf8Locale();
    if (!utf8) {
        return -1;  // no tables: only ASCII is known to be one column
    }
    locale_t previous = uselocale(utf8);
    const int width = wcwidth(static_cast<wchar_t>(ch));
    uselocale(previous);
    return width;
}

char32_t TerminalGlyph(char32_t ch) {
    const char32_t glyph = ConsoleGlyphs::MapGlyph(ch == 0 ? U' ' : ch);
    return TerminalColumns(glyph) == 1 ? glyph : kStandIn;
}

std::string TerminalTitle(const std::u32string& title) {
    std::u32string safe;
    for (char32_t c : title) {
        if (safe.size() >= kMaxTitle) {
            break;
        }
        const bool shown = !IsControl(c) && TerminalColumns(c) >= 0;
        safe += shown ? c : U'?';
    }
    return Utf32ToUtf8(safe);
}

TerminalLayout LayoutOnTerminal(int screenColumns, int screenRows, int terminalColumns, int terminalRows) {
    TerminalLayout layout;
    layout.columns = std::max(0, std::min(screenColumns, terminalColumns));
    layout.rows = std::max(0, std::min(screenRows, terminalRows));
    if ((screenColumns > terminalColumns || screenRows > terminalRows) && terminalRows > 0) {
        layout.noticeRow = terminalRows - 1;
        layout.rows = std::min(layout.rows, terminalRows - 1);
    }
    return layout;
}

std::u32string SizeNotice(int screenColumns, int screenRows, int terminalColumns, int terminalRows) {
    const std::string text = "Quorvane needs " + std::to_string(screenColumns) + "x" + std::to_string(screenRows) +
                             "; this terminal is " + std::to_string(terminalColumns) + "x" +
                             std::to_string(terminalRows) + ". Enlarge it to see the whole screen.";
    std::u32string notice(text.begin(), text.end());
    if (terminalColumns >= 0 && notice.size() > static_cast<size_t>(terminalColumns)) {
        notice.resize(static_cast<size_t>(terminalColumns));
    }
    return notice;
}

}  // namespace qvhost
