// The readers of RAR 1.5 to 4, LHA, ARJ, ACE and HA over byte fixtures built
// from the formats' layouts (no Debian program writes these, except ARJ,
// whose archives come from Debian's arj as well).
#include <gtest/gtest.h>

#include "archive/RarReader.h"
#include "base/strings/Str32.h"
#include "tests/archive/ArchiveTestSupport.h"

namespace {

using qvtest::Le16;
using qvtest::Le32;

const std::string T = std::to_string(qvtest::TreeSeconds);
const std::string DosStamp = Le16(qvtest::TreeDosTime) + Le16(qvtest::TreeDosDate);

// RAR ------------------------------------------------------------------

const std::string RarMarker("Rar!\x1A\x07\x00", 7);

std::string RarArchiveHeader() {
    return Le16(0) + "\x73" + Le16(0) + Le16(13) + std::string(6, '\0');
}

std::string RarFile(const std::string& name, unsigned flags, uint32_t packed, uint32_t unpacked, unsigned host,
                    uint32_t attributes, const std::string& data = "", uint32_t packedHigh = 0) {
    const bool large = flags & 0x100;
    std::string body = Le32(packed) + Le32(unpacked) + std::string(1, char(host)) + Le32(0) + DosStamp + "\x14\x30" +
                       Le16(unsigned(name.size())) + Le32(attributes);
    if (large)
        body += Le32(packedHigh) + Le32(0);
    body += name;
    return Le16(0) + "\x74" + Le16(flags | 0x8000) + Le16(unsigned(7 + body.size())) + body + data;
}

TEST(RarReader, ListsFilesDirectoriesAndUnicodeNames) {
    // "ab" stored as 8-bit "ab", then the wide form: high byte 0x04, one
    // flags byte of four codes: 1 (high byte with 0x30), 0, 2 (0x263A), 0.
    std::string unicode = std::string("ab\0", 3) + "\x04" + "\x48" + "\x30" + "c" + "\x3A\x26" + "d";
    std::string bytes = RarMarker + RarArchiveHeader() +
                        RarFile("dir/a.txt", 0, 4, 10, 2, 0x27, "data") +  // Windows host: masked attributes
                        Le16(0) + "\x7A" + Le16(0x8000) + Le16(11) + Le32(3) + "sub" +  // a block skipped with its data
                        RarFile("dir\\sub", 0xE0, 0, 0, 3, 0x10) +                      // a directory from Unix
                        RarFile(unicode, 0x200, 0, 5, 3, 0x20) + RarFile("big.bin", 0x100, 7, 9, 0, 0, "", 1);
    qvtest::ByteArchive file(bytes, "x.rar");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ(1, file.archive->archiverIndex);
    EXPECT_EQ((std::vector<std::string>{
                   "|big.bin|9|4294967303|" + T + "|0|0|-",
                   "|\xD0\xB0"
                   "cd\xE2\x98\xBA"
                   "d"
                   "|5|0|" +
                       T + "|0|0|-",
                   "dir|a.txt|10|4|" + T + "|38|0|-",
                   "dir\\sub||0|0|" + T + "|16|0|-",
               })
                  .size(),
              size_t(file.archive->entries.Count()));
    TArchiveEntry* unicodeEntry = file.archive->entries.At(1);
    EXPECT_EQ(0, Str32Compare(unicodeEntry->name, U"\u0430c\u263Ad")) << qvtest::EntryRow(unicodeEntry);
    EXPECT_EQ("|big.bin|9|4294967303|" + T + "|0|0|-", qvtest::EntryRow(file.archive->entries.At(0)));
    EXPECT_EQ("dir|a.txt|10|4|" + T + "|38|0|-", qvtest::EntryRow(file.archive->entries.At(2)));
    EXPECT_EQ("dir\\sub||0|0|" + T + "|16|0|-", qvtest::EntryRow(file.archive->entries.At(3)));
}

TEST(RarReader, LargeMembersAreSkippedWithTheirHighSize) {
    // The first member claims 4 GiB + 10 packed bytes; its data is not there,
    // so the walk ends after it instead of landing inside its data.
    std::string bytes = RarMarker + RarArchiveHeader() + RarFile("huge", 0x100, 10, 10, 0, 0, "", 1) +
                        std::string(10, 'h') + RarFile("inside-data", 0, 0, 0, 0, 0);
    qvtest::ByteArchive file(bytes, "x.rar");
    ASSERT_EQ(0, file.archive->status);
    ASSERT_EQ(1, file.archive->entries.Count());
    EXPECT_EQ(0, Str32Compare(file.archive->entries.At(0)->name, U"huge"));
}

TEST(RarReader, DamageAndOtherVersions) {
    struct Case {
        const char* what;
        std::string bytes;
        bool opens;
        const char* message;
    } cases[] = {
        {"a block header below 7 bytes", RarMarker + RarArchiveHeader() + Le16(0) + "\x74" + Le16(0) + Le16(3), false,
         "Error in RAR header"},
        {"a file header above 8192 bytes",
         RarMarker + RarArchiveHeader() + Le16(0) + "\x74" + Le16(0x8000) + Le16(9000) + std::string(9000, 'z'), false,
         "Error in RAR header"},
        {"RAR 5", std::string("Rar!\x1A\x07\x01\x00", 8) + std::string(40, '\0'), false, nullptr},
        {"no archive header after the marker", RarMarker + RarFile("a", 0, 0, 0, 0, 0), false, nullptr},
        {"a name size beyond its header",
         RarMarker + RarArchiveHeader() + Le16(0) + "\x74" + Le16(0x8000) + Le16(36) + Le32(0) + Le32(0) +
             std::string(1, '\0') + Le32(0) + DosStamp + "\x14\x30" + Le16(60000) + Le32(0) + "name",
         true, nullptr},
        {"a self-extractor",
         "MZ" + std::string(500, '\x90') + RarMarker + RarArchiveHeader() + RarFile("s", 0, 0, 0, 0, 0), true, nullptr},
    };
    for (const Case& c : cases) {
        qvtest::ArchiveMessages messages;
        qvtest::ByteArchive file(c.bytes, "x.rar");
        EXPECT_EQ(c.opens, file.archive->status == 0) << c.what;
        EXPECT_EQ(c.message ? 1u : 0u, messages.texts.size()) << c.what;
        if (c.message && !messages.texts.empty()) {
            EXPECT_EQ(0u, messages.texts[0].rfind(c.message, 0)) << c.what;
        }
        if (c.opens) {
            EXPECT_EQ(1, file.archive->entries.Count()) << c.what;
        }
    }
}

TEST(RarReader, UnicodeNameStaysInsideItsField) {
    struct Case {
        std::string field;
        std::u32string name;
    } cases[] = {
        {"plain \xE2\x98\xBA", U"plain \u263A"},      // no zero: UTF-8
        {std::string("abc\0\0\xC0\x05", 7), U"abc"},  // copy 5+2 from the 8-bit name, cut at its end
        {std::string("ab\0\x01\xFF", 5), U""},        // codes with no data left
        {std::string("ab\0\x01\xC0\x80", 6), U""},    // a correction byte missing
        {std::string("xyz\0\x04\xC0\x81\x01", 8), U"\u0479\u047A\u047B"},  // corrected copy with the high byte
    };
    for (const Case& c : cases) {
        Westring name =
            DecodeRarUnicodeName(reinterpret_cast<const unsigned char*>(c.field.data()), int(c.field.size()));
        EXPECT_EQ(std::u32string(name.Data()), c.name) << c.field;
    }
}

// LHA ------------------------------------------------------------------

std::string LhaHeader(const std::string& name, uint32_t packed, uint32_t unpacked, int level,
                      const std::string& data = "") {
    std::string rest = std::string("-lh5-", 5) + Le32(packed) + Le32(unpacked) + DosStamp + "\x20" +
                       std::string(1, char(level)) + std::string(1, char(name.size())) + name;
    // The size counts from the method to the header's CRC, which ends it.
    return std::string(1, char(rest.size() + 2)) + std::string(1, '\0') + rest + std::string(2, '\0') + data;
}

TEST(LhaReader, ListsMembersAndLeavesExtendedAttributesOut) {
    std::string bytes = LhaHeader("dir\\a.txt", 3, 9, 0, "aaa") + LhaHeader("dir/sub/", 0, 0, 1) +
                        LhaHeader("EAS\\ea.dat", 1, 1, 0, "e") + LhaHeader("Apply-Ea.Cmd", 0, 0, 0) +
                        std::string(1, '\0');
    qvtest::ByteArchive file(bytes, "x.lzh");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ(2, file.archive->archiverIndex);
    EXPECT_EQ((std::vector<std::string>{"dir|a.txt|9|3|" + T + "|0|0|-", "dir\\sub||0|0|" + T + "|16|0|-"}),
              qvtest::EntryRows(file.archive));
}

TEST(LhaReader, OtherLevelsEndTheListingAndSelfExtractorsOpen) {
    std::string level2 = LhaHeader("later", 0, 0, 2);
    qvtest::ByteArchive stops(LhaHeader("first", 0, 0, 0) + level2, "x.lzh");
    ASSERT_EQ(0, stops.archive->status);
    EXPECT_EQ((std::vector<std::string>{"|first|0|0|" + T + "|0|0|-"}), qvtest::EntryRows(stops.archive));

    qvtest::ByteArchive sfx("MZ" + std::string(300, '-') + LhaHeader("s", 0, 0, 0), "x.exe");
    ASSERT_EQ(0, sfx.archive->status);
    EXPECT_EQ(2, sfx.archive->archiverIndex);
    EXPECT_EQ(1, sfx.archive->entries.Count());

    // A name length beyond the header is held to the header.
    std::string bad = LhaHeader("abc", 0, 0, 0);
    bad[21] = char(200);
    qvtest::ByteArchive bounded(bad, "x.lzh");
    ASSERT_EQ(0, bounded.archive->status);
    EXPECT_EQ((std::vector<std::string>{"|abc|0|0|" + T + "|0|0|-"}), qvtest::EntryRows(bounded.archive));
}

// ARJ ------------------------------------------------------------------

std::string ArjHeader(int type, const std::string& name, uint32_t packed, uint32_t unpacked,
                      const std::string& data = "") {
    std::string basic = std::string(1, char(30)) + std::string("\x0B\x01\x00\x00\x01", 5) + std::string(1, char(type)) +
                        std::string(1, '\0') + DosStamp + Le32(packed) + Le32(unpacked) + std::string(10, '\0') + name +
                        std::string(2, '\0');
    return "\x60\xEA" + Le16(unsigned(basic.size())) + basic + Le32(0) + Le16(0) + data;
}

TEST(ArjReader, ListsFilesAndDirectoriesAfterTheMainHeader) {
    std::string bytes = ArjHeader(2, "x.arj", 0, 0) + ArjHeader(0, "d/f.txt", 2, 5, "ff") + ArjHeader(3, "d/e", 0, 0) +
                        "\x60\xEA" + Le16(0);
    qvtest::ByteArchive file(bytes, "x.arj");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ(3, file.archive->archiverIndex);
    EXPECT_EQ((std::vector<std::string>{"d|f.txt|5|2|" + T + "|0|0|-", "d\\e||0|0|" + T + "|16|0|-"}),
              qvtest::EntryRows(file.archive));

    qvtest::ByteArchive onlyMain(ArjHeader(2, "x.arj", 0, 0) + "\x60\xEA" + Le16(0), "m.arj");
    EXPECT_NE(0, onlyMain.archive->status);

    qvtest::ByteArchive sfx("MZ" + std::string(700, '\x60') + bytes, "s.exe");
    ASSERT_EQ(0, sfx.archive->status);
    EXPECT_EQ(2, sfx.archive->entries.Count());
}

// The 30-byte fixed part of a member's basic header; its first byte is the
// offset of the name, 30 unless told otherwise.
std::string ArjFixed(int nameOffset = 30) {
    return std::string(1, char(nameOffset)) + std::string("\x0B\x01\x00\x00\x01", 5) + std::string(2, '\0') +
           DosStamp + Le32(0) + Le32(0) + std::string(10, '\0');
}

// A basic header as given, nothing added: its CRC field and the extended
// header's size follow.
std::string ArjRawHeader(const std::string& basic, const std::string& after = Le32(0) + Le16(0)) {
    return "\x60\xEA" + Le16(unsigned(basic.size())) + basic + after;
}

TEST(ArjReader, ANameRunningPastItsHeaderIsCutAtTheHeadersEnd) {
    // A first member with a long name, so that the buffer the next member's
    // header is read into holds other bytes beyond that shorter header.
    const std::string keptName = "kept" + std::string(100, 'k');
    const std::string head = ArjHeader(2, "x.arj", 0, 0) + ArjHeader(0, keptName, 0, 0);
    const std::string kept = "|" + keptName + "|0|0|" + T + "|0|0|-";
    const std::string end = "\x60\xEA" + Le16(0);
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> rows;  // none: not taken as ARJ
    } cases[] = {
        {"a name without its terminating zero, CRC bytes that look like a name after it",
         head + ArjRawHeader(ArjFixed() + "abc", "WXYZ" + Le16(0)) + end, {"|abc|0|0|" + T + "|0|0|-", kept}},
        {"a name without its terminating zero in the file's last member", head + ArjRawHeader(ArjFixed() + "last"),
         {kept, "|last|0|0|" + T + "|0|0|-"}},
        {"a name offset at the header's end", head + ArjRawHeader(ArjFixed()) + end, {kept}},
        {"a name offset past the header's end", head + ArjRawHeader(ArjFixed(40) + "xy") + end, {kept}},
        {"a name offset inside the fixed fields", head + ArjRawHeader(ArjFixed(12) + "zz") + end, {kept}},
        {"a basic header larger than the reader's buffer",
         head + ArjRawHeader(ArjFixed() + std::string(8200, 'q')) + end, {kept}},
        {"a basic header running past the end of the file", head + "\x60\xEA" + Le16(500) + ArjFixed() + "cut",
         {kept}},
        {"the only member's name offset past its header",
         ArjHeader(2, "x.arj", 0, 0) + ArjRawHeader(ArjFixed(40) + "xy") + end, {}},
    };
    for (const Case& c : cases) {
        qvtest::ByteArchive file(c.bytes, "h.arj");
        if (c.rows.empty()) {
            EXPECT_NE(0, file.archive->status) << c.what;
            continue;
        }
        ASSERT_EQ(0, file.archive->status) << c.what;
        EXPECT_EQ(3, file.archive->archiverIndex) << c.what;
        EXPECT_EQ(c.rows, qvtest::EntryRows(file.archive)) << c.what;
    }
}

