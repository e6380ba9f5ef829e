// The row text of a found entry: size or directory mark, date, time in
// either clock, hidden mark, path, and the row of a file that could not be
// opened.
#include "fileops/find/EntryListBox.h"

#include <gtest/gtest.h>

#include <string>

#include "app/settings/Config.h"
#include "base/strings/DateText.h"
#include "base/strings/LocaleCase.h"

namespace {

class FormatFoundEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCaseTables();
        savedTimeMode = Config.TimeMode;
    }
    void TearDown() override { Config.TimeMode = savedTimeMode; }

    // A found entry of the local time given (the test's time zone is UTC).
    const entry* Found(const char* path, uint64_t size, uint16_t attributes, int hour, int minute) {
        entry head = {};
        head.size = size;
        head.attributes = attributes;
        head.matchOffset = -1;
        TLocalDateTime local = {};
        local.year = 2024;
        local.month = 3;
        local.day = 5;
        local.hour = hour;
        local.minute = minute;
        head.time = TTimestamp::FromLocalDateTime(local);
        return store.AddFound(head, Westring(path));
    }

    static std::string Text(const entry* item, int columns = 80) {
        return Estring(FormatFoundEntry(item, columns)).Data();
    }

    std::string Date() {
        TLocalDateTime local = {};
        local.year = 2024;
        local.month = 3;
        local.day = 5;
        return FormatShortDate(local).Data();
    }

    FFEntryStore store;
    int savedTimeMode = 0;
};

TEST_F(FormatFoundEntryTest, ClockFormsAndColumns) {
    const std::string date = Date();
    struct {
        int timeMode;
        int hour;
        int minute;
        const char* time;
    } cases[] = {
        {12, 0, 7, "12:07a"},   {12, 11, 59, "11:59a"}, {12, 12, 0, "12:00p"},
        {12, 13, 30, " 1:30p"}, {24, 0, 7, "  0:07"},   {24, 13, 30, " 13:30"},
    };
    for (const auto& c : cases) {
        Config.TimeMode = c.timeMode;
        const entry* item = Found("C:\\data\\a.txt", 1234567, 0, c.hour, c.minute);
        char dateAndTime[64];
        snprintf(dateAndTime, sizeof dateAndTime, " %8s %6s ", date.c_str(), c.time);
        EXPECT_EQ(Text(item), std::string(" 1,234,567") + dateAndTime + " C:\\data\\a.txt") << c.time;
    }
}

TEST_F(FormatFoundEntryTest, DirectoriesHiddenFilesLongPathsAndUnopenedFiles) {
    Config.TimeMode = 24;
    const std::string directory = Text(Found("C:\\data", 0, 0x10, 9, 5));
    EXPECT_EQ(directory.rfind("  \u25BASUBDIR\u25C4 ", 0), 0u) << directory;
    const std::string hidden = Text(Found("C:\\data\\.hidden", 5, 0x2, 9, 5));
    EXPECT_NE(hidden.find("\u2591C:\\data\\.hidden"), std::string::npos) << hidden;

    // The path is shortened to what the screen leaves beside the other
    // columns: the row fits the result list (the screen less 6 columns).
    std::string longPath = "C:\\" + std::string(120, 'x') + "\\end.txt";
    const std::string row = Text(Found(longPath.c_str(), 1, 0, 9, 5));
    EXPECT_LE(Westring(row.c_str()).Length(), 80 - 6) << row;
    EXPECT_EQ(row.substr(row.size() - 8), "\\end.txt") << row;

    entry head = {};
    head.matchOffset = -3;
    const entry* unopened = store.AddFound(head, Westring("C:\\data\\locked.txt"));
    EXPECT_EQ(Text(unopened), "Error opening               C:\\data\\locked.txt");
}

}  // namespace
