// Building and running the command lines of the external archivers from
// their definitions (ArchiverSettings): which program runs, how a panel entry
// is named to it, and how the archive path and the names are put into the
// definition's text.
//
// No command line here passes through a command interpreter. The
// definition's text is split into words by the quote rules; a word that is or
// begins with "<" or ">" is a redirection the program runner applies itself.
// The archive path and every name go into words of their own and are never
// split again, and the whole line is written by the argument rules the
// started program splits it back with, so that no character of a name can act
// as an option, a redirection or a command.
#pragma once

#include <vector>

#include "app/settings/ArchiverSettings.h"
#include "archive/ArchiverNameRules.h"
#include "base/io/Entry.h"
#include "base/strings/Westring.h"

class CPanel;

// Finds the program word of a command (up to its first blank) along the
// search path, the program's own folder first, and puts the found path in
// its place: true then, with `unzipFlag` set when the program is unzip (its
// warnings end with exit code 1, which still counts as success). Not found:
// the command stays as it was, false.
bool ResolveArchiverProgram(Westring& command, int& unzipFlag);

// The words that name one panel entry to an archiver: a file as the base
// directory + its name; a directory through the dir spec, whose blanks
// separate words and whose "!" stands for the base directory + the name
// ("!\*" names everything below it). `realFile`: the entry is a file of the
// file system, not an archive member, so that a name beginning with "-" is
// written ".\-name" and cannot be read as an option. `rules`: the program's
// (see ArchiverNameRules.h): a member's own pattern characters are escaped
// where it matches patterns, and false is returned, with no words added,
// when the program cannot be given the name safely (`inList`: in a list
// file).
bool BuildArchiverName(const entry* item, const Westring& baseDirectory, const Estring& dirSpec, bool realFile,
                       std::vector<Westring>& words, const TArchiverNameRules& rules, bool inList = false);

// One word of the names put into a command: a name (never taken for anything
// but an argument) or a word of the definition's own list switch (which may
// be a redirection, as in "-@ < listfile").
struct TArchiverWord {
    Westring text;
    bool fromDefinition;
    bool joined = false;  // written against the word before, without a blank
};
using TArchiverWords = std::vector<TArchiverWord>;

// Adds the words naming members or files to the names: the first of them
// after the program's switches for literal names and its end-of-options
// marker.
void AddArchiverNameWords(TArchiverWords& names, const std::vector<Westring>& words, const Westring& command);

// The names of a list switch and its list file: the switch's own words, the
// file written against the last one unless the switch ends in a blank
// ("@listfile", "--files-from=listfile", "-@ < listfile"), after the
// program's switches that make it read the list's names literally.
TArchiverWords ArchiverListSwitchWords(const Estring& listSwitch, const Westring& listFile,
                                       const TArchiverNameRules& rules);

// The command line of one run: every "%a" becomes the archive path, the first
// "%f" the names (substituted in one pass, so a path holding "%f" stays as it
// is); without "%a" the archive path is appended, without "%f" the names. A
// redirection of the output onto the archive itself is written to a temporary
// file beside it (`temporaryTarget`), which the caller renames over the
// archive after a successful run. The program word is the command's first.
Westring BuildArchiverCommandLine(const Westring& command, const Westring& archivePath, const TArchiverWords& names,
                                  Westring* temporaryTarget = nullptr);

// Builds one command line and runs it for the panel `side` (the caller has
// made the directory current): the exit code, or -1 when the program could not
// be started or was not found ("Program not found" is shown).
int ExpandArchiverCommand(const Westring& command, const Westring& archivePath, const TArchiverWords& names, int side);

// Runs the command over the panel's tagged entries (or the current one),
// mode 1 extract (the Extract list switch and dir spec), mode 0 compress or
// delete (the Compress ones): the names go into a list file when the
// definition has a list switch, else onto command lines of at most 1019
// characters, run batch by batch until one fails. Each entry given to the
// archiver loses its tag and is marked processed. When the program cannot be
// given one of the names safely, that is said and nothing runs (-1). 0 for
// success, else the failing exit code.
int RunArchiverCommand(const Estring& command, const Westring& archivePath, const Westring& baseDirectory,
                       CPanel* panel, const TArchiverSettings& settings, int mode);

// The longest command line a batch of names makes, before the last name.
const int ArchiverBatchLength = 1019;

// The side a command runs for: the right panel when it shows the archive,
// else the left.
int ArchiverSide(const class CArchive* archive);

// How one finished command line is run: ExecuteCommandLine, unless a test
// puts its own runner in. The flags are ExecuteCommandLine's.
using TArchiverRunner = int (*)(const Westring& commandLine, int side, int flags);
extern TArchiverRunner ArchiverRunner;
