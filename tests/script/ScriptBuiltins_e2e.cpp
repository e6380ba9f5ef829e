// The builtins over the running program, in the real program: a script run
// with -s over T:\w (a.txt, b.dat and sub\) reads and tags the left panel,
// changes its directory, asks, views, colours its output, reaches the
// environment, the clipboard and the ini file, and works on files; the same
// same script typed on the command line and run from a user-menu entry.
#include <sys/time.h>

#include <dirent.h>

#include "tests/support/ProgramTest.h"

namespace qvtest {
namespace {

class ScriptBuiltinsE2E : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        MakeFolder("w");
        MakeFolder("w/sub");
        Write("w/a.txt", "first line of a\r\nsecond\r\n");
        Write("w/b.dat", "12345");
        // 2020-01-02 03:04:05 UTC
        struct timeval times[2] = {{1577934245, 0}, {1577934245, 0}};
        utimes(PathOf("w/a.txt").c_str(), times);
    }
    // Runs the script with -s, the left panel on T:\w, and waits for its end.
    ScriptedHost& RunScript(const std::string& text, const std::vector<std::string>& words = {">T:\\o.txt"}) {
        Write("t.qvs", text);
        std::vector<std::string> args = {"-l", "T:\\w", "-s", "T:\\t.qvs"};
        args.insert(args.end(), words.begin(), words.end());
        return Launch(Options(args));
    }
    // The script that runs three ways (with -s, typed, from the user menu):
    // it lists, tags and reads the active panel on T:\w, views a.txt and
    // moves the panel to T:\w\sub. Its names are full paths: with -s the
    // process stays in the directory it was started in.
    static const char* SharedScript() {
        return "for (e : files()) println(e.name, \" \", e.size, \" \", typeOf(e.mtime), \" \", e.tagged);\n"
               "for (e : files()) if (e.name == \"b.dat\") e.tagged = true;\n"
               "for (e : files()) if (e.tagged) println(\"tagged \", e.name);\n"
               "println(expandTimestamp(files()[2].mtime).year);\n"
               "view(\"T:\\\\w\\\\a.txt\"); println(\"after view\");\n"
               "println(cd(\"T:\\\\w\\\\sub\"), \" \", getCurrentDir(), \" \", len(files()));\n";
    }
    // What it prints, line by line, whichever way it runs.
    static std::vector<std::string> SharedOutput() {
        return {".. 0 timestamp false",
                "sub 0 timestamp false",
                "a.txt 25 timestamp false",
                "b.dat 5 timestamp false",
                "tagged b.dat",
                "2020",
                "after view",
                "true T:\\w\\sub 1"};
    }
    // Starts the program with both panels on T:\w and the ini lines, the
    // shared script written to T:\t.qvs, outside the panel's folder.
    void StartOnTheFolder(const std::string& iniLines) {
        Write("t.qvs", SharedScript());
        Launch(Options({"-l", "T:\\w", "-r", "T:\\w", Ini(iniLines)}));
        ASSERT_TRUE(KeyBarShown(ScriptedHost::DefaultTimeoutMs)) << host->ScreenText();
    }
    // The viewer shows a.txt while the script waits; Esc gives the script
    // its screen back.
    void LeaveTheViewer(ScriptedHost& run) {
        ASSERT_TRUE(run.WaitForText("first line of a")) << run.Dump();
        run.PressKey("Esc");
    }
    // The shared output stands on the screen on rows one after another,
    // each row beginning with its line; with `alone`, holding nothing more.
    void ExpectSharedOutputOnScreen(bool alone) {
        ScreenModel screen = host->Snapshot();
        std::vector<std::string> lines = SharedOutput();
        int first = RowOf(screen, lines[0]);
        ASSERT_GE(first, 0) << screen.Dump();
        for (size_t i = 0; i < lines.size(); i++) {
            std::string row = screen.RowText(first + int(i));
            row.erase(row.find_last_not_of(' ') + 1);
            if (alone)
                EXPECT_EQ(lines[i], row) << screen.Dump();
            else
                EXPECT_EQ(0u, row.rfind(lines[i], 0)) << screen.Dump();
        }
        EXPECT_EQ(-1, RowOf(screen, "first line of a")) << screen.Dump();
    }
    // The text of the ini file the program wrote, found in the data folder.
    std::string IniText() {
        std::string folderPath = PathOf("appdata/Quorvane");
        DIR* dir = opendir(folderPath.c_str());
        std::string text;
        if (!dir)
            return text;
        while (dirent* item = readdir(dir)) {
            std::string name = item->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ini") == 0)
                text += Read("appdata/Quorvane/" + name);
        }
        closedir(dir);
        return text;
    }
};

