// The registry of a system that keeps its settings elsewhere: the shell
// folders key and its "Desktop" value, read from the XDG user directories.
#include "platform/win32.h"

#include "platform/posix/Paths.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

using w32::WString;

// The one key there is; its address is its handle.
char ShellFoldersKey;

HKEY ShellFolders() {
    return reinterpret_cast<HKEY>(&ShellFoldersKey);
}

const WCHAR ShellFoldersPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Home() {
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

// XDG_DESKTOP_DIR of user-dirs.dirs ("$HOME/..." or an absolute path, in
// double quotes), else $HOME/Desktop.
std::string DesktopFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base = config != nullptr && config[0] == '/' ? config : Home() + "/.config";
    std::ifstream dirs(base + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    while (std::getline(dirs, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) {
            continue;
        }
        std::string value = line.substr(start + key.size());
        size_t end = value.find_last_not_of(" \t\r");
        value = end == std::string::npos ? std::string() : value.substr(0, end + 1);
        if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
            continue;
        }
        value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            value = Home() + value.substr(5);
        }
        if (!value.empty() && value[0] == '/') {
            return value;
        }
    }
    return Home() + "/Desktop";
}

}  // namespace

LONG WINAPI RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    if (key == HKEY_CURRENT_USER && subKey != nullptr && w32::EqualNoCase(WString(subKey), ShellFoldersPath)) {
        *result = ShellFolders();
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG WINAPI RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (key != ShellFolders()) {
        return ERROR_INVALID_HANDLE;
    }
    if (valueName == nullptr || !w32::EqualNoCase(WString(valueName), u"Desktop")) {
        return ERROR_FILE_NOT_FOUND;
    }
    WString folder;
    if (!w32::ToWindowsPath(DesktopFolder(), folder)) {
        return ERROR_FILE_NOT_FOUND;
    }
    DWORD needed = static_cast<DWORD>((folder.size() + 1) * sizeof(WCHAR));
    if (type != nullptr) {
        *type = REG_SZ;
    }
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = needed;
        }
        return ERROR_SUCCESS;
    }
    if (dataSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (*dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, folder.c_str(), needed);
    *dataSize = needed;
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY key) {
    return key == ShellFolders() ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
