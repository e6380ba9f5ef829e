#include "fileops/sync/SynchronizeOptionsDlg.h"

#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "base/mask/MaskExpression.h"
#include "base/os/PathDisplay.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "fileops/FieldHotLetter.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "ui/MessageBox.h"

namespace {

const int DialogHeight = 16;
const int FilterColumn = 36;
const int FilterWidth = 20;

int DialogWidth(const CSynchronizer::TSyncOptions& options) {
    int longer = options.source.Length() > options.target.Length() ? options.source.Length() : options.target.Length();
    int room = ScreenColumns - 7;
    int inner = longer < room ? longer : room;
    return (inner > 56 ? inner : 56) + 4;
}

struct TSwitch {
    uint8_t CSynchronizer::TSyncOptions::*field;
    const char* label;
};

const TSwitch Switches[] = {
    {&CSynchronizer::TSyncOptions::copyMissing, "Copy missing files"},
    {&CSynchronizer::TSyncOptions::updateOld, "Update old files"},
    {&CSynchronizer::TSyncOptions::revertNew, "Revert new files"},
    {&CSynchronizer::TSyncOptions::deleteExtra, "Delete files not in source"},
    {&CSynchronizer::TSyncOptions::updateSmaller, "Update smaller files"},
    {&CSynchronizer::TSyncOptions::updateLarger, "Update larger files"},
};

const TButtonDef Buttons[] = {{KEY_ENTER, "_OK"}, {KEY_ESC, "Cancel"}, {KEY_F1, "Help"}, {0, nullptr}};

}  // namespace

CSynchronizer::CSynchronizeOptionsDlg::CSynchronizeOptionsDlg(TSyncOptions& options)
    : Dialog(-1, -2, DialogWidth(options), DialogHeight, ColourOf(ColourMessages)), options(options) {
    const uint8_t colour = Attribute();
    WriteCentred(-1, " Synchronize Directories ", colour);
    const int shown = ClientWidth() - 1;
    WriteWideCentred(1, ShortenedPathForDisplay(options.source, shown), colour);
    WriteCentred(2, "to", colour);
    WriteWideCentred(3, ShortenedPathForDisplay(options.target, shown), colour);
    int row = 6;
    for (const TSwitch& s : Switches) {
        AddCheckBox(1, row, row == 6 ? 1 : 0, &(options.*s.field), s.label, 1);
        row++;
    }
    WriteHotKeyText(FilterColumn, 5, "File Filter", "f", colour);
    int files = AddStringField(FilterColumn, 6, 1, options.fileFilter, FilterWidth, -1, FieldKindCompareMask);
    WriteHotKeyText(FilterColumn, 7, "Directory Filter", "i", colour);
    int directories =
        AddStringField(FilterColumn, 8, 1, options.directoryFilter, FilterWidth, -1, FieldKindSyncDirFilter);
    AddButtonRow(-1, -1, 1, Buttons);
    AddExitKey(KEY_F1);
    SetFieldHotLetter(*this, files, 'f');
    SetFieldHotLetter(*this, directories, 'i');
}

int CSynchronizer::CSynchronizeOptionsDlg::Run() {
    for (;;) {
        int result = Dialog::Run();
        if (result == KEY_F1) {
            ShowHelp(HelpTopicSynchronize);
            continue;
        }
        if (result != KEY_ENTER) {
            return 0;
        }
        MaskExpression check;
        if (!check.CheckSyntax(options.fileFilter)) {
            ShowMessageBox(Westring("Error in file filter"), check.ErrorMessage(), MessageBoxOk);
            continue;
        }
        if (!check.CheckSyntax(options.directoryFilter)) {
            ShowMessageBox(Westring("Error in directory filter"), check.ErrorMessage(), MessageBoxOk);
            continue;
        }
        CommitAll();
        return 1;
    }
}
