// The simple rules of a syntax definition: word-character sets, word lists,
// symbol lists and number colours, each with the context it applies in.
#pragma once

#include <cstdint>

#include "base/strings/StringCollection.h"
#include "viewedit/SyntaxContext.h"

// A set of the 8-bit character values that make up words.
class CWordChars {
public:
    // Letters A-Z, a-z and the digits.
    CWordChars();
    void Add(const Estring& characters);
    bool IsWordChar(char32_t c) const { return flags[c & 0xFF] != 0; }

    CSyntaxContext context;
    uint8_t flags[256];
};

// Words coloured alike; compared with or without regard to case.
class SyntaxWordList : public WordCollection {
public:
    explicit SyntaxWordList(bool caseSensitive) : WordCollection(caseSensitive) {}
    bool Contains(const Westring& word) { return Find(&word) != nullptr; }

    uint8_t attribute = 0;
    CSyntaxContext context;
};

class SyntaxSymbolList {
public:
    SyntaxSymbolList();
    bool Holds(char32_t c) const { return c < 256 && flags[c] != 0; }

    uint8_t attribute = 0;
    CSyntaxContext context;
    uint8_t flags[256];
};

// The colour of words that begin with a digit.
class SyntaxNumber {
public:
    CSyntaxContext context;
    uint8_t attribute = 0;
};
