#include "base/io/StreamReadBase.h"

#include "tests/base/io/MemoryStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qvtest::CMemoryStreamRead;

namespace {

std::vector<std::string> ReadLines(IStreamRead& stream) {
    std::vector<std::string> lines;
    Estring line("leftover");
    while (stream.ReadLine(line))
        lines.push_back(line.Data());
    EXPECT_STREQ(line.Data(), "") << "the last call leaves an empty line";
    return lines;
}

TEST(StreamReadTest, ReadLineSplitsAtLineFeeds) {
    const std::string longLine(10000, 'x');
    const struct {
        std::string input;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"\r", {""}},
        {"", {}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\rb\n", {"ab"}},
        {std::string("x\0y\nz", 5), {"x", "z"}},  // a NUL ends the text
        {longLine + "\n" + longLine, {longLine, longLine}},
    };
    for (const auto& c : cases) {
        for (bool emptyReads : {false, true}) {
            CMemoryStreamRead stream(c.input);
            // Successful reads of nothing must not end a line or the stream.
            stream.emptyReads = emptyReads;
            EXPECT_EQ(ReadLines(stream), c.lines) << c.input.substr(0, 20) << " empty reads " << emptyReads;
            EXPECT_EQ(stream.GetError()->category, TStreamError::kNone);
        }
    }
}

TEST(StreamReadTest, ReadLineStopsAtAFailure) {
    CMemoryStreamRead stream("abc\ndef\nghi\n");
    stream.failAt = 6;
    Estring line;
    ASSERT_TRUE(stream.ReadLine(line));
    EXPECT_STREQ(line.Data(), "abc");
    // The part read before the failure comes back; the failure shows in the
    // record and at the next call.
    ASSERT_TRUE(stream.ReadLine(line));
    EXPECT_STREQ(line.Data(), "de");
    EXPECT_EQ(stream.GetError()->category, TStreamError::kSystem);
    EXPECT_FALSE(stream.ReadLine(line));
}

TEST(StreamReadTest, NothingAskedReadsNothing) {
    CMemoryStreamRead stream("abc");
    char buffer[4];
    EXPECT_TRUE(stream.ReadExact(buffer, 0));
    EXPECT_TRUE(stream.ReadExact(buffer, -5));
    EXPECT_TRUE(stream.Skip(0));
    EXPECT_TRUE(stream.Skip(-1));
    EXPECT_TRUE(stream.asked.empty());
}

TEST(StreamReadTest, SkipReadsInChunksOf4096) {
    CMemoryStreamRead stream(std::string(10001, 's'));
    EXPECT_TRUE(stream.Skip(10000));
    EXPECT_EQ(stream.asked, (std::vector<uint32_t>{4096, 4096, 1808}));
    char last;
    EXPECT_TRUE(stream.ReadExact(&last, 1));
    EXPECT_FALSE(stream.Skip(1));
    EXPECT_EQ(stream.GetError()->category, TStreamError::kNone);  // a plain end
}

TEST(StreamReadTest, SkipAndReadExactAcrossShortReads) {
    std::string data;
    for (int i = 0; i < 300; i++)
        data += static_cast<char>(i);
    CMemoryStreamRead stream(data, 7);
    stream.emptyReads = true;
    ASSERT_TRUE(stream.Skip(100));
    char buffer[150];
    ASSERT_TRUE(stream.ReadExact(buffer, 150));
    EXPECT_EQ(std::string(buffer, 150), data.substr(100, 150));
    EXPECT_FALSE(stream.ReadExact(buffer, 51));  // only 50 left
    EXPECT_EQ(stream.GetError()->category, TStreamError::kNone);
}

TEST(StreamReadTest, FailureLeavesTheSourcesRecord) {
    CMemoryStreamRead stream(std::string(100, 'f'));
    stream.failAt = 40;
    char buffer[100];
    EXPECT_FALSE(stream.ReadExact(buffer, 50));
    EXPECT_EQ(stream.GetError()->category, TStreamError::kSystem);
    EXPECT_EQ(stream.GetError()->code, 23);
    EXPECT_STREQ(stream.GetError()->text.Data(), "Data error (23)");
}

TEST(StreamReadTest, NewRecordIsEmpty) {
    TStreamError error;
    EXPECT_EQ(error.category, TStreamError::kNone);
    EXPECT_TRUE(error.text.IsEmpty());
}

}  // namespace
