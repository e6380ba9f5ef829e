#include "app/program/LayerHooks.h"

#include "app/panels/PanelSettings.h"
#include "app/program/AppSupport.h"
#include "app/program/HistoryPickers.h"
#include "app/settings/IniFile.h"
#include "archive/ArchiveCommands.h"
#include "archive/ArchiveMembers.h"
#include "archive/ArchiveReaders.h"
#include "fileops/CopyDialog.h"
#include "fileops/FileContainsText.h"
#include "script/ScriptRunner.h"
#include "shell/CommandExecution.h"
#include "shell/ProgramRunner.h"
#include "viewedit/ViewerEditor.h"

void InstallLayerHooks() {
    InstallMaskTextSearch();
    InstallArchiveReaders();
    InstallArchiveMemberHooks();
    InstallArchiveTreeHooks();
    BeforeIniWrite = StorePanelState;
    PickDirectoryHistoryHook = PickDirectoryHistory;
    ProgramRunnerHooks.viewFile = [](const Westring& path) { ViewFile(path, -1); };
    ProgramRunnerHooks.editFile = [](const Westring& path) { EditFile(path, -1, 0); };
    ProgramRunnerHooks.runScript = [](const Westring& path, const WestringStore& arguments) {
        RunScriptByName(path, arguments);
    };
    CommandExecutionHooks.updateConsoleTitle = UpdateConsoleTitle;
    CommandExecutionHooks.updatePanelHeight = UpdatePanelHeight;
    CommandExecutionHooks.numLock = ApplyNumLockSetting;
}
