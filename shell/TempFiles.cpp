#include "shell/TempFiles.h"

#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/Estring.h"
#include "base/strings/StringStore.h"
#include "base/strings/Utf16String.h"
#include "platform/win32.h"

namespace {

// The files made by this process and not yet removed.
WestringStore& MadeFiles() {
    static WestringStore* files = new WestringStore;
    return *files;
}

}  // namespace

DWORD MakeTempFileName(Westring& name, const Westring* directory) {
    Westring folder = directory != nullptr ? *directory : GetTempDirectory();
    if (folder.IsEmpty() || folder[folder.Length() - 1] != '\\') {
        folder += Westring("\\");
    }
    const unsigned processPart = static_cast<unsigned>(GetCurrentProcessId() % 65536);
    for (int n = 0;; n++) {
        Estring file;
        file.Format("QV#%u.%d", processPart, n);
        Westring candidate = folder + Westring(file);
        // Made exclusively: a name that exists, whoever made it, is passed over.
        HANDLE made = CreateFileW(Utf16String(candidate).Data(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made != INVALID_HANDLE_VALUE) {
            CloseHandle(made);
            MadeFiles().Add(new Westring(candidate));
            name = candidate;
            return 0;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
            return error;
        }
        if (n == 0x7fffffff) {
            return ERROR_FILE_EXISTS;
        }
    }
}

void RemoveTempFiles() {
    WestringStore& files = MadeFiles();
    for (int i = 0; i < files.Count(); i++) {
        const Westring& path = *files.At(i);
        DWORD attributes = 0;
        if (ReadFileAttributes(path, attributes) == 0 &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) {
            WriteFileAttributes(path, FILE_ATTRIBUTE_NORMAL);
        }
        DeleteFileOrLink(path);
    }
    files.FreeAll();
}
