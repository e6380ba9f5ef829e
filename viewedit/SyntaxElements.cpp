#include "viewedit/SyntaxElements.h"

#include "base/strings/CaseTable.h"

bool SyntaxTextAt(const char32_t* position, const Westring& text, bool caseSensitive) {
    int n = text.Length();
    if (n == 0)
        return false;
    for (int i = 0; i < n; i++) {
        char32_t c = position[i];
        if (c == 0)
            return false;
        char32_t t = text[i];
        if (caseSensitive ? c != t : ToUpperChar(c) != ToUpperChar(t))
            return false;
    }
    return true;
}

bool CSyntaxLiteralString::StartsAt(const char32_t* position, const CSyntaxElement* current, int& length) {
    if (*position != opening || !AppliesIn(current))
        return false;
    length = 1;
    return true;
}

bool CSyntaxLiteralString::EndsAt(const char32_t* position, int& length) {
    if (*position != closing)
        return false;
    length = 1;
    return true;
}

bool CSyntaxBlock::StartsAt(const char32_t* position, const CSyntaxElement* current, int& length) {
    if (!AppliesIn(current) || !SyntaxTextAt(position, start, caseSensitive))
        return false;
    length = start.Length();
    return true;
}

bool CSyntaxBlock::EndsAt(const char32_t* position, int& length) {
    if (!SyntaxTextAt(position, end, caseSensitive))
        return false;
    length = end.Length();
    return true;
}

bool CSyntaxLineComment::StartsAt(const char32_t* position, const CSyntaxElement* current, int& length) {
    if (!AppliesIn(current) || !SyntaxTextAt(position, start, caseSensitive))
        return false;
    length = start.Length();
    return true;
}
