#include "base/strings/Timestamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

const uint64_t kOffset = 116444736000000000ULL;

TEST(TTimestamp, FileTimeConversions) {
    struct {
        uint64_t fileTime;
        uint32_t seconds;
        uint32_t nanoseconds;
    } cases[] = {
        {kOffset, 0, 0},
        {kOffset + 15, 0, 1500},
        {kOffset + 86400ULL * 10000000 + 1, 86400, 100},
        {kOffset + 0xFFFFFFFFULL * 10000000 + 9999999, 0xFFFFFFFFu, 999999900},
    };
    for (const auto& c : cases) {
        TTimestamp t = TTimestamp::FromFileTime(c.fileTime);
        EXPECT_EQ(c.seconds, t.seconds) << c.fileTime;
        EXPECT_EQ(c.nanoseconds, t.nanoseconds) << c.fileTime;
        EXPECT_EQ(c.fileTime, t.ToFileTime()) << c.fileTime;
    }
    EXPECT_EQ(kOffset, TTimestamp(0, 0).ToFileTime());
    // Below 100 ns there is nothing to keep.
    EXPECT_EQ(kOffset + 50000001, TTimestamp(5, 199).ToFileTime());
}

TEST(TTimestamp, FileTimesOutsideTheRangeClampToItsEnds) {
    TTimestamp early = TTimestamp::FromFileTime(kOffset - 1);
    EXPECT_EQ(TTimestamp(0, 0), early);
    TTimestamp zero = TTimestamp::FromFileTime(0ULL);
    EXPECT_EQ(TTimestamp(0, 0), zero);
    TTimestamp late = TTimestamp::FromFileTime(kOffset + 0x100000000ULL * 10000000);
    EXPECT_EQ(0xFFFFFFFFu, late.seconds);
}

TEST(TTimestamp, FILETIMERecordHalves) {
    TTimestamp t(1700000000, 123456700);
    FILETIME ft = t.ToFILETIME();
    uint64_t joined = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    EXPECT_EQ(t.ToFileTime(), joined);
    EXPECT_EQ(t, TTimestamp::FromFileTime(ft));
}

TEST(TTimestamp, NowIsUtc) {
    // Compared with the C runtime's UTC clock, not with any local time.
    time_t before = time(nullptr);
    TTimestamp now = TTimestamp::Now();
    time_t after = time(nullptr);
    EXPECT_GE(static_cast<int64_t>(now.seconds), static_cast<int64_t>(before) - 1);
    EXPECT_LE(static_cast<int64_t>(now.seconds), static_cast<int64_t>(after) + 1);
}

TLocalDateTime Local(int year, int month, int day, int hour, int minute, int second, int nanoseconds) {
    TLocalDateTime local = {year, month, day, hour, minute, second, nanoseconds, 0};
    return local;
}

// The calendar fields of a timestamp's local time (nanoseconds and weekday apart).
void ExpectLocalFields(const TTimestamp& t, const TLocalDateTime& expected) {
    TLocalDateTime local;
    t.ToLocalDateTime(local);
    EXPECT_EQ(expected.year, local.year);
    EXPECT_EQ(expected.month, local.month);
    EXPECT_EQ(expected.day, local.day);
    EXPECT_EQ(expected.hour, local.hour);
    EXPECT_EQ(expected.minute, local.minute);
    EXPECT_EQ(expected.second, local.second);
}

TEST(TTimestamp, LocalDateTimeRoundTripKeepsFieldsAndNanoseconds) {
    TTimestamp t = TTimestamp::FromLocalDateTime(Local(2025, 3, 1, 12, 30, 10, 987654321));
    EXPECT_EQ(987654321u, t.nanoseconds);
    ExpectLocalFields(t, Local(2025, 3, 1, 12, 30, 10, 0));
    TLocalDateTime back;
    t.ToLocalDateTime(back);
    EXPECT_EQ(987654321, back.nanoseconds);
    EXPECT_EQ(6, back.dayOfWeek);  // a Saturday
}

TEST(TTimestamp, LocalDateTimeTheSystemRejectsGivesTimeZero) {
    EXPECT_EQ(TTimestamp(0, 0), TTimestamp::FromLocalDateTime(Local(2025, 13, 1, 0, 0, 0, 0)));
    EXPECT_EQ(TTimestamp(0, 0), TTimestamp::FromLocalDateTime(Local(-5, 1, 1, 0, 0, 0, 0)));
}

