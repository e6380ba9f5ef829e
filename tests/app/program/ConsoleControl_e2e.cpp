// Console control events sent to the real program as the signals that stand
// for them: SIGINT is Ctrl-C, SIGHUP the console closing, SIGTERM shut-down.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"
#include "ui/ConsoleControl.h"

namespace qvtest {
namespace {

const char Question[] = "Terminate Quorvane ?";

class ConsoleControlE2E : public ProgramTest {
protected:
    void Signal(int signo) { ASSERT_EQ(kill(host->Pid(), signo), 0); }
    bool CommandLineIs(const std::string& text) {
        return host->WaitFor(
            [&](const qvhost::ScreenModel& s) {
                return s.RowText(s.Rows() - 2).rfind("T:\\work>" + text + " ", 0) == 0;
            },
            WaitMs);
    }
};

TEST_F(ConsoleControlE2E, CtrlCAsksAndAnOkEndsWithExitCode3) {
    struct Case {
        const char* name;
        int code;
        int character;
    };
    const Case answers[] = {{"Enter", 13, 13}, {"y", 'y', 'y'}, {"Y", 'Y', 'Y'}};
    for (const Case& answer : answers) {
        SCOPED_TRACE(answer.name);
        Start();
        host->SendText("draft");
        ASSERT_TRUE(CommandLineIs("draft"));
        Signal(SIGINT);
        ASSERT_TRUE(Shows(Question)) << host->ScreenText();
        // Cancelled, the program goes on where it was.
        host->SendKey(KEY_ESC, KEY_ESC);
        ASSERT_TRUE(Gone(Question));
        EXPECT_TRUE(CommandLineIs("draft")) << host->ScreenText();
        host->SendText("!");
        EXPECT_TRUE(CommandLineIs("draft!")) << host->ScreenText();
        Signal(SIGINT);
        ASSERT_TRUE(Shows(Question)) << host->ScreenText();
        host->SendKey(answer.code, answer.character);
        EXPECT_EQ(host->WaitExit(), 3);
    }
}

TEST_F(ConsoleControlE2E, ClosingTheConsoleOrShuttingDownEndsWithExitCode4) {
    if (OnWindowsLeg()) {
        GTEST_SKIP() << "wine ends a program on SIGHUP and SIGTERM without a close or shut-down event";
    }
    for (int signo : {SIGHUP, SIGTERM}) {
        SCOPED_TRACE(signo);
        Start();
        Signal(signo);
        EXPECT_EQ(host->WaitExit(), 4);
        EXPECT_EQ(host->ScreenText().find(Question), std::string::npos);
    }
}

TEST_F(ConsoleControlE2E, WhileADialogRunsNothingIsDrawnOverIt) {
    Start();
    host->SendKey(KEY_ALT_F5);
    ASSERT_TRUE(Shows(" Stored Paths ")) << host->ScreenText();
    Signal(SIGINT);
    host->WaitQuiet(600);
    EXPECT_EQ(host->ScreenText().find(Question), std::string::npos) << host->ScreenText();
    // The dialog still takes its keys; once it is gone the question comes.
    host->SendText("0");
    host->SendKey(KEY_ESC, KEY_ESC);
    ASSERT_TRUE(Gone(" Stored Paths ")) << host->ScreenText();
    ASSERT_TRUE(Shows(Question)) << host->ScreenText();
    host->SendKey(KEY_ESC, KEY_ESC);
    ASSERT_TRUE(Gone(Question));

    if (OnWindowsLeg()) {
        return;  // wine turns no signal into the close event (see the test above)
    }
    // Closing the console ends the program even while a dialog runs.
    host->SendKey(KEY_ALT_F5);
    ASSERT_TRUE(Shows(" Stored Paths ")) << host->ScreenText();
    Signal(SIGHUP);
    EXPECT_EQ(host->WaitExit(15000), 4);
}

// While a child program runs in a process group of its own, Ctrl-C is passed
// on to that group and nothing is asked.
TEST(ConsoleControlChildTest, CtrlCGoesToTheChildsProcessGroup) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setpgid(0, 0);
        signal(SIGINT, SIG_DFL);
        char byte = 1;
        ssize_t n = write(ready[1], &byte, 1);
        (void)n;
        for (;;) {
            pause();
        }
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    TakeConsoleControlRequest();
    {
        CUserAbortScope running(UserAbortChildRunning);
        ChildProcessGroup = static_cast<uint32_t>(child);
        EXPECT_EQ(ConsoleCtrlHandler(CTRL_C_EVENT), TRUE);
        EXPECT_EQ(UserAbortState, UserAbortChildRunning);
    }
    ChildProcessGroup = 0;
    EXPECT_EQ(TakeConsoleControlRequest(), -1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
}

}  // namespace
}  // namespace qvtest
