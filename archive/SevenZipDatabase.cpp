#include "archive/SevenZipDatabase.h"

#include <lzma.h>
#include <zlib.h>

#include <cstring>

namespace {

// Property ids of the header database.
enum : uint64_t {
    kEnd = 0x00,
    kHeader = 0x01,
    kArchiveProperties = 0x02,
    kAdditionalStreamsInfo = 0x03,
    kMainStreamsInfo = 0x04,
    kFilesInfo = 0x05,
    kPackInfo = 0x06,
    kUnpackInfo = 0x07,
    kSubStreamsInfo = 0x08,
    kSize = 0x09,
    kCRC = 0x0A,
    kFolder = 0x0B,
    kCodersUnpackSize = 0x0C,
    kNumUnpackStream = 0x0D,
    kEmptyStream = 0x0E,
    kEmptyFile = 0x0F,
    kName = 0x11,
    kMTime = 0x14,
    kEncodedHeader = 0x17,
};

// A decoded header is never allowed to grow beyond this.
const uint64_t MaxHeaderSize = uint64_t(256) << 20;
const uint64_t MaxCoders = 64;

// Reads the values of the database out of a byte range; a read past the end
// marks the cursor failed and gives zeros from then on.
class C7zCursor {
public:
    C7zCursor(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool Ok() const { return ok; }
    size_t Left() const { return ok ? size - at : 0; }
    void Fail() { ok = false; }

    uint8_t Byte() {
        if (!ok || at >= size) {
            ok = false;
            return 0;
        }
        return data[at++];
    }
    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; i++)
            v |= uint32_t(Byte()) << (8 * i);
        return v;
    }
    uint64_t U64() {
        uint64_t v = 0;
        for (int i = 0; i < 8; i++)
            v |= uint64_t(Byte()) << (8 * i);
        return v;
    }
    // The variable-length number: the leading one bits of the first byte
    // count the bytes that follow, little-endian.
    uint64_t Number() {
        const uint8_t first = Byte();
        uint8_t mask = 0x80;
        uint64_t value = 0;
        for (int i = 0; i < 8; i++) {
            if ((first & mask) == 0) {
                uint64_t high = first & (mask - 1);
                return value | (high << (8 * i));
            }
            value |= uint64_t(Byte()) << (8 * i);
            mask >>= 1;
        }
        return value;
    }
    // A count of things each taking at least one byte of what is left.
    uint64_t Count() {
        uint64_t n = Number();
        if (n > Left())
            ok = false;
        return ok ? n : 0;
    }
    void Skip(uint64_t n) {
        if (!ok || n > size - at) {
            ok = false;
            return;
        }
        at += size_t(n);
    }
    // A sub-range of the next n bytes, which it skips.
    C7zCursor Take(uint64_t n) {
        if (!ok || n > size - at) {
            ok = false;
            return C7zCursor(data, 0);
        }
        C7zCursor part(data + at, size_t(n));
        at += size_t(n);
        return part;
    }
    const uint8_t* Here() const { return data + at; }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool ok = true;
};

struct TCoder {
    std::vector<uint8_t> id;
    uint64_t inStreams = 1;
    uint64_t outStreams = 1;
    std::vector<uint8_t> properties;
};

struct TFolder {
    std::vector<TCoder> coders;
    uint64_t outTotal = 0;
    std::vector<uint64_t> boundOut;  // out streams that feed another coder
    std::vector<uint64_t> unpackSizes;
    uint64_t unpackStreams = 1;

    // The size of the stream that leaves the folder.
    uint64_t UnpackSize() const {
        for (uint64_t i = 0; i < unpackSizes.size(); i++) {
            bool bound = false;
            for (uint64_t b : boundOut)
                bound = bound || b == i;
            if (!bound)
                return unpackSizes[i];
        }
        return 0;
    }
};

struct TStreams {
    uint64_t packPosition = 0;
    std::vector<uint64_t> packSizes;
    std::vector<TFolder> folders;
    std::vector<uint64_t> streamSizes;  // one per unpacked stream, in order
};

std::vector<bool> ReadBits(C7zCursor& in, uint64_t n) {
    std::vector<bool> bits;
    if (n > in.Left() * 8) {
        in.Fail();
        return bits;
    }
    bits.resize(size_t(n));
    uint8_t byte = 0;
    for (uint64_t i = 0; i < n; i++) {
        if (i % 8 == 0)
            byte = in.Byte();
        bits[size_t(i)] = (byte & (0x80 >> (i % 8))) != 0;
    }
    return bits;
}