TEST(TTimestamp, FormatPadsTheHourWithABlankAndTrimsTheFraction) {
    struct {
        int nanoseconds;
        const char* text;
    } cases[] = {
        {0, "2025-03-01  9:05:03"},
        {500000000, "2025-03-01  9:05:03.5"},
        {123, "2025-03-01  9:05:03.000000123"},
        {120000000, "2025-03-01  9:05:03.12"},
        {999999999, "2025-03-01  9:05:03.999999999"},
    };
    for (const auto& c : cases) {
        TTimestamp t = TTimestamp::FromLocalDateTime(Local(2025, 3, 1, 9, 5, 3, c.nanoseconds));
        EXPECT_STREQ(c.text, t.Format().Data()) << c.nanoseconds;
    }
    TTimestamp evening = TTimestamp::FromLocalDateTime(Local(1999, 12, 31, 23, 59, 58, 0));
    EXPECT_STREQ("1999-12-31 23:59:58", evening.Format().Data());
}

TEST(TTimestamp, DosDateAndTime) {
    TTimestamp t = TTimestamp::FromDosDateTime(uint16_t(0x5A61), uint16_t(0x63C5));
    EXPECT_EQ(0u, t.nanoseconds);
    ExpectLocalFields(t, Local(2025, 3, 1, 12, 30, 10, 0));

    uint16_t date = 0;
    uint16_t time = 0;
    t.ToDosDateTime(date, time);
    EXPECT_EQ(0x5A61, date);
    EXPECT_EQ(0x63C5, time);

    // An odd second is halved: 12:30:11 is stored as 12:30:10.
    TTimestamp odd = TTimestamp::FromLocalDateTime(Local(2025, 3, 1, 12, 30, 11, 0));
    odd.ToDosDateTime(date, time);
    EXPECT_EQ(0x63C5, time);
    EXPECT_EQ(t, TTimestamp::FromDosDateTime(date, time));
}

TEST(TTimestamp, DosBytesAreLowByteFirst) {
    const unsigned char date[2] = {0x61, 0x5A};
    const unsigned char time[2] = {0xC5, 0x63};
    TTimestamp t = TTimestamp::FromDosDateTime(date, time);
    EXPECT_EQ(TTimestamp::FromDosDateTime(uint16_t(0x5A61), uint16_t(0x63C5)), t);
    unsigned char outDate[2] = {0, 0};
    unsigned char outTime[2] = {0, 0};
    t.ToDosDateTime(outDate, outTime);
    EXPECT_EQ(0x61, outDate[0]);
    EXPECT_EQ(0x5A, outDate[1]);
    EXPECT_EQ(0xC5, outTime[0]);
    EXPECT_EQ(0x63, outTime[1]);
}

TEST(TTimestamp, DosDatesBefore1980ClampToTheFirstDay) {
    const TTimestamp early[] = {
        TTimestamp(0, 0),
        TTimestamp::FromLocalDateTime(Local(1979, 12, 31, 23, 59, 59, 0)),
    };
    for (const TTimestamp& t : early) {
        uint16_t date = 0xFFFF;
        uint16_t time = 0xFFFF;
        t.ToDosDateTime(date, time);
        EXPECT_EQ((1 << 5) | 1, date) << t.seconds;  // 1980-01-01
        EXPECT_EQ(0, time) << t.seconds;
    }
    TTimestamp first = TTimestamp::FromLocalDateTime(Local(1980, 1, 1, 0, 0, 0, 0));
    uint16_t date = 0;
    uint16_t time = 0;
    first.ToDosDateTime(date, time);
    EXPECT_EQ((1 << 5) | 1, date);
    EXPECT_EQ(0, time);
}

// DOS times are local; the timestamp made from one is UTC. Five hours west of
// Greenwich, midnight local is 05:00 UTC.
TEST(TTimestamp, DosTimesAreLocalAndTimestampsUtc) {
    static char west[] = "TZ=EST5";
    static char utc[] = "TZ=UTC";
    const char* saved = getenv("TZ");
    ASSERT_TRUE(saved == nullptr || Estring(saved) == "UTC") << "the tests run with TZ=UTC";
    putenv(west);
    tzset();
    TTimestamp t = TTimestamp::FromDosDateTime(uint16_t((1 << 5) | 1), uint16_t(0));
    uint16_t date = 0;
    uint16_t time = 0;
    t.ToDosDateTime(date, time);
    putenv(utc);
    tzset();
    EXPECT_EQ(315532800u + 5 * 3600, t.seconds);  // 1980-01-01 05:00:00 UTC
    EXPECT_EQ((1 << 5) | 1, date);
    EXPECT_EQ(0, time);
}

}  // namespace
