// Estring: the system's 8-bit string.
//
// Ini text, command lines, messages, formatted numbers and any text in a code
// page. The twin of Westring with bytes for units: up to 20 bytes inline, heap
// blocks that grow by a quarter plus one and never shrink. Every relational
// operator compares without regard to case (C locale).
#pragma once

#include <cstdint>

#include "base/strings/StringBody.h"
#include "platform/win32.h"

class Estring;
class Westring;

// What indexing an Estring gives: reads the byte, and stores through SetAt.
using TEstringCharRef = TStringCharRef<Estring, char>;

class Estring : public TStringBody<Estring, char> {
public:
    static const int InlineBytes = TStringCore<char>::InlineUnits;
    static const int FormatLimit = 1023;  // Format keeps at most this many bytes

    Estring() = default;
    Estring(const char* text);   // null gives an empty string
    explicit Estring(int room);  // empty, with room for n bytes
    Estring(const Estring& other) = default;
    Estring(Estring&& other) noexcept = default;
    explicit Estring(const Westring& text);        // UTF-8
    Estring(const Westring& text, UINT codePage);  // through WideCharToMultiByte
    // Text in a code page, converted to the console output code page. Defined
    // beside the code-page map, which does the translation.
    Estring(const char* text, UINT codePage);
    ~Estring() = default;

    Estring& operator=(const Estring& other) = default;
    Estring& operator=(Estring&& other) noexcept = default;
    Estring& operator=(const char* text);  // null empties the string
    using TStringBody::operator+=;
    Estring& operator+=(const char* text);  // null appends nothing
    Estring& operator+=(char byte);

    // printf-style formatting replacing the contents; output beyond
    // FormatLimit bytes is cut.
    Estring& Format(const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    Estring ToLower() const;  // C locale

    int operator==(const Estring& other) const;
    int operator==(const char* other) const;
    int operator!=(const Estring& other) const;
    int operator!=(const char* other) const;
    int operator<(const Estring& other) const;
    int operator<(const char* other) const;
    int operator>(const Estring& other) const;
    int operator>(const char* other) const;
    int operator<=(const Estring& other) const;
    int operator<=(const char* other) const;
    int operator>=(const Estring& other) const;
    int operator>=(const char* other) const;

private:
    friend class Westring;  // writes its UTF-8 form straight into the buffer
    friend class TStringBody<Estring, char>;

    // White space of the C locale, for the trims.
    static bool IsWhiteSpace(char c);
};

Estring operator+(const char* a, const Estring& b);
Estring operator+(const Estring& a, const char* b);
Estring operator+(const Estring& a, const Estring& b);

Estring RepeatChar(char byte, int n);               // empty for n below 1
Estring FieldToEstring(const void* field, int n);   // up to a NUL, trailing blanks dropped
Estring ExpandTabs(const char* text, int tabSize);  // tab size must not be 0

// Paths, with the same rules as their Westring twins.
Estring AddTrailingBackslash(const Estring& path);
Estring RemoveTrailingBackslash(const Estring& path);
Estring ExtractFileName(const Estring& path);
Estring ExtractDirectory(const Estring& path);

// "key <sep> value ; comment": key and value trimmed, the value cut at its first
// ';'. False (key = the whole text, value empty) without a separator or with a
// ';' before it. The buffer form needs room for the whole text in each buffer.
bool SplitKeyValue(const Estring& text, char separator, Estring& key, Estring& value);
bool SplitKeyValue(const char* text, char separator, char* key, char* value);

// Digits 0-9 then A-Z, a leading '-' for negative values. A radix outside
// 2..36 gives an empty text.
Estring IntToEstring(int32_t value, int radix = 10);
Estring UIntToEstring(uint32_t value, int radix = 10);
Estring Int64ToEstring(int64_t value, int radix = 10);

// The system's text for a Windows error code on one line, then " (code)".
Estring FormatSystemErrorA(DWORD code);
