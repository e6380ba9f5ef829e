// The tar readers: plain and over gzip, bzip2 and xz, all walking the
// headers through one stream.
#include <cstring>
#include <vector>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"
#include "archive/TarHeaders.h"
#include "base/io/RandomFileStreamRead.h"
#include "base/io/StreamReadFilterBZip2.h"
#include "base/io/StreamReadFilterGzip.h"
#include "base/io/StreamReadFilterXz.h"
#include "ui/ConsoleControl.h"

namespace {

const int TarBlock = 512;
// Long names, long links and extended headers larger than this end the
// listing: no sound archive needs more, and a hostile one must not make the
// reader allocate at will.
const int64_t MaxExtensionData = 1 << 20;

bool HeaderChecksumMatches(const unsigned char* header) {
    uint32_t sum = 256;  // the eight checksum bytes counted as blanks
    for (int i = 0; i < 148; i++)
        sum += header[i];
    for (int i = 156; i < TarBlock; i++)
        sum += header[i];
    return ParseTarNumber(header + 148, 8) == int64_t(sum);
}

uint32_t ClampSeconds(int64_t seconds) {
    if (seconds < 0)
        return 0;
    return seconds > int64_t(0xFFFFFFFF) ? 0xFFFFFFFF : uint32_t(seconds);
}

// The data of an extension header, whole blocks of it; false when it is too
// large or cut short.
bool ReadExtensionData(IStreamRead& stream, const unsigned char* header, std::vector<char>& data) {
    int64_t size = ParseTarNumber(header + 124, 12);
    if (size < 0 || size > MaxExtensionData)
        return false;
    int64_t blocks = (size + TarBlock - 1) / TarBlock;
    data.assign(size_t(blocks * TarBlock) + 1, 0);
    if (blocks > 0 && !stream.ReadExact(data.data(), int(blocks * TarBlock)))
        return false;
    data.resize(size_t(size));
    return true;
}

Estring TextUpToZero(const std::vector<char>& data) {
    size_t n = 0;
    while (n < data.size() && data[n] != 0)
        n++;
    Estring text;
    text.Assign(data.data(), int(n));
    return text;
}

enum { OverGzip, OverBzip2, OverXz };

// Tar through a decompressing filter, when the file begins with the
// compressor's magic (n bytes of the `readLength` first ones).
DWORD ReadCompressedTar(CArchive& archive, const unsigned char* magic, int n, int readLength, int kind) {
    unsigned char start[16];
    if (!ReadArchiveBytes(archive, 0, start, uint32_t(readLength)) || std::memcmp(start, magic, size_t(n)) != 0)
        return ArchiveNotRecognised;
    archive.file->SetPosition(0);
    CRandomFileStreamRead raw(archive.file);
    if (kind == OverGzip) {
        CStreamReadFilterGzip filter(&raw);
        return ReadTarHeaders(archive, filter);
    }
    if (kind == OverBzip2) {
        CStreamReadFilterBZip2 filter(&raw);
        return ReadTarHeaders(archive, filter);
    }
    CStreamReadFilterXz filter(&raw);
    return ReadTarHeaders(archive, filter);
}

}  // namespace

int64_t ParseTarNumber(const unsigned char* field, int width) {
    if (width <= 0 || field[0] == 0)
        return 0;
    uint64_t value = 0;
    if (field[0] & 0x80) {
        for (int i = 0; i < width; i++) {
            unsigned byte = i == 0 ? (field[0] & 0x7F) : field[i];
            if (value > (uint64_t(INT64_MAX) >> 8))
                return -1;
            value = value << 8 | byte;
        }
        return int64_t(value);
    }
    for (int i = 0; i < width && field[i] != 0; i++) {
        if (field[i] < '0' || field[i] > '7')
            continue;
        if (value > (uint64_t(INT64_MAX) >> 3))
            return -1;
        value = value * 8 + (field[i] - '0');
    }
    return int64_t(value);
}

void ParsePaxRecords(const char* data, int size, TPaxRecords& records) {
    int lineStart = 0;
    while (lineStart < size) {
        int lineEnd = lineStart;
        while (lineEnd < size && data[lineEnd] != '\n')
            lineEnd++;
        const char* line = data + lineStart;
        const int lineLength = lineEnd - lineStart;
        lineStart = lineEnd + 1;
        int blank = 0;
        while (blank < lineLength && line[blank] != ' ')
            blank++;
        int equals = blank;
        while (equals < lineLength && line[equals] != '=')
            equals++;
        if (blank == 0 || blank >= lineLength || equals >= lineLength)
            continue;
        int64_t declared = 0;
        bool digits = true;
        for (int i = 0; i < blank && digits; i++) {
            digits = line[i] >= '0' && line[i] <= '9' && declared < 100000000;
            declared = declared * 10 + (line[i] - '0');
        }
        // The length counts the whole record with its line feed.
        if (!digits || declared != lineLength + 1)
            continue;
        Estring key;
        key.Assign(line + blank + 1, equals - blank - 1);
        key = key.ToLower();
        Estring value;
        value.Assign(line + equals + 1, lineLength - equals - 1);
        if (key == "path") {
            records.path = value;
        } else if (key == "size") {
            uint64_t n = 0;
            for (int i = 0; i < value.Length() && value[i] >= '0' && value[i] <= '9' && n < (uint64_t(1) << 59); i++)
                n = n * 10 + uint64_t(value[i] - '0');
            records.size = int64_t(n);
        } else if (key == "mtime") {
            int dot = value.Find('.');
            if (dot < 0)
                continue;
            int64_t seconds = 0;
            for (int i = 0; i < dot && value[i] >= '0' && value[i] <= '9' && seconds < (int64_t(1) << 40); i++)
                seconds = seconds * 10 + (value[i] - '0');
            uint32_t nanoseconds = 0;
            int taken = 0;
            for (int i = dot + 1; i < value.Length() && taken < 9 && value[i] >= '0' && value[i] <= '9'; i++, taken++)
                nanoseconds = nanoseconds * 10 + uint32_t(value[i] - '0');
            for (; taken < 9; taken++)
                nanoseconds *= 10;
            records.time = TTimestamp(ClampSeconds(seconds), nanoseconds);
            records.hasTime = true;
        }
    }
}

