#include "app/program/LayerHooks.h"

#include "app/panels/PanelSettings.h"
#include "app/program/HistoryPickers.h"
#include "app/settings/IniFile.h"
#include "archive/Archive.h"
#include "fileops/CopyDialog.h"
#include "fileops/FileContainsText.h"

void InstallLayerHooks() {
    InstallMaskTextSearch();
    InstallArchiveOpener();
    BeforeIniWrite = StorePanelState;
    PickDirectoryHistoryHook = PickDirectoryHistory;
}
