// CReplacingFile: writes a data file (ini file, history file) without ever
// losing the old one. The new contents go to a temporary file beside it; only
// when every write and the close succeeded does the temporary file take the
// old file's place, in one replacing rename. A failure leaves the old file as
// it was.
#pragma once

#include "base/io/StdFile.h"
#include "base/strings/Westring.h"

class CReplacingFile {
public:
    // Nothing is opened yet; tempPath is where the new contents are written.
    CReplacingFile(const Westring& finalPath, const Westring& tempPath);
    // A file not committed is abandoned: the old one stays, the temporary
    // file goes.
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates the temporary file. 0 or the Windows error.
    DWORD Open();
    // The text (8-bit, already UTF-8 where it must be) and CR LF. The first
    // failure is kept; later writes do nothing.
    void WriteLine(const char* text);
    void WriteLine(const Estring& text) { WriteLine(text.Data()); }
    // Bytes as they are (any byte, line ends included); the first failure is
    // kept as with WriteLine.
    void Write(const void* bytes, uint32_t n);
    // Flushes, closes and puts the temporary file in the final file's place.
    // 0 or the first Windows error of the whole write; after an error the
    // temporary file is removed.
    DWORD Commit();

    DWORD Error() const { return error; }
    const Westring& FinalPath() const { return finalPath; }

private:
    void RemoveTemporaryFile();

    Westring finalPath;
    Westring tempPath;
    StdFile file;
    DWORD error;
    bool created;  // the temporary file exists and is this write's own
};
