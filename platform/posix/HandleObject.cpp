#include "platform/posix/HandleObject.h"

#include <atomic>
#include <cerrno>
#include <unistd.h>
#include <unordered_map>

namespace w32 {

namespace {

thread_local DWORD t_lastError = 0;

// The table is split into shards by handle value, each with its own lock:
// threads that read and write their own files at once (a find's helpers
// testing file contents side by side) would otherwise queue on one lock for
// every call. Consecutive handles fall into different shards.
constexpr size_t kShards = 64;

struct HandleShard {
    std::mutex lock;
    std::unordered_map<uintptr_t, std::shared_ptr<HandleObject>> objects;
};

struct HandleTable {
    HandleShard shards[kShards];
    // Handle values are multiples of four as on Windows, start well away from
    // the small values that look like descriptors or pseudo-handles.
    std::atomic<uintptr_t> next{0x1000};

    HandleShard& ShardOf(uintptr_t value) { return shards[(value >> 2) % kShards]; }
};

HandleTable& Table() {
    static HandleTable* table = new HandleTable;  // outlives static destructors of callers
    return *table;
}

}  // namespace

FileObject::~FileObject() {
    if (ownsFd && fd >= 0) {
        ::close(fd);  // never retried: after EINTR the descriptor is gone on Linux
    }
    if (deleteOnClose && !posixPath.empty()) {
        if (isDirectory) {
            ::rmdir(posixPath.c_str());
        } else {
            ::unlink(posixPath.c_str());
        }
    }
}

HANDLE RegisterHandle(std::shared_ptr<HandleObject> object) {
    HandleTable& table = Table();
    uintptr_t value = table.next.fetch_add(4, std::memory_order_relaxed);
    HandleShard& shard = table.ShardOf(value);
    std::lock_guard<std::mutex> guard(shard.lock);
    shard.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<HandleObject> LookupHandle(HANDLE handle) {
    HandleShard& shard = Table().ShardOf(reinterpret_cast<uintptr_t>(handle));
    std::lock_guard<std::mutex> guard(shard.lock);
    auto it = shard.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == shard.objects.end()) {
        return nullptr;
    }
    return it->second;
}

std::mutex& WaitMutex() {
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

DWORD ErrnoToWin32(int err) {
    struct Row {
        int err;
        DWORD code;
    };
    static const Row rows[] = {
        {0, ERROR_SUCCESS},
        {EPERM, ERROR_ACCESS_DENIED},
        {ENOENT, ERROR_FILE_NOT_FOUND},
        {ESRCH, ERROR_INVALID_HANDLE},
        {EINTR, ERROR_OPERATION_ABORTED},
        {EIO, ERROR_GEN_FAILURE},
        {ENXIO, ERROR_DEV_NOT_EXIST},
        {E2BIG, ERROR_INVALID_PARAMETER},
        {ENOEXEC, ERROR_BAD_EXE_FORMAT},
        {EBADF, ERROR_INVALID_HANDLE},
        {EAGAIN, ERROR_NO_DATA},
        {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
        {EACCES, ERROR_ACCESS_DENIED},
        {EFAULT, ERROR_NOACCESS},
        {EBUSY, ERROR_BUSY},
        {EEXIST, ERROR_ALREADY_EXISTS},
        {EXDEV, ERROR_NOT_SAME_DEVICE},
        {ENODEV, ERROR_DEV_NOT_EXIST},
        {ENOTDIR, ERROR_PATH_NOT_FOUND},
        {EISDIR, ERROR_ACCESS_DENIED},
        {EINVAL, ERROR_INVALID_PARAMETER},
        {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
        {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
        {ETXTBSY, ERROR_SHARING_VIOLATION},
        {EFBIG, ERROR_DISK_FULL},
        {ENOSPC, ERROR_DISK_FULL},
        {ESPIPE, ERROR_SEEK},
        {EROFS, ERROR_WRITE_PROTECT},
        {EMLINK, ERROR_TOO_MANY_LINKS},
        {EPIPE, ERROR_BROKEN_PIPE},
        {ERANGE, ERROR_INVALID_PARAMETER},
        {EDEADLK, ERROR_LOCK_VIOLATION},
        {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
        {ENOSYS, ERROR_CALL_NOT_IMPLEMENTED},
        {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
        {ELOOP, ERROR_CANT_RESOLVE_FILENAME},
        {ENOTSUP, ERROR_NOT_SUPPORTED},
        {ENODATA, ERROR_NOT_A_REPARSE_POINT},
        {ETIMEDOUT, ERROR_TIMEOUT},
        {EDQUOT, ERROR_DISK_FULL},
        {ECONNRESET, ERROR_BROKEN_PIPE},
        {ENOTCONN, ERROR_PIPE_NOT_CONNECTED},
        {EILSEQ, ERROR_NO_UNICODE_TRANSLATION},
    };
    for (const Row& row : rows) {
        if (row.err == err) {
            return row.code;
        }
    }
    return ERROR_GEN_FAILURE;
}

BOOL FailErrno(int err) {
    t_lastError = ErrnoToWin32(err);
    return FALSE;
}

BOOL FailErrno() {
    return FailErrno(errno);
}

BOOL Fail(DWORD code) {
    t_lastError = code;
    return FALSE;
}

}  // namespace w32

DWORD WINAPI GetLastError() {
    return w32::t_lastError;
}

void WINAPI SetLastError(DWORD code) {
    w32::t_lastError = code;
}

BOOL WINAPI SetHandleInformation(HANDLE handle, DWORD mask, DWORD) {
    if ((mask & ~DWORD(HANDLE_FLAG_INHERIT | HANDLE_FLAG_PROTECT_FROM_CLOSE)) != 0) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    if (w32::LookupHandle(handle) == nullptr) {
        return w32::Fail(ERROR_INVALID_HANDLE);
    }
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    w32::HandleShard& shard = w32::Table().ShardOf(reinterpret_cast<uintptr_t>(handle));
    std::shared_ptr<w32::HandleObject> object;
    {
        std::lock_guard<std::mutex> guard(shard.lock);
        auto it = shard.objects.find(reinterpret_cast<uintptr_t>(handle));
        if (it == shard.objects.end()) {
            return w32::Fail(ERROR_INVALID_HANDLE);
        }
        object = std::move(it->second);
        shard.objects.erase(it);
    }
    // The object goes when its last user lets go, outside the table lock.
    return TRUE;
}
