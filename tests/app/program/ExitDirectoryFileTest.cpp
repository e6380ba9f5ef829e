#include "app/program/ExitDirectoryFile.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDir.h"

namespace {

std::string Record(const char* directory) {
    Estring record;
    if (!BuildExitDirectoryRecord(Westring(directory), record)) {
        return "<none>";
    }
    return std::string(record.Data(), static_cast<size_t>(record.Length()));
}

TEST(ExitDirectoryFile, RecordHoldsTheDriveLineAndTheCdLine) {
    std::string record = Record("D:\\Work\\Src");
    EXPECT_EQ(record, "D:\r\ncd \"\\Work\\Src\"\r\n");
    EXPECT_EQ(record.size(), 20u);
    EXPECT_EQ(Record("C:\\"), "C:\r\ncd \"\\\"\r\n");
    EXPECT_EQ(Record("C:\\caf\xC3\xA9"), "C:\r\ncd \"\\caf\xC3\xA9\"\r\n");
}

TEST(ExitDirectoryFile, NoRecordForADirectoryWithoutDrive) {
    EXPECT_EQ(Record("\\\\server\\share\\dir"), "<none>");
    EXPECT_EQ(Record("\\\\"), "<none>");
}

TEST(ExitDirectoryFile, InsideAnArchiveTheArchiveFilesDirectoryIsRecorded) {
    Westring shown("C:\\data\\pack.zip\\docs\\old");
    Westring result = ExitDirectoryOfPanel(shown, Westring("C:\\data\\pack.zip"));
    EXPECT_TRUE(result.EqualsExact(Westring("C:\\data")));
    EXPECT_TRUE(ExitDirectoryOfPanel(shown, Westring()).EqualsExact(shown));
}

TEST(ExitDirectoryFile, WritesExactlyTheRecordReplacingAnOlderFile) {
    qvtest::TempDir dir;
    qvtest::WString file = dir.Join(qvtest::W("go.bat"));
    ASSERT_TRUE(qvtest::WriteFileBytes(file, std::string(100, 'x')));
    Westring name(qvtest::U8(file).c_str());
    WriteExitDirectoryFile(name, Westring("D:\\Work\\Src"));
    EXPECT_EQ(qvtest::ReadFileBytes(file), "D:\r\ncd \"\\Work\\Src\"\r\n");
}

TEST(ExitDirectoryFile, NothingIsWrittenForAUncDirectory) {
    qvtest::TempDir dir;
    qvtest::WString file = dir.Join(qvtest::W("go.bat"));
    WriteExitDirectoryFile(Westring(qvtest::U8(file).c_str()), Westring("\\\\server\\share"));
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
