// The archive commands with Debian's archivers: viewing and editing members,
// copying and moving between a panel and an archive, deleting members, making
// archives, and names that must reach the archiver as one argument.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/archive/ArchiveTestSupport.h"
#include "tests/support/ProgramTest.h"
#include "tests/support/ShellCommand.h"

namespace {

class ArchiveCommandsTest : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (qvtest::OnWindowsLeg()) {
            // The archivers here are Debian's programs, which the Windows
            // build does not run.
            qvtest::CountInWindowsLeg(false);
            GTEST_SKIP() << "drives Debian's archivers";
        }
        MakeFolder("src");
        MakeFolder("tmp");
        MakeFolder("out");
    }
    // Runs a shell command in Root()/src; true when it succeeded.
    bool Run(const std::string& command) {
        return std::system(("cd '" + Root() + "/src' && (" + command + ") >/dev/null 2>&1").c_str()) == 0;
    }
    // What a shell command prints, run in Root().
    std::string Output(const std::string& command) {
        return qvtest::RunShell("cd '" + Root() + "' && " + command + " 2>&1");
    }
    // The program's temporary files go to T:\tmp, where the tests see them.
    std::map<std::string, std::string> Environment(const std::string& pathFirst = "") {
        std::map<std::string, std::string> env = {{"TMP", "T:\\tmp"}, {"TEMP", "T:\\tmp"}};
        const char* path = std::getenv("PATH");
        env["PATH"] = (pathFirst.empty() ? "" : pathFirst + ":") + (path ? path : "/usr/bin:/bin");
        return env;
    }
    // Both panels on folders of their own.
    void StartOn(const std::string& left, const std::string& right, const std::string& iniLines = "",
                 const std::string& pathFirst = "") {
        std::vector<std::string> args = {"-l", left, "-r", right};
        if (!iniLines.empty())
            args.push_back(Ini(iniLines));
        ScriptedHost::Options options = Options(args);
        for (const auto& item : Environment(pathFirst))
            options.env[item.first] = item.second;
        Launch(options);
        ASSERT_TRUE(host->Started());
        ASSERT_TRUE(KeyBarShown(ScriptedHost::DefaultTimeoutMs)) << host->ScreenText();
    }
    // Starts on T:\work and enters the archive that is the folder's only file.
    void EnterOnlyFile(const std::string& archive, const std::string& iniLines = "",
                       const std::string& pathFirst = "") {
        StartOn("T:\\work", "T:\\work", iniLines, pathFirst);
        EnterFirstFile(archive);
    }
    void EnterFirstFile(const std::string& archive) {
        host->PressKey("Home");
        host->PressKey("Down");
        ASSERT_TRUE(host->WaitQuiet());
        host->PressKey("Ctrl+PgDn");
        ASSERT_TRUE(Shows("T:\\work\\" + archive)) << host->ScreenText();
    }
    void Key(const std::string& name) {
        host->PressKey(name);
        ASSERT_TRUE(host->WaitQuiet());
    }
    // Leaves the archive through its ".." and waits for the folder.
    void LeaveArchive() {
        Key("Home");
        host->PressKey("Enter");
        ASSERT_TRUE(PromptIs("T:\\work")) << host->ScreenText();
    }
    bool Listed(const std::string& command, const std::string& name) {
        return Output(command).find(name) != std::string::npos;
    }
    bool NoTemporaryFolderLeft() { return Output("ls tmp").empty(); }
};

TEST_F(ArchiveCommandsTest, F3ShowsAMemberOfAZipAndItsCopyGoesWithTheArchive) {
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "the text inside\n");
    ASSERT_TRUE(Run("zip ../work/x.zip a.txt"));
    EnterOnlyFile("x.zip");
    Key("Down");
    host->PressKey("F3");
    ASSERT_TRUE(Shows("the text inside")) << host->ScreenText();
    Key("Esc");
    EXPECT_FALSE(NoTemporaryFolderLeft());
    LeaveArchive();
    EXPECT_TRUE(Eventually([&] { return NoTemporaryFolderLeft(); })) << Output("ls -R tmp");
}

