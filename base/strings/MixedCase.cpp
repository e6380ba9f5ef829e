#include "base/strings/MixedCase.h"

#include <cctype>

#include "base/strings/CaseTable.h"
#include "base/strings/Westring.h"

int IsLetterChar(char32_t c) {
    if (c < 128)
        return isalpha((int)c) ? 1 : 0;
    if (c > 0xFFFF)
        return 0;
    for (const unsigned short* range = LetterRangeTable; range[0]; range += 2)
        if (c >= range[0] && c <= range[1])
            return 1;
    return 0;
}

// After an apostrophe, the run of letters that a capitalised letter is followed
// by starts a word of its own unless it is a single letter, "ll" or "ve".
static bool RunStartsWord(const Westring& text, int start) {
    int end = start;
    while (end < text.Length() && IsLetterChar(text[end]))
        end++;
    if (end - start <= 1)
        return false;
    Westring run = text.Mid(start, end - start);
    return !(run.EqualsNoCase(Westring("ll")) || run.EqualsNoCase(Westring("ve")));
}

void ToMixedCase(Westring& text) {
    const CCaseTable& table = CCaseTable::Instance();
    bool wordStart = true;
    for (int i = 0; i < text.Length(); i++) {
        char32_t c = text[i];
        if (IsLetterChar(c)) {
            if (wordStart) {
                text.SetAt(i, table.ToUpper(c));
                wordStart = false;
                if (text[i + 1] == '\'' && RunStartsWord(text, i + 2))
                    wordStart = true;
            } else {
                text.SetAt(i, table.ToLower(c));
            }
        } else if (c >= '0' && c <= '9') {
            wordStart = false;
        } else if (c != '\'') {
            wordStart = true;
        }
    }
}
