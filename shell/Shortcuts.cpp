#include "shell/Shortcuts.h"

#include "base/os/SystemError.h"
#include "base/strings/Utf16String.h"
#include "platform/win32.h"
#include "ui/MessageBox.h"

namespace {

const char ShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void Report(const char* text, DWORD code) {
    ShowMessageBox(Westring(text), FormatSystemError(code), MessageBoxOk);
}

HDDEDATA WINAPI IgnoreDdeEvent(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The item through a DDE conversation with Program Manager; nothing is said
// when it does not answer.
void AddProgmanItemByDde(const Westring& directory, const Westring& fileName, const Westring& title, bool fullScreen) {
    DWORD instance = 0;
    UINT result = DdeInitializeA(&instance, IgnoreDdeEvent, APPCMD_CLIENTONLY, 0);
    if (result != DMLERR_NO_ERROR) {
        Estring code;
        code.Format("Error %u", result);
        ShowMessageBox(Westring("DdeInitialize Failed"), Westring(code.Data()), MessageBoxOk);
        return;
    }
    HSZ service = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    if (conversation != nullptr) {
        Estring command = ProgmanAddItemCommand(directory, fileName, title, fullScreen);
        DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(command.Data())),
                             static_cast<DWORD>(command.Length() + 1), conversation, nullptr, 0, XTYP_EXECUTE,
                             static_cast<DWORD>(-1), nullptr);
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
}

// The desktop folder of the shell folders key, read in the wide form so that
// no name is cut to the ANSI code page; false after telling why not.
bool DesktopFolder(Westring& folder) {
    HKEY key = nullptr;
    Utf16String path{Westring(ShellFoldersKey)};
    LONG error = RegOpenKeyExW(HKEY_CURRENT_USER, path.Data(), 0, KEY_QUERY_VALUE, &key);
    if (error != ERROR_SUCCESS) {
        Report("Error reading registery", static_cast<DWORD>(error));
        return false;
    }
    WCHAR buffer[500] = {};
    DWORD size = sizeof buffer - sizeof(WCHAR);
    DWORD type = 0;
    Utf16String value{Westring("Desktop")};
    error = RegQueryValueExW(key, value.Data(), nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS) {
        Report("Error reading Desktop key", static_cast<DWORD>(error));
        return false;
    }
    buffer[size / sizeof(WCHAR)] = 0;
    folder = Westring(buffer);
    return true;
}

}  // namespace

Estring ProgmanAddItemCommand(const Westring& directory, const Westring& fileName, const Westring& title,
                              bool fullScreen) {
    Westring text = Westring("[AddItem(\"") + AddTrailingBackslash(directory) + fileName + Westring("\",\"") + title +
                    Westring("\",,,,,\"") + directory + Westring("\"");
    if (fullScreen) {
        text += Westring(",,fFullScreen");
    }
    text += Westring(")]");
    Estring command;
    text.ToUtf8(command);
    return command;
}

void MakeDesktopShortcut(const Westring& title, const Westring& fileName, const Westring* arguments,
                         const Westring& workingDirectory) {
    Westring folder;
    if (!DesktopFolder(folder)) {
        return;
    }
    Utf16String shortcut(AddTrailingBackslash(folder) + title + Westring(".lnk"));
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<LPVOID*>(&link));
    if (FAILED(result)) {
        Report("CoCreateInstance failed ", static_cast<DWORD>(result));
        CoUninitialize();
        return;
    }
    result = link->SetPath(Utf16String(AddTrailingBackslash(workingDirectory) + fileName).Data());
    if (FAILED(result)) {
        Report("Error setting path", static_cast<DWORD>(result));
    }
    if (arguments != nullptr) {
        link->SetArguments(Utf16String(*arguments).Data());
    }
    link->SetDescription(Utf16String(title).Data());
    link->SetWorkingDirectory(Utf16String(workingDirectory).Data());
    IPersistFile* file = nullptr;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result)) {
        Report("QueryInterface failed ", static_cast<DWORD>(result));
    } else {
        result = file->Save(shortcut.Data(), TRUE);
        if (FAILED(result)) {
            Report("Error saving object", static_cast<DWORD>(result));
        }
        file->Release();
    }
    link->Release();
    CoUninitialize();
}

void MakeProgmanItem(const Westring& directory, const Westring& fileName, const Westring& title, bool fullScreen) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version) && version.dwMajorVersion >= 4) {
        MakeDesktopShortcut(title, fileName, nullptr, directory);
        return;
    }
    AddProgmanItemByDde(directory, fileName, title, fullScreen);
}