// An "all defined" byte, or the bits of the defined ones.
std::vector<bool> ReadDefined(C7zCursor& in, uint64_t n) {
    if (in.Byte() != 0)
        return std::vector<bool>(size_t(n <= in.Left() * 8 + 8 ? n : 0), true);
    return ReadBits(in, n);
}

void SkipDigests(C7zCursor& in, uint64_t n) {
    std::vector<bool> defined = ReadDefined(in, n);
    for (bool d : defined)
        if (d)
            in.U32();
}

void ReadPackInfo(C7zCursor& in, TStreams& streams) {
    streams.packPosition = in.Number();
    uint64_t count = in.Count();
    for (;;) {
        uint64_t id = in.Number();
        if (!in.Ok() || id == kEnd)
            break;
        if (id == kSize) {
            for (uint64_t i = 0; i < count && in.Ok(); i++)
                streams.packSizes.push_back(in.Number());
        } else if (id == kCRC) {
            SkipDigests(in, count);
        } else {
            in.Skip(in.Number());
        }
    }
}

void ReadFolder(C7zCursor& in, TFolder& folder) {
    uint64_t coders = in.Count();
    if (coders == 0 || coders > MaxCoders) {
        in.Fail();
        return;
    }
    uint64_t inTotal = 0;
    for (uint64_t i = 0; i < coders && in.Ok(); i++) {
        TCoder coder;
        uint8_t flags = in.Byte();
        int idSize = flags & 0x0F;
        for (int k = 0; k < idSize; k++)
            coder.id.push_back(in.Byte());
        if (flags & 0x10) {
            coder.inStreams = in.Number();
            coder.outStreams = in.Number();
            if (coder.inStreams > MaxCoders || coder.outStreams > MaxCoders)
                in.Fail();
        }
        if (flags & 0x20) {
            uint64_t n = in.Count();
            const uint8_t* p = in.Here();
            in.Skip(n);
            if (in.Ok())
                coder.properties.assign(p, p + n);
        }
        if (flags & 0x80)
            in.Fail();  // alternative methods are not part of the format any more
        inTotal += coder.inStreams;
        folder.outTotal += coder.outStreams;
        folder.coders.push_back(coder);
    }
    if (!in.Ok() || folder.outTotal == 0) {
        in.Fail();
        return;
    }
    for (uint64_t i = 0; i + 1 < folder.outTotal && in.Ok(); i++) {
        in.Number();  // the in stream the pair feeds
        folder.boundOut.push_back(in.Number());
    }
    if (inTotal < folder.outTotal - 1) {
        in.Fail();
        return;
    }
    uint64_t packed = inTotal - (folder.outTotal - 1);
    if (packed > 1)
        for (uint64_t i = 0; i < packed && in.Ok(); i++)
            in.Number();
}

void ReadUnpackInfo(C7zCursor& in, TStreams& streams) {
    if (in.Number() != kFolder) {
        in.Fail();
        return;
    }
    uint64_t count = in.Count();
    if (in.Byte() != 0) {  // folders kept in another stream
        in.Fail();
        return;
    }
    streams.folders.resize(size_t(count));
    for (TFolder& folder : streams.folders)
        ReadFolder(in, folder);
    if (in.Number() != kCodersUnpackSize) {
        in.Fail();
        return;
    }
    for (TFolder& folder : streams.folders)
        for (uint64_t i = 0; i < folder.outTotal && in.Ok(); i++)
            folder.unpackSizes.push_back(in.Number());
    for (;;) {
        uint64_t id = in.Number();
        if (!in.Ok() || id == kEnd)
            break;
        if (id == kCRC)
            SkipDigests(in, count);
        else
            in.Skip(in.Number());
    }
}

void ReadSubStreamsInfo(C7zCursor& in, TStreams& streams) {
    uint64_t id = in.Number();
    if (id == kNumUnpackStream) {
        for (TFolder& folder : streams.folders)
            folder.unpackStreams = in.Count();
        id = in.Number();
    }
    const bool sizesGiven = id == kSize;
    uint64_t digestsWanted = 0;
    for (const TFolder& folder : streams.folders) {
        if (folder.unpackStreams == 0)
            continue;
        uint64_t sum = 0;
        for (uint64_t i = 1; i < folder.unpackStreams && in.Ok(); i++) {
            if (!sizesGiven) {
                in.Fail();
                break;
            }
            uint64_t size = in.Number();
            if (size > folder.UnpackSize() - sum)
                in.Fail();
            sum += size;
            streams.streamSizes.push_back(size);
        }
        if (sum > folder.UnpackSize())
            in.Fail();
        streams.streamSizes.push_back(folder.UnpackSize() - sum);
        digestsWanted += folder.unpackStreams;
    }
    if (sizesGiven)
        id = in.Number();
    while (in.Ok() && id != kEnd) {
        if (id == kCRC)
            SkipDigests(in, digestsWanted);
        else
            in.Skip(in.Number());
        id = in.Number();
    }
}