TEST_F(ArchiveCommandsTest, EveryArchiverExtractsAMemberForF3) {
    struct Case {
        const char* file;
        const char* tool;
        const char* command;
        const char* member;  // the keys to the member from the archive's root
        const char* ini = "";
    } cases[] = {
        {"x.7z", "7z", "7z a ../work/x.7z d/a.txt", "Down Enter Down"},
        {"x.tar", "tar", "tar cf ../work/x.tar d/a.txt", "Down Enter Down"},
        // Stored as ./d/a.txt: listed under d, extracted by its stored name.
        {"dot.tar", "tar", "tar cf ../work/dot.tar ./d/a.txt", "Down Enter Down"},
        {"x.tar.gz", "gzip", "tar czf ../work/x.tar.gz d/a.txt", "Down Enter Down"},
        {"x.tar.bz2", "bzip2", "tar cjf ../work/x.tar.bz2 d/a.txt", "Down Enter Down"},
        {"x.tar.xz", "xz", "tar cJf ../work/x.tar.xz d/a.txt", "Down Enter Down"},
        {"a.txt.gz", "gzip", "gzip -c d/a.txt > ../work/a.txt.gz", "Down"},
        {"a.txt.bz2", "bzip2", "bzip2 -c d/a.txt > ../work/a.txt.bz2", "Down"},
        {"a.txt.xz", "xz", "xz -c d/a.txt > ../work/a.txt.xz", "Down"},
        // Debian's arj asks before it makes a folder unless told yes.
        {"x.arj", "arj", "arj a -r ../work/x.arj d/a.txt", "Down Enter Down",
         "\r\n[Archiver:ARJ]\r\nExtract=arj x -y\r\n"},
    };
    MakeFolder("src/d");
    Write("src/d/a.txt", "member text\n");
    for (const Case& c : cases) {
        if (!qvtest::ToolFolder::Has(c.tool)) {
            std::printf("skipped %s: no %s here\n", c.file, c.tool);
            continue;
        }
        std::system(("rm -rf '" + Root() + "/work'/*").c_str());
        ASSERT_TRUE(Run(c.command)) << c.command;
        EnterOnlyFile(c.file, c.ini);
        std::string keys = c.member;
        for (size_t at = 0; at < keys.size();) {
            size_t end = keys.find(' ', at);
            end = end == std::string::npos ? keys.size() : end;
            Key(keys.substr(at, end - at));
            at = end + 1;
        }
        host->PressKey("F3");
        EXPECT_TRUE(Shows("member text")) << c.file << "\n" << host->ScreenText();
    }
}

TEST_F(ArchiveCommandsTest, AZipMemberNamedLikeAPatternIsExtractedByItsName) {
    QV_NEED_TOOL("zip");
    Write("src/a[1].txt", "bracketed\n");
    Write("src/a1.txt", "plain\n");
    ASSERT_TRUE(Run("zip ../work/x.zip 'a[1].txt' a1.txt"));
    EnterOnlyFile("x.zip");
    // a1.txt, then a[1].txt, which as a pattern would match a1.txt.
    Key("Down");
    Key("Down");
    host->PressKey("F3");
    EXPECT_TRUE(Shows("bracketed")) << host->ScreenText();
}

TEST_F(ArchiveCommandsTest, AMemberEditedWithF4IsPutBackWhenTheArchiveIsLeft) {
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "old text\n");
    ASSERT_TRUE(Run("zip ../work/x.zip a.txt"));
    EnterOnlyFile("x.zip");
    Key("Down");
    host->PressKey("F4");
    ASSERT_TRUE(Shows("old text")) << host->ScreenText();
    host->SendText("new ");
    ASSERT_TRUE(Shows("new old text")) << host->ScreenText();
    Key("F2");
    Key("Esc");
    ASSERT_TRUE(Gone("new old text")) << host->ScreenText();
    LeaveArchive();
    EXPECT_TRUE(Eventually([&] { return Output("unzip -p work/x.zip a.txt") == "new old text\n"; }))
        << Output("unzip -p work/x.zip a.txt");
    EXPECT_TRUE(Eventually([&] { return NoTemporaryFolderLeft(); })) << Output("ls -R tmp");
}

