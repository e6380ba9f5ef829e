// The console control handler called as the system calls it: what it leaves
// for the main loop and what it does to the abort state. The events that end
// the program are driven through the real program (ConsoleControl_e2e.cpp).
#include "ui/ConsoleControl.h"

#include <gtest/gtest.h>

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

class ConsoleControlAnswerTest : public qvtest::UiConsole {
protected:
    void SetUp() override {
        qvtest::UiConsole::SetUp();
        TakeConsoleControlRequest();
    }
    void TearDown() override {
        TakeConsoleControlRequest();
        qvtest::UiConsole::TearDown();
    }
    // Waits until the console has received n events in all.
    bool Received(uint64_t n) {
        for (int waited = 0; waited < 5000; waited++) {
            if (Console->EventsReceived() >= n) {
                return true;
            }
            Sleep(1);
        }
        return false;
    }
};

TEST_F(ConsoleControlAnswerTest, CancellingTheQuestionGoesBackToWhereTheProgramWas) {
    // No request: nothing is asked and no key is read.
    AnswerConsoleControlRequest(-1);
    Console->WriteText(0, 5, "panel row", 0x1B);
    ASSERT_EQ(ConsoleCtrlHandler(CTRL_C_EVENT), TRUE);
    // The key comes after the control event, however late the question
    // is drawn: it answers the question.
    Key(KEY_ESC, KEY_ESC);
    AnswerConsoleControlRequest(TakeConsoleControlRequest());
    // Still running, with the screen as it was.
    EXPECT_EQ(Row(5).substr(0, 9), "panel row");
    EXPECT_EQ(AttrAt(0, 5), 0x1B);
    EXPECT_FALSE(Console->HasPendingEvents());
}

// A key typed before Ctrl-C must not answer the question: an Enter or a 'y'
// already on its way would end the program without the user having seen the
// question.
TEST_F(ConsoleControlAnswerTest, KeysTypedBeforeTheControlEventDoNotAnswerTheQuestion) {
    Key(KEY_ENTER, KEY_ENTER);
    Key('y', 'y');
    ASSERT_TRUE(Received(2));
    ASSERT_EQ(ConsoleCtrlHandler(CTRL_C_EVENT), TRUE);
    Key(KEY_ESC, KEY_ESC);
    Key('x', 'x');
    // Were the Enter taken for the answer, the program would end here.
    AnswerConsoleControlRequest(TakeConsoleControlRequest());
    // The key after the answer is still there for the program (it may still
    // be on its way from the host: the read waits for it).
    CConsole::TEvent next = {};
    ASSERT_TRUE(Console->GetEvent(next, 5000));
    EXPECT_EQ(next.code, 'x');
}

}  // namespace