TEST(ArjReader, ListsWhatArjStored) {
    QV_NEED_TOOL("arj");
    qvtest::ToolFolder folder;
    folder.MakeTree();
    ASSERT_TRUE(folder.Run("arj a -r x.arj '*'"));
    CArchive* archive = qvtest::OpenTestArchive(folder.PathOf("x.arj"));
    ASSERT_EQ(0, archive->status);
    EXPECT_EQ(3, archive->archiverIndex);
    std::vector<std::string> rows = qvtest::EntryRows(archive);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(0u, rows[0].rfind("|a.txt|10|", 0)) << rows[0];
    EXPECT_EQ(0u, rows[1].rfind("a|x|2|", 0)) << rows[1];
    EXPECT_EQ(0u, rows[2].rfind("a b|y|3|", 0)) << rows[2];
    EXPECT_NE(std::string::npos, rows[0].find("|" + T + "|")) << rows[0] << rows[1] << rows[2];
    delete archive;
}

// ACE ------------------------------------------------------------------

std::string AceHeader(int type, const std::string& body, uint32_t packed = 0, const std::string& data = "") {
    std::string rest = std::string(1, char(type)) + Le16(0) + (type == 1 ? Le32(packed) : std::string()) + body;
    return Le16(0) + Le16(unsigned(rest.size())) + rest + data;
}

