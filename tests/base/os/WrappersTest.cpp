#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <ctime>

#include "base/os/CReadOnlyGuard.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/FileAttributes.h"
#include "base/os/FileProperties.h"
#include "base/os/OverlappedPipe.h"
#include "base/os/SearchPath.h"
#include "base/os/ShellOpen.h"
#include "base/os/SystemError.h"
#include "base/os/SystemHelpers.h"
#include "base/os/Volumes.h"
#include "base/strings/Utf16String.h"
#include "base/os/Environment.h"
#include "tests/base/os/OsTestSupport.h"

using qvtest::PathIn;

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

// Restores the process's current directory when a test has changed it.
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper() { GetCurrentDirectoryW(1024, previous); }
    ~CurrentDirectoryKeeper() { SetCurrentDirectoryW(previous); }

private:
    WCHAR previous[1024];
};

class WrappersTest : public ::testing::Test {
protected:
    Westring Path(const char* name) { return PathIn(dir, name); }
    void Make(const char* name, const std::string& bytes) {
        ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W(name)), bytes));
    }
    qvtest::TempDir dir;
};

TEST_F(WrappersTest, ChangeDirectoryRecordsTheDrivesDirectory) {
    CurrentDirectoryKeeper keeper;
    Westring target = qvtest::ToWestring(dir.Path());
    ASSERT_EQ(0u, ChangeDirectory(target));

    char32_t letter = target[0];
    WCHAR name[4] = {'=', static_cast<WCHAR>(letter), ':', 0};
    WCHAR value[1024];
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    ASSERT_GT(n, 0u);
    EXPECT_TRUE(Westring(value).EqualsNoCase(target)) << Utf8(Westring(value));

    Estring variable("=");
    variable += char(letter);
    variable += ':';
    const Estring* recorded = TopEnvironment().Get(variable);
    ASSERT_NE(nullptr, recorded);
    EXPECT_TRUE(Westring(recorded->Data()).EqualsNoCase(target));
    EXPECT_TRUE(GetDriveCurrentDirectoryWide(letter).EqualsNoCase(target));
    EXPECT_TRUE(GetDriveCurrentDirectoryWide(0).EqualsNoCase(target));

    DWORD missing = ChangeDirectory(Path("missing"));
    EXPECT_TRUE(missing == ERROR_FILE_NOT_FOUND || missing == ERROR_PATH_NOT_FOUND) << missing;
    EXPECT_TRUE(GetDriveCurrentDirectoryWide(0).EqualsNoCase(target));
}

TEST_F(WrappersTest, DriveRootKeepsItsBackslash) {
    CurrentDirectoryKeeper keeper;
    Westring temp = qvtest::ToWestring(dir.Path());
    Westring root = temp.Left(3);
    ASSERT_EQ(0u, ChangeDirectory(root));
    EXPECT_TRUE(GetDriveCurrentDirectoryWide(temp[0]).EqualsNoCase(root));
    Estring narrow = GetDriveCurrentDirectory(char(temp[0]));
    EXPECT_EQ(3, narrow.Length());
    EXPECT_EQ(toupper(int(temp[0])), toupper(GetCurrentDriveLetter()));
}

TEST(SystemErrorTest, MessageIsOneLineFollowedByTheCode) {
    const DWORD codes[] = {ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND, ERROR_SHARING_VIOLATION};
    for (DWORD code : codes) {
        std::string text = Utf8(FormatSystemError(code));
        std::string ending = " (" + std::to_string(code) + ")";
        ASSERT_GT(text.size(), ending.size() + 1) << text;
        EXPECT_EQ(ending, text.substr(text.size() - ending.size()));
        EXPECT_EQ(std::string::npos, text.find_first_of("\r\n")) << text;
        EXPECT_EQ(std::string::npos, text.find("  ")) << text;
        EXPECT_NE(' ', text[0]);
    }
}

TEST_F(WrappersTest, AttributesAndTheReadOnlyGuard) {
    Make("ro.txt", "x");
    Westring file = Path("ro.txt");
    ASSERT_EQ(0u, WriteFileAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    CReadOnlyGuard guard;
    EXPECT_EQ(0u, guard.Clear(file));
    DWORD attributes = 0;
    ASSERT_EQ(0u, ReadFileAttributes(file, attributes));
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(0u, guard.Restore());
    ASSERT_EQ(0u, ReadFileAttributes(file, attributes));
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    // Restoring twice changes nothing more.
    WriteFileAttributes(file, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(0u, guard.Restore());
    ASSERT_EQ(0u, ReadFileAttributes(file, attributes));
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);

    CReadOnlyGuard missing;
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), missing.Clear(Path("none")));
    EXPECT_EQ(0u, missing.Restore());
    EXPECT_FALSE(FileExists(Path("none")));
    EXPECT_TRUE(FileExists(file));
}

TEST_F(WrappersTest, FileSizeByNameCountsFilesOnly) {
    Make("sized.bin", std::string(1234, 's'));
    uint64_t size = 0;
    EXPECT_EQ(0u, GetFileSizeByName(Path("sized.bin"), size));
    EXPECT_EQ(1234u, size);
    ASSERT_TRUE(CreateDirectoryW(dir.Join(qvtest::W("folder")).c_str(), nullptr));
    EXPECT_NE(0u, GetFileSizeByName(Path("folder"), size));
    EXPECT_NE(0u, GetFileSizeByName(Path("none.bin"), size));
}

TEST_F(WrappersTest, OnlyDevicesAreCharacterDevices) {
    Make("plain.txt", "p");
    EXPECT_FALSE(IsCharacterDevice(Path("plain.txt")));
    EXPECT_FALSE(IsCharacterDevice(Path("none.txt")));
    EXPECT_TRUE(IsCharacterDevice(Westring("NUL")));
}

