// qvhost in a real terminal: tmux runs it over the console probe (copied
// beside it as the program it starts), keys go in with send-keys and the
// screen comes back with capture-pane.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tests/support/ProgramTest.h"

namespace {

namespace fs = std::filesystem;

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) {
            out.append(buffer, n);
        }
        pclose(p);
    }
    return out;
}

class QvhostInTmux : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (std::system("command -v tmux >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "tmux is not installed";
        }
        const char* binary = std::getenv("QV_BINARY_DIR");
        ASSERT_NE(binary, nullptr) << "QV_BINARY_DIR names the build";
        dir = Root();
        fs::copy_file(std::string(binary) + "/bin/qvhost", dir + "/qvhost");
        fs::copy_file(std::string(binary) + "/bin/qv_console_probe", dir + "/quorvane");
        socket = "qvtest-" + std::to_string(getpid());
        // xterm's key and mouse sequences, as tmux sends them.
        std::string command = "env TERM=xterm-256color TZ=UTC APPDATA=\"" + appData + "\" QUORVANE_DRIVES=\"" +
                              DriveMap() + "\" " + dir + "/qvhost; echo $? > " + dir + "/rc; sleep 60";
        ASSERT_EQ(std::system(("tmux -L " + socket + " -f /dev/null new-session -d -x 90 -y 30 '" + command + "'")
                                  .c_str()),
                  0);
        ASSERT_TRUE(WaitForPane("ready 90x30")) << Pane();
    }

    void TearDown() override {
        if (!socket.empty()) {
            Shell("tmux -L " + socket + " kill-server 2>/dev/null");
        }
        ProgramTest::TearDown();
    }

    std::string Tmux(const std::string& args) { return Shell("tmux -L " + socket + " " + args + " 2>&1"); }
    std::string Pane() { return Tmux("capture-pane -p -t 0"); }

    static bool WaitFor(const std::function<bool()>& condition) {
        return Eventually(condition, ScriptedHost::DefaultTimeoutMs);
    }
    bool WaitForPane(const std::string& text) {
        return WaitFor([&] { return Pane().find(text) != std::string::npos; });
    }

    // Sends keys (send-keys syntax) and waits for the probe's report of them.
    bool Reports(const std::string& keys, const std::string& what) {
        ++events;
        Tmux("send-keys -t 0 " + keys);
        return WaitForPane(std::to_string(events) + ": " + what);
    }

    std::string dir;
    std::string socket;
    int events = 0;
};

TEST_F(QvhostInTmux, TerminalKeysArriveWithTheirCodes) {
    struct Case {
        const char* keys;
        const char* report;
    };
    const Case cases[] = {
        {"F1", "key 1003B char 0 shift 0"},      {"S-F5", "key 30058 char 0 shift 4"},
        {"C-F2", "key 1005F char 0 shift 2"},    {"M-F3", "key 1006A char 0 shift 1"},
        {"F12", "key 10086 char 0 shift 0"},     {"Up", "key 10048 char 0 shift 0"},
        {"C-NPage", "key 10076 char 0 shift 2"}, {"S-Left", "key 3004B char 0 shift 4"},
        {"Home", "key 10047 char 0 shift 0"},    {"DC", "key 10053 char 0 shift 0"},
        {"BTab", "key 3000F char 0 shift 4"},    {"BSpace", "key 10101 char 8 shift 0"},
        {"Enter", "key D char D shift 0"},       {"x", "key 78 char 78 shift 0"},
        {"M-x", "key 1002D char 78 shift 1"},    {"C-a", "key 1 char 1 shift 2"},
        // Raw mode with signals and flow control off: these are keys too.
        {"C-c", "key 3 char 3 shift 2"},         {"C-s", "key 13 char 13 shift 2"},
        {"C-q", "key 11 char 11 shift 2"},       {"C-z", "key 1A char 1A shift 2"},
        {"Escape", "key 1B char 1B shift 0"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Reports(c.keys, c.report)) << c.keys << "\n" << Pane();
    }
}

TEST_F(QvhostInTmux, MouseResizeAndTheWayOut) {
    // An SGR mouse report: button 1 pressed at column 6, row 4 (1-based).
    EXPECT_TRUE(Reports("-l \"$(printf '\\033[<0;6;4M')\"", "mouse action 0 at 5,3 shift 0 button 1")) << Pane();
    EXPECT_TRUE(Reports("-l \"$(printf '\\033[<0;6;4m')\"", "mouse action 5 at 5,3 shift 0 button 1")) << Pane();
    Tmux("resize-window -t 0 -x 100 -y 35");
    ++events;
    EXPECT_TRUE(WaitForPane(std::to_string(events) + ": resized 100x35 accepted 1")) << Pane();
    // The glyphs of control characters reach the terminal, never the raw bytes.
    EXPECT_TRUE(Reports("g", "key 67 char 67 shift 0")) << Pane();
    EXPECT_TRUE(WaitForPane("\xE2\x98\xBA\xE2\x96\xBC\xE2\x8C\x82")) << Pane();

    Tmux("send-keys -t 0 q");
    ASSERT_TRUE(WaitFor([&] { return fs::exists(dir + "/rc") && fs::file_size(dir + "/rc") > 0; }));
    std::ifstream rc(dir + "/rc");
    int code = -1;
    rc >> code;
    EXPECT_EQ(code, 0);
    // The terminal is back on its own screen: the program's screen is gone.
    EXPECT_TRUE(WaitFor([&] { return Pane().find("ready") == std::string::npos; })) << Pane();
}

}  // namespace
