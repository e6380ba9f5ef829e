// The fixture of the shell's end-to-end tests: the program with "PauseAfterRun"
// on, typed commands, and the pause after a waited program.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProgramTest.h"

namespace qvtest {

class ShellE2E : public ProgramTest {
protected:
    static constexpr const char* Pause = "Press any key to continue";

    void SetUp() override {
        ProgramTest::SetUp();
        if (OnWindowsLeg()) {
            // Its command lines (printf, ls, printenv, sh quoting) are for the
            // Linux build's interpreter; the Windows build's is cmd.
            CountInWindowsLeg(false);
            GTEST_SKIP() << "command lines for the POSIX shell";
        }
    }
    // More ini text may follow the general options (sections of its own).
    void StartPausing(const std::string& moreIni = "") { Start("PauseAfterRun=on\r\n" + moreIni); }
    // Types a command and Enter.
    void Type(const std::string& command) {
        host->SendText(command);
        host->PressKey("Enter");
    }
    // After a waited program: the pause line, then a key brings the panels back.
    ::testing::AssertionResult Continue() {
        if (!Shows(Pause)) {
            return ::testing::AssertionFailure() << "no pause line:\n" << host->ScreenText();
        }
        host->SendText("x");
        if (!Gone(Pause) || !KeyBarShown()) {
            return ::testing::AssertionFailure() << "the panels did not come back:\n" << host->ScreenText();
        }
        return ::testing::AssertionSuccess();
    }
};

}  // namespace qvtest
