// The elements of a syntax definition: stretches of text that open and close
// (strings, block comments, named states, line comments) and the rules that
// push, pop or switch elements on the highlighter's stack.
#pragma once

#include <cstdint>

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"
#include "viewedit/SyntaxContext.h"

class CWordChars;

// True when the text stands at the position of a zero-terminated line; without
// case sensitivity both sides are compared in upper case.
bool SyntaxTextAt(const char32_t* position, const Westring& text, bool caseSensitive);

class CSyntaxElement {
public:
    CSyntaxElement() = default;
    virtual ~CSyntaxElement() = default;
    CSyntaxElement(const CSyntaxElement&) = delete;
    CSyntaxElement& operator=(const CSyntaxElement&) = delete;

    // True when the element begins at the position inside `current`; `length`
    // gets the length of its opening text.
    virtual bool StartsAt(const char32_t* position, const CSyntaxElement* current, int& length) = 0;
    // True when its closing text stands at the position.
    virtual bool EndsAt(const char32_t* position, int& length) = 0;
    virtual bool AppliesIn(const CSyntaxElement* current) const { return context.AppliesIn(current); }

    Estring name;
    CSyntaxContext context;
    uint8_t attribute = 0;
    CWordChars* wordChars = nullptr;  // found on first use
    bool wordCharsResolved = false;
    bool endsAtLineEnd = false;
    bool wordOnly = false;
    char32_t escape = 0;
};

class CSyntaxLiteralString : public CSyntaxElement {
public:
    bool StartsAt(const char32_t* position, const CSyntaxElement* current, int& length) override;
    bool EndsAt(const char32_t* position, int& length) override;

    char32_t opening = 0;
    char32_t closing = 0;
};

// A block comment, or a named state.
class CSyntaxBlock : public CSyntaxElement {
public:
    bool StartsAt(const char32_t* position, const CSyntaxElement* current, int& length) override;
    bool EndsAt(const char32_t* position, int& length) override;

    Westring start;
    Westring end;  // empty: never closed by text
    bool caseSensitive = true;
};

class CSyntaxLineComment : public CSyntaxElement {
public:
    CSyntaxLineComment() { endsAtLineEnd = true; }
    bool StartsAt(const char32_t* position, const CSyntaxElement* current, int& length) override;
    bool EndsAt(const char32_t*, int&) override { return false; }

    Westring start;  // one character per byte of the rule
    bool caseSensitive = true;
};

class CSyntaxStateChange {
public:
    enum { ActionPush = 0, ActionPop = 1, ActionSwitch = 2 };

    uint8_t attribute = 0;
    CSyntaxContext context;
    Westring text;
    int32_t action = ActionPush;
    Estring targetName;
    CSyntaxElement* target = nullptr;
    bool targetResolved = false;
    bool caseSensitive = true;
};
