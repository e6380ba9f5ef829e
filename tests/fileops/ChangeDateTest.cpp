// The date dialog's checks and the 12-hour clock.
#include <gtest/gtest.h>

#include "app/settings/Config.h"
#include "fileops/ChangeDate.h"

namespace {

TEST(ChangeDate, DayOfMonthValidation) {
    struct Case {
        int year;
        int month;
        int day;
        bool valid;
    } cases[] = {
        {2024, 2, 29, true},   {2023, 2, 29, false}, {2023, 2, 28, true},  {2000, 2, 29, true},  {2024, 1, 31, true},
        {2024, 3, 31, true},   {2024, 5, 31, true},  {2024, 7, 31, true},  {2024, 8, 31, true},  {2024, 10, 31, true},
        {2024, 12, 31, true},  {2024, 4, 31, false}, {2024, 6, 31, false}, {2024, 9, 31, false}, {2024, 11, 31, false},
        {2024, 11, 30, true},  {2024, 1, 0, false},  {2024, 0, 10, false}, {2024, 13, 1, false}, {1980, 1, 1, true},
        {1979, 12, 31, false}, {2099, 12, 31, true}, {2100, 1, 1, false},  {2100, 2, 28, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.valid, IsValidDialogDate(c.year, c.month, c.day, 12, 0, 0))
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(ChangeDate, TimeOfDayBounds) {
    EXPECT_TRUE(IsValidDialogDate(2024, 6, 1, 23, 59, 59));
    EXPECT_TRUE(IsValidDialogDate(2024, 6, 1, 0, 0, 0));
    EXPECT_FALSE(IsValidDialogDate(2024, 6, 1, 24, 0, 0));
    EXPECT_FALSE(IsValidDialogDate(2024, 6, 1, 12, 60, 0));
    EXPECT_FALSE(IsValidDialogDate(2024, 6, 1, 12, 0, 60));
    EXPECT_FALSE(IsValidDialogDate(2024, 6, 1, -1, 0, 0));
}

TEST(ChangeDate, TwelveHourClockBothWays) {
    struct Case {
        int32_t hour24;
        int32_t hour12;
        int32_t pm;
    } cases[] = {{0, 12, 0}, {11, 11, 0}, {12, 12, 1}, {13, 1, 1}, {23, 11, 1}, {1, 1, 0}};
    for (const Case& c : cases) {
        int32_t hour = c.hour24;
        int32_t pm = -1;
        To12Hour(hour, pm);
        EXPECT_EQ(c.hour12, hour) << c.hour24;
        EXPECT_EQ(c.pm, pm) << c.hour24;
        EXPECT_EQ(c.hour24, From12Hour(hour, pm)) << c.hour24;
    }
}

TEST(ChangeDate, TwelveHourFormOnlyWhenConfigured) {
    int32_t saved = Config.TimeMode;
    Config.TimeMode = 24;
    int32_t hour = 15;
    int32_t pm = 0;
    To12HourIfConfigured(hour, pm);
    EXPECT_EQ(15, hour);
    EXPECT_EQ(0, pm);
    Config.TimeMode = 12;
    To12HourIfConfigured(hour, pm);
    EXPECT_EQ(3, hour);
    EXPECT_EQ(1, pm);
    Config.TimeMode = saved;
}

}  // namespace
