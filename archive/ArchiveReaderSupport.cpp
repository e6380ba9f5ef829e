#include "archive/ArchiveReaderSupport.h"

#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Str32.h"

bool ReadArchiveBytes(CArchive& archive, int64_t offset, void* buffer, uint32_t n) {
    if (offset < 0)
        return false;
    archive.file->SetPosition(offset);
    return ReadArchiveBytes(archive, buffer, n);
}

bool ReadArchiveBytes(CArchive& archive, void* buffer, uint32_t n) {
    if (n == 0)
        return true;
    return archive.file->Read(buffer, n) == 0;
}

CArchiveReadWindow::CArchiveReadWindow(CArchive& owner, uint32_t size)
    : archive(owner), start(0), filled(0), piece(size) {}

const unsigned char* CArchiveReadWindow::At(int64_t offset, uint32_t n) {
    if (offset < 0)
        return nullptr;
    if (offset >= start && uint64_t(offset - start) + n <= filled)
        return bytes.data() + (offset - start);
    uint32_t want = n > piece ? n : piece;
    if (bytes.size() < want)
        bytes.resize(want);
    uint32_t count = want;
    if (archive.file->ReadAt(offset, bytes.data(), count) != 0 && count == 0) {
        filled = 0;
        return nullptr;
    }
    start = offset;
    filled = count;
    return count >= n ? bytes.data() : nullptr;
}

int64_t FindArchiveMark(CArchive& archive, int64_t from, int64_t last, const unsigned char* mark, int n) {
    CRandomFile* file = archive.file;
    for (int64_t at = from; at <= last; at++) {
        uint32_t first = file->ByteAt(at);
        if (first == CRandomFile::NoByte)
            return -1;
        if (first != mark[0])
            continue;
        int i = 1;
        while (i < n && file->ByteAt(at + i) == mark[i])
            i++;
        if (i == n)
            return at;
    }
    return -1;
}

Westring DecodeArchiveName(const char* bytes, TArchiveNameCoding coding) {
    Westring text;
    if (coding == ArchiveNameUtf8)
        text.AssignUtf8(bytes);
    else
        text.AssignCodePage(bytes, ConsoleOutputCodePage);
    return text;
}

void SetArchiveEntryPath(CArchive& archive, TArchiveEntry* item, const Westring& path, bool asDirectory) {
    if (asDirectory) {
        item->directory = StoreArchiveWideName(&archive, RemoveTrailingBackslash(path).Data());
        return;
    }
    int slash = path.FindLast('\\');
    if (slash < 0) {
        item->name = StoreArchiveWideName(&archive, path.Data());
        return;
    }
    item->directory = StoreArchiveWideName(&archive, path.Left(slash).Data());
    item->name = StoreArchiveWideName(&archive, path.Data() + slash + 1);
}

namespace {

bool IsParentComponent(const char32_t* p, int n) {
    return n == 2 && p[0] == '.' && p[1] == '.';
}

// The directory path without a drive prefix, leading or doubled backslashes
// and "." components; false when a component is "..".
bool MakeSafeDirectory(const char32_t* path, Westring& safe) {
    if (path[0] != 0 && path[1] == ':')
        path += 2;
    safe.Clear();
    while (*path) {
        const char32_t* end = Str32FindChar(path, '\\');
        int n = end ? int(end - path) : Str32Length(path);
        if (IsParentComponent(path, n))
            return false;
        bool dot = n == 1 && path[0] == '.';
        if (n > 0 && !dot) {
            if (!safe.IsEmpty())
                safe.AppendChar('\\');
            Westring part;
            part.Assign(path, n);
            safe += part;
        }
        path += n;
        if (*path == '\\')
            path++;
    }
    return true;
}

}  // namespace

bool AddArchiveEntry(CArchive& archive, TArchiveEntry* item) {
    NormalizeArchiveEntryPath(&archive, item);
    if (Str32FindChar(item->name, '\\') || Str32Compare(item->name, U"..") == 0 || Str32Compare(item->name, U".") == 0)
        return false;
    Westring safe;
    if (!MakeSafeDirectory(item->directory, safe))
        return false;
    if (Str32Compare(safe.Data(), item->directory) != 0)
        item->directory = StoreArchiveWideName(&archive, safe.Data());
    archive.entries.Add(item);
    archive.memberCount = uint32_t(archive.entries.Count());
    return true;
}
