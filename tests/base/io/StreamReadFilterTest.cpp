#include "base/io/StreamReadFilterBZip2.h"
#include "base/io/StreamReadFilterGzip.h"
#include "base/io/StreamReadFilterXz.h"

#include "tests/base/io/MemoryStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using qvtest::CMemoryStreamRead;

namespace {

// Fixtures are compressed here with the libraries' own encoders.

std::string Gzip(const std::string& data) {
    z_stream z = {};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, data.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Blocks of 100 kB, so that a cut file still holds whole blocks.
std::string BZip2(const std::string& data) {
    std::string out(data.size() + data.size() / 100 + 600, '\0');
    unsigned int size = static_cast<unsigned int>(out.size());
    EXPECT_EQ(BZ2_bzBuffToBuffCompress(&out[0], &size, const_cast<char*>(data.data()),
                                       static_cast<unsigned int>(data.size()), 1, 0, 0),
              BZ_OK);
    out.resize(size);
    return out;
}

std::string Xz(const std::string& data) {
    std::string out(lzma_stream_buffer_bound(data.size()), '\0');
    size_t size = 0;
    EXPECT_EQ(lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr, reinterpret_cast<const uint8_t*>(data.data()),
                                      data.size(), reinterpret_cast<uint8_t*>(&out[0]), &size, out.size()),
              LZMA_OK);
    out.resize(size);
    return out;
}

// Text with some repetition and some noise, so every format produces several
// blocks of input and output.
std::string Sample(size_t n, unsigned seed) {
    std::string s;
    while (s.size() < n) {
        seed = seed * 1103515245u + 12345u;
        s += "line " + std::to_string(seed % 977) + " of the sample\r\n";
        s += static_cast<char>(seed >> 24);
    }
    s.resize(n);
    return s;
}

enum Format { kGzip, kBZip2, kXz };
const char* const kFormatNames[] = {"gzip", "bzip2", "xz"};

std::string Compress(Format format, const std::string& data) {
    return format == kGzip ? Gzip(data) : format == kBZip2 ? BZip2(data) : Xz(data);
}

std::unique_ptr<IStreamReadFilter> MakeFilter(Format format, IStreamRead* source) {
    if (format == kGzip)
        return std::unique_ptr<IStreamReadFilter>(new CStreamReadFilterGzip(source));
    if (format == kBZip2)
        return std::unique_ptr<IStreamReadFilter>(new CStreamReadFilterBZip2(source));
    return std::unique_ptr<IStreamReadFilter>(new CStreamReadFilterXz(source));
}

// Reads until the first false result, with at most `room` bytes per call.
std::string Drain(IStreamRead& stream, uint32_t room) {
    std::string out;
    std::string buffer(room, '\0');
    for (int calls = 0; calls < 10000000; calls++) {
        uint32_t count = room;
        bool ok = stream.Read(&buffer[0], &count);
        EXPECT_LE(count, room);
        if (!ok)
            break;
        out.append(buffer, 0, count);
    }
    return out;
}

TEST(StreamReadFilterTest, DecodesEveryFormatWhateverTheChunking) {
    const std::string data = Sample(200000, 7);
    const struct {
        size_t sourceChunk;
        uint32_t room;
    } shapes[] = {{1 << 30, 65536}, {1000, 4096}, {1, 1000}, {16384, 1}, {3, 7}};
    for (Format format : {kGzip, kBZip2, kXz}) {
        const std::string packed = Compress(format, data);
        for (const auto& shape : shapes) {
            CMemoryStreamRead source(packed, shape.sourceChunk);
            auto filter = MakeFilter(format, &source);
            EXPECT_TRUE(Drain(*filter, shape.room) == data)
                << kFormatNames[format] << " chunk " << shape.sourceChunk << " room " << shape.room;
            EXPECT_EQ(filter->GetError()->category, TStreamError::kNone) << kFormatNames[format];
            // After the end every further Read is false.
            char c;
            uint32_t count = 1;
            EXPECT_FALSE(filter->Read(&c, &count)) << kFormatNames[format];
            EXPECT_EQ(count, 0u);
            // The source is read in chunks of at most 16 KiB.
            for (uint32_t asked : source.asked)
                EXPECT_EQ(asked, 16384u);
            if (HasFailure())
                return;
        }
    }
}

TEST(StreamReadFilterTest, ConcatenatedData) {
    const std::string one = Sample(30000, 1), two = Sample(20000, 2);
    const struct {
        Format format;
        bool bothMembers;
    } cases[] = {
        {kGzip, false},  // decoding ends with the first gzip member
        {kBZip2, true},
        {kXz, true},
    };
    for (const auto& c : cases) {
        CMemoryStreamRead source(Compress(c.format, one) + Compress(c.format, two), 5000);
        auto filter = MakeFilter(c.format, &source);
        EXPECT_TRUE(Drain(*filter, 4096) == (c.bothMembers ? one + two : one)) << kFormatNames[c.format];
        EXPECT_EQ(filter->GetError()->category, TStreamError::kNone) << kFormatNames[c.format];
    }
}

TEST(StreamReadFilterTest, GzipLeavesWhatFollowsItsMember) {
    const std::string data = Sample(1000, 3);
    CMemoryStreamRead source(Gzip(data) + "trailing bytes that are not gzip");
    CStreamReadFilterGzip filter(&source);
    EXPECT_EQ(Drain(filter, 4096), data);
    EXPECT_EQ(filter.GetError()->category, TStreamError::kNone);
}

TEST(StreamReadFilterTest, TruncatedDataYieldsItsPrefixThenAnError) {
    const std::string data = Sample(300000, 4);
    const struct {
        Format format;
        const char* text;
    } cases[] = {
        {kGzip, "Decompression error"},
        {kBZip2, "Decompression error"},
        {kXz, "XZ Decompression error 10"},  // LZMA_BUF_ERROR: the input ended
    };
    for (const auto& c : cases) {
        std::string packed = Compress(c.format, data);
        CMemoryStreamRead source(packed.substr(0, packed.size() / 2));
        auto filter = MakeFilter(c.format, &source);
        std::string got = Drain(*filter, 8192);
        EXPECT_GT(got.size(), 10000u) << kFormatNames[c.format];
        EXPECT_LT(got.size(), data.size()) << kFormatNames[c.format];
        EXPECT_TRUE(got == data.substr(0, got.size())) << kFormatNames[c.format];
        const TStreamError* error = filter->GetError();
        EXPECT_EQ(error->category, TStreamError::kDecompression) << kFormatNames[c.format];
        EXPECT_EQ(error->code, 0);
        EXPECT_STREQ(error->text.Data(), c.text);
    }
}

TEST(StreamReadFilterTest, CorruptOrEmptyInput) {
    std::string xz = Xz(Sample(5000, 5));
    std::string badMagic = xz;
    badMagic[0] = 'X';
    std::string badPayload = xz;
    badPayload[xz.size() / 2] ^= 0x55;
    std::string bz = BZip2(Sample(5000, 5));
    bz[bz.size() / 2] ^= 0x55;
    std::string gz = Gzip(Sample(5000, 5));
    gz[gz.size() - 5] ^= 0x55;  // the CRC of the member
    const struct {
        Format format;
        std::string input;
        const char* text;
    } cases[] = {
        {kGzip, "", "Decompression error"},
        {kGzip, "not gzip at all", "Decompression error"},
        {kGzip, gz, "Decompression error"},
        {kBZip2, "", "Decompression error"},
        {kBZip2, bz, "Decompression error"},
        {kXz, "", "XZ Decompression error 10"},
        {kXz, badMagic, "XZ Decompression error 7"},    // LZMA_FORMAT_ERROR
        {kXz, badPayload, "XZ Decompression error 9"},  // LZMA_DATA_ERROR
    };
    for (const auto& c : cases) {
        CMemoryStreamRead source(c.input);
        auto filter = MakeFilter(c.format, &source);
        Drain(*filter, 4096);
        EXPECT_EQ(filter->GetError()->category, TStreamError::kDecompression)
            << kFormatNames[c.format] << " input of " << c.input.size();
        EXPECT_STREQ(filter->GetError()->text.Data(), c.text)
            << kFormatNames[c.format] << " input of " << c.input.size();
        // It stays failed.
        char byte;
        uint32_t count = 1;
        EXPECT_FALSE(filter->Read(&byte, &count));
    }
}

TEST(StreamReadFilterTest, SourceFailureEndsTheInput) {
    for (Format format : {kGzip, kBZip2, kXz}) {
        CMemoryStreamRead source(Compress(format, Sample(300000, 6)), 1000);
        source.failAt = source.data.size() / 2;
        auto filter = MakeFilter(format, &source);
        Drain(*filter, 4096);
        EXPECT_EQ(filter->GetError()->category, TStreamError::kDecompression) << kFormatNames[format];
        EXPECT_EQ(source.GetError()->category, TStreamError::kSystem);
    }
}

TEST(StreamReadFilterTest, LinesThroughAFilter) {
    std::string text = "first\r\nsecond\n\n" + std::string(1000, 'L') + "\nlast";
    for (Format format : {kGzip, kBZip2, kXz}) {
        CMemoryStreamRead source(Compress(format, text), 3);
        auto filter = MakeFilter(format, &source);
        std::vector<std::string> lines;
        Estring line;
        while (filter->ReadLine(line))
            lines.push_back(line.Data());
        EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "", std::string(1000, 'L'), "last"}))
            << kFormatNames[format];
        EXPECT_EQ(filter->GetError()->category, TStreamError::kNone);
    }
}

TEST(StreamReadFilterTest, ReadExactAndSkipThroughAFilter) {
    const std::string data = Sample(100000, 8);
    for (Format format : {kGzip, kBZip2, kXz}) {
        CMemoryStreamRead source(Compress(format, data), 777);
        auto filter = MakeFilter(format, &source);
        ASSERT_TRUE(filter->Skip(50000));
        std::string buffer(40000, '\0');
        ASSERT_TRUE(filter->ReadExact(&buffer[0], 40000));
        EXPECT_TRUE(buffer == data.substr(50000, 40000)) << kFormatNames[format];
        EXPECT_FALSE(filter->ReadExact(&buffer[0], 10001));
        EXPECT_EQ(filter->GetError()->category, TStreamError::kNone);
    }
}

}  // namespace
