// A child's output played through the terminal emulator in a real program
// under the scripted host: the screen, the reply file and the scroll-back.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProgramTest.h"

namespace {

// The probe reads the output from T:\output and writes what it answers the
// child to T:\replies.
class TerminalProbe : public qvtest::ProgramTest {
protected:
    void Start(const std::string& output, int chunk) {
        Write("output", output);
        Launch(ProbeOptions("qv_terminal_probe", {"T:\\output", std::to_string(chunk), "T:\\replies"}));
        ASSERT_TRUE(host->Started());
    }

    std::string Replies() { return Read("replies"); }
};

TEST_F(TerminalProbe, OutputPlaysOntoTheScreenInAnyChunkSize) {
    std::string output;
    for (int i = 0; i < 40; ++i) {
        output += "line " + std::to_string(i) + "\r\n";
    }
    output += "\x1b[2J\x1b[Hhello \x1b[1;33;44mcolour\x1b[0m \x1b(0lqk\x1b(B";
    output += "\x1b[5;10H\x1b[6n\xC3\xA9\xE2\x82\xAC";
    for (int chunk : {1, 7, 1024}) {
        Start(output, chunk);
        // The cursor is a request of its own, after the text: wait for both.
        ASSERT_TRUE(host->WaitFor([](const qvhost::ScreenModel& m) {
            return m.RowText(4, 9, 2) == "é€" && m.CursorX() == 11 && m.CursorY() == 4;
        })) << "chunk "
            << chunk << "\n"
            << host->Dump();
        qvhost::ScreenModel m = host->Snapshot();
        EXPECT_EQ(m.RowText(0, 0, 16), "hello colour \u250C\u2500\u2510") << chunk;
        EXPECT_EQ(m.RowAttributes(0, 6, 1)[0], 0x1E) << chunk;   // bold yellow on blue
        EXPECT_EQ(m.RowAttributes(0, 13, 1)[0], 0x07) << chunk;  // the default colour again
        EXPECT_EQ(m.RowText(1, 0, 4), "    ");
        // Forty lines on twenty-five rows: sixteen went to the scroll-back.
        host->SendText("s");
        EXPECT_TRUE(host->WaitForText("scroll-back 16, first: line 0")) << host->Dump();
        host->SendText("q");
        EXPECT_EQ(host->WaitExit(), 0);
        EXPECT_EQ(Replies(), "\x1b[5;10R") << chunk;
    }
}

TEST_F(TerminalProbe, AlternateScreenLeftShownIsPutBackAtTheEnd) {
    Start("shell prompt\r\n\x1b[?1049h\x1b[44mfull screen program", 5);
    ASSERT_TRUE(host->WaitForText("full screen program")) << host->Dump();
    host->SendText("s");
    // Nothing that happened on the alternate screen reached the scroll-back.
    EXPECT_TRUE(host->WaitForText("scroll-back 0")) << host->Dump();
    host->SendText("q");
    EXPECT_EQ(host->WaitExit(), 0);
    EXPECT_EQ(host->Snapshot().RowText(0, 0, 12), "shell prompt");
    EXPECT_EQ(host->Snapshot().RowAttributes(0, 0, 1)[0], 0x07);
}

}  // namespace
