// The real program under the scripted host: start-up with a fresh data
// folder, the key bar and its shift label sets, the clock, command-line
// editing, quitting, resizing, and the options that end it early.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

bool MatchesClockPattern(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        bool digit = c >= '0' && c <= '9';
        bool ok = (pattern[i] == 'h' && (digit || c == ' ')) || (pattern[i] == 'd' && digit) ||
                  (pattern[i] == 's' && (c == ':' || c == ' ')) || (pattern[i] == 'm' && (c == 'a' || c == 'p'));
        if (!ok) {
            return false;
        }
    }
    return true;
}

// The program with both panels on T:\work and the arguments of the test after them.
class MainProgramTest : public qvtest::ProgramTest {
protected:
    ScriptedHost::Options Options(const std::vector<std::string>& args = {}) const {
        std::vector<std::string> all = {"-l", "T:\\work", "-r", "T:\\work"};
        all.insert(all.end(), args.begin(), args.end());
        return ProgramTest::Options(all);
    }

    // The main loop has drawn its first pass: the key bar and the prompt.
    bool WaitForKeyBar(ScriptedHost&) { return KeyBarShown(ScriptedHost::DefaultTimeoutMs); }

    // Runs the program with its standard error going to a file; the exit
    // code, and what it wrote there.
    int RunCapturingErrors(ScriptedHost::Options options, std::string& errors) {
        options.errorFile = PathOf("stderr.txt");
        int code = Launch(options).WaitExit();
        errors = Read("stderr.txt");
        if (qvtest::OnWindowsLeg()) {
            // A Windows program's text-mode output ends its lines with CR LF.
            for (size_t at; (at = errors.find("\r\n")) != std::string::npos;) {
                errors.erase(at, 1);
            }
        }
        return code;
    }

    static std::string Row(ScriptedHost& host, int y) {
        ScreenModel screen = host.Snapshot();
        return screen.RowText(y < 0 ? screen.Rows() + y : y);
    }

    // Waits until the command line (the row above the key bar) ends its text
    // with `text` after the prompt.
    static bool WaitForCommandLine(ScriptedHost& host, const std::string& text) {
        return host.WaitFor([&](const ScreenModel& s) {
            std::string row = s.RowText(s.Rows() - 2);
            size_t prompt = row.find('>');
            if (prompt == std::string::npos) {
                return false;
            }
            std::string line = row.substr(prompt + 1);
            line.erase(line.find_last_not_of(' ') + 1);
            return line == text;
        });
    }
};

TEST_F(MainProgramTest, StartsWithAFreshDataFolderAndQuitsOnF10AfterTheQuestion) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host)) << host.ScreenText();
    EXPECT_NE(Row(host, -1).find("1Help"), std::string::npos);
    EXPECT_NE(Row(host, -1).find("8Delete"), std::string::npos);
    EXPECT_NE(Row(host, -2).find("T:\\work>"), std::string::npos) << host.ScreenText();

    // Cancel keeps the program running.
    host.SendKey(KEY_F10);
    ASSERT_TRUE(host.WaitForText("Are you sure you want to exit Quorvane ?")) << host.ScreenText();
    host.SendKey(KEY_ESC);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.Dump().find("Are you sure") == std::string::npos; }));
    host.SendKey(KEY_F10);
    ASSERT_TRUE(host.WaitForText("Are you sure you want to exit Quorvane ?"));
    host.SendKey(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(MainProgramTest, QuitsAtOnceWhenTheQuitConfirmationIsOff) {
    ScriptedHost& host = Launch(Options({Ini("Confirmations=8\r\n")}));
    ASSERT_TRUE(WaitForKeyBar(host)) << host.ScreenText();
    host.SendKey(KEY_F10);
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(MainProgramTest, KeyBarClickPressesTheKeyOnlyWhenReleasedOverTheSameSlot) {
    const int Press = 1;
    const int Release = 2;
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host));
    // Pressed on F10, released over F9: nothing.
    host.SendMouse(Press, 1, 75, 24);
    host.SendMouse(Release, 1, 70, 24);
    host.WaitQuiet();
    EXPECT_EQ(host.Snapshot().Dump().find("Are you sure"), std::string::npos);
    host.SendMouse(Press, 1, 75, 24);
    host.SendMouse(Release, 1, 76, 24);
    ASSERT_TRUE(host.WaitForText("Are you sure you want to exit Quorvane ?")) << host.ScreenText();
    host.SendKey(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(MainProgramTest, DoubleClickOnADirectoryEntersIt) {
    const int DoubleClick = 4;
    MakeFolder("work/sub");
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host));
    // Row 1 holds "..", row 2 the directory.
    host.SendMouse(DoubleClick, 1, 5, 2);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(23).find("T:\\work\\sub>") == 0; }))
        << host.ScreenText();
}

