// qvhost -x FILE: the shell that started qvhost can land where the program's
// active panel was when it ended. The program writes its exit directory as a
// batch record (a drive line, then cd "<directory>"); qvhost passes it a file
// of its own for that and writes FILE as a POSIX shell script instead, with
// the path in single quotes so that no character of a name can act in the
// shell:  qv() { qvhost -x ~/.qvdir "$@"; . ~/.qvdir; }
#pragma once

#include <string>
#include <vector>

namespace qvhost {

// qvhost's arguments with any "-x FILE" found the way the program reads its
// options (a letter after - or /, in either case; e, v, l, r and x take the
// next word; s ends the options).
struct HostArguments {
    std::vector<std::string> program;  // what the program gets, FILE not yet replaced
    int exitFileIndex = -1;            // the index in `program` of FILE, -1 without -x FILE
    std::string exitFile;
    bool runsScript = false;  // -s: the program runs a script and ends
};
HostArguments ReadHostArguments(const std::vector<std::string>& args);

// Text in POSIX single quotes: an inner ' as '\''.
std::string ShellQuote(const std::string& text);

// The Windows path of the directory a batch record names, as UTF-8; false
// when the text is not such a record.
bool DirectoryOfBatchRecord(const std::string& record, std::string& windowsPath);

// The script for a POSIX directory: cd -- '<directory>'.
std::string ShellCdScript(const std::string& posixDirectory);

// Turns the batch record the program left in `recordFile` into the script in
// `scriptFile`. An empty or missing record (the program named no directory)
// makes an empty script, so that sourcing it keeps the shell where it is.
// False, with `error` saying why, when the script cannot be written or the
// record names no directory a POSIX path can reach.
bool WriteShellExitFile(const std::string& recordFile, const std::string& scriptFile, std::string& error);

}  // namespace qvhost
