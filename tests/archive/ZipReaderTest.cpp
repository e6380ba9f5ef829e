// The ZIP reader over archives made by Debian's zip and over byte fixtures
// for what zip does not write (ZIP64, hostile offsets and names).
#include <gtest/gtest.h>

#include "tests/archive/ArchiveTestSupport.h"

namespace {

using qvtest::Le16;
using qvtest::Le32;
using qvtest::Le64;

const std::string T = std::to_string(qvtest::TreeSeconds);

using qvtest::ZipBuilder;

TEST(ZipReader, ListsWhatZipStored) {
    QV_NEED_TOOL("zip");
    qvtest::ToolFolder folder;
    folder.MakeTree();
    ASSERT_TRUE(folder.Run("zip -r -X x.zip a 'a b' a.txt"));
    CArchive* archive = qvtest::OpenTestArchive(folder.PathOf("x.zip"));
    ASSERT_EQ(0, archive->status);
    EXPECT_EQ(0, archive->archiverIndex);
    // Stored files keep their size as packed size; directory members have
    // an empty name.
    EXPECT_EQ((std::vector<std::string>{
                  "|a.txt|10|10|" + T + "|0|0|-",
                  "a||0|0|" + T + "|16|0|-",
                  "a|x|2|2|" + T + "|0|0|-",
                  "a b||0|0|" + T + "|16|0|-",
                  "a b|y|3|3|" + T + "|0|0|-",
              }),
              qvtest::EntryRows(archive));
    delete archive;
}

TEST(ZipReader, SelfExtractorOffsetsCountFromTheZipPart) {
    QV_NEED_TOOL("zip");
    qvtest::ToolFolder folder;
    folder.MakeTree();
    folder.Write("stub", "MZ" + std::string(3000, '\x90'));
    ASSERT_TRUE(folder.Run("zip -X x.zip a.txt && cat stub x.zip > sfx.exe"));
    CArchive* archive = qvtest::OpenTestArchive(folder.PathOf("sfx.exe"));
    ASSERT_EQ(0, archive->status);
    EXPECT_EQ((std::vector<std::string>{"|a.txt|10|10|" + T + "|0|0|-"}), qvtest::EntryRows(archive));
    delete archive;
}

TEST(ZipReader, EmptyArchiveAndLongComment) {
    ZipBuilder empty;
    qvtest::ByteArchive onlyEnd(empty.EndRecord(0));
    ASSERT_EQ(0, onlyEnd.archive->status);
    EXPECT_EQ(0, onlyEnd.archive->entries.Count());

    ZipBuilder commented;
    commented.Add("c.txt", 5, 7);
    qvtest::ByteArchive withComment(commented.Bytes(0xFFFFFFFE, std::string(65535, 'c')));
    ASSERT_EQ(0, withComment.archive->status);
    EXPECT_EQ((std::vector<std::string>{"|c.txt|7|5|" + T + "|0|0|-"}), qvtest::EntryRows(withComment.archive));
}

TEST(ZipReader, Zip64TakesOffsetAndSizesFromTheirRecords) {
    ZipBuilder zip;
    // Only the unpacked size says "look in the extra field": the one value
    // there is the unpacked size, whatever the packed field holds.
    zip.Add("big.bin", 100, 0xFFFFFFFF, Le16(1) + Le16(8) + Le64(0x123456789ULL));
    // Both sizes in order.
    zip.Add("d/huge.bin", 0xFFFFFFFF, 0xFFFFFFFF, Le16(1) + Le16(16) + Le64(6000000000ULL) + Le64(5000000000ULL));
    std::string head = "PK\x03\x04" + std::string(26, '\0');
    std::string bytes = head + zip.central;
    const uint64_t record = bytes.size();
    bytes += "PK\x06\x06" + std::string(44, '\0') + Le64(head.size());
    bytes += "PK\x06\x07" + Le32(0) + Le64(record) + Le32(1);
    bytes += zip.EndRecord(0xFFFFFFFF);
    qvtest::ByteArchive file(bytes);
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ((std::vector<std::string>{"|big.bin|4886718345|100|" + T + "|0|0|-",
                                        "d|huge.bin|6000000000|5000000000|" + T + "|0|0|-"}),
              qvtest::EntryRows(file.archive));
}

TEST(ZipReader, Zip64LocatorPointingOutsideIsIgnored) {
    ZipBuilder zip;
    zip.Add("a", 1, 1);
    std::string head = "PK\x03\x04" + std::string(26, '\0');
    std::string bytes =
        head + zip.central + "PK\x06\x07" + Le32(0) + Le64(uint64_t(1) << 62) + Le32(1) + zip.EndRecord(0xFFFFFFFF);
    qvtest::ArchiveMessages messages;
    qvtest::ByteArchive file(bytes);
    EXPECT_NE(0, file.archive->status);
    ASSERT_EQ(1u, messages.texts.size());
    EXPECT_EQ(0u, messages.texts[0].rfind("ZIP corrupt, nonsense header read|", 0));
}

TEST(ZipReader, DamagedArchivesAreReportedAndNotOpened) {
    ZipBuilder zip;
    zip.Add("a.txt", 1, 1);
    struct Case {
        std::string bytes;
        const char* message;  // null: no message, not a ZIP
    } cases[] = {
        {zip.Bytes(5000), "ZIP corrupt, nonsense header read"},
        {zip.Bytes(2), "ZIP corrupt, bad central directory"},
        {"PK\x03\x04" + std::string(200, 'z'), "Central directory not found in"},
        {"MZ" + std::string(300, 'z'), nullptr},
        {"PK\x05", nullptr},
    };
    for (const Case& c : cases) {
        qvtest::ArchiveMessages messages;
        qvtest::ByteArchive file(c.bytes, "bad.zip");
        EXPECT_NE(0, file.archive->status);
        if (!c.message) {
            EXPECT_TRUE(messages.texts.empty());
            continue;
        }
        ASSERT_EQ(1u, messages.texts.size()) << c.message;
        Estring path;
        file.archive->filePath.ToUtf8(path);
        EXPECT_EQ(std::string(c.message) + "|" + path.Data(), messages.texts[0]);
    }
}

TEST(ZipReader, HostileNamesNeverLeadOutside) {
    ZipBuilder zip;
    zip.Add("../evil.txt", 1, 1);
    zip.Add("/abs.txt", 2, 2);
    zip.Add("C:/drive.txt", 3, 3);
    zip.Add("a/../../up.txt", 4, 4);
    zip.Add("ok//twice/./z.txt", 5, 5);
    zip.Add("./docs/d.txt", 6, 6);
    qvtest::ByteArchive file(zip.Bytes());
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ((std::vector<std::string>{"|abs.txt|2|2|" + T + "|0|0|-", "|drive.txt|3|3|" + T + "|0|0|-",
                                        "docs|d.txt|6|6|" + T + "|0|1|-", "ok\\twice|z.txt|5|5|" + T + "|0|0|-"}),
              qvtest::EntryRows(file.archive));
}

TEST(ZipReader, ExtraFieldCutShortEndsItsWalk) {
    ZipBuilder zip;
    // The block claims more data than the extra field holds.
    zip.Add("a", 0xFFFFFFFF, 0xFFFFFFFF, Le16(1) + Le16(30) + Le64(9));
    qvtest::ByteArchive file(zip.Bytes());
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ((std::vector<std::string>{"|a|4294967295|4294967295|" + T + "|0|0|-"}), qvtest::EntryRows(file.archive));
}

}  // namespace

