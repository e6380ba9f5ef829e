// Code pages: UTF-8 by the layer's own codec, single-byte code pages through
// tables filled once per page (by iconv, but for 1252). ANSI is 1252, OEM
// 437, and the console speaks UTF-8 unless the program asks for another page.
#include "platform/posix/HandleObject.h"
#include "platform/posix/TextBuffers.h"
#include "platform/posix/Utf.h"

#include <algorithm>
#include <atomic>
#include <iconv.h>
#include <map>

namespace w32 {

namespace {

constexpr UINT kAnsiCodePage = 1252;
constexpr UINT kOemCodePage = 437;
constexpr UINT kMacCodePage = 10000;
constexpr char16_t kReplacement = 0xFFFD;

struct CodePageName {
    UINT codePage;
    const char* iconvName;
};

// The single-byte code pages the layer knows, by their iconv names.
const CodePageName kCodePages[] = {
    {437, "CP437"},         {737, "CP737"},         {775, "CP775"},        {850, "CP850"},        {852, "CP852"},
    {855, "CP855"},         {857, "CP857"},         {858, "CP858"},        {860, "CP860"},        {861, "CP861"},
    {862, "CP862"},         {863, "CP863"},         {864, "CP864"},        {865, "CP865"},        {866, "CP866"},
    {869, "CP869"},         {874, "CP874"},         {1250, "CP1250"},      {1251, "CP1251"},      {1252, "CP1252"},
    {1253, "CP1253"},       {1254, "CP1254"},       {1255, "CP1255"},      {1256, "CP1256"},      {1257, "CP1257"},
    {1258, "CP1258"},       {10000, "MACINTOSH"},   {20127, "US-ASCII"},   {20866, "KOI8-R"},     {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},  {28592, "ISO-8859-2"},  {28595, "ISO-8859-5"}, {28597, "ISO-8859-7"}, {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"},
};

// Byte to UTF-16 and back for one single-byte code page. Bytes the page leaves
// undefined stand for the code point of the same value, as Windows does for
// the holes of 1252, so every byte survives a round trip.
struct SingleByteTable {
    char16_t toWide[256];
    // The way back: the 256 (unit, byte) pairs sorted by unit, then byte, so
    // that a unit reachable from two bytes maps back to the lower one. (A
    // table of every UTF-16 unit would cost each process 128 KiB to fill.)
    uint32_t back[256];

    // The byte of a unit, or -1 where the page has none.
    int FromWide(char16_t unit) const {
        if (unit < 0x80 && toWide[unit] == unit) {
            return unit;
        }
        const uint32_t key = uint32_t(unit) << 8;
        const uint32_t* at = std::lower_bound(back, back + 256, key);
        return at != back + 256 && (*at >> 8) == unit ? int(*at & 0xFF) : -1;
    }

    void SortBack() {
        for (int byte = 0; byte < 256; ++byte) {
            back[byte] = (uint32_t(toWide[byte]) << 8) | uint32_t(byte);
        }
        std::sort(back, back + 256);
    }
};

UINT ResolveCodePage(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP: return kAnsiCodePage;
    case CP_OEMCP: return kOemCodePage;
    case CP_MACCP: return kMacCodePage;
    default: return codePage;
    }
}

// 1252 differs from Latin-1 only between 0x80 and 0x9F; its five holes there
// stand for themselves. The ANSI page is the one every run needs, so it is
// kept here rather than asked of iconv, whose first use loads modules.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::unique_ptr<SingleByteTable> Build1252Table() {
    auto table = std::make_unique<SingleByteTable>();
    for (int byte = 0; byte < 256; ++byte) {
        table->toWide[byte] = byte >= 0x80 && byte < 0xA0 ? k1252High[byte - 0x80] : char16_t(byte);
    }
    table->SortBack();
    return table;
}

std::unique_ptr<SingleByteTable> BuildTable(const char* iconvName) {
    iconv_t cd = iconv_open("UTF-16LE", iconvName);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    auto table = std::make_unique<SingleByteTable>();
    for (int byte = 0; byte < 256; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[8];
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof(out);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        // Pages with combining marks hold a base letter back until flushed.
        if (done != static_cast<size_t>(-1)) {
            iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
        }
        const size_t produced = sizeof(out) - outLeft;
        char16_t unit = static_cast<char16_t>(byte);
        if (done != static_cast<size_t>(-1) && produced == 2) {
            unit = static_cast<char16_t>(out[0] | (out[1] << 8));
        }
        table->toWide[byte] = unit;
    }
    iconv_close(cd);
    table->SortBack();
    return table;
}

// The table of a single-byte code page (already resolved), or null.
const SingleByteTable* TableFor(UINT codePage) {
    static std::mutex* lock = new std::mutex;
    static auto* tables = new std::map<UINT, std::unique_ptr<SingleByteTable>>;
    const char* name = nullptr;
    for (const CodePageName& entry : kCodePages) {
        if (entry.codePage == codePage) {
            name = entry.iconvName;
        }
    }
    if (name == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(*lock);
    auto it = tables->find(codePage);
    if (it == tables->end()) {
        it = tables->emplace(codePage, codePage == 1252 ? Build1252Table() : BuildTable(name)).first;
    }
    return it->second.get();
}

// Decodes UTF-8 into UTF-16. Each malformed sequence (the longest prefix of a
// valid sequence, or one bad byte) becomes one U+FFFD; false when one was found.
bool DecodeUtf8(const unsigned char* text, size_t length, std::u16string& out) {
    bool clean = true;
    size_t i = 0;
    while (i < length) {
        const unsigned char lead = text[i];
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        int extra;
        char32_t code;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
        } else {
            out.push_back(kReplacement);
            clean = false;
            ++i;
            continue;
        }
        size_t j = i + 1;
        int taken = 0;
        while (taken < extra && j < length) {
            const unsigned char next = text[j];
            const unsigned char min = taken == 0 ? low : 0x80;
            const unsigned char max = taken == 0 ? high : 0xBF;
            if (next < min || next > max) {
                break;
            }
            code = (code << 6) | (next & 0x3F);
            ++taken;
            ++j;
        }
        if (taken < extra) {
            out.push_back(kReplacement);
            clean = false;
        } else if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i = j;
    }
    return clean;
}

// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD. False when one was found.
bool EncodeUtf8(const char16_t* text, size_t length, std::string& out) {
    bool clean = true;
    for (size_t i = 0; i < length; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
            clean = false;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return clean;
}

template <class Char>
size_t LengthOf(const Char* text, int length) {
    if (length >= 0) {
        return static_cast<size_t>(length);
    }
    size_t n = 0;
    while (text[n] != 0) {
        ++n;
    }
    return n + 1;  // the terminator is converted too
}

std::atomic<UINT> g_consoleInputCodePage{CP_UTF8};
std::atomic<UINT> g_consoleOutputCodePage{CP_UTF8};

}  // namespace

std::string ToUtf8(const WCHAR* text, size_t length) {
    std::string out;
    EncodeUtf8(text, length, out);
    return out;
}

std::string ToUtf8(const WCHAR* text) {
    return text == nullptr ? std::string() : ToUtf8(text, LengthOf(text, -1) - 1);
}

std::u16string ToUtf16(const std::string& utf8) {
    std::u16string out;
    DecodeUtf8(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(), out);
    return out;
}

}  // namespace w32

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLength, LPWSTR dst, int dstLength) {
    if (src == nullptr || srcLength == 0 || srcLength < -1 || dstLength < 0 || (dstLength > 0 && dst == nullptr) ||
        static_cast<const void*>(src) == static_cast<const void*>(dst)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t length = w32::LengthOf(src, srcLength);
    const auto* bytes = reinterpret_cast<const unsigned char*>(src);
    const UINT page = w32::ResolveCodePage(codePage);
    std::u16string out;
    if (page == CP_UTF8) {
        if ((flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        if (!w32::DecodeUtf8(bytes, length, out) && (flags & MB_ERR_INVALID_CHARS) != 0) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
    } else if (const w32::SingleByteTable* table = w32::TableFor(page)) {
        out.reserve(length);
        for (size_t i = 0; i < length; ++i) {
            out.push_back(table->toWide[bytes[i]]);
        }
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return w32::DeliverCounted(out, dst, dstLength);
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcLength, LPSTR dst, int dstLength,
                               LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (src == nullptr || srcLength == 0 || srcLength < -1 || dstLength < 0 || (dstLength > 0 && dst == nullptr) ||
        static_cast<const void*>(src) == static_cast<const void*>(dst)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t length = w32::LengthOf(src, srcLength);
    const UINT page = w32::ResolveCodePage(codePage);
    std::string out;
    if (page == CP_UTF8) {
        if ((flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        // UTF-8 has no default character.
        if (defaultChar != nullptr || usedDefaultChar != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (!w32::EncodeUtf8(src, length, out) && (flags & WC_ERR_INVALID_CHARS) != 0) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
    } else if (const w32::SingleByteTable* table = w32::TableFor(page)) {
        const char fallback = defaultChar != nullptr ? *defaultChar : '?';
        bool usedDefault = false;
        out.reserve(length);
        for (size_t i = 0; i < length; ++i) {
            char16_t unit = src[i];
            // A surrogate pair is one character and gets one default character.
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) {
                ++i;
                out.push_back(fallback);
                usedDefault = true;
                continue;
            }
            const int byte = table->FromWide(unit);
            if (byte < 0) {
                out.push_back(fallback);
                usedDefault = true;
            } else {
                out.push_back(static_cast<char>(byte));
            }
        }
        if (usedDefaultChar != nullptr) {
            *usedDefaultChar = usedDefault ? TRUE : FALSE;
        }
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return w32::DeliverCounted(out, dst, dstLength);
}

UINT WINAPI GetACP() {
    return w32::kAnsiCodePage;
}

UINT WINAPI GetOEMCP() {
    return w32::kOemCodePage;
}

BOOL WINAPI IsValidCodePage(UINT codePage) {
    return codePage == CP_UTF8 || (codePage > CP_THREAD_ACP && w32::TableFor(codePage) != nullptr);
}

BOOL WINAPI GetCPInfo(UINT codePage, LPCPINFO info) {
    const UINT page = w32::ResolveCodePage(codePage);
    if (info == nullptr || (page != CP_UTF8 && w32::TableFor(page) == nullptr)) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    *info = CPINFO{};
    info->MaxCharSize = page == CP_UTF8 ? 4 : 1;
    info->DefaultChar[0] = '?';
    return TRUE;
}

UINT WINAPI GetConsoleCP() {
    return w32::g_consoleInputCodePage.load();
}

UINT WINAPI GetConsoleOutputCP() {
    return w32::g_consoleOutputCodePage.load();
}

BOOL WINAPI SetConsoleCP(UINT codePage) {
    if (!IsValidCodePage(codePage)) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    w32::g_consoleInputCodePage = codePage;
    return TRUE;
}

BOOL WINAPI SetConsoleOutputCP(UINT codePage) {
    if (!IsValidCodePage(codePage)) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    w32::g_consoleOutputCodePage = codePage;
    return TRUE;
}