TEST_F(ScriptBuiltinsE2E, EntriesTagsAndTheCurrentDirectory) {
    ScriptedHost& run = RunScript(SharedScript());
    LeaveTheViewer(run);
    EXPECT_EQ(0, run.WaitExit()) << run.Dump();
    std::string expected;
    for (const std::string& line : SharedOutput())
        expected += line + "\r\n";
    EXPECT_EQ(expected, Read("o.txt"));
}

TEST_F(ScriptBuiltinsE2E, AskViewAndColourDrawOverTheOutputAndGiveItBack) {
    ScriptedHost& run = RunScript(
        "println(\"before\");\n"
        "println(askConfirm(\"Go\", \"line\"));\n"
        "view(\"T:\\\\w\\\\a.txt\");\n"
        "println(\"after view\");\n"
        "edit(\"T:\\\\w\\\\b.dat\");\n"
        "colour(14, 1); print(\"X\"); colour(12); print(\"Y\");\n",
        {});
    ASSERT_TRUE(run.WaitForText("line")) << run.Dump();
    ASSERT_TRUE(run.WaitForText(" Go ")) << run.Dump();
    ASSERT_TRUE(run.WaitForText("OK")) << run.Dump();
    run.PressKey("Enter");
    ASSERT_TRUE(run.WaitForText("first line of a")) << run.Dump();
    run.PressKey("Esc");
    ASSERT_TRUE(run.WaitForText("12345")) << run.Dump();
    run.PressKey("Esc");
    EXPECT_EQ(0, run.WaitExit()) << run.Dump();
    ScreenModel screen = run.Snapshot();
    int before = RowOf(screen, "before");
    ASSERT_GE(before, 0) << screen.Dump();
    EXPECT_EQ(before + 1, RowOf(screen, "true")) << screen.Dump();
    EXPECT_EQ(before + 2, RowOf(screen, "after view")) << screen.Dump();
    EXPECT_EQ(-1, RowOf(screen, "first line of a")) << screen.Dump();
    int row = RowOf(screen, "X");
    ASSERT_GE(row, 0) << screen.Dump();
    std::string text = run.RowText(row);
    std::vector<uint8_t> attributes = run.RowAttributes(row);
    size_t x = text.find('X');
    ASSERT_LT(x, attributes.size());
    EXPECT_EQ(0x1E, attributes[x]);
    // One argument keeps the background.
    ASSERT_EQ(x + 1, text.find('Y'));
    EXPECT_EQ(0x1C, attributes[x + 1]);
}

TEST_F(ScriptBuiltinsE2E, CancelOrEscapeAnswersFalse) {
    ScriptedHost& run = RunScript("println(askConfirm(\"Go\", [\"a\", 42]));\n");
    ASSERT_TRUE(run.WaitForText("42")) << run.Dump();
    run.PressKey("Esc");
    EXPECT_EQ(0, run.WaitExit());
    EXPECT_EQ("false\r\n", Read("o.txt"));
}

