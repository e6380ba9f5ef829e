// The 7z reader over archives made by Debian's 7z: packed and plain header
// databases, directories, totals, and what is not taken as 7z.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/os/FileTimes.h"
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


// Byte-built archives ----------------------------------------------------

using qvtest::Le32;
using qvtest::Le64;

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// The database's variable-length number: as many leading one bits in the
// first byte as bytes follow, the rest of the first byte the high part.
std::string Number(uint64_t v) {
    for (int n = 0; n < 8; n++) {
        if (v < (uint64_t(1) << (7 * (n + 1)))) {
            std::string out(1, char((0xFF00u >> n & 0xFF) | (v >> (8 * n))));
            for (int i = 0; i < n; i++)
                out += char(v >> (8 * i) & 0xFF);
            return out;
        }
    }
    return "\xFF" + Le64(v);
}

// A property of the files: its id, its size, its bytes.
std::string Property(int id, const std::string& body) {
    return std::string(1, char(id)) + Number(body.size()) + body;
}

// Bits as the database packs them, the first in the top bit.
std::string Bits(const std::vector<bool>& bits) {
    std::string out((bits.size() + 7) / 8, '\0');
    for (size_t i = 0; i < bits.size(); i++)
        if (bits[i])
            out[i / 8] = char(out[i / 8] | (0x80 >> (i % 8)));
    return out;
}

struct SevenZipMember {
    std::u16string name;  // with '/' between its folders
    bool directory = false;
    bool hasTime = true;
};

// A member's stored time: TreeSeconds as a Windows file time.
const uint64_t TreeFileTime = (uint64_t(qvtest::TreeSeconds) + 11644473600ull) * 10000000ull;

// A plain header database of members without data: every member an empty
// stream, the files among them empty files; times only where the member
// has one, and no time property at all when none has.
std::string PlainHeader(const std::vector<SevenZipMember>& members) {
    std::vector<bool> emptyStream;
    std::vector<bool> emptyFile;
    std::vector<bool> timed;
    std::string names(1, '\0');
    std::string times;
    bool anyTime = false;
    for (const SevenZipMember& m : members) {
        emptyStream.push_back(true);
        emptyFile.push_back(!m.directory);
        timed.push_back(m.hasTime);
        anyTime = anyTime || m.hasTime;
        for (char16_t unit : m.name)
            names += qvtest::Le16(unit);
        names += std::string(2, '\0');
        if (m.hasTime)
            times += Le64(TreeFileTime);
    }
    std::string files = "\x05" + Number(members.size()) + Property(0x0E, Bits(emptyStream)) +
                        Property(0x0F, Bits(emptyFile)) + Property(0x11, names);
    if (anyTime)
        files += Property(0x14, std::string(1, '\0') + Bits(timed) + std::string(1, '\0') + times);
    return "\x01" + files + std::string(2, '\0');
}

// A header database packed with the plain copy coder: the stream of
// `packedSize` bytes at `packPosition` after the signature header unpacks
// to `unpackSize` bytes.
std::string CopiedHeader(uint64_t packPosition, uint64_t packedSize, uint64_t unpackSize) {
    return "\x17\x06" + Number(packPosition) + Number(1) + "\x09" + Number(packedSize) + std::string(1, '\0') +
           "\x07\x0B" + Number(1) + std::string(1, '\0') + "\x01\x01" + std::string(1, '\0') + "\x0C" +
           Number(unpackSize) + std::string(2, '\0');
}

// The signature header pointing at the next header (CRCs right), then the
// bytes that follow it.
std::string SevenZipFile(uint64_t nextOffset, uint64_t nextSize, const std::string& nextHeader,
                         const std::string& after) {
    std::string start = Le64(nextOffset) + Le64(nextSize) + Le32(Crc32(nextHeader));
    return std::string("7z\xBC\xAF\x27\x1C\x00\x04", 8) + Le32(Crc32(start)) + start + after;
}

// The archive with its database where the signature header says.
std::string PlainArchive(const std::vector<SevenZipMember>& members) {
    std::string header = PlainHeader(members);
    return SevenZipFile(0, header.size(), header, header);
}

// A file of bytes with a chosen last-write time, opened as an archive.
class StampedArchive {
public:
    StampedArchive(const std::string& bytes, uint32_t seconds) {
        qvtest::WString file = folder.Join(qvtest::W("t.7z"));
        EXPECT_TRUE(qvtest::WriteFileBytes(file, bytes));
        path = Westring(file.c_str());
        EXPECT_EQ(0u, SetFileModifyTime(path, TTimestamp(seconds, 0)));
        archive = qvtest::OpenTestArchive(path);
    }
    ~StampedArchive() { delete archive; }
    StampedArchive(const StampedArchive&) = delete;
    StampedArchive& operator=(const StampedArchive&) = delete;

    qvtest::TempDir folder;
    Westring path;
    CArchive* archive;
};

