// The HA reader: a four-byte archive header, then the member headers.
#include <cstring>
#include <string>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"

namespace {

enum { HaDirectoryMethod = 14 };

// Bytes up to a zero byte or line feed, at most 299 of them; false when the
// file ends or no end comes in time.
bool ReadHaText(CArchive& archive, int64_t& position, std::string& text) {
    text.clear();
    for (;;) {
        uint32_t byte = archive.file->ByteAt(position++);
        if (byte == CRandomFile::NoByte)
            return false;
        if (byte == 0 || byte == '\n')
            return true;
        if (text.size() >= 299)
            return false;
        text.push_back(char(byte));
    }
}

}  // namespace

DWORD ReadHaDirectory(CArchive& archive) {
    unsigned char* header = archive.header;
    if (!ReadArchiveBytes(archive, 0, header, 4) || header[0] != 'H' || header[1] != 'A')
        return ArchiveNotRecognised;
    const int64_t size = archive.file->KnownSize();
    const bool emptyArchive = size == 4 && Le16(header + 2) == 0;
    int64_t position = 4;
    int members = 0;
    std::string path;
    std::string name;
    for (;;) {
        if (!ReadArchiveBytes(archive, position, header, 17) || (header[0] >> 4) >= 3)
            break;
        int64_t at = position + 17;
        if (!ReadHaText(archive, at, path) || !ReadHaText(archive, at, name))
            break;
        const uint32_t extra = archive.file->ByteAt(at++);
        const uint32_t packed = Le32(header + 1);
        // A member whose data runs past the end is no member: text that
        // happens to begin with "HA" ends here.
        if (extra == CRandomFile::NoByte || at + int64_t(extra) + int64_t(packed) > size)
            break;
        TArchiveEntry* item = NewArchiveEntry(&archive);
        if (!item)
            return ArchiveNotRecognised;
        item->packedSize = packed;
        item->unpackedSize = Le32(header + 5);
        item->time = TTimestamp::FromDosDateTime(header + 15, header + 13);
        for (char& c : path)
            if (c == '\xFF')
                c = '\\';
        while (!path.empty() && path.back() == '\\')
            path.pop_back();
        Westring directory = DecodeArchiveName(path.c_str(), ArchiveNameCodePage);
        Westring file = DecodeArchiveName(name.c_str(), ArchiveNameCodePage);
        if ((header[0] & 15) == HaDirectoryMethod) {
            item->attributes = FILE_ATTRIBUTE_DIRECTORY;
            SetArchiveEntryPath(archive, item, directory.IsEmpty() ? file : directory + U"\\" + file, true);
        } else {
            item->directory = StoreArchiveWideName(&archive, directory.Data());
            item->name = StoreArchiveWideName(&archive, file.Data());
        }
        AddArchiveEntry(archive, item);
        members++;
        position = at + int64_t(extra) + int64_t(packed);
    }
    archive.memberCount = uint32_t(archive.entries.Count());
    return members > 0 || emptyArchive ? 0 : ArchiveNotRecognised;
}
