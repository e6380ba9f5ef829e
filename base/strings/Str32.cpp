#include "base/strings/Str32.h"

#include <cerrno>
#include <cstring>
#include <cwctype>

#include "base/strings/CaseTable.h"

void Mem32Copy(char32_t* destination, const char32_t* source, int n) {
    if (n > 0)
        memcpy(destination, source, sizeof(char32_t) * n);
}

void Mem32Move(char32_t* destination, const char32_t* source, int n) {
    if (n > 0)
        memmove(destination, source, sizeof(char32_t) * n);
}

void Mem32Fill(char32_t* destination, char32_t unit, int n) {
    for (int i = 0; i < n; i++)
        destination[i] = unit;
}

int Str32Length(const char32_t* text) {
    int n = 0;
    while (text[n])
        n++;
    return n;
}

const char32_t* Str32FindChar(const char32_t* text, char32_t unit) {
    if (unit == 0)
        return nullptr;
    for (; *text; text++)
        if (*text == unit)
            return text;
    return nullptr;
}

const char32_t* Str32FindLastChar(const char32_t* text, char32_t unit) {
    const char32_t* found = nullptr;
    if (unit == 0)
        return nullptr;
    for (; *text; text++)
        if (*text == unit)
            found = text;
    return found;
}

const char32_t* Str32FindString(const char32_t* text, const char32_t* needle) {
    for (; *text; text++) {
        int i = 0;
        while (needle[i] && text[i] == needle[i])
            i++;
        if (!needle[i])
            return text;
    }
    return nullptr;
}

// The difference of two units as the signed 32-bit value the callers sort by.
static int UnitDifference(char32_t a, char32_t b) {
    return (int)(uint32_t)(a - b);
}

int Str32Compare(const char32_t* a, const char32_t* b) {
    for (;; a++, b++) {
        if (*a != *b)
            return UnitDifference(*a, *b);
        if (!*a)
            return 0;
    }
}

int Str32CompareN(const char32_t* a, const char32_t* b, int n) {
    for (int i = 0; i < n; i++) {
        if (a[i] != b[i])
            return UnitDifference(a[i], b[i]);
        if (!a[i])
            return 0;
    }
    return 0;
}

int Str32CompareNoCaseN(const char32_t* a, const char32_t* b, int n) {
    const CCaseTable& table = CCaseTable::Instance();
    for (int i = 0; i < n; i++) {
        char32_t ua = table.ToUpper(a[i]);
        char32_t ub = table.ToUpper(b[i]);
        if (ua != ub)
            return UnitDifference(ua, ub);
        if (!a[i])
            return 0;
    }
    return 0;
}

int Str32CompareNoCase(const char32_t* a, const char32_t* b) {
    const CCaseTable& table = CCaseTable::Instance();
    for (;; a++, b++) {
        char32_t ua = table.ToUpper(*a);
        char32_t ub = table.ToUpper(*b);
        if (ua != ub)
            return UnitDifference(ua, ub);
        if (!*a)
            return 0;
    }
}

char32_t* Str32Copy(char32_t* destination, const char32_t* source) {
    Mem32Move(destination, source, Str32Length(source) + 1);
    return destination;
}

char32_t* Str32Append(char32_t* destination, const char32_t* source) {
    Str32Copy(destination + Str32Length(destination), source);
    return destination;
}

unsigned Str32ToUnsigned(const char32_t* text, const char32_t** end, int radix) {
    while (*text && iswspace((wint_t)(*text & 0xFFFF)))
        text++;
    if (*text == '-') {
        errno = ERANGE;
        return 0;
    }
    if (*text == '+')
        text++;
    unsigned value = 0;
    for (;; text++) {
        char32_t c = *text;
        unsigned digit;
        if (c && iswdigit((wint_t)(c & 0xFFFF)))
            digit = (unsigned)(c - '0');
        else if (c && iswxdigit((wint_t)(c & 0xFFFF)))
            digit = (unsigned)((c & 0x5F) - 55);
        else
            break;
        if (digit >= (unsigned)radix)
            break;
        value = value * (unsigned)radix + digit;
    }
    if (end)
        *end = text;
    return value;
}
