#include "shell/TempDriveMapping.h"

#include "base/os/CurrentDirectory.h"
#include "base/os/PathNormalizer.h"
#include "base/os/SystemError.h"
#include "base/strings/Str32.h"
#include "base/strings/Utf16String.h"

CTempDriveMappingSet TempDriveMappings;

TShareDescriptor TShareDescriptor::FromPath(const Westring& path) {
    Westring root = UncShareRoot(path).Mid(2, path.Length());
    TShareDescriptor key;
    int slash = root.Find('\\');
    key.server = slash < 0 ? root : root.Left(slash);
    key.share = slash < 0 ? Westring() : root.Mid(slash + 1, root.Length());
    return key;
}

int TShareDescriptor::Compare(const TShareDescriptor& other) const {
    int byServer = Str32CompareNoCase(server.Data(), other.server.Data());
    return byServer != 0 ? byServer : Str32CompareNoCase(share.Data(), other.share.Data());
}

CTempDriveMapping::~CTempDriveMapping() {
    Unmap();
}

bool CTempDriveMapping::Map(const Westring& path) {
    Westring remote = UncShareRoot(path);
    descriptor = TShareDescriptor::FromPath(path);
    DWORD used = GetLogicalDrives();
    char32_t free = 0;
    // C: and the letters before it are never taken.
    for (char32_t candidate = 'Z'; candidate >= 'D' && free == 0; candidate--) {
        if ((used & (1u << (candidate - 'A'))) == 0) {
            free = candidate;
        }
    }
    if (free == 0) {
        error = ERROR_INVALID_DRIVE;
        return false;
    }
    Westring local;
    local.AppendChar(free);
    local += Westring(":");
    Utf16String localName(local);
    Utf16String remoteName(remote);
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = localName.Data();
    resource.lpRemoteName = remoteName.Data();
    error = WNetAddConnection2W(&resource, nullptr, nullptr, 0);
    // Only a letter this mapping connected is ever cancelled by it.
    letter = error == 0 ? free : 0;
    return error == 0;
}

bool CTempDriveMapping::Unmap() {
    if (letter == 0) {
        return true;
    }
    // The process's own current directory must not hold the drive.
    char windows[500];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length > 0 && length < sizeof windows) {
        ChangeDirectory(Westring(windows));
    }
    char name[3] = {static_cast<char>(letter), ':', 0};
    error = WNetCancelConnectionA(name, FALSE);
    if (error != 0) {
        return false;
    }
    letter = 0;
    return true;
}

Westring CTempDriveMapping::ErrorText() const {
    return FormatSystemError(error);
}

CTempDriveMapping* CTempDriveMappingSet::MapPath(const Westring& path) {
    TShareDescriptor key = TShareDescriptor::FromPath(path);
    CTempDriveMapping* mapping = Find(&key);
    if (mapping == nullptr) {
        UnmapAll();
        mapping = new CTempDriveMapping;
        if (!mapping->Map(path)) {
            lastError = mapping->ErrorText();
            delete mapping;
            return nullptr;
        }
        Insert(mapping);
    }
    // The same directory under the letter: the part after the share root.
    Westring directory;
    directory.AppendChar(mapping->Letter());
    directory += Westring(":\\");
    Westring root = UncShareRoot(path);
    if (path.Length() > root.Length() + 1) {
        directory += path.Mid(root.Length() + 1, path.Length());
    }
    ChangeDirectory(directory);
    return mapping;
}

void CTempDriveMappingSet::UnmapAll() {
    for (int i = 0; i < Count();) {
        CTempDriveMapping* mapping = At(i);
        if (mapping->Unmap()) {
            delete RemoveAt(i);
        } else {
            i++;
        }
    }
}
