// Time conversions. Local time is checked with TZ=UTC, as the tests run.
#include "platform/win32.h"
#include "RunningUnderWine.h"

#include <gtest/gtest.h>

namespace {

ULONGLONG Ticks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour, int minute, int second, int ms) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}

struct TimeCase {
    int year, month, day, hour, minute, second, ms;
    int dayOfWeek;
    ULONGLONG ticks;
};

const TimeCase kTimeCases[] = {
    {1601, 1, 1, 0, 0, 0, 0, 1, 0ULL},
    {1970, 1, 1, 0, 0, 0, 0, 4, 116444736000000000ULL},
    {2000, 2, 29, 12, 34, 56, 789, 2, 125963012967890000ULL},
    {2025, 3, 1, 12, 30, 10, 0, 6, 133853058100000000ULL},
    {2038, 1, 19, 3, 14, 8, 0, 2, 137919572480000000ULL},
    {9999, 12, 31, 23, 59, 59, 999, 5, 2650467743999990000ULL},
};

TEST(FileTime, RoundTripsThroughSystemTime) {
    for (const TimeCase& c : kTimeCases) {
        SCOPED_TRACE(c.year);
        SYSTEMTIME in = MakeSystemTime(c.year, c.month, c.day, c.hour, c.minute, c.second, c.ms);
        in.wDayOfWeek = 3;  // ignored on the way in
        FILETIME fileTime;
        ASSERT_TRUE(SystemTimeToFileTime(&in, &fileTime));
        EXPECT_EQ(Ticks(fileTime), c.ticks);
        SYSTEMTIME out = {};
        ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &out));
        EXPECT_EQ(out.wYear, c.year);
        EXPECT_EQ(out.wMonth, c.month);
        EXPECT_EQ(out.wDay, c.day);
        EXPECT_EQ(out.wHour, c.hour);
        EXPECT_EQ(out.wMinute, c.minute);
        EXPECT_EQ(out.wSecond, c.second);
        EXPECT_EQ(out.wMilliseconds, c.ms);
        EXPECT_EQ(out.wDayOfWeek, c.dayOfWeek);
    }
}

TEST(FileTime, SubMillisecondTicksAreDroppedBySystemTime) {
    const FILETIME fileTime = FromTicks(116444736000000000ULL + 15);
    SYSTEMTIME out = {};
    ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &out));
    EXPECT_EQ(out.wYear, 1970);
    EXPECT_EQ(out.wSecond, 0);
    EXPECT_EQ(out.wMilliseconds, 0);
}

TEST(FileTime, InvalidSystemTimesAreRefused) {
    const SYSTEMTIME invalid[] = {
        MakeSystemTime(2024, 13, 1, 0, 0, 0, 0),  MakeSystemTime(2024, 0, 1, 0, 0, 0, 0),
        MakeSystemTime(2024, 1, 0, 0, 0, 0, 0),   MakeSystemTime(2023, 2, 29, 0, 0, 0, 0),
        MakeSystemTime(2024, 2, 30, 0, 0, 0, 0),  MakeSystemTime(2024, 4, 31, 0, 0, 0, 0),
        MakeSystemTime(2024, 1, 1, 24, 0, 0, 0),  MakeSystemTime(2024, 1, 1, 0, 60, 0, 0),
        MakeSystemTime(2024, 1, 1, 0, 0, 60, 0),  MakeSystemTime(2024, 1, 1, 0, 0, 0, 1000),
        MakeSystemTime(1600, 12, 31, 0, 0, 0, 0), MakeSystemTime(1900, 2, 29, 0, 0, 0, 0),
    };
    for (const SYSTEMTIME& t : invalid) {
        if (t.wMonth == 2 && t.wDay == 29 && qvtest::RunningUnderWine()) {
            continue;  // wine takes any February as 29 days long
        }
        SCOPED_TRACE(testing::Message() << t.wYear << "-" << t.wMonth << "-" << t.wDay << " " << t.wHour << ":"
                                        << t.wMinute << ":" << t.wSecond << "." << t.wMilliseconds);
        FILETIME fileTime = FromTicks(12345);
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&t, &fileTime));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    const FILETIME tooLate = FromTicks(0x8000000000000000ULL);
    SYSTEMTIME out;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &out));
}

TEST(FileTime, LocalTimeIsUtcUnderTzUtc) {
    for (const TimeCase& c : kTimeCases) {
        if (c.ticks < 10000000ULL * 86400 * 2) {
            continue;  // keep clear of the start of the range
        }
        const FILETIME utc = FromTicks(c.ticks);
        FILETIME local;
        FILETIME back;
        ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
        EXPECT_EQ(Ticks(local), c.ticks);
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
        EXPECT_EQ(Ticks(back), c.ticks);
    }
}

TEST(Clock, SystemTimeAndLocalTimeAgree) {
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    SYSTEMTIME systemNow;
    SYSTEMTIME localNow;
    GetSystemTime(&systemNow);
    GetLocalTime(&localNow);
    FILETIME after;
    GetSystemTimeAsFileTime(&after);
    FILETIME fromSystem;
    FILETIME fromLocal;
    ASSERT_TRUE(SystemTimeToFileTime(&systemNow, &fromSystem));
    ASSERT_TRUE(SystemTimeToFileTime(&localNow, &fromLocal));
    // Milliseconds are cut, so allow for that below the first reading.
    EXPECT_GE(Ticks(fromSystem) + 10000, Ticks(before));
    EXPECT_LE(Ticks(fromSystem), Ticks(after));
    EXPECT_GE(Ticks(fromLocal) + 10000, Ticks(before));
    EXPECT_LE(Ticks(fromLocal), Ticks(after) + 10000);
    EXPECT_GE(systemNow.wYear, 2024);
}

TEST(Clock, CountersMoveForward) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER first;
    LARGE_INTEGER second;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_GT(frequency.QuadPart, 0);
    const ULONGLONG ticksBefore = GetTickCount64();
    ASSERT_TRUE(QueryPerformanceCounter(&first));
    Sleep(5);
    ASSERT_TRUE(QueryPerformanceCounter(&second));
    EXPECT_GT(second.QuadPart, first.QuadPart);
    EXPECT_GE(GetTickCount64(), ticksBefore);
}

}  // namespace
