// qvhost in a real terminal: tmux runs it over the console probe (copied
// beside it as the program it starts), keys go in with send-keys and the
// screen comes back with capture-pane.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tests/support/ShellCommand.h"

#include "tests/support/ProgramTest.h"

namespace {

namespace fs = std::filesystem;

using qvtest::RunShell;

class QvhostInTmux : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (qvtest::OnWindowsLeg()) {
            // Not a test of the Windows program: it stays with the Linux leg.
            qvtest::CountInWindowsLeg(false);
            GTEST_SKIP() << "qvhost, the terminal host, is a Linux program";
        }
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
        Launch("TERM=xterm-256color", "", 90, 30);
        ASSERT_TRUE(WaitForPane("ready 90x30")) << Pane();
    }

    // Starts qvhost in a new tmux session (ending any earlier one) with the
    // environment settings and arguments given, as a shell command line; its
    // exit code goes to the file rc.
    void Launch(const std::string& env, const std::string& args, int columns, int rows) {
        // Each session on a server of its own: a server just told to end may
        // still hold its socket.
        RunShell("tmux -L " + socket + " kill-server 2>/dev/null");
        socket = "qvtest-" + std::to_string(getpid()) + "-" + std::to_string(++launches);
        fs::remove(dir + "/rc");
        // The test's own time zone, data folder and drives, then the case's.
        WriteFile(dir + "/tmux.conf", tmuxConfig);
        const std::string command = "cd " + dir + " && env TERM=xterm-256color TZ=UTC APPDATA=\"" + appData +
                                    "\" QUORVANE_DRIVES=\"" + DriveMap() + "\" " + env + " " + dir + "/qvhost " + args +
                                    "; echo $? > " + dir + "/rc; sleep 60";
        WriteFile(dir + "/session", command);
        ASSERT_EQ(std::system(("tmux -L " + socket + " -f " + dir + "/tmux.conf new-session -d -x " + std::to_string(columns) +
                               " -y " + std::to_string(rows) + " 'sh " + dir + "/session'")
                                  .c_str()),
                  0);
        events = 0;
    }

    static void WriteFile(const std::string& path, const std::string& text, bool executable = false) {
        // A new file, not the old one rewritten: that may be a program still running.
        fs::remove(path);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << text;
        }
        if (executable) {
            fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
        }
    }

    // The exit code qvhost's session wrote, -1 while it runs.
    int ExitCode() {
        if (!WaitFor([&] { return fs::exists(dir + "/rc") && fs::file_size(dir + "/rc") > 0; })) {
            return -1;
        }
        std::ifstream rc(dir + "/rc");
        int code = -1;
        rc >> code;
        return code;
    }

    void TearDown() override {
        if (!socket.empty()) {
            RunShell("tmux -L " + socket + " kill-server 2>/dev/null");
        }
        ProgramTest::TearDown();
    }

    std::string Tmux(const std::string& args) { return RunShell("tmux -L " + socket + " " + args + " 2>&1"); }
    std::string Pane() { return Tmux("capture-pane -p -t 0"); }

    static bool WaitFor(const std::function<bool()>& condition) {
        return Eventually(condition, ScriptedHost::DefaultTimeoutMs);
    }
    bool WaitForPane(const std::string& text) {
        return WaitFor([&] { return Pane().find(text) != std::string::npos; });
    }

    // Sends keys (send-keys syntax) and waits for the probe's report of them.
    // Terminals send no key releases: after a key or a mouse release with
    // modifiers held, qvhost reports them released in a key event of its own.
    bool Reports(const std::string& keys, const std::string& what) {
        ++events;
        Tmux("send-keys -t 0 " + keys);
        if (!WaitForPane(std::to_string(events) + ": " + what)) {
            return false;
        }
        const size_t shift = what.find("shift ");
        const bool modified = shift != std::string::npos && what.compare(shift, 7, "shift 0") != 0;
        const bool releases = what.compare(0, 4, "key ") == 0 || what.find("action 5") != std::string::npos ||
                              what.find("action 6") != std::string::npos || what.find("action 7") != std::string::npos;
        if (modified && releases) {
            ++events;
            return WaitForPane(std::to_string(events) + ": key 0 char 0 shift 0");
        }
        return true;
    }

    std::string dir;
    std::string socket;
    // Read by the tmux server of the next Launch.
    std::string tmuxConfig;
    int launches = 0;
    int events = 0;
};

