// The tar readers, plain and over gzip, bzip2 and xz, and the single-file
// compressors, over archives made by Debian's tar and compressors and over
// hand-made headers.
#include <gtest/gtest.h>

#include <cstring>

#include "archive/TarHeaders.h"
#include "base/strings/Str32.h"
#include "tests/archive/ArchiveTestSupport.h"

namespace {

const std::string T = std::to_string(qvtest::TreeSeconds);

std::string Octal(uint64_t value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*llo", width - 1, static_cast<unsigned long long>(value));
    return std::string(text, size_t(width - 1)) + '\0';
}

// One 512-byte ustar header with a correct checksum.
std::string TarHeader(const std::string& name, char type, uint64_t size, const std::string& prefix = "",
                      uint32_t mode = 0644, const std::string& sizeField = "") {
    std::string h(512, '\0');
    h.replace(0, std::min<size_t>(name.size(), 100), name.substr(0, 100));
    h.replace(100, 8, Octal(mode, 8));
    h.replace(124, 12, sizeField.empty() ? Octal(size, 12) : sizeField);
    h.replace(136, 12, Octal(qvtest::TreeSeconds, 12));
    h[156] = type;
    h.replace(257, 6, std::string("ustar\0", 6));
    h.replace(263, 2, "00");
    h.replace(345, prefix.size(), prefix);
    h.replace(148, 8, "        ");
    unsigned sum = 0;
    for (unsigned char c : h)
        sum += c;
    h.replace(148, 8, Octal(sum, 7) + ' ');
    return h;
}

std::string Blocks(const std::string& data) {
    return data + std::string((512 - data.size() % 512) % 512, '\0');
}

std::string PaxRecord(const std::string& key, const std::string& value) {
    std::string body = " " + key + "=" + value + "\n";
    size_t length = body.size() + 1;
    while (std::to_string(length).size() + body.size() != length)
        length++;
    return std::to_string(length) + body;
}

const std::vector<std::string> TreeRows = {
    "|a.txt|10|1024|" + T + "|0|0|-", "a||0|512|" + T + "|16|0|-",    "a|x|2|1024|" + T + "|0|0|-",
    "a b||0|512|" + T + "|16|0|-",    "a b|y|3|1024|" + T + "|0|0|-",
};

TEST(TarReader, EveryCompressorListsTheSameTree) {
    QV_NEED_TOOL("tar");
    struct Case {
        const char* file;
        const char* flags;
        const char* tool;
        int archiver;
    } cases[] = {
        {"x.tar", "cf", "tar", 7},
        {"x.tar.gz", "czf", "gzip", 11},
        {"x.tar.bz2", "cjf", "bzip2", 12},
        {"x.tar.xz", "cJf", "xz", 13},
    };
    qvtest::ToolFolder folder;
    folder.MakeTree();
    for (const Case& c : cases) {
        if (!qvtest::ToolFolder::Has(c.tool))
            continue;
        ASSERT_TRUE(folder.Run(std::string("tar --format=gnu -") + c.flags + " " + c.file + " a 'a b' a.txt"));
        CArchive* archive = qvtest::OpenTestArchive(folder.PathOf(c.file));
        ASSERT_EQ(0, archive->status) << c.file;
        EXPECT_EQ(c.archiver, archive->archiverIndex) << c.file;
        EXPECT_EQ(TreeRows, qvtest::EntryRows(archive)) << c.file;
        int64_t unpacked = 0;
        int64_t packed = 0;
        GetArchiveTotals(archive, unpacked, packed);
        EXPECT_EQ(15, unpacked);
        if (c.archiver != 7) {
            EXPECT_EQ(int64_t(archive->archiveSize), packed);
        }
        delete archive;
    }
}

TEST(TarReader, LongNamesLinksAndUstarPrefixes) {
    QV_NEED_TOOL("tar");
    qvtest::ToolFolder folder;
    const std::string deep = std::string(60, 'd') + "/" + std::string(60, 'e');
    folder.Write(deep + "/f.txt", "f");
    ASSERT_TRUE(folder.Run("touch -d '2021-03-04 05:06:08' " + deep + "/f.txt && ln -s a/target link"));
    for (const char* format : {"gnu", "pax", "ustar"}) {
        ASSERT_TRUE(
            folder.Run(std::string("rm -f x.tar && tar --format=") + format + " -cf x.tar " + deep + "/f.txt link"));
        CArchive* archive = qvtest::OpenTestArchive(folder.PathOf("x.tar"));
        ASSERT_EQ(0, archive->status) << format;
        TArchiveEntry* file = ArchiveFindEntry(
            archive, Westring((std::string(60, 'd') + "\\" + std::string(60, 'e')).c_str()), Westring("f.txt"));
        ASSERT_NE(nullptr, file) << format;
        EXPECT_EQ(1u, file->unpackedSize);
        TArchiveEntry* link = ArchiveFindEntry(archive, Westring(), Westring("link"));
        ASSERT_NE(nullptr, link) << format;
        EXPECT_EQ(FILE_ATTRIBUTE_REPARSE_POINT, link->attributes);
        std::string row = qvtest::EntryRow(link);
        EXPECT_EQ("a/target", row.substr(row.rfind('|') + 1)) << format;
        delete archive;
    }
}

TEST(TarReader, HeaderFieldsAsTheLayoutGivesThem) {
    std::string bytes;
    bytes += TarHeader("c.txt", '0', 513, "a/b");
    bytes += Blocks(std::string(513, 'c'));
    bytes += TarHeader("empty", '0', 0);
    // GNU base-256 size.
    bytes += TarHeader("big", '0', 0, "", 0644, std::string("\x80\0\0\0\0\0\0\0\0\0\x02\x00", 12));
    bytes += Blocks(std::string(512, 'b'));
    // A top-level directory without its slash, by its mode.
    bytes += TarHeader("top", '5', 0, "", 040755);
    // A global header is no member.
    std::string global = PaxRecord("comment", "x");
    bytes += TarHeader("pax_global_header", 'g', global.size()) + Blocks(global);
    std::string pax = PaxRecord("path", std::string(150, 'p') + "/long.txt") + PaxRecord("mtime", "1614834368.5") +
                      PaxRecord("size", "9000000000") + PaxRecord("bad", "length wrong").substr(1);
    bytes += TarHeader("PaxHeaders/x", 'x', pax.size()) + Blocks(pax);
    bytes += TarHeader("short", '0', 0);
    bytes += std::string(1024, '\0');
    qvtest::ByteArchive file(bytes, "h.tar");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ(7, file.archive->archiverIndex);
    EXPECT_EQ((std::vector<std::string>{
                  "|big|512|1024|" + T + "|0|0|-",
                  "|empty|0|512|" + T + "|0|0|-",
                  "a\\b|c.txt|513|1536|" + T + "|0|0|-",
                  std::string(150, 'p') + "|long.txt|9000000000|9000000512|" + T + "|0|0|-",
                  "top||0|512|" + T + "|16|0|-",
              }),
              qvtest::EntryRows(file.archive));
    TArchiveEntry* halfSecond =
        ArchiveFindEntry(file.archive, Westring(std::string(150, 'p').c_str()), Westring("long.txt"));
    ASSERT_NE(nullptr, halfSecond);
    EXPECT_EQ(500000000u, halfSecond->time.nanoseconds);
    // The top-level directory can be listed.
    EXPECT_EQ(0u, ArchiveFindFirst(file.archive, Westring("top"), nullptr));
}

TEST(TarReader, HostileHeadersEndTheListing) {
    const std::string first = TarHeader("first", '0', 0);
    struct Case {
        const char* what;
        std::string tail;
    } cases[] = {
        {"a long name larger than a mebibyte", TarHeader("././@LongLink", 'L', 2u << 20) + std::string(4096, 'n')},
        {"a base-256 size beyond 63 bits",
         TarHeader("huge", '0', 0, "", 0644, std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 12))},
        {"an extended header cut short", TarHeader("x", 'x', 100) + "30 path=abc"},
    };
    for (const Case& c : cases) {
        qvtest::ByteArchive file(first + c.tail, "h.tar");
        ASSERT_EQ(0, file.archive->status) << c.what;
        EXPECT_EQ((std::vector<std::string>{"|first|0|512|" + T + "|0|0|-"}), qvtest::EntryRows(file.archive))
            << c.what;
    }
    // A bad checksum in the first header: not a tar file at all.
    std::string bad = first;
    bad[0] = 'F';
    qvtest::ByteArchive notTar(bad + std::string(1024, '\0'), "n.tar");
    EXPECT_NE(0, notTar.archive->status);
}

