#include "base/os/FileProperties.h"
#include "base/os/ProcLookup.h"

#include <cstring>

#include "base/os/CWinHandle.h"
#include "base/os/FileAttributes.h"
#include "base/os/Links.h"
#include "base/strings/Timestamp.h"
#include "base/strings/Utf16String.h"

namespace {

struct TAttributeWord {
    DWORD bit;
    const char* word;
};

const TAttributeWord AttributeWords[] = {
    {FILE_ATTRIBUTE_REPARSE_POINT, " Link"},    {FILE_ATTRIBUTE_READONLY, " Read-Only"},
    {FILE_ATTRIBUTE_HIDDEN, " Hidden"},         {FILE_ATTRIBUTE_SYSTEM, " System"},
    {FILE_ATTRIBUTE_ARCHIVE, " Archive"},       {FILE_ATTRIBUTE_SPARSE_FILE, " Sparse"},
    {FILE_ATTRIBUTE_COMPRESSED, " Compressed"}, {FILE_ATTRIBUTE_ENCRYPTED, " Encrypted"},
};

Westring TimeText(const FILETIME& time) {
    return Westring(TTimestamp::FromFileTime(time).Format().Data());
}

// The stream information of the native API; Windows declares it only for
// drivers. Sizes and offsets are in bytes.
struct TIoStatus {
    union {
        LONG status;
        void* pointer;
    };
    ULONG_PTR information;
};
const int FileStreamInformationClass = 22;
const size_t StreamNameLengthAt = 4;
const size_t StreamSizeAt = 8;
const size_t StreamNameAt = 24;
typedef LONG(WINAPI* TNtQueryInformationFile)(HANDLE file, TIoStatus* status, void* buffer, ULONG length,
                                              int informationClass);

TNtQueryInformationFile QueryInformationEntry() {
    static TNtQueryInformationFile entry = []() -> TNtQueryInformationFile {
        HMODULE library = LoadLibraryA("ntdll.dll");
        if (library == nullptr) {
            return nullptr;
        }
        return LookupProc<TNtQueryInformationFile>(library, "NtQueryInformationFile");
    }();
    return entry;
}

// One "Alternate Stream" row per named data stream: its name without the
// ":$DATA" ending, then its size.
void AddStreamRows(const Westring& path, CFileInfoItems& rows) {
    TNtQueryInformationFile query = QueryInformationEntry();
    if (query == nullptr) {
        return;
    }
    HANDLE h = CreateFileW(Utf16String(path).Data(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return;
    }
    CWinHandle file(h);
    const ULONG room = 65536;
    unsigned char* buffer = new unsigned char[room];
    memset(buffer, 0, room);
    TIoStatus status;
    memset(&status, 0, sizeof status);
    if (query(h, &status, buffer, room, FileStreamInformationClass) >= 0) {
        const Westring dataEnding(":$DATA");
        size_t at = 0;
        while (at + StreamNameAt <= room) {
            ULONG next, nameBytes;
            LONGLONG size;
            memcpy(&next, buffer + at, 4);
            memcpy(&nameBytes, buffer + at + StreamNameLengthAt, 4);
            memcpy(&size, buffer + at + StreamSizeAt, 8);
            if (nameBytes > room - at - StreamNameAt) {
                break;
            }
            Utf16String units;
            units.Assign(reinterpret_cast<const WCHAR*>(buffer + at + StreamNameAt), int(nameBytes / 2));
            Westring name(units.Data());
            if (name.Right(dataEnding.Length()).EqualsNoCase(dataEnding)) {
                name = name.DropRight(dataEnding.Length());
            }
            // The unnamed stream is the file's own data.
            if (!name.IsEmpty() && !name.EqualsExact(Westring(":"))) {
                Estring sizeText = " (" + Int64ToEstring(size) + ")";
                rows.Add("Alternate Stream", name + Westring(sizeText.Data()));
            }
            if (next == 0) {
                break;
            }
            at += next;
        }
    }
    delete[] buffer;
}

}  // namespace

bool GetFileProperties(const Westring& path, CFileInfoItems& rows) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Utf16String(path).Data(), GetFileExInfoStandard, &data)) {
        return false;
    }
    int64_t size = (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rows.Add("Size", FormatSizeShortAndFull(size));
    rows.Add("Creation Time", TimeText(data.ftCreationTime));
    rows.Add("Access Time", TimeText(data.ftLastAccessTime));
    rows.Add("Modified Time", TimeText(data.ftLastWriteTime));

    Westring shortName = GetShortName(path);
    if (!shortName.EqualsExact(path)) {
        rows.Add("Short Name", ExtractFileName(shortName));
    }
    DWORD attributes = data.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        rows.Add("Target", GetLinkTarget(path));
    }
    if (attributes & FILE_ATTRIBUTE_COMPRESSED) {
        DWORD high = 0;
        DWORD low = GetCompressedFileSizeW(Utf16String(path).Data(), &high);
        if (!(low == INVALID_FILE_SIZE && GetLastError() != 0)) {
            rows.Add("Compressed Size", FormatSizeShortAndFull((int64_t(high) << 32) | low));
        }
    }
    Estring words;
    for (const TAttributeWord& item : AttributeWords) {
        if (attributes & item.bit) {
            words += item.word;
        }
    }
    if (!words.IsEmpty()) {
        rows.Add("Attributes", Westring(words.Data()));
    }
    AddStreamRows(path, rows);
    return true;
}