TEST_F(ArchiveCommandsTest, TaggedMembersOfA7zAreCopiedOutAndAMovedOneLeavesTheArchive) {
    QV_NEED_TOOL("7z");
    Write("src/a.txt", "aa\n");
    Write("src/b.txt", "bb\n");
    Write("src/c.txt", "cc\n");
    ASSERT_TRUE(Run("7z a ../work/x.7z a.txt b.txt c.txt"));
    EnterOnlyFile("x.7z");
    Key("Down");
    Key("Ins");
    Key("Ins");
    host->PressKey("F5");
    ASSERT_TRUE(Shows("Extract 2 files to")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Read("work/a.txt") == "aa\n" && Read("work/b.txt") == "bb\n"; }));
    ASSERT_TRUE(host->WaitQuiet());
    EXPECT_TRUE(Listed("7z l work/x.7z", "a.txt"));
    // The cursor stands on c.txt now.
    host->PressKey("F6");
    ASSERT_TRUE(Shows("Extract and Move \"c.txt\" to")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Read("work/c.txt") == "cc\n"; }));
    EXPECT_TRUE(Eventually([&] { return !Listed("7z l work/x.7z", "c.txt"); })) << Output("7z l work/x.7z");
    EXPECT_TRUE(Listed("7z l work/x.7z", "b.txt"));
    EXPECT_TRUE(Output("ls work | grep QV").empty()) << Output("ls -R work");
}

TEST_F(ArchiveCommandsTest, TaggedFilesCopiedOntoAPanelShowingATarAreAddedToIt) {
    QV_NEED_TOOL("tar");
    Write("src/base.txt", "base\n");
    Write("src/p.txt", "pp\n");
    Write("src/q.txt", "qq\n");
    ASSERT_TRUE(Run("tar cf ../work/x.tar base.txt"));
    StartOn("T:\\src", "T:\\work");
    Key("Tab");
    EnterFirstFile("x.tar");
    Key("Tab");
    // base.txt, p.txt, q.txt: tag the last two.
    Key("Home");
    Key("Down");
    Key("Down");
    Key("Ins");
    Key("Ins");
    host->PressKey("F5");
    ASSERT_TRUE(Shows("Compress 2 files to")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] {
        return Listed("tar tf work/x.tar", "p.txt") && Listed("tar tf work/x.tar", "q.txt");
    })) << Output("tar tf work/x.tar");
    EXPECT_TRUE(Listed("tar tf work/x.tar", "base.txt"));
}

TEST_F(ArchiveCommandsTest, F8DeletesTheMemberUnderTheCursor) {
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "aa\n");
    Write("src/b.txt", "bb\n");
    ASSERT_TRUE(Run("zip ../work/x.zip a.txt b.txt"));
    EnterOnlyFile("x.zip");
    Key("Down");
    host->PressKey("F8");
    // Asked first, as on the disk.
    ASSERT_TRUE(Shows("Do you wish to delete")) << host->ScreenText();
    EXPECT_TRUE(Listed("unzip -l work/x.zip", "a.txt"));
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return !Listed("unzip -l work/x.zip", "a.txt"); })) << Output("unzip -l work/x.zip");
    EXPECT_TRUE(Listed("unzip -l work/x.zip", "b.txt"));
    EXPECT_TRUE(Gone("a.txt")) << host->ScreenText();
}

TEST_F(ArchiveCommandsTest, CompressFilesProposesTheOtherFolderAndMakesTheZip) {
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "aa\n");
    Write("src/b.txt", "bb\n");
    Write("src/c.txt", "cc\n");
    StartOn("T:\\src", "T:\\work");
    Key("Home");
    Key("Down");
    Key("Ins");
    Key("Ins");
    host->PressKey("Shift+F7");
    ASSERT_TRUE(Shows("Compress Files")) << host->ScreenText();
    ASSERT_TRUE(Shows("T:\\work\\c.zip")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Listed("unzip -l work/c.zip", "b.txt"); })) << Output("unzip -l work/c.zip");
    EXPECT_TRUE(Listed("unzip -l work/c.zip", "a.txt"));
    EXPECT_FALSE(Listed("unzip -l work/c.zip", "c.txt"));
}

