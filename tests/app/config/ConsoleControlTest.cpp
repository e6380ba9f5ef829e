// The console control handler called as the system calls it: what it leaves
// for the main loop and what it does to the abort state. The events that end
// the program are driven through the real program (ConsoleControl_e2e.cpp).
#include "app/ConsoleControl.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/ui/UiConsole.h"

namespace {

class ConsoleControlTest : public ::testing::Test {
protected:
    void SetUp() override { TakeConsoleControlRequest(); }
    void TearDown() override {
        UserAbortState = UserAbortIdle;
        TakeConsoleControlRequest();
    }
};

TEST_F(ConsoleControlTest, CtrlCAndBreakWhileIdleLeaveOneRequestForTheMainLoop) {
    for (DWORD type : {DWORD(CTRL_C_EVENT), DWORD(CTRL_BREAK_EVENT)}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(ConsoleCtrlHandler(type), TRUE);
        // A second press before the main loop looked asks only once.
        EXPECT_EQ(ConsoleCtrlHandler(CTRL_C_EVENT), TRUE);
        EXPECT_EQ(UserAbortState, UserAbortIdle);
        EXPECT_EQ(TakeConsoleControlRequest(), static_cast<int>(type));
        EXPECT_EQ(TakeConsoleControlRequest(), -1);
    }
}

TEST_F(ConsoleControlTest, DuringALongOperationOnlyTheAbortIsRequested) {
    for (DWORD type : {DWORD(CTRL_C_EVENT), DWORD(CTRL_BREAK_EVENT)}) {
        SCOPED_TRACE(type);
        {
            CUserAbortScope operation(UserAbortPolling);
            EXPECT_EQ(ConsoleCtrlHandler(type), TRUE);
            EXPECT_EQ(UserAbortState, UserAbortRequested);
            // Pressed again while the operation winds down: still no question.
            EXPECT_EQ(ConsoleCtrlHandler(type), TRUE);
            EXPECT_EQ(UserAbortState, UserAbortRequested);
        }
        EXPECT_EQ(UserAbortState, UserAbortIdle);
        EXPECT_EQ(TakeConsoleControlRequest(), -1);
    }
}

TEST_F(ConsoleControlTest, EventsThatAreNotOursArePassedOn) {
    for (DWORD type : {DWORD(3), DWORD(4), DWORD(7), DWORD(100)}) {
        SCOPED_TRACE(type);
        CUserAbortScope operation(UserAbortPolling);
        EXPECT_EQ(ConsoleCtrlHandler(type), FALSE);
        EXPECT_EQ(UserAbortState, UserAbortPolling);
        EXPECT_EQ(TakeConsoleControlRequest(), -1);
    }
}

TEST_F(ConsoleControlTest, NestedOperationsPutBackTheStateTheyFound) {
    {
        CUserAbortScope outer(UserAbortPolling);
        {
            CUserAbortScope child(UserAbortChildRunning);
            EXPECT_EQ(UserAbortState, UserAbortChildRunning);
        }
        EXPECT_EQ(UserAbortState, UserAbortPolling);
    }
    EXPECT_EQ(UserAbortState, UserAbortIdle);
}

using ConsoleControlAnswerTest = qvtest::UiConsole;

TEST_F(ConsoleControlAnswerTest, CancellingTheQuestionGoesBackToWhereTheProgramWas) {
    // No request: nothing is asked and no key is read.
    AnswerConsoleControlRequest(-1);
    Console->WriteText(0, 5, "panel row", 0x1B);
    // The answer drops the keys typed before its question, so Esc comes once
    // the question shows.
    std::thread escape([this] {
        for (int tries = 0; tries < 1000; tries++) {
            for (int y = 0; y < 25; y++) {
                if (Row(y).find("Terminate Quorvane ?") != std::string::npos) {
                    Key(27, 27);
                    return;
                }
            }
            Sleep(10);
        }
    });
    AnswerConsoleControlRequest(CTRL_C_EVENT);
    escape.join();
    // Still running, with the screen as it was.
    EXPECT_EQ(Row(5).substr(0, 9), "panel row");
    EXPECT_EQ(AttrAt(0, 5), 0x1B);
}

}  // namespace
