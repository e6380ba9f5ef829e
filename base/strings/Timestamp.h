// TTimestamp: the system's point in time, and its conversions.
//
// Always UTC: nanoseconds and the seconds since 1970-01-01 00:00:00 UTC
// (unsigned 32 bits, so the range ends in 2106). The last-write time of every
// directory entry, the times archives store and the timestamps of scripts are
// TTimestamps. Local time appears only at the edges: the broken-down
// TLocalDateTime, the MS-DOS date and time of archives, and the text form.
#pragma once

#include <cstdint>

#include "base/strings/Estring.h"
#include "platform/win32.h"

// Broken-down local time.
struct TLocalDateTime {
    int32_t year;
    int32_t month;  // 1-12
    int32_t day;    // 1-31
    int32_t hour;
    int32_t minute;
    int32_t second;
    int32_t nanoseconds;
    int32_t dayOfWeek;  // 0 = Sunday
};

struct TTimestamp {
    // 100-nanosecond intervals from 1601-01-01 (the Windows file time epoch)
    // to 1970-01-01.
    static constexpr uint64_t FileTimeOffset = 116444736000000000ULL;

    uint32_t nanoseconds;  // 0 to 999,999,999
    uint32_t seconds;      // since 1970-01-01 UTC

    TTimestamp() : nanoseconds(0), seconds(0) {}
    TTimestamp(uint32_t seconds, uint32_t nanoseconds) : nanoseconds(nanoseconds), seconds(seconds) {}

    // The current time (UTC, like every TTimestamp).
    static TTimestamp Now();

    // Windows file times before 1970 give the first representable time and
    // those after the range of the seconds the last one.
    static TTimestamp FromFileTime(uint64_t fileTime);
    static TTimestamp FromFileTime(const FILETIME& fileTime);
    uint64_t ToFileTime() const;
    FILETIME ToFILETIME() const;

    // Local calendar fields; the nanoseconds are carried unchanged. A record
    // the system cannot convert gives the time 0.
    void ToLocalDateTime(TLocalDateTime& out) const;
    static TTimestamp FromLocalDateTime(const TLocalDateTime& local);

    // MS-DOS date and time (local time): date = day | month << 5 | (year - 1980)
    // << 9, time = seconds / 2 | minutes << 5 | hours << 11. Times outside the
    // years 1980 to 2107 that the format holds are clamped to its ends.
    static TTimestamp FromDosDateTime(uint16_t date, uint16_t time);
    void ToDosDateTime(uint16_t& date, uint16_t& time) const;
    // The same with each value as two bytes, low byte first, as archives store them.
    static TTimestamp FromDosDateTime(const unsigned char* date, const unsigned char* time);
    void ToDosDateTime(unsigned char* date, unsigned char* time) const;

    // Local time as "YYYY-MM-DD hh:mm:ss" (the hour padded with a blank), then
    // the fraction of a second without trailing zeros when there is one.
    Estring Format() const;

    bool operator==(const TTimestamp& other) const {
        return seconds == other.seconds && nanoseconds == other.nanoseconds;
    }
    bool operator!=(const TTimestamp& other) const { return !(*this == other); }
};
