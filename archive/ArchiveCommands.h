// The archive commands the key dispatch starts: copying to and from an
// archive shown in a panel, making an archive, re-opening a panel's archive,
// and the folder tree of an archive for a panel's tree view.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"
#include "ui/Dialog.h"

class CArchive;
class CPanel;
class CTree;
struct TREENODE;

// Copy (mode 0) or move (1) between panels[side] and an archive shown in
// either panel: members are extracted into a real directory, or the files of
// a real directory added to the archive shown in the other panel.
void CopyToFromArchive(CPanel* panels, int side, int mode);
// " Compress Files ": packs the panel's tagged files (or the current one) into
// a new or existing archive. -1 when it does not apply, else 0.
int MakeArchive(CPanel* panel);
// Reads the panel's archive again from the same file, keeping its parent: 0,
// or -1 when the file no longer opens (the panel then has no archive).
int ReloadPanelArchive(CPanel* panel);

// A new private tree of the archive's folders, its root named after the
// archive's display path, children sorted by name. (The panels reach it
// through their hook, which takes the archive they own.)
CTree* BuildArchiveFolderTree(const CArchive* archive);
// Adds the folders of one directory path inside the archive under a node.
void AddArchiveFolderPath(TREENODE* node, const Westring& path);
// Installs the folder tree and the folder sizes of archives into the panels.
void InstallArchiveTreeHooks();

// The standard button row: Enter "OK", Esc "Cancel", F1 "Help".
void AddOkCancelHelpButtons(Dialog& dialog);

// The archiver chosen last in " Compress Files ", kept for the whole run.
extern int32_t MakeArchiveIndex;

// The " Compress Files " dialog: the archive's name and its archiver; the
// name's extension follows the archiver chosen.
class CMakeArchiveDlg : public Dialog {
public:
    CMakeArchiveDlg(Westring& name, int32_t* archiverIndex);
    ~CMakeArchiveDlg() override;

    int32_t* archiverIndex;   // the caller's, changed by the radio buttons
    Westring* name;           // the name being edited
    Westring baseName;        // the file name without its last extension
    Westring savedExtension;  // the text after the file name's last dot
    int32_t shownIndex;       // the archiver whose extension the name carries
    int nameField;

protected:
    void OnEventHandled() override;
};

// Sets the name's extension for the chosen archiver.
void ApplyArchiveExtension(CMakeArchiveDlg& dialog);
// The dialog's reaction to another archiver: the old extension goes (the
// file's own comes back after a single-file compressor) and the new one is
// set.
void OnArchiverChanged(CMakeArchiveDlg& dialog);
