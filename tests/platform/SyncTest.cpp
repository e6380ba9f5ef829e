#include "platform/win32.h"
#include "TestThread.h"

#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

using qvtest::JoinTestThread;
using qvtest::StartTestThread;

// The result of a wait on a handle by a thread of its own.
HANDLE StartWaiter(HANDLE object, DWORD milliseconds, std::atomic<DWORD>& result) {
    return StartTestThread([object, milliseconds, &result] {
        result = WaitForSingleObject(object, milliseconds);
        return 0u;
    });
}

TEST(SyncEvent, TimedWaitOnUnsetEventTimesOut) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(event, 50), 258u);
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 50), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

TEST(SyncEvent, InitialStateAndAutomaticReset) {
    HANDLE manual = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    HANDLE automatic = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(manual, nullptr);
    ASSERT_NE(automatic, nullptr);
    // A manual-reset event stays signalled; an automatic one lets one wait through.
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(manual);
    CloseHandle(automatic);
}

// Two threads wait on one event that is set once: a manual-reset event lets
// both through and stays set; an automatic one lets exactly one through (the
// other times out) and resets itself.
TEST(SyncEvent, SetReleasesWaitersByResetKind) {
    struct {
        BOOL manualReset;
        DWORD waitLimit;
        int woken;
        DWORD afterwards;
    } cases[] = {
        {TRUE, 10000, 2, WAIT_OBJECT_0},
        {FALSE, 400, 1, static_cast<DWORD>(WAIT_TIMEOUT)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.manualReset ? "manual reset" : "automatic reset");
        HANDLE event = CreateEventW(nullptr, c.manualReset, FALSE, nullptr);
        std::atomic<DWORD> first{WAIT_FAILED};
        std::atomic<DWORD> second{WAIT_FAILED};
        HANDLE a = StartWaiter(event, c.waitLimit, first);
        HANDLE b = StartWaiter(event, c.waitLimit, second);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        Sleep(20);
        SetEvent(event);
        EXPECT_EQ(JoinTestThread(a), WAIT_OBJECT_0);
        EXPECT_EQ(JoinTestThread(b), WAIT_OBJECT_0);
        // A waiter that came late still finds an event that nobody took.
        const int woken = (first == WAIT_OBJECT_0) + (second == WAIT_OBJECT_0);
        const int timedOut = (first == WAIT_TIMEOUT) + (second == WAIT_TIMEOUT);
        EXPECT_EQ(woken, c.woken);
        EXPECT_EQ(timedOut, 2 - c.woken);
        EXPECT_EQ(WaitForSingleObject(event, 0), c.afterwards);
        CloseHandle(event);
    }
}

