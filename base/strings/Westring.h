// Westring: the system's main text type.
//
// A zero-terminated string of 32-bit code points; every path, file name and
// displayed text is one. Texts of up to 20 units live inside the object; longer
// ones take a heap block that grows by a quarter plus one on appends and never
// shrinks. Equality (==, !=) ignores case through the Unicode case table;
// EqualsExact does not.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/StringBody.h"
#include "base/strings/Str32.h"
#include "platform/win32.h"

class Westring;

// What indexing a Westring gives: reads the unit, and stores through SetAt.
using TWestringCharRef = TStringCharRef<Westring, char32_t>;

class Westring : public TStringBody<Westring, char32_t> {
public:
    static const int InlineUnits = TStringCore<char32_t>::InlineUnits;

    Westring() = default;
    explicit Westring(int room);     // empty, with room for n units
    Westring(const char32_t* text);  // null gives an empty string
    Westring(const Westring& other) = default;
    Westring(Westring&& other) noexcept = default;
    Westring(const char* utf8);                 // null gives an empty string
    explicit Westring(const Estring& latin1);   // each byte widened as Latin-1
    explicit Westring(const WCHAR* utf16);      // must not be null
    Westring(const char* text, UINT codePage);  // null gives an empty string
    ~Westring() = default;

    Westring& operator=(const Westring& other) = default;
    Westring& operator=(Westring&& other) noexcept = default;
    Westring& operator=(const char32_t* text);  // null empties the string

    int AssignUtf8(const char* text);                     // 1 when every byte decoded, else 0
    int AssignUtf16(const WCHAR* text);                   // surrogate pairs joined; returns 1
    int AssignCodePage(const char* text, UINT codePage);  // returns 1; empty when the system cannot convert

    void ToUtf8(Estring& out) const;
    Estring ToLatin1() const;  // low 8 bits of every unit

    // Searches return an index or -1.
    using TStringBody::Find;
    int Find(const Westring& part) const;
    int FindFrom(const Westring& part, int start) const;  // start outside 0..length gives -1
    int FindNoCase(const Westring& part) const;
    int FindUnquoted(char32_t unit) const;  // outside double-quoted stretches

    Westring ToUpper() const;
    Westring ToLower() const;

    // 1 when something was replaced, else 0. ReplaceAll never searches inserted
    // text again; an empty search text replaces nothing.
    int ReplaceFirst(const Westring& search, const Westring& replacement);
    int ReplaceAll(const Westring& search, const Westring& replacement);

    using TStringBody::operator+=;
    Westring& operator+=(char latin1);
    Westring& AppendChar(char32_t unit);

    int operator==(const Westring& other) const;  // without regard to case
    int operator==(const char32_t* other) const;
    int operator!=(const Westring& other) const;
    int operator!=(const char32_t* other) const;
    bool EqualsNoCase(const Westring& other) const;
    bool EqualsExact(const Westring& other) const;

private:
    friend class TStringBody<Westring, char32_t>;

    // White space of the basic plane, for the trims.
    static bool IsWhiteSpace(char32_t c);
};

Westring operator+(const Westring& a, const Westring& b);
Westring operator+(const char32_t* a, const Westring& b);
Westring operator+(const Westring& a, const char32_t* b);

Westring RepeatChar32(char32_t unit, int n);  // negative n counts as 0

// Paths: backslash and '/' separate; only a backslash is ever added.
Westring AddTrailingBackslash(const Westring& path);
Westring RemoveTrailingBackslash(const Westring& path);  // C:\ gives C:, \\ stays
Westring ExtractFileName(const Westring& path);
Westring ExtractDirectory(const Westring& path);  // keeps X:\ for a root
