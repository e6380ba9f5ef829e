#include "base/os/FilePrimitives.h"

#include "base/os/FileAttributes.h"
#include "base/os/Links.h"
#include "base/strings/Utf16String.h"

namespace {

DWORD Result(BOOL done) {
    return done ? 0 : GetLastError();
}

}  // namespace

DWORD MakeDirectory(const Westring& path) {
    return Result(CreateDirectoryW(Utf16String(path).Data(), nullptr));
}

DWORD RemoveEmptyDirectory(const Westring& path) {
    return Result(RemoveDirectoryW(Utf16String(path).Data()));
}

DWORD RenameFile(const Westring& oldPath, const Westring& newPath) {
    return Result(MoveFileW(Utf16String(oldPath).Data(), Utf16String(newPath).Data()));
}

DWORD DeleteFileOrLink(const Westring& path) {
    DWORD attributes;
    DWORD error = ReadFileAttributes(path, attributes);
    if (error != 0) {
        return error;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return DeleteLink(path);
    }
    return Result(DeleteFileW(Utf16String(path).Data()));
}

int ApplyRenameMask(const Westring& source, const Westring& mask, Westring& target) {
    target.Clear();
    int at = 0;  // read position in the source
    int length = source.Length();
    for (int i = 0; i < mask.Length(); i++) {
        char32_t c = mask[i];
        if (c == '*') {
            while (at < length && source[at] != '.') {
                target.AppendChar(source[at++]);
            }
        } else if (c == '?') {
            if (at < length) {
                target.AppendChar(source[at++]);
            }
        } else if (c == '.') {
            while (at < length && source[at] != '.') {
                at++;
            }
            target.AppendChar('.');
            if (at < length) {
                at++;
            }
        } else {
            target.AppendChar(c);
        }
    }
    return 0;
}