namespace {

// Comments after every member's header (zip -c) and after the end record
// (zip -z) are stepped over: every member is listed, none reported corrupt.
// An archive comment that itself holds the end record's signature does not
// pass for the end record.
TEST(ZipReader, MemberAndArchiveCommentsAreSteppedOver) {
    QV_NEED_TOOL("zip");
    struct Case {
        const char* name;
        const char* make;
    } cases[] = {
        {"members.zip", "printf 'first comment\\nsecond, longer comment\\nthird\\n' | zip -c members.zip a.txt a/x 'a b/y'"},
        {"archive.zip", "printf 'the archive comment\\n.\\n' | zip -z archive.zip a.txt a/x 'a b/y'"},
        {"both.zip", "printf 'c1\\nc2\\nc3\\n' | zip -c both.zip a.txt a/x 'a b/y' && "
                     "printf 'archive comment\\n.\\n' | zip -z both.zip"},
        {"fake.zip", "zip fake.zip a.txt a/x 'a b/y' && printf 'PK\\005\\006 is no end record\\n.\\n' | zip -z fake.zip"},
    };
    qvtest::ToolFolder folder;
    folder.MakeTree();
    for (const Case& c : cases) {
        ASSERT_TRUE(folder.Run(c.make)) << c.make;
        qvtest::ArchiveMessages messages;
        CArchive* archive = qvtest::OpenTestArchive(folder.PathOf(c.name));
        EXPECT_EQ(0, archive->status) << c.name;
        EXPECT_TRUE(messages.texts.empty()) << c.name << ": " << (messages.texts.empty() ? "" : messages.texts[0]);
        std::vector<std::string> names;
        for (const std::string& row : qvtest::EntryRows(archive))
            names.push_back(row.substr(0, row.find('|', row.find('|') + 1)));
        EXPECT_EQ((std::vector<std::string>{"|a.txt", "a|x", "a b|y"}), names) << c.name;
        delete archive;
    }
}

}  // namespace