TEST_F(QvhostInTmux, TerminalKeysArriveWithTheirCodes) {
    struct Case {
        const char* keys;
        const char* report;
    };
    const Case cases[] = {
        {"F1", "key 1003B char 0 shift 0"},
        {"S-F5", "key 30058 char 0 shift 4"},
        {"C-F2", "key 1005F char 0 shift 2"},
        {"M-F3", "key 1006A char 0 shift 1"},
        {"F12", "key 10086 char 0 shift 0"},
        {"Up", "key 10048 char 0 shift 0"},
        {"C-NPage", "key 10076 char 0 shift 2"},
        {"S-Left", "key 3004B char 0 shift 4"},
        {"Home", "key 10047 char 0 shift 0"},
        {"DC", "key 10053 char 0 shift 0"},
        {"BTab", "key 3000F char 0 shift 4"},
        {"BSpace", "key 10101 char 8 shift 0"},
        {"M-BSpace", "key 1000E char 0 shift 1"},
        {"C-S-F5", "key 30062 char 0 shift 6"},
        {"M-S-F7", "key 3006E char 0 shift 5"},
        {"Enter", "key D char D shift 0"},
        {"x", "key 78 char 78 shift 0"},
        {"M-x", "key 1002D char 78 shift 1"},
        {"C-a", "key 1 char 1 shift 2"},
        // Raw mode with signals and flow control off: these are keys too.
        {"C-c", "key 3 char 3 shift 2"},
        {"C-s", "key 13 char 13 shift 2"},
        {"C-q", "key 11 char 11 shift 2"},
        {"C-z", "key 1A char 1A shift 2"},
        {"Escape", "key 1B char 1B shift 0"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Reports(c.keys, c.report)) << c.keys << "\n" << Pane();
    }
}

TEST_F(QvhostInTmux, ExtendedKeyReportsTellCtrlKeysFromThePlainOnes) {
    // tmux passes extended key reports on to a program that asks for them
    // (qvhost does, at start-up) once extended-keys is on.
    tmuxConfig = "set -s extended-keys on\n";
    Launch("TERM=xterm-256color", "", 90, 30);
    ASSERT_TRUE(WaitForPane("ready 90x30")) << Pane();
    struct Case {
        const char* keys;
        const char* report;
    };
    const Case cases[] = {
        {"C-Tab", "key 10094 char 0 shift 2"},
        {"C-Enter", "key 9001C char 0 shift 2"},
        {"C-1", "key 40031 char 0 shift 2"},
        {"C-S-1", "key 60031 char 0 shift 6"},
        {"M-BSpace", "key 1000E char 0 shift 1"},
        {"M-S-BSpace", "key 3000E char 0 shift 5"},
        {"C-S-F5", "key 30062 char 0 shift 6"},
        {"C-S-a", "key 20001 char 1 shift 6"},
        {"Tab", "key 9 char 9 shift 0"},
        {"C-b", "key 2 char 2 shift 2"},
        {"x", "key 78 char 78 shift 0"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Reports(c.keys, c.report)) << c.keys << "\n" << Pane();
    }
    // On the way out the terminal gets its usual key reports back: the shell
    // after qvhost sees Ctrl+Tab as a plain Tab, not as a report.
    Tmux("send-keys -t 0 q");
    ASSERT_EQ(ExitCode(), 0) << Pane();
    Tmux("send-keys -t 0 C-Tab");
    Tmux("send-keys -t 0 -l back");
    EXPECT_TRUE(WaitForPane("back")) << Pane();
    EXPECT_EQ(Pane().find("9;5u"), std::string::npos) << Pane();
}

