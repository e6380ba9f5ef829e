#include "fileops/ReadableDirectory.h"

#include "base/strings/Utf16String.h"
#include "platform/win32.h"

bool IsDirectoryReadable(const Westring& path) {
    if (path.IsEmpty()) {
        return false;
    }
    Westring pattern = AddTrailingBackslash(path) + Westring("*");
    Utf16String wide(pattern);
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW(wide.Data(), &record);
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        return true;
    }
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
}
