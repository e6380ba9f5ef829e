// The locale the layer reports: US English for every locale identifier, with
// its date pictures, names and separators, the case mapping of 8-bit text in
// the ANSI code page, and the US keyboard layout.
#include "platform/posix/HandleObject.h"
#include "platform/posix/TextBuffers.h"
#include "platform/posix/Utf.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace w32 {

namespace {

constexpr LCID kUsEnglish = 0x0409;

struct LocaleItem {
    LCTYPE type;
    const char* value;
};

const LocaleItem kLocaleItems[] = {
    {LOCALE_ILANGUAGE, "0409"},
    {LOCALE_SLANGUAGE, "English (United States)"},
    {LOCALE_SENGLANGUAGE, "English"},
    {LOCALE_SABBREVLANGNAME, "ENU"},
    {LOCALE_SNATIVELANGNAME, "English"},
    {LOCALE_ICOUNTRY, "1"},
    {LOCALE_SCOUNTRY, "United States"},
    {LOCALE_SENGCOUNTRY, "United States"},
    {LOCALE_SABBREVCTRYNAME, "USA"},
    {LOCALE_SNATIVECTRYNAME, "United States"},
    {LOCALE_IDEFAULTLANGUAGE, "0409"},
    {LOCALE_IDEFAULTCOUNTRY, "1"},
    {LOCALE_IDEFAULTCODEPAGE, "437"},
    {LOCALE_IDEFAULTANSICODEPAGE, "1252"},
    {LOCALE_IDEFAULTMACCODEPAGE, "10000"},
    {LOCALE_SLIST, ","},
    {LOCALE_IMEASURE, "1"},
    {LOCALE_SDECIMAL, "."},
    {LOCALE_STHOUSAND, ","},
    {LOCALE_SGROUPING, "3;0"},
    {LOCALE_IDIGITS, "2"},
    {LOCALE_ILZERO, "1"},
    {LOCALE_INEGNUMBER, "1"},
    {LOCALE_SNATIVEDIGITS, "0123456789"},
    {LOCALE_SCURRENCY, "$"},
    {LOCALE_SINTLSYMBOL, "USD"},
    {LOCALE_SMONDECIMALSEP, "."},
    {LOCALE_SMONTHOUSANDSEP, ","},
    {LOCALE_SMONGROUPING, "3;0"},
    {LOCALE_ICURRDIGITS, "2"},
    {LOCALE_IINTLCURRDIGITS, "2"},
    {LOCALE_ICURRENCY, "0"},
    {LOCALE_INEGCURR, "0"},
    {LOCALE_SDATE, "/"},
    {LOCALE_STIME, ":"},
    {LOCALE_SSHORTDATE, "M/d/yyyy"},
    {LOCALE_SLONGDATE, "dddd, MMMM d, yyyy"},
    {LOCALE_STIMEFORMAT, "h:mm:ss tt"},
    {LOCALE_SSHORTTIME, "h:mm tt"},
    {LOCALE_IDATE, "0"},
    {LOCALE_ILDATE, "0"},
    {LOCALE_ITIME, "0"},
    {LOCALE_ITIMEMARKPOSN, "0"},
    {LOCALE_ICENTURY, "1"},
    {LOCALE_ITLZERO, "0"},
    {LOCALE_IDAYLZERO, "0"},
    {LOCALE_IMONLZERO, "0"},
    {LOCALE_S1159, "AM"},
    {LOCALE_S2359, "PM"},
    {LOCALE_ICALENDARTYPE, "1"},
    {LOCALE_IFIRSTDAYOFWEEK, "6"},
    {LOCALE_IFIRSTWEEKOFYEAR, "0"},
    {LOCALE_SDAYNAME1, "Monday"},
    {LOCALE_SDAYNAME2, "Tuesday"},
    {LOCALE_SDAYNAME3, "Wednesday"},
    {LOCALE_SDAYNAME4, "Thursday"},
    {LOCALE_SDAYNAME5, "Friday"},
    {LOCALE_SDAYNAME6, "Saturday"},
    {LOCALE_SDAYNAME7, "Sunday"},
    {LOCALE_SABBREVDAYNAME1, "Mon"},
    {LOCALE_SABBREVDAYNAME2, "Tue"},
    {LOCALE_SABBREVDAYNAME3, "Wed"},
    {LOCALE_SABBREVDAYNAME4, "Thu"},
    {LOCALE_SABBREVDAYNAME5, "Fri"},
    {LOCALE_SABBREVDAYNAME6, "Sat"},
    {LOCALE_SABBREVDAYNAME7, "Sun"},
    {LOCALE_SMONTHNAME1, "January"},
    {LOCALE_SMONTHNAME2, "February"},
    {LOCALE_SMONTHNAME3, "March"},
    {LOCALE_SMONTHNAME4, "April"},
    {LOCALE_SMONTHNAME5, "May"},
    {LOCALE_SMONTHNAME6, "June"},
    {LOCALE_SMONTHNAME7, "July"},
    {LOCALE_SMONTHNAME8, "August"},
    {LOCALE_SMONTHNAME9, "September"},
    {LOCALE_SMONTHNAME10, "October"},
    {LOCALE_SMONTHNAME11, "November"},
    {LOCALE_SMONTHNAME12, "December"},
    {LOCALE_SABBREVMONTHNAME1, "Jan"},
    {LOCALE_SABBREVMONTHNAME2, "Feb"},
    {LOCALE_SABBREVMONTHNAME3, "Mar"},
    {LOCALE_SABBREVMONTHNAME4, "Apr"},
    {LOCALE_SABBREVMONTHNAME5, "May"},
    {LOCALE_SABBREVMONTHNAME6, "Jun"},
    {LOCALE_SABBREVMONTHNAME7, "Jul"},
    {LOCALE_SABBREVMONTHNAME8, "Aug"},
    {LOCALE_SABBREVMONTHNAME9, "Sep"},
    {LOCALE_SABBREVMONTHNAME10, "Oct"},
    {LOCALE_SABBREVMONTHNAME11, "Nov"},
    {LOCALE_SABBREVMONTHNAME12, "Dec"},
    {LOCALE_SPOSITIVESIGN, ""},
    {LOCALE_SNEGATIVESIGN, "-"},
    {LOCALE_SISO639LANGNAME, "en"},
    {LOCALE_SISO3166CTRYNAME, "US"},
    {LOCALE_SNAME, "en-US"},
};

const char* LocaleValue(LCTYPE type) {
    const LCTYPE plain = type & ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER);
    for (const LocaleItem& item : kLocaleItems) {
        if (item.type == plain) {
            return item.value;
        }
    }
    return nullptr;
}

