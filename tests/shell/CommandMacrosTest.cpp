#include "shell/CommandMacros.h"

#include "app/panels/Panel.h"
#include "base/strings/Str32.h"
#include "platform/SystemTraits.h"
#include "shell/ProgramRunner.h"
#include "shell/TempFiles.h"
#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qvtest::TempDir;
using qvtest::W;
using shelltest::Narrow;
using shelltest::Wide;

void AddEntry(CPanel& panel, const char* name, bool tagged) {
    Westring wide(name);
    entry* item = entry::Allocate(wide.Length());
    Mem32Copy(item->name, wide.Data(), wide.Length() + 1);
    item->tagged = tagged ? 1 : 0;
    panel.entries[panel.entryCount++] = item;
    panel.taggedCount += tagged ? 1 : 0;
}

// Two panels over temporary folders, a program "edit" on PATH, and the
// interpreter's road, for the expectations that depend on it.
class CommandMacrosTest : public ::testing::Test {
protected:
    CommandMacrosTest() : pathScope(Wide(programs.Path())) {}
    void SetUp() override {
        ASSERT_TRUE(qvtest::WriteFileBytes(programs.Join(W("edit.exe")), shelltest::ConsoleProgramBytes()));
        savedPanels = Panels;
        panels = new CPanel[2];
        Panels = panels;
        ASSERT_TRUE(SetPanelPath(&panels[0], Wide(left.Path())));
        ASSERT_TRUE(SetPanelPath(&panels[1], Wide(right.Path())));
        AddEntry(panels[0], "a.txt", false);
        AddEntry(panels[0], "my file.txt", true);
        AddEntry(panels[0], "-dash", true);
        AddEntry(panels[1], "other.c", false);
        shellQuote = !InterpreterTakesSlashC(GetCommandInterpreter());
        TopEnvironment().Set(Estring("QV_M"), "val");
        savedChar = Config.CmdChar;
        Config.CmdChar = '!';
    }
    void TearDown() override {
        Panels = savedPanels;
        delete[] panels;
        TopEnvironment().Set(Estring("QV_M"), nullptr);
        Config.CmdChar = savedChar;
    }
    std::string Expand(const char* command, const char* file, int mode, int expectedResult = 0, int side = 0) {
        Westring text(command);
        int result = ExpandCommandMacrosInString(text, Westring(file), side, mode);
        EXPECT_EQ(expectedResult, result) << command;
        return Narrow(text);
    }
    std::string Left(const char* name) { return Narrow(Wide(left.Join(W(name)))); }
    std::string LeftDir() { return Narrow(Wide(left.Path())); }
    std::string RightDir() { return Narrow(Wide(right.Path())); }

    TempDir programs, left, right;
    shelltest::CSearchPathScope pathScope;
    CPanel* savedPanels = nullptr;
    CPanel* panels = nullptr;
    bool shellQuote = true;
    char savedChar = '!';
};

TEST_F(CommandMacrosTest, NamesAreQuotedForTheRoadOfTheLine) {
    // Mode 1 appends the file to a command without macros.
    EXPECT_EQ("edit \"my file.txt\"", Expand("edit", "my file.txt", MacroModeFile));
    EXPECT_EQ("edit plain.txt", Expand("edit", "plain.txt", MacroModeFile));
    EXPECT_EQ("edit \"-dash\"", Expand("edit", "-dash", MacroModeFile));
    // To the interpreter: a leading "#", a pipe, or a program not found.
    std::string shellForm = shellQuote ? "'my file.txt'" : "\"my file.txt\"";
    EXPECT_EQ("#edit " + shellForm, Expand("#edit", "my file.txt", MacroModeFile));
    EXPECT_EQ("edit " + shellForm + " | more", Expand("edit ! | more", "my file.txt", MacroModeFile));
    EXPECT_EQ("nosuchprogram " + shellForm, Expand("nosuchprogram", "my file.txt", MacroModeFile));
    if (shellQuote) {
        EXPECT_EQ("echo 'a;date>pwned' | cat", Expand("echo ! | cat", "a;date>pwned", MacroModeFile));
        EXPECT_EQ("#cat 'it'\\''s'", Expand("#cat", "it's", MacroModeFile));
    }
    // A direct run gets the C runtime's quoting, inner quotes escaped.
    EXPECT_EQ("edit \"say \\\"hi\\\" | x\"", Expand("edit", "say \"hi\" | x", MacroModeFile));
    // The internal viewer takes quotes away itself.
    EXPECT_EQ("$view \"my file.txt\"", Expand("$view", "my file.txt", MacroModeFile));
}