// The dialog's size follows its title and lines, but never passes the
// screen: wider lines are cut, lines without a row left out.
TEST_F(ScriptBuiltinsE2E, TheQuestionFitsItsTextAndTheScreen) {
    ScriptedHost& small = RunScript("println(askConfirm(\"Go\", 5));\n");
    ASSERT_TRUE(small.WaitForText("[ OK ]")) << small.Dump();
    ScreenModel screen = small.Snapshot();
    int top = RowOf(screen, " Go ");
    ASSERT_GE(top, 0) << screen.Dump();
    // Columns, not bytes: the frame's characters take three bytes each.
    auto column = [](const std::string& row, const std::string& text) {
        size_t at = row.find(text);
        if (at == std::string::npos)
            return -1;
        int cells = 0;
        for (size_t i = 0; i < at; i++)
            cells += (uint8_t(row[i]) & 0xC0) != 0x80;
        return cells;
    };
    std::string frame = small.RowText(top);
    int left = column(frame, "\xe2\x95\x94");
    ASSERT_GE(left, 0) << frame;
    EXPECT_EQ(22, column(frame, "\xe2\x95\x97") - left + 1) << frame;
    EXPECT_EQ(top + 3, RowOf(screen, "\xe2\x95\x9a")) << screen.Dump();
    small.PressKey("Enter");
    EXPECT_EQ(0, small.WaitExit());
    EXPECT_EQ("true\r\n", Read("o.txt"));

    std::string lines = "l = [\"" + std::string(200, 'w') + "\"";
    for (int i = 1; i <= 40; i++)
        lines += ", \"line " + std::to_string(i) + "\"";
    lines += "];\n";
    ScriptedHost& big = RunScript(lines + "println(askConfirm(\"Big\", l));\n");
    ASSERT_TRUE(big.WaitForText("[ OK ]")) << big.Dump();
    ScreenModel full = big.Snapshot();
    EXPECT_EQ(0, RowOf(full, " Big ")) << full.Dump();
    EXPECT_GE(RowOf(full, "line 20"), 0) << full.Dump();
    EXPECT_EQ(-1, RowOf(full, "line 40")) << full.Dump();
    EXPECT_EQ(0u, big.RowText(0).find("\xe2\x95\x94")) << full.Dump();
    // The long line stays inside the frame.
    EXPECT_EQ(0u, big.RowText(1).find("\xe2\x95\x91w")) << full.Dump();
    big.PressKey("Esc");
    EXPECT_EQ(0, big.WaitExit());
    EXPECT_EQ("false\r\n", Read("o.txt"));
}

TEST_F(ScriptBuiltinsE2E, EnvironmentCommandsClipboardAndStoredPaths) {
    ScriptedHost& run = RunScript(
        "setEnvVar(\"QVX\", \"abc\"); println(getEnvVar(\"QVX\"));\n"
        "println(run(\"set QVY=1\"), \" \", getEnvVar(\"QVY\"));\n"
        "println(putClip(\"clip text\"), \" \", getClip());\n"
        "setStoredPath(4, \"T:\\\\w\"); saveSetup(); println(getStoredPath(4));\n");
    EXPECT_EQ(0, run.WaitExit());
    EXPECT_EQ("abc\r\n0 1\r\ntrue clip text\r\nT:\\w\r\n", Read("o.txt"));
    EXPECT_NE(std::string::npos, IniText().find("d4=T:\\w")) << IniText();
}

TEST_F(ScriptBuiltinsE2E, CopyMoveDeleteAndTextFiles) {
    Write("w/old.txt", "old");
    ScriptedHost& run = RunScript(
        "println(copyFile(\"T:\\\\w\\\\a.txt\", \"T:\\\\w\\\\c.txt\"));\n"
        "println(moveFile(\"T:\\\\w\\\\c.txt\", \"T:\\\\w\\\\sub\\\\d.txt\"));\n"
        "println(copyFile(\"T:\\\\w\\\\b.dat\", \"T:\\\\w\\\\old.txt\", [\"overwrite\"]));\n"
        "println(deleteFile(\"T:\\\\w\\\\b.dat\"));\n"
        "f = createText(\"T:\\\\w\\\\l.txt\"); f += \"one\"; f += 2; free(f);\n"
        "for (l : openText(\"T:\\\\w\\\\l.txt\")) println(\"<\", l, \">\");\n");
    EXPECT_EQ(0, run.WaitExit());
    EXPECT_EQ("true\r\ntrue\r\ntrue\r\ntrue\r\n<one>\r\n<2>\r\n", Read("o.txt"));
    EXPECT_FALSE(Exists("w/c.txt"));
    EXPECT_EQ("first line of a\r\nsecond\r\n", Read("w/sub/d.txt"));
    EXPECT_EQ("12345", Read("w/old.txt"));
    EXPECT_FALSE(Exists("w/b.dat"));
    EXPECT_EQ("one\r\n2\r\n", Read("w/l.txt"));
}

TEST_F(ScriptBuiltinsE2E, CopyCopiesTheTaggedEntriesWithTheLaterAnswer) {
    MakeFolder("to");
    Write("to/b.dat", "old");
    Write("to/a.txt", "old");
    ScriptedHost& run = RunScript(
        "tag(\"*\", false);\n"
        "println(copy(\"T:\\\\to\", [\"OverwriteNone\", \"OverwriteAll\"]));\n");
    EXPECT_EQ(0, run.WaitExit()) << run.Dump();
    EXPECT_EQ("true\r\n", Read("o.txt"));
    EXPECT_EQ("12345", Read("to/b.dat"));
    EXPECT_EQ("first line of a\r\nsecond\r\n", Read("to/a.txt"));
}

