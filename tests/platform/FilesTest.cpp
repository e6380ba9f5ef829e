// Files and names: dispositions, reading and writing, positions, times,
// attributes, deleting, moving and copying with the Windows rules.
#include "platform/win32.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using qvtest::ReadFileBytes;
using qvtest::TempDir;
using qvtest::W;
using qvtest::WriteFileBytes;
using qvtest::WString;

HANDLE Open(const WString& path, DWORD access, DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL,
            DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE) {
    return CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

bool Exists(const WString& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct DispositionCase {
    const char* what;
    bool exists;
    DWORD disposition;
    DWORD access;
    bool opens;
    DWORD error;               // GetLastError after the call
    const char* contentAfter;  // nullptr: the file does not exist afterwards
};

TEST(FilesTest, CreationDispositions) {
    const DispositionCase cases[] = {
        {"create new, missing", false, CREATE_NEW, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
        {"create new, existing", true, CREATE_NEW, GENERIC_WRITE, false, ERROR_FILE_EXISTS, "old"},
        {"create always, missing", false, CREATE_ALWAYS, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
        {"create always, existing", true, CREATE_ALWAYS, GENERIC_WRITE, true, ERROR_ALREADY_EXISTS, ""},
        {"open existing, missing", false, OPEN_EXISTING, GENERIC_READ, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"open existing, existing", true, OPEN_EXISTING, GENERIC_READ, true, ERROR_SUCCESS, "old"},
        {"open always, missing", false, OPEN_ALWAYS, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
        {"open always, existing", true, OPEN_ALWAYS, GENERIC_WRITE, true, ERROR_ALREADY_EXISTS, "old"},
        {"truncate existing, missing", false, TRUNCATE_EXISTING, GENERIC_WRITE, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"truncate existing, existing", true, TRUNCATE_EXISTING, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
    };
    TempDir dir;
    for (const DispositionCase& c : cases) {
        WString path = dir.Join(W("f.txt"));
        DeleteFileW(path.c_str());
        if (c.exists) {
            ASSERT_TRUE(WriteFileBytes(path, "old"));
        }
        SetLastError(12345);
        HANDLE h = Open(path, c.access, c.disposition);
        DWORD error = GetLastError();
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
        }
        EXPECT_EQ(Exists(path), c.contentAfter != nullptr) << c.what;
        if (c.contentAfter) {
            EXPECT_EQ(ReadFileBytes(path), c.contentAfter) << c.what;
        }
    }
}

TEST(FilesTest, MissingDirectoryIsAPathError) {
    TempDir dir;
    HANDLE h = Open(dir.Join(W("nodir\\f.txt")), GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(dir.Join(W("nodir\\f.txt")).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(dir.Join(W("missing.txt")).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FilesTest, ReadWriteSeekTruncate) {
    TempDir dir;
    WString path = dir.Join(W("data.bin"));
    HANDLE h = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
    EXPECT_EQ(n, 11u);
    EXPECT_EQ(GetFileSize(h, nullptr), 11u);
    LARGE_INTEGER size;
    ASSERT_TRUE(GetFileSizeEx(h, &size));
    EXPECT_EQ(size.QuadPart, 11);

    EXPECT_EQ(SetFilePointer(h, 6, nullptr, FILE_BEGIN), 6u);
    char buf[16] = {};
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(std::string(buf, n), "world");
    ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));  // at the end: success with nothing
    EXPECT_EQ(n, 0u);

    LARGE_INTEGER distance;
    distance.QuadPart = -6;
    LARGE_INTEGER now;
    ASSERT_TRUE(SetFilePointerEx(h, distance, &now, FILE_END));
    EXPECT_EQ(now.QuadPart, 5);
    ASSERT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 5u);

    // Before the start of the file.
    EXPECT_EQ(SetFilePointer(h, -10, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));

    // A 64-bit position through the high part; success is told by the last error.
    LONG high = 1;
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SetFilePointer(h, 16, &high, FILE_BEGIN), 16u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(FlushFileBuffers(h));
    EXPECT_EQ(GetFileType(h), static_cast<DWORD>(FILE_TYPE_DISK));
    CloseHandle(h);
    EXPECT_EQ(ReadFileBytes(path), "hello");
}

TEST(FilesTest, LongPathFormOpensTheSameFile) {
    // Files are opened in the "\\?\" form the buffered file uses.
    TempDir dir;
    WString path = dir.Join(W("long.txt"));
    ASSERT_TRUE(WriteFileBytes(path, "long"));
    EXPECT_EQ(ReadFileBytes(W("\\\\?\\") + path), "long");
    EXPECT_NE(GetFileAttributesW((W("\\\\?\\") + path).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FilesTest, AccessIsChecked) {
    TempDir dir;
    WString path = dir.Join(W("r.txt"));
    ASSERT_TRUE(WriteFileBytes(path, "abc"));
    HANDLE h = Open(path, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(h);
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ReadFileBytes(path), "abc");
}

TEST(FilesTest, FileTimesRoundTrip) {
    TempDir dir;
    WString path = dir.Join(W("t.txt"));
    ASSERT_TRUE(WriteFileBytes(path, "t"));
    HANDLE h = Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    // 2020-01-02 03:04:05.1234567 and 2001-09-09 01:46:40 UTC, in 100-ns units since 1601.
    ULARGE_INTEGER write;
    write.QuadPart = 132224522451234567ULL;
    ULARGE_INTEGER access;
    access.QuadPart = 126444736000000000ULL;
    FILETIME ftWrite = {write.LowPart, write.HighPart};
    FILETIME ftAccess = {access.LowPart, access.HighPart};
    ASSERT_TRUE(SetFileTime(h, nullptr, &ftAccess, &ftWrite));
    FILETIME gotCreation, gotAccess, gotWrite;
    ASSERT_TRUE(GetFileTime(h, &gotCreation, &gotAccess, &gotWrite));
    EXPECT_EQ(gotWrite.dwLowDateTime, ftWrite.dwLowDateTime);
    EXPECT_EQ(gotWrite.dwHighDateTime, ftWrite.dwHighDateTime);
    EXPECT_EQ(gotAccess.dwLowDateTime, ftAccess.dwLowDateTime);
    EXPECT_EQ(gotAccess.dwHighDateTime, ftAccess.dwHighDateTime);
    CloseHandle(h);

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, ftWrite.dwLowDateTime);
    EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, ftWrite.dwHighDateTime);
    EXPECT_EQ(data.nFileSizeLow, 1u);
}

TEST(FilesTest, DirectoriesOpenOnlyWithBackupSemantics) {
    TempDir dir;
    WString sub = dir.Join(W("sub"));
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryW(dir.Join(W("no\\such")).c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    HANDLE h = Open(sub, GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    h = Open(sub, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME write;
    EXPECT_TRUE(GetFileTime(h, nullptr, nullptr, &write));
    CloseHandle(h);

    ASSERT_TRUE(WriteFileBytes(sub + W("\\f"), "x"));
    EXPECT_FALSE(RemoveDirectoryW(sub.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_FALSE(RemoveDirectoryW((sub + W("\\f")).c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_FALSE(DeleteFileW(sub.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ASSERT_TRUE(DeleteFileW((sub + W("\\f")).c_str()));
    EXPECT_TRUE(RemoveDirectoryW(sub.c_str()));
    EXPECT_FALSE(Exists(sub));
}

TEST(FilesTest, DeleteOnClose) {
    TempDir dir;
    WString path = dir.Join(W("temp.tmp"));
    HANDLE h = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Exists(path));
    CloseHandle(h);
    EXPECT_FALSE(Exists(path));
}

TEST(FilesTest, ReadOnlyAttributeKeepsWritersAndDeletersOut) {
    TempDir dir;
    WString path = dir.Join(W("ro.txt"));
    ASSERT_TRUE(WriteFileBytes(path, "keep"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    EXPECT_FALSE(DeleteFileW(path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFileBytes(path), "keep");

    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_FALSE(Exists(path));
    EXPECT_FALSE(DeleteFileW(path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FilesTest, HiddenAttributeIsKept) {
    TempDir dir;
    WString path = dir.Join(W("h.txt"));
    ASSERT_TRUE(WriteFileBytes(path, "h"));
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    DWORD attributes = GetFileAttributesW(path.c_str());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    // A file made hidden and read-only from the start; the handle still writes.
    WString made = dir.Join(W("made.txt"));
    HANDLE h = Open(made, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "ok", 2, &n, nullptr));
    CloseHandle(h);
    attributes = GetFileAttributesW(made.c_str());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(ReadFileBytes(made), "ok");
}

TEST(FilesTest, MoveNeverReplaces) {
    TempDir dir;
    WString a = dir.Join(W("a.txt"));
    WString b = dir.Join(W("b.txt"));
    ASSERT_TRUE(WriteFileBytes(a, "A"));
    ASSERT_TRUE(WriteFileBytes(b, "B"));
    EXPECT_FALSE(MoveFileW(a.c_str(), b.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadFileBytes(a), "A");
    EXPECT_EQ(ReadFileBytes(b), "B");

    WString c = dir.Join(W("c.txt"));
    EXPECT_TRUE(MoveFileW(a.c_str(), c.c_str()));
    EXPECT_FALSE(Exists(a));
    EXPECT_EQ(ReadFileBytes(c), "A");
    EXPECT_FALSE(MoveFileW(a.c_str(), c.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // Directories move (rename) the same way.
    WString d1 = dir.Join(W("d1"));
    WString d2 = dir.Join(W("d2"));
    ASSERT_TRUE(CreateDirectoryW(d1.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(d2.c_str(), nullptr));
    EXPECT_FALSE(MoveFileW(d1.c_str(), d2.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileW(d1.c_str(), dir.Join(W("d3")).c_str()));
}

TEST(FilesTest, MoveAcrossDrivesCopies) {
    // The test runs map S: to a second file system (/dev/shm) on both systems.
    if (GetDriveTypeW(W("S:\\").c_str()) != DRIVE_FIXED) {
        GTEST_SKIP() << "drive S: is not mapped";
    }
    TempDir dir;
    WString other = TempDir::MakeUnder(W("S:\\"));
    ASSERT_FALSE(other.empty());
    WString from = dir.Join(W("move.txt"));
    WString to = other + W("\\moved.txt");
    ASSERT_TRUE(WriteFileBytes(from, "across"));
    HANDLE h = Open(from, GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME stamp = {0x12345600, 0x01D5C0DE};
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &stamp));
    CloseHandle(h);

    EXPECT_TRUE(MoveFileW(from.c_str(), to.c_str()));
    EXPECT_FALSE(Exists(from));
    EXPECT_EQ(ReadFileBytes(to), "across");
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, stamp.dwLowDateTime);
    EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, stamp.dwHighDateTime);

    // Onto an existing file on the other drive: refused, both kept.
    ASSERT_TRUE(WriteFileBytes(from, "again"));
    EXPECT_FALSE(MoveFileW(from.c_str(), to.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadFileBytes(from), "again");
    EXPECT_EQ(ReadFileBytes(to), "across");
    qvtest::RemoveTree(other);
}

TEST(FilesTest, CopyingAFileOntoItselfIsRefused) {
    TempDir dir;
    WString path = dir.Join(W("self.txt"));
    ASSERT_TRUE(WriteFileBytes(path, "precious"));
    // The copy's reader lets others read only; its writer is then refused.
    HANDLE reader = Open(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    HANDLE writer = Open(path, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(reader);
    EXPECT_EQ(ReadFileBytes(path), "precious");

    EXPECT_FALSE(CopyFileW(path.c_str(), path.c_str(), FALSE));
    EXPECT_EQ(ReadFileBytes(path), "precious");

    WString copy = dir.Join(W("copy.txt"));
    EXPECT_TRUE(CopyFileW(path.c_str(), copy.c_str(), TRUE));
    EXPECT_EQ(ReadFileBytes(copy), "precious");
    EXPECT_FALSE(CopyFileW(path.c_str(), copy.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
}

TEST(FilesTest, DevicesAndStandardHandles) {
    HANDLE nul = CreateFileW(W("NUL").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(nul, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileType(nul), static_cast<DWORD>(FILE_TYPE_CHAR));
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(nul, "gone", 4, &n, nullptr));
    EXPECT_EQ(n, 4u);
    CloseHandle(nul);

    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    EXPECT_NE(out, INVALID_HANDLE_VALUE);
    EXPECT_EQ(out, GetStdHandle(STD_OUTPUT_HANDLE));
    EXPECT_EQ(GetFileType(INVALID_HANDLE_VALUE), static_cast<DWORD>(FILE_TYPE_UNKNOWN));
}

}  // namespace
