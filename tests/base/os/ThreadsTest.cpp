#include "base/os/CEvent.h"
#include "base/os/CMutex.h"
#include "base/os/CWinHandle.h"
#include "base/os/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

namespace {

// Runs a routine on a thread of its own and waits for it to end.
template <class F>
void OnOtherThread(F f) {
    struct Call {
        static unsigned __stdcall Run(void* argument) {
            (*static_cast<F*>(argument))();
            return 0;
        }
    };
    CWinHandle thread(StartThread(&Call::Run, &f));
    ASSERT_TRUE(thread.IsValid());
    ASSERT_EQ(0u, thread.WaitAndClose());
}

TEST(CMutexTest, LocksNestOnOneThread) {
    CMutex mutex;
    EXPECT_FALSE(mutex.IsLocked());
    EXPECT_EQ(0u, mutex.Lock());
    EXPECT_EQ(0u, mutex.Lock(0));
    mutex.Unlock();
    EXPECT_TRUE(mutex.IsLocked());
    DWORD other = 0;
    OnOtherThread([&]() { other = mutex.Lock(0); });
    EXPECT_EQ(DWORD(ERROR_TIMEOUT), other);
    mutex.Unlock();
    EXPECT_FALSE(mutex.IsLocked());
    OnOtherThread([&]() {
        other = mutex.Lock(0);
        mutex.Unlock();
    });
    EXPECT_EQ(0u, other);
}

TEST(CMutexTest, UnlockFromAnotherThreadIsIgnored) {
    CMutex mutex;
    ASSERT_EQ(0u, mutex.Lock());
    bool lockedThere = false;
    OnOtherThread([&]() {
        mutex.Unlock();
        lockedThere = mutex.IsLocked();
    });
    EXPECT_TRUE(lockedThere);
    EXPECT_TRUE(mutex.IsLocked());
    mutex.Unlock();
    EXPECT_FALSE(mutex.IsLocked());
}

TEST(CMutexTest, DestroyingOnTheOwningThreadReleasesEveryLevel) {
    // Two objects of one name reach one mutex, so the second sees what
    // destroying the first leaves behind.
    CMutex survivor("quorvane-test-mutex-destroy");
    OnOtherThread([&]() {
        CMutex* held = new CMutex("quorvane-test-mutex-destroy");
        held->Lock();
        held->Lock();
        delete held;
        // Ending the thread now must not be what frees it.
        DWORD afterDelete = 1;
        OnOtherThread([&]() {
            afterDelete = survivor.Lock(0);
            survivor.Unlock();
        });
        EXPECT_EQ(0u, afterDelete);
    });
}

// Threads take turns at one lock around a plain counter; between turns each
// also unlocks without holding it (ignored, though its id may still stand
// as the last owner) and asks whether it is held. No increment is lost, no
// stray unlock frees another thread's lock, and the lock ends free.
TEST(CMutexTest, TurnsOfManyThreadsWithStrayUnlocks) {
    struct Shared {
        CMutex mutex;
        int counter = 0;
        std::atomic<int> failures{0};
    } shared;
    constexpr int threads = 4;
    constexpr int turns = 2000;
    struct Call {
        static unsigned __stdcall Run(void* argument) {
            auto* s = static_cast<Shared*>(argument);
            for (int i = 0; i < turns; i++) {
                if (s->mutex.Lock(20000) != 0) {
                    s->failures++;
                    return 1;
                }
                if (s->mutex.Lock(0) != 0 || !s->mutex.IsLocked())
                    s->failures++;
                s->counter++;
                s->mutex.Unlock();
                s->mutex.Unlock();
                s->mutex.Unlock();
                (void)s->mutex.IsLocked();
            }
            return 0;
        }
    };
    CWinHandle workers[threads];
    for (auto& worker : workers) {
        worker.Reset(StartThread(&Call::Run, &shared));
        ASSERT_TRUE(worker.IsValid());
    }
    for (auto& worker : workers)
        EXPECT_EQ(0u, worker.WaitAndClose());
    EXPECT_EQ(0, shared.failures);
    EXPECT_EQ(threads * turns, shared.counter);
    EXPECT_FALSE(shared.mutex.IsLocked());
    // The depth came out even: one lock holds it, one unlock frees it.
    ASSERT_EQ(0u, shared.mutex.Lock());
    EXPECT_TRUE(shared.mutex.IsLocked());
    shared.mutex.Unlock();
    EXPECT_FALSE(shared.mutex.IsLocked());
}

TEST(CEventTest, ManualResetEventStaysSetUntilReset) {
    CEvent event;
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), event.Wait(100));
    OnOtherThread([&]() { event.Set(); });
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), event.Wait(INFINITE));
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), event.Wait(0));
    event.Reset();
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), event.Wait(0));
}

TEST(ThreadsTest, ThreadGetsItsArgumentAndARoomyStack) {
    // Far more than a Windows commit size of 8192 bytes.
    const size_t bytes = 128 * 1024;
    size_t touched = 0;
    OnOtherThread([&]() {
        volatile unsigned char room[bytes];
        memset(const_cast<unsigned char*>(room), 1, bytes);
        for (size_t i = 0; i < bytes; i += 4096) {
            touched += room[i];
        }
    });
    EXPECT_EQ(bytes / 4096, touched);
}

TEST(ThreadsTest, WaitAndCloseOnAFinishedThreadEmptiesTheHolder) {
    struct Call {
        static unsigned __stdcall Run(void*) { return 7; }
    };
    CWinHandle thread(StartThread(&Call::Run, nullptr));
    ASSERT_TRUE(thread.IsValid());
    WaitForSingleObject(thread.Get(), INFINITE);
    EXPECT_EQ(0u, thread.WaitAndClose());
    EXPECT_FALSE(thread.IsValid());
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), thread.WaitAndClose());
}

TEST(ThreadsTest, PriorityIsRaisedAndRestored) {
    int raised = 0;
    int restored = 0;
    OnOtherThread([&]() {
        EXPECT_EQ(0, RaiseThreadPriority());
        raised = GetThreadPriority(GetCurrentThread());
        EXPECT_EQ(0, RestoreThreadPriority());
        restored = GetThreadPriority(GetCurrentThread());
    });
    EXPECT_EQ(THREAD_PRIORITY_HIGHEST, raised);
    EXPECT_EQ(THREAD_PRIORITY_NORMAL, restored);
}

}  // namespace