TEST_F(ArchiveCommandsTest, UpdatingATarGzNeedsTheCompanionProgram) {
    QV_NEED_TOOL("gzip");
    Write("src/a.txt", "old\n");
    ASSERT_TRUE(Run("tar czf ../work/x.tar.gz a.txt"));
    // Without it: reported, and the changed copy is kept.
    EnterOnlyFile("x.tar.gz");
    Key("Down");
    host->PressKey("F4");
    ASSERT_TRUE(Shows("old")) << host->ScreenText();
    host->SendText("new ");
    Key("F2");
    Key("Esc");
    Key("Home");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("Program not found")) << host->ScreenText();
    EXPECT_TRUE(Shows("zevoz")) << host->ScreenText();

    // A stand-in first on the search path, which logs its arguments.
    MakeFolder("bin");
    Write("bin/zevoz",
          "#!/bin/sh\n"
          "printf '%s|' \"$@\" >> \"$(dirname \"$0\")/../zevoz.log\"\n"
          "[ \"$1\" = -u ] || exit 2\n"
          "t=\"$2.new\"; gzip -dc \"$2\" > \"$t.tar\" || exit 3\n"
          "tar --delete -f \"$t.tar\" \"$3\" 2>/dev/null\n"
          "tar -rf \"$t.tar\" \"$3\" && gzip -c \"$t.tar\" > \"$t\" && rm \"$t.tar\" && mv \"$t\" \"$2\"\n");
    ASSERT_EQ(0, std::system(("chmod +x '" + Root() + "/bin/zevoz'").c_str()));
    Run("rm -f ../work/x.tar.gz && tar czf ../work/x.tar.gz a.txt");
    EnterOnlyFile("x.tar.gz", "", Root() + "/bin");
    Key("Down");
    host->PressKey("F4");
    ASSERT_TRUE(Shows("old")) << host->ScreenText();
    host->SendText("new ");
    Key("F2");
    Key("Esc");
    LeaveArchive();
    EXPECT_TRUE(Eventually([&] { return Output("tar xzOf work/x.tar.gz a.txt") == "new old\n"; }))
        << Output("tar xzOf work/x.tar.gz a.txt") << Read("zevoz.log");
    EXPECT_NE(std::string::npos, Read("zevoz.log").find("-u|")) << Read("zevoz.log");
}

TEST_F(ArchiveCommandsTest, NamesThatAShellWouldRunGoIntoAndOutOfAZipAsNames) {
    QV_NEED_TOOL("zip");
    Write("src/base.txt", "base\n");
    Write("src/a;touch pwned", "one\n");
    Write("src/$(touch pwned2)", "two\n");
    Write("src/`touch pwned3`", "three\n");
    ASSERT_TRUE(Run("zip ../work/x.zip base.txt"));
    StartOn("T:\\src", "T:\\work");
    Key("Tab");
    EnterFirstFile("x.zip");
    Key("Tab");
    // $(touch pwned2), a;touch pwned, base.txt, `touch pwned3` in name order:
    // tag everything but base.txt.
    Key("Home");
    host->PressKey("Down");
    Key("Ins");
    Key("Ins");
    Key("Down");
    Key("Ins");
    host->PressKey("F5");
    ASSERT_TRUE(Shows("Compress 3 files to")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Listed("unzip -l work/x.zip", "a;touch pwned"); }))
        << Output("unzip -l work/x.zip");
    EXPECT_TRUE(Listed("unzip -l work/x.zip", "$(touch pwned2)")) << Output("unzip -l work/x.zip");
    EXPECT_TRUE(Listed("unzip -l work/x.zip", "`touch pwned3`")) << Output("unzip -l work/x.zip");

    // And out again, each member on its own (names on the command line).
    StartOn("T:\\out", "T:\\work");
    Key("Tab");
    EnterFirstFile("x.zip");
    Key("Home");
    host->PressKey("Down");
    Key("Ins");
    Key("Ins");
    Key("Down");
    Key("Ins");
    host->PressKey("F5");
    ASSERT_TRUE(Shows("Extract 3 files to")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Read("out/a;touch pwned") == "one\n"; })) << Output("ls -la out");
    EXPECT_EQ("two\n", Read("out/$(touch pwned2)"));
    EXPECT_EQ("three\n", Read("out/`touch pwned3`"));
    EXPECT_EQ("", Output("find . -name 'pwned*'"));
}

