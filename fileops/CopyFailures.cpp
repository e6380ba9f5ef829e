#include "fileops/CopyFailures.h"

#include "app/settings/Colours.h"
#include "console/ScreenSize.h"

void CopyFailureColumns(const CSkippedCopyList& list, int columns, int& nameWidth, int& reasonWidth) {
    nameWidth = 1;
    reasonWidth = 1;
    for (int i = 0; i < list.Count(); i++) {
        const TSkippedCopy* item = list.At(i);
        nameWidth = item->name.Length() > nameWidth ? item->name.Length() : nameWidth;
        reasonWidth = item->reason.Length() > reasonWidth ? item->reason.Length() : reasonWidth;
    }
    int room = columns - 6;
    if (nameWidth + reasonWidth <= room) {
        return;
    }
    if (nameWidth > room / 2) {
        nameWidth = room / 2;
    }
    // The reason gets what the name leaves, so the row fills the window and
    // never reaches past it.
    reasonWidth = room - nameWidth;
    if (reasonWidth < 1) {
        reasonWidth = 1;
    }
}

Westring FormatCopyFailureRow(const TSkippedCopy& item, int nameWidth, int reasonWidth) {
    return item.name.Pad(nameWidth) + Westring(": ") + item.reason.Pad(reasonWidth);
}

CAutoSkippedListBox::CAutoSkippedListBox(Dialog& owner, int x, int y, int rows, CSkippedCopyList& list, int nameWidth,
                                         int reasonWidth, int32_t* selection)
    : ListBoxBase(owner, x, y, nameWidth + reasonWidth + 2, rows, list.Count(), selection, 0), list(list),
      nameWidth(nameWidth), reasonWidth(reasonWidth) {}

void CAutoSkippedListBox::DrawItem(int row, int item, uint8_t attribute) {
    Owner().WriteWide(X(), Y() + row, FormatCopyFailureRow(*list.At(item), nameWidth, reasonWidth), attribute);
}

void ShowCopyFailures() {
    CSkippedCopyList& list = SkippedCopies();
    int nameWidth = 0;
    int reasonWidth = 0;
    CopyFailureColumns(list, ScreenColumns, nameWidth, reasonWidth);
    int height = list.Count() + 4;
    if (height > ScreenRows - 5) {
        height = ScreenRows - 5;
    }
    uint8_t colour = ColourOf(ColourErrors);
    Dialog dialog(-1, -4, nameWidth + reasonWidth + 6, height, colour);
    dialog.WriteCentred(-1, " Copy Failures ", colour);
    int rows = height - 4 > 1 ? height - 4 : 1;
    int32_t selection = 0;
    dialog.AddElement(new CAutoSkippedListBox(dialog, 1, 0, rows, list, nameWidth, reasonWidth, &selection), 1);
    static const TButtonDef ok[] = {{13, "OK"}, {0, nullptr}};
    dialog.AddButtonRow(-1, -1, 1, ok);
    dialog.Run();
}
