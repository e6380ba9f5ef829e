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
    void SetUp() override
    {
        ProgramTest::SetUp();
        MakeFolder("src");
    }
    // Runs a shell command in Root()/src; true when it succeeded.
    bool Run(const std::string& command)
    {
        return std::system(("cd '" + Root() + "/src' && (" + command + ") >/dev/null 2>&1").c_str()) == 0;
    }
    // What a shell command prints, run in Root().
    std::string Output(const std::string& command)
    {
        return qvtest::RunShell("cd '" + Root() + "' && " + command + " 2>&1");
    }
    // Starts on T:\work and enters the archive that is the folder's only file.
    void EnterOnlyFile(const std::string& archive)
    {
        Start();
        host->PressKey("Down");
        ASSERT_TRUE(host->WaitQuiet());
        host->PressKey("Ctrl+PgDn");
        ASSERT_TRUE(Shows("T:\\work\\" + archive)) << host->ScreenText();
    }
};

TEST_F(ArchiveCommandsTest, F3ShowsAMemberOfAZip)
{
    QV_NEED_TOOL("zip");
    Write("src/a.txt", "the text inside\n");
    ASSERT_TRUE(Run("zip ../work/x.zip a.txt"));
    EnterOnlyFile("x.zip");
    host->PressKey("Down");
    ASSERT_TRUE(host->WaitQuiet());
    host->PressKey("F3");
    EXPECT_TRUE(Shows("the text inside")) << host->ScreenText();
}

}  // namespace
