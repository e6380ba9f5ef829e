// Global and local memory blocks (all fixed: the handle is the address) and
// the memory status from /proc/meminfo.
#include "platform/posix/HandleObject.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace w32 {

namespace {

// Each block carries its size and a mark in front, so GlobalSize answers and a
// pointer the layer did not hand out is refused instead of freed.
struct alignas(16) BlockHeader {
    size_t size;
    size_t mark;
};
constexpr size_t kBlockMark = 0x51564D454D424C4BULL;

BlockHeader* HeaderOf(HANDLE memory) {
    if (memory == nullptr) {
        return nullptr;
    }
    auto* header = reinterpret_cast<BlockHeader*>(static_cast<char*>(memory) - sizeof(BlockHeader));
    return header->mark == kBlockMark ? header : nullptr;
}

HANDLE Allocate(UINT flags, SIZE_T bytes) {
    void* raw = (flags & GMEM_ZEROINIT) != 0 ? std::calloc(1, sizeof(BlockHeader) + bytes)
                                             : std::malloc(sizeof(BlockHeader) + bytes);
    if (raw == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* header = static_cast<BlockHeader*>(raw);
    header->size = bytes;
    header->mark = kBlockMark;
    return header + 1;
}

// Frees a block; null on success, the block itself when it is not one of ours.
HANDLE Release(HANDLE memory) {
    if (memory == nullptr) {
        return nullptr;
    }
    BlockHeader* header = HeaderOf(memory);
    if (header == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    header->mark = 0;
    std::free(header);
    return nullptr;
}

// The kibibyte values of /proc/meminfo that the status needs.
struct MemInfo {
    ULONGLONG total = 0;
    ULONGLONG available = 0;
    ULONGLONG swapTotal = 0;
    ULONGLONG swapFree = 0;
    ULONGLONG committed = 0;
};

MemInfo ReadMemInfo() {
    MemInfo info;
    struct Field {
        const char* name;
        ULONGLONG MemInfo::*value;
    };
    static const Field fields[] = {
        {"MemTotal:", &MemInfo::total},    {"MemAvailable:", &MemInfo::available}, {"SwapTotal:", &MemInfo::swapTotal},
        {"SwapFree:", &MemInfo::swapFree}, {"Committed_AS:", &MemInfo::committed},
    };
    FILE* file = std::fopen("/proc/meminfo", "re");
    if (file == nullptr) {
        return info;
    }
    char line[256];
    while (std::fgets(line, sizeof(line), file) != nullptr) {
        for (const Field& field : fields) {
            const size_t length = std::strlen(field.name);
            if (std::strncmp(line, field.name, length) == 0) {
                info.*field.value = std::strtoull(line + length, nullptr, 10) * 1024;
            }
        }
    }
    std::fclose(file);
    return info;
}

}  // namespace

}  // namespace w32

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    return w32::Allocate(flags, bytes);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL memory) {
    return w32::Release(memory);
}

LPVOID WINAPI GlobalLock(HGLOBAL memory) {
    if (w32::HeaderOf(memory) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return memory;
}

// A fixed block has no lock count: unlocking reports "no longer locked".
BOOL WINAPI GlobalUnlock(HGLOBAL memory) {
    SetLastError(w32::HeaderOf(memory) == nullptr ? ERROR_INVALID_HANDLE : ERROR_SUCCESS);
    return FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL memory) {
    w32::BlockHeader* header = w32::HeaderOf(memory);
    if (header == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return header->size;
}

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
    return w32::Allocate(flags, bytes);
}

HLOCAL WINAPI LocalFree(HLOCAL memory) {
    return w32::Release(memory);
}

BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX status) {
    if (status == nullptr || status->dwLength != sizeof(MEMORYSTATUSEX)) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    const w32::MemInfo info = w32::ReadMemInfo();
    if (info.total == 0) {
        return w32::Fail(ERROR_GEN_FAILURE);
    }
    // The address space of a 64-bit Windows process: 128 TiB less the guard regions.
    const ULONGLONG kUserAddressSpace = 0x00007FFFFFFE0000ULL;
    const ULONGLONG commitLimit = info.total + info.swapTotal;
    status->dwMemoryLoad = static_cast<DWORD>((info.total - info.available) * 100 / info.total);
    status->ullTotalPhys = info.total;
    status->ullAvailPhys = info.available;
    status->ullTotalPageFile = commitLimit;
    status->ullAvailPageFile = commitLimit > info.committed ? commitLimit - info.committed : 0;
    status->ullTotalVirtual = kUserAddressSpace;
    status->ullAvailVirtual = kUserAddressSpace;
    status->ullAvailExtendedVirtual = 0;
    return TRUE;
}