TEST_F(WrappersTest, PropertiesOfAFile) {
    Make("info.txt", std::string(1234, 'i'));
    WriteFileAttributes(Path("info.txt"), FILE_ATTRIBUTE_READONLY);
    CFileInfoItems rows;
    ASSERT_TRUE(GetFileProperties(Path("info.txt"), rows));
    const char* expected[] = {"Size", "Creation Time", "Access Time", "Modified Time"};
    ASSERT_GE(rows.Count(), 5);
    for (int i = 0; i < 4; i++) {
        EXPECT_STREQ(expected[i], rows.At(i)->name.Data());
    }
    EXPECT_EQ("1,234", Utf8(rows.At(0)->value));
    bool attributesRow = false;
    for (int i = 0; i < rows.Count(); i++) {
        if (rows.At(i)->name == "Attributes") {
            attributesRow = true;
            EXPECT_NE(std::string::npos, Utf8(rows.At(i)->value).find("Read-Only"));
        }
    }
    EXPECT_TRUE(attributesRow);

    CFileInfoItems none;
    EXPECT_FALSE(GetFileProperties(Path("none.txt"), none));
    EXPECT_EQ(0, none.Count());
    WriteFileAttributes(Path("info.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST(FormatSizeShortAndFullTest, ShortFormOnlyWhenItDiffers) {
    struct Case {
        int64_t size;
        const char* text;
    } cases[] = {
        {0, "0"},
        {1234, "1,234"},
        {123456, "120K (123,456)"},
        {1500000000, "1,430M (1,500,000,000)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, Utf8(FormatSizeShortAndFull(c.size))) << c.size;
    }
}

TEST_F(WrappersTest, VolumesOfPaths) {
    Make("one.txt", "1");
    Westring first = Path("one.txt");
    EXPECT_TRUE(AreOnSameVolume(first, Path("two.txt")));
    EXPECT_TRUE(AreOnSameVolume(first, Westring("sibling.txt")));
    EXPECT_FALSE(AreOnDifferentVolumes(first, Path("two.txt")));
    EXPECT_FALSE(GetVolumeNameOfPath(first).IsEmpty());
    EXPECT_TRUE(GetVolumeNameOfPath(Westring("relative")).IsEmpty());

    struct Case {
        const char* a;
        const char* b;
        bool same;
    } unc[] = {
        {"\\\\srv\\share\\a\\x.txt", "\\\\SRV\\Share\\b\\c\\y.txt", true},
        {"\\\\srv\\share\\a", "\\\\srv\\other\\a", false},
    };
    for (const Case& c : unc) {
        EXPECT_EQ(c.same, AreOnSameVolume(Westring(c.a), Westring(c.b))) << c.a << " / " << c.b;
    }
    EXPECT_TRUE(GetVolumeNameOfPath(Westring("\\\\srv\\share\\a\\b")).EqualsExact(Westring("\\\\srv\\share")));
}

TEST_F(WrappersTest, DiskSpaceAndLabelOfTheTemporaryDrive) {
    uint64_t total = 0, free = 0, cluster = 0;
    ASSERT_EQ(0u, GetDiskSpace(qvtest::ToWestring(dir.Path()), total, free, cluster));
    EXPECT_GT(total, 0u);
    EXPECT_LE(free, total);
    EXPECT_GT(cluster, 0u);
    DWORD serial = 0;
    Westring label("unset");
    EXPECT_EQ(0u, GetVolumeLabelAndSerial(dir.Path()[0], serial, label));
    EXPECT_FALSE(label.EqualsExact(Westring("unset")));
    // A local drive has no network name.
    EXPECT_TRUE(GetDriveUncName(char(dir.Path()[0])).IsEmpty());
}

TEST(OverlappedPipeTest, CarriesBytesAndRefusesOtherFlags) {
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    SetLastError(0);
    EXPECT_FALSE(CreateOverlappedPipe(readEnd, writeEnd, nullptr, 0x80000000, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(nullptr, readEnd);

    for (int pipe = 0; pipe < 2; pipe++) {
        ASSERT_TRUE(CreateOverlappedPipe(readEnd, writeEnd, nullptr, 0, 0));
        DWORD done = 0;
        ASSERT_TRUE(WriteFile(writeEnd, "pipe", 4, &done, nullptr));
        EXPECT_EQ(4u, done);
        char buffer[8] = {0};
        ASSERT_TRUE(ReadFile(readEnd, buffer, 4, &done, nullptr));
        EXPECT_STREQ("pipe", buffer);
        CloseHandle(writeEnd);
        CloseHandle(readEnd);
    }
}

TEST(SearchPathTest, DotThenPathThenTheAppendedList) {
    Estring name("PATH");
    TopEnvironment().Set(name, "a;;b");
    WestringStore list;
    BuildSearchPathList(list);
    const char* expected[] = {".", "a", "b"};
    ASSERT_EQ(3, list.Count());
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(expected[i], Utf8(*list.At(i)));
    }
    WestringStore appended;
    BuildSearchPathList(appended, Westring("c;;d;"));
    ASSERT_EQ(5, appended.Count());
    EXPECT_EQ("d", Utf8(*appended.At(4)));
    TopEnvironment().Set(name, nullptr);
}

TEST(SystemHelpersTest, ClockSqueezeAndShell) {
    double expected = double(time(nullptr)) + 11644473600.0;
    EXPECT_NEAR(expected, GetSystemTimeSeconds(), 5.0);

    char text[] = " a b\t\nc  ";
    SqueezeWhitespace(text);
    EXPECT_STREQ("abc", text);

    EXPECT_FALSE(ShellOpen(Westring("C:\\quorvane-no-such-dir\\no-such-file.qvtest")));
}

}  // namespace
