// The builtins over the active panel, stored paths and the environment, run
// by scripts over a panel pair of the test's own (no console): entries as
// maps, tags written back, and the argument checks of every builtin.
#include "app/panels/Panel.h"
#include "app/settings/StoredPaths.h"
#include "base/os/Environment.h"
#include "tests/script/ScriptFixture.h"

namespace qvtest {
namespace {

class PanelBuiltinsTest : public ScriptTest {
protected:
    void SetUp() override {
        ASSERT_EQ(nullptr, Panels);
        Panels = new CPanel[2];
        ActiveSide = 0;
        CreateDirectoryW(folder.Join(W("w")).c_str(), nullptr);
        CreateDirectoryW(folder.Join(W("w\\sub")).c_str(), nullptr);
        WriteFile("w\\a.txt", "hello\r\n");
        WriteFile("w\\b.dat", "12345");
        for (int side = 0; side < 2; side++) {
            SetPanelPath(&Panels[side], Westring(PathOf("w").c_str()));
            Panels[side].needsReread = 1;
        }
    }
    void TearDown() override {
        delete[] Panels;
        Panels = nullptr;
    }
    CPanel& Active() { return Panels[ActiveSide]; }
};

TEST_F(PanelBuiltinsTest, FilesListsTheEntriesAsMapsReadOnFirstUse) {
    EXPECT_EQ("..:0 sub:0 a.txt:7 b.dat:5 |4 list map",
              Run("fs = files(); for (e : fs) print(e.name, \":\", e.size, \" \");"
                  "print(\"|\", len(fs), \" \", typeOf(fs), \" \", typeOf(fs[1]));"));
    // The times are the files' own.
    EXPECT_EQ("timestamp true", Run("e = files()[2]; print(typeOf(e.mtime), \" \", e.mtime > 0);"));
    // Keys in their fixed order; another spelling is no key; a number key
    // answers nothing either.
    EXPECT_EQ("[\"name\",\"size\",\"mtime\",\"tagged\"] undefined undefined 4",
              Run("e = files()[2]; print(keys(e), \" \", typeOf(e.Name), \" \", typeOf(e[1]), \" \", len(e));"));
    EXPECT_EQ(Expand("@(1): List index out of range at col 15\n"), Run("x = files()[4];"));
    EXPECT_EQ(Expand("@(1): List index out of range at col 16\n"), Run("x = files()[-1];"));
}

TEST_F(PanelBuiltinsTest, AssigningTaggedTagsThroughThePanel) {
    EXPECT_EQ("false true 1",
              Run("e = files()[3]; print(e.tagged, \" \"); e.tagged = true; print(files()[3].tagged, \" \");"
                  "t = 0; for (x : files()) if (x.tagged) t = t + 1; print(t);"));
    EXPECT_EQ(1, Active().taggedCount);
    EXPECT_EQ(5, Active().taggedBytes);
    // Only a bool goes through.
    std::string out = Run("e = files()[2]; e.tagged = 1;");
    EXPECT_TRUE(failed) << out;
    EXPECT_EQ(1, Active().taggedCount);
    // The other members are plain values: assigning them is refused.
    Run("e = files()[2]; e.size = 3;");
    EXPECT_TRUE(failed);
    // Asking twice answers the same cached value.
    EXPECT_EQ("false", Run("e = files()[2]; t = e.tagged; e.tagged = true; print(t == false);"));
}

// An entry value taken before its panel read the directory again answers
// from its own copy and no longer tags anything.
TEST_F(PanelBuiltinsTest, AnEntryOutlivesARereadOfItsPanel) {
    std::string out =
        Run("e = files()[3]; n = e.name; cd(getCurrentDir()); fs = files();"
            "print(e.name, \" \", e.size, \" \", e.tagged, \" \");"
            "e.tagged = true; print(e.tagged, \" \", fs[3].tagged);");
    EXPECT_EQ("b.dat 5 false false false", out);
    EXPECT_EQ(0, Active().taggedCount);
}

TEST_F(PanelBuiltinsTest, TagAndUntagByMask) {
    static const TScriptCase cases[] = {
        // Directories only when asked; "..", never.
        {"tag(\"*\", false); for (e : files()) print(e.name, e.tagged ? \"+ \" : \"- \");", "..- sub- a.txt+ b.dat+ "},
        {"tag(\"*\", true); for (e : files()) print(e.name, e.tagged ? \"+ \" : \"- \");", "..- sub+ a.txt+ b.dat+ "},
        {"untag(\"*.txt|sub\", true); for (e : files()) print(e.name, e.tagged ? \"+ \" : \"- \");",
         "..- sub- a.txt- b.dat+ "},
        {"x = tag(\"*\");", "@(1): Incorrect number of arguments, 2 required at col 13\n"},
        {"x = tag([], true);", "@(1): String compatible type required for argument 1 at col 9\n"},
        // A refused untag leaves b.dat tagged.
        {"untag();", "@(1): Incorrect number of arguments, 2 required at col 8\n"},
        {"untag(\"*\");", "@(1): Incorrect number of arguments, 2 required at col 11\n"},
        {"untag(\"*\", true, false);", "@(1): Incorrect number of arguments, 2 required at col 24\n"},
        {"untag([], true);", "@(1): String compatible type required for argument 1 at col 7\n"},
        {"untag({}, true);", "@(1): String compatible type required for argument 1 at col 7\n"},
        // No number or text stands for a bool.
        {"untag(\"*\", 1);", "@(1): Logical compatible type required for argument 2 at col 12\n"},
        {"untag(\"*\", \"true\");", "@(1): Logical compatible type required for argument 2 at col 12\n"},
        // A variable never assigned converts to nothing.
        {"untag(\"*\", neverSet);", "@(1): Logical compatible type required for argument 2 at col 12\n"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
    EXPECT_EQ(1, Active().taggedCount);
}

TEST_F(PanelBuiltinsTest, CdMovesTheActivePanel) {
    std::string sub = PathOf("w\\sub");
    EXPECT_EQ("true " + sub + " 1", Run("print(cd(\"sub\"), \" \", getCurrentDir(), \" \", len(files()));"));
    Estring path;
    Westring(Active().path).ToUtf8(path);
    EXPECT_EQ(sub, path.Data());
    // A directory that is not there leaves the panel where it was.
    EXPECT_EQ("false " + sub, Run("print(cd(\"..\\\\nowhere\"), \" \", getCurrentDir());"));
}

// typeOf names the type code of every kind of value a script can hold,
// whichever class holds it: plain values, the views over maps, the values
// over the panel, text files, find results and return codes.
TEST_F(PanelBuiltinsTest, TypeOfEachKindOfValue) {
    WriteFile("lines.txt", "one\r\n");
    const std::string lines = Literal("lines.txt");
    const std::string created = Literal("new.txt");
    const std::string missing = Literal("none.txt");
    // Each expression is asked directly and, where a variable can take its
    // value, through a variable holding it.
    const struct {
        std::string expression;
        const char* type;
        bool held;
    } rows[] = {
        // A name never assigned, and a function-table name, which is no value.
        {"neverSet", "undefined", false},
        {"named", "undefined", false},
        // A map item not there is pending: reading it gives nothing.
        {"{}.missing", "undefined", false},
        {"expandTimestamp(0).none", "undefined", false},
        {"true", "bool", true},
        {"1 < 2", "bool", true},
        {"42", "int", true},
        {"-4294967296", "int", true},
        {"len(\"abc\")", "int", true},
        {"now()", "timestamp", true},
        {"now() + 1", "timestamp", true},
        {"1.5", "real", true},
        {"1.0 / 4", "real", true},
        {"\"\"", "string", true},
        {"\"a\" + 1", "string", true},
        {"func(a) { return a; }", "func", true},
        {"[]", "list", true},
        {"[1.5][0]", "real", true},
        {"{}", "map", true},
        {"{\"k\": now()}.k", "timestamp", true},
        {"keys({\"a\": 1})", "list", true},
        {"values({\"a\": 1})", "list", true},
        {"expandTimestamp(now())", "map", true},
        {"args", "list", true},
        {"files()", "list", true},
        {"files()[3]", "map", true},
        {"files()[3].name", "string", true},
        {"files()[3].size", "int", true},
        {"files()[3].mtime", "timestamp", true},
        {"files()[3].tagged", "bool", true},
        {"fileFind(\"*.dat\", {})", "list", true},
        {"fileFind(\"*.dat\", {})[0]", "map", true},
        {"fileFind(\"*.dat\", {})[0].tagged", "bool", true},
        {"openText(" + lines + ")", "list", true},
        {"createText(" + created + ")", "list", true},
        {"deleteFile(" + missing + ")", "bool", true},
        {"getMessage(deleteFile(" + missing + "))", "string", true},
        {"getCurrentDir()", "string", true},
        {"getStoredPath(9)", "string", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expression);
        std::string script = "func named() { } print(typeOf(" + row.expression + "));";
        std::string expected = row.type;
        if (row.held) {
            script += " x = " + row.expression + "; print(\"|\", typeOf(x));";
            expected += std::string("|") + row.type;
        }
        EXPECT_EQ(expected, Run(script));
    }
}

TEST_F(PanelBuiltinsTest, StoredPaths) {
    static const TScriptCase cases[] = {
        {"setStoredPath(4, \"C:\\\\x\"); print(getStoredPath(4), \"|\", getStoredPath(5), \"|\");", "C:\\x||"},
        {"x = getStoredPath(10);", "@(1): Stored Path position out of range at col 19\n"},
        {"x = getStoredPath(-1);", "@(1): Stored Path position out of range at col 19\n"},
        // Only its low half would be 3.
        {"setStoredPath(4294967299, \"a\");", "@(1): Stored Path position out of range at col 15\n"},
        {"x = getStoredPath(\"a\");", "@(1): Integer compatible type required for argument 1 at col 19\n"},
        {"setStoredPath(1);", "@(1): Incorrect number of arguments, 2 required at col 17\n"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
    EXPECT_TRUE(StoredPaths[3].IsEmpty());
    for (Westring& path : StoredPaths)
        path.Clear();
}

TEST_F(PanelBuiltinsTest, EnvironmentVariables) {
    static const TScriptCase cases[] = {
        {"setEnvVar(\"QV_SCRIPT_T\", \"v\xc3\xa9\"); print(getEnvVar(\"qv_script_t\"));", "v\xc3\xa9"},
        {"print(typeOf(getEnvVar(\"QV_SCRIPT_NEVER_SET\")), \"|\", getEnvVar(\"QV_SCRIPT_NEVER_SET\"), \"|\");",
         "string||"},
        {"setEnvVar(\"A\");", "@(1): Incorrect number of arguments, 2 required at col 15\n"},
        {"x = getEnvVar();", "@(1): Incorrect number of arguments, 1 required at col 16\n"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
    TopEnvironment().Set(Estring("QV_SCRIPT_T"), nullptr);
}

TEST_F(PanelBuiltinsTest, ArgumentChecks) {
    static const TScriptCase cases[] = {
        {"x = askConfirm(\"a\");", "@(1): Incorrect number of arguments, 2 required at col 20\n"},
        {"x = askConfirm([], \"a\");", "@(1): String compatible type required for argument 1 at col 16\n"},
        {"x = cd();", "@(1): Incorrect number of arguments, 1 required at col 9\n"},
        {"x = cd([]);", "@(1): String compatible type required for argument 1 at col 8\n"},
        {"colour();", "@(1): Incorrect number of arguments, 1 to 2 required at col 9\n"},
        {"colour(1, 2, 3);", "@(1): Incorrect number of arguments, 1 to 2 required at col 16\n"},
        {"colour(1, []);", "@(1): Integer compatible type required for argument 2 at col 11\n"},
        {"view();", "@(1): Incorrect number of arguments, 1 to 2 required at col 7\n"},
        {"edit(\"a\", {});", "@(1): Integer compatible type required for argument 2 at col 11\n"},
        {"x = files(1);", "@(1): Incorrect number of arguments, 0 required at col 13\n"},
        {"x = getCurrentDir(1);", "@(1): Incorrect number of arguments, 0 required at col 21\n"},
        {"x = getClip(1);", "@(1): Incorrect number of arguments, 0 required at col 15\n"},
        {"x = putClip();", "@(1): Incorrect number of arguments, 1 required at col 14\n"},
        {"x = run();", "@(1): Incorrect number of arguments, 1 required at col 10\n"},
        {"x = run([]);", "@(1): String compatible type required for argument 1 at col 9\n"},
        {"saveSetup(1);", "@(1): Incorrect number of arguments, 0 required at col 13\n"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

}  // namespace
}  // namespace qvtest
