// Estring: the system's 8-bit string.
//
// Ini text, command lines, messages, formatted numbers and any text in a code
// page. The twin of Westring with bytes for units: up to 20 bytes inline, heap
// blocks that grow by a quarter plus one and never shrink. Every relational
// operator compares without regard to case (C locale).
#pragma once

#include <cstdint>

#include "base/strings/StringCore.h"
#include "platform/win32.h"

class Estring;
class Westring;

// What indexing an Estring gives: reads the byte, and stores through SetAt.
struct TEstringCharRef {
    Estring* string;
    int index;

    operator char() const;
    TEstringCharRef& operator=(char byte);
    TEstringCharRef& operator=(const TEstringCharRef& other);
};

class Estring {
public:
    static const int InlineBytes = TStringCore<char>::InlineUnits;
    static const int FormatLimit = 1023; // Format keeps at most this many bytes

    Estring();
    Estring(const char* text);                    // null gives an empty string
    explicit Estring(int room);                   // empty, with room for n bytes
    Estring(const Estring& other);
    Estring(Estring&& other) noexcept;
    explicit Estring(const Westring& text);       // UTF-8
    Estring(const Westring& text, UINT codePage); // through WideCharToMultiByte
    // Text in a code page, converted to the console output code page. Defined
    // beside the code-page map, which does the translation.
    Estring(const char* text, UINT codePage);
    ~Estring();

    Estring& operator=(const Estring& other);
    Estring& operator=(Estring&& other) noexcept;
    Estring& operator=(const char* text);         // null empties the string
    void Assign(const char* bytes, int n);        // n bytes, need not be terminated
    Estring& operator+=(const Estring& other);
    Estring& operator+=(const char* text);        // null appends nothing
    Estring& operator+=(char byte);
    void Clear();

    // printf-style formatting replacing the contents; output beyond
    // FormatLimit bytes is cut.
    Estring& Format(const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    const char* Data() const { return core.data; }
    int Length() const { return core.length; }
    int Capacity() const { return core.capacity; }
    bool IsEmpty() const { return core.length == 0; }

    // An index at or past the capacity refers to the last byte of the buffer; a
    // negative index is refused by SetAt and reads as 0.
    TEstringCharRef operator[](int index);
    char operator[](int index) const;
    // Stores one byte; an index past the end extends the string (any gap is
    // filled with blanks); storing 0 inside the string truncates it there.
    void SetAt(int index, char byte);

    int Find(char byte) const;            // byte 0 gives -1
    int FindLast(char byte) const;        // byte 0 gives -1
    int FindNth(char byte, int n) const;  // n counts from 1; 0 gives -1

    Estring Left(int n) const;
    Estring Mid(int start, int count) const;  // count 0 or past the rest: to the end
    Estring Right(int n) const;
    Estring DropRight(int n) const;
    Estring Pad(int n, char fill = ' ') const;   // exactly n bytes, left-aligned
    Estring LPad(int n, char fill = ' ') const;  // exactly n bytes, right-aligned
    Estring TrimLeft() const;
    Estring TrimRight() const;
    Estring Trim() const;
    Estring ToLower() const;                     // C locale

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

    TStringCore<char> core;
};

Estring operator+(const char* a, const Estring& b);
Estring operator+(const Estring& a, const char* b);
Estring operator+(const Estring& a, const Estring& b);

Estring RepeatChar(char byte, int n);                   // empty for n below 1
Estring FieldToEstring(const void* field, int n);       // up to a NUL, trailing blanks dropped
Estring ExpandTabs(const char* text, int tabSize);      // tab size must not be 0

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