TEST_F(MainProgramTest, EndsWhenTheHostClosesItsInput) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host));
    host.CloseInput();
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(MainProgramTest, KeyBarShowsTheLabelsOfTheShiftKeysHeld) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host));
    struct TCase {
        int shift;
        const char* label;
    };
    const TCase cases[] = {
        {1, "9EGA Ln"}, {2, "4Exten"}, {4, "1Manual"}, {5, "4BriefW"}, {6, "5SymLnk"}, {0, "6RenMov"},
    };
    for (const TCase& c : cases) {
        // A key event of code 0 carries only a new shift state.
        host.SendKey(0, 0, c.shift);
        EXPECT_TRUE(host.WaitFor([&](const ScreenModel& s) {
            return s.RowText(s.Rows() - 1).find(c.label) != std::string::npos;
        })) << c.shift
            << "\n"
            << host.ScreenText();
    }
    // Slot 3 of the Alt set at cells 16 to 23 on an 80-column screen.
    host.SendKey(0, 0, SHIFT_ALT);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(24, 16, 7) == "3View.."; }))
        << host.ScreenText();
}

// A host reports the shift keys held by a key event that carries no key:
// code 0, or KEY_IGNORED. Either way the key bar shows the labels of what is
// held, and the plain ones once it is released.
TEST_F(MainProgramTest, KeyBarFollowsTheShiftKeysAHostReportsHeld) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host));
    struct TCase {
        int shift;
        std::vector<std::string> labels;  // in the order the bar shows them
    };
    const TCase cases[] = {
        {SHIFT_ALT, {"1Left", "2Right", "5DStore"}},
        {0, {"1Help", "2Menu", "5Copy"}},
        {SHIFT_CTRL, {"3Name", "4Exten", "5Time"}},
        {0, {"1Help", "2Menu", "5Copy"}},
    };
    for (int code : {0, KEY_IGNORED}) {
        for (const TCase& c : cases) {
            host.SendKey(code, 0, c.shift);
            EXPECT_TRUE(host.WaitFor([&](const ScreenModel& s) {
                std::string bar = s.RowText(s.Rows() - 1);
                size_t at = 0;
                for (const std::string& label : c.labels) {
                    at = bar.find(label, at);
                    if (at == std::string::npos) {
                        return false;
                    }
                }
                return true;
            })) << "code " << code << ", shift " << c.shift << "\n"
                << host.ScreenText();
        }
    }
}

TEST_F(MainProgramTest, ClockShowsTheTimeInBothModes) {
    struct TCase {
        const char* mode;
        int width;
        const char* pattern;
    };
    // h: a blank or a digit, d: a digit, s: ':' or a blank, m: 'a' or 'p'.
    const TCase cases[] = {
        {"24", 5, "hdsdd"},
        {"12", 6, "hdsddm"},
    };
    for (const TCase& c : cases) {
        ScriptedHost& host = Launch(Options({Ini(std::string("Clock=on\r\nTimeMode=") + c.mode + "\r\n")}));
        ASSERT_TRUE(WaitForKeyBar(host));
        EXPECT_TRUE(host.WaitFor([&](const ScreenModel& s) {
            return MatchesClockPattern(s.RowText(0, 80 - c.width, c.width), c.pattern);
        })) << c.mode
            << "\n"
            << host.ScreenText();
        host.CloseInput();
        EXPECT_EQ(host.WaitExit(), 0);
    }
}

