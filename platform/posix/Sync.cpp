// Events, mutexes and the waits on every waitable handle. All signal states
// live under the layer's one wait lock, so WaitForMultipleObjects can test and
// take several objects at once.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Sync.h"
#include "platform/posix/Utf.h"

#include <chrono>
#include <map>
#include <vector>

namespace w32 {

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
// without releasing them.
// The main thread's list goes with its thread-local objects at exit, before the
// static destructors run, which may still lock mutexes: the flag (trivially
// destructible, so it outlives the list) says the list is gone.
thread_local bool t_ownedGone = false;
struct OwnedMutexes {
    std::vector<std::weak_ptr<MutexObject>> list;
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
    // Always called by the thread that waited, under WaitMutex().
    void Consume(unsigned long threadId) override {
        if (count == 0) {
            owner = static_cast<DWORD>(threadId);
            if (!t_ownedGone) {
                t_owned.list.push_back(weak_from_this());
            }
        }
        ++count;
    }

    // Under WaitMutex().
    DWORD owner = 0;
    unsigned count = 0;
    bool abandoned = false;  // the last owner ended while holding it
};

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
        }
        return mutex;
    });
}

BOOL SetEventState(HANDLE handle, bool signaled) {
    auto event = LookupHandleAs<EventObject>(handle, HandleKind::Event);
    if (!event) {
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> guard(WaitMutex());
        event->signaled = signaled;
    }
    if (signaled) {
        WaitCondition().notify_all();
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

}  // namespace

void AbandonMutexesOfCurrentThread() {
    if (t_ownedGone) {
        return;
    }
    DWORD self = GetCurrentThreadId();
    bool freed = false;
    {
        std::lock_guard<std::mutex> guard(WaitMutex());
        for (const std::weak_ptr<MutexObject>& weak : t_owned.list) {
            std::shared_ptr<MutexObject> mutex = weak.lock();
            if (mutex && mutex->owner == self && mutex->count > 0) {
                mutex->count = 0;
                mutex->abandoned = true;
                freed = true;
            }
        }
        t_owned.list.clear();
    }
    if (freed) {
        WaitCondition().notify_all();
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
    for (;;) {
        if (waitAll) {
            bool all = true;
            for (auto& object : objects) {
                all = all && object->IsSignaledFor(self);
            }
            if (all) {
                bool abandoned = false;
                for (auto& object : objects) {
                    abandoned = w32::Take(*object, self) || abandoned;
                }
                return abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0;
            }
        } else {
            for (DWORD i = 0; i < count; ++i) {
                if (objects[i]->IsSignaledFor(self)) {
                    return (w32::Take(*objects[i], self) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + i;
                }
            }
        }
        if (milliseconds == 0) {
            return WAIT_TIMEOUT;
        }
        if (milliseconds == INFINITE) {
            w32::WaitCondition().wait(lock);
        } else if (w32::WaitCondition().wait_until(lock, deadline) == std::cv_status::timeout) {
            // One last look: the state may have changed just as the time ran out.
            milliseconds = 0;
        }
    }
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
    {
        std::lock_guard<std::mutex> guard(w32::WaitMutex());
        if (mutex->count == 0 || mutex->owner != GetCurrentThreadId()) {
            return w32::Fail(ERROR_NOT_OWNER);
        }
        if (--mutex->count > 0) {
            return TRUE;
        }
    }
    w32::WaitCondition().notify_all();
    return TRUE;
}
