// Console control handlers: an event reaches the handlers newest first on a
// thread of its own, and the layer's checks answer as Windows does.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/win32.h"
#include "tests/platform/RunningUnderWine.h"

namespace {

HANDLE g_done;
std::atomic<int> g_calls[2];
std::atomic<DWORD> g_event{0xFFFF};
std::atomic<DWORD> g_thread{0};
std::atomic<int> g_order{0};

BOOL WINAPI OlderHandler(DWORD type) {
    g_calls[0] = ++g_order;
    g_event = type;
    g_thread = GetCurrentThreadId();
    SetEvent(g_done);
    return TRUE;
}

// Passes the event on, so that the older handler must see it after this one.
BOOL WINAPI NewerHandler(DWORD) {
    g_calls[1] = ++g_order;
    return FALSE;
}

TEST(ConsoleControlTest, CtrlCReachesHandlersNewestFirstOnAnotherThread) {
    g_done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(g_done, nullptr);
    ASSERT_TRUE(SetConsoleCtrlHandler(OlderHandler, TRUE));
    ASSERT_TRUE(SetConsoleCtrlHandler(NewerHandler, TRUE));
    BOOL sent = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    DWORD waited = sent ? WaitForSingleObject(g_done, 10000) : WAIT_TIMEOUT;
    EXPECT_TRUE(SetConsoleCtrlHandler(NewerHandler, FALSE));
    EXPECT_TRUE(SetConsoleCtrlHandler(OlderHandler, FALSE));
    CloseHandle(g_done);
    if (waited != WAIT_OBJECT_0 && qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "wine delivers no control events to a process without a console";
    }
    ASSERT_TRUE(sent);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(g_event.load(), static_cast<DWORD>(CTRL_C_EVENT));
    EXPECT_EQ(g_calls[1].load(), 1);
    EXPECT_EQ(g_calls[0].load(), 2);
    EXPECT_NE(g_thread.load(), GetCurrentThreadId());
}

TEST(ConsoleControlTest, RefusalsAnswerInvalidParameter) {
    bool wine = qvtest::RunningUnderWine();  // asked first: asking sets the last error
    SetLastError(0);
    EXPECT_FALSE(SetConsoleCtrlHandler(NewerHandler, FALSE));  // never added
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_FALSE(GenerateConsoleCtrlEvent(CTRL_CLOSE_EVENT, 0));  // only Ctrl-C and Ctrl-Break
    if (!wine) {                                                  // wine refuses without giving a reason
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

}  // namespace
