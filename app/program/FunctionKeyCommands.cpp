// The function-key commands of the dispatch.
#include "app/program/CommandHandlers.h"
#include "app/settings/Config.h"
#include "app/settings/DataFiles.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/DirectorySizes.h"
#include "app/panels/PanelTree.h"
#include "app/panels/DriveMenu.h"
#include "app/program/HistoryPickers.h"
#include "app/settings/IniFile.h"
#include "ui/IniMessages.h"
#include "ui/MessageBox.h"
#include "app/panels/NetworkChooser.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelWindow.h"
#include "app/settings/Colours.h"
#include "app/program/StoredPathsDialog.h"
#include "app/settings/FieldKinds.h"
#include "archive/ArchiveCommands.h"
#include "archive/ArchiveMembers.h"
#include "base/os/ShellOpen.h"
#include "console/ScreenSize.h"
#include "fileops/FileCommands.h"
#include "base/os/PathNormalizer.h"
#include "shell/CommandExecution.h"
#include "shell/MakeObjects.h"
#include "shell/UserMenu.h"
#include "app/panels/PanelDirectoryChange.h"
#include "app/settings/Association.h"
#include "ui/Dialog.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "viewedit/ViewerEditor.h"
#include "console/KeyCodes.h"

namespace {

bool OnInfoPage(const TCommand& c) {
    return c.active->panelType == PANEL_INFO;
}

// The local file for a panel entry: a member of an archive is extracted.
bool EntryFile(TCommand& c, const entry* item, Westring& path) {
    if (c.InArchive()) {
        path = GetArchiveEntryFile(c.active->archive, Westring(item->name));
        return !path.IsEmpty();
    }
    path = AddTrailingBackslash(GetPanelDirectory(c.active)) + Westring(item->name);
    return true;
}

// F3 and F4: with an association or a configured program the command runs on
// the file, else the internal viewer or editor.
int ViewOrEdit(TCommand& c, bool edit) {
    entry* current = c.active->CursorEntry();
    if (c.PanelsHidden() || !c.ActiveFileList() || current == nullptr) {
        return RedrawNothing;
    }
    if ((current->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ComputeDirectorySizes(c.active, false);
        return RedrawAll;
    }
    Westring command;
    if (c.key == KEY_F3 || c.key == KEY_F4) {
        int chosen = (edit ? EditorAssociations : ViewerAssociations).ChooseCommand(current, command);
        if (chosen < 0) {
            return RedrawNothing;
        }
        if (chosen == 0) {
            command = edit ? Config.Editor : Config.Viewer;
        }
    } else {
        command = edit ? Config.Editor2 : Config.Viewer2;
    }
    Westring path;
    if (!EntryFile(c, current, path)) {
        return RedrawAll;
    }
    if (!command.IsEmpty()) {
        ExpandCommandMacrosInString(command, path, c.side, 0);
        ExecuteCommandLine(command, c.side, 0);
    } else if (edit) {
        EditFile(path, -1, 0);
        RereadBothPanels();
    } else {
        ViewPanelFiles(c.active);
    }
    return RedrawAll;
}

}  // namespace

int CmdHelp(TCommand&) {
    ShowHelp(HelpTopicPanels);
    return RedrawAll;
}

int CmdUserMenu(TCommand& c) {
    UserMenuCommand(c.side, c.key == KEY_SHIFT_F2);
    return RedrawAll;
}

int CmdView(TCommand& c) {
    return ViewOrEdit(c, false);
}

int CmdEdit(TCommand& c) {
    if (c.active->isOn && OnInfoPage(c)) {
        EditFile(AddTrailingBackslash(GetPanelDirectory(c.other)) + Westring("dirinfo"), -1, 0);
        return RedrawAll;
    }
    return ViewOrEdit(c, true);
}

int CmdCopyMove(TCommand& c) {
    if (c.PanelsHidden() || OnInfoPage(c)) {
        return RedrawNothing;
    }
    int mode = c.key == KEY_F6 ? 1 : 0;
    bool otherArchive = c.other->isOn && c.other->panelType == PANEL_FILES && c.other->archive != nullptr;
    if (c.InArchive() || otherArchive) {
        CopyToFromArchive(Panels, c.side, mode);
    } else {
        CopyOrMovePanelFiles(Panels, c.side, mode, nullptr);
    }
    c.active->searchText[0] = 0;
    return RedrawAll;
}

int CmdMakeDirectory(TCommand& c) {
    if (!c.InArchive()) {
        MakeDirectoryCommand(c.side);
    }
    return RedrawAll;
}

int CmdDeleteFiles(TCommand& c) {
    if (c.PanelsHidden() || OnInfoPage(c)) {
        return RedrawNothing;
    }
    DeleteFilesCommand(c.active);
    return RedrawAll;
}

int CmdQuit(TCommand& c) {
    if ((Config.Confirmations & ConfirmQuitOff) != 0) {
        c.state.quit = true;
        return RedrawNothing;
    }
    unsigned answer = ShowMessageBox(Westring("Are you sure you want to exit Quorvane ?"), Westring(),
                                     MessageBoxOkCancel | MessageBoxNormal);
    if (answer == 'y' || answer == 'Y') {
        c.state.quit = true;
    }
    return RedrawAll;
}

int CmdTogglePanel(TCommand& c) {
    int side = c.key == KEY_CTRL_F1 ? 0 : 1;
    TogglePanel(side);
    if (!Panels[ActiveSide].isOn && Panels[1 - ActiveSide].isOn) {
        SwitchActivePanel(Panels, 1 - ActiveSide);
    }
    return RedrawAll;
}

int CmdDriveMenu(TCommand& c) {
    DriveMenu(c.key == KEY_ALT_F1 ? 0 : 1);
    return RedrawAll;
}

int CmdStoredPaths(TCommand& c) {
    if (StoredPathsDialog(c.active)) {
        c.active->topIndex = 0;
        c.active->cursorRow = 0;
        ChangePanelDirectory(Panels, c.side, Westring(), false, -1, 0);
    }
    return RedrawAll;
}

int CmdMakeObjects(TCommand& c) {
    MakeObjectsCommand(c.active);
    return RedrawAll;
}

int CmdFind(TCommand& c) {
    FileFindCommand(c.active, c.key == KEY_ALT_SHIFT_F7);
    return RedrawAll;
}

int CmdCommandHistory(TCommand& c) {
    int level = ShowCommandHistory(c.state.commandLine.text, c.state.commandLine.cursor);
    if (level == RedrawAll) {
        c.state.commandLine.ResetHistory();
    }
    return level;
}

int CmdToggleLines(TCommand&) {
    ToggleScreenLines();
    return RedrawAll;
}

int CmdTreeChooser(TCommand& c) {
    Westring chosen;
    if (DirectoryTreeDialog(c.active, chosen, TreeChooserGoTo) == 0) {
        GoToDirectory(c.active, chosen);
    }
    return RedrawAll;
}

int CmdManual(TCommand&) {
    Westring manual = DataFilePath(DataFileHtmlHelp, DataFileProgramFolder);
    ShellOpen(manual);
    return RedrawAll;
}

int CmdViewEditTyped(TCommand& c) {
    if (c.InArchive()) {
        return RedrawNothing;
    }
    bool edit = c.key == KEY_SHIFT_F4;
    entry* current = c.active->CursorEntry();
    Westring name = current != nullptr ? Westring(current->name) : Westring();
    {
        Dialog dialog(-1, 6, 74, 9, ColourOf(ColourMessages));
        dialog.AddStaticText(1, 0, edit ? "Edit the file:" : "View the file:", dialog.Attribute());
        dialog.AddStringField(1, 1, 1, name, 70, 512, FieldKindFileName);
        dialog.AddOkCancelButtons(-1, 3, 1);
        if (dialog.Run() == KEY_ESC) {
            return RedrawAll;
        }
    }
    Westring path = name;
    Westring directory = GetPanelDirectory(c.active);
    NormalizePath(path, directory.Data());
    const Westring& program = edit ? Config.Editor : Config.Viewer;
    if (!program.IsEmpty()) {
        Westring command = program;
        ExpandCommandMacrosInString(command, path, c.side, 0);
        ExecuteCommandLine(command, c.side, 0);
    } else if (edit) {
        EditFile(path, -1, 0);
    } else {
        ViewFile(path, -1);
    }
    if (edit) {
        RereadBothPanels();
        if (ExtractDirectory(path).EqualsNoCase(directory)) {
            SetPanelCursorToName(c.active, ExtractFileName(path));
        }
    }
    return RedrawAll;
}

int CmdCopyMoveModes(TCommand& c) {
    if (c.PanelsHidden() || OnInfoPage(c) || c.InArchive()) {
        return RedrawNothing;
    }
    CopyOrMovePanelFiles(Panels, c.side, c.key == KEY_SHIFT_F5 ? 2 : 3, nullptr);
    return RedrawAll;
}

int CmdMakeArchive(TCommand& c) {
    MakeArchive(c.active);
    return RedrawAll;
}

int CmdDeleteTyped(TCommand& c) {
    DeleteTypedFile(c.active);
    return RedrawAll;
}

int CmdSaveSettings(TCommand&) {
    WriteIniFile();
    return RedrawNothing;
}

int CmdFullWidth(TCommand& c) {
    int side = c.key == KEY_CTRL_SHIFT_F1 ? 0 : 1;
    CPanel* panel = &Panels[side];
    CPanel* other = &Panels[1 - side];
    if (!panel->isOn) {
        return RedrawNothing;
    }
    if (panel->widthKind != WIDTH_FULL) {
        if (other->isOn) {
            ClosePanelWindow(other);
        }
        ClosePanelWindow(panel);
        panel->widthKind = WIDTH_FULL;
        panel->isOn = 1;
        OpenPanelWindow(panel, side);
    } else {
        ClosePanelWindow(panel);
        panel->widthKind = WIDTH_HALF;
        panel->isOn = 1;
        OpenPanelWindow(panel, side);
        if (!other->startHidden && !other->isOn) {
            other->widthKind = WIDTH_HALF;
            other->isOn = 1;
            OpenPanelWindow(other, 1 - side);
        }
    }
    return RedrawAll;
}

int CmdSymbolicLinks(TCommand& c) {
    if (c.PanelsHidden() || OnInfoPage(c) || c.InArchive()) {
        return RedrawNothing;
    }
    MakeSymbolicLinksCommand(c.active, GetPanelDirectory(c.other));
    return RedrawAll;
}

int CmdSynchronize(TCommand& c) {
    bool bothFiles =
        c.active->isOn && c.other->isOn && c.active->panelType == PANEL_FILES && c.other->panelType == PANEL_FILES;
    if (!bothFiles) {
        return RedrawNothing;
    }
    SynchronizeCommand(GetPanelDirectory(c.active), GetPanelDirectory(c.other));
    return RedrawAll;
}

int CmdViewStyleKey(TCommand& c) {
    SetPanelViewStyle(c.active, c.key - KEY_ALT_SHIFT_F1);
    return RedrawAll;
}

int CmdDirectoryHistory(TCommand& c) {
    GoToDirectoryHistory(c.active);
    return RedrawAll;
}

int CmdToggleColumns(TCommand&) {
    int columns = ScreenColumns;
    int wanted = 80;
    if (columns == 80) {
        wanted = 132;
    } else if (columns == 132) {
        wanted = (Config.Columns > 80 && Config.Columns != 132) ? Config.Columns : 80;
    }
    RelayoutScreen(wanted, ScreenRows);
    return RedrawAll;
}

int CmdNetwork(TCommand& c) {
    NetworkBrowse(c.active);
    return RedrawAll;
}
