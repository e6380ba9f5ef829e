#include "viewedit/SyntaxRules.h"

#include <cstring>

CWordChars::CWordChars() {
    memset(flags, 0, sizeof flags);
    for (int c = 'A'; c <= 'Z'; c++)
        flags[c] = flags[c + 32] = 1;
    for (int c = '0'; c <= '9'; c++)
        flags[c] = 1;
}

void CWordChars::Add(const Estring& characters) {
    for (int i = 0; i < characters.Length(); i++)
        flags[static_cast<unsigned char>(characters[i])] = 1;
}

SyntaxSymbolList::SyntaxSymbolList() {
    memset(flags, 0, sizeof flags);
}
