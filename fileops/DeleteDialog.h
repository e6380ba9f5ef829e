// CDeleteDlg: the question before the delete command removes anything, with
// the choice for read-only items (when a directory or tagged set may hold
// some) and the "No _Undelete" box (when an undelete folder serves the drive).
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"
#include "ui/Dialog.h"

// The dialog's outer size: the longer line, at least 18 (42 with the
// read-only choice), rounded up to even, plus 4; 6 rows, one more for each
// choice shown and one more when either is.
int CDeleteDlgWidth(const Westring& line1, const Westring& line2, bool readOnlyChoice);
int CDeleteDlgHeight(bool readOnlyChoice, bool undeleteChoice);

class CDeleteDlg : public Dialog {
public:
    CDeleteDlg(const Westring& line1, const Westring& line2, bool readOnlyChoice, bool undeleteChoice);

    int32_t readOnlyAnswer;  // 0 Ask, 1 All, 2 None
    uint8_t noUndelete;
};