void ReadStreamsInfo(C7zCursor& in, TStreams& streams) {
    uint64_t id = in.Number();
    if (id == kPackInfo) {
        ReadPackInfo(in, streams);
        id = in.Number();
    }
    if (id == kUnpackInfo) {
        ReadUnpackInfo(in, streams);
        id = in.Number();
    }
    bool subStreams = false;
    if (id == kSubStreamsInfo) {
        ReadSubStreamsInfo(in, streams);
        subStreams = true;
        id = in.Number();
    }
    if (!subStreams)
        for (const TFolder& folder : streams.folders)
            streams.streamSizes.push_back(folder.UnpackSize());
    if (id != kEnd)
        in.Fail();
}

bool DecodeLzma(const TCoder& coder, lzma_vli filterId, const std::vector<uint8_t>& packed,
                std::vector<uint8_t>& unpacked) {
    lzma_filter filters[2];
    filters[0].id = filterId;
    filters[0].options = nullptr;
    filters[1].id = LZMA_VLI_UNKNOWN;
    filters[1].options = nullptr;
    if (lzma_properties_decode(&filters[0], nullptr, coder.properties.data(), coder.properties.size()) != LZMA_OK)
        return false;
    lzma_stream stream = LZMA_STREAM_INIT;
    lzma_ret ret = lzma_raw_decoder(&stream, filters);
    free(filters[0].options);
    if (ret != LZMA_OK)
        return false;
    stream.next_in = packed.data();
    stream.avail_in = packed.size();
    stream.next_out = unpacked.data();
    stream.avail_out = unpacked.size();
    // LZMA without an end mark stops where the known size is reached.
    while (stream.avail_out > 0) {
        ret = lzma_code(&stream, LZMA_FINISH);
        if (ret != LZMA_OK)
            break;
    }
    lzma_end(&stream);
    return stream.avail_out == 0 && (ret == LZMA_OK || ret == LZMA_STREAM_END);
}

// The one folder of a packed header, decoded.
bool DecodeHeader(const C7zDatabase::TReadAt& readAt, uint64_t fileSize, const TStreams& streams,
                  std::vector<uint8_t>& out) {
    if (streams.folders.size() != 1 || streams.packSizes.empty())
        return false;
    const TFolder& folder = streams.folders[0];
    if (folder.coders.size() != 1 || folder.outTotal != 1 || folder.coders[0].inStreams != 1)
        return false;
    const uint64_t start = 32 + streams.packPosition;
    const uint64_t packedSize = streams.packSizes[0];
    if (streams.packPosition > fileSize || start > fileSize || packedSize > fileSize - start)
        return false;
    const uint64_t unpackSize = folder.UnpackSize();
    // Header databases compress well, but not beyond all measure: a claim
    // far beyond the file's size is a damaged or hostile file.
    if (unpackSize > MaxHeaderSize || unpackSize > fileSize * 128 + (1 << 20))
        return false;
    std::vector<uint8_t> packed(static_cast<size_t>(packedSize));
    if (packedSize > 0 && !readAt(start, packed.data(), size_t(packedSize)))
        return false;
    out.assign(size_t(unpackSize), 0);
    const std::vector<uint8_t>& id = folder.coders[0].id;
    static const uint8_t lzma[3] = {3, 1, 1};
    if (id.size() == 1 && id[0] == 0) {
        if (packedSize < unpackSize)
            return false;
        std::memcpy(out.data(), packed.data(), size_t(unpackSize));
        return true;
    }
    if (id.size() == 1 && id[0] == 0x21)
        return DecodeLzma(folder.coders[0], LZMA_FILTER_LZMA2, packed, out);
    if (id.size() == 3 && std::memcmp(id.data(), lzma, 3) == 0)
        return DecodeLzma(folder.coders[0], LZMA_FILTER_LZMA1, packed, out);
    return false;
}

}  // namespace

