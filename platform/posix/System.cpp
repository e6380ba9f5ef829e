// Modules, version and system information. No library can be loaded on this
// system; the system's own modules (kernel32, ntdll) are always there, and
// GetProcAddress finds in them the functions of the layer that callers look up
// at run time.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"
#include "platform/posix/Utf.h"

#include <cstring>
#include <limits.h>
#include <sched.h>
#include <unistd.h>

namespace w32 {

namespace {

struct Export {
    const char* name;
    FARPROC function;
};

struct SystemModule {
    const char* name;  // lower case, without ".dll"
    const Export* exports;
    size_t exportCount;
};

// Exports travel as FARPROC, as on Windows; the caller casts back to the real type.
template <class F>
FARPROC AsProc(F* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

// The functions callers look up at run time because older systems lack them.
const Export kKernel32Exports[] = {
    {"CopyFileExW", AsProc(&CopyFileExW)},
    {"CreateSymbolicLinkW", AsProc(&CreateSymbolicLinkW)},
    {"GetDiskFreeSpaceExW", AsProc(&GetDiskFreeSpaceExW)},
};

const SystemModule kSystemModules[] = {
    {"kernel32", kKernel32Exports, sizeof(kKernel32Exports) / sizeof(kKernel32Exports[0])},
    {"ntdll", nullptr, 0},
};

// The module handle of the executable itself.
char g_executableModule;

HMODULE HandleOf(const SystemModule& module) {
    return const_cast<SystemModule*>(&module);
}

const SystemModule* ModuleOf(HMODULE handle) {
    for (const SystemModule& module : kSystemModules) {
        if (HandleOf(module) == handle) {
            return &module;
        }
    }
    return nullptr;
}

// Finds a system module by a library name: any case, with or without a
// directory and the ".dll" extension.
const SystemModule* FindModule(std::string name) {
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) {
        name.erase(name.size() - 4);
    }
    for (const SystemModule& module : kSystemModules) {
        if (name == module.name) {
            return &module;
        }
    }
    return nullptr;
}

HMODULE LoadByName(const std::string& name) {
    const SystemModule* module = FindModule(name);
    if (module == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return HandleOf(*module);
}

// The executable's path as the system sees it.
std::string ExecutablePath() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

// Copies a module file name into the caller's buffer: a name that does not
// fit is cut to size - 1 characters and reported with ERROR_INSUFFICIENT_BUFFER.
template <class Char>
DWORD DeliverFileName(const std::basic_string<Char>& name, Char* buffer, DWORD size) {
    if (size == 0 || buffer == nullptr) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (name.size() >= size) {
        std::copy(name.begin(), name.begin() + (size - 1), buffer);
        buffer[size - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(name.size());
}

// The drive form of the executable's path; empty for other modules, which
// have no file here, and for an executable outside every mapped drive.
std::u16string ModuleFileName(HMODULE module) {
    WString path;
    if ((module != nullptr && module != &g_executableModule) || !ToWindowsPath(ExecutablePath(), path)) {
        return std::u16string();
    }
    return path;
}

template <class Info>
BOOL FillVersion(Info* info) {
    if (info == nullptr || info->dwOSVersionInfoSize < sizeof(Info)) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    info->dwMajorVersion = 10;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 19045;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->szCSDVersion[0] = 0;
    return TRUE;
}

// The host name as Windows forms a computer name: upper case, at most 15 characters.
std::string ComputerName() {
    char host[256] = {};
    if (gethostname(host, sizeof(host) - 1) != 0) {
        return "LOCALHOST";
    }
    std::string name(host, strnlen(host, MAX_COMPUTERNAME_LENGTH));
    const size_t dot = name.find('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return name;
}

template <class Char>
BOOL DeliverComputerName(const std::basic_string<Char>& name, Char* buffer, LPDWORD size) {
    if (size == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (buffer == nullptr || *size < name.size() + 1) {
        *size = static_cast<DWORD>(name.size() + 1);
        return Fail(ERROR_BUFFER_OVERFLOW);
    }
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *size = static_cast<DWORD>(name.size());
    return TRUE;
}

}  // namespace

}  // namespace w32

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return w32::LoadByName(name);
}

HMODULE WINAPI LoadLibraryW(LPCWSTR name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return w32::LoadByName(w32::ToUtf8(name));
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    if (w32::ModuleOf(module) == nullptr) {
        return w32::Fail(ERROR_INVALID_HANDLE);
    }
    return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    return name == nullptr ? &w32::g_executableModule : w32::LoadByName(name);
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR name) {
    return name == nullptr ? &w32::g_executableModule : w32::LoadByName(w32::ToUtf8(name));
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR name) {
    const w32::SystemModule* module = w32::ModuleOf(handle);
    if (module == nullptr && handle != &w32::g_executableModule) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Names only: a value below 0x10000 would be an ordinal, and no module here has any.
    if (module != nullptr && reinterpret_cast<uintptr_t>(name) >= 0x10000) {
        for (size_t i = 0; i < module->exportCount; ++i) {
            if (std::strcmp(module->exports[i].name, name) == 0) {
                return module->exports[i].function;
            }
        }
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    const std::u16string name = w32::ModuleFileName(module);
    if (name.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return w32::DeliverFileName(name, fileName, size);
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    const std::u16string wide = w32::ModuleFileName(module);
    if (wide.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), name.data(), length, nullptr, nullptr);
    return w32::DeliverFileName(name, fileName, size);
}

// Low byte major version, next byte minor version, high word the build; the
// top bit clear marks the NT family.
DWORD WINAPI GetVersion() {
    return (19045u << 16) | (0u << 8) | 10u;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    return w32::FillVersion(info);
}

namespace {

// No folder holds Windows here; the root of C: (or of the first drive) is
// where a caller that only needs some directory off every other drive goes.
w32::WString WindowsDirectory() {
    const std::vector<w32::DriveMapItem>& map = w32::DriveMap();
    char letter = map.empty() ? 'C' : map.front().letter;
    for (const w32::DriveMapItem& item : map) {
        if (item.letter == 'C') {
            letter = 'C';
        }
    }
    w32::WString root;
    root += static_cast<WCHAR>(letter);
    root += u":\\";
    return root;
}

}  // namespace

UINT WINAPI GetWindowsDirectoryW(LPWSTR buffer, UINT size) {
    return w32::CopyOut(WindowsDirectory(), buffer, size);
}

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return w32::CopyOut(w32::Utf8(WindowsDirectory()), buffer, size);
}

BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
    return w32::FillVersion(info);
}

void WINAPI GetSystemInfo(LPSYSTEM_INFO info) {
    *info = SYSTEM_INFO{};
#if defined(__x86_64__)
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
    info->dwProcessorType = PROCESSOR_AMD_X8664;
#elif defined(__aarch64__)
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM64;
#else
    info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
#endif
    long processors = sysconf(_SC_NPROCESSORS_ONLN);
    if (processors < 1) {
        processors = 1;
    }
    if (processors > 64) {
        processors = 64;  // one processor group
    }
    info->dwPageSize = static_cast<DWORD>(sysconf(_SC_PAGESIZE));
    info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
    info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x00007FFFFFFEFFFFULL);
    info->dwNumberOfProcessors = static_cast<DWORD>(processors);
    info->dwActiveProcessorMask = processors == 64 ? ~DWORD_PTR(0) : ((DWORD_PTR(1) << processors) - 1);
    info->dwAllocationGranularity = 65536;
}

BOOL WINAPI GetProcessAffinityMask(HANDLE process, DWORD_PTR* processMask, DWORD_PTR* systemMask) {
    if (process != GetCurrentProcess() || processMask == nullptr || systemMask == nullptr) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    *systemMask = info.dwActiveProcessorMask;
    *processMask = info.dwActiveProcessorMask;
#if defined(__linux__)
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        DWORD_PTR mask = 0;
        for (int cpu = 0; cpu < 64 && cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &set)) {
                mask |= DWORD_PTR(1) << cpu;
            }
        }
        if (mask != 0) {
            *processMask = mask;
        }
    }
#endif
    return TRUE;
}

BOOL WINAPI GetComputerNameA(LPSTR buffer, LPDWORD size) {
    return w32::DeliverComputerName(w32::ComputerName(), buffer, size);
}

BOOL WINAPI GetComputerNameW(LPWSTR buffer, LPDWORD size) {
    return w32::DeliverComputerName(w32::ToUtf16(w32::ComputerName()), buffer, size);
}
