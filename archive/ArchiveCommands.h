// The archive commands the key dispatch starts: copying to and from an
// archive shown in a panel, making an archive, and re-opening a panel's
// archive.
#pragma once

class CPanel;

// Copy (mode 0) or move (1) between panels[side] and an archive shown in
// either panel.
void CopyToFromArchive(CPanel* panels, int side, int mode);
void MakeArchive(CPanel* panel);
// Reads the panel's archive again from the same file, keeping its parent: 0,
// or -1 when the file no longer opens (the panel then has no archive).
int ReloadPanelArchive(CPanel* panel);