// One locale answer in the caller's character type; the count includes the
// terminator. LOCALE_RETURN_NUMBER answers a numeric item as a DWORD.
template <class Char>
int AnswerLocaleItem(LCTYPE type, Char* data, int dataLength) {
    const char* value = LocaleValue(type);
    if (value == nullptr) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    std::basic_string<Char> text;
    if ((type & LOCALE_RETURN_NUMBER) != 0) {
        char* end = nullptr;
        const DWORD number = static_cast<DWORD>(std::strtoul(value, &end, 10));
        if (*value == 0 || *end != 0) {
            SetLastError(ERROR_INVALID_FLAGS);
            return 0;
        }
        text.assign(reinterpret_cast<const Char*>(&number), sizeof(DWORD) / sizeof(Char));
    } else {
        for (const char* p = value; *p != 0; ++p) {
            text.push_back(static_cast<Char>(*p));
        }
        text.push_back(0);
    }
    return DeliverCounted(text, data, dataLength);
}

// Simple (one to one) case mapping of the letters that single-byte code pages
// hold: Latin-1, Latin Extended-A, Greek and Cyrillic.
char16_t ToUpperUnit(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F)) {
        return static_cast<char16_t>(c - 32);
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<char16_t>(c - 80);
    }
    if ((c >= 0x100 && c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177) || (c >= 0x490 && c <= 0x4BF)) {
        return (c & 1) ? static_cast<char16_t>(c - 1) : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) ? c : static_cast<char16_t>(c - 1);
    }
    struct Pair {
        char16_t lower;
        char16_t upper;
    };
    static const Pair pairs[] = {
        {0xFF, 0x178},  {0x131, u'I'},  {0x17F, u'S'},  {0x3C2, 0x3A3}, {0x3AC, 0x386}, {0x3AD, 0x388}, {0x3AE, 0x389},
        {0x3AF, 0x38A}, {0x3CC, 0x38C}, {0x3CD, 0x38E}, {0x3CE, 0x38F}, {0x192, 0x191}, {0xB5, 0x39C},
    };
    for (const Pair& pair : pairs) {
        if (pair.lower == c) {
            return pair.upper;
        }
    }
    return c;
}

