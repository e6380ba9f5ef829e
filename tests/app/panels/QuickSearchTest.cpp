#include "app/panels/QuickSearch.h"

#include <gtest/gtest.h>

#include "app/settings/Config.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/app/panels/TestPanelPair.h"

namespace {

using paneltest::TestPanelPair;
using paneltest::Utf8;

const uint16_t Directory = FILE_ATTRIBUTE_DIRECTORY;

class QuickSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Config.StickyAlt = 0;
        paneltest::Fill(panel(), {{"..", Directory, 0, 0},
                                  {"Docs", Directory, 0, 0},
                                  {"apple.txt", 0, 1, 0},
                                  {"Banana.txt", 0, 1, 0},
                                  {"berry.txt", 0, 1, 0},
                                  {"bert.txt", 0, 1, 0},
                                  {"cherry.txt", 0, 1, 0}});
    }

    CPanel& panel() { return pair[0]; }
    std::string CursorName() { return Utf8(panel().CursorEntry()->name); }
    std::string Text() { return Utf8(panel().searchText); }

    // Types the characters one by one, as the main loop hands them over.
    void Type(const char* text) {
        for (const char* c = text; *c; c++) {
            int key = -1;
            EXPECT_FALSE(QuickSearch(*c, &panel(), key, nullptr, 0));
        }
    }

    TestPanelPair pair;
};

TEST_F(QuickSearchTest, TypedLettersMoveTheCursorWithoutRegardToCase) {
    struct Case {
        const char* typed;
        const char* cursor;
        const char* text;
    } cases[] = {
        {"b", "Banana.txt", "b"},
        {"BE", "berry.txt", "BE"},
        {"bert", "bert.txt", "bert"},
        {"C", "cherry.txt", "C"},
        // A letter that leads nowhere is dropped and the cursor stays.
        {"bx", "Banana.txt", "b"},
        {"zz", "..", ""},
    };
    for (const Case& c : cases) {
        panel().topIndex = panel().cursorRow = 0;
        panel().searchText[0] = 0;
        Type(c.typed);
        EXPECT_EQ(CursorName(), c.cursor) << c.typed;
        EXPECT_EQ(Text(), c.text) << c.typed;
    }
}

TEST_F(QuickSearchTest, ALetterSearchesFromTheCursorThenWrapsOnce) {
    panel().cursorRow = 5;  // bert.txt
    Type("b");
    EXPECT_EQ(CursorName(), "bert.txt");
    panel().searchText[0] = 0;
    Type("a");
    EXPECT_EQ(CursorName(), "apple.txt");
}

TEST_F(QuickSearchTest, NextAndPreviousMatchStopAtTheEnds) {
    Type("b");
    ASSERT_EQ(CursorName(), "Banana.txt");
    for (const char* expected : {"berry.txt", "bert.txt", "bert.txt"}) {
        QuickSearchFind(&panel(), 0, 1);
        EXPECT_EQ(CursorName(), expected);
    }
    for (const char* expected : {"berry.txt", "Banana.txt", "Banana.txt"}) {
        QuickSearchFind(&panel(), 0, -1);
        EXPECT_EQ(CursorName(), expected);
    }
    EXPECT_EQ(Text(), "b");
}

TEST_F(QuickSearchTest, ATextTheCursorEntryNoLongerBeginsWithIsDropped) {
    Type("ch");
    ASSERT_EQ(CursorName(), "cherry.txt");
    panel().cursorRow = 1;  // the user moved to Docs
    Type("a");
    EXPECT_EQ(CursorName(), "apple.txt");
    EXPECT_EQ(Text(), "a");
}

TEST_F(QuickSearchTest, CompletionExtendsToTheCommonBeginningSpelledAsTheCursorEntry) {
    Type("BE");
    ASSERT_EQ(CursorName(), "berry.txt");
    QuickSearchComplete(&panel());
    EXPECT_EQ(Text(), "ber");
    Type("t");
    QuickSearchComplete(&panel());
    EXPECT_EQ(Text(), "bert.txt");
}

TEST_F(QuickSearchTest, AnEmptyPanelHasNothingToSearch) {
    TestPanelPair empty;
    int key = -1;
    EXPECT_FALSE(QuickSearch('a', &empty[1], key, nullptr, 0));
    EXPECT_EQ(empty[1].searchText[0], U'\0');
}

}  // namespace