TEST_F(ScriptBuiltinsE2E, ACopyThatFailsAsksThenAnswersFalseWithTheSystemsText) {
    ScriptedHost& run = RunScript(
        "r = copyFile(\"T:\\\\w\\\\none.txt\", \"T:\\\\w\\\\x.txt\");\n"
        "println(r, \" \", getMessage(r));\n");
    ASSERT_TRUE(run.WaitForText("File not found")) << run.Dump();
    run.PressKey("Enter");
    EXPECT_EQ(0, run.WaitExit()) << run.Dump();
    // The system's own words differ between the builds' systems; the code
    // ends them on both.
    const std::string out = Read("o.txt");
    const std::string tail = SystemMessage(2, "The system cannot find the file specified.") + "\r\n";
    EXPECT_EQ(0u, out.rfind("false ", 0)) << out;
    EXPECT_TRUE(out.size() >= tail.size() && out.compare(out.size() - tail.size(), tail.size(), tail) == 0) << out;
}

// The script of EntriesTagsAndTheCurrentDirectory, typed on the command
// line: its lines stand on the screen under the command, and the panel
// follows its cd.
TEST_F(ScriptBuiltinsE2E, ATypedScriptPrintsOnTheScreen) {
    StartOnTheFolder("PauseAfterRun=on\r\n");
    host->SendText("T:\\t.qvs");
    host->PressKey("Enter");
    LeaveTheViewer(*host);
    ASSERT_TRUE(Shows("Press any key to continue")) << host->ScreenText();
    ASSERT_TRUE(Shows(SharedOutput().back())) << host->ScreenText();
    ExpectSharedOutputOnScreen(true);
    EXPECT_GE(RowOf(host->Snapshot(), "T:\\t.qvs"), 0) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(KeyBarShown()) << host->ScreenText();
    EXPECT_TRUE(PromptIs("T:\\w\\sub")) << host->ScreenText();
}

// A relative name in a typed script is taken from the panel's directory,
// the current one while the line runs.
TEST_F(ScriptBuiltinsE2E, ATypedScriptNamesFilesFromThePanelsDirectory) {
    Write("work/x.txt", "inside x");
    Write("work/b.qvs",
          "for (e : files()) if (e.name == \"x.txt\") println(\"found \", e.name, \" in \", getCurrentDir());\n"
          "view(\"x.txt\"); println(\"viewed\");\n");
    Start("PauseAfterRun=on\r\n");
    host->SendText("b.qvs");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("inside x")) << host->ScreenText();
    host->PressKey("Esc");
    EXPECT_TRUE(Shows("viewed")) << host->ScreenText();
    EXPECT_TRUE(Shows("found x.txt in T:\\work")) << host->ScreenText();
    EXPECT_TRUE(Shows("Press any key to continue")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(KeyBarShown()) << host->ScreenText();
}

// The same script from a user-menu entry (the menu file of the test's ini,
// T:\test.ini, is T:\test.mnu): its output lies under the panels.
TEST_F(ScriptBuiltinsE2E, AScriptFromAUserMenuEntryPrintsOnTheScreen) {
    Write("test.mnu", "S: Script\r\n  T:\\t.qvs\r\n");
    StartOnTheFolder("PauseAfterRun=off\r\n");
    host->PressKey("F2");
    ASSERT_TRUE(Shows(" User  Menu ")) << host->ScreenText();
    host->SendText("s");
    LeaveTheViewer(*host);
    // The panel's move to sub tells that the script is over.
    ASSERT_TRUE(PromptIs("T:\\w\\sub")) << host->ScreenText();
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    EXPECT_EQ(-1, RowOf(host->Snapshot(), "tagged b.dat")) << host->ScreenText();
    host->PressKey("Ctrl+O");
    ASSERT_TRUE(Shows(SharedOutput().back())) << host->ScreenText();
    // A menu line gets no line feed before it: the output begins on the
    // command-line row, and each of its lines stands alone on its row (none
    // shares the row with labels of the function-key bar).
    ExpectSharedOutputOnScreen(true);
}

}  // namespace
}  // namespace qvtest
