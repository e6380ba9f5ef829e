#include "app/program/ExitDirectoryFile.h"

#include "base/strings/Utf16String.h"
#include "base/os/PathNormalizer.h"
#include "platform/win32.h"

char32_t UnsafeBatchCharacter(const Westring& text) {
    for (int i = 0; i < text.Length(); i++) {
        char32_t c = text[i];
        if (c == '"' || c == '%' || c == '!' || c < 0x20 || c == 0x7F) {
            return c;
        }
    }
    return 0;
}

bool BuildExitDirectoryRecord(const Westring& directory, Estring& record) {
    if (!HasDrivePrefix(directory) || UnsafeBatchCharacter(directory) != 0) {
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

bool WriteExitDirectoryFile(const Westring& fileName, const Westring& directory, Estring& error) {
    if (fileName.IsEmpty()) {
        return true;
    }
    Estring shown;
    directory.ToUtf8(shown);
    Estring record;
    if (!BuildExitDirectoryRecord(directory, record)) {
        char32_t unsafe = UnsafeBatchCharacter(directory);
        if (unsafe >= 0x20 && unsafe != 0x7F) {
            error.Format("-x: the directory %s is not written: its name holds '%c', which a batch file cannot quote",
                         shown.Data(), static_cast<char>(unsafe));
        } else if (unsafe != 0) {
            error.Format(
                "-x: the directory is not written: its name holds control character %u, which a batch "
                "file cannot quote",
                static_cast<unsigned>(unsafe));
        } else {
            error.Format("-x: the directory %s is not written: it has no drive letter", shown.Data());
        }
        return false;
    }
    Utf16String wide(fileName);
    HANDLE file = CreateFileW(wide.Data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE &&
              WriteFile(file, record.Data(), static_cast<DWORD>(record.Length()), &written, nullptr) &&
              written == static_cast<DWORD>(record.Length());
    DWORD failure = ok ? 0 : GetLastError();
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file) && ok) {
        ok = false;
        failure = GetLastError();
    }
    if (!ok) {
        Estring name;
        fileName.ToUtf8(name);
        Estring reason = FormatSystemErrorA(failure);
        error.Format("-x: %s: %s", name.Data(), reason.Trim().Data());
    }
    return ok;
}
