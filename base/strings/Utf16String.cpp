#include "base/strings/Utf16String.h"

#include "base/strings/Utf8Codec.h"
#include "base/strings/Westring.h"

Utf16String::Utf16String() : data(inlineBuffer), codePoints(0), units(0) {
    inlineBuffer[0] = 0;
}

Utf16String::Utf16String(const char32_t* text) : Utf16String() {
    Build(text);
}

Utf16String::Utf16String(const Westring& text) : Utf16String() {
    Build(text.Data());
}

Utf16String::Utf16String(const WCHAR* text) : Utf16String() {
    CountUnits(text);
    int n = units;
    Reserve(n);
    for (int i = 0; i <= n; i++)
        data[i] = text[i];
}

Utf16String::Utf16String(const Utf16String& other) : Utf16String() {
    *this = other;
}

Utf16String& Utf16String::operator=(const Utf16String& other) {
    if (this != &other)
        Assign(other.data, other.units);
    return *this;
}

Utf16String::~Utf16String() {
    ReleaseBlock();
}

void Utf16String::ReleaseBlock() {
    if (data != inlineBuffer)
        delete[] data;
    data = inlineBuffer;
}

void Utf16String::Reserve(int n) {
    ReleaseBlock();
    if (n >= InlineUnits)
        data = new WCHAR[n + 1];
    data[0] = 0;
}

void Utf16String::CountUnits(const WCHAR* text) {
    codePoints = 0;
    units = 0;
    while (text[units]) {
        if (IsHighSurrogate(text[units]) && IsLowSurrogate(text[units + 1]))
            units++;
        units++;
        codePoints++;
    }
}

void Utf16String::Assign(const WCHAR* source, int n) {
    if (n < 0)
        n = 0;
    if (source >= data && source <= data + units) {
        // Our own text: keep a copy while the buffer is replaced.
        Utf16String copy;
        copy.Assign(source, n);
        Assign(copy.data, n);
        return;
    }
    Reserve(n);
    for (int i = 0; i < n; i++)
        data[i] = source[i];
    data[n] = 0;
    units = n;
    CountUnits(data);
}

int Utf16String::Measure(const char32_t* text) {
    codePoints = 0;
    units = 0;
    for (; *text; text++) {
        codePoints++;
        units += Utf16Length(*text);
    }
    return codePoints;
}

void Utf16String::Build(const char32_t* text) {
    Measure(text);
    Reserve(units);
    WCHAR* out = data;
    for (; *text; text++) {
        char16_t units16[2];
        int n = EncodeUtf16(*text, units16);
        for (int i = 0; i < n; i++)
            *out++ = (WCHAR)units16[i];
    }
    *out = 0;
}
