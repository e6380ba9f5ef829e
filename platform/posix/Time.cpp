// Clock, file times and their conversions. File times are worked out with
// calendar arithmetic over the whole range Windows accepts (1601 to 30827);
// only the local time offset comes from the C library, so TZ rules apply.
#include "platform/posix/HandleObject.h"

#include <ctime>

namespace w32 {

namespace {

constexpr ULONGLONG kTicksPerSecond = 10000000ULL;
constexpr ULONGLONG kTicksPerDay = kTicksPerSecond * 86400ULL;
// File time of 1970-01-01 00:00:00 UTC.
constexpr ULONGLONG kUnixEpochTicks = 116444736000000000ULL;
// Days from 1601-01-01 to 1970-01-01.
constexpr LONGLONG kDaysTo1970 = 134774;
// Windows refuses file times with the top bit set.
constexpr ULONGLONG kMaxFileTime = 0x7FFFFFFFFFFFFFFFULL;

ULONGLONG ToTicks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void FromTicks(ULONGLONG ticks, FILETIME& time) {
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
}

bool IsLeapYear(LONGLONG year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(LONGLONG year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
LONGLONG DaysFromCivil(LONGLONG year, unsigned month, unsigned day) {
    year -= month <= 2;
    const LONGLONG era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<LONGLONG>(dayOfEra) - 719468;
}

void CivilFromDays(LONGLONG days, LONGLONG& year, unsigned& month, unsigned& day) {
    days += 719468;
    const LONGLONG era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<LONGLONG>(yearOfEra) + era * 400 + (month <= 2);
}

// The local time offset in seconds east of UTC at a moment given in UTC seconds.
LONGLONG LocalOffsetAt(LONGLONG unixSeconds) {
    time_t moment = static_cast<time_t>(unixSeconds);
    struct tm local;
    if (localtime_r(&moment, &local) == nullptr) {
        return 0;
    }
    return local.tm_gmtoff;
}

LONGLONG UnixSecondsOf(ULONGLONG ticks) {
    return static_cast<LONGLONG>(ticks / kTicksPerSecond) - static_cast<LONGLONG>(kUnixEpochTicks / kTicksPerSecond);
}

ULONGLONG NowTicks() {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return kUnixEpochTicks + static_cast<ULONGLONG>(now.tv_sec) * kTicksPerSecond +
           static_cast<ULONGLONG>(now.tv_nsec) / 100;
}

ULONGLONG MonotonicNanoseconds() {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<ULONGLONG>(now.tv_sec) * 1000000000ULL + static_cast<ULONGLONG>(now.tv_nsec);
}

// Shifts a file time by a number of seconds; false when it leaves the range.
bool ShiftTicks(ULONGLONG ticks, LONGLONG seconds, ULONGLONG& result) {
    const LONGLONG delta = seconds * static_cast<LONGLONG>(kTicksPerSecond);
    if (delta < 0 && ticks < static_cast<ULONGLONG>(-delta)) {
        return false;
    }
    result = ticks + static_cast<ULONGLONG>(delta);
    return result <= kMaxFileTime;
}

// Moves a file time by the number of seconds `offsetFor` gives for it (in
// seconds since 1970); fails with ERROR_INVALID_PARAMETER outside the range.
template <class Offset>
BOOL ShiftFileTime(const FILETIME* from, LPFILETIME to, Offset offsetFor) {
    if (from == nullptr || to == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const ULONGLONG ticks = ToTicks(*from);
    ULONGLONG shifted;
    if (!ShiftTicks(ticks, offsetFor(UnixSecondsOf(ticks)), shifted)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    FromTicks(shifted, *to);
    return TRUE;
}

}  // namespace

}  // namespace w32

void WINAPI GetSystemTimeAsFileTime(LPFILETIME fileTime) {
    w32::FromTicks(w32::NowTicks(), *fileTime);
}

void WINAPI GetSystemTime(LPSYSTEMTIME systemTime) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    FileTimeToSystemTime(&now, systemTime);
}

void WINAPI GetLocalTime(LPSYSTEMTIME systemTime) {
    FILETIME now;
    FILETIME local;
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &local);
    FileTimeToSystemTime(&local, systemTime);
}

// The offset is the one in force at the given moment (daylight saving time
// included), so old file times show the clock time they were made at.
BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
    return w32::ShiftFileTime(fileTime, localFileTime,
                              [](LONGLONG utcSeconds) { return w32::LocalOffsetAt(utcSeconds); });
}

BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
    return w32::ShiftFileTime(localFileTime, fileTime, [](LONGLONG localSeconds) {
        // The offset depends on the UTC moment being sought: guess it from the
        // local clock time, then take the offset in force at that guess.
        const LONGLONG guess = w32::LocalOffsetAt(localSeconds);
        return -w32::LocalOffsetAt(localSeconds - guess);
    });
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
    if (fileTime == nullptr || systemTime == nullptr) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    const ULONGLONG ticks = w32::ToTicks(*fileTime);
    if (ticks > w32::kMaxFileTime) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    const LONGLONG daysSince1601 = static_cast<LONGLONG>(ticks / w32::kTicksPerDay);
    ULONGLONG rest = ticks % w32::kTicksPerDay;
    LONGLONG year;
    unsigned month;
    unsigned day;
    w32::CivilFromDays(daysSince1601 - w32::kDaysTo1970, year, month, day);
    systemTime->wYear = static_cast<WORD>(year);
    systemTime->wMonth = static_cast<WORD>(month);
    systemTime->wDay = static_cast<WORD>(day);
    // 1601-01-01 was a Monday; Sunday is 0.
    systemTime->wDayOfWeek = static_cast<WORD>((daysSince1601 + 1) % 7);
    systemTime->wHour = static_cast<WORD>(rest / (w32::kTicksPerSecond * 3600));
    rest %= w32::kTicksPerSecond * 3600;
    systemTime->wMinute = static_cast<WORD>(rest / (w32::kTicksPerSecond * 60));
    rest %= w32::kTicksPerSecond * 60;
    systemTime->wSecond = static_cast<WORD>(rest / w32::kTicksPerSecond);
    rest %= w32::kTicksPerSecond;
    systemTime->wMilliseconds = static_cast<WORD>(rest / 10000);
    return TRUE;
}

