#include "app/program/LayerHooks.h"

#include "app/panels/PanelSettings.h"
#include "app/program/AppSupport.h"
#include "app/program/HistoryPickers.h"
#include "app/settings/IniFile.h"
#include "archive/ArchiveCommands.h"
#include "archive/ArchiveMembers.h"
#include "archive/ArchiveReaders.h"
#include "fileops/CopyDialog.h"
#include "fileops/DeleteCommands.h"
#include "fileops/DeleteWorkers.h"
#include "fileops/FileContainsText.h"
#include "fileops/find/FileFindHooks.h"
#include "shell/AssociationChoice.h"
#include "shell/CommandMacros.h"
#include "app/settings/Association.h"
#include "app/settings/Config.h"
#include "console/KeyCodes.h"
#include "viewedit/ViewerSearchState.h"
#include "script/ScriptRunner.h"
#include "shell/AssociationChoice.h"
#include "shell/CommandExecution.h"
#include "shell/ProgramRunner.h"
#include "viewedit/ViewerEditor.h"

namespace {

// F3 and F4 on a found file: the first association whose mask matches its
// name, else the configured program; Alt-F3 and Alt-F4 the second viewer and
// editor. A found entry's name is its full path.
bool FoundFileCommand(const entry* item, int key, Westring& command) {
    const bool edit = key == KEY_F4 || key == KEY_ALT_F4;
    if (key == KEY_F3 || key == KEY_F4) {
        const AssociationSet& set = edit ? EditorAssociations : ViewerAssociations;
        if (!set.FindFirstMatch(ExtractFileName(Westring(item->name)), command))
            command = edit ? Config.Editor : Config.Viewer;
    } else {
        command = edit ? Config.Editor2 : Config.Viewer2;
    }
    return true;
}

}  // namespace

void InstallLayerHooks() {
    FileFindHooks.commandFor = FoundFileCommand;
    FileFindHooks.runCommand = [](const Westring& command, const Westring& path, int side) {
        Westring line = command;
        ExpandCommandMacrosInString(line, path, side, 0);
        ExecuteCommandLine(line, side, 0);
    };
    FileFindHooks.viewPanelFiles = ViewPanelFiles;
    FileFindHooks.editFile = [](const Westring& path, int64_t offset, int length) {
        EditFile(path, static_cast<int>(offset), length);
    };
    FileFindHooks.setViewerSearch = [](const Westring& text, bool caseSensitive, bool wholeWord) {
        ViewerSearchText = text;
        ViewerSearchOptions.caseSensitive = caseSensitive;
        ViewerSearchOptions.wholeWord = wholeWord;
    };
    InstallMaskTextSearch();
    InstallArchiveReaders();
    InstallArchiveMemberHooks();
    InstallArchiveTreeHooks();
    BeforeIniWrite = StorePanelState;
    AssociationChooser = ChooseAssociation;
    PickDirectoryHistoryHook = PickDirectoryHistory;
    DirectoryRemovedHook = ForgetDirectoryInPanelTrees;
    ProgramRunnerHooks.viewFile = [](const Westring& path) { ViewFile(path, -1); };
    ProgramRunnerHooks.editFile = [](const Westring& path) { EditFile(path, -1, 0); };
    ProgramRunnerHooks.runScript = [](const Westring& path, const WestringStore& arguments) {
        RunScriptByName(path, arguments);
    };
    CommandExecutionHooks.updateConsoleTitle = UpdateConsoleTitle;
    CommandExecutionHooks.updatePanelHeight = UpdatePanelHeight;
    CommandExecutionHooks.numLock = ApplyNumLockSetting;
}