TEST_F(CommandMacrosTest, LettersModifiersAndPanelSelectors) {
    struct {
        const char* command;
        const char* file;
        int mode;
        std::string expected;
        int result;
    } const cases[] = {
        {"edit !n", "x.txt", MacroModeFile, "edit ", 0},
        {"edit !!", "x.txt", MacroModeFile, "edit !", 0},
        {"edit !f", "", MacroModeCursor, "edit " + Left("a.txt"), 0},
        {"edit !f!!", "plain", MacroModeFile, "edit " + Left("plain") + "!", 0},
        {"edit !x", "doc.tar.gz", MacroModeFile, "edit doc.tar", 0},
        {"edit !p !s", "", MacroModeCursor, "edit " + LeftDir() + " " + LeftDir() + "\\", 0},
        {"edit !P!S", "", MacroModeCursor, "edit " + RightDir() + RightDir() + "\\", 0},
        {"edit !F", "", MacroModeCursor, "edit " + RightDir() + "\\other.c", 0},
        {"edit !>f", "", MacroModeCursor, "edit " + RightDir() + "\\other.c", 0},
        {"edit !<f", "", MacroModeCursor, "edit " + Left("a.txt"), 0},
        {"edit !s!t", "b c", MacroModeFile, "edit \"" + LeftDir() + "\\b c\"", 1},
        {"edit !tfx", "doc.txt", MacroModeFile, "edit " + Left("doc"), 1},
        {"edit !tx", ".profile", MacroModeFile, "edit .profile", 1},
        {"edit !?", "x.txt", MacroModeFile, "edit x.txt?", 0},
        {"edit !t !@ !f !!", "x", MacroModeProbe, "edit !t !@ !f !!", 1},
        {"edit !~ !z", "x", MacroModeProbe, "edit !~ !z", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Expand(c.command, c.file, c.mode, c.result)) << c.command;
    }
}

TEST_F(CommandMacrosTest, PercentReferencesOnlyInTheCommandsOwnText) {
    EXPECT_EQ("edit val val\\y %QV_NONE% ", Expand("edit %QV_M% %qv_m\\y %QV_NONE% !n", "", MacroModeFile));
    EXPECT_EQ("edit valx", Expand("edit %QV_M%x!n", "", MacroModeFile));
    // A name put in by a macro is never expanded, whatever it holds.
    EXPECT_EQ("edit \"%QV_M%.txt\"", Expand("edit", "%QV_M%.txt", MacroModeFile));
}

TEST_F(CommandMacrosTest, TaggedEntriesGoInAndAreUntagged) {
    std::string quotedName = "\"my file.txt\"";
    EXPECT_EQ("edit  " + quotedName + " \"-dash\"", Expand("edit !l", "", MacroModeCursor));
    EXPECT_EQ(0, panels[0].taggedCount);
    EXPECT_FALSE(panels[0].entries[1]->tagged);
    EXPECT_TRUE(panels[0].entries[1]->processed);
    // Without tags the current file stands alone.
    EXPECT_EQ("edit a.txt", Expand("edit !l", "", MacroModeCursor));
    EXPECT_EQ("edit " + Left("a.txt"), Expand("edit !lf", "", MacroModeCursor));
}

