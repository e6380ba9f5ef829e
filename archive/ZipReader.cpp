// The ZIP reader: finds the end record, then walks the central directory.
#include <cstring>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"

namespace {

const unsigned char LocalHeaderMark[4] = {0x50, 0x4B, 0x03, 0x04};

bool HasMark(const unsigned char* p, unsigned char third, unsigned char fourth) {
    return p[0] == 0x50 && p[1] == 0x4B && p[2] == third && p[3] == fourth;
}

DWORD Corrupt(CArchive& archive, const char* message) {
    ReportArchiveError(&archive, Westring(message), archive.filePath, 0);
    return ArchiveNotRecognised;
}

// The sizes of a ZIP64 extended-information block: only those whose 32-bit
// field in the header says "look here", in the order the format gives them.
void TakeZip64Sizes(TArchiveEntry* item, bool unpackedFollows, bool packedFollows, const unsigned char* data,
                    int size) {
    int at = 0;
    if (unpackedFollows && at + 8 <= size) {
        item->unpackedSize = Le64(data + at);
        at += 8;
    }
    if (packedFollows && at + 8 <= size)
        item->packedSize = Le64(data + at);
}

}  // namespace

DWORD ReadZipDirectory(CArchive& archive) {
    CRandomFile* file = archive.file;
    const int64_t size = file->KnownSize();
    unsigned char* buffer = archive.header;

    int64_t selfExtractor = 0;
    if (!ReadArchiveBytes(archive, 0, buffer, 8)) {
        // A file of fewer than eight bytes can still begin like a ZIP.
        if (!(size >= 4 && ReadArchiveBytes(archive, 0, buffer, 4) && (HasMark(buffer, 3, 4) || HasMark(buffer, 5, 6))))
            return ArchiveNotRecognised;
    } else if (HasMark(buffer, 3, 4) || HasMark(buffer, 5, 6) || HasMark(buffer + 4, 3, 4)) {
        selfExtractor = 0;
    } else if (buffer[0] == 'M' && buffer[1] == 'Z') {
        selfExtractor = FindArchiveMark(archive, 8, 0x1FFFF, LocalHeaderMark, 4);
        if (selfExtractor < 0)
            return ArchiveNotRecognised;
    } else {
        return ArchiveNotRecognised;
    }

    if (size < 4)
        return Corrupt(archive, "Central directory not found in");
    // The end record may be followed by a comment of up to 65535 bytes, which
    // may itself hold the record's signature: the record is the one whose
    // comment length reaches the end of the file, else (bytes added after
    // the comment) the last signature found.
    const int64_t lowest = size - 65535 - 22 + 3;
    int64_t endRecord = -1;
    for (int64_t at = size - 1; at >= 3 && at >= lowest; at--) {
        if (file->ByteAt(at) == 6 && file->ByteAt(at - 1) == 5 && file->ByteAt(at - 2) == 0x4B &&
            file->ByteAt(at - 3) == 0x50) {
            const int64_t record = at - 3;
            if (endRecord < 0)
                endRecord = record;
            const int64_t comment = int64_t(file->ByteAt(record + 20)) | int64_t(file->ByteAt(record + 21)) << 8;
            if (record + 22 + comment == size) {
                endRecord = record;
                break;
            }
        }
    }
    if (endRecord < 0)
        return Corrupt(archive, "Central directory not found in");
    if (!ReadArchiveBytes(archive, endRecord, buffer, 22))
        return Corrupt(archive, "ZIP corrupt, cannot read file list");

    uint64_t directory = Le32(buffer + 16);
    int64_t endPosition = endRecord;
    if (directory == 0xFFFFFFFF && endRecord >= 20 && ReadArchiveBytes(archive, endRecord - 20, buffer, 20) &&
        HasMark(buffer, 6, 7)) {
        uint64_t record = Le64(buffer + 8);
        // The record must lie whole inside the file.
        if (record <= uint64_t(size) && uint64_t(size) - record >= 56 &&
            ReadArchiveBytes(archive, int64_t(record), buffer, 56) && HasMark(buffer, 6, 6)) {
            directory = Le64(buffer + 48);
            endPosition = int64_t(record);
        }
    }
    if (directory >= uint64_t(size))
        return Corrupt(archive, "ZIP corrupt, nonsense header read");
    if (endPosition <= int64_t(directory))
        return 0;

    // The central directory is read in large pieces: one header after the
    // other, each with its name and extra field, in file order.
    CArchiveReadWindow window(archive);
    int64_t position = int64_t(directory);
    bool movedBySelfExtractor = false;
    for (;;) {
        const unsigned char* header = window.At(position, 46);
        if (!header)
            return 0;
        if (!HasMark(header, 1, 2)) {
            if (archive.entries.Count() == 0 && selfExtractor != 0 && !movedBySelfExtractor) {
                // Offsets that count from the start of the ZIP part, not of
                // the program in front of it.
                movedBySelfExtractor = true;
                position = int64_t(directory) + selfExtractor;
                header = window.At(position, 46);
                if (!header || !HasMark(header, 1, 2))
                    return ArchiveNotRecognised;
            } else if (HasMark(header, 6, 6)) {
                return 0;
            } else {
                return Corrupt(archive, "ZIP corrupt, bad central directory");
            }
        }
        const uint32_t packed = Le32(header + 20);
        const uint32_t unpacked = Le32(header + 24);
        const int nameLength = Le16(header + 28);
        const int extraLength = Le16(header + 30);
        const int commentLength = Le16(header + 32);
        TArchiveEntry* item = NewArchiveEntry(&archive);
        if (!item)
            return ArchiveNotRecognised;
        item->packedSize = packed;
        item->unpackedSize = unpacked;
        item->time = TTimestamp::FromDosDateTime(header + 14, header + 12);
        if (nameLength > 8191)
            return Corrupt(archive, "ZIP corrupt, cannot read file list");
        const unsigned char* stored = window.At(position + 46, uint32_t(nameLength));
        if (!stored)
            return Corrupt(archive, "ZIP corrupt, cannot read file list");
        char* name = reinterpret_cast<char*>(buffer);
        memcpy(name, stored, size_t(nameLength));
        name[nameLength] = 0;
        for (int i = 0; i < nameLength; i++)
            if (name[i] == '/')
                name[i] = '\\';
        const bool isDirectory = nameLength > 0 && name[nameLength - 1] == '\\';
        item->attributes = isDirectory ? FILE_ATTRIBUTE_DIRECTORY : 0;
        Westring path = DecodeArchiveName(name, ArchiveNameCodePage);
        SetArchiveEntryPath(archive, item, path, false);
        AddArchiveEntry(archive, item);

        int64_t extraStart = position + 46 + nameLength;
        int remaining = extraLength;
        int64_t at = extraStart;
        while (remaining >= 4) {
            const unsigned char* block = window.At(at, 4);
            if (!block)
                break;
            const int id = Le16(block);
            const int dataSize = Le16(block + 2);
            if (dataSize > remaining - 4)
                break;
            if (id == 1 && dataSize <= 32) {
                const unsigned char* data = window.At(at + 4, uint32_t(dataSize));
                if (!data)
                    break;
                TakeZip64Sizes(item, unpacked == 0xFFFFFFFF, packed == 0xFFFFFFFF, data, dataSize);
            }
            at += 4 + dataSize;
            remaining -= 4 + dataSize;
        }
        position = extraStart + extraLength + commentLength;
        if (position >= endPosition)
            return 0;
    }
}
