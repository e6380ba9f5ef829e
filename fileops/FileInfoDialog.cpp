#include "fileops/FileInfoDialog.h"

#include "app/settings/Colours.h"
#include "base/os/FileProperties.h"
#include "base/os/PathDisplay.h"
#include "console/ScreenSize.h"
#include "fileops/FileCommands.h"

namespace {

int LongestLabel(const CFileInfoItems& rows) {
    int longest = 0;
    for (int i = 0; i < rows.Count(); i++) {
        int length = Westring(rows.At(i)->name.Data()).Length();
        longest = length > longest ? length : longest;
    }
    return longest;
}

int LongestValue(const CFileInfoItems& rows) {
    int longest = 0;
    for (int i = 0; i < rows.Count(); i++) {
        int length = rows.At(i)->value.Length();
        longest = length > longest ? length : longest;
    }
    return longest;
}

}  // namespace

int CFileInfoDlgWidth(const Westring& path, const CFileInfoItems& rows, int screenColumns) {
    int width = LongestLabel(rows) + LongestValue(rows) + 2;
    if (width < path.Length()) {
        width = path.Length();
    }
    return width + 4 < screenColumns - 2 ? width + 4 : screenColumns - 3;
}

int CFileInfoDlgHeight(const CFileInfoItems& rows) {
    return rows.Count() + 6;
}

CFileInfoDlg::CFileInfoDlg(const Westring& path, const CFileInfoItems& rows)
    : Dialog(-1, -4, CFileInfoDlgWidth(path, rows, ScreenColumns), CFileInfoDlgHeight(rows), ColourOf(ColourMessages)),
      nameWidth(LongestLabel(rows)) {
    uint8_t colour = ColourOf(ColourMessages);
    int inner = ClientWidth();
    WriteCentred(-1, " File Information ", colour);
    WriteWideCentred(0, ShortenedPathForDisplay(path, inner), colour);
    int valueWidth = inner - nameWidth - 4;
    for (int i = 0; i < rows.Count(); i++) {
        Westring label(rows.At(i)->name.Data());
        while (label.Length() < nameWidth) {
            label += ' ';
        }
        label += ':';
        WriteWide(1, 2 + i, label, colour);
        const Westring& value = rows.At(i)->value;
        WriteWide(nameWidth + 3, 2 + i, valueWidth > 0 ? value.Left(valueWidth) : Westring(), colour);
    }
    static const TButtonDef buttons[] = {{13, "OK"}, {0, nullptr}};
    SetFocus(AddButtonRow(-1, -1, 1, buttons));
}

void ShowFileInformation(const Westring& path) {
    CFileInfoItems rows;
    if (!GetFileProperties(path, rows)) {
        return;
    }
    CFileInfoDlg dialog(path, rows);
    dialog.Run();
}
