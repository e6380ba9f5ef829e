// Threads over pthreads: _beginthreadex, thread ids, exit codes, priorities,
// Sleep. A thread object is a waitable handle signalled when its routine returns.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Sync.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <pthread.h>
#include <sched.h>
#include <thread>
#include <unistd.h>

namespace w32 {

namespace {

// Windows sizes the fixed thread stacks of the callers as commit sizes; a
// pthread stack must hold the whole thread, including the static TLS that glibc
// carves from its top (large under the sanitizers), so none gets less than
// this. It is address space, not memory: only touched pages cost anything.
constexpr size_t kMinimumStack = 1024 * 1024;

// Pseudo-handle values as Windows hands them out: never in the handle table.
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

class ThreadObject : public HandleObject {
public:
    ThreadObject() : HandleObject(HandleKind::Thread) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaledFor(unsigned long) override { return finished; }

    // Under WaitMutex().
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
    DWORD threadId = 0;
    std::atomic<int> priority{THREAD_PRIORITY_NORMAL};
};

struct StartBlock {
    std::shared_ptr<ThreadObject> thread;
    _beginthreadex_proc_type start;
    void* argument;
};

std::atomic<DWORD> g_nextThreadId{4};
thread_local DWORD t_threadId = 0;
// The priority of the calling thread: its thread object's field when the layer
// started it, else a field of its own.
thread_local std::atomic<int> t_ownPriority{THREAD_PRIORITY_NORMAL};
thread_local std::atomic<int>* t_priority = nullptr;

DWORD NewThreadId() {
    return g_nextThreadId.fetch_add(4);
}

void* ThreadMain(void* raw) {
    std::unique_ptr<StartBlock> block(static_cast<StartBlock*>(raw));
    std::shared_ptr<ThreadObject> thread = block->thread;
    t_threadId = thread->threadId;
    t_priority = &thread->priority;
    unsigned code = block->start(block->argument);
    block.reset();
    AbandonMutexesOfCurrentThread();
    {
        std::lock_guard<std::mutex> guard(WaitMutex());
        thread->exitCode = code;
        thread->finished = true;
        SignalWaiters(*thread);
    }
    t_priority = nullptr;
    return nullptr;
}

// The priority field behind a thread handle, kept alive for the caller.
std::shared_ptr<std::atomic<int>> PriorityOf(HANDLE handle) {
    if (handle == kCurrentThread) {
        return std::shared_ptr<std::atomic<int>>(std::shared_ptr<void>(),
                                                 t_priority != nullptr ? t_priority : &t_ownPriority);
    }
    std::shared_ptr<ThreadObject> thread = LookupHandleAs<ThreadObject>(handle, HandleKind::Thread);
    if (!thread) {
        return nullptr;
    }
    return std::shared_ptr<std::atomic<int>>(thread, &thread->priority);
}

bool IsValidPriority(int priority) {
    return (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST) ||
           priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL;
}

}  // namespace

}  // namespace w32

uintptr_t _beginthreadex(void* security, unsigned stackSize, _beginthreadex_proc_type start, void* arglist,
                         unsigned initFlag, unsigned* threadId) {
    (void)security;
    // No ResumeThread here: a suspended start would never run.
    if (start == nullptr || (initFlag & CREATE_SUSPENDED) != 0) {
        errno = EINVAL;
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto thread = std::make_shared<w32::ThreadObject>();
    thread->threadId = w32::NewThreadId();

    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    if (stackSize != 0) {
        size_t size = stackSize < w32::kMinimumStack ? w32::kMinimumStack : stackSize;
        size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        size = (size + page - 1) / page * page;
        pthread_attr_setstacksize(&attr, size);
    }
    auto* block = new w32::StartBlock{thread, start, arglist};
    HANDLE handle = w32::RegisterHandle(thread);
    pthread_t id;
    int err = pthread_create(&id, &attr, w32::ThreadMain, block);
    pthread_attr_destroy(&attr);
    if (err != 0) {
        delete block;
        CloseHandle(handle);
        errno = err;
        w32::FailErrno(err);
        return 0;
    }
    if (threadId != nullptr) {
        *threadId = thread->threadId;
    }
    return reinterpret_cast<uintptr_t>(handle);
}

BOOL WINAPI GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
    if (exitCode == nullptr) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    if (handle == w32::kCurrentThread) {
        *exitCode = STILL_ACTIVE;
        return TRUE;
    }
    auto thread = w32::LookupHandleAs<w32::ThreadObject>(handle, w32::HandleKind::Thread);
    if (!thread) {
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(w32::WaitMutex());
    *exitCode = thread->exitCode;
    return TRUE;
}

DWORD WINAPI GetCurrentThreadId() {
    if (w32::t_threadId == 0) {
        w32::t_threadId = w32::NewThreadId();
    }
    return w32::t_threadId;
}

DWORD WINAPI GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

HANDLE WINAPI GetCurrentThread() {
    return w32::kCurrentThread;
}

HANDLE WINAPI GetCurrentProcess() {
    return w32::kCurrentProcess;
}

void WINAPI Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    if (milliseconds == INFINITE) {
        for (;;) {
            pause();
        }
    }
    // sleep_for resumes after signals until the whole time has passed.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Linux lets a normal user lower but never raise a thread's priority, and the
// callers only raise it around short bursts of work: the value is recorded and
// reported back, and scheduling is left to the system.
BOOL WINAPI SetThreadPriority(HANDLE thread, int priority) {
    std::shared_ptr<std::atomic<int>> field = w32::PriorityOf(thread);
    if (field == nullptr) {
        return FALSE;
    }
    if (!w32::IsValidPriority(priority)) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    field->store(priority);
    return TRUE;
}

int WINAPI GetThreadPriority(HANDLE thread) {
    std::shared_ptr<std::atomic<int>> field = w32::PriorityOf(thread);
    return field == nullptr ? THREAD_PRIORITY_ERROR_RETURN : field->load();
}