TEST_F(MainProgramTest, CommandLineEditsTypedText) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host));
    host.SendText("copy one two");
    ASSERT_TRUE(WaitForCommandLine(host, "copy one two")) << host.ScreenText();
    host.SendKey(KEY_CTRL_LEFT);
    host.SendKey(KEY_BACKSPACE);
    ASSERT_TRUE(WaitForCommandLine(host, "copy onetwo"));
    host.SendText(" X");
    ASSERT_TRUE(WaitForCommandLine(host, "copy one Xtwo"));
    host.SendKey(KEY_CTRL_HOME);
    host.SendKey(KEY_DELETE);
    ASSERT_TRUE(WaitForCommandLine(host, "opy one Xtwo"));
    // Word right stops at the end of the word ("BriefWordRight" is on by default).
    host.SendKey(KEY_CTRL_RIGHT);
    host.SendText("_");
    ASSERT_TRUE(WaitForCommandLine(host, "opy_ one Xtwo")) << host.ScreenText();
    // The cursor stands after the inserted character ("T:\work>" and "opy_").
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.CursorY() == 23 && s.CursorX() == 12; }))
        << host.Snapshot().Dump();
    // Esc clears the line.
    host.SendKey(KEY_ESC);
    ASSERT_TRUE(WaitForCommandLine(host, ""));
}

TEST_F(MainProgramTest, CommandHistoryRecallsEnteredLines) {
    ScriptedHost& host = Launch(Options({Ini("PauseAfterRun=on\r\n")}));
    ASSERT_TRUE(WaitForKeyBar(host));
    const char* const commands[] = {"first", "second"};
    for (const char* command : commands) {
        host.SendText(command);
        ASSERT_TRUE(WaitForCommandLine(host, command));
        host.SendKey(KEY_ENTER, KEY_ENTER);
        // No such program: the interpreter says so; a key brings the panels back.
        ASSERT_TRUE(host.WaitForText("Press any key to continue")) << host.ScreenText();
        host.SendText("x");
        ASSERT_TRUE(host.WaitForTextGone("Press any key to continue"));
        ASSERT_TRUE(WaitForCommandLine(host, ""));
    }
    host.SendText("draft");
    host.SendKey(KEY_CTRL_E);  // Ctrl-E: previous command
    ASSERT_TRUE(WaitForCommandLine(host, "second"));
    host.SendKey(KEY_CTRL_E);
    ASSERT_TRUE(WaitForCommandLine(host, "first"));
    host.SendKey(KEY_CTRL_E);
    ASSERT_TRUE(WaitForCommandLine(host, "draft"));
    host.SendKey(KEY_CTRL_X);  // next command
    ASSERT_TRUE(WaitForCommandLine(host, "first"));
}

TEST_F(MainProgramTest, ResizeLaysTheScreenOutAgainAtLeast80By25) {
    ScriptedHost::Options options = Options();
    options.columns = 100;
    options.rows = 30;
    ScriptedHost& host = Launch(options);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(29).find("10Quit") != std::string::npos; }))
        << host.ScreenText();
    host.SendResize(70, 20);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.Columns() == 80 && s.Rows() == 25 && s.RowText(24).find("10Quit") != std::string::npos &&
               s.RowText(23).find("T:\\work>") != std::string::npos;
    })) << host.ScreenText();
    // Several resizes in a row: the last size wins.
    host.SendResize(90, 30);
    host.SendResize(120, 40);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.Columns() == 120 && s.Rows() == 40 && s.RowText(39).find("10Quit") != std::string::npos;
    })) << host.ScreenText();
}

