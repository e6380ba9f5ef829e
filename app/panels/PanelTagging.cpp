#include "app/panels/PanelTagging.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "ui/MessageBox.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "base/mask/MaskExpression.h"
#include "base/strings/Str32.h"
#include "app/panels/PanelTags.h"
#include "console/KeyCodes.h"
#include "ui/Dialog.h"

Westring LastSelectMask(U"*");

namespace {

const char32_t* const SystemMetadataNames[] = {U"descript.ion", U"EA DATA. SF", U"WP ROOT. SF"};

const int KeyAltD = KeyAltLetter('d');

bool IsDirectory(const entry* item) {
    return (item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The dialog's title line; the same width whichever the choice, so that
// rewriting it leaves nothing of the old one.
Estring SelectTitle(int mode, bool includeDirectories) {
    Estring title;
    title.Format("%s the files%-12s", mode < 0 ? "Unselect" : "Select", includeDirectories ? "/directories" : "");
    return title;
}

}  // namespace

bool IsSystemMetadataFile(const char32_t* name) {
    for (const char32_t* known : SystemMetadataNames) {
        if (Str32CompareNoCase(name, known) == 0)
            return true;
    }
    return false;
}

bool IsSystemMetadataFile(const Westring& name) {
    return IsSystemMetadataFile(name.Data());
}

bool BulkTagIncludesDirectories(int mode, int shiftState) {
    return mode == -1 || (Config.TagDirs != 0) != ((shiftState & SHIFT_SHIFT) != 0);
}

void TagAllEntries(CPanel* panel, int mode, int shiftState) {
    if (!panel->isOn || panel->entryCount <= 0)
        return;
    const bool includeDirectories = BulkTagIncludesDirectories(mode, shiftState);
    for (int i = 0; i < panel->entryCount; i++) {
        const entry* item = panel->entries[i];
        if (IsDirectory(item) && !includeDirectories)
            continue;
        if (mode != -1 && IsSystemMetadataFile(item->name))
            continue;
        PanelTagEntry(panel, i, mode);
    }
    // Each tag redraws the status line only while its entry is in view: the
    // count of the whole panel is drawn once the tagging is done.
    DrawPanelStatusLine(panel);
}

void TagEntriesByMask(const Westring& mask, CPanel* panel, int mode, bool includeDirectories) {
    MaskExpression expression;
    const Westring directory = GetPanelDirectory(panel);
    for (int i = 0; i < panel->entryCount; i++) {
        const entry* item = panel->entries[i];
        if (IsDirectory(item) && !includeDirectories)
            continue;
        if (mode >= 0 && IsSystemMetadataFile(item->name))
            continue;
        // An error in the mask (-1) is no match.
        if (expression.Match(mask, directory, item) > 0)
            PanelTagEntry(panel, i, mode);
    }
    DrawPanelStatusLine(panel);
}

void SelectByMaskDialog(CPanel* panel, int mode, int shiftState) {
    bool includeDirectories = BulkTagIncludesDirectories(mode, shiftState);
    const uint8_t attribute = ColourOf(ColourMessages);
    Westring mask = LastSelectMask;
    Dialog dialog(-1, 6, 34, 10, attribute);
    dialog.WriteText(1, 0, SelectTitle(mode, includeDirectories).Data(), attribute);
    dialog.AddStringField(1, 1, 1, mask, 30, -1, FieldKindSelectMask);
    // Row 3 is the bottom frame line: the hint sits in the frame.
    dialog.AddStaticText(19, 3, " Alt-D=Dirs ", attribute);
    dialog.AddExitKey(KeyAltD);
    for (;;) {
        const int result = dialog.Run();
        if (result == KeyAltD) {
            includeDirectories = !includeDirectories;
            dialog.WriteText(1, 0, SelectTitle(mode, includeDirectories).Data(), attribute);
            continue;
        }
        if (result == KEY_ESC)
            return;
        MaskExpression expression;
        if (expression.CheckSyntax(mask))
            break;
        ShowMessageBox("Error in search expression", mask, 0);
    }
    LastSelectMask = mask;
    TagEntriesByMask(mask, panel, mode, includeDirectories);
}
