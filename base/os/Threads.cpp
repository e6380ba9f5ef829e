#include "base/os/Threads.h"

HANDLE StartThread(TThreadRoutine routine, void* argument) {
    unsigned threadId = 0;
    uintptr_t thread = _beginthreadex(nullptr, ThreadStackSize, routine, argument, 0, &threadId);
    return reinterpret_cast<HANDLE>(thread);
}

int RaiseThreadPriority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    return 0;
}

int RestoreThreadPriority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    return 0;
}