bool AnyRowHas(const ScreenModel& s, const std::string& text) {
    for (int y = 0; y < s.Rows(); y++) {
        if (s.RowText(y).find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A dialog keeps its place when the size changes under it; the panels are
// laid out for the new size once it is gone.
TEST_F(MainProgramTest, ASizeChangeDuringADialogIsAppliedWhenTheDialogEnds) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host));
    host.SendKey(KEY_ALT_F5);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return AnyRowHas(s, " Stored Paths "); })) << host.ScreenText();
    host.SendResize(100, 30);
    // The dialog still takes its keys.
    host.SendKey(KEY_ESC, KEY_ESC);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.Columns() == 100 && s.Rows() == 30 && s.RowText(29).find("10Quit") != std::string::npos &&
               !AnyRowHas(s, " Stored Paths ");
    })) << host.ScreenText();
}

TEST_F(MainProgramTest, AbsurdSizesAndPointsFromTheHostChangeNothing) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForKeyBar(host)) << host.ScreenText();
    const int32_t far = 2147483647, near = -2147483647 - 1;
    const int32_t points[][2] = {{near, near}, {far, far}, {near, 5}, {5, far}, {-1, -1}};
    // In the main loop, then over a dialog.
    for (bool dialog : {false, true}) {
        SCOPED_TRACE(dialog ? "dialog" : "main loop");
        host.SendResize(far, 25);
        host.SendResize(1001, 1001);
        host.SendResize(near, near);
        // The scripted host's own screen took those sizes as best it could;
        // a sane one brings it back to what the program still shows.
        host.SendResize(80, 25);
        if (dialog) {
            host.SendKey(KEY_F10);
            ASSERT_TRUE(host.WaitForText("Are you sure you want to exit Quorvane ?")) << host.ScreenText();
        }
        for (const auto& point : points) {
            for (int32_t kind : {1, 2, 3, 4, 5}) {
                host.SendMouse(kind, kind == 5 ? -1 : 1, point[0], point[1]);
            }
        }
        if (dialog) {
            host.SendKey(KEY_ESC);
            ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) {
                return s.Dump().find("Are you sure") == std::string::npos;
            })) << host.ScreenText();
        }
    }
    // Still running, laid out for the last size that a screen can have.
    host.SendResize(100, 30);
    host.SendText("alive");
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.Columns() == 100 && s.Rows() == 30 && s.RowText(29).find("10Quit") != std::string::npos &&
               s.RowText(28).find(">alive") != std::string::npos;
    })) << host.ScreenText();
}

TEST_F(MainProgramTest, ExitDirectoryFileHoldsTheDriveAndCdLines) {
    MakeFolder("work/sub");
    ScriptedHost::Options options = Options({Ini("Confirmations=8\r\n"), "-x", "T:\\go.bat"});
    options.args[1] = "T:\\work\\sub";
    ScriptedHost& host = Launch(options);
    ASSERT_TRUE(WaitForKeyBar(host));
    host.SendKey(KEY_F10);
    ASSERT_EQ(host.WaitExit(), 0);
    EXPECT_EQ(Read("go.bat"), "T:\r\ncd \"\\work\\sub\"\r\n");
}

TEST_F(MainProgramTest, ExitDirectoryFileRefusesANameABatchLineCannotQuote) {
    // '"' and control characters cannot reach a panel (the paths refuse them);
    // '%' can, and would expand inside the quotes.
    const std::string name = "x%PATH% & echo pwned";
    ASSERT_EQ(mkdir((root + "/work/" + name).c_str(), 0700), 0);
    Write("go.bat", "older");
    ScriptedHost::Options options = Options({Ini("Confirmations=8\r\n"), "-x", "T:\\go.bat"});
    options.args[1] = "T:\\work\\" + name;
    options.errorFile = PathOf("stderr.txt");
    ScriptedHost& host = Launch(options);
    EXPECT_TRUE(WaitForKeyBar(host)) << host.ScreenText();
    host.SendKey(KEY_F10);
    int code = host.WaitExit();
    std::string errors = Read("stderr.txt");
    EXPECT_NE(code, 0);
    EXPECT_NE(errors.find("-x: the directory T:\\work\\" + name + " is not written"), std::string::npos) << errors;
    EXPECT_EQ(Read("go.bat"), "older");
}