// The day of the week is ignored, as Windows does; every other field must be in range.
BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
    if (systemTime == nullptr || fileTime == nullptr) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    const SYSTEMTIME& t = *systemTime;
    if (t.wYear < 1601 || t.wYear > 30827 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
        t.wDay > w32::DaysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 ||
        t.wMilliseconds > 999) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    const LONGLONG days = w32::DaysFromCivil(t.wYear, t.wMonth, t.wDay) + w32::kDaysTo1970;
    const ULONGLONG seconds =
        static_cast<ULONGLONG>(days) * 86400ULL + t.wHour * 3600ULL + t.wMinute * 60ULL + t.wSecond;
    w32::FromTicks(seconds * w32::kTicksPerSecond + t.wMilliseconds * 10000ULL, *fileTime);
    return TRUE;
}

LONG WINAPI CompareFileTime(const FILETIME* a, const FILETIME* b) {
    const ULONGLONG x = w32::ToTicks(*a);
    const ULONGLONG y = w32::ToTicks(*b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

DWORD WINAPI GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

ULONGLONG WINAPI GetTickCount64() {
    return w32::MonotonicNanoseconds() / 1000000ULL;
}

// The counter runs at 10 MHz, the rate Windows reports on current systems, so
// callers that scale it by large factors stay clear of overflow.
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    count->QuadPart = static_cast<LONGLONG>(w32::MonotonicNanoseconds() / 100);
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = static_cast<LONGLONG>(w32::kTicksPerSecond);
    return TRUE;
}
