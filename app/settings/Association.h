// Associations: a file-mask expression bound to a text. Five sets serve five
// ini sections: the command run by Enter on a matching file, the external
// viewer and editor commands, and the colour texts of files and directories
// in the panels. The ini reader fills them in file order; the ini writer
// writes each record back as its ini line.
//
// Only the records and their ini form live here; choosing and running a
// command belong to the shell.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

struct Association {
    Westring mask;
    Westring command;
    uint8_t continueFlag = 0;  // written "::": later matches join the choice

    // The mask, ": " (or ":: " with the continue flag) and the command, in
    // UTF-8, without a line end.
    Estring FormatIniLine() const;
};

class AssociationSet : public TObjectStore<Association> {
public:
    void Add(const Westring& mask, const Westring& command, bool continueFlag);
};

extern AssociationSet FileAssociations;       // "[Associations]"
extern AssociationSet ViewerAssociations;     // "[Viewer Associations]"
extern AssociationSet EditorAssociations;     // "[Editor Associations]"
extern AssociationSet FileColourRules;        // "[Colours]": colour texts of files
extern AssociationSet DirectoryColourRules;   // "[Directory Colours]": of directories