std::string AceFile(const std::string& name, uint32_t packed, uint32_t unpacked, uint16_t attributes,
                    const std::string& data = "") {
    return AceHeader(
        1, Le32(unpacked) + DosStamp + Le32(attributes) + std::string(10, '\0') + Le16(unsigned(name.size())) + name,
        packed, data);
}

TEST(AceReader, ListsFilesAndDirectories) {
    std::string main = AceHeader(0, "**ACE**" + std::string(10, '\0'));
    std::string bytes =
        main + AceFile("d\\f.txt", 3, 8, 0x20, "fff") + AceHeader(5, "other") + AceFile("d/sub", 0, 0, 0x10);
    qvtest::ByteArchive file(bytes, "x.ace");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ(4, file.archive->archiverIndex);
    EXPECT_EQ((std::vector<std::string>{"d|f.txt|8|3|" + T + "|32|0|-", "d\\sub||0|0|" + T + "|16|0|-"}),
              qvtest::EntryRows(file.archive));

    qvtest::ByteArchive sfx("MZ" + std::string(100, '*') + bytes, "s.exe");
    ASSERT_EQ(0, sfx.archive->status);
    EXPECT_EQ(2, sfx.archive->entries.Count());

    // A name size beyond the header is held to the header.
    std::string longName = main + AceFile("abc", 0, 0, 0);
    longName[longName.size() - 5] = char(0xFF);
    qvtest::ByteArchive bounded(longName, "b.ace");
    ASSERT_EQ(0, bounded.archive->status);
    ASSERT_EQ(1, bounded.archive->entries.Count());
    EXPECT_EQ(0, Str32Compare(bounded.archive->entries.At(0)->name, U"abc"));
}

