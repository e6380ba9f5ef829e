// The confirmation of a synchroniser plan: every planned operation in a list,
// the bytes to copy and the count of each kind, then a second question before
// anything is changed.
#pragma once

#include "fileops/sync/SyncOperationList.h"
#include "ui/Dialog.h"
#include "ui/ListBox.h"

class CSynchronizer::COpListConfirmDlg : public Dialog {
public:
    class COperationListBox;

    COpListConfirmDlg(const Westring& source, const Westring& target, CSyncOperationList& plan);
    // 1 when confirmed twice; 0 when declined (Esc or Cancel in the list).
    // Cancel in the second question returns to the list.
    int Run();

    // The bottom line: "Total: " and the bytes, then each non-zero count.
    static Westring FormatTotals(const CSyncOperationList& plan);

    static const int LabelWidth = 8;

private:
    Westring source;
    Westring target;
    int halfWidth;  // of each path in the heading
    int32_t selection;
};

class CSynchronizer::COpListConfirmDlg::COperationListBox : public ListBoxBase {
public:
    COperationListBox(Dialog& owner, int x, int y, int width, int rows, CSyncOperationList& plan, int32_t* selection);
    void DrawItem(int row, int item, uint8_t attribute) override;
    Westring GetItemText(int item) override;

    // The row of one operation, `width` cells: its label padded to the label
    // column, then its path shortened to the rest.
    static Westring FormatRow(const TSyncOperation& op, int width);

private:
    CSyncOperationList& plan;
};
