// Utf16String: the UTF-16 form of a text, made only to hand it to a Windows
// "W" function.
//
// Built once from a Westring's units (code points at or above 0x10000 become
// surrogate pairs), passed by Data() to the call and dropped after it. Texts of
// fewer than 21 units need no heap block.
#pragma once

#include "platform/win32.h"

class Westring;

class Utf16String {
public:
    static const int InlineUnits = 21;

    Utf16String();
    explicit Utf16String(const char32_t* text);  // zero-terminated 32-bit units
    explicit Utf16String(const Westring& text);
    explicit Utf16String(const WCHAR* text);  // zero-terminated 16-bit units
    Utf16String(const Utf16String& other);
    Utf16String& operator=(const Utf16String& other);
    ~Utf16String();

    // Room for n units: inline below 21, else a heap block of n+1; unit 0 set to 0.
    void Reserve(int n);
    // Sets both counts from zero-terminated 16-bit text (a pair is one code point).
    void CountUnits(const WCHAR* text);
    // n units copied and terminated, code points recounted.
    void Assign(const WCHAR* units, int n);
    // Sets both counts that the 32-bit text would need; returns the code points.
    int Measure(const char32_t* text);

    const WCHAR* Data() const { return data; }
    WCHAR* Data() { return data; }
    int CodePoints() const { return codePoints; }
    int Units() const { return units; }

private:
    void Build(const char32_t* text);
    void ReleaseBlock();

    WCHAR* data;
    int codePoints;
    int units;
    WCHAR inlineBuffer[InlineUnits];
};
