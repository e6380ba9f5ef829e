// Events, mutexes and the waits on every waitable handle. All signal states
// live under the layer's one wait lock, so WaitForMultipleObjects can test and
// take several objects at once. A thread that has to block registers with each
// object it waits on and sleeps on a condition of its own; whoever signals an
// object hands it straight to the waits it satisfies and wakes those threads
// only, so a release that nobody waits for wakes nobody, and an auto-reset
// event or a freed mutex wakes one thread, not every sleeper of the process.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Sync.h"
#include "platform/posix/Utf.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <vector>

namespace w32 {

// One thread blocked in WaitForMultipleObjects, on its stack while it waits.
struct Waiter {
    Waiter(const std::vector<std::shared_ptr<HandleObject>>& objects, bool waitAll, DWORD threadId)
        : objects(objects), waitAll(waitAll), threadId(threadId) {}

    const std::vector<std::shared_ptr<HandleObject>>& objects;
    const bool waitAll;
    const DWORD threadId;
    bool satisfied = false;  // the objects were taken for it; result says how
    DWORD result = WAIT_TIMEOUT;
    std::condition_variable wake;
};

namespace {

class EventObject : public HandleObject {
public:
    EventObject(bool manualReset, bool signaled)
        : HandleObject(HandleKind::Event), manualReset(manualReset), signaled(signaled) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaledFor(unsigned long) override { return signaled; }
    void Consume(unsigned long) override {
        if (!manualReset) {
            signaled = false;
        }
    }

    const bool manualReset;
    bool signaled;  // under WaitMutex()
};

class MutexObject;

// The mutexes a thread owns, so that they can be abandoned when it ends
// without releasing them. A mutex joins the list of the thread that takes it
// (the signalling thread may have taken it on the waiter's behalf, so the
// waiter enters it when it returns) and leaves it at its last release.
// The main thread's list goes with its thread-local objects at exit, before the
// static destructors run, which may still lock mutexes: the flag (trivially
// destructible, so it outlives the list) says the list is gone.
thread_local bool t_ownedGone = false;
struct OwnedMutex {
    MutexObject* mutex;  // identity only; the weak pointer says whether it lives
    std::weak_ptr<MutexObject> alive;
};
struct OwnedMutexes {
    std::vector<OwnedMutex> list;
    ~OwnedMutexes() {
        AbandonMutexesOfCurrentThread();
        t_ownedGone = true;
    }
};
thread_local OwnedMutexes t_owned;

class MutexObject : public HandleObject, public std::enable_shared_from_this<MutexObject> {
public:
    MutexObject() : HandleObject(HandleKind::Mutex) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaledFor(unsigned long threadId) override { return count == 0 || owner == threadId; }
    // Under WaitMutex(), on the waiter's behalf.
    void Consume(unsigned long threadId) override {
        owner = static_cast<DWORD>(threadId);
        ++count;
    }

