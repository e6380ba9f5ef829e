#include "platform/win32.h"
#include "TestThread.h"

#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

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

// Threads that each tell when they are about to block in a wait, so that a
// test signals only once all of them wait (a short pause covers the step
// from the word to the wait).
class Waiters {
public:
    ~Waiters() {
        for (HANDLE thread : threads) {
            JoinTestThread(thread);
        }
        for (HANDLE event : ready) {
            CloseHandle(event);
        }
    }
    // Starts a thread that runs `wait` after saying it is ready; its result
    // lands in results[i].
    void Start(std::function<DWORD()> wait) {
        const size_t i = threads.size();
        HANDLE readyEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ready.push_back(readyEvent);
        results.push_back(std::make_unique<std::atomic<DWORD>>(WAIT_FAILED - 1));
        std::atomic<DWORD>* result = results[i].get();
        threads.push_back(StartTestThread([readyEvent, result, wait] {
            SetEvent(readyEvent);
            *result = wait();
            return 0u;
        }));
    }
    bool AllBlocked() {
        for (HANDLE event : ready) {
            if (WaitForSingleObject(event, 10000) != WAIT_OBJECT_0) {
                return false;
            }
        }
        Sleep(100);
        return true;
    }
    // How many have returned with that result, waiting up to the limit for
    // at least `wanted` of them.
    int CountOf(DWORD result, int wanted = 0, DWORD limitMs = 10000) {
        for (DWORD spent = 0;; spent += 5) {
            int n = 0;
            for (auto& r : results) {
                n += r->load() == result;
            }
            if (n >= wanted || spent >= limitMs) {
                return n;
            }
            Sleep(5);
        }
    }
    void Join() {
        for (HANDLE thread : threads) {
            EXPECT_EQ(JoinTestThread(thread), WAIT_OBJECT_0);
        }
        threads.clear();
    }

    std::vector<std::unique_ptr<std::atomic<DWORD>>> results;

private:
    std::vector<HANDLE> threads;
    std::vector<HANDLE> ready;
};

