#include "base/io/RandomFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/io/RandomFileStreamRead.h"
#include "tests/base/os/OsTestSupport.h"

using qvtest::PathIn;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

const int Block = CRandomFile::BlockSize;

// Bytes that differ from block to block and within a block, so that a byte
// served from the wrong block or offset shows.
std::string Pattern(int64_t size, int salt = 0) {
    std::string bytes(size_t(size), '\0');
    for (int64_t i = 0; i < size; i++)
        bytes[size_t(i)] = char((i * 7 + i / Block * 13 + salt) & 0xFF);
    return bytes;
}

// Writes bytes into an existing file at an offset while others have it open.
void Patch(const qvtest::WString& path, int64_t offset, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER at;
    at.QuadPart = offset;
    ASSERT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr));
    ASSERT_EQ(bytes.size(), written);
    CloseHandle(file);
}

class RandomFileTest : public ::testing::Test {
protected:
    Westring Make(const char* name, const std::string& bytes) {
        EXPECT_TRUE(WriteFileBytes(dir.Join(W(name)), bytes));
        return PathIn(dir, name);
    }
    qvtest::TempDir dir;
};

TEST_F(RandomFileTest, ByteAtServesEveryByteAndNothingPastTheEnd) {
    const int64_t size = 3 * Block + Block / 2;
    std::string bytes = Pattern(size);
    CRandomFile file(Make("data.bin", bytes), StdFile::ShareReadWrite);
    ASSERT_EQ(0u, file.OpenError());
    EXPECT_EQ(size, file.KnownSize());

    EXPECT_EQ(uint32_t((unsigned char)bytes[size - 1]), file.ByteAt(size - 1));
    for (int64_t offset : {size, size + 1, size + Block, int64_t(-1), INT64_MIN})
        EXPECT_EQ(CRandomFile::NoByte, file.ByteAt(offset)) << offset;

    // Backwards from the end, then forwards: each byte right across every
    // block boundary.
    for (int64_t i = size - 1; i >= 0; i--)
        ASSERT_EQ(uint32_t((unsigned char)bytes[size_t(i)]), file.ByteAt(i)) << i;
    for (int64_t i = 0; i < size; i++)
        ASSERT_EQ(uint32_t((unsigned char)bytes[size_t(i)]), file.ByteAt(i)) << i;

    file.Close();
    EXPECT_EQ(CRandomFile::NoByte, file.ByteAt(0));
}

TEST_F(RandomFileTest, TheLeastRecentlyUsedOfFiveBlocksIsReadAgain) {
    std::string bytes = Pattern(6 * Block);
    Westring path = Make("lru.bin", bytes);
    CRandomFile file(path, StdFile::ShareReadWrite);
    for (int b = 0; b < 4; b++)
        file.ByteAt(int64_t(b) * Block);

    // Four blocks are cached: a change on disk is not seen in them.
    Patch(dir.Join(W("lru.bin")), 0, "Q");
    EXPECT_EQ(uint32_t((unsigned char)bytes[0]), file.ByteAt(0));

    // Touching 1 to 4 leaves block 0 the oldest; the fifth block evicts it.
    for (int b = 1; b <= 4; b++)
        file.ByteAt(int64_t(b) * Block);
    EXPECT_EQ(uint32_t('Q'), file.ByteAt(0));
}

TEST_F(RandomFileTest, AGrowingFileIsFollowedOnlyWithTheGrowingFlag) {
    std::string bytes = Pattern(100);
    Westring path = Make("grow.bin", bytes);
    CRandomFile file(path, StdFile::ShareReadWrite);
    EXPECT_EQ(uint32_t((unsigned char)bytes[99]), file.ByteAt(99));

    Patch(dir.Join(W("grow.bin")), 100, std::string(100, 'g'));
    EXPECT_EQ(CRandomFile::NoByte, file.ByteAt(150));
    EXPECT_EQ(100, file.KnownSize());

    file.SetGrowing(true);
    EXPECT_EQ(uint32_t('g'), file.ByteAt(150));
    EXPECT_EQ(200, file.KnownSize());
    EXPECT_EQ(CRandomFile::NoByte, file.ByteAt(200));

    // A new Open clears the flag.
    ASSERT_EQ(0u, file.Open(path, StdFile::ModeRead));
    EXPECT_FALSE(file.IsGrowing());
}

TEST_F(RandomFileTest, ReadAndReadAtReportTheEndOfTheFile) {
    CRandomFile file(Make("four.bin", "wxyz"), StdFile::ShareReadWrite);
    char buffer[16];
    uint32_t count = 10;
    EXPECT_EQ(0u, file.ReadAt(1, buffer, count));
    EXPECT_EQ(3u, count);
    EXPECT_EQ(0, memcmp(buffer, "xyz", 3));
    count = 10;
    EXPECT_EQ(StdFile::EndOfFile, file.ReadAt(4, buffer, count));
    EXPECT_EQ(0u, count);

    // Sequential reads: a short read with a count, then the end.
    uint32_t got = 0;
    EXPECT_EQ(0u, file.Read(buffer, 10, &got));
    EXPECT_EQ(4u, got);
    EXPECT_EQ(4, file.Position());
    EXPECT_EQ(StdFile::EndOfFile, file.Read(buffer, 10, &got));
    EXPECT_EQ(0u, got);

    // Without a count a short read cannot pass for a full one.
    file.SetPosition(2);
    EXPECT_NE(0u, file.Read(buffer, 10));
    file.SetPosition(0);
    EXPECT_EQ(0u, file.Read(buffer, 4));
}

