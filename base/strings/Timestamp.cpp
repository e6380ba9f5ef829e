#include "base/strings/Timestamp.h"

#include <ctime>

namespace {

const uint64_t kIntervalsPerSecond = 10000000;
const uint32_t kLastSecond = 0xFFFFFFFFu;

uint64_t FromFILETIME(const FILETIME& fileTime) {
    return (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

// The first and last days the MS-DOS format can hold.
const uint16_t kFirstDosDate = (1 << 5) | 1;  // 1980-01-01
const uint16_t kFirstDosTime = 0;

}  // namespace

TTimestamp TTimestamp::Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FromFileTime(now);
}

TTimestamp TTimestamp::FromFileTime(uint64_t fileTime) {
    if (fileTime < FileTimeOffset)
        return TTimestamp(0, 0);
    uint64_t d = fileTime - FileTimeOffset;
    uint64_t seconds = d / kIntervalsPerSecond;
    if (seconds > kLastSecond)
        return TTimestamp(kLastSecond, static_cast<uint32_t>((kIntervalsPerSecond - 1) * 100));
    return TTimestamp(static_cast<uint32_t>(seconds), static_cast<uint32_t>(d % kIntervalsPerSecond) * 100);
}

TTimestamp TTimestamp::FromFileTime(const FILETIME& fileTime) {
    return FromFileTime(FromFILETIME(fileTime));
}

uint64_t TTimestamp::ToFileTime() const {
    return nanoseconds / 100 + seconds * kIntervalsPerSecond + FileTimeOffset;
}

FILETIME TTimestamp::ToFILETIME() const {
    uint64_t value = ToFileTime();
    FILETIME fileTime;
    fileTime.dwLowDateTime = static_cast<DWORD>(value);
    fileTime.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return fileTime;
}

void TTimestamp::ToLocalDateTime(TLocalDateTime& out) const {
    FILETIME utc = ToFILETIME();
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) {
        // Not expected for any time in range; fall back to the epoch (a Thursday).
        out = TLocalDateTime{1970, 1, 1, 0, 0, 0, static_cast<int32_t>(nanoseconds), 4};
        return;
    }
    out.year = st.wYear;
    out.month = st.wMonth;
    out.day = st.wDay;
    out.hour = st.wHour;
    out.minute = st.wMinute;
    out.second = st.wSecond;
    out.nanoseconds = static_cast<int32_t>(nanoseconds);
    out.dayOfWeek = st.wDayOfWeek;
}

TTimestamp TTimestamp::FromLocalDateTime(const TLocalDateTime& local) {
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(local.year);
    st.wMonth = static_cast<WORD>(local.month);
    st.wDayOfWeek = 0;
    st.wDay = static_cast<WORD>(local.day);
    st.wHour = static_cast<WORD>(local.hour);
    st.wMinute = static_cast<WORD>(local.minute);
    st.wSecond = static_cast<WORD>(local.second);
    st.wMilliseconds = 0;
    FILETIME localTime;
    FILETIME utc;
    if (local.year < 1601 || local.year > 30827 || !SystemTimeToFileTime(&st, &localTime) ||
        !LocalFileTimeToFileTime(&localTime, &utc))
        return TTimestamp(0, 0);
    TTimestamp result = FromFileTime(utc);
    int32_t ns = local.nanoseconds;
    result.nanoseconds = ns < 0 ? 0 : ns > 999999999 ? 999999999 : static_cast<uint32_t>(ns);
    return result;
}

TTimestamp TTimestamp::FromDosDateTime(uint16_t date, uint16_t time) {
    // DOS times are local; the C runtime decides daylight saving for that date.
    struct tm broken = {};
    broken.tm_sec = (time & 0x1F) * 2;
    broken.tm_min = (time >> 5) & 0x3F;
    broken.tm_hour = time >> 11;
    broken.tm_mday = date & 0x1F;
    broken.tm_mon = ((date >> 5) & 0x0F) - 1;
    broken.tm_year = (date >> 9) + 80;
    broken.tm_isdst = -1;
    time_t t = mktime(&broken);
    if (t < 0)
        t = 0;  // rejected by the runtime (or before 1970 in a zone east of UTC)
    if (static_cast<uint64_t>(t) > kLastSecond)
        t = static_cast<time_t>(kLastSecond);
    return TTimestamp(static_cast<uint32_t>(t), 0);
}

void TTimestamp::ToDosDateTime(uint16_t& date, uint16_t& time) const {
    time_t t = static_cast<time_t>(seconds);
    const struct tm* broken = localtime(&t);
    // Before 1980 the format has no room: such times are stored as its first day.
    if (broken == nullptr || broken->tm_year < 80) {
        date = kFirstDosDate;
        time = kFirstDosTime;
        return;
    }
    date = static_cast<uint16_t>(broken->tm_mday | ((broken->tm_mon + 1) << 5) | ((broken->tm_year - 80) << 9));
    time = static_cast<uint16_t>((broken->tm_sec / 2) | (broken->tm_min << 5) | (broken->tm_hour << 11));
}

TTimestamp TTimestamp::FromDosDateTime(const unsigned char* date, const unsigned char* time) {
    return FromDosDateTime(static_cast<uint16_t>(date[0] | (date[1] << 8)),
                           static_cast<uint16_t>(time[0] | (time[1] << 8)));
}

void TTimestamp::ToDosDateTime(unsigned char* date, unsigned char* time) const {
    uint16_t d;
    uint16_t t;
    ToDosDateTime(d, t);
    date[0] = static_cast<unsigned char>(d);
    date[1] = static_cast<unsigned char>(d >> 8);
    time[0] = static_cast<unsigned char>(t);
    time[1] = static_cast<unsigned char>(t >> 8);
}

Estring TTimestamp::Format() const {
    TLocalDateTime local;
    ToLocalDateTime(local);
    Estring text;
    text.Format("%04d-%02d-%02d %2d:%02d:%02d", local.year, local.month, local.day, local.hour, local.minute,
                local.second);
    if (nanoseconds != 0) {
        Estring fraction;
        fraction.Format(".%09u", nanoseconds);
        text += fraction;
        // The fraction is not 0, so this never reaches its point.
        int end = text.Length();
        while (text.Data()[end - 1] == '0')
            --end;
        text = text.Left(end);
    }
    return text;
}
