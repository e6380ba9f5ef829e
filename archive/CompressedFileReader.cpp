// The single-file compressors shown as archives of one member: gzip, bzip2
// and xz.
#include <cstring>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"

namespace {

// The archive file's name without its directory, with the compressor's
// extension cut off or a tar shorthand turned into ".tar".
Westring MemberNameFromArchive(const CArchive& archive, const char32_t* cut, const char32_t* tarShorthand) {
    Westring name = ExtractFileName(archive.filePath);
    int dot = name.FindLast('.');
    if (dot < 0)
        return name;
    Westring extension = name.Mid(dot + 1, name.Length());
    if (extension.EqualsNoCase(Westring(cut)))
        return name.Left(dot);
    if (extension.EqualsNoCase(Westring(tarShorthand)))
        return name.Left(dot) + U".tar";
    return name;
}

// Bytes of a zero-terminated header text (ended also by a line feed), at most
// `room` - 1 of them; false when the file ends first.
bool ReadHeaderText(CArchive& archive, int64_t& position, char* text, int room) {
    int n = 0;
    for (;;) {
        uint32_t byte = archive.file->ByteAt(position);
        if (byte == CRandomFile::NoByte)
            return false;
        position++;
        if (byte == 0 || byte == '\n')
            break;
        if (n < room - 1)
            text[n++] = char(byte);
    }
    text[n] = 0;
    return true;
}

// The least significant 7 bits first; at most nine bytes and never past `end`.
bool ReadXzNumber(CArchive& archive, int64_t& position, int64_t end, uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9; i++) {
        if (position >= end)
            return false;
        uint32_t byte = archive.file->ByteAt(position++);
        if (byte == CRandomFile::NoByte)
            return false;
        value |= uint64_t(byte & 0x7F) << (7 * i);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// The uncompressed size from the index of the file's last stream; all ones
// when the index cannot be read.
uint64_t XzUncompressedSize(CArchive& archive) {
    const int64_t size = archive.file->KnownSize();
    unsigned char footer[12];
    if (size < 12 + 12 || !ReadArchiveBytes(archive, size - 12, footer, 12) || footer[10] != 'Y' || footer[11] != 'Z')
        return UINT64_MAX;
    const int64_t indexSize = (int64_t(Le32(footer + 4)) + 1) * 4;
    int64_t position = size - 12 - indexSize;
    const int64_t end = size - 12;
    if (position < 12 || archive.file->ByteAt(position) != 0)
        return UINT64_MAX;
    position++;
    uint64_t records = 0;
    if (!ReadXzNumber(archive, position, end, records))
        return UINT64_MAX;
    uint64_t total = 0;
    for (uint64_t i = 0; i < records; i++) {
        uint64_t unpadded = 0;
        uint64_t uncompressed = 0;
        if (!ReadXzNumber(archive, position, end, unpadded) || !ReadXzNumber(archive, position, end, uncompressed))
            return UINT64_MAX;
        total += uncompressed;
    }
    return total;
}

DWORD ReadOneMemberOfUnknownSize(CArchive& archive, const unsigned char* magic, int n, const char32_t* cut,
                                 const char32_t* tarShorthand, bool xz) {
    unsigned char start[6];
    if (!ReadArchiveBytes(archive, 0, start, uint32_t(n)) || std::memcmp(start, magic, size_t(n)) != 0)
        return ArchiveNotRecognised;
    TArchiveEntry* item = NewArchiveEntry(&archive);
    if (!item)
        return ArchiveNotRecognised;
    item->unpackedSize = UINT64_MAX;
    item->packedSize = uint64_t(archive.file->KnownSize());
    item->time = TTimestamp(0xFFFFFFFF, 0xFFFFFFFF);
    SetArchiveEntryPath(archive, item, MemberNameFromArchive(archive, cut, tarShorthand), false);
    if (xz)
        item->unpackedSize = XzUncompressedSize(archive);
    AddArchiveEntry(archive, item);
    return 0;
}

}  // namespace

DWORD ReadGzipDirectory(CArchive& archive) {
    unsigned char* header = archive.header;
    if (!ReadArchiveBytes(archive, 0, header, 10) || header[0] != 0x1F || header[1] != 0x8B)
        return ArchiveNotRecognised;
    const unsigned flags = header[3];
    const uint32_t seconds = Le32(header + 4);
    int64_t position = 10;
    if (flags & 4) {
        unsigned char length[2];
        if (!ReadArchiveBytes(archive, position, length, 2))
            return ArchiveNotRecognised;
        position += 2 + Le16(length);
    }
    char name[1025];
    name[0] = 0;
    if ((flags & 8) && !ReadHeaderText(archive, position, name, sizeof name))
        return ArchiveNotRecognised;
    char comment[1025];
    if ((flags & 16) && !ReadHeaderText(archive, position, comment, sizeof comment))
        return ArchiveNotRecognised;
    if (flags & 2)
        position += 2;

    const int64_t size = archive.file->KnownSize();
    TArchiveEntry* item = NewArchiveEntry(&archive);
    if (!item)
        return ArchiveNotRecognised;
    item->packedSize = size > position ? uint64_t(size - position) : 0;
    unsigned char tail[4];
    if (size >= 4 && ReadArchiveBytes(archive, size - 4, tail, 4))
        item->unpackedSize = Le32(tail);
    item->time = TTimestamp(seconds, 0);
    Westring memberName;
    if (name[0] != 0) {
        memberName = DecodeArchiveName(name, ArchiveNameUtf8);
        for (int i = 0; i < memberName.Length(); i++)
            if (memberName[i] == '/')
                memberName.SetAt(i, '\\');
        memberName = ExtractFileName(memberName);
    } else {
        memberName = MemberNameFromArchive(archive, U"gz", U"tgz");
    }
    SetArchiveEntryPath(archive, item, memberName, false);
    AddArchiveEntry(archive, item);
    return 0;
}

DWORD ReadBzip2Directory(CArchive& archive) {
    static const unsigned char magic[3] = {0x42, 0x5A, 0x68};
    return ReadOneMemberOfUnknownSize(archive, magic, 3, U"bz2", U"tbz", false);
}

DWORD ReadXzDirectory(CArchive& archive) {
    static const unsigned char magic[6] = {0xFD, 0x37, 0x7A, 0x58, 0x5A, 0x00};
    return ReadOneMemberOfUnknownSize(archive, magic, 6, U"xz", U"txz", true);
}
