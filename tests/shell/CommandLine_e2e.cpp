// Typed commands run by the real program: external programs with their output
// in the program output area, redirection, the environment, keys to a running
// program, Ctrl-C, the internal commands and Enter on files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "tests/shell/ShellE2E.h"

namespace qvtest {
namespace {

class CommandLineE2E : public ShellE2E {};

TEST_F(CommandLineE2E, OutputIsShownThenAKeyBringsThePanelsBack) {
    StartPausing();
    // Quotes keep the typed line from showing the text itself.
    Type("echo hel\"\"lo");
    ASSERT_TRUE(Shows("hello")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    // The panels are there again.
    EXPECT_TRUE(Shows("work")) << host->ScreenText();
}

TEST_F(CommandLineE2E, RedirectionsWriteTheirFilesAndLeaveTheScreen) {
    StartPausing();
    Type("printf abc > T:\\out.txt");
    ASSERT_TRUE(Continue());
    EXPECT_EQ("abc", Read("out.txt"));

    Type("ls T:\\none 2> T:\\err.txt");
    ASSERT_TRUE(Continue());
    EXPECT_NE(std::string::npos, Read("err.txt").find("none"));
    EXPECT_EQ(-1, RowOf(host->Snapshot(), "cannot access")) << host->ScreenText();

    Type("ls T:\\none > T:\\all.txt 2>&1");
    ASSERT_TRUE(Continue());
    EXPECT_NE(std::string::npos, Read("all.txt").find("none"));
    // The program's own channel survived the redirections.
    Type("echo st\"\"ill");
    ASSERT_TRUE(Shows("still")) << host->ScreenText();
    ASSERT_TRUE(Continue());
}

TEST_F(CommandLineE2E, SetReachesTheChildrenAndAnEmptyValueHidesTheVariable) {
    StartPausing();
    Type("set QV_X=42");
    ASSERT_TRUE(PromptIs("T:\\work"));
    Type("printenv QV_X");
    ASSERT_TRUE(Shows("42")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    Type("set QV_X=");
    Type("printenv QV_X && echo wa\"\"s-set || echo no\"\"t-set");
    ASSERT_TRUE(Shows("not-set")) << host->ScreenText();
    EXPECT_EQ(-1, RowOf(host->Snapshot(), "was-set"));
    ASSERT_TRUE(Continue());
}

TEST_F(CommandLineE2E, KeysReachTheChildAndCtrlCEndsIt) {
    StartPausing();
    // The child says when it runs (the quotes keep the typed line from
    // saying it), then reads a line from its terminal.
    Type("#echo rea\"\"dy; head -n 1 | tr a-z A-Z");
    ASSERT_TRUE(Shows("ready")) << host->ScreenText();
    host->SendText("xyz");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("XYZ")) << host->ScreenText();
    ASSERT_TRUE(Continue());

    Type("#echo sle\"\"eping; sleep 100");
    ASSERT_TRUE(Shows("sleeping")) << host->ScreenText();
    host->SendKey(3, 3);
    ASSERT_TRUE(Continue());
}

TEST_F(CommandLineE2E, ANewScreenSizeReachesTheRunningChildAndThenThePanels) {
    StartPausing();
    Type("#echo rea\"\"dy; read x; stty size");
    ASSERT_TRUE(Shows("ready")) << host->ScreenText();
    host->SendResize(100, 30);
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("30 100")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    EXPECT_TRUE(host->WaitFor([](const qvhost::ScreenModel& s) {
        return s.Columns() == 100 && s.Rows() == 30 && s.RowText(29).find("10Quit") != std::string::npos;
    })) << host->ScreenText();
}

TEST_F(CommandLineE2E, InternalCommandsActOnThePanelAndOthersReachTheInterpreter) {
    MakeFolder("work/sub");
    MakeFolder("right");
    MapDrive('U', "right");
    StartPausing();
    Type("cd sub");
    ASSERT_TRUE(PromptIs("T:\\work\\sub")) << host->ScreenText();
    Type("cd..");
    ASSERT_TRUE(PromptIs("T:\\work")) << host->ScreenText();
    Type("cd /work/sub");
    ASSERT_TRUE(PromptIs("T:\\work\\sub")) << host->ScreenText();
    Type("u:");
    ASSERT_TRUE(PromptIs("U:\\")) << host->ScreenText();
    Type("cdx");
    ASSERT_TRUE(Shows("not found")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    Type("1:");
    ASSERT_TRUE(Shows("1:: not found")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    Type("cd T:\\nowhere");
    ASSERT_TRUE(Shows("Invalid directory")) << host->ScreenText();
}

// cd with a bare name that is no folder here looks in the drive's tree: below
// the panel's folder first, then anywhere on the drive.
TEST_F(CommandLineE2E, CdFindsAFolderByNameInTheDrivesTree) {
    for (const char* folder : {"other", "other/target", "other/lonely", "work/deep", "work/deep/target"}) {
        MakeFolder(folder);
    }
    StartPausing();
    // The chooser's scan gives the drive its tree.
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(Shows(" Directory Tree ")) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Ctrl+R"));
    ASSERT_TRUE(Shows("lonely")) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Esc"));
    ASSERT_TRUE(Gone(" Directory Tree ")) << host->ScreenText();
    Type("cd target");
    ASSERT_TRUE(PromptIs("T:\\work\\deep\\target")) << host->ScreenText();
    Type("cd lonely");
    ASSERT_TRUE(PromptIs("T:\\other\\lonely")) << host->ScreenText();
}

TEST_F(CommandLineE2E, EnterRunsAScriptAndNamesReachProgramsWhole) {
    Write("work/hello", "#!/bin/sh\necho script-says-hi\n");
    ASSERT_EQ(0, chmod(PathOf("work/hello").c_str(), 0755));
    Start("PauseAfterRun=on\r\n");
    host->PressKey("Down");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("script-says-hi")) << host->ScreenText();
    ASSERT_TRUE(Continue());
}

TEST_F(CommandLineE2E, AMacroNameWithShellCharactersIsOneArgument) {
    // A name Windows would refuse: made with the system's own call.
    FILE* file = std::fopen(PathOf("work/a;date>pwned").c_str(), "w");
    ASSERT_NE(nullptr, file);
    std::fclose(file);
    Start("PauseAfterRun=on\r\n");
    host->PressKey("Down");
    Type("echo ! | cat");
    ASSERT_TRUE(Shows("a;date>pwned")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    EXPECT_FALSE(Exists("work/pwned"));
    EXPECT_FALSE(Exists("work/a;date"));
}

}  // namespace
}  // namespace qvtest