TEST_F(QvhostInTmux, TheTerminalGetsItsKeyReportsBackAfterACrash) {
    // The program killed (qvhost outlives it), and qvhost itself crashing.
    struct Case {
        const char* what;
        bool program;
        int signal;
    };
    const Case cases[] = {{"program killed", true, SIGKILL}, {"qvhost crashed", false, SIGSEGV}};
    tmuxConfig = "set -s extended-keys on\n";
    for (const Case& c : cases) {
        Launch("TERM=xterm-256color", "", 90, 30);
        ASSERT_TRUE(WaitForPane("ready 90x30")) << c.what << "\n" << Pane();
        EXPECT_TRUE(Reports("C-Tab", "key 10094 char 0 shift 2")) << c.what << "\n" << Pane();
        // The session's shell runs qvhost, which runs the program.
        const std::string shell = Tmux("display -p -t 0 '#{pane_pid}'");
        std::string victim = RunShell("ps -o pid= --ppid " + std::to_string(std::stoi(shell)));
        if (c.program) {
            victim = RunShell("ps -o pid= --ppid " + std::to_string(std::stoi(victim)));
        }
        ASSERT_EQ(kill(std::stoi(victim), c.signal), 0) << c.what;
        ASSERT_NE(ExitCode(), -1) << c.what << "\n" << Pane();
        Tmux("send-keys -t 0 C-Tab");
        Tmux("send-keys -t 0 -l back");
        EXPECT_TRUE(WaitForPane("back")) << c.what << "\n" << Pane();
        EXPECT_EQ(Pane().find("9;5u"), std::string::npos) << c.what << "\n" << Pane();
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

TEST_F(QvhostInTmux, NothingOfTheProgramsDataDrivesTheTerminal) {
    // A title with a bell (which ends the title sequence), a clear-screen and
    // a cursor move: the terminal must take it as text.
    EXPECT_TRUE(Reports("t", "key 74 char 74 shift 0")) << Pane();
    EXPECT_TRUE(WaitFor([&] { return Tmux("display -p -t 0 '#{pane_title}'").find("evil") != std::string::npos; }));
    EXPECT_EQ(Tmux("display -p -t 0 '#{pane_title}'"), "evil??[2J?[5;5HPWNED\n");
    const std::string pane = Pane();
    EXPECT_EQ(pane.find("PWNED"), std::string::npos) << pane;
    EXPECT_NE(pane.find("ready 90x30"), std::string::npos) << pane;
}

TEST_F(QvhostInTmux, EveryCellTakesOneTerminalColumn) {
    // Wide CJK and emoji, a combining accent and a zero-width space: each a
    // one-column stand-in, so the closing bar stays in the program's column.
    EXPECT_TRUE(Reports("u", "key 75 char 75 shift 0")) << Pane();
    const std::string shown = "[\uFFFD\uFFFD\uFFFD|\uFFFD|e\uFFFD|\uFFFD]";
    ASSERT_TRUE(WaitForPane(shown)) << Pane();
    std::istringstream rows(Pane());
    std::string row;
    for (int y = 0; y <= 26 && std::getline(rows, row); ++y) {}
    EXPECT_EQ(row.substr(0, shown.size()), shown);
}

// The mouse and the modified keys under terminal descriptions that name
// neither the SGR mouse reports nor the xterm forms of modified keys.
class QvhostUnderTerm : public QvhostInTmux, public ::testing::WithParamInterface<const char*> {};

TEST_P(QvhostUnderTerm, MouseReportsModifiedKeysAndDoubleClicks) {
    Launch(std::string("TERM=") + GetParam(), "", 90, 30);
    ASSERT_TRUE(WaitForPane("ready 90x30")) << Pane();
    struct Case {
        const char* sent;
        const char* report;
    };
    const Case cases[] = {
        {"\\033[<0;71;11M", "mouse action 0 at 70,10 shift 0 button 1"},
        {"\\033[<0;71;11m", "mouse action 5 at 70,10 shift 0 button 1"},
        {"\\033[<2;3;4M", "mouse action 1 at 2,3 shift 0 button 2"},
        {"\\033[<64;3;4M", "mouse action 7 at 2,3 shift 0 button 120"},
        {"\\033[1;4P", "key 30068 char 0 shift 5"},   // Shift+Alt+F1
        {"\\033[1;4S", "key 3006B char 0 shift 5"},   // Shift+Alt+F4
        {"\\033[18;4~", "key 3006E char 0 shift 5"},  // Shift+Alt+F7
        {"\\033[20;4~", "key 30070 char 0 shift 5"},  // Shift+Alt+F9
        {"\\033[15;2~", "key 30058 char 0 shift 4"},  // Shift+F5
        {"\\033[1;5D", "key 10073 char 0 shift 2"},   // Ctrl+Left
        {"\\033[3;3~", "key 100A3 char 0 shift 1"},   // Alt+Del
        {"\\033[6;5~", "key 10076 char 0 shift 2"},   // Ctrl+PgDn
        {"\\033[24;7~", "key 1008A char 0 shift 3"},  // Ctrl+Alt+F12
        {"\\033[15;6~", "key 30062 char 0 shift 6"},  // Ctrl+Shift+F5
        // The extended reports, whatever the terminal description says.
        {"\\033[9;5u", "key 10094 char 0 shift 2"},      // Ctrl+Tab
        {"\\033[27;5;13~", "key 9001C char 0 shift 2"},  // Ctrl+Enter
        {"\\033[127;4u", "key 3000E char 0 shift 5"},    // Shift+Alt+Backspace
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Reports("-l \"$(printf '" + std::string(c.sent) + "')\"", c.report)) << c.sent << "\n" << Pane();
    }
    // Two clicks on one cell in quick succession: the second press is a double click.
    Tmux("send-keys -t 0 -l \"$(printf '\\033[<0;9;9M\\033[<0;9;9m\\033[<0;9;9M\\033[<0;9;9m')\"");
    events += 4;
    EXPECT_TRUE(WaitForPane(std::to_string(events - 3) + ": mouse action 0 at 8,8")) << Pane();
    EXPECT_TRUE(WaitForPane(std::to_string(events - 1) + ": mouse action 4 at 8,8")) << Pane();
    EXPECT_TRUE(WaitForPane(std::to_string(events) + ": mouse action 5 at 8,8")) << Pane();
}

INSTANTIATE_TEST_SUITE_P(Terms, QvhostUnderTerm, ::testing::Values("tmux-256color", "screen", "xterm-256color"));

TEST_F(QvhostInTmux, TheProgramsErrorsAreShownAfterTheFullScreen) {
    WriteFile(dir + "/quorvane",
              "#!/bin/sh\necho \"quorvane: unknown option $1\" >&2\necho 'Usage: quorvane [options]' >&2\nexit 2\n",
              true);
    Launch("TERM=xterm-256color", "-z", 90, 30);
    EXPECT_EQ(ExitCode(), 2);
    EXPECT_TRUE(WaitForPane("quorvane: unknown option -z\nUsage: quorvane [options]")) << Pane();
}

TEST_F(QvhostInTmux, TheExitFileIsAShellScriptThatLandsInTheDirectory) {
    // A program that writes its exit directory the way quorvane does: a drive
    // line, then cd "<directory>", into the file it was given (C: is /).
    const std::string target = dir + "/it's $(touch pwned) & `touch pwned2`; echo pwned";
    ASSERT_TRUE(fs::create_directory(target));
    std::string windows = target;
    for (char& c : windows) {
        if (c == '/')
            c = '\\';
    }
    WriteFile(dir + "/target", windows);
    WriteFile(dir + "/quorvane",
              "#!/bin/sh\n"
              "while [ $# -gt 0 ]; do if [ \"$1\" = -x ]; then f=$2; fi; shift; done\n"
              "p=$(printf '%s' \"$f\" | sed 's/^C://; s/\\\\/\\//g')\n"
              "printf 'C:\\r\\ncd \"%s\"\\r\\n' \"$(cat target)\" > \"$p\"\n",
              true);
    Launch("TERM=xterm-256color QUORVANE_DRIVES=C=/", "-x exit.sh", 90, 30);
    ASSERT_EQ(ExitCode(), 0) << Pane();
    const std::string landed = RunShell("cd / && . '" + dir + "/exit.sh' && pwd");
    EXPECT_EQ(landed, target + "\n");
    EXPECT_FALSE(fs::exists(dir + "/pwned"));
    EXPECT_FALSE(fs::exists("/pwned"));
    // A file that cannot be written: an error and an exit code that is not 0.
    Launch("TERM=xterm-256color QUORVANE_DRIVES=C=/", "-x no-such-folder/exit.sh", 90, 30);
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_TRUE(WaitForPane("qvhost: cannot write no-such-folder/exit.sh")) << Pane();
}

// The real program under qvhost: a panel of a folder of our own, data files in
// a folder of our own (C: is /).
class QvhostWithProgram : public QvhostInTmux {
protected:
    void StartProgram(int columns, int rows) {
        const char* binary = std::getenv("QV_BINARY_DIR");
        fs::remove(dir + "/quorvane");
        fs::copy_file(std::string(binary) + "/bin/quorvane", dir + "/quorvane");
        fs::create_directories(dir + "/appdata");
        fs::create_directories(dir + "/panel/target-sub");
        WriteFile(dir + "/panel/target-sub/inside-file", "x");
        Launch("TERM=xterm-256color QUORVANE_DRIVES=C=/ 'APPDATA=" + Windows(dir + "/appdata") + "'",
               "-l '" + Windows(dir + "/panel") + "' -r '" + Windows(dir + "/panel") + "'", columns, rows);
    }
    static std::string Windows(std::string posix) {
        for (char& c : posix) {
            if (c == '/')
                c = '\\';
        }
        return "C:" + posix;
    }
    // The row and column of text on the pane, -1 when it is not there.
    std::pair<int, int> Find(const std::string& text) {
        std::istringstream rows(Pane());
        std::string row;
        for (int y = 0; std::getline(rows, row); ++y) {
            const size_t at = row.find(text);
            if (at != std::string::npos) {
                // Columns count characters, not bytes: the frame is UTF-8.
                int column = 0;
                for (size_t i = 0; i < at; ++i) {
                    column += (static_cast<unsigned char>(row[i]) & 0xC0) != 0x80;
                }
                return {y, column};
            }
        }
        return {-1, -1};
    }
};

TEST_F(QvhostWithProgram, ATerminalBelowTheLeastScreenShowsWhatFitsAndANotice) {
    StartProgram(70, 20);
    ASSERT_TRUE(WaitForPane("target-sub")) << Pane();
    EXPECT_TRUE(WaitForPane("Quorvane needs 80x25; this terminal is 70x20.")) << Pane();
    EXPECT_EQ(Find("Quorvane needs").first, 19) << Pane();
    // Grown past the least screen: the whole screen, key bar at the bottom.
    Tmux("resize-window -t 0 -x 100 -y 30");
    EXPECT_TRUE(WaitFor([&] { return Find("10Quit").first == 29; })) << Pane();
    EXPECT_EQ(Pane().find("Quorvane needs"), std::string::npos) << Pane();
    // And smaller once more, in rows only.
    Tmux("resize-window -t 0 -x 100 -y 22");
    EXPECT_TRUE(WaitForPane("Quorvane needs 100x25; this terminal is 100x22.")) << Pane();
}

TEST_F(QvhostWithProgram, ModifiedKeysReachAChildAndTheCommandsTheyName) {
    tmuxConfig = "set -s extended-keys on\n";
    StartProgram(100, 30);
    ASSERT_TRUE(WaitForPane("target-sub")) << Pane();
    // Ctrl+Tab completes the word at the cursor.
    Tmux("send-keys -t 0 -l 'echo target-s'");
    Tmux("send-keys -t 0 C-Tab");
    EXPECT_TRUE(WaitForPane("echo target-sub")) << Pane();
    // (An Escape followed at once by another key would be Alt with that key.)
    Tmux("send-keys -t 0 Escape");
    ASSERT_TRUE(WaitFor([&] { return Pane().find("echo target-sub") == std::string::npos; })) << Pane();
    // Ctrl+Shift+F5 makes links (of the cursor entry), where Ctrl+F5 sorts by time.
    Tmux("send-keys -t 0 Down");
    ASSERT_TRUE(WaitForPane("\u2551target-sub ")) << Pane();
    Tmux("send-keys -t 0 C-S-F5");
    EXPECT_TRUE(WaitForPane("Make symbolic link to")) << Pane();
    Tmux("send-keys -t 0 Escape");
    ASSERT_TRUE(WaitFor([&] { return Pane().find("Make symbolic link to") == std::string::npos; })) << Pane();
    // A child reads the keys typed, and nothing after a key with Ctrl held.
    // (Keys typed before the child runs are the program's, not the child's.)
    Tmux("send-keys -t 0 -l 'sh -c \"echo child-runs; exec cat -v\"'");
    Tmux("send-keys -t 0 Enter");
    ASSERT_TRUE(WaitForPane("child-runs\n")) << Pane();
    Tmux("send-keys -t 0 a C-b b Enter");
    EXPECT_TRUE(WaitForPane("a^Bb\n")) << Pane();
    EXPECT_EQ(Pane().find("^@"), std::string::npos) << Pane();
    Tmux("send-keys -t 0 C-d");
}

TEST_F(QvhostWithProgram, ADoubleClickOnADirectoryEntersIt) {
    StartProgram(100, 30);
    ASSERT_TRUE(WaitForPane("target-sub")) << Pane();
    const std::pair<int, int> at = Find("target-sub");
    const std::string cell = std::to_string(at.second + 2) + ";" + std::to_string(at.first + 1);
    Tmux("send-keys -t 0 -l \"$(printf '\\033[<0;" + cell + "M\\033[<0;" + cell + "m\\033[<0;" + cell + "M\\033[<0;" +
         cell + "m')\"");
    EXPECT_TRUE(WaitForPane("inside-file")) << Pane();
}

TEST_F(QvhostWithProgram, NamesOfWideAndCombiningCharactersKeepEveryRowTheScreensWidth) {
    for (const char* name : {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", "\xF0\x9F\x98\x80 emoji", "e\xCC\x81" "cole",
                             "zero\xE2\x80\x8Bwidth", "\xE4\xB8\xAD"}) {
        fs::create_directories(dir + "/panel");
        WriteFile(dir + "/panel/" + name, "x");
    }
    StartProgram(100, 30);
    ASSERT_TRUE(WaitForPane("target-sub")) << Pane();
    // Every row of the panels ends in the right panel's frame, in column 99,
    // with the cursor bar on each name in turn and in either panel.
    auto framesHold = [&] {
        std::istringstream rows(Pane());
        std::string row;
        for (int y = 0; std::getline(rows, row) && y < 20; ++y) {
            std::u32string cells;
            for (size_t i = 0; i < row.size(); ++i) {
                if ((static_cast<unsigned char>(row[i]) & 0xC0) != 0x80) {
                    cells += U' ';
                }
            }
            if (cells.size() != 100) {
                return false;
            }
        }
        return true;
    };
    for (const char* key : {"Down", "Down", "Down", "Down", "Down", "Tab", "Down", "Down", "Down", "Down"}) {
        Tmux(std::string("send-keys -t 0 ") + key);
        EXPECT_TRUE(WaitFor(framesHold)) << key << "\n" << Pane();
    }
    EXPECT_NE(Pane().find("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.txt"), std::string::npos) << Pane();
}

}  // namespace