TEST_F(CommandMacrosTest, ListMacroStopsBeforeOneThousandCharacters) {
    std::string longName(90, 'n');
    for (int i = 0; i < 30; i++) {
        AddEntry(panels[1], (longName + std::to_string(100 + i)).c_str(), true);
    }
    std::string expanded = Expand("edit !l tail", "", MacroModeCursor, 0, 1);
    EXPECT_LE(expanded.size(), 1000u);
    EXPECT_GT(expanded.size(), 900u);
    EXPECT_EQ(" tail", expanded.substr(expanded.size() - 5));
    EXPECT_GT(panels[1].taggedCount, 0);
    EXPECT_LT(panels[1].taggedCount, 30);
}

TEST_F(CommandMacrosTest, OverlongResultIsRefusedAndLeavesTheCommand) {
    std::string longName(5000, 'x');
    Westring text("edit");
    EXPECT_EQ(-1, ExpandCommandMacrosInString(text, Westring(longName.c_str()), 0, MacroModeFile));
    EXPECT_EQ("edit", Narrow(text));

    char32_t buffer[MacroBufferUnits];
    Westring small("edit !!");
    for (int i = 0; i <= small.Length(); i++) {
        buffer[i] = i < small.Length() ? small[i] : 0;
    }
    EXPECT_EQ(0, ExpandCommandMacros(buffer, nullptr, 0, MacroModeFile));
    EXPECT_EQ("edit !", Narrow(Westring(buffer)));
}

TEST_F(CommandMacrosTest, ListFileHoldsTheTaggedNamesAndGoesWithRemoveTempFiles) {
    std::string expanded = Expand("edit !@", "", MacroModeCursor);
    ASSERT_GT(expanded.size(), 5u);
    std::string listPath = expanded.substr(5);
    qvtest::WString listWide = W(listPath);
    // The system's own programs read one name a line as it is, ended by a
    // line feed; Windows programs the quoted form with CR LF.
    EXPECT_EQ(ProgramsReadSlashNames ? "my file.txt\n-dash\n" : "\"my file.txt\"\r\n\"-dash\"\r\n",
              qvtest::ReadFileBytes(listWide));

    // A file of the same pattern that this process did not make stays.
    Westring foreign = Wide(listWide);
    foreign = foreign.Left(foreign.FindLast('.')) + Westring(".77");
    qvtest::WString foreignWide = W(Narrow(foreign));
    ASSERT_TRUE(qvtest::WriteFileBytes(foreignWide, "theirs"));
    RemoveTempFiles();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(listWide.c_str()));
    EXPECT_EQ("theirs", qvtest::ReadFileBytes(foreignWide));
    DeleteFileW(foreignWide.c_str());
}

TEST(TempFilesTest, NamesAreMadeExclusivelyAndTheNextNumberTaken) {
    TempDir dir;
    Westring directory = Wide(dir.Path());
    Westring first, second;
    ASSERT_EQ(0u, MakeTempFileName(first, &directory));
    ASSERT_EQ(0u, MakeTempFileName(second, &directory));
    EXPECT_NE(Narrow(first), Narrow(second));
    EXPECT_EQ(Narrow(directory) + "\\QV#", Narrow(first).substr(0, directory.Length() + 4));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(W(Narrow(first)).c_str()));
    // A name someone else holds is passed over.
    Westring next = second.Left(second.FindLast('.')) + Westring(".2");
    ASSERT_TRUE(qvtest::WriteFileBytes(W(Narrow(next)), "x"));
    Westring third;
    ASSERT_EQ(0u, MakeTempFileName(third, &directory));
    EXPECT_EQ(Narrow(second.Left(second.FindLast('.'))) + ".3", Narrow(third));
    RemoveTempFiles();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(W(Narrow(third)).c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(W(Narrow(next)).c_str()));
}

}  // namespace