TEST(SyncEvent, NamedEventIsSharedWithinTheProcess) {
    char name[64];
    std::snprintf(name, sizeof(name), "QvSyncTest.%lu", static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE first = CreateEventA(nullptr, TRUE, FALSE, name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    HANDLE second = CreateEventA(nullptr, TRUE, FALSE, name);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    SetEvent(first);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    CloseHandle(first);
    CloseHandle(second);
}

// A mutex held by a helper thread until the test lets it go.
class HeldMutex : public ::testing::Test {
protected:
    void SetUp() override {
        mutex = CreateMutexW(nullptr, FALSE, nullptr);
        held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(mutex, nullptr);
        holder = StartTestThread([this] {
            if (WaitForSingleObject(mutex, 10000) != WAIT_OBJECT_0) {
                return 1u;
            }
            SetEvent(held);
            WaitForSingleObject(release, 10000);
            return ReleaseMutex(mutex) ? 0u : 2u;
        });
        ASSERT_NE(holder, nullptr);
        ASSERT_EQ(WaitForSingleObject(held, 10000), WAIT_OBJECT_0);
    }
    void TearDown() override {
        SetEvent(release);
        if (holder != nullptr) {
            JoinTestThread(holder);
        }
        CloseHandle(mutex);
        CloseHandle(held);
        CloseHandle(release);
    }

    HANDLE mutex = nullptr;
    HANDLE held = nullptr;
    HANDLE release = nullptr;
    HANDLE holder = nullptr;
};

TEST_F(HeldMutex, OthersTimeOutAndCannotReleaseIt) {
    EXPECT_EQ(WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(mutex, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    SetLastError(0);
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), 288u);
}

TEST_F(HeldMutex, OwnerReleaseLetsTheWaiterInRecursively) {
    SetEvent(release);
    ASSERT_EQ(WaitForSingleObject(mutex, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    ASSERT_EQ(WaitForSingleObject(holder, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(holder, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    // The owner may take it again; it is free only after as many releases.
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
    std::atomic<DWORD> other{WAIT_FAILED};
    HANDLE probe = StartWaiter(mutex, 0, other);
    JoinTestThread(probe);
    EXPECT_EQ(other.load(), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
}

TEST(SyncMutex, InitialOwnerAndAbandonment) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, nullptr);
    ASSERT_NE(mutex, nullptr);
    EXPECT_TRUE(ReleaseMutex(mutex));
    // A thread that ends while holding the mutex abandons it: the next owner hears of it once.
    HANDLE thread = StartTestThread([mutex] { return WaitForSingleObject(mutex, 10000) == WAIT_OBJECT_0 ? 0u : 1u; });
    ASSERT_EQ(JoinTestThread(thread), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(mutex, 10000), static_cast<DWORD>(WAIT_ABANDONED));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
    CloseHandle(mutex);
}

class TwoEvents : public ::testing::Test {
protected:
    void SetUp() override {
        events[0] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        events[1] = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        ASSERT_NE(events[0], nullptr);
        ASSERT_NE(events[1], nullptr);
    }
    void TearDown() override {
        CloseHandle(events[0]);
        CloseHandle(events[1]);
    }
    HANDLE events[2] = {nullptr, nullptr};
};

TEST_F(TwoEvents, WaitAnyReportsTheLowestSignalledIndex) {
    EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    SetEvent(events[0]);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 0), WAIT_OBJECT_0);
    // Only the object that satisfied the wait was taken.
    EXPECT_EQ(WaitForSingleObject(events[1], 0), WAIT_OBJECT_0);
}

TEST_F(TwoEvents, WaitAllTakesNothingUntilAllAreSignalled) {
    SetEvent(events[0]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    // The timed-out wait left the signalled event alone.
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_OBJECT_0);
    SetEvent(events[0]);
    HANDLE setter = StartTestThread([this] {
        Sleep(20);
        SetEvent(events[1]);
        return 0u;
    });
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 10000), WAIT_OBJECT_0);
    JoinTestThread(setter);
    EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(SyncThread, HandleSignalledAtExitWithExitCode) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = StartTestThread([go] {
        WaitForSingleObject(go, 10000);
        // The small stack asked for must still hold a real thread's frames.
        volatile char buffer[100 * 1024];
        buffer[0] = 1;
        buffer[sizeof(buffer) - 1] = 2;
        return 42u + buffer[0] - 1;
    });
    ASSERT_NE(thread, nullptr);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    CloseHandle(thread);
    CloseHandle(go);
}

TEST(SyncThread, IdsAndPriorities) {
    const DWORD self = GetCurrentThreadId();
    EXPECT_NE(self, 0u);
    EXPECT_EQ(GetCurrentThreadId(), self);
    EXPECT_NE(GetCurrentProcessId(), 0u);
    std::atomic<DWORD> other{0};
    HANDLE thread = StartTestThread([&other] {
        other = GetCurrentThreadId();
        return 0u;
    });
    JoinTestThread(thread);
    EXPECT_NE(other.load(), 0u);
    EXPECT_NE(other.load(), self);

    EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_HIGHEST);
    EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

TEST(SyncHandles, WrongKindsOfHandleAreRefused) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    SetLastError(0);
    EXPECT_FALSE(ReleaseMutex(event));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0);
    EXPECT_FALSE(SetEvent(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(mutex);
    // A closed handle is not waitable any more.
    CloseHandle(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE none[1] = {nullptr};
    EXPECT_EQ(WaitForMultipleObjects(0, none, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