// The reverse of ToUpperUnit, leaving out the one-way mappings (dotless i,
// long s, final sigma, micro sign), whose capitals have a letter of their own.
char16_t ToLowerUnit(char16_t c) {
    static const std::vector<char16_t>* lower = [] {
        auto* table = new std::vector<char16_t>(0x500);
        for (char16_t u = 0; u < 0x500; ++u) {
            (*table)[u] = u;
        }
        for (char16_t l = 0x4FF; l > 0; --l) {
            const char16_t u = ToUpperUnit(l);
            if (u != l && l != 0x131 && l != 0x17F && l != 0x3C2 && l != 0xB5) {
                (*table)[u] = l;
            }
        }
        return table;
    }();
    return c < 0x500 ? (*lower)[c] : c;
}

struct DateParts {
    int year;
    int month;
    int day;
    int dayOfWeek;  // 0 = Sunday
};

void AppendNumber(std::string& out, int value, int minDigits) {
    char digits[16];
    std::snprintf(digits, sizeof(digits), "%0*d", minDigits, value);
    out += digits;
}

// Expands a date picture: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg, and
// quoted literal text where two quotes stand for one.
std::string ExpandDatePicture(const std::string& picture, const DateParts& date) {
    std::string out;
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) {
            ++run;
        }
        if (c == 'd') {
            if (run <= 2) {
                AppendNumber(out, date.day, static_cast<int>(run));
            } else {
                // Monday is the first day name; Sunday the seventh.
                const int index = (date.dayOfWeek + 6) % 7;
                out += LocaleValue((run == 3 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + index);
            }
        } else if (c == 'M') {
            if (run <= 2) {
                AppendNumber(out, date.month, static_cast<int>(run));
            } else {
                out += LocaleValue((run == 3 ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1) + date.month - 1);
            }
        } else if (c == 'y') {
            if (run <= 2) {
                AppendNumber(out, date.year % 100, static_cast<int>(run));
            } else {
                AppendNumber(out, date.year, 4);
            }
        } else if (c == 'g') {
            out += "A.D.";
        } else {
            out.append(run, c);
        }
        i += run;
    }
    return out;
}

// The date text for GetDateFormatA/W, or false with the last error set.
bool FormatDate(DWORD flags, const SYSTEMTIME* date, const char* picture, std::string& out) {
    const DWORD kinds = DATE_SHORTDATE | DATE_LONGDATE | DATE_YEARMONTH;
    const DWORD kind = flags & kinds;
    if ((picture != nullptr && kind != 0) || (kind != 0 && (kind & (kind - 1)) != 0)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return false;
    }
    SYSTEMTIME when;
    if (date != nullptr) {
        when = *date;
    } else {
        GetLocalTime(&when);
    }
    // Validates the date and yields its day of the week.
    when.wHour = when.wMinute = when.wSecond = when.wMilliseconds = 0;
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&when, &fileTime) || !FileTimeToSystemTime(&fileTime, &when)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (picture == nullptr) {
        picture = LocaleValue(kind == DATE_LONGDATE ? LOCALE_SLONGDATE : LOCALE_SSHORTDATE);
        if (kind == DATE_YEARMONTH) {
            picture = "MMMM yyyy";
        }
    }
    out = ExpandDatePicture(picture, DateParts{when.wYear, when.wMonth, when.wDay, when.wDayOfWeek});
    return true;
}

}  // namespace

}  // namespace w32

