// File Find through the real program: the search by masks and content, the
// result rows and the summary, going to a found file, stopping a search,
// reopening on the previous results, and the replace over found files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;

class FileFindTest : public qvtest::ProgramTest {
protected:
    // Alt-F7, the masks, Tab, the text (when given), Enter.
    void Find(const std::string& masks, const std::string& text, int key = KEY_ALT_F7) {
        host->SendKey(key);
        ASSERT_TRUE(Shows(" File Find ")) << host->ScreenText();
        ASSERT_TRUE(Shows("File(s) to find:")) << host->ScreenText();
        host->SendText(masks);
        host->SendKey(KEY_TAB);
        host->SendText(text);
        host->SendKey(KEY_ENTER);
    }

    // The screen row that holds the text and whether it is the list's
    // cursor row (drawn in another attribute than a plain row).
    static std::string RowWith(const ScreenModel& screen, const std::string& text) {
        int row = RowOf(screen, text);
        return row < 0 ? std::string() : screen.RowText(row, 0, screen.Columns());
    }
};

TEST_F(FileFindTest, FindsByMaskAndTextAndGoesToTheFile) {
    MakeFolder("work/sub");
    MakeFolder("work/sub/deeper");
    Write("work/one.txt", "no match in here\n");
    Write("work/sub/two.txt", "a needle in the hay\n");
    Write("work/sub/deeper/three.txt", "NEEDLE\n");
    Write("work/sub/four.dat", "needle\n");
    Start("FFRootSearch=0\r\n");
    Find("*.txt", "needle");
    ASSERT_TRUE(Shows("Search Complete:")) << host->ScreenText();
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    ScreenModel screen = host->Snapshot();
    std::string two = RowWith(screen, "T:\\work\\sub\\two.txt");
    EXPECT_NE(two.find("20"), std::string::npos) << two;
    EXPECT_NE(RowWith(screen, "T:\\work\\sub\\deeper\\three.txt"), "");
    EXPECT_EQ(RowOf(screen, "one.txt"), -1);
    EXPECT_EQ(RowOf(screen, "four.dat"), -1);
    // Directories come first in path order: sub before sub\deeper; the cursor
    // followed the results to the last one. Up, then Enter: GoTo.
    host->SendKey(KEY_UP);
    host->WaitQuiet();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    ASSERT_TRUE(PromptIs("T:\\work\\sub")) << host->ScreenText();
}

}  // namespace
