// The RAR reader (versions 1.5 to 4): walks the blocks from the marker on.
#include <cstring>
#include <string>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"
#include "archive/RarReader.h"
#include "ui/ConsoleControl.h"

namespace {

const unsigned char RarMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};

enum { RarArchiveHeader = 0x73, RarFileHeader = 0x74 };
enum { RarLongBlock = 0x8000, RarLargeSizes = 0x100, RarUnicodeName = 0x200, RarDirectoryBits = 0xE0 };

}  // namespace

DWORD ReadRarBlockHeader(CArchive& archive, TRarBlock& block) {
    unsigned char* bytes = archive.header;
    if (block.bytesRead != 0) {
        if ((block.flags & RarLongBlock) && block.bytesRead < 11) {
            if (!ReadArchiveBytes(archive, block.start + block.bytesRead, bytes + block.bytesRead,
                                  uint32_t(11 - block.bytesRead)))
                return ArchiveNotRecognised;
            block.bytesRead = 11;
        }
        int64_t added = (block.flags & RarLongBlock) ? int64_t(Le32(bytes + 7)) : 0;
        if ((block.flags & RarLargeSizes) && (block.flags & RarLongBlock) && block.headerSize >= 36) {
            // Members of 4 GiB and more keep the high half of their packed
            // size in the header.
            unsigned char high[4];
            if (block.bytesRead >= 36)
                std::memcpy(high, bytes + 32, 4);
            else if (!ReadArchiveBytes(archive, block.start + 32, high, 4))
                return ArchiveNotRecognised;
            added += int64_t(Le32(high)) << 32;
        }
        block.start += block.headerSize + added;
    }
    if (!ReadArchiveBytes(archive, block.start, bytes, 7))
        return ArchiveNotRecognised;
    block.bytesRead = 7;
    block.type = bytes[2];
    block.flags = Le16(bytes + 3);
    block.headerSize = Le16(bytes + 5);
    return 0;
}

Westring DecodeRarUnicodeName(const unsigned char* field, int size) {
    int zero = 0;
    while (zero < size && field[zero] != 0)
        zero++;
    Westring name;
    if (zero == size) {
        std::string bytes(reinterpret_cast<const char*>(field), size_t(size));
        name.AssignUtf8(bytes.c_str());
        return name;
    }
    const unsigned char* narrow = field;
    const int narrowLength = zero;
    int at = zero + 1;
    if (at >= size)
        return name;
    const char32_t high = char32_t(field[at++]) << 8;
    unsigned flags = 0;
    int flagBits = 0;
    while (at < size) {
        if (flagBits == 0) {
            flags = field[at++];
            flagBits = 8;
            continue;
        }
        const unsigned code = (flags >> 6) & 3;
        flags <<= 2;
        flagBits -= 2;
        if (code == 0) {
            name.AppendChar(field[at++]);
        } else if (code == 1) {
            name.AppendChar(high | field[at++]);
        } else if (code == 2) {
            if (at + 2 > size)
                break;
            name.AppendChar(char32_t(Le16(field + at)));
            at += 2;
        } else {
            const unsigned length = field[at++];
            unsigned correction = 0;
            if (length & 0x80) {
                if (at >= size)
                    break;
                correction = field[at++];
            }
            const unsigned count = (length & 0x7F) + 2;
            for (unsigned i = 0; i < count && name.Length() < narrowLength; i++) {
                unsigned char byte = narrow[name.Length()];
                name.AppendChar((length & 0x80) ? (high | ((byte + correction) & 0xFF)) : char32_t(byte));
            }
        }
    }
    // A unit 0 would end the name early anywhere else.
    int end = name.Find(char32_t(0));
    return end >= 0 ? name.Left(end) : name;
}

DWORD ReadRarDirectory(CArchive& archive) {
    unsigned char* bytes = archive.header;
    int64_t start = 0;
    if (!ReadArchiveBytes(archive, 0, bytes, 7))
        return ArchiveNotRecognised;
    if (std::memcmp(bytes, RarMarker, 7) != 0) {
        if (bytes[0] != 'M' || bytes[1] != 'Z')
            return ArchiveNotRecognised;
        start = FindArchiveMark(archive, 7, 0x1FFFF, RarMarker, 7);
        if (start < 0)
            return ArchiveNotRecognised;
    }
    TRarBlock block;
    block.start = start;
    if (ReadRarBlockHeader(archive, block) != 0 || ReadRarBlockHeader(archive, block) != 0 ||
        block.type != RarArchiveHeader || block.headerSize < 7)
        return ArchiveNotRecognised;
    for (;;) {
        if (ReadRarBlockHeader(archive, block) != 0)
            return 0;
        if (block.headerSize < 7) {
            ReportArchiveError(&archive, Westring("Error in RAR header"), archive.filePath, 0);
            return ArchiveNotRecognised;
        }
        if (block.type == RarFileHeader) {
            if (block.headerSize > 8192) {
                ReportArchiveError(&archive, Westring("Error in RAR header"), archive.filePath, 0);
                return ArchiveNotRecognised;
            }
            if (ReadArchiveBytes(archive, block.start + 7, bytes + 7, uint32_t(block.headerSize - 7))) {
                block.bytesRead = block.headerSize;
                const int fixed = (block.flags & RarLargeSizes) ? 40 : 32;
                if (block.headerSize >= fixed) {
                    TArchiveEntry* item = NewArchiveEntry(&archive);
                    if (!item)
                        return ArchiveNotRecognised;
                    item->packedSize = Le32(bytes + 7);
                    item->unpackedSize = Le32(bytes + 11);
                    if (block.flags & RarLargeSizes) {
                        item->packedSize |= uint64_t(Le32(bytes + 32)) << 32;
                        item->unpackedSize |= uint64_t(Le32(bytes + 36)) << 32;
                    }
                    // The name lies inside the header, whatever its size field says.
                    int nameSize = Le16(bytes + 26);
                    if (nameSize > block.headerSize - fixed)
                        nameSize = block.headerSize - fixed;
                    const unsigned char* field = bytes + fixed;
                    Westring name;
                    if (block.flags & RarUnicodeName) {
                        name = DecodeRarUnicodeName(field, nameSize);
                    } else {
                        std::string narrow(reinterpret_cast<const char*>(field), size_t(nameSize));
                        name = DecodeArchiveName(narrow.c_str(), ArchiveNameCodePage);
                    }
                    for (int i = 0; i < name.Length(); i++)
                        if (name[i] == '/')
                            name.SetAt(i, '\\');
                    item->time = TTimestamp::FromDosDateTime(bytes + 22, bytes + 20);
                    const unsigned host = bytes[15];
                    item->attributes = host <= 2 ? uint16_t(Le32(bytes + 28) & 0x36) : 0;
                    const bool isDirectory = (block.flags & RarDirectoryBits) == RarDirectoryBits;
                    if (isDirectory)
                        item->attributes |= FILE_ATTRIBUTE_DIRECTORY;
                    SetArchiveEntryPath(archive, item, name, isDirectory);
                    if (AddArchiveEntry(archive, item))
                        item->dotted = 0;
                }
            }
        }
        if (UserAbortState == UserAbortRequested)
            return ArchiveNotRecognised;
    }
}
