#include "app/settings/ReplacingFile.h"

#include "app/settings/OwnTemporaryFiles.h"
#include "base/strings/Utf16String.h"

CReplacingFile::CReplacingFile(const Westring& finalPath, const Westring& tempPath)
    : finalPath(finalPath), tempPath(tempPath), error(0), created(false) {}

CReplacingFile::~CReplacingFile() {
    if (file.IsOpen()) {
        file.Close();
    }
    RemoveTemporaryFile();
}

void CReplacingFile::RemoveTemporaryFile() {
    // Only a file this write made is removed: a failed Open may have met
    // someone else's file of that name.
    if (created) {
        created = false;
        Utf16String temp(tempPath);
        DeleteFileW(temp.Data());
    }
}

DWORD CReplacingFile::Open() {
    error = file.Open(tempPath, StdFile::ModeWrite | StdFile::ModeCreate, StdFile::ShareRead);
    created = error == 0;
    return error;
}

void CReplacingFile::WriteLine(const char* text) {
    if (error == 0) {
        error = file.WriteLine(text);
    }
}

void CReplacingFile::Write(const void* bytes, uint32_t n) {
    if (error == 0 && n > 0) {
        error = file.Write(bytes, n);
    }
}

DWORD CReplacingFile::Commit() {
    if (!file.IsOpen()) {
        return error ? error : ERROR_INVALID_HANDLE;
    }
    if (error == 0) {
        error = file.Flush();
    }
    if (error == 0 && !FlushFileBuffers(file.Handle())) {
        error = GetLastError();
    }
    DWORD closed = file.Close();
    if (error == 0) {
        error = closed;
    }
    if (error != 0) {
        RemoveTemporaryFile();
        return error;
    }
    return Replace();
}

DWORD CReplacingFile::Replace() {
    error = 0;
    Utf16String from(tempPath);
    Utf16String to(finalPath);
    // An existing file is replaced keeping its attributes; a new one is just
    // renamed into place.
    if (GetFileAttributesW(to.Data()) != INVALID_FILE_ATTRIBUTES) {
        if (!ReplaceFileW(to.Data(), from.Data(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)) {
            error = GetLastError();
        }
    } else if (!MoveFileExW(from.Data(), to.Data(), MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error == 0) {
        created = false;  // it is the final file now
    }
    // A replacement that failed leaves the old file as it was; the new
    // contents go with the temporary file, which must not stay behind.
    RemoveTemporaryFile();
    return error;
}

Westring CReplacingFile::FreeNameBeside(const Westring& finalPath) {
    // What a killed run left beside its files goes before this run adds its
    // own temporary file there.
    RemoveStaleTemporaryFiles(ExtractDirectory(finalPath));
    for (int n = 0; n < 1000; n++) {
        Westring candidate = ReplacingTemporaryName(finalPath, n);
        Utf16String wide(candidate);
        if (GetFileAttributesW(wide.Data()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
            return candidate;
    }
    return Westring();
}
