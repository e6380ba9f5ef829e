// Westring: the system's main text type.
//
// A zero-terminated string of 32-bit code points; every path, file name and
// displayed text is one. Texts of up to 20 units live inside the object; longer
// ones take a heap block that grows by a quarter plus one on appends and never
// shrinks. Equality (==, !=) ignores case through the Unicode case table;
// EqualsExact does not.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/Str32.h"
#include "base/strings/StringCore.h"
#include "platform/win32.h"

class Westring;

// What indexing a Westring gives: reads the unit, and stores through SetAt.
struct TWestringCharRef {
    Westring* string;
    int index;

    operator char32_t() const;
    TWestringCharRef& operator=(char32_t unit);
    TWestringCharRef& operator=(const TWestringCharRef& other);
};

class Westring {
public:
    static const int InlineUnits = TStringCore<char32_t>::InlineUnits;

    Westring();
    explicit Westring(int room);                  // empty, with room for n units
    Westring(const char32_t* text);               // null gives an empty string
    Westring(const Westring& other);
    Westring(Westring&& other) noexcept;
    Westring(const char* utf8);                   // null gives an empty string
    explicit Westring(const Estring& latin1);     // each byte widened as Latin-1
    explicit Westring(const WCHAR* utf16);        // must not be null
    Westring(const char* text, UINT codePage);    // null gives an empty string
    ~Westring();

    Westring& operator=(const Westring& other);
    Westring& operator=(Westring&& other) noexcept;
    Westring& operator=(const char32_t* text);    // null empties the string

    void Assign(const char32_t* units, int n);    // n units, need not be terminated
    int AssignUtf8(const char* text);             // 1 when every byte decoded, else 0
    int AssignUtf16(const WCHAR* text);           // surrogate pairs joined; returns 1
    int AssignCodePage(const char* text, UINT codePage);  // returns 1; empty when the system cannot convert
    void Clear();

    void ToUtf8(Estring& out) const;
    Estring ToLatin1() const;                     // low 8 bits of every unit

    const char32_t* Data() const { return core.data; }
    int Length() const { return core.length; }
    int Capacity() const { return core.capacity; }
    bool IsEmpty() const { return core.length == 0; }

    // An index at or past the capacity refers to the last unit of the buffer; a
    // negative index is refused by SetAt and reads as 0.
    TWestringCharRef operator[](int index);
    char32_t operator[](int index) const;
    // Stores one unit; an index past the end extends the string (any gap is
    // filled with blanks); storing 0 inside the string truncates it there.
    // A negative index is refused.
    void SetAt(int index, char32_t unit);

    // Searches return an index or -1.
    int Find(char32_t unit) const;                // unit 0 is never found
    int FindLast(char32_t unit) const;
    int Find(const Westring& part) const;
    int FindFrom(const Westring& part, int start) const;  // start outside 0..length gives -1
    int FindNoCase(const Westring& part) const;
    int FindNth(char32_t unit, int n) const;      // n counts from 1; 0 gives -1
    int FindUnquoted(char32_t unit) const;        // outside double-quoted stretches

    Westring Left(int n) const;
    Westring Mid(int start, int count) const;     // count 0 or past the rest: to the end
    Westring Right(int n) const;
    Westring DropRight(int n) const;
    Westring Pad(int n, char32_t fill = ' ') const;   // exactly n units, left-aligned
    Westring LPad(int n, char32_t fill = ' ') const;  // exactly n units, right-aligned
    Westring TrimLeft() const;
    Westring TrimRight() const;
    Westring Trim() const;
    Westring ToUpper() const;
    Westring ToLower() const;

    // 1 when something was replaced, else 0. ReplaceAll never searches inserted
    // text again; an empty search text replaces nothing.
    int ReplaceFirst(const Westring& search, const Westring& replacement);
    int ReplaceAll(const Westring& search, const Westring& replacement);

    Westring& operator+=(const Westring& other);
    Westring& operator+=(char latin1);
    Westring& AppendChar(char32_t unit);

    int operator==(const Westring& other) const;  // without regard to case
    int operator==(const char32_t* other) const;
    int operator!=(const Westring& other) const;
    int operator!=(const char32_t* other) const;
    bool EqualsNoCase(const Westring& other) const;
    bool EqualsExact(const Westring& other) const;

private:
    TStringCore<char32_t> core;
};

Westring operator+(const Westring& a, const Westring& b);
Westring operator+(const char32_t* a, const Westring& b);
Westring operator+(const Westring& a, const char32_t* b);

Westring RepeatChar32(char32_t unit, int n);  // negative n counts as 0

// Paths: backslash and '/' separate; only a backslash is ever added.
Westring AddTrailingBackslash(const Westring& path);
Westring RemoveTrailingBackslash(const Westring& path);  // C:\ gives C:, \\ stays
Westring ExtractFileName(const Westring& path);
Westring ExtractDirectory(const Westring& path);         // keeps X:\ for a root