TEST(TarReader, ParseTarNumberReadsEveryForm) {
    struct Case {
        std::string field;
        int64_t value;
    } cases[] = {
        {std::string("0000644\0", 8), 0644},
        {std::string("  644 \0\0", 8), 0644},
        {std::string("\0"
                     "777777",
                     7),
         0},
        {std::string("\x80\0\0\0\0\0\0\x01", 8), 1},
        {std::string("\x80\0\0\0\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 12), INT64_MAX},
        {std::string("\x80\0\0\0\x80\0\0\0\0\0\0\0", 12), -1},
        {std::string("12345678901", 11), 0123456701},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value, ParseTarNumber(reinterpret_cast<const unsigned char*>(c.field.data()), int(c.field.size())))
            << c.field;
}

TEST(TarReader, PaxRecordsTakeOnlyWellFormedLines) {
    struct Case {
        std::string data;
        const char* path;
        int64_t size;
        bool hasTime;
        uint32_t nanoseconds;
    } cases[] = {
        {PaxRecord("PATH", "x/y"), "x/y", 0, false, 0},
        {PaxRecord("mtime", "12.5"), "", 0, true, 500000000},
        {PaxRecord("mtime", "12.1234567891"), "", 0, true, 123456789},
        {PaxRecord("mtime", "12"), "", 0, false, 0},
        {PaxRecord("size", "123"), "", 123, false, 0},
        {"99 path=wrong\n", "", 0, false, 0},
        {"garbage without form", "", 0, false, 0},
    };
    for (const Case& c : cases) {
        TPaxRecords records;
        ParsePaxRecords(c.data.data(), int(c.data.size()), records);
        EXPECT_EQ(std::string(c.path), std::string(records.path.Data())) << c.data;
        EXPECT_EQ(c.size, records.size) << c.data;
        EXPECT_EQ(c.hasTime, records.hasTime) << c.data;
        if (c.hasTime) {
            EXPECT_EQ(c.nanoseconds, records.time.nanoseconds) << c.data;
        }
    }
}

TEST(CompressedFileReader, OneMemberNamedByHeaderOrFile) {
    QV_NEED_TOOL("gzip");
    qvtest::ToolFolder folder;
    folder.Write("notes.txt", "some notes\n");
    folder.Write("data", std::string(3000, 'q'));
    ASSERT_TRUE(
        folder.Run("touch -d '2021-03-04 05:06:08' notes.txt data && gzip -k notes.txt && "
                   "gzip -n -c data > data.tgz && cp notes.txt.gz renamed.gz"));
    struct Case {
        const char* file;
        const char* tool;
        int archiver;
        const char* row;  // without the packed size
    } cases[] = {
        {"notes.txt.gz", "gzip", 6, "|notes.txt|11|"}, {"renamed.gz", "gzip", 6, "|notes.txt|11|"},
        {"data.tgz", "gzip", 6, "|data.tar|3000|"},    {"data.bz2", "bzip2", 9, "|data|18446744073709551615|"},
        {"data.xz", "xz", 10, "|data|3000|"},          {"data.TXZ", "xz", 10, "|data.tar|3000|"},
    };
    ASSERT_TRUE(folder.Run("bzip2 -k data || true; xz -k data || true; cp data.xz data.TXZ || true"));
    for (const Case& c : cases) {
        if (!qvtest::ToolFolder::Has(c.tool))
            continue;
        CArchive* archive = qvtest::OpenTestArchive(folder.PathOf(c.file));
        ASSERT_EQ(0, archive->status) << c.file;
        EXPECT_EQ(c.archiver, archive->archiverIndex) << c.file;
        ASSERT_EQ(1, archive->entries.Count()) << c.file;
        std::string row = qvtest::EntryRow(archive->entries.At(0));
        EXPECT_EQ(0u, row.rfind(c.row, 0)) << c.file << ": " << row;
        delete archive;
    }
}

TEST(CompressedFileReader, XzSizeComesFromAnIndexThatAddsUp) {
    struct Case {
        std::string index;  // eight bytes
        uint64_t size;
    } cases[] = {
        {std::string("\0\x01\x10\x85\x01\0\0\0", 8), 133},
        {std::string("\0\x01\x10\xFF\xFF\xFF\xFF\xFF", 8), UINT64_MAX},  // runs past the index
        {std::string("\0\x7F\x10\x01\0\0\0\0", 8), UINT64_MAX},          // more records than bytes
        {std::string("\x01\x01\x10\x01\0\0\0\0", 8), UINT64_MAX},        // no index indicator
    };
    for (const Case& c : cases) {
        std::string bytes = std::string(
                                "\xFD"
                                "7zXZ\0",
                                6) +
                            std::string(26, '\0') + c.index + qvtest::Le32(0) + qvtest::Le32(1) + std::string(2, '\0') +
                            "YZ";
        qvtest::ByteArchive file(bytes, "t.xz");
        ASSERT_EQ(0, file.archive->status);
        EXPECT_EQ(10, file.archive->archiverIndex);
        ASSERT_EQ(1, file.archive->entries.Count());
        EXPECT_EQ(c.size, file.archive->entries.At(0)->unpackedSize);
        EXPECT_EQ(0, Str32Compare(file.archive->entries.At(0)->name, U"t"));
    }
}

}  // namespace
