// Associations: a file-mask expression bound to a text. Five sets serve five
// ini sections: the command run by Enter on a matching file, the external
// viewer and editor commands, and the colour texts of files and directories
// in the panels. The ini reader fills them in file order; the ini writer
// writes each record back as its ini line.
//
// Finding the records that match lives here; the choice among several is a
// dialog, which the program installs (`AssociationChooser`).
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/containers/TObjectList.h"
#include "base/io/Entry.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

struct Association {
    Westring mask;
    Westring command;
    uint8_t continueFlag = 0;  // written "::": later matches join the choice

    // The mask, ": " (or ":: " with the continue flag) and the command, in
    // UTF-8, without a line end.
    Estring FormatIniLine() const;
    // The mask against a bare name, and against an entry of the current
    // directory.
    bool MatchesName(const Westring& name) const;
    bool MatchesEntry(const entry* item) const;
};

// The associations that match one file, in set order; owns nothing.
class CAssociationList : public TObjectList<Association> {};

class AssociationSet : public TObjectStore<Association> {
public:
    void Add(const Westring& mask, const Westring& command, bool continueFlag);
    // The command of the first record whose mask matches the bare name.
    bool FindFirstMatch(const Westring& name, Westring& command) const;
    // The first match, and the later ones that carry the continue flag up to
    // the first later match without it. None: 0; one: its command and 1;
    // several: the user chooses (1, or -1 when cancelled).
    int ChooseCommand(const entry* item, Westring& command) const;
    // As ChooseCommand, with the command in UTF-8. (A command narrowed to
    // Latin-1 would lose every character beyond it.)
    int GetCommand(const entry* item, Estring& command) const;
    // The matches ChooseCommand offers.
    void CollectMatches(const entry* item, CAssociationList& list) const;
};

// The choice among several matching commands: 1 with the chosen command, -1
// when cancelled. Installed by the program; unset, nothing is chosen.
extern int (*AssociationChooser)(CAssociationList& list, Westring& command);

extern AssociationSet FileAssociations;      // "[Associations]"
extern AssociationSet ViewerAssociations;    // "[Viewer Associations]"
extern AssociationSet EditorAssociations;    // "[Editor Associations]"
extern AssociationSet FileColourRules;       // "[Colours]": colour texts of files
extern AssociationSet DirectoryColourRules;  // "[Directory Colours]": of directories
