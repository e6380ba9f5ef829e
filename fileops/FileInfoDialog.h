// Ctrl+I: the named properties of one file or directory (sizes, times,
// attributes, link target, short name, streams) in a dialog sized to them.
#pragma once

#include "base/os/FileInfoItems.h"
#include "base/strings/Westring.h"
#include "ui/Dialog.h"

// Outer width: the longest label, the longest value and 2 between them (2
// alone without rows), at least the path's length, plus 4 for the frame and
// margins, but never wider than the screen less 3.
int CFileInfoDlgWidth(const Westring& path, const CFileInfoItems& rows, int screenColumns);
// Outer height: a row per property plus 6.
int CFileInfoDlgHeight(const CFileInfoItems& rows);

class CFileInfoDlg : public Dialog {
public:
    CFileInfoDlg(const Westring& path, const CFileInfoItems& rows);

private:
    int nameWidth;
};
