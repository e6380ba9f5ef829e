#include "platform/win32.h"
#include "RunningUnderWine.h"

#include <gtest/gtest.h>
#include <string>
#if defined(__linux__)
#include <sched.h>
#endif

namespace {

TEST(Modules, MissingLibraryFailsWithModNotFound) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("QvNoSuchLibrary.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("hhctrl.ocx.missing"), nullptr);
    EXPECT_EQ(GetLastError(), 126u);
}

TEST(Modules, SystemModulesAreThereButLackUnknownFunctions) {
    HMODULE kernel = LoadLibraryA("KERNEL32");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), kernel);
    EXPECT_NE(GetModuleHandleA("ntdll.dll"), nullptr);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(kernel, "QvNoSuchFunction"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    // The functions looked up at run time because older systems lack them.
    for (const char* name : {"CopyFileExW", "CreateSymbolicLinkW", "GetDiskFreeSpaceExW"}) {
        EXPECT_NE(GetProcAddress(kernel, name), nullptr) << name;
    }
    // What GetProcAddress hands out is the function itself.
    typedef BOOL(WINAPI * DiskFreeSpaceEx)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    auto diskFreeSpace =
        reinterpret_cast<DiskFreeSpaceEx>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExW")));
    ASSERT_NE(diskFreeSpace, nullptr);
    WCHAR temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    ULARGE_INTEGER free;
    ASSERT_TRUE(diskFreeSpace(temp, &available, &total, &free));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_TRUE(FreeLibrary(kernel));
}

TEST(Modules, ExecutablePathInDriveForm) {
    WCHAR path[1024] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, 1024);
    ASSERT_GT(length, 3u);
    EXPECT_EQ(path[1], W32TEXT(':'));
    EXPECT_EQ(path[2], W32TEXT('\\'));
    std::string narrow;
    for (DWORD i = 0; i < length; ++i) {
        narrow += static_cast<char>(path[i]);
    }
    EXPECT_NE(narrow.find("qv_test_platform"), std::string::npos) << narrow;

    if (qvtest::RunningUnderWine()) {
        return;  // wine neither terminates a cut name nor reports it
    }
    // A buffer too small gets the start of the name, cut and terminated.
    WCHAR small[4];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 4), 4u);
    EXPECT_EQ(small[3], 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(Version, ReportsTheNtFamily) {
    const DWORD version = GetVersion();
    EXPECT_EQ(version & 0x80000000u, 0u);
    EXPECT_GE(LOBYTE(LOWORD(version)), 6);
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_GE(info.dwMajorVersion, 6u);
    EXPECT_EQ(sizeof(OSVERSIONINFOA), 148u);
}

TEST(Memory, GlobalAndLocalBlocks) {
    HGLOBAL block = GlobalAlloc(GPTR, 100);
    ASSERT_NE(block, nullptr);
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(bytes[i], 0) << i;
    }
    EXPECT_GE(GlobalSize(block), 100u);
    EXPECT_EQ(GlobalFree(block), nullptr);
    HLOCAL local = LocalAlloc(LPTR, 10);
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(static_cast<const char*>(local)[9], 0);
    EXPECT_EQ(LocalFree(local), nullptr);
}

TEST(Memory, StatusFromTheSystem) {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_GT(status.ullTotalPhys, 0u);
    EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    EXPECT_GE(status.ullTotalPageFile, status.ullTotalPhys);
    MEMORYSTATUSEX wrong = {};
    wrong.dwLength = 8;
    EXPECT_FALSE(GlobalMemoryStatusEx(&wrong));
}

TEST(SystemInfo, ProcessorsAndPages) {
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    EXPECT_GE(info.dwNumberOfProcessors, 1u);
    EXPECT_GE(info.dwPageSize, 4096u);
    EXPECT_EQ(info.dwAllocationGranularity, 65536u);
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_EQ(size, std::string(name).size());
    EXPECT_LE(size, static_cast<DWORD>(MAX_COMPUTERNAME_LENGTH));
}

// The processors a process may use: a subset of the system's, and on Linux
// what the process's affinity says, so that a program bound to fewer cores
// starts fewer workers.
TEST(SystemInfo, TheProcessAffinityMaskIsTheProcessesOwn) {
    DWORD_PTR mine = 0, all = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &mine, &all));
    EXPECT_NE(mine, 0u);
    EXPECT_NE(all, 0u);
#if defined(__linux__)
    cpu_set_t saved;
    ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
    int first = 0;
    while (first < 64 && !CPU_ISSET(first, &saved))
        first++;
    ASSERT_LT(first, 64);
    EXPECT_NE(mine & (DWORD_PTR(1) << first), 0u);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const BOOL asked = GetProcessAffinityMask(GetCurrentProcess(), &mine, &all);
    sched_setaffinity(0, sizeof saved, &saved);
    ASSERT_TRUE(asked);
    EXPECT_EQ(mine, DWORD_PTR(1) << first);
    EXPECT_NE(all & (DWORD_PTR(1) << first), 0u);
    // Another process cannot be asked here.
    EXPECT_FALSE(GetProcessAffinityMask(reinterpret_cast<HANDLE>(0x1234), &mine, &all));
#else
    EXPECT_EQ(mine & ~all, 0u);
#endif
}

}  // namespace
