#include "app/panels/NetworkChooser.h"

#include "app/settings/Colours.h"
#include "ui/MessageBox.h"
#include "app/panels/NetworkBrowsing.h"
#include "app/panels/Panel.h"
#include "base/os/SystemError.h"
#include "console/ScreenSize.h"
#include "app/panels/PanelDirectoryChange.h"
#include "ui/Dialog.h"

namespace {

const int ChooserWidth = 16;
const int ListWidth = 14;

// One list of names in a small dialog, centred horizontally with a third of
// the free rows above it, or centred both ways. The chosen index, or -1.
int ChooseName(WestringStore& names, bool centredVertically) {
    int rows = names.Count();
    if (rows > ScreenRows - 6)
        rows = ScreenRows - 6;
    if (rows < 1)
        rows = 1;
    Dialog dialog(-1, centredVertically ? -2 : -3, ChooserWidth, rows + 2, ColourOf(ColourMessages));
    int32_t selection = 0;
    dialog.AddListBoxWestring(0, 0, 1, ListWidth, rows, names, &selection, KEY_ENTER);
    if (dialog.Run() != KEY_ENTER || names.Count() == 0)
        return -1;
    return selection >= 0 && selection < names.Count() ? selection : -1;
}

}  // namespace

int NetworkBrowse(CPanel* panel) {
    WestringStore servers;
    const DWORD error = EnumNetworkServers(servers);
    if (error != 0) {
        // Without a network there is nothing to choose from; say why.
        ShowMessageBox(FormatSystemError(error), Westring(U"\\\\"), MessageBoxOk);
        return 0;
    }
    for (;;) {
        const int server = ChooseName(servers, false);
        if (server < 0)
            return 0;
        WestringStore shares;
        if (EnumServerShares(shares, *servers.At(server)) != 0 || shares.Count() == 0)
            continue;
        const int share = ChooseName(shares, true);
        if (share < 0)
            continue;
        const Westring path = Westring(U"\\\\") + *servers.At(server) + U"\\" + *shares.At(share);
        if (!SetPanelPath(panel, path))
            return 0;
        ChangePanelDirectory(Panels, PanelSide(panel), Westring(), false, -1, 0);
        return 1;
    }
}