TEST_F(ArchiveCommandsTest, AFailedUpdateKeepsTheChangedCopyWhereTheMessageSays) {
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "old\n");
    ASSERT_TRUE(Run("zip ../work/x.zip a.txt"));
    EnterOnlyFile("x.zip", "\r\n[Archiver:ZIP]\r\nCompressUpdate=false\r\n");
    Key("Down");
    host->PressKey("F4");
    ASSERT_TRUE(Shows("old")) << host->ScreenText();
    host->SendText("new ");
    Key("F2");
    Key("Esc");
    Key("Home");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("An error occurred updating")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("The changed file was kept in")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\tmp\\QV#")) << host->ScreenText();
    std::string kept = Output("cat tmp/QV#*/a.txt");
    EXPECT_EQ("new old\n", kept) << Output("ls -R tmp");
    EXPECT_EQ("old\n", Output("unzip -p work/x.zip a.txt"));
}

}  // namespace

namespace {

class NestedArchiveTest : public ArchiveCommandsTest {};

TEST_F(NestedArchiveTest, AZipInsideAZipIsEnteredAndItsMemberViewed) {
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "deep text\n");
    ASSERT_TRUE(Run("zip inner.zip a.txt && zip ../work/outer.zip inner.zip && rm inner.zip"));
    EnterOnlyFile("outer.zip");
    Key("Down");
    host->PressKey("Ctrl+PgDn");
    ASSERT_TRUE(Shows("T:\\work\\outer.zip\\inner.zip")) << host->ScreenText();
    Key("Down");
    host->PressKey("F3");
    EXPECT_TRUE(Shows("deep text")) << host->ScreenText();
}

TEST_F(NestedArchiveTest, EnterOpensAnArchiveInsideAnArchiveToo) {
    QV_NEED_TOOL("zip");
    Write("src/b.txt", "inner member\n");
    ASSERT_TRUE(Run("zip inner.zip b.txt && zip ../work/outer.zip inner.zip && rm inner.zip"));
    EnterOnlyFile("outer.zip");
    Key("Down");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("T:\\work\\outer.zip\\inner.zip")) << host->ScreenText();
    EXPECT_TRUE(Shows("b.txt")) << host->ScreenText();
}

}  // namespace

namespace {

class ArchiveCommandRefusalsTest : public ArchiveCommandsTest {};

TEST_F(ArchiveCommandRefusalsTest, WhatCannotBeDoneIsSaidAndNothingChanges) {
    QV_NEED_TOOL("zip");
    QV_NEED_TOOL("gzip");
    Write("src/a.txt", "aa\n");
    ASSERT_TRUE(Run("zip ../work/x.zip a.txt && gzip -c a.txt > ../work/y.txt.gz"));
    struct Case {
        const char* archive;  // entered in the left panel, second in the folder when 2
        const char* key;
        const char* typed;  // replaces the proposed destination; null: Enter at once
        const char* message;
    } cases[] = {
        {"y.txt.gz", "F8", nullptr, "Deleting from GZIP not supported"},
        {"x.zip", "F5", "T:\\nosuch\\", "Directory does not exist"},
        {"x.zip", "F5", "T:\\nosuch", "Destination must be a valid directory"},
        {"x.zip", "F5", "T:\\work\\x.zip\\sub", "Compressing into subdirectories not supported"},
    };
    for (const Case& c : cases) {
        StartOn("T:\\work", "T:\\src");
        Key("Home");
        if (std::string(c.archive) == "y.txt.gz")
            Key("Down");
        Key("Down");
        host->PressKey("Ctrl+PgDn");
        ASSERT_TRUE(Shows(std::string("T:\\work\\") + c.archive)) << host->ScreenText();
        if (std::string(c.message).find("Compressing") == 0) {
            // From the files' side into the archive's own folder.
            Key("Tab");
            Key("Home");
            Key("Down");
        } else {
            Key("Down");
        }
        host->PressKey(c.key);
        if (std::string(c.key) == "F8") {
            ASSERT_TRUE(Shows("Do you wish to delete")) << host->ScreenText();
            host->PressKey("Enter");
        }
        if (c.typed) {
            ASSERT_TRUE(Shows(" to")) << host->ScreenText();
            host->SendText(c.typed);
            ASSERT_TRUE(Shows(c.typed)) << host->ScreenText();
            host->PressKey("Enter");
        }
        EXPECT_TRUE(Shows(c.message)) << c.message << "\n" << host->ScreenText();
        host->PressKey("Enter");
        EXPECT_TRUE(Gone(c.message)) << host->ScreenText();
    }
    EXPECT_TRUE(Listed("unzip -l work/x.zip", "a.txt"));
    EXPECT_EQ("aa\n", Output("gzip -dc work/y.txt.gz"));
    EXPECT_FALSE(Exists("nosuch"));
}

}  // namespace

