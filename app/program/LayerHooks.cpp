#include "app/program/LayerHooks.h"

#include "app/panels/PanelSettings.h"
#include "app/settings/IniFile.h"
#include "app/panels/PanelArchive.h"
#include "fileops/FileContainsText.h"

void InstallLayerHooks() {
    InstallMaskTextSearch();
    InstallArchiveOpener();
    BeforeIniWrite = StorePanelState;
}
