// Starts a test body on a thread of its own through _beginthreadex, so thread
// tests use the layer's own thread start on both systems.
#pragma once

#include "platform/win32.h"

#include <functional>
#include <memory>

namespace qvtest {

// The thread runs `body` and ends with its result as exit code. The stack
// asked for is the small fixed size the system's own threads use.
inline HANDLE StartTestThread(std::function<unsigned()> body) {
    auto* run = new std::function<unsigned()>(std::move(body));
    uintptr_t handle = _beginthreadex(
        nullptr, 8192,
        [](void* raw) -> unsigned {
            std::unique_ptr<std::function<unsigned()>> run(static_cast<std::function<unsigned()>*>(raw));
            return (*run)();
        },
        run, 0, nullptr);
    if (handle == 0) {
        delete run;
    }
    return reinterpret_cast<HANDLE>(handle);
}

// Waits for a thread to end (with a generous limit, so a hang fails the test
// instead of stopping it) and closes its handle; returns the wait result.
inline DWORD JoinTestThread(HANDLE thread) {
    DWORD result = WaitForSingleObject(thread, 20000);
    CloseHandle(thread);
    return result;
}

}  // namespace qvtest