TEST(SevenZipReader, AMemberWithoutAStoredTimeTakesTheArchiveFilesTime) {
    const uint32_t fileSeconds = 1500000000;  // 2017-07-14, the archive file's own time
    const std::string F = std::to_string(fileSeconds);
    struct Case {
        const char* what;
        std::vector<SevenZipMember> members;
        std::vector<std::string> rows;
    } cases[] = {
        {"some members timed",
         {{u"d", true, false}, {u"d/timed", false, true}, {u"untimed", false, false}},
         {"|untimed|0|" + Unknown + "|" + F + "|0|0|-", "d||0|" + Unknown + "|" + F + "|16|0|-",
          "d|timed|0|" + Unknown + "|" + T + "|0|0|-"}},
        {"no time property at all",
         {{u"one", false, false}, {u"two", false, false}},
         {"|one|0|" + Unknown + "|" + F + "|0|0|-", "|two|0|" + Unknown + "|" + F + "|0|0|-"}},
        {"every member timed",
         {{u"one", false, true}},
         {"|one|0|" + Unknown + "|" + T + "|0|0|-"}},
    };
    for (const Case& c : cases) {
        StampedArchive file(PlainArchive(c.members), fileSeconds);
        ASSERT_EQ(0, file.archive->status) << c.what;
        EXPECT_EQ(8, file.archive->archiverIndex) << c.what;
        EXPECT_EQ(c.rows, qvtest::EntryRows(file.archive)) << c.what;
    }
}

TEST(SevenZipReader, NamesOfGreatLengthAreReadWhole) {
    // Longer than any path buffer of the system, and ending in a unit
    // beyond ASCII so that a cut anywhere shows.
    const std::string longName = std::string(5000, 'n') + "\xC3\xA9";
    const std::u16string longName16 = std::u16string(5000, u'n') + u"\u00E9";
    const std::string longFolder(3000, 'f');
    const std::u16string longFolder16(3000, u'f');
    qvtest::ByteArchive file(PlainArchive({{longName16, false, true},
                                           {longFolder16, true, true},
                                           {longFolder16 + u"/" + longFolder16 + u"/x", false, true}}),
                             "long.7z");
    ASSERT_EQ(0, file.archive->status);
    EXPECT_EQ((std::vector<std::string>{
                  "|" + longName + "|0|" + Unknown + "|" + T + "|0|0|-",
                  longFolder + "||0|" + Unknown + "|" + T + "|16|0|-",
                  longFolder + "\\" + longFolder + "|x|0|" + Unknown + "|" + T + "|0|0|-",
              }),
              qvtest::EntryRows(file.archive));
    // A listing of the root gives the whole name too.
    entry* item = nullptr;
    std::vector<std::string> names;
    for (DWORD r = ArchiveFindFirst(file.archive, Westring(), &item); r == 0;
         r = ArchiveFindNext(file.archive, &item)) {
        Estring name;
        Westring(item->name).ToUtf8(name);
        names.push_back(name.Data());
        entry::Free(item);
    }
    EXPECT_EQ((std::vector<std::string>{"..", longName, longFolder}), names);
}

TEST(SevenZipReader, PositionsBeyondTheFileAreRefused) {
    const std::vector<SevenZipMember> members = {{u"a.txt", false, true}};
    const std::string plain = PlainHeader(members);
    const uint64_t n = plain.size();
    // The plain database as the packed stream right after the signature
    // header, and the header that unpacks it after that.
    auto packed = [&](uint64_t position, uint64_t size) {
        std::string next = CopiedHeader(position, size, n);
        return SevenZipFile(n, next.size(), next, plain + next);
    };
    const uint64_t huge = uint64_t(1) << 40;
    // The packed stream over itself and its header, one byte more (every
    // number below 128, so the header's length does not change with it).
    const uint64_t pastEnd = CopiedHeader(0, 127, n).size() + 1;
    const uint64_t wraps = UINT64_MAX - 15;  // 32 more lands at 16
    struct Case {
        const char* what;
        std::string bytes;
        bool opens;
    } cases[] = {
        {"the plain database where it is", PlainArchive(members), true},
        {"the packed database where it is", packed(0, n), true},
        {"next header one byte short of the end", SevenZipFile(0, n + 1, plain, plain), false},
        {"next header starting one byte late", SevenZipFile(1, n, plain, plain), false},
        {"next header offset far past the end", SevenZipFile(huge, n, plain, plain), false},
        {"next header offset wrapping past 2^64", SevenZipFile(wraps, n, plain, plain), false},
        {"next header size far past the end", SevenZipFile(0, huge, plain, plain), false},
        {"next header size wrapping with the offset", SevenZipFile(8, UINT64_MAX - 7, plain, plain), false},
        {"packed stream starting past the end", packed(huge, n), false},
        {"packed stream position wrapping past 2^64", packed(wraps, n), false},
        {"packed stream size past the end", packed(0, huge), false},
        {"packed stream running one byte past the end", packed(0, n + pastEnd), false},
    };
    for (const Case& c : cases) {
        qvtest::ArchiveMessages messages;
        qvtest::ByteArchive file(c.bytes, "p.7z");
        if (c.opens) {
            ASSERT_EQ(0, file.archive->status) << c.what;
            EXPECT_EQ(8, file.archive->archiverIndex) << c.what;
            EXPECT_EQ((std::vector<std::string>{"|a.txt|0|" + Unknown + "|" + T + "|0|0|-"}),
                      qvtest::EntryRows(file.archive))
                << c.what;
        } else {
            EXPECT_NE(0, file.archive->status) << c.what;
            EXPECT_TRUE(messages.texts.empty()) << c.what << ": " << messages.texts[0];
        }
    }
}

}  // namespace
