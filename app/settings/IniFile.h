// The ini file: reading it into the configuration record, the association
// sets, the environment and the archiver definitions, and writing them all
// back.
//
// Sections: "[General Options]" (the key table, the stored paths "d0"-"d9",
// and ":" lines as file associations), the three association sections, the
// two colour-by-mask sections, "[Environment]" and one section per archiver.
// Lines before the first header belong to "[General Options]". There are no
// comments: a line without a separator is passed over.
#pragma once

#include "base/io/StdFile.h"
#include "base/strings/Westring.h"

class AssociationSet;

// The section headers by number; 0-13 are the archivers in archiver order.
enum {
    IniSectionAssociations = 14,
    IniSectionViewerAssociations = 15,
    IniSectionEditorAssociations = 16,
    IniSectionColours = 17,
    IniSectionDirectoryColours = 18,
    IniSectionEnvironment = 19,
    IniSectionGeneral = 20,
    IniSectionCount = 21
};
extern const char* const IniSectionTable[IniSectionCount];

// Where the reader's and writer's complaints go: the program's own shows them
// in the message box (ui/IniMessages.h).
class IIniMessages {
public:
    virtual ~IIniMessages() = default;
    virtual void Show(const Westring& text, const Westring& title) = 0;
};

// Reads the lines of one ini file, keeping the current section and the line
// number between lines.
class CIniReader {
public:
    // fileName is what "Bad directive" messages call the file.
    CIniReader(const Westring& fileName, bool skipGeneral, IIniMessages& messages);
    // One line (changed in place: it is trimmed and cut).
    void ReadIniFile(char* line);

    int section;
    int lineNumber;

private:
    void ReadAssignment(char* line, char* separator);
    void ReadAssociation(char* line, char* separator);

    Westring fileName;
    bool skipGeneral;
    IIniMessages& messages;
};

// Flags of GetIniFilePath and OpenIniFile.
enum { IniOpenRead = 1, IniOpenWrite = 6, IniPathForWriting = 4 };

Westring GetIniFilePath(int flags);
// Opens the ini file to read (IniOpenRead) or its temporary file to write
// (IniOpenWrite: the path with "!!!" for its last three characters). 0 or the
// Windows error.
DWORD OpenIniFile(StdFile& file, int flags);

// With reloadOnly false: every default, then the whole file. With true: the
// association sets and the ini environment are emptied and read again with
// the archiver commands; the general keys are left alone.
void LoadConfiguration(bool reloadOnly, IIniMessages& messages);

// Writes the whole configuration (after taking in what was edited in the
// file's other sections since start-up). 0 or the Windows error, which has
// been shown; the old file stays unchanged on any failure.
DWORD WriteIniFile(IIniMessages& messages);

// Called by WriteIniFile before it writes the record, so that settings kept
// live elsewhere (the panels' styles, filters and widths) go into it; null
// does nothing. The program installs the panels' own at start-up.
extern void (*BeforeIniWrite)();