namespace {

bool ReadFilesInfo(C7zCursor& in, C7zDatabase& db, const TStreams& streams) {
    const uint64_t count = in.Count();
    db.files.resize(size_t(count));
    std::vector<bool> emptyStream(size_t(count), false);
    std::vector<bool> emptyFile;
    uint64_t emptyStreams = 0;
    for (;;) {
        const uint64_t type = in.Number();
        if (!in.Ok())
            return false;
        if (type == kEnd)
            break;
        C7zCursor property = in.Take(in.Number());
        if (!in.Ok())
            return false;
        if (type == kEmptyStream) {
            emptyStream = ReadBits(property, count);
            emptyStreams = 0;
            for (bool b : emptyStream)
                emptyStreams += b ? 1 : 0;
            emptyFile.assign(size_t(emptyStreams), false);
        } else if (type == kEmptyFile) {
            emptyFile = ReadBits(property, emptyStreams);
        } else if (type == kName) {
            if (property.Byte() != 0)
                return false;
            for (C7zDatabase::TFile& file : db.files) {
                for (;;) {
                    const uint8_t low = property.Byte();
                    const char16_t unit = char16_t(low | property.Byte() << 8);
                    if (!property.Ok())
                        return false;
                    if (unit == 0)
                        break;
                    file.name.push_back(unit);
                }
                file.hasName = true;
            }
            db.namesStored = true;
        } else if (type == kMTime) {
            std::vector<bool> defined = ReadDefined(property, count);
            if (property.Byte() != 0 || defined.size() != count)
                return false;
            for (uint64_t i = 0; i < count; i++) {
                if (!defined[size_t(i)])
                    continue;
                db.files[size_t(i)].fileTime = property.U64();
                db.files[size_t(i)].hasTime = true;
            }
        }
        if (!property.Ok())
            return false;
    }
    if (emptyStream.size() != count || emptyFile.size() != emptyStreams)
        return false;
    size_t stream = 0;
    size_t empty = 0;
    for (uint64_t i = 0; i < count; i++) {
        C7zDatabase::TFile& file = db.files[size_t(i)];
        if (emptyStream[size_t(i)]) {
            file.isDirectory = !emptyFile[empty++];
            continue;
        }
        if (stream >= streams.streamSizes.size())
            return false;
        file.size = streams.streamSizes[stream++];
    }
    return true;
}

}  // namespace

bool C7zDatabase::Read(const TReadAt& readAt, uint64_t fileSize) {
    files.clear();
    namesStored = false;
    packedTotal = 0;
    static const uint8_t signature[6] = {0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C};
    uint8_t start[32];
    if (fileSize < 32 || !readAt(0, start, 32) || std::memcmp(start, signature, 6) != 0)
        return false;
    C7zCursor startHeader(start + 8, 24);
    const uint32_t startCrc = startHeader.U32();
    if (crc32(0, start + 12, 20) != startCrc)
        return false;
    const uint64_t nextOffset = startHeader.U64();
    const uint64_t nextSize = startHeader.U64();
    const uint32_t nextCrc = startHeader.U32();
    if (nextSize == 0)
        return true;  // an archive without members
    if (nextOffset > fileSize - 32 || nextSize > fileSize - 32 - nextOffset)
        return false;
    std::vector<uint8_t> header(static_cast<size_t>(nextSize));
    if (!readAt(32 + nextOffset, header.data(), size_t(nextSize)))
        return false;
    if (crc32(0, header.data(), uInt(header.size())) != nextCrc)
        return false;

    // A packed header decodes to a header, which may itself be packed.
    for (int depth = 0;; depth++) {
        C7zCursor in(header.data(), header.size());
        const uint64_t id = in.Number();
        if (id == kHeader)
            break;
        if (id != kEncodedHeader || depth >= 4)
            return false;
        TStreams streams;
        ReadStreamsInfo(in, streams);
        std::vector<uint8_t> decoded;
        if (!in.Ok() || !DecodeHeader(readAt, fileSize, streams, decoded))
            return false;
        header.swap(decoded);
    }

    C7zCursor in(header.data(), header.size());
    in.Number();  // kHeader
    uint64_t id = in.Number();
    if (id == kArchiveProperties) {
        for (;;) {
            uint64_t type = in.Number();
            if (!in.Ok() || type == kEnd)
                break;
            in.Skip(in.Number());
        }
        id = in.Number();
    }
    if (id == kAdditionalStreamsInfo) {
        TStreams additional;
        ReadStreamsInfo(in, additional);
        id = in.Number();
    }
    TStreams streams;
    if (id == kMainStreamsInfo) {
        ReadStreamsInfo(in, streams);
        id = in.Number();
    }
    if (id == kFilesInfo) {
        if (!ReadFilesInfo(in, *this, streams))
            return false;
        id = in.Number();
    }
    if (!in.Ok() || id != kEnd)
        return false;
    for (uint64_t size : streams.packSizes)
        packedTotal += size;
    return true;
}
