// The 7z reader: the file table of the archive's header database.
#include <cstring>

#include "archive/ArchiveReaderSupport.h"
#include "archive/ArchiveReaders.h"
#include "archive/SevenZipDatabase.h"

DWORD Read7zDirectory(CArchive& archive) {
    static const unsigned char signature[6] = {0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C};
    unsigned char start[6];
    if (!ReadArchiveBytes(archive, 0, start, 6) || std::memcmp(start, signature, 6) != 0)
        return ArchiveNotRecognised;
    C7zDatabase database;
    auto readAt = [&archive](uint64_t offset, void* buffer, size_t n) {
        return offset <= uint64_t(INT64_MAX) && n <= 0xFFFFFFFFu &&
               ReadArchiveBytes(archive, int64_t(offset), buffer, uint32_t(n));
    };
    if (!database.Read(readAt, uint64_t(archive.file->KnownSize())))
        return ArchiveNotRecognised;

    TTimestamp fileTime;
    archive.file->GetModifyTime(fileTime);
    Westring unnamed = ExtractFileName(archive.filePath);
    if (unnamed.FindLast('.') >= 0)
        unnamed = unnamed.Left(unnamed.FindLast('.'));
    int64_t unpackedTotal = 0;
    for (const C7zDatabase::TFile& file : database.files) {
        TArchiveEntry* item = NewArchiveEntry(&archive);
        if (!item)
            return ArchiveNotRecognised;
        Westring name;
        if (database.namesStored) {
            std::u16string units = file.name;
            units.push_back(0);
            name.AssignUtf16(reinterpret_cast<const WCHAR*>(units.data()));
            for (int i = 0; i < name.Length(); i++)
                if (name[i] == '/')
                    name.SetAt(i, '\\');
        } else {
            name = unnamed;
        }
        item->unpackedSize = file.size;
        item->packedSize = UINT64_MAX;  // members share packed streams
        item->time = file.hasTime ? TTimestamp::FromFileTime(file.fileTime) : fileTime;
        if (file.isDirectory) {
            item->attributes = FILE_ATTRIBUTE_DIRECTORY;
        } else {
            unpackedTotal += int64_t(file.size);
        }
        SetArchiveEntryPath(archive, item, name, file.isDirectory);
        AddArchiveEntry(archive, item);
    }
    archive.unpackedTotal = unpackedTotal;
    archive.packedTotal = int64_t(database.packedTotal);
    return 0;
}
