// Replacing the search text of a find in every found file.
//
// Each file is rewritten through a temporary file beside it (its path with
// ".qv@@@.tmp" appended, made new, never over an existing file) which then
// takes the file's place in one step, keeping its permissions and
// attributes. Any failure leaves the file as it was and no temporary file.
// The search text and the replacement are spelt in each file's own encoding.
#pragma once

#include <cstdint>
#include <string>

#include "base/io/TextFile.h"
#include "base/strings/Westring.h"

class FileFinder;

// Where the rewritten bytes go; false when a write failed.
class IReplaceSink {
public:
    virtual ~IReplaceSink() = default;
    virtual bool Write(const void* bytes, uint32_t n) = 0;
};

// The outcome of ReplaceTextInFile.
enum {
    ReplaceDone = 0,
    ReplaceReadError = 1,   // the file could not be read to its end
    ReplaceWriteError = 2,  // the sink refused bytes
    ReplaceStopped = 3      // the user broke the search off
};

// The text spelt in a file's encoding (code page files in codePage, 0 the
// text code page).
std::string EncodeForTextFile(const Westring& text, int encoding, uint32_t codePage);

// Copies the opened file to the sink with every match of the text replaced,
// left to right, a match never overlapping the one before. count grows by
// the replacements made.
int ReplaceTextInFile(CTextFile& file, const Westring& text, const Westring& replacement, bool caseSensitive,
                      bool wholeWord, uint32_t codePage, IReplaceSink& sink, int& count);

// The replace command over all found files (Ctrl-R in the File Find window).
void MultiFileReplace(FileFinder& finder);
// Rewrites one file with the last search text replaced; reports a failure
// with the path. True when the file was rewritten.
bool ReplaceInFile(FileFinder& finder, const Westring& path, const Westring& replacement, int& count);