// HA -------------------------------------------------------------------

std::string HaMember(int method, const std::string& path, const std::string& name, uint32_t packed, uint32_t unpacked,
                     const std::string& data = "") {
    return std::string(1, char(0x20 | method)) + Le32(packed) + Le32(unpacked) + Le32(0) + DosStamp + path +
           std::string(1, '\0') + name + std::string(1, '\0') + "\x02" + "ux" + data;
}

TEST(HaReader, ListsPathsWithTheirOwnSeparator) {
    std::string bytes = "HA" + Le16(3) +
                        HaMember(2,
                                 "a\xFF"
                                 "b\xFF",
                                 "c", 2, 4, "cc") +
                        HaMember(14, "a", "d", 0, 0) + HaMember(14, "a", "d", 0, 0);
    qvtest::ByteArchive file(bytes, "x.ha");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ(5, file.archive->archiverIndex);
    EXPECT_EQ((std::vector<std::string>{"a\\b|c|4|2|" + T + "|0|0|-", "a\\d||0|0|" + T + "|16|0|-",
                                        "a\\d||0|0|" + T + "|16|0|-"}),
              qvtest::EntryRows(file.archive));
    entry* item = nullptr;
    std::vector<std::string> names;
    for (DWORD r = ArchiveFindFirst(file.archive, Westring("a"), &item); r == 0;
         r = ArchiveFindNext(file.archive, &item)) {
        Estring name;
        Westring(item->name).ToUtf8(name);
        names.push_back(name.Data());
        entry::Free(item);
    }
    EXPECT_EQ((std::vector<std::string>{"..", "b", "d"}), names);
}

TEST(HaReader, OpensOnlyWithAMemberOrAsAnEmptyArchive) {
    struct Case {
        const char* what;
        std::string bytes;
        bool opens;
    } cases[] = {
        {"an empty archive", "HA" + Le16(0), true},
        {"text beginning with HA", "HA, this is text \n with lines\n", false},
        {"a member whose data runs past the end", "HA" + Le16(1) + HaMember(0, "", "f", 1000, 1000, "short"), false},
        {"a version of 3", "HA" + Le16(1) + std::string(1, '\x30') + std::string(30, '\0'), false},
    };
    for (const Case& c : cases) {
        qvtest::ByteArchive file(c.bytes, "h.ha");
        EXPECT_EQ(c.opens, file.archive->status == 0 && file.archive->archiverIndex == 5) << c.what;
    }
}

}  // namespace
