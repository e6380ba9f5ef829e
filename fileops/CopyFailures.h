// The " Copy Failures " window: what a copy or move skipped, one row per item
// ("name: reason"), shown at the end of the command.
#pragma once

#include "fileops/FileErrors.h"
#include "ui/ListBox.h"

// The two column widths for a screen of `columns` columns: each the longest
// text (at least 1); when both do not fit in columns - 6, the name column is
// cut to half of that room when wider, and the reason takes what it leaves.
void CopyFailureColumns(const CSkippedCopyList& list, int columns, int& nameWidth, int& reasonWidth);

// One row: the name padded (or cut) to its column, ": ", the reason padded to
// its column.
Westring FormatCopyFailureRow(const TSkippedCopy& item, int nameWidth, int reasonWidth);

class CAutoSkippedListBox : public ListBoxBase {
public:
    CAutoSkippedListBox(Dialog& owner, int x, int y, int rows, CSkippedCopyList& list, int nameWidth, int reasonWidth,
                        int32_t* selection);
    void DrawItem(int row, int item, uint8_t attribute) override;

private:
    CSkippedCopyList& list;
    int nameWidth;
    int reasonWidth;
};

// Shows the window over the skip list until OK or Esc.
void ShowCopyFailures();
