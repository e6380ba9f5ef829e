// The ACE reader: a main header, then one file header per member.
#include <cstring>
#include <string>

#include "archive/AceReader.h"
#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"

namespace {

const unsigned char AceSignature[7] = {'*', '*', 'A', 'C', 'E', '*', '*'};
enum { AceMain = 0, AceFile = 1 };

}  // namespace

DWORD ReadAceHeader(CArchive& archive, int64_t& position) {
    unsigned char* header = archive.header;
    if (!ReadArchiveBytes(archive, position, header, 4))
        return ArchiveNotRecognised;
    const int size = Le16(header + 2);
    if (size > 8188 || !ReadArchiveBytes(archive, header + 4, uint32_t(size)))
        return ArchiveNotRecognised;
    // Fields past the header's own size read as zeros.
    std::memset(header + 4 + size, 0, size_t(8192 - 4 - size));
    position += 4 + size;
    if (header[4] == AceFile)
        position += Le32(header + 7);
    return 0;
}

DWORD ReadAceDirectory(CArchive& archive) {
    unsigned char* header = archive.header;
    int64_t position = 0;
    const bool read = ReadAceHeader(archive, position) == 0;
    if (!read || std::memcmp(header + 7, AceSignature, 7) != 0) {
        unsigned char start[2];
        if (!ReadArchiveBytes(archive, 0, start, 2) || start[0] != 'M' || start[1] != 'Z')
            return ArchiveNotRecognised;
        int64_t found = FindArchiveMark(archive, 7, 0xFFFF, AceSignature, 7);
        if (found < 0)
            return ArchiveNotRecognised;
        position = found - 7;
        if (ReadAceHeader(archive, position) != 0)
            return ArchiveNotRecognised;
    }
    if (header[4] != AceMain)
        return ArchiveNotRecognised;
    for (;;) {
        if (ReadAceHeader(archive, position) != 0)
            return 0;
        if (header[4] != AceFile)
            continue;
        const int size = Le16(header + 2);
        TArchiveEntry* item = NewArchiveEntry(&archive);
        if (!item)
            return ArchiveNotRecognised;
        item->packedSize = Le32(header + 7);
        item->unpackedSize = Le32(header + 11);
        item->time = TTimestamp::FromDosDateTime(header + 17, header + 15);
        item->attributes = Le16(header + 19);
        // The name lies inside the header, whatever its size field says.
        int nameSize = Le16(header + 33);
        if (nameSize > 4 + size - 35)
            nameSize = 4 + size - 35 > 0 ? 4 + size - 35 : 0;
        std::string name(reinterpret_cast<const char*>(header + 35), size_t(nameSize));
        name = name.c_str();
        for (char& c : name)
            if (c == '/')
                c = '\\';
        SetArchiveEntryPath(archive, item, DecodeArchiveName(name.c_str(), ArchiveNameCodePage),
                            (item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        AddArchiveEntry(archive, item);
    }
}
