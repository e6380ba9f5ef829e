// A command in a UNC directory runs under a temporary drive letter that is
// given back afterwards.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "console/KeyCodes.h"
#include "tests/shell/ShellE2E.h"

namespace qvtest {
namespace {

class UncMappingE2E : public ShellE2E {};

TEST_F(UncMappingE2E, APanelInAShareRunsItsCommandThereUnderALetter) {
    if (OnWindowsLeg()) {
        // Wine reaches a share's files (its dosdevices\unc folder), but it
        // has no network provider to give the share a letter.
        GTEST_SKIP() << "wine 8 has no network provider: WNetAddConnection2W fails with ERROR_NO_NETWORK (1222)";
    }
    MakeFolder("share");
    MakeFolder("share/sub");
    char real[PATH_MAX];
    ASSERT_NE(nullptr, realpath(PathOf("share").c_str(), real));
    Start("PauseAfterRun=on\r\n", {{"QUORVANE_SHARES", "\\\\srv\\share=" + std::string(real)}});
    Type("cd \\\\srv\\share\\sub");
    ASSERT_TRUE(PromptIs("\\\\srv\\share\\sub")) << host->ScreenText();

    Type("pwd");
    ASSERT_TRUE(Shows(std::string(real) + "/sub")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(PromptIs("\\\\srv\\share\\sub")) << host->ScreenText();

    // The drive menu (of the other panel, on a drive) lists the network
    // and the drives, and no letter of the share.
    host->SendKey(KEY_ALT_F2);
    ASSERT_TRUE(Shows("Choose right drive:")) << host->ScreenText();
    ASSERT_TRUE(Shows("\\\\  C  T ")) << host->ScreenText();
    std::string cells = host->Snapshot().RowText(RowOf(host->Snapshot(), "\\\\  C  T "));
    EXPECT_EQ(std::string::npos, cells.find(" Z ")) << cells;
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("Choose right drive:"));
}

TEST_F(UncMappingE2E, AShareThatIsNotThereIsReported) {
    StartPausing();
    Type("cd \\\\nosuchserver\\share");
    ASSERT_TRUE(Shows("Invalid directory")) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