int WINAPI GetLocaleInfoA(LCID, LCTYPE type, LPSTR data, int dataLength) {
    return w32::AnswerLocaleItem(type, data, dataLength);
}

int WINAPI GetLocaleInfoW(LCID, LCTYPE type, LPWSTR data, int dataLength) {
    return w32::AnswerLocaleItem(type, data, dataLength);
}

// Maps each byte through its character in the ANSI code page; a letter whose
// other case the page lacks stays as it is.
int WINAPI LCMapStringA(LCID, DWORD flags, LPCSTR src, int srcLength, LPSTR dst, int dstLength) {
    const DWORD caseFlags = flags & (LCMAP_UPPERCASE | LCMAP_LOWERCASE);
    if (caseFlags != LCMAP_UPPERCASE && caseFlags != LCMAP_LOWERCASE) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    if (src == nullptr || srcLength == 0 || srcLength < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t length = srcLength >= 0 ? static_cast<size_t>(srcLength) : std::char_traits<char>::length(src) + 1;
    std::string out(src, length);
    for (char& byte : out) {
        WCHAR unit;
        if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &unit, 1) != 1) {
            continue;
        }
        const WCHAR mapped = caseFlags == LCMAP_UPPERCASE ? w32::ToUpperUnit(unit) : w32::ToLowerUnit(unit);
        char back;
        BOOL usedDefault = FALSE;
        if (mapped != unit && WideCharToMultiByte(CP_ACP, 0, &mapped, 1, &back, 1, nullptr, &usedDefault) == 1 &&
            !usedDefault) {
            byte = back;
        }
    }
    return w32::DeliverCounted(out, dst, dstLength);
}

int WINAPI GetDateFormatA(LCID, DWORD flags, const SYSTEMTIME* date, LPCSTR format, LPSTR data, int dataLength) {
    std::string text;
    if (!w32::FormatDate(flags, date, format, text)) {
        return 0;
    }
    text.push_back(0);
    return w32::DeliverCounted(text, data, dataLength);
}

int WINAPI GetDateFormatW(LCID, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR data, int dataLength) {
    std::string picture = w32::ToUtf8(format);
    std::string text;
    if (!w32::FormatDate(flags, date, format != nullptr ? picture.c_str() : nullptr, text)) {
        return 0;
    }
    std::u16string wide = w32::ToUtf16(text);
    wide.push_back(0);
    return w32::DeliverCounted(wide, data, dataLength);
}

LCID WINAPI GetUserDefaultLCID() {
    return w32::kUsEnglish;
}

LCID WINAPI GetSystemDefaultLCID() {
    return w32::kUsEnglish;
}

LCID WINAPI GetThreadLocale() {
    return w32::kUsEnglish;
}

LANGID WINAPI GetUserDefaultLangID() {
    return static_cast<LANGID>(w32::kUsEnglish);
}

LANGID WINAPI GetSystemDefaultLangID() {
    return static_cast<LANGID>(w32::kUsEnglish);
}

BOOL WINAPI GetKeyboardLayoutNameA(LPSTR name) {
    if (name == nullptr) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    std::snprintf(name, KL_NAMELENGTH, "%08X", static_cast<unsigned>(w32::kUsEnglish));
    return TRUE;
}

BOOL WINAPI GetKeyboardLayoutNameW(LPWSTR name) {
    char narrow[KL_NAMELENGTH];
    if (!GetKeyboardLayoutNameA(narrow)) {
        return FALSE;
    }
    for (int i = 0; i < KL_NAMELENGTH; ++i) {
        name[i] = static_cast<WCHAR>(narrow[i]);
    }
    return TRUE;
}