namespace {

class ArchiveExtractOverwriteTest : public ArchiveCommandsTest {};

TEST_F(ArchiveExtractOverwriteTest, OnlyTheMemberThatExistsIsAskedAboutAndADeclinedOneStaysInTheArchive) {
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "new a\n");
    Write("src/b.txt", "new b\n");
    ASSERT_TRUE(Run("zip ../work/x.zip a.txt b.txt"));
    Write("out/b.txt", "old b\n");
    StartOn("T:\\work", "T:\\out");
    EnterFirstFile("x.zip");
    Key("Down");
    Key("Ins");
    Key("Ins");
    host->PressKey("F6");
    ASSERT_TRUE(Shows("Extract and Move 2 files to")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("File already exists, Overwrite?")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\out\\b.txt")) << host->ScreenText();
    host->PressKey("s");  // Skip
    ASSERT_TRUE(Gone("File already exists, Overwrite?")) << host->ScreenText();
    EXPECT_TRUE(Eventually([&] { return Read("out/a.txt") == "new a\n"; }));
    EXPECT_EQ("old b\n", Read("out/b.txt"));
    // The moved member left the archive, the declined one stayed.
    EXPECT_TRUE(Eventually([&] { return !Listed("unzip -l work/x.zip", "a.txt"); })) << Output("unzip -l work/x.zip");
    EXPECT_TRUE(Listed("unzip -l work/x.zip", "b.txt"));
    EXPECT_TRUE(Output("ls out | grep QV").empty()) << Output("ls -R out");
}

}  // namespace

namespace {

class UnwritableMemberNamesTest : public ArchiveCommandsTest {};

// A member whose name no file here can have (a control character, or "*")
// would be written by the archiver into the temporary folder, where nothing
// can move it on or remove it: it is named in a message and nothing is
// extracted, and no temporary folder stays behind, with F5 or F3.
TEST_F(UnwritableMemberNamesTest, F5AndF3OnSuchAMemberSayItAndLeaveNoTemporaryFolder) {
    QV_NEED_TOOL("zip");
    Write("src/ok.txt", "fine\n");
    ASSERT_TRUE(Run("printf 'ding\\n' > \"$(printf 'bell\\007.txt')\" && zip ../work/x.zip ok.txt bell*"));
    StartOn("T:\\work", "T:\\out");
    EnterFirstFile("x.zip");
    // bell^G.txt, ok.txt: both tagged.
    Key("Down");
    Key("Ins");
    Key("Ins");
    host->PressKey("F5");
    ASSERT_TRUE(Shows("Extract 2 files to")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("cannot be a file name here")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("cannot be a file name here")) << host->ScreenText();
    EXPECT_EQ("", Output("ls -A out")) << Output("ls -RA out");

    Key("Home");
    Key("Down");
    host->PressKey("F3");
    ASSERT_TRUE(Shows("cannot be a file name here")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("cannot be a file name here")) << host->ScreenText();
    EXPECT_TRUE(NoTemporaryFolderLeft()) << Output("ls -RA tmp");
    // The archive is as it was.
    EXPECT_TRUE(Listed("unzip -l work/x.zip", "ok.txt"));
}

}  // namespace

