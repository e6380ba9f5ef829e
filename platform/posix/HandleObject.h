// Internal to the POSIX layer: every HANDLE is an object of one base class that
// carries its kind, so a call on the wrong kind of handle fails with
// ERROR_INVALID_HANDLE instead of misbehaving.
#pragma once

#include "platform/win32.h"

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace w32 {

enum class HandleKind {
    File,  // files, directories opened for attributes, pipes, devices, std handles
    Find,  // FindFirstFileW searches
    Event,
    Mutex,
    Thread,
    Process,
    Module,
    Console,
    Other,
};

struct Waiter;

class HandleObject {
public:
    explicit HandleObject(HandleKind kind) : m_kind(kind) {}
    virtual ~HandleObject() = default;
    HandleObject(const HandleObject&) = delete;
    HandleObject& operator=(const HandleObject&) = delete;

    HandleKind Kind() const { return m_kind; }

    // Waitable objects (threads, events, mutexes, processes) answer these under
    // WaitMutex(); whoever makes one signalled calls SignalWaiters on it.
    virtual bool IsWaitable() const { return false; }
    virtual bool IsSignaledFor(unsigned long threadId) { return false; }
    // Called once the wait is satisfied: an auto-reset event resets, a mutex
    // records its new owner.
    virtual void Consume(unsigned long threadId) {}

    // The threads blocked in a wait that names this object, first come first;
    // under WaitMutex().
    std::vector<Waiter*> waiters;

private:
    HandleKind m_kind;
};

// A file descriptor with Windows file semantics around it.
class FileObject : public HandleObject {
public:
    FileObject(int fd, bool ownsFd, std::string posixPath)
        : HandleObject(HandleKind::File), fd(fd), ownsFd(ownsFd), posixPath(std::move(posixPath)) {}
    ~FileObject() override;

    int fd;
    bool ownsFd;
    std::string posixPath;     // empty for pipes and standard handles
    DWORD access = 0;          // GENERIC_READ / GENERIC_WRITE as asked
    DWORD flags = 0;           // FILE_FLAG_* as asked
    bool isDirectory = false;  // opened with backup semantics
    bool isPipe = false;
    bool deleteOnClose = false;
    // Released with the object: the file layer's record that this handle reads
    // the file without letting writers in (see CreateFileW in Files.cpp).
    std::shared_ptr<void> openRecord;
};

// Handle table. RegisterHandle takes ownership; LookupHandle keeps the object
// alive for the caller even if another thread closes the handle meanwhile.
HANDLE RegisterHandle(std::shared_ptr<HandleObject> object);
std::shared_ptr<HandleObject> LookupHandle(HANDLE handle);
// Looks up a handle of the given kind; sets ERROR_INVALID_HANDLE and returns null otherwise.
template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle, HandleKind kind) {
    std::shared_ptr<HandleObject> object = LookupHandle(handle);
    if (!object || object->Kind() != kind) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return std::static_pointer_cast<T>(object);
}

// The one lock under which every signal state is read and changed, so that a
// wait can test and take several objects at once. A blocked thread sleeps on a
// condition of its own, which only a change of an object it waits on wakes.
std::mutex& WaitMutex();
// Under WaitMutex(), after the object became signalled: satisfies, in the order
// they came, the waits that can now be satisfied, taking what each takes (so
// an auto-reset event or a mutex goes to one waiter only), and wakes just
// those threads.
void SignalWaiters(HandleObject& object);

// errno to Windows error code, in one table.
DWORD ErrnoToWin32(int err);
// Sets the last error from errno (or the given errno value) and returns FALSE,
// so failure paths read `return FailErrno();`.
BOOL FailErrno(int err);
BOOL FailErrno();
// Sets the last error and returns FALSE.
BOOL Fail(DWORD code);

// Retries a system call that was interrupted by a signal.
template <class F>
auto RetryEintr(F call) -> decltype(call()) {
    decltype(call()) result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

}  // namespace w32
