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
    Estring error;
    EXPECT_TRUE(WriteExitDirectoryFile(name, Westring("D:\\Work\\Src"), error));
    EXPECT_EQ(qvtest::ReadFileBytes(file), "D:\r\ncd \"\\Work\\Src\"\r\n");
}

TEST(ExitDirectoryFile, NothingIsWrittenForAUncDirectory) {
    qvtest::TempDir dir;
    qvtest::WString file = dir.Join(qvtest::W("go.bat"));
    Estring error;
    EXPECT_FALSE(WriteExitDirectoryFile(Westring(qvtest::U8(file).c_str()), Westring("\\\\server\\share"), error));
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ExitDirectoryFile, ANameABatchLineCannotQuoteIsRefusedAndNothingWritten) {
    const struct {
        const char* directory;
        char32_t unsafe;
    } cases[] = {
        {"C:\\q\"x & echo pwned", '"'},   {"C:\\100%PATH%", '%'},  {"C:\\wow!x!", '!'},
        {"C:\\line\r\necho pwned", '\r'}, {"C:\\tab\there", '\t'}, {"C:\\bell\x07", 0x07},
    };
    qvtest::TempDir dir;
    qvtest::WString file = dir.Join(qvtest::W("go.bat"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory);
        EXPECT_EQ(UnsafeBatchCharacter(Westring(c.directory)), c.unsafe);
        EXPECT_EQ(Record(c.directory), "<none>");
        ASSERT_TRUE(qvtest::WriteFileBytes(file, "older"));
        Estring error;
        EXPECT_FALSE(WriteExitDirectoryFile(Westring(qvtest::U8(file).c_str()), Westring(c.directory), error));
        EXPECT_EQ(std::string(error.Data()).rfind("-x: ", 0), 0u) << error.Data();
        EXPECT_NE(std::string(error.Data()).find("cannot quote"), std::string::npos) << error.Data();
        EXPECT_EQ(qvtest::ReadFileBytes(file), "older");
    }
    // Names that only look alarming stay as they are inside the quotes.
    EXPECT_EQ(Record("C:\\a & b (c) ^d <e> |f"), "C:\r\ncd \"\\a & b (c) ^d <e> |f\"\r\n");
}

TEST(ExitDirectoryFile, AFileThatCannotBeWrittenIsAnError) {
    qvtest::TempDir dir;
    qvtest::WString file = dir.Join(qvtest::W("no-such-folder\\go.bat"));
    Estring error;
    EXPECT_FALSE(WriteExitDirectoryFile(Westring(qvtest::U8(file).c_str()), Westring("D:\\Work"), error));
    EXPECT_EQ(std::string(error.Data()).rfind("-x: ", 0), 0u) << error.Data();
    EXPECT_NE(std::string(error.Data()).find("go.bat"), std::string::npos) << error.Data();
    Estring none;
    EXPECT_TRUE(WriteExitDirectoryFile(Westring(), Westring("D:\\Work"), none));
}

}  // namespace
