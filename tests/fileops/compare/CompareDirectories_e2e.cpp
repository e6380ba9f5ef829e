// Ctrl-K through the real program: each date and size rule, unmatched files,
// the mask, the content comparison, and the message when nothing differs.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/settings/Colours.h"
#include "console/KeyCodes.h"
#include "tests/fileops/PanelPairTest.h"

namespace {

using qvhost::ScreenModel;

typedef std::set<std::string> TNames;

class CompareDirectoriesTest : public qvtest::PanelPairTest {
protected:
    // Ctrl-K and OK in the options dialog.
    void Compare() {
        host->SendKey(KEY_CTRL_K, KEY_CTRL_K, SHIFT_CTRL);
        ASSERT_TRUE(Shows("Directory Compare")) << host->ScreenText();
        host->SendKey(KEY_ENTER);
        ASSERT_TRUE(Gone("Directory Compare")) << host->ScreenText();
    }

    // The cell of a byte offset of a row's UTF-8 text (the frame lines take
    // three bytes a cell).
    static size_t CellIndex(const std::string& text, size_t at) {
        size_t cells = 0;
        for (size_t i = 0; i < at; i++) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                cells++;
            }
        }
        return cells;
    }

    // The names shown tagged in one half of the screen, among `names`.
    static TNames Tagged(const ScreenModel& screen, int side, const std::vector<std::string>& names) {
        const int half = screen.Columns() / 2;
        const int tagged[] = {DefaultColours[ColourTagged], DefaultColours[ColourHighlightTagged]};
        TNames found;
        for (int y = 1; y < screen.Rows() - 3; y++) {
            std::string text = screen.RowText(y, side * half, half);
            std::vector<uint8_t> attributes = screen.RowAttributes(y, side * half, half);
            for (const std::string& name : names) {
                size_t at = text.find(name);
                if (at == std::string::npos) {
                    continue;
                }
                const size_t cell = CellIndex(text, at);
                if (attributes[cell] == tagged[0] || attributes[cell] == tagged[1]) {
                    found.insert(name);
                }
            }
        }
        return found;
    }

    // The count of the status line "... bytes in N selected file(s)" of a
    // half, 0 when it shows none.
    static int TaggedCount(const ScreenModel& screen, int side) {
        const int half = screen.Columns() / 2;
        for (int y = 1; y < screen.Rows() - 3; y++) {
            std::string text = screen.RowText(y, side * half, half);
            size_t at = text.find(" selected file");
            if (at == std::string::npos) {
                continue;
            }
            size_t in = text.rfind(" in ", at);
            return in == std::string::npos ? -1 : std::stoi(text.substr(in + 4, at - in - 4));
        }
        return 0;
    }
};

struct TCompareCase {
    const char* ini;
    TNames left;
    TNames right;
};

