// The LHA reader: header levels 0 and 1.
#include <cstring>
#include <string>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"

namespace {

bool IsLhaMethod(const unsigned char* header) {
    return header[2] == 0x2D && header[3] == 0x6C && header[4] == 0x68 && header[6] == 0x2D;
}

// The first "-lh?-" behind a self-extracting program; the offset of the
// header that holds it, or -1.
int64_t FindLhaHeader(CArchive& archive) {
    static const unsigned char mark[3] = {0x2D, 0x6C, 0x68};
    int64_t from = 7;
    for (;;) {
        int64_t found = FindArchiveMark(archive, from, 0xFFFF, mark, 3);
        if (found < 0)
            return -1;
        if (archive.file->ByteAt(found + 4) == 0x2D && found >= 2)
            return found - 2;
        from = found + 1;
    }
}

}  // namespace

DWORD ReadLhaDirectory(CArchive& archive) {
    unsigned char* header = archive.header;
    int64_t position = 0;
    if (!ReadArchiveBytes(archive, 0, header, 7))
        return ArchiveNotRecognised;
    if (!IsLhaMethod(header)) {
        if (header[0] != 'M' || header[1] != 'Z')
            return ArchiveNotRecognised;
        position = FindLhaHeader(archive);
        if (position < 0)
            return ArchiveNotRecognised;
    }
    for (;;) {
        if (!ReadArchiveBytes(archive, position, header, 1) || header[0] == 0)
            return 0;
        const int headerSize = header[0];
        if (!ReadArchiveBytes(archive, header + 1, uint32_t(headerSize - 1)))
            return 0;
        position += headerSize;
        // Level 2 and later lay the header out differently.
        if (headerSize < 22 || header[20] > 1)
            return 0;
        TArchiveEntry* item = NewArchiveEntry(&archive);
        if (!item)
            return ArchiveNotRecognised;
        const uint32_t packed = Le32(header + 7);
        item->packedSize = packed;
        item->unpackedSize = Le32(header + 11);
        item->time = TTimestamp::FromDosDateTime(header + 17, header + 15);
        int nameLength = header[21];
        if (nameLength > headerSize - 22)
            nameLength = headerSize - 22;
        for (int i = 1; i < headerSize; i++)
            if (header[i] == '/' && i >= 22 && i < 22 + nameLength)
                header[i] = '\\';
        item->attributes = header[headerSize - 1] == '\\' ? FILE_ATTRIBUTE_DIRECTORY : 0;
        std::string name(reinterpret_cast<const char*>(header + 22), size_t(nameLength));
        SetArchiveEntryPath(archive, item, DecodeArchiveName(name.c_str(), ArchiveNameCodePage), false);
        // Extended-attribute files of OS/2 are no members of their own.
        const bool extendedAttributes = Westring(item->directory).EqualsNoCase(Westring("EAS")) ||
                                        Westring(item->name).EqualsNoCase(Westring("Apply-Ea.Cmd"));
        if (!extendedAttributes)
            AddArchiveEntry(archive, item);
        position += int64_t(packed) + 2;
    }
}
