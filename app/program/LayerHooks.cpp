#include "app/program/LayerHooks.h"

#include "app/panels/PanelSettings.h"
#include "app/settings/IniFile.h"
#include "archive/ArchiveReaders.h"
#include "fileops/FileContainsText.h"

void InstallLayerHooks() {
    InstallMaskTextSearch();
    InstallArchiveReaders();
    BeforeIniWrite = StorePanelState;
}
