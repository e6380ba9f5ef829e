#include "base/os/CReadOnlyGuard.h"

#include "base/os/FileAttributes.h"

DWORD CReadOnlyGuard::Clear(const Westring& newPath) {
    path = newPath;
    cleared = false;
    DWORD attributes;
    DWORD error = ReadFileAttributes(path, attributes);
    if (error == 0) {
        error = WriteFileAttributes(path, attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    }
    cleared = error == 0;
    return error;
}

DWORD CReadOnlyGuard::Restore() {
    if (!cleared) {
        return 0;
    }
    cleared = false;
    DWORD attributes;
    DWORD error = ReadFileAttributes(path, attributes);
    if (error == 0) {
        error = WriteFileAttributes(path, attributes | FILE_ATTRIBUTE_READONLY);
    }
    return error;
}
