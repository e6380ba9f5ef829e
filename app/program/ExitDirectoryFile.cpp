#include "app/program/ExitDirectoryFile.h"

#include "base/strings/Utf16String.h"
#include "base/os/PathNormalizer.h"
#include "platform/win32.h"

bool BuildExitDirectoryRecord(const Westring& directory, Estring& record) {
    if (!HasDrivePrefix(directory)) {
        return false;
    }
    record.Clear();
    record += static_cast<char>(directory[0] & 0xFF);
    record += ":\r\ncd \"";
    Estring rest;
    directory.Mid(2, 0).ToUtf8(rest);
    record += rest;
    record += "\"\r\n";
    return true;
}

Westring ExitDirectoryOfPanel(const Westring& panelDirectory, const Westring& archiveFilePath) {
    if (archiveFilePath.IsEmpty()) {
        return panelDirectory;
    }
    int cut = archiveFilePath.FindLast('\\');
    return cut < 0 ? panelDirectory : panelDirectory.Left(cut);
}

void WriteExitDirectoryFile(const Westring& fileName, const Westring& directory) {
    Estring record;
    if (fileName.IsEmpty() || !BuildExitDirectoryRecord(directory, record)) {
        return;
    }
    Utf16String wide(fileName);
    HANDLE file = CreateFileW(wide.Data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, record.Data(), static_cast<DWORD>(record.Length()), &written, nullptr);
    CloseHandle(file);
}
