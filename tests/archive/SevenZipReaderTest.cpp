// The 7z reader over archives made by Debian's 7z: packed and plain header
// databases, directories, totals, and what is not taken as 7z.
#include <gtest/gtest.h>

#include "tests/archive/ArchiveTestSupport.h"

namespace {

const std::string T = std::to_string(qvtest::TreeSeconds);
const std::string Unknown = "18446744073709551615";

TEST(SevenZipReader, ListsTheTreeWhateverHoldsTheHeader) {
    QV_NEED_TOOL("7z");
    qvtest::ToolFolder folder;
    folder.MakeTree();
    // The header packed with LZMA (the default), kept plain, and the data
    // stored with LZMA2 or copied.
    for (const char* options : {"", "-mhc=off", "-m0=lzma2 -mhc=on", "-m0=copy"}) {
        ASSERT_TRUE(folder.Run(std::string("rm -f x.7z && 7z a ") + options + " x.7z a 'a b' a.txt"));
        CArchive* archive = qvtest::OpenTestArchive(folder.PathOf("x.7z"));
        ASSERT_EQ(0, archive->status) << options;
        EXPECT_EQ(8, archive->archiverIndex);
        EXPECT_EQ((std::vector<std::string>{
                      "|a.txt|10|" + Unknown + "|" + T + "|0|0|-",
                      "a||0|" + Unknown + "|" + T + "|16|0|-",
                      "a|x|2|" + Unknown + "|" + T + "|0|0|-",
                      "a b||0|" + Unknown + "|" + T + "|16|0|-",
                      "a b|y|3|" + Unknown + "|" + T + "|0|0|-",
                  }),
                  qvtest::EntryRows(archive))
            << options;
        int64_t unpacked = 0;
        int64_t packed = 0;
        GetArchiveTotals(archive, unpacked, packed);
        EXPECT_EQ(15, unpacked);
        EXPECT_GT(packed, 0);
        EXPECT_LT(packed, int64_t(archive->archiveSize));
        delete archive;
    }
}

TEST(SevenZipReader, EncryptedHeaderOrForeignBytesAreNot7z) {
    QV_NEED_TOOL("7z");
    qvtest::ToolFolder folder;
    folder.MakeTree();
    ASSERT_TRUE(folder.Run("7z a -psecret -mhe=on e.7z a.txt"));
    qvtest::ArchiveMessages messages;
    CArchive* encrypted = qvtest::OpenTestArchive(folder.PathOf("e.7z"));
    EXPECT_NE(0, encrypted->status);
    delete encrypted;
    EXPECT_TRUE(messages.texts.empty());

    qvtest::ByteArchive notSevenZip("7z and other bytes that follow", "n.7z");
    EXPECT_NE(0, notSevenZip.archive->status);
}

TEST(SevenZipReader, EmptyArchiveOpens) {
    // The signature header of an archive with no database at all.
    std::string bytes = std::string("7z\xBC\xAF\x27\x1C\x00\x04", 8);
    // The start header's CRC over its 20 zero bytes: no next header.
    bytes += qvtest::Le32(0x0FD59B8D) + std::string(20, '\0');
    qvtest::ByteArchive file(bytes, "empty.7z");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ(0, file.archive->entries.Count());
}

TEST(SevenZipReader, DamagedDatabaseIsNot7z) {
    QV_NEED_TOOL("7z");
    qvtest::ToolFolder folder;
    folder.MakeTree();
    ASSERT_TRUE(folder.Run(
        "7z a -mhc=off x.7z a 'a b' a.txt && cp x.7z cut.7z && truncate -s -5 cut.7z && "
        "cp x.7z flipped.7z && printf '\\377' | dd of=flipped.7z bs=1 seek=$(($(stat -c %s x.7z) - 10)) conv=notrunc"));
    for (const char* name : {"cut.7z", "flipped.7z"}) {
        CArchive* archive = qvtest::OpenTestArchive(folder.PathOf(name));
        EXPECT_NE(0, archive->status) << name;
        delete archive;
    }
}

}  // namespace
