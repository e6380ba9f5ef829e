// The ARJ reader: the main header, then one local header per member.
#include <cstring>
#include <string>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"

namespace {

enum { ArjMainHeader = 2, ArjDirectory = 3 };
enum { ArjHostUnix = 2, ArjHostNext = 8 };

bool IsArjId(const unsigned char* p) {
    return p[0] == 0x60 && p[1] == 0xEA;
}

// The main header behind a self-extracting program: a header id whose
// header looks like a main header. -1 when there is none.
int64_t FindArjMainHeader(CArchive& archive) {
    static const unsigned char mark[2] = {0x60, 0xEA};
    int64_t from = 4;
    unsigned char candidate[33];
    for (;;) {
        int64_t found = FindArchiveMark(archive, from, 0x1FFFF, mark, 2);
        if (found < 0)
            return -1;
        if (ReadArchiveBytes(archive, found, candidate, 33) && Le16(candidate + 2) < 2601 && candidate[4] < 41 &&
            candidate[10] == ArjMainHeader)
            return found;
        from = found + 1;
    }
}

}  // namespace

DWORD ReadArjDirectory(CArchive& archive) {
    unsigned char* header = archive.header;
    int64_t start = 0;
    if (!ReadArchiveBytes(archive, 0, header, 4))
        return ArchiveNotRecognised;
    if (!IsArjId(header)) {
        if (header[0] != 'M' || header[1] != 'Z')
            return ArchiveNotRecognised;
        start = FindArjMainHeader(archive);
        if (start < 0 || !ReadArchiveBytes(archive, start, header, 4))
            return ArchiveNotRecognised;
    }
    int64_t position = start + 4 + Le16(header + 2) + 6;
    int members = 0;
    for (;;) {
        if (!ReadArchiveBytes(archive, position, header, 4))
            break;
        const int basicSize = Le16(header + 2);
        if (!IsArjId(header) || basicSize == 0 || basicSize > 8187)
            break;
        unsigned char* basic = header + 4;
        if (!ReadArchiveBytes(archive, basic, uint32_t(basicSize)))
            break;
        const int firstSize = basic[0];
        // The fixed part must hold the sizes, and the name must lie inside.
        if (basicSize < 20 || firstSize < 20 || firstSize >= basicSize)
            break;
        basic[basicSize] = 0;
        TArchiveEntry* item = NewArchiveEntry(&archive);
        if (!item)
            return ArchiveNotRecognised;
        const uint32_t packed = Le32(basic + 12);
        item->packedSize = packed;
        item->unpackedSize = Le32(basic + 16);
        // Archives made on Unix-like hosts keep Unix time in the same field.
        const unsigned host = basic[3];
        if (host == ArjHostUnix || host == ArjHostNext)
            item->time = TTimestamp(Le32(basic + 8), 0);
        else
            item->time = TTimestamp::FromDosDateTime(basic + 10, basic + 8);
        std::string name(reinterpret_cast<const char*>(basic + firstSize));
        for (char& c : name)
            if (c == '/')
                c = '\\';
        const bool isDirectory = basic[6] == ArjDirectory;
        item->attributes = isDirectory ? FILE_ATTRIBUTE_DIRECTORY : 0;
        SetArchiveEntryPath(archive, item, DecodeArchiveName(name.c_str(), ArchiveNameCodePage), isDirectory);
        AddArchiveEntry(archive, item);
        members++;

        position += 4 + basicSize + 4;
        unsigned char extended[2];
        for (;;) {
            if (!ReadArchiveBytes(archive, position, extended, 2))
                return members > 0 ? 0 : ArchiveNotRecognised;
            position += 2;
            if (Le16(extended) == 0)
                break;
            position += Le16(extended) + 4;
        }
        position += packed;
    }
    return members > 0 ? 0 : ArchiveNotRecognised;
}
