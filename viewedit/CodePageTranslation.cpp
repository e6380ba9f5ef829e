#include <cstdlib>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "ui/MessageBox.h"
#include "base/strings/ConsoleCodePage.h"
#include "ui/Dialog.h"
#include "viewedit/Viewer.h"
#include "viewedit/ViewerSearchState.h"

void NextTranslateCodePage(uint32_t& codePage) {
    const Estring& list = Config.TranslateCP;
    if (TranslateCodePagePosition < 0 || TranslateCodePagePosition > list.Length())
        TranslateCodePagePosition = 0;
    Estring rest = list.Mid(TranslateCodePagePosition, list.Length() - TranslateCodePagePosition);
    if (TranslateCodePagePosition >= list.Length())
        rest.Clear();
    int comma = rest.Find(',');
    Estring token = comma >= 0 ? rest.Left(comma) : rest;
    TranslateCodePagePosition += token.Length() + (comma >= 0 ? 1 : 0);
    codePage = static_cast<uint32_t>(atoi(token.Data()));
    if (token.Trim().IsEmpty())
        TranslateCodePagePosition = 0;
    if (codePage != 0) {
        Westring probe;
        probe.AssignCodePage(" ", codePage);
        if (probe.Length() != 1) {
            ShowMessageBox(Westring("Invalid code page"), Westring(), 0);
            codePage = 0;
        }
    }
    if (codePage == GetTextCodePage())
        codePage = 0;
}

int EditTranslateCodePages() {
    const uint8_t attribute = ColourOf(ColourMessages);
    Dialog dialog(-1, -4, 32, 5, attribute);
    dialog.WriteCentred(-1, " Code Page Translation ", attribute);
    Westring list(Config.TranslateCP.Data());
    dialog.AddStaticText(1, 1, "Code Page List:", attribute);
    dialog.AddStringField(17, 1, 1, list, 12, -1, FieldKindTranslateCP);
    if (dialog.Run() == 27)
        return -1;
    Config.TranslateCP = list.ToLatin1();
    TranslateCodePagePosition = 0;
    return 0;
}
