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

    // For a writer that writes the temporary file through a file object of
    // its own (a text file in some encoding): it creates the file at
    // TempPath(), calls AdoptTemporaryFile() so that a failure removes it, and
    // Replace() once it has closed it.
    void AdoptTemporaryFile() { created = true; }
    // Puts the closed temporary file in the final file's place (an existing
    // file is replaced keeping its attributes, a missing one is made by the
    // rename). 0 or the Windows error; the temporary file never stays.
    DWORD Replace();
    // A name beside the final file that no file has yet, for the temporary
    // file ("<name>.~qv<run>.<n>"); empty when none could be found. The
    // stale temporary files of dead runs in that folder go first.
    static Westring FreeNameBeside(const Westring& finalPath);

    DWORD Error() const { return error; }
    const Westring& TempPath() const { return tempPath; }
    const Westring& FinalPath() const { return finalPath; }

private:
    void RemoveTemporaryFile();

    Westring finalPath;
    Westring tempPath;
    StdFile file;
    DWORD error;
    bool created;  // the temporary file exists and is this write's own
};