    // Under WaitMutex().
    DWORD owner = 0;
    unsigned count = 0;
    bool abandoned = false;  // the last owner ended while holding it
};

// Under WaitMutex(), on the thread that now owns the mutex.
void NoteOwned(MutexObject& mutex) {
    if (t_ownedGone) {
        return;
    }
    for (const OwnedMutex& owned : t_owned.list) {
        if (owned.mutex == &mutex) {
            return;
        }
    }
    t_owned.list.push_back({&mutex, mutex.weak_from_this()});
}

// Under WaitMutex(), on the owning thread, at the release that frees it.
void NoteReleased(MutexObject& mutex) {
    if (t_ownedGone) {
        return;
    }
    // Locks are mostly let go in the reverse order of taking: look from the end.
    for (size_t i = t_owned.list.size(); i-- > 0;) {
        if (t_owned.list[i].mutex == &mutex) {
            t_owned.list.erase(t_owned.list.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

// Objects created with a name are found again by it within the process.
struct NamedObjects {
    std::mutex lock;
    std::map<std::string, std::weak_ptr<HandleObject>> byName;
};

NamedObjects& Names() {
    static NamedObjects* names = new NamedObjects;
    return *names;
}

// Creates an unnamed object, or opens or creates a named one. The last error
// is ERROR_ALREADY_EXISTS when an object of that name existed, else 0.
template <class Make>
HANDLE CreateNamed(const std::string& name, HandleKind kind, Make make) {
    if (name.empty()) {
        SetLastError(ERROR_SUCCESS);
        return RegisterHandle(make());
    }
    NamedObjects& names = Names();
    std::lock_guard<std::mutex> guard(names.lock);
    auto it = names.byName.find(name);
    if (it != names.byName.end()) {
        if (std::shared_ptr<HandleObject> existing = it->second.lock()) {
            if (existing->Kind() != kind) {
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
            HANDLE handle = RegisterHandle(existing);
            SetLastError(ERROR_ALREADY_EXISTS);
            return handle;
        }
    }
    std::shared_ptr<HandleObject> object = make();
    names.byName[name] = object;
    SetLastError(ERROR_SUCCESS);
    return RegisterHandle(object);
}

HANDLE CreateEventUtf8(BOOL manualReset, BOOL initialState, const std::string& name) {
    return CreateNamed(name, HandleKind::Event,
                       [&] { return std::make_shared<EventObject>(manualReset != FALSE, initialState != FALSE); });
}

HANDLE CreateMutexUtf8(BOOL initialOwner, const std::string& name) {
    // An existing named mutex is opened, never taken: ownership only goes with a new one.
    return CreateNamed(name, HandleKind::Mutex, [&] {
        auto mutex = std::make_shared<MutexObject>();
        if (initialOwner) {
            std::lock_guard<std::mutex> guard(WaitMutex());
            mutex->Consume(GetCurrentThreadId());
            NoteOwned(*mutex);
        }
        return mutex;
    });
}

BOOL SetEventState(HANDLE handle, bool signaled) {
    auto event = LookupHandleAs<EventObject>(handle, HandleKind::Event);
    if (!event) {
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(WaitMutex());
    event->signaled = signaled;
    if (signaled) {
        SignalWaiters(*event);
    }
    return TRUE;
}

// Takes a satisfied object for the waiting thread; true when it was a mutex
// whose previous owner abandoned it.
bool Take(HandleObject& object, DWORD threadId) {
    bool abandoned = false;
    if (object.Kind() == HandleKind::Mutex) {
        auto& mutex = static_cast<MutexObject&>(object);
        abandoned = mutex.abandoned;
        mutex.abandoned = false;
    }
    object.Consume(threadId);
    return abandoned;
}

// Under WaitMutex(): when the wait can be satisfied now, takes what it takes
// for its thread and gives the wait result; else false and nothing changes.
bool TrySatisfy(const std::vector<std::shared_ptr<HandleObject>>& objects, bool waitAll, DWORD threadId,
                DWORD& result) {
    if (waitAll) {
        for (auto& object : objects) {
            if (!object->IsSignaledFor(threadId)) {
                return false;
            }
        }
        bool abandoned = false;
        for (auto& object : objects) {
            abandoned = Take(*object, threadId) || abandoned;
        }
        result = abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
        return true;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]->IsSignaledFor(threadId)) {
            result = (Take(*objects[i], threadId) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + static_cast<DWORD>(i);
            return true;
        }
    }
    return false;
}

// Under WaitMutex(): the waiter joins (Register) or leaves (Unregister) the
// waiting lists of its objects. A handle named twice is one registration.
void Register(Waiter& waiter) {
    for (auto& object : waiter.objects) {
        if (std::find(object->waiters.begin(), object->waiters.end(), &waiter) == object->waiters.end()) {
            object->waiters.push_back(&waiter);
        }
    }
}

void Unregister(Waiter& waiter) {
    for (auto& object : waiter.objects) {
        auto it = std::find(object->waiters.begin(), object->waiters.end(), &waiter);
        if (it != object->waiters.end()) {
            object->waiters.erase(it);
        }
    }
}

// Under WaitMutex(), on the thread whose wait just succeeded: the mutexes it
// took join its list of owned mutexes.
void NoteTaken(const std::vector<std::shared_ptr<HandleObject>>& objects, bool waitAll, DWORD result) {
    const DWORD first = result >= WAIT_ABANDONED_0 ? result - WAIT_ABANDONED_0 : result - WAIT_OBJECT_0;
    for (size_t i = 0; i < objects.size(); ++i) {
        if ((waitAll || i == first) && objects[i]->Kind() == HandleKind::Mutex) {
            NoteOwned(static_cast<MutexObject&>(*objects[i]));
        }
    }
}

}  // namespace

void SignalWaiters(HandleObject& object) {
    for (size_t i = 0; i < object.waiters.size();) {
        Waiter& waiter = *object.waiters[i];
        if (!TrySatisfy(waiter.objects, waiter.waitAll, waiter.threadId, waiter.result)) {
            ++i;
            continue;
        }
        // Leaving every list takes it out of this one at i too.
        Unregister(waiter);
        waiter.satisfied = true;
        // Notified under the lock: once the lock is free the waiter may return
        // and its condition be gone.
        waiter.wake.notify_one();
    }
}

void AbandonMutexesOfCurrentThread() {
    if (t_ownedGone) {
        return;
    }
    DWORD self = GetCurrentThreadId();
    std::lock_guard<std::mutex> guard(WaitMutex());
    std::vector<OwnedMutex> owned;
    owned.swap(t_owned.list);
    for (const OwnedMutex& entry : owned) {
        std::shared_ptr<MutexObject> mutex = entry.alive.lock();
        if (mutex && mutex->owner == self && mutex->count > 0) {
            mutex->count = 0;
            mutex->abandoned = true;
            SignalWaiters(*mutex);
        }
    }
}

}  // namespace w32

DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<w32::HandleObject>> objects;
    objects.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        std::shared_ptr<w32::HandleObject> object = w32::LookupHandle(handles[i]);
        if (!object || !object->IsWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    const DWORD self = GetCurrentThreadId();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock<std::mutex> lock(w32::WaitMutex());
    DWORD result = WAIT_TIMEOUT;
    if (w32::TrySatisfy(objects, waitAll != FALSE, self, result)) {
        w32::NoteTaken(objects, waitAll != FALSE, result);
        return result;
    }
    if (milliseconds == 0) {
        return WAIT_TIMEOUT;
    }
    w32::Waiter waiter(objects, waitAll != FALSE, self);
    w32::Register(waiter);
    while (!waiter.satisfied) {
        if (milliseconds == INFINITE) {
            waiter.wake.wait(lock);
        } else if (waiter.wake.wait_until(lock, deadline) == std::cv_status::timeout && !waiter.satisfied) {
            w32::Unregister(waiter);
            return WAIT_TIMEOUT;
        }
    }
    w32::NoteTaken(objects, waitAll != FALSE, waiter.result);
    return waiter.result;
}

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
    return w32::CreateEventUtf8(manualReset, initialState, w32::ToUtf8(name));
}

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
    return w32::CreateEventUtf8(manualReset, initialState, name != nullptr ? name : "");
}

BOOL WINAPI SetEvent(HANDLE event) {
    return w32::SetEventState(event, true);
}

BOOL WINAPI ResetEvent(HANDLE event) {
    return w32::SetEventState(event, false);
}

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    return w32::CreateMutexUtf8(initialOwner, w32::ToUtf8(name));
}

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
    return w32::CreateMutexUtf8(initialOwner, name != nullptr ? name : "");
}

BOOL WINAPI ReleaseMutex(HANDLE handle) {
    auto mutex = w32::LookupHandleAs<w32::MutexObject>(handle, w32::HandleKind::Mutex);
    if (!mutex) {
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(w32::WaitMutex());
    if (mutex->count == 0 || mutex->owner != GetCurrentThreadId()) {
        return w32::Fail(ERROR_NOT_OWNER);
    }
    if (--mutex->count == 0) {
        w32::NoteReleased(*mutex);
        w32::SignalWaiters(*mutex);
    }
    return TRUE;
}
