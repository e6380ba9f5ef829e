// The console client in a real program, driven through the scripted host.
#include "console/ConsoleProtocol.h"
#include "tests/support/ProgramTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using qvhost::ScriptedHost;

class ConsoleProbe : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ScriptedHost::Options options = ProbeOptions("qv_console_probe");
        options.columns = 90;
        options.rows = 30;
        Launch(options);
        ASSERT_TRUE(host->Started());
        ASSERT_TRUE(host->WaitForText("ready 90x30")) << host->Dump();
    }

    // Waits for the probe's report of its next event.
    bool Reported(const std::string& what) {
        ++events;
        std::string line = std::to_string(events) + ": " + what;
        const int row = 1 + (events - 1) % 20;
        return host->WaitFor([&](const qvhost::ScreenModel& m) { return m.RowText(row).find(line) == 0; });
    }

    int events = 0;
};

TEST_F(ConsoleProbe, GreetingTextAndTitleReachTheScreen) {
    std::vector<uint8_t> attrs = host->RowAttributes(0);
    ASSERT_GE(attrs.size(), 11u);
    EXPECT_EQ(attrs[0], 0x1F);
    EXPECT_EQ(attrs[10], 0x1F);
    EXPECT_EQ(attrs[11], 0x07);
    EXPECT_TRUE(host->WaitFor([](const qvhost::ScreenModel& m) { return m.Title() == U"probe"; })) << host->Dump();
}

TEST_F(ConsoleProbe, KeysArriveWithTheirCodes) {
    struct Case {
        const char* key;
        const char* report;
    };
    const Case cases[] = {
        {"F1", "key 1003B char 0 shift 0"},        {"F12", "key 10086 char 0 shift 0"},
        {"Shift+F5", "key 30058 char 0 shift 4"},  {"Ctrl+F10", "key 10067 char 0 shift 2"},
        {"Alt+F2", "key 10069 char 0 shift 1"},    {"Ctrl+PgDn", "key 10076 char 0 shift 2"},
        {"Ctrl+PgUp", "key 10084 char 0 shift 2"}, {"Shift+Ins", "key 30052 char 0 shift 4"},
        {"Home", "key 10047 char 0 shift 0"},      {"Del", "key 10053 char 0 shift 0"},
        {"Shift+Tab", "key 3000F char 0 shift 4"}, {"Tab", "key 9 char 9 shift 0"},
        {"Enter", "key D char D shift 0"},         {"Esc", "key 1B char 1B shift 0"},
        {"Backspace", "key 10101 char 8 shift 0"}, {"Ctrl+a", "key 1 char 1 shift 2"},
        {"Alt+x", "key 1002D char 78 shift 1"},    {"\xC3\xA9", "key E9 char E9 shift 0"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(host->PressKey(c.key)) << c.key;
        EXPECT_TRUE(Reported(c.report)) << c.key << "\n" << host->Dump();
    }
}

TEST_F(ConsoleProbe, MouseAndResizeArriveAsEvents) {
    host->Click(5, 6);
    EXPECT_TRUE(Reported("mouse action 0 at 5,6 shift 0 button 1")) << host->Dump();
    EXPECT_TRUE(Reported("mouse action 5 at 5,6 shift 0 button 1")) << host->Dump();
    host->Click(7, 8, 2);
    EXPECT_TRUE(Reported("mouse action 1 at 7,8 shift 0 button 2")) << host->Dump();
    EXPECT_TRUE(Reported("mouse action 6 at 7,8 shift 0 button 2")) << host->Dump();
    host->DoubleClick(1, 2);
    EXPECT_TRUE(Reported("mouse action 4 at 1,2 shift 0 button 1")) << host->Dump();
    host->Wheel(3, 4, -120);
    EXPECT_TRUE(Reported("mouse action 7 at 3,4 shift 0 button -120")) << host->Dump();
    host->SendResize(100, 35);
    EXPECT_TRUE(Reported("resized 100x35 accepted 1")) << host->Dump();
}

TEST_F(ConsoleProbe, IdenticalWritesAreSentOnce) {
    host->WaitQuiet();
    const int before = host->RequestCount(15);
    host->SendText("w");
    ASSERT_TRUE(Reported("key 77 char 77 shift 0"));
    host->WaitQuiet();
    // The report line and the text once: the second, identical write sent nothing.
    EXPECT_EQ(host->RequestCount(15) - before, 2);
    EXPECT_EQ(host->RowText(23).substr(0, 9), "same text");
}

TEST_F(ConsoleProbe, ClipboardAndGlyphsGoThroughTheHost) {
    host->SendText("c");
    // The request the probe waits on was answered.
    EXPECT_TRUE(host->WaitForRequests(ConsoleOpSetClipboard, 1)) << host->Dump();
    EXPECT_TRUE(host->WaitForRequests(ConsoleOpGetClipboard, 1)) << host->Dump();
    EXPECT_TRUE(host->WaitForText("clipboard: clip \xE2\x82\xAC")) << host->Dump();
    host->SendText("g");
    // Characters 1, 31 and 127 show as the glyphs the program's copy holds too.
    EXPECT_TRUE(host->WaitFor([](const qvhost::ScreenModel& m) {
        return m.RowText(25, 0, 3) == "\xE2\x98\xBA\xE2\x96\xBC\xE2\x8C\x82";
    })) << host->Dump();
}

TEST_F(ConsoleProbe, ClosedInputEndsTheWaitWithKeyClosed) {
    host->WaitQuiet();
    host->CloseInput();
    EXPECT_TRUE(Reported("closed, then 800001")) << host->Dump();
    EXPECT_EQ(host->WaitExit(), 3);
}

// A wait whose condition never holds gives up when its time runs out, so a
// program that does not do what a test expects fails the test instead of
// stalling the run.
TEST_F(ConsoleProbe, WaitsThatAreNotMetEndWithFalse) {
    EXPECT_FALSE(host->WaitForText("never on the screen", 200));
    EXPECT_FALSE(host->WaitForTextGone("ready 90x30", 200));
    EXPECT_FALSE(host->WaitForRequests(ConsoleOpGetClipboard, 1, 200));
    EXPECT_FALSE(host->WaitFor([](const qvhost::ScreenModel& m) { return m.Columns() == 1; }, 200));
    EXPECT_EQ(host->WaitExit(200), -1);
    // The program still answers afterwards.
    host->SendText("q");
    EXPECT_EQ(host->WaitExit(), 0);
}

TEST_F(ConsoleProbe, QuitsOnItsKey) {
    host->SendText("q");
    EXPECT_EQ(host->WaitExit(), 0);
}

}  // namespace
