// fileFind and synchronize in the real program, run with -s over T:\w.
#include "tests/support/ProgramTest.h"

namespace qvtest {
namespace {

class SearchBuiltinsE2E : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        MakeFolder("w");
        MakeFolder("w/sub");
        Write("w/a.txt", "alpha\r\n");
        Write("w/b.dat", "12345");
        Write("w/sub/c.dat", "needle here");
    }
    ScriptedHost& RunScript(const std::string& text) {
        Write("t.qvs", text);
        return Launch(Options({"-l", "T:\\w", "-s", "T:\\t.qvs", ">T:\\o.txt"}));
    }
};

TEST_F(SearchBuiltinsE2E, FileFindGivesFullPathsFromTheActivePanel) {
    ScriptedHost& run = RunScript(
        "r = fileFind(\"*.dat\", {});\n"
        "println(typeOf(r), \" \", len(r));\n"
        "for (e : r) println(e.name, \" \", e.size, \" \", e.tagged);\n"
        "println(len(fileFind(\"*.dat\", {\"scanSubdirectories\": false})));\n"
        "println(len(fileFind(\"*\", {\"containing\": \"needle\"})), \" \", fileFind(\"*\", {\"containing\": "
        "\"needle\"})[0].name);\n"
        // A real depth is no depth: the search stays unlimited.
        "println(len(fileFind(\"*.dat\", {\"depth\": 0.5})));\n"
        // An item outlives its list.
        "x = fileFind(\"b.dat\", {})[0]; println(x.name);\n");
    EXPECT_EQ(0, run.WaitExit()) << run.Dump();
    EXPECT_EQ(
        "list 2\r\nT:\\w\\b.dat 5 false\r\nT:\\w\\sub\\c.dat 11 false\r\n1\r\n1 "
        "T:\\w\\sub\\c.dat\r\n2\r\nT:\\w\\b.dat\r\n",
        Read("o.txt"));
}

TEST_F(SearchBuiltinsE2E, SynchronizeCopiesWhatItsWordsAsk) {
    MakeFolder("to");
    Write("to/extra.txt", "x");
    ScriptedHost& run = RunScript(
        "println(synchronize(\"T:\\\\w\", \"T:\\\\to\", []));\n"
        "println(synchronize(\"T:\\\\w\", \"T:\\\\to\", [\"copymissing\"], \"*.dat\"));\n");
    // The plan is confirmed as in the panel command: twice. Without words
    // the plan is empty; the second one copies.
    for (const char* plan : {"Total: 0", "Copies"}) {
        ASSERT_TRUE(run.WaitForText(plan)) << run.Dump();
        ASSERT_TRUE(run.WaitForText("Confirm Synchronize Operations")) << run.Dump();
        run.PressKey("Enter");
        ASSERT_TRUE(run.WaitForText("Are you sure you wish to proceed with Synchronize?")) << run.Dump();
        run.PressKey("Left");
        run.PressKey("Enter");
        ASSERT_TRUE(run.WaitForTextGone("Are you sure")) << run.Dump();
    }
    EXPECT_EQ(0, run.WaitExit()) << run.Dump();
    EXPECT_EQ("true\r\ntrue\r\n", Read("o.txt"));
    EXPECT_EQ("12345", Read("to/b.dat"));
    EXPECT_EQ("needle here", Read("to/sub/c.dat"));
    EXPECT_FALSE(Exists("to/a.txt"));
    EXPECT_TRUE(Exists("to/extra.txt"));
}

}  // namespace
}  // namespace qvtest
