// File descriptions: the "descript.ion" of a directory holds one line per
// file, its name (in double quotes when it needs them) and free text. The
// lines travel with the files: a copy copies the line into the destination
// directory's file, a move moves it, a delete removes it, and a file left
// without lines is deleted.
//
// The file is rewritten whole (a temporary file beside it, renamed over it),
// so a failed write loses nothing, and the lines of other files stay byte for
// byte whatever their length or line end. Where two lines name files that
// differ only in case, the exact name wins; a line found only without regard
// to case counts when no file of its own exact name exists.
#pragma once

#include <cstddef>
#include <string>

#include "base/io/StdFile.h"
#include "base/strings/Westring.h"

// Longest name a line keeps; a longer one is cut.
const int DescriptionNameUnits = 260;

// Opens the "descript.ion" in the directory of `path` (the current directory
// when the path has no backslash): for reading (others may read and write),
// for writing with the contents kept, or for appending. `name` (optional)
// receives the part of the path after its last backslash. 0 or the error.
DWORD OpenDescriptionFile(const Westring& path, Westring* name, StdFile& file, bool write, bool append);

// Reads the name at the start of a line (bytes, without the line end): white
// space skipped, then a name in double quotes (when a closing one follows) or
// up to the first blank. The name is taken from UTF-8 (other bytes as
// Latin-1) and cut to DescriptionNameUnits. Returns the offset just after the
// name.
size_t ParseDescriptionLine(const char* line, size_t length, Westring& name);

// The line for a name and a description: the name quoted when it holds a
// blank, "%", "&", "+" or "," or starts with "-", one blank, the text, CR LF.
std::string FormatDescriptionLine(const Westring& name, const Westring& text);

// The file's bytes without the line of `name` (exact match first, see
// above; `exists` says whether a file of a given exact name is there), and
// whether one was found. Lines are split at LF and kept as they were.
std::string DropDescriptionLine(const std::string& contents, const Westring& name, bool& found,
                                bool (*exists)(const Westring& name, void* context), void* context);

// Registers a description file the caller holds open for reading while an
// operation runs: a rewrite of that file closes it first and opens it again
// afterwards, so the rename is not blocked and later look-ups still work.
class CHeldDescriptionFile {
public:
    explicit CHeldDescriptionFile(StdFile& file);
    ~CHeldDescriptionFile();
    CHeldDescriptionFile(const CHeldDescriptionFile&) = delete;
    CHeldDescriptionFile& operator=(const CHeldDescriptionFile&) = delete;

private:
    StdFile& file;
};

// Copies the source's line, looked up in `sourceFile` (the source directory's
// description file open for reading; nothing happens when it is closed), into
// the destination directory's file under the destination's name.
void CopyDescription(const Westring& source, const Westring& destination, StdFile& sourceFile);
// Copies the line, then removes the source's line. A move within one
// directory renames the line in place, so a change of case alone keeps it.
void MoveDescription(const Westring& source, const Westring& destination, StdFile& sourceFile);
// Sets the line of the file at `path` to `text` (an old line goes, the new
// one is the last), and gives the description file the hidden attribute.
void AppendDescription(const Westring& path, const Westring& text);
// Removes the line of the file at `path`. True when the description file was
// deleted because no line was left; `other` (optional, an open handle of the
// caller on the same file) is closed before that.
bool RemoveDescription(const Westring& path, StdFile* other = nullptr);