TEST_F(MainProgramTest, OptionErrorsGoToStandardErrorWithExitCode1) {
    std::string errors;
    ScriptedHost::Options noFile = Options();
    noFile.args = {"-v"};
    EXPECT_EQ(RunCapturingErrors(noFile, errors), 1);
    EXPECT_EQ(errors, "No file specified\n");

    ScriptedHost::Options usage = Options();
    usage.args = {"-h", "host"};
    EXPECT_EQ(RunCapturingErrors(usage, errors), 1);
    EXPECT_EQ(errors.rfind("Usage:\tqv [ini_file] [-v|-e file_name]", 0), 0u) << errors;
    EXPECT_NE(errors.find("\t-s: run a script\n"), std::string::npos);
}

}  // namespace

TEST_F(MainProgramTest, AMalformedDriveMapStopsTheRunNamingTheVariableAndTheItem) {
    if (qvtest::OnWindowsLeg()) {
        // Not a test of the Windows program, whose drives are the system's own.
        qvtest::CountInWindowsLeg(false);
        GTEST_SKIP() << "the drive map is read by the Linux layer only";
    }
    const struct {
        std::string drives;
        std::string item;  // what the error quotes
    } cases[] = {
        {"C=/;1=/", "\"1=/\""},
        {"CC=/tmp;T=" + root, "\"CC=/tmp\""},
        {"=", "\"=\""},
        {"C=/;C=", "\"C=\""},
        {"C=relative/folder", "\"C=relative/folder\""},
        {"C=/;T=" + root + ";c=/tmp", "given twice (\"c=/tmp\")"},
    };
    for (const auto& c : cases) {
        ScriptedHost::Options options = Options();
        options.env["QUORVANE_DRIVES"] = c.drives;
        std::string errors;
        EXPECT_NE(RunCapturingErrors(options, errors), 0) << c.drives;
        EXPECT_EQ(errors.rfind("QUORVANE_DRIVES: ", 0), 0u) << c.drives << ": " << errors;
        EXPECT_NE(errors.find(c.item), std::string::npos) << c.drives << ": " << errors;
        // One line, not one complaint per path the program tried.
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
}

namespace {

// Keys typed while the two panels of the start-up are still being read wait
// in the host's queue and are acted on, in their order, once the main loop
// runs: none is taken for the reads' Ctrl-C poll and dropped.
TEST_F(MainProgramTest, KeysTypedDuringTheStartupReadsAreKept) {
    for (const char* side : {"left", "right"}) {
        MakeFolder(side);
        for (int i = 0; i < 8000; i++) {
            std::string name = PathOf(std::string(side) + "/file" + std::to_string(i) + ".txt");
            int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            ASSERT_GE(fd, 0) << name;
            close(fd);
        }
    }
    ScriptedHost& host = Launch(ProgramTest::Options({"-l", "T:\\left", "-r", "T:\\right"}));
    host.SendText("echo kept");
    host.SendKey(KEY_LEFT);
    host.SendText("X");
    ASSERT_TRUE(KeyBarShown(30000)) << host.ScreenText();
    EXPECT_TRUE(WaitForCommandLine(host, "echo kepXt")) << host.ScreenText();
    // Both panels show their folders.
    ScreenModel screen = host.Snapshot();
    EXPECT_GE(RowOf(screen, "file0.txt"), 0) << host.ScreenText();
}

}  // namespace