DWORD ReadTarHeaders(CArchive& archive, IStreamRead& stream) {
    unsigned char* header = archive.header;
    if (!stream.ReadExact(header, TarBlock) || !HeaderChecksumMatches(header))
        return ArchiveNotRecognised;
    int read = 0;
    std::vector<char> data;
    while (header[0] != 0) {
        if (UserAbortState == UserAbortRequested)
            return ArchiveNotRecognised;
        Estring longName;
        Estring longLink;
        TPaxRecords pax;
        bool intact = true;
        while (intact && (header[156] == 'L' || header[156] == 'K' || header[156] == 'x' || header[156] == 'g')) {
            const char type = char(header[156]);
            intact = ReadExtensionData(stream, header, data);
            if (intact) {
                if (type == 'L')
                    longName = TextUpToZero(data);
                else if (type == 'K')
                    longLink = TextUpToZero(data);
                else if (type == 'x')
                    ParsePaxRecords(data.data(), int(data.size()), pax);
                intact = stream.ReadExact(header, TarBlock);
            }
        }
        if (!intact || header[0] == 0)
            break;

        Estring name;
        if (!pax.path.IsEmpty()) {
            name = pax.path;
        } else if (!longName.IsEmpty()) {
            name = longName;
        } else {
            Estring prefix = FieldToEstring(header + 345, 155);
            name = prefix.IsEmpty() ? FieldToEstring(header, 100) : prefix + "\\" + FieldToEstring(header, 100);
        }
        Estring link = longLink.IsEmpty() ? FieldToEstring(header + 157, 100) : longLink;

        int64_t size = pax.size != 0 ? pax.size : ParseTarNumber(header + 124, 12);
        int64_t mode = ParseTarNumber(header + 100, 8);
        header[147] = 0;
        int64_t seconds = ParseTarNumber(header + 136, 12);
        if (size < 0 || size > (int64_t(1) << 62) || mode < 0 || seconds < 0)
            break;
        TArchiveEntry* item = NewArchiveEntry(&archive);
        if (!item)
            break;
        item->unpackedSize = uint64_t(size);
        item->packedSize = uint64_t(TarBlock + (size + TarBlock - 1) / TarBlock * TarBlock);
        item->time = pax.hasTime ? pax.time : TTimestamp(ClampSeconds(seconds), 0);

        for (int i = 0; i < name.Length(); i++)
            if (name[i] == '/')
                name.SetAt(i, '\\');
        const bool endsInBackslash = name.Length() > 0 && name[name.Length() - 1] == '\\';
        item->attributes = (mode & 0x4000) || endsInBackslash ? FILE_ATTRIBUTE_DIRECTORY : 0;
        if (header[156] == '2') {
            item->attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
            item->linkTarget = StoreArchiveWideName(&archive, DecodeArchiveName(link.Data(), ArchiveNameUtf8).Data());
        }
        Westring path = DecodeArchiveName(name.Data(), ArchiveNameUtf8);
        SetArchiveEntryPath(archive, item, path, item->attributes == FILE_ATTRIBUTE_DIRECTORY);
        AddArchiveEntry(archive, item);
        read++;
        if (!stream.Skip(int64_t(item->packedSize) - TarBlock) || !stream.ReadExact(header, TarBlock))
            break;
    }
    return read > 0 ? 0 : ArchiveNotRecognised;
}

DWORD ReadTarGzDirectory(CArchive& archive) {
    static const unsigned char magic[2] = {0x1F, 0x8B};
    return ReadCompressedTar(archive, magic, 2, 10, OverGzip);
}

DWORD ReadTarBz2Directory(CArchive& archive) {
    static const unsigned char magic[3] = {0x42, 0x5A, 0x68};
    return ReadCompressedTar(archive, magic, 3, 3, OverBzip2);
}

DWORD ReadTarXzDirectory(CArchive& archive) {
    static const unsigned char magic[6] = {0xFD, 0x37, 0x7A, 0x58, 0x5A, 0x00};
    return ReadCompressedTar(archive, magic, 6, 6, OverXz);
}

DWORD ReadTarDirectory(CArchive& archive) {
    archive.file->SetPosition(0);
    CRandomFileStreamRead raw(archive.file);
    return ReadTarHeaders(archive, raw);
}