TEST_F(RandomFileTest, ReadLineSplitsAtLineFeedAndNul) {
    static const char text[] = "ab\r\ncd\n\nx\0y\r\r\nlast";
    CRandomFile file(Make("lines.txt", std::string(text, sizeof text - 1)), StdFile::ShareReadWrite);
    const char* expected[] = {"ab", "cd", "", "x", "y", "last"};
    char line[64];
    for (const char* want : expected) {
        ASSERT_EQ(0u, file.ReadLine(line, sizeof line));
        EXPECT_STREQ(want, line);
    }
    EXPECT_EQ(StdFile::EndOfFile, file.ReadLine(line, sizeof line));
    EXPECT_STREQ("", line);

    // A small buffer takes n - 1 bytes and leaves the rest for the next call.
    file.SetPosition(0);
    ASSERT_EQ(0u, file.ReadLine(line, 2));
    EXPECT_STREQ("a", line);
    ASSERT_EQ(0u, file.ReadLine(line, 1));
    EXPECT_STREQ("", line);
}

TEST_F(RandomFileTest, StreamFormReadsInChunksAndReportsTheEnd) {
    CRandomFile file(Make("ten.bin", "0123456789"), StdFile::ShareReadWrite);
    CRandomFileStreamRead stream(&file);
    char buffer[8];
    uint32_t count = 8;
    ASSERT_TRUE(stream.Read(buffer, &count));
    EXPECT_EQ(8u, count);
    count = 8;
    ASSERT_TRUE(stream.Read(buffer, &count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ(0, memcmp(buffer, "89", 2));
    count = 8;
    EXPECT_FALSE(stream.Read(buffer, &count));
    EXPECT_EQ(TStreamError::kNone, stream.GetError()->category);

    file.SetPosition(0);
    char exact[4];
    ASSERT_TRUE(stream.ReadExact(exact, 4));
    EXPECT_EQ(0, memcmp(exact, "0123", 4));
    EXPECT_TRUE(stream.Skip(6));  // to the end exactly
    EXPECT_FALSE(stream.Skip(1));
    EXPECT_EQ(11, file.Position());
    EXPECT_EQ(TStreamError::kSystem, stream.GetError()->category);
    EXPECT_NE(0, stream.GetError()->code);
}

TEST_F(RandomFileTest, OpenFailureIsKeptAndLeavesNothingReadable) {
    CRandomFile file(PathIn(dir, "missing.bin"), StdFile::ShareReadWrite);
    EXPECT_EQ(uint32_t(ERROR_FILE_NOT_FOUND), file.OpenError());
    EXPECT_EQ(CRandomFile::NoByte, file.ByteAt(0));
}

// The owner reads in both directions and jumps about while the read-ahead
// thread fills its buffer; several files do so on threads of their own, and
// reopen their files in between. Every byte must be right. This is the test
// to run under ThreadSanitizer.
TEST_F(RandomFileTest, ReadAheadServesOwnersOnManyThreads) {
    const int64_t size = 12 * Block + 123;
    const int readers = 4;
    std::vector<std::string> contents;
    std::vector<Westring> paths;
    for (int r = 0; r < readers; r++) {
        contents.push_back(Pattern(size, r * 31));
        std::string name = "ahead" + std::to_string(r) + ".bin";
        paths.push_back(Make(name.c_str(), contents.back()));
    }

    std::vector<int> failures(readers, 0);
    std::vector<std::thread> threads;
    for (int r = 0; r < readers; r++) {
        threads.emplace_back([&, r] {
            const std::string& bytes = contents[size_t(r)];
            auto check = [&](CRandomFile& file, int64_t i) {
                if (file.ByteAt(i) != uint32_t((unsigned char)bytes[size_t(i)]))
                    failures[size_t(r)]++;
            };
            CRandomFile file;
            for (int round = 0; round < 3; round++) {
                if (file.Open(paths[size_t(r)], StdFile::ModeRead) != 0) {
                    failures[size_t(r)]++;
                    return;
                }
                for (int64_t i = 0; i < size; i += 97)
                    check(file, i);
                for (int64_t i = size - 1; i >= 0; i -= 89)
                    check(file, i);
                for (int64_t i = 0; i < 200; i++)
                    check(file, (i * 7919 * 61) % size);
                // Reads past the cache share the file with the read-ahead thread.
                char chunk[100];
                uint32_t count = sizeof chunk;
                if (file.ReadAt(5 * Block - 50, chunk, count) != 0 || count != sizeof chunk ||
                    memcmp(chunk, bytes.data() + 5 * Block - 50, sizeof chunk) != 0)
                    failures[size_t(r)]++;
                if (round == 1)
                    file.Close();
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int r = 0; r < readers; r++)
        EXPECT_EQ(0, failures[size_t(r)]) << "reader " << r;
}

}  // namespace
