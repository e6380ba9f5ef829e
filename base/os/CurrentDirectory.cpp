#include "base/os/CurrentDirectory.h"

#include "base/strings/Utf16String.h"
#include "base/os/PathNormalizer.h"
#include "base/os/Environment.h"

DWORD ChangeDirectory(const Westring& path) {
    if (!SetCurrentDirectoryW(Utf16String(path).Data())) {
        return GetLastError();
    }
    // Only a drive has a per-drive current directory to record; what is
    // recorded is the directory Windows made current, in its full form.
    if (!HasDrivePrefix(path)) {
        return 0;
    }
    WCHAR current[1024];
    DWORD n = GetCurrentDirectoryW(1024, current);
    Westring directory = (n > 0 && n < 1024) ? Westring(current) : path;
    char32_t letter = path[0];
    if (letter >= 'a' && letter <= 'z') {
        letter -= 'a' - 'A';
    }
    Westring name("=");
    name.AppendChar(letter);
    name.AppendChar(':');
    SetEnvironmentVariableW(Utf16String(name).Data(), Utf16String(directory).Data());
    TopEnvironment().Set(Estring(name), Estring(directory));
    return 0;
}

DWORD ChangeDrive(char32_t letter) {
    char drive[3] = {static_cast<char>(letter), ':', 0};
    if (!SetCurrentDirectoryA(drive)) {
        return GetLastError();
    }
    return 0;
}

namespace {

// The full path of "X:" (of "." for letter 0) into `full`, a trailing
// backslash removed unless the result is a root. False when the call fails or
// needs more room.
template <class Char, class GetFullPath>
bool DriveDirectory(char32_t letter, Char* full, DWORD room, GetFullPath getFullPath) {
    Char which[3] = {static_cast<Char>(letter), ':', 0};
    if (letter == 0) {
        which[0] = '.';
        which[1] = 0;
    }
    DWORD n = getFullPath(which, room, full, nullptr);
    if (n == 0 || n >= room) {
        return false;
    }
    if (n > 3 && full[n - 1] == '\\') {
        full[n - 1] = 0;
    }
    return true;
}

}  // namespace

Westring GetDriveCurrentDirectoryWide(char32_t letter) {
    WCHAR full[512];
    return DriveDirectory(letter, full, 512, GetFullPathNameW) ? Westring(full) : Westring();
}

Estring GetDriveCurrentDirectory(char letter) {
    char full[300];
    return DriveDirectory(static_cast<unsigned char>(letter), full, 300, GetFullPathNameA) ? Estring(full) : Estring();
}

char GetCurrentDriveLetter() {
    return GetDriveCurrentDirectory(0)[0];
}
