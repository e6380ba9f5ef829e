#include "base/strings/CodePageMap.h"

#include "base/strings/ConsoleCodePage.h"

namespace {

// The two process-wide slots live for the whole run and are never destroyed:
// destructors of other globals may still convert text while the process ends,
// and the system's locks must not be torn down under them.
TCodePageMapSlot& ToConsoleSlot() {
    static TCodePageMapSlot* slot = new TCodePageMapSlot;
    return *slot;
}

TCodePageMapSlot& FromConsoleSlot() {
    static TCodePageMapSlot* slot = new TCodePageMapSlot;
    return *slot;
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int TCodePageMap::Build(UINT source, UINT target) {
    sourcePage = source;
    targetPage = target;
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    char bytes[256];
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i);
    WCHAR wide[256];
    int n = MultiByteToWideChar(source, 0, bytes, 256, wide, 256);
    if (n == 0) {
        DWORD error = GetLastError();
        if (error != 0)
            return static_cast<int>(error);
    }
    if (n != 256)
        return n;  // lead bytes joined their neighbours: no byte-for-byte table
    unsigned char converted[256];
    int count = WideCharToMultiByte(target, 0, wide, 256, reinterpret_cast<char*>(converted), 256, nullptr, nullptr);
    if (count == 0)
        return static_cast<int>(GetLastError());
    if (count == 256) {
        for (int i = 0; i < 256; ++i)
            table[i] = converted[i];
    }
    return count;
}

Estring TCodePageMap::Translate(const char* text) const {
    Estring result(text);
    int n = result.Length();
    char* translated = new char[n + 1];
    for (int i = 0; i < n; ++i)
        translated[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
    translated[n] = 0;
    result.Assign(translated, n);
    delete[] translated;
    return result;
}

Estring ConvertCodePage(const char* text, TCodePageMapSlot& slot, UINT sourcePage, UINT targetPage) {
    if (sourcePage == 0 || targetPage == 0 || sourcePage == targetPage)
        return Estring(text);
    slot.lock.Lock(INFINITE);
    if (slot.map == nullptr || slot.map->sourcePage != sourcePage || slot.map->targetPage != targetPage) {
        delete slot.map;
        slot.map = nullptr;
        TCodePageMap* map = new TCodePageMap;
        map->Build(sourcePage, targetPage);
        slot.map = map;
    }
    Estring result = slot.map->Translate(text ? text : "");
    slot.lock.Unlock();
    return result;
}

Estring ToConsoleCodePage(const char* text, UINT sourcePage) {
    return ConvertCodePage(text, ToConsoleSlot(), sourcePage, ConsoleOutputCodePage);
}

Estring FromConsoleCodePage(const Estring& text, UINT targetPage) {
    return ConvertCodePage(text.Data(), FromConsoleSlot(), ConsoleOutputCodePage, targetPage);
}

// Text in a code page, as the console output code page shows it.
Estring::Estring(const char* text, UINT codePage) : Estring(text ? ToConsoleCodePage(text, codePage) : Estring()) {}

Estring NextQuotedField(const char*& cursor) {
    Estring field;
    const char* start = cursor;
    const char* p = cursor;
    bool quoted = false;
    for (;;) {
        char c = *p;
        if (c == 0)
            break;
        if (c == ',' && !quoted) {
            ++p;
            break;
        }
        if (c == '"') {
            // A quote right after a closing quote stands for itself and reopens
            // the quoted stretch: "" inside quotes is one quote.
            if (p == start || quoted || p[-1] != '"') {
                quoted = !quoted;
            } else {
                field += '"';
                quoted = true;
            }
            ++p;
            continue;
        }
        if (c == '\\') {
            ++p;
            if (IsDigit(*p)) {
                int value = 0;
                for (int i = 0; i < 3 && IsDigit(*p); ++i, ++p)
                    value = value * 10 + (*p - '0');
                // A zero byte would end the text; it cannot be part of a field.
                if ((value & 0xFF) != 0)
                    field += static_cast<char>(value & 0xFF);
            } else if (*p != 0) {
                // A backslash at the very end escapes nothing; the field ends.
                field += *p;
                ++p;
            }
            continue;
        }
        if (c != '\n')
            field += c;
        ++p;
    }
    cursor = p;
    return field;
}

Estring TakeQuotedField(Estring& list) {
    const char* cursor = list.Data();
    Estring field = NextQuotedField(cursor);
    Estring rest(cursor);
    list = rest;
    return field;
}
