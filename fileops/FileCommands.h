// The file operations the panels and the key dispatch start: copy, move,
// delete, make directory, attributes, case and date changes, file
// information, compare, find, links and the synchroniser.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// Copy (mode 0), move or rename (1), and the Shift+F5 / Shift+F6 forms (2, 3)
// from panels[side] to the other panel; the remembered answers start afresh.
// A null destination shows the copy dialog.
void CopyOrMovePanelFiles(CPanel* panels, int side, int mode, const Westring* destination);
void MakeDirectoryCommand(int side);
void DeleteFilesCommand(CPanel* panel);
void DeleteTypedFile(CPanel* panel);
void FileAttributesDialog(CPanel* panel);
void ChangeCaseDialog(CPanel* panel);
void ChangeDateDialog(CPanel* panel);
void ShowFileInformation(const Westring& path);
void CompareDirectories();
// The File Find window over the panel's directory; flag (Alt+Shift+F7)
// reopens it on the previous results with the cursor where it was left.
void FileFindCommand(CPanel* panel, bool flag);
void MakeObjectsCommand(CPanel* panel);
void MakeSymbolicLinksCommand(CPanel* panel, const Westring& destination);
void SynchronizeCommand(const Westring& source, const Westring& destination);
