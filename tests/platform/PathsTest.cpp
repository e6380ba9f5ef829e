// Full paths, per-drive current directories, relative paths, the temporary
// path and environment variables.
#include "platform/win32.h"
#include "tests/platform/PosixPathOf.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using qvtest::TempDir;
using qvtest::U8;
using qvtest::W;
using qvtest::WString;

std::string FullPath(const std::string& path) {
    WCHAR buf[1024];
    DWORD n = GetFullPathNameW(W(path).c_str(), 1024, buf, nullptr);
    return n == 0 || n >= 1024 ? std::string("<failed>") : U8(WString(buf, n));
}

WString CurrentDirectory() {
    WCHAR buf[1024];
    DWORD n = GetCurrentDirectoryW(1024, buf);
    return WString(buf, n);
}

// Restores the current directory at the end of a test, so that the temporary
// folders can go (Windows keeps the current directory from being removed).
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : m_saved(CurrentDirectory()) {}
    ~CurrentDirectoryGuard() { SetCurrentDirectoryW(m_saved.c_str()); }

private:
    WString m_saved;
};

TEST(PathsTest, FullPathsAreNormalised) {
    const char* cases[][2] = {
        {"C:\\a\\b\\..\\c", "C:\\a\\c"},
        {"C:\\a\\.\\b", "C:\\a\\b"},
        {"C:/a/b", "C:\\a\\b"},
        {"C:\\a\\\\b", "C:\\a\\b"},
        {"C:\\a\\b\\", "C:\\a\\b\\"},
        {"C:\\..\\..\\x", "C:\\x"},
        {"C:\\", "C:\\"},
        {"C:\\dir\\name.", "C:\\dir\\name"},
        {"\\\\server\\share\\a\\..\\b", "\\\\server\\share\\b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FullPath(c[0]), c[1]) << c[0];
    }
}

TEST(PathsTest, FullPathReportsSizeAndFilePart) {
    WString path = W("C:\\folder\\file.txt");
    WCHAR small[4];
    EXPECT_EQ(GetFullPathNameW(path.c_str(), 4, small, nullptr), path.size() + 1);  // room needed, with the zero
    WCHAR buf[64];
    LPWSTR part = nullptr;
    EXPECT_EQ(GetFullPathNameW(path.c_str(), 64, buf, &part), path.size());
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(U8(part), "file.txt");

    char narrow[64];
    LPSTR narrowPart = nullptr;
    EXPECT_EQ(GetFullPathNameA("C:\\x\\..\\y.txt", 64, narrow, &narrowPart), 8u);
    EXPECT_EQ(std::string(narrow), "C:\\y.txt");
    ASSERT_NE(narrowPart, nullptr);
    EXPECT_EQ(std::string(narrowPart), "y.txt");
}

TEST(PathsTest, RelativePathsFollowTheCurrentDirectory) {
    CurrentDirectoryGuard guard;
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryW(dir.Join(W("sub")).c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    EXPECT_EQ(U8(CurrentDirectory()), U8(dir.Path()));
    EXPECT_EQ(FullPath("a.txt"), U8(dir.Join(W("a.txt"))));
    EXPECT_EQ(FullPath("sub\\..\\b.txt"), U8(dir.Join(W("b.txt"))));
    EXPECT_EQ(FullPath("..\\x"), U8(dir.Path().substr(0, dir.Path().rfind(W32TEXT('\\'))) + W("\\x")));
    std::string drive = U8(dir.Path().substr(0, 2));
    EXPECT_EQ(FullPath("\\top"), drive + "\\top");
    EXPECT_EQ(FullPath(drive + "rel"), U8(dir.Join(W("rel"))));  // the current drive's current directory
    EXPECT_EQ(FullPath(drive), U8(dir.Path()) + "\\");

    // Files opened by relative names land in the current directory.
    ASSERT_TRUE(qvtest::WriteFileBytes(W("rel.txt"), "r"));
    EXPECT_EQ(qvtest::ReadFileBytes(dir.Join(W("rel.txt"))), "r");
    ASSERT_TRUE(SetCurrentDirectoryW(W("sub").c_str()));
    EXPECT_EQ(U8(CurrentDirectory()), U8(dir.Join(W("sub"))));

    EXPECT_FALSE(SetCurrentDirectoryW(dir.Join(W("missing")).c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SetCurrentDirectoryW(dir.Join(W("rel.txt")).c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
}

TEST(PathsTest, EachDriveKeepsItsCurrentDirectory) {
    // Another drive's current directory is the "=X:" variable, as Windows keeps it.
    ASSERT_TRUE(SetEnvironmentVariableW(W("=Q:").c_str(), W("Q:\\some\\dir").c_str()));
    EXPECT_EQ(FullPath("Q:x.txt"), "Q:\\some\\dir\\x.txt");
    EXPECT_EQ(FullPath("Q:"), "Q:\\some\\dir\\");  // with the backslash the callers strip
    EXPECT_EQ(FullPath("Q:..\\y"), "Q:\\some\\y");
    ASSERT_TRUE(SetEnvironmentVariableW(W("=Q:").c_str(), nullptr));
    EXPECT_EQ(FullPath("Q:x.txt"), "Q:\\x.txt");  // without one: the root

    WCHAR buf[64];
    ASSERT_TRUE(SetEnvironmentVariableW(W("=R:").c_str(), W("R:\\kept").c_str()));
    DWORD n = GetEnvironmentVariableW(W("=R:").c_str(), buf, 64);
    EXPECT_EQ(U8(WString(buf, n)), "R:\\kept");
    SetEnvironmentVariableW(W("=R:").c_str(), nullptr);
}

TEST(PathsTest, TempPathIsAnExistingFolderWithTrailingBackslash) {
    WCHAR buf[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    ASSERT_GT(n, 3u);
    ASSERT_LT(n, static_cast<DWORD>(MAX_PATH + 1));
    WString path(buf, n);
    EXPECT_EQ(path[1], W32TEXT(':'));
    EXPECT_EQ(path.back(), W32TEXT('\\'));
    DWORD attributes = GetFileAttributesW(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// A local folder reaches the system in the drive form of the drive whose
// folder holds it: S: is /dev/shm in the test runs, so /dev/shmX, whose name
// only begins with it, lies on C: (/). The temporary path shows the
// translation, as it names TMPDIR in drive form.
TEST(PathsTest, ADriveHoldsOnlyWhatLiesInsideItsFolder) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "TMPDIR and the drive map are the Linux layer's; wine maps its drives itself";
    }
    struct Case {
        const char* local;
        const char* drivePath;
    };
    const Case cases[] = {
        {"/dev/shm/y", "S:\\y\\"},
        {"/dev/shm", "S:\\"},
        {"/dev/shm/", "S:\\"},
        {"/dev/shmX/y", "C:\\dev\\shmX\\y\\"},
        {"/dev/shmX", "C:\\dev\\shmX\\"},
        {"/dev/sh/y", "C:\\dev\\sh\\y\\"},
        {"/dev/shm/../shmX", "C:\\dev\\shmX\\"},
    };
    char saved[4096];
    DWORD had = GetEnvironmentVariableA("TMPDIR", saved, sizeof saved);
    for (const Case& c : cases) {
        ASSERT_TRUE(SetEnvironmentVariableA("TMPDIR", c.local));
        WCHAR buf[MAX_PATH + 1];
        DWORD n = GetTempPathW(MAX_PATH + 1, buf);
        EXPECT_EQ(U8(WString(buf, n)), c.drivePath) << c.local;
    }
    SetEnvironmentVariableA("TMPDIR", had > 0 && had < sizeof saved ? saved : nullptr);
}

// A Linux file system may hold names Windows refuses (a control character,
// "<", ":", "?", a quote): such a folder can be entered, and a file made,
// read and deleted inside it, and the folder removed. A name that does not
// exist yet, one being made, keeps Windows' rules for what can be typed; a
// control character, which no name field takes, may be made (a copy of such
// a name).
TEST(PathsTest, NamesOnDiskAreReachableWhateverTheyHold) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "a Windows file system holds no such names";
    }
#ifndef _WIN32
    TempDir dir;
    for (const char* odd : {"a<b>c", "co:lon?*", "pipe|\"quote"}) {
        const WString folder = dir.Join(W(odd));
        ASSERT_EQ(0, mkdir(qvtest::PosixPathOf(folder).c_str(), 0755)) << odd;
        DWORD attributes = GetFileAttributesW(folder.c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes) << odd;
        EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY) << odd;
        const WString inside = folder + W("\\inside.txt");
        HANDLE file = CreateFileW(inside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << odd;
        CloseHandle(file);
        EXPECT_TRUE(DeleteFileW(inside.c_str())) << odd;
        EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << odd;
        // Gone now, the same name is one being made.
        EXPECT_FALSE(CreateDirectoryW(folder.c_str(), nullptr)) << odd;
        EXPECT_EQ(DWORD(ERROR_INVALID_NAME), GetLastError()) << odd;
    }
    const WString copied = dir.Join(W("bell\ax"));
    EXPECT_TRUE(CreateDirectoryW(copied.c_str(), nullptr));
    EXPECT_TRUE(RemoveDirectoryW(copied.c_str()));
#endif
}

TEST(PathsTest, LongNameOfALongPathIsItself) {
    TempDir dir;
    WString file = dir.Join(W("a long file name.text"));
    ASSERT_TRUE(qvtest::WriteFileBytes(file, "x"));
    WCHAR buf[1024];
    DWORD n = GetLongPathNameW(file.c_str(), buf, 1024);
    EXPECT_EQ(U8(WString(buf, n)), U8(file));
    EXPECT_EQ(GetLongPathNameW(dir.Join(W("missing")).c_str(), buf, 1024), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_GT(GetShortPathNameW(file.c_str(), buf, 1024), 0u);
}

TEST(PathsTest, NetworkPathsAreUnreachable) {
    WString unc = W("\\\\qv-no-such-server\\share\\file.txt");
    EXPECT_EQ(GetFileAttributesW(unc.c_str()), INVALID_FILE_ATTRIBUTES);
    DWORD error = GetLastError();
    // Windows answers an unreachable server with "network path not found"
    // (53); the share may also be reported as unknown (67), and wine, which
    // has no network redirector, says "network request not supported" (66).
    EXPECT_TRUE(error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME || error == 66) << error;
}

TEST(PathsTest, EnvironmentVariables) {
    ASSERT_TRUE(SetEnvironmentVariableW(W("QV_TEST_VAR").c_str(), W("value 1").c_str()));
    WCHAR buf[64];
    DWORD n = GetEnvironmentVariableW(W("QV_TEST_VAR").c_str(), buf, 64);
    EXPECT_EQ(U8(WString(buf, n)), "value 1");
    n = GetEnvironmentVariableW(W("qv_test_var").c_str(), buf, 64);  // names ignore case
    EXPECT_EQ(U8(WString(buf, n)), "value 1");
    EXPECT_EQ(GetEnvironmentVariableW(W("QV_TEST_VAR").c_str(), buf, 3), 8u);  // room needed, with the zero

    char narrow[64];
    EXPECT_EQ(GetEnvironmentVariableA("QV_TEST_VAR", narrow, 64), 7u);
    EXPECT_EQ(std::string(narrow), "value 1");
    ASSERT_TRUE(SetEnvironmentVariableA("QV_TEST_VAR", "two"));
    EXPECT_EQ(GetEnvironmentVariableA("QV_TEST_VAR", narrow, 64), 3u);

    LPWSTR block = GetEnvironmentStringsW();
    ASSERT_NE(block, nullptr);
    bool found = false;
    for (LPWSTR entry = block; *entry; entry += WString(entry).size() + 1) {
        found = found || U8(entry) == "QV_TEST_VAR=two";
    }
    EXPECT_TRUE(found);
    FreeEnvironmentStringsW(block);

    ASSERT_TRUE(SetEnvironmentVariableW(W("QV_TEST_VAR").c_str(), nullptr));
    EXPECT_EQ(GetEnvironmentVariableW(W("QV_TEST_VAR").c_str(), buf, 64), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
}

}  // namespace

namespace {

// What GetProgramArgumentPathW gives, as UTF-8.
std::string ArgumentPath(const WString& path) {
    DWORD n = GetProgramArgumentPathW(path.c_str(), nullptr, 0);
    if (n == 0) {
        return "<failed>";
    }
    std::basic_string<WCHAR> buffer(n, 0);
    DWORD got = GetProgramArgumentPathW(path.c_str(), &buffer[0], n);
    return got + 1 == n ? U8(WString(buffer.c_str(), got)) : "<wrong size>";
}

// The C runtime of a started program reads the file by that path.
std::string ReadByRuntime(const std::string& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[64];
        size_t n = std::fread(buffer, 1, sizeof buffer, file);
        text.assign(buffer, n);
        std::fclose(file);
    }
    return text;
}

TEST(PathsTest, ArgumentPathsNameTheFileToAProgramsRuntime) {
    CurrentDirectoryGuard guard;
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryW(dir.Join(W("sub")).c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("sub\\f.txt")), "inside"));
    // A full path, a relative one below the current directory.
    EXPECT_EQ("inside", ReadByRuntime(ArgumentPath(dir.Join(W("sub\\f.txt")))));
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    std::string relative = ArgumentPath(W("sub\\f.txt"));
    EXPECT_EQ("inside", ReadByRuntime(relative));
    EXPECT_EQ(0u, relative.find("sub")) << relative;
    // A buffer too small gets nothing and the size asked for.
    WCHAR small[2] = {'x', 0};
    EXPECT_EQ(GetProgramArgumentPathW(W("sub\\f.txt").c_str(), nullptr, 0),
              GetProgramArgumentPathW(W("sub\\f.txt").c_str(), small, 2));
}

}  // namespace