namespace {

class HostileMembersE2E : public ArchiveCommandsTest {};

// Members named like tar's own options beside a .bashrc, tagged and copied
// out with F5 two folders deep. Those whose names end in dots ("-C ..") can
// be no file here: the copy is refused with a message and nothing at all is
// written. The others arrive there as themselves, and no .bashrc lands in a
// folder above.
TEST_F(HostileMembersE2E, TaggedTarMembersNamedLikeOptionsArriveAsThemselves) {
    QV_NEED_TOOL("tar");
    ASSERT_TRUE(Run("for n in -v --totals .bashrc '-C ..' -C.. --directory=..; do printf 'of %s\\n' \"$n\" > \"./$n\"; "
                    "done && tar cf ../work/x.tar -- -v --totals .bashrc '-C ..' -C.. --directory=.."));
    MakeFolder("out/a");
    MakeFolder("out/a/b");
    StartOn("T:\\work", "T:\\out\\a\\b");
    EnterFirstFile("x.tar");
    Key("Down");
    for (int i = 0; i < 6; i++)
        Key("Ins");
    host->PressKey("F5");
    ASSERT_TRUE(Shows("Extract 6 files to")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("cannot be a file name here")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("cannot be a file name here")) << host->ScreenText();
    EXPECT_EQ("a\nout/a:\nb\nout/a/b:\n", Output("ls -RA out | grep -v '^$' | tail -n +2")) << Output("ls -RA out");

    // An archive of -v, --totals and .bashrc alone: all three out as
    // themselves, nothing above.
    ASSERT_TRUE(Run("rm ../work/x.tar && tar cf ../work/x.tar -- -v --totals .bashrc"));
    StartOn("T:\\work", "T:\\out\\a\\b");
    EnterFirstFile("x.tar");
    Key("Down");
    for (int i = 0; i < 3; i++)
        Key("Ins");
    host->PressKey("F5");
    ASSERT_TRUE(Shows("Extract 3 files to")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Output("cat out/a/b/.bashrc") == "of .bashrc\n"; })) << Output("ls -RA out");
    EXPECT_EQ("of -v\n", Output("cat out/a/b/-v"));
    EXPECT_EQ("of --totals\n", Output("cat out/a/b/--totals"));
    EXPECT_EQ("b\n", Output("ls -A out/a"));
    EXPECT_EQ("a\n", Output("ls -A out"));
    EXPECT_EQ("", Output("ls -A | grep bashrc"));
}

// F8 on a zip member named "*", then on "[k]eep1.txt": only that member goes,
// the others stay byte for byte.
TEST_F(HostileMembersE2E, F8OnAZipMemberNamedLikeAPatternDeletesThatMemberOnly) {
    QV_NEED_TOOL("zip");
    ASSERT_TRUE(Run("printf star > '*' && printf bracket > '[k]eep1.txt' && printf one > keep1.txt && "
                    "printf two > keep2.txt && zip ../work/x.zip -- '*' '[k]eep1.txt' keep1.txt keep2.txt"));
    EnterOnlyFile("x.zip");
    // *, [k]eep1.txt, keep1.txt, keep2.txt: F8 on the first.
    Key("Down");
    host->PressKey("F8");
    ASSERT_TRUE(Shows("Do you wish to delete")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Output("unzip -Z1 work/x.zip") == "[k]eep1.txt\nkeep1.txt\nkeep2.txt\n"; }))
        << Output("unzip -Z1 work/x.zip");
    // keep1.txt, keep2.txt, [k]eep1.txt (the bracket sorts after letters).
    Key("End");
    host->PressKey("F8");
    ASSERT_TRUE(Shows("Do you wish to delete")) << host->ScreenText();
    host->PressKey("Enter");
    EXPECT_TRUE(Eventually([&] { return Output("unzip -Z1 work/x.zip") == "keep1.txt\nkeep2.txt\n"; }))
        << Output("unzip -Z1 work/x.zip");
    EXPECT_EQ("one", Output("unzip -p work/x.zip keep1.txt"));
    EXPECT_EQ("two", Output("unzip -p work/x.zip keep2.txt"));
}

}  // namespace