TEST_F(CompareDirectoriesTest, EachDateAndSizeRuleTagsItsSide) {
    const time_t older = 1000000000;
    const time_t newer = 1000086400;
    WriteAll({
        {"work/same.txt", "abc", older, 0},
        {"right/same.txt", "abc", older, 0},
        {"work/newer.txt", "abc", newer, 0},
        {"right/newer.txt", "xyz", older, 0},
        {"work/bigger.txt", "abcde", older, 0},
        {"right/bigger.txt", "abc", older, 0},
        {"work/mixed.txt", "abc", newer, 0},
        {"right/mixed.txt", "abcde", older, 0},
        {"work/notes.h", "abc", newer, 0},
        {"right/notes.h", "abc", older, 0},
        {"work/lonely.txt", "abc", older, 0},
        {"right/extra.txt", "abc", older, 0},
        {"right/descript.ion", "extra.txt a file\r\n", older, 0},
    });
    const std::vector<std::string> names = {"same.txt", "newer.txt",  "bigger.txt", "mixed.txt",
                                            "notes.h",  "lonely.txt", "extra.txt",  "descript.ion"};
    const TCompareCase cases[] = {
        {"CMPTime=1\r\nCMPSize=0\r\nCMPUnmatched=on\r\n",
         {"newer.txt", "mixed.txt", "notes.h", "lonely.txt"},
         {"extra.txt"}},
        {"CMPTime=2\r\nCMPSize=0\r\nCMPUnmatched=off\r\n", {}, {"newer.txt", "mixed.txt", "notes.h"}},
        {"CMPTime=3\r\nCMPSize=0\r\nCMPUnmatched=off\r\n",
         {"newer.txt", "mixed.txt", "notes.h"},
         {"newer.txt", "mixed.txt", "notes.h"}},
        {"CMPTime=0\r\nCMPSize=1\r\nCMPUnmatched=off\r\n", {"bigger.txt"}, {"mixed.txt"}},
        {"CMPTime=0\r\nCMPSize=2\r\nCMPUnmatched=off\r\n", {"mixed.txt"}, {"bigger.txt"}},
        {"CMPTime=0\r\nCMPSize=3\r\nCMPUnmatched=on\r\n",
         {"bigger.txt", "mixed.txt", "lonely.txt"},
         {"bigger.txt", "mixed.txt", "extra.txt"}},
        {"CMPTime=1\r\nCMPSize=1\r\nCMPUnmatched=off\r\n",
         {"newer.txt", "mixed.txt", "notes.h", "bigger.txt"},
         {"mixed.txt"}},
        // Only files the mask lets through are ever tagged.
        {"CMPTime=3\r\nCMPSize=3\r\nCMPUnmatched=on\r\nCMPMask=*.txt\r\n",
         {"newer.txt", "mixed.txt", "bigger.txt", "lonely.txt"},
         {"newer.txt", "mixed.txt", "bigger.txt", "extra.txt"}},
    };
    for (const TCompareCase& c : cases) {
        SCOPED_TRACE(c.ini);
        StartPair(c.ini);
        Compare();
        const int leftCount = static_cast<int>(c.left.size());
        const int rightCount = static_cast<int>(c.right.size());
        // The counts and the tagged names together: a panel may be drawn in
        // more than one screen update.
        bool shown = host->WaitFor([&](const ScreenModel& s) {
            return TaggedCount(s, 0) == leftCount && TaggedCount(s, 1) == rightCount && Tagged(s, 0, names) == c.left &&
                   Tagged(s, 1, names) == c.right;
        });
        ScreenModel screen = host->Snapshot();
        EXPECT_TRUE(shown) << host->ScreenText();
        EXPECT_EQ(c.left, Tagged(screen, 0, names)) << host->ScreenText();
        EXPECT_EQ(c.right, Tagged(screen, 1, names)) << host->ScreenText();
    }
}

TEST_F(CompareDirectoriesTest, NothingToTagSaysSo) {
    WriteAt("work/same.txt", "abc", 1000000000);
    WriteAt("right/same.txt", "xyz", 1000000000);
    StartPair("CMPTime=3\r\nCMPSize=3\r\nCMPUnmatched=on\r\nCMPContents=off\r\n");
    Compare();
    ASSERT_TRUE(Shows("No files meet the specified conditions")) << host->ScreenText();
}

TEST_F(CompareDirectoriesTest, ContentsTagBothOfEqualSizedFilesThatDifferInOneByte) {
    // Larger than one block of the comparison, the difference in the last.
    std::string data(600000, 'q');
    std::string changed = data;
    changed[590000] = 'r';
    WriteAt("work/big.bin", data, 1000000000);
    WriteAt("right/big.bin", changed, 1000000000);
    WriteAt("work/twin.bin", data, 1000000000);
    WriteAt("right/twin.bin", data, 1000000000);
    StartPair("CMPTime=0\r\nCMPSize=0\r\nCMPUnmatched=off\r\nCMPContents=on\r\n");
    Compare();
    const std::vector<std::string> names = {"big.bin", "twin.bin"};
    bool shown = host->WaitFor([&](const ScreenModel& s) {
        return TaggedCount(s, 0) == 1 && TaggedCount(s, 1) == 1 && Tagged(s, 0, names) == TNames{"big.bin"} &&
               Tagged(s, 1, names) == TNames{"big.bin"};
    });
    ScreenModel screen = host->Snapshot();
    EXPECT_TRUE(shown) << host->ScreenText();
    EXPECT_EQ(TNames{"big.bin"}, Tagged(screen, 0, names));
    EXPECT_EQ(TNames{"big.bin"}, Tagged(screen, 1, names));
}

TEST_F(CompareDirectoriesTest, EvenSecondTimesMeetFinerOnesRoundedUp) {
    // The left side keeps only even seconds (as FAT does); the right side's
    // finer times round up to the same even seconds.
    WriteAt("work/a.txt", "abc", 1000000002);
    WriteAt("work/b.txt", "abc", 1000000000);
    WriteAt("right/a.txt", "abc", 1000000001, 500000000);
    WriteAt("right/b.txt", "abc", 999999999, 999999900);
    StartPair("CMPTime=3\r\nCMPSize=0\r\nCMPUnmatched=off\r\n");
    Compare();
    ASSERT_TRUE(Shows("No files meet the specified conditions")) << host->ScreenText();
}

}  // namespace
