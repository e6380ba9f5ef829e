// The builtins over the running program, in the real program: a script run
// with -s over T:\w (a.txt, b.dat and sub\) reads and tags the left panel,
// changes its directory, asks, views, colours its output, reaches the
// environment, the clipboard and the ini file, and works on files; the same
// builtins from a script typed on the command line.
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
    ScriptedHost& run = RunScript(
        "for (e : files()) println(e.name, \" \", e.size, \" \", typeOf(e.mtime), \" \", e.tagged);\n"
        "for (e : files()) if (e.name == \"b.dat\") e.tagged = true;\n"
        "for (e : files()) if (e.tagged) println(\"tagged \", e.name);\n"
        "println(expandTimestamp(files()[2].mtime).year);\n"
        "println(cd(\"T:\\\\w\\\\sub\"), \" \", getCurrentDir(), \" \", len(files()));\n");
    EXPECT_EQ(0, run.WaitExit());
    EXPECT_EQ(
        ".. 0 timestamp false\r\n"
        "sub 0 timestamp false\r\n"
        "a.txt 25 timestamp false\r\n"
        "b.dat 5 timestamp false\r\n"
        "tagged b.dat\r\n"
        "2020\r\n"
        "true T:\\w\\sub 1\r\n",
        Read("o.txt"));
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

TEST_F(ScriptBuiltinsE2E, ATypedScriptPrintsOnTheScreen) {
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

TEST_F(ScriptBuiltinsE2E, AScriptFromAUserMenuEntryPrintsOnTheScreen) {
    Write("work/x.txt", "x");
    Write("work/b.qvs", "for (e : files()) if (e.name == \"x.txt\") println(\"menu found \", e.name);\n");
    // The menu file of the test's ini (T:\test.ini) is T:\test.mnu; the
    // entry's second line tells that the script is over.
    Write("test.mnu", "S: Script\r\n  b.qvs\r\n  printf ran > ran.txt\r\n");
    Start("PauseAfterRun=off\r\n");
    host->PressKey("F2");
    ASSERT_TRUE(Shows(" User  Menu ")) << host->ScreenText();
    host->SendText("s");
    ASSERT_TRUE(Eventually([&] { return Exists("work/ran.txt"); }));
    ASSERT_TRUE(Gone(" User  Menu ")) << host->ScreenText();
    // The output lies under the panels.
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    host->PressKey("Ctrl+O");
    EXPECT_TRUE(Shows("menu found x.txt")) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
