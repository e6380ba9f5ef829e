// A child's output played through the terminal emulator in a real program
// under the scripted host: the screen, the reply file and the scroll-back.
#include "host/ScriptedHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using qvhost::ScriptedHost;

std::string ProbePath() {
    const char* dir = std::getenv("QV_BINARY_DIR");
    return std::string(dir ? dir : ".") + "/bin/qv_terminal_probe";
}

// The probe takes Windows paths; drive C: is the root.
std::string DrivePath(const std::filesystem::path& path) {
    std::string text = "C:" + path.string();
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text;
}

class TerminalProbe : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("qv_terminal_probe_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        host.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    void Start(const std::string& output, int chunk) {
        std::ofstream(dir / "output", std::ios::binary) << output;
        ScriptedHost::Options options;
        options.program = ProbePath();
        options.args = {DrivePath(dir / "output"), std::to_string(chunk), DrivePath(dir / "replies")};
        host.reset(new ScriptedHost(options));
        ASSERT_TRUE(host->Started());
    }

    std::string Replies() {
        std::ifstream in(dir / "replies", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path dir;
    std::unique_ptr<ScriptedHost> host;
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
        ASSERT_TRUE(host->WaitFor([](const qvhost::ScreenModel& m) { return m.RowText(4, 9, 2) == "é€"; }))
            << "chunk " << chunk << "\n" << host->Dump();
        qvhost::ScreenModel m = host->Snapshot();
        EXPECT_EQ(m.RowText(0, 0, 16), "hello colour \u250C\u2500\u2510") << chunk;
        EXPECT_EQ(m.RowAttributes(0, 6, 1)[0], 0x1E) << chunk;   // bold yellow on blue
        EXPECT_EQ(m.RowAttributes(0, 13, 1)[0], 0x07) << chunk;  // the default colour again
        EXPECT_EQ(m.CursorX(), 11);
        EXPECT_EQ(m.CursorY(), 4);
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