// Set in a row while several threads wait, an auto-reset event lets exactly
// one waiter through per set and stays reset: no set is lost to a waiter
// that has not run yet, and no two waiters share one set.
TEST(SyncWaits, EachSetOfAnAutoResetEventReleasesOneWaiter) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    const int count = 5;
    Waiters waiters;
    for (int i = 0; i < count; ++i) {
        waiters.Start([event] { return WaitForSingleObject(event, 15000); });
    }
    ASSERT_TRUE(waiters.AllBlocked());
    SetEvent(event);
    EXPECT_EQ(waiters.CountOf(WAIT_OBJECT_0, 1), 1);
    Sleep(50);
    EXPECT_EQ(waiters.CountOf(WAIT_OBJECT_0), 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    for (int i = 1; i < count; ++i) {
        SetEvent(event);
    }
    EXPECT_EQ(waiters.CountOf(WAIT_OBJECT_0, count), count);
    waiters.Join();
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

// Each waiter waits on all 64 events it may name at most, or on any of them;
// the one set event answers the any-waiter with its own index and takes
// nothing else, and the all-waiter only once the last of them is set.
TEST(SyncWaits, WaitsOnTheMostObjectsAWaitMayName) {
    std::vector<HANDLE> events;
    for (int i = 0; i < MAXIMUM_WAIT_OBJECTS; ++i) {
        events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_NE(events.back(), nullptr);
    }
    const DWORD count = MAXIMUM_WAIT_OBJECTS;
    Waiters waiters;
    waiters.Start([&events, count] { return WaitForMultipleObjects(count, events.data(), FALSE, 15000); });
    waiters.Start([&events, count] { return WaitForMultipleObjects(count, events.data(), TRUE, 15000); });
    ASSERT_TRUE(waiters.AllBlocked());
    SetEvent(events[37]);
    ASSERT_EQ(waiters.CountOf(WAIT_OBJECT_0 + 37, 1), 1);
    EXPECT_EQ(waiters.results[1]->load(), WAIT_FAILED - 1);
    for (int i = 0; i < MAXIMUM_WAIT_OBJECTS; ++i) {
        if (i != 63) {
            SetEvent(events[i]);
        }
    }
    Sleep(50);
    EXPECT_EQ(waiters.results[1]->load(), WAIT_FAILED - 1);
    SetEvent(events[63]);
    waiters.Join();
    EXPECT_EQ(waiters.results[1]->load(), WAIT_OBJECT_0);
    for (HANDLE event : events) {
        CloseHandle(event);
    }
}

// A wait on all of a mutex and an auto-reset event takes neither while the
// mutex is held elsewhere, and both at once when it comes free: the event
// stays set meanwhile, and afterwards the waiter owns the mutex.
TEST(SyncWaits, WaitAllTakesAMutexAndAnEventTogether) {
    HANDLE objects[2] = {CreateMutexW(nullptr, TRUE, nullptr), CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    ASSERT_NE(objects[0], nullptr);
    ASSERT_NE(objects[1], nullptr);
    std::atomic<BOOL> releasedThere{FALSE};
    Waiters waiters;
    waiters.Start([&objects, &releasedThere] {
        DWORD result = WaitForMultipleObjects(2, objects, TRUE, 15000);
        releasedThere = ReleaseMutex(objects[0]);
        return result;
    });
    ASSERT_TRUE(waiters.AllBlocked());
    SetEvent(objects[1]);
    Sleep(50);
    EXPECT_EQ(waiters.results[0]->load(), WAIT_FAILED - 1);
    // Still set: nobody took it. The owner may take it, and sets it again.
    EXPECT_EQ(WaitForSingleObject(objects[1], 0), WAIT_OBJECT_0);
    SetEvent(objects[1]);
    EXPECT_TRUE(ReleaseMutex(objects[0]));
    waiters.Join();
    EXPECT_EQ(waiters.results[0]->load(), WAIT_OBJECT_0);
    EXPECT_TRUE(releasedThere.load());
    EXPECT_EQ(WaitForSingleObject(objects[1], 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(objects[0], 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(objects[0]));
    CloseHandle(objects[0]);
    CloseHandle(objects[1]);
}

// Two waits that share an auto-reset event: one also names an event of its
// own. Both are set in a row: each waiter gets one, none is left waiting.
TEST(SyncWaits, OverlappingWaitsEachGetOneOfTwoSets) {
    HANDLE own = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE shared = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE both[2] = {own, shared};
    Waiters waiters;
    waiters.Start([&both] { return WaitForMultipleObjects(2, both, FALSE, 15000); });
    waiters.Start([shared] { return WaitForSingleObject(shared, 15000); });
    ASSERT_TRUE(waiters.AllBlocked());
    SetEvent(own);
    SetEvent(shared);
    waiters.Join();
    EXPECT_EQ(waiters.results[0]->load(), WAIT_OBJECT_0);
    EXPECT_EQ(waiters.results[1]->load(), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(own);
    CloseHandle(shared);
}

// A wait that timed out is gone: a later set or release stays for whoever
// comes next, and a mutex whose owner ends while a thread waits for it goes
// to that thread as abandoned.
TEST(SyncWaits, TimedOutWaitsTakeNothingLaterAndAbandonmentReachesAWaiter) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        Waiters waiters;
        waiters.Start([event] { return WaitForSingleObject(event, 30); });
        waiters.Start([mutex] { return WaitForSingleObject(mutex, 30); });
        waiters.Join();
        EXPECT_EQ(waiters.results[0]->load(), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_EQ(waiters.results[1]->load(), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    SetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
    Waiters other;
    other.Start([mutex] { return WaitForSingleObject(mutex, 0); });
    other.Join();
    EXPECT_EQ(other.results[0]->load(), WAIT_OBJECT_0);

    // The probe ended holding the mutex, so the helper takes it as abandoned;
    // then the helper ends holding it while another thread waits for it.
    Waiters holder;
    holder.Start([mutex, release] {
        DWORD taken = WaitForSingleObject(mutex, 10000);
        WaitForSingleObject(release, 10000);
        return taken;
    });
    ASSERT_TRUE(holder.AllBlocked());
    Waiters waiter;
    waiter.Start([mutex] {
        DWORD result = WaitForSingleObject(mutex, 15000);
        ReleaseMutex(mutex);
        return result;
    });
    ASSERT_TRUE(waiter.AllBlocked());
    SetEvent(release);
    holder.Join();
    waiter.Join();
    EXPECT_EQ(holder.results[0]->load(), static_cast<DWORD>(WAIT_ABANDONED));
    EXPECT_EQ(waiter.results[0]->load(), static_cast<DWORD>(WAIT_ABANDONED));
    CloseHandle(event);
    CloseHandle(mutex);
    CloseHandle(release);
}

// Sets and releases of other objects do not wake a thread that waits on an
// event of its own: it sleeps through them without a context switch each.
TEST(SyncWaits, OtherObjectsDoNotWakeAWaiter) {
#ifdef _WIN32
    GTEST_SKIP() << "counts the waiter's context switches through Linux's per-thread usage";
#else
    HANDLE own = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE other = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    const int rounds = 100;
    Waiters waiters;
    for (int i = 0; i < 2; ++i) {
        waiters.Start([own] {
            struct rusage before, after;
            getrusage(RUSAGE_THREAD, &before);
            if (WaitForSingleObject(own, 30000) != WAIT_OBJECT_0) {
                return WAIT_FAILED;
            }
            getrusage(RUSAGE_THREAD, &after);
            return static_cast<DWORD>(after.ru_nvcsw - before.ru_nvcsw);
        });
    }
    ASSERT_TRUE(waiters.AllBlocked());
    for (int i = 0; i < rounds; ++i) {
        SetEvent(other);
        WaitForSingleObject(mutex, 0);
        ReleaseMutex(mutex);
        Sleep(1);
    }
    SetEvent(own);
    waiters.Join();
    // One sleep, and a few more when a lock was busy at the wrong moment.
    for (auto& switches : waiters.results) {
        EXPECT_LT(switches->load(), 10u);
    }
    CloseHandle(own);
    CloseHandle(other);
    CloseHandle(mutex);
#endif
}

}  // namespace
