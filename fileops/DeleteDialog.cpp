#include "fileops/DeleteDialog.h"

#include "app/settings/Colours.h"

int CDeleteDlgWidth(const Westring& line1, const Westring& line2, bool readOnlyChoice) {
    int width = line1.Length() > line2.Length() ? line1.Length() : line2.Length();
    int least = readOnlyChoice ? 42 : 18;
    if (width < least) {
        width = least;
    }
    return width + (width & 1) + 4;
}

int CDeleteDlgHeight(bool readOnlyChoice, bool undeleteChoice) {
    return 6 + (readOnlyChoice ? 1 : 0) + (undeleteChoice ? 1 : 0) + (readOnlyChoice || undeleteChoice ? 1 : 0);
}

CDeleteDlg::CDeleteDlg(const Westring& line1, const Westring& line2, bool readOnlyChoice, bool undeleteChoice)
    : Dialog(-1, -4, CDeleteDlgWidth(line1, line2, readOnlyChoice), CDeleteDlgHeight(readOnlyChoice, undeleteChoice),
             ColourOf(ColourMessages)),
      readOnlyAnswer(0), noUndelete(0) {
    uint8_t colour = ColourOf(ColourMessages);
    WriteWideCentred(0, line1, colour);
    WriteWideCentred(1, line2, colour);
    int row = 3;
    if (readOnlyChoice) {
        AddStaticText(1, row, "Delete Read Only: ", colour);
        AddRadioButton(19, row, 2, &readOnlyAnswer, 0, "As_k");
        AddRadioButton(27, row, 0, &readOnlyAnswer, 1, "_All");
        AddRadioButton(35, row, 0, &readOnlyAnswer, 2, "Non_e");
        row++;
    }
    if (undeleteChoice) {
        AddCheckBox(1, row, 1, &noUndelete, "No _Undelete", 1);
    }
    int buttons = AddOkCancelButtons(-1, -1, 1);
    SetFocus(buttons);
}
