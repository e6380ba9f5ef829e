#include "app/program/LayerHooks.h"

#include "app/panels/PanelSettings.h"
#include "app/settings/IniFile.h"
#include "archive/Archive.h"
#include "fileops/FileContainsText.h"

void InstallLayerHooks() {
    InstallMaskTextSearch();
    InstallArchiveOpener();
    BeforeIniWrite = StorePanelState;
}
