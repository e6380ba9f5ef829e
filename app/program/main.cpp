// Quorvane's entry point: builds the objects that live for the whole run,
// reads the command line and the configuration, then views or edits one file,
// runs one script, or shows the panels and runs the main loop until the user
// quits; afterwards takes everything down in a fixed order.
#include <cstdio>

#include "app/program/AppSupport.h"
#include "ui/IniMessages.h"
#include "ui/Clock.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "ui/ConsoleControl.h"
#include "app/settings/DataFiles.h"
#include "app/program/ExitDirectoryFile.h"
#include "app/program/LayerHooks.h"
#include "ui/FunctionKeyBar.h"
#include "app/settings/HistoryFile.h"
#include "app/settings/IniFile.h"
#include "app/program/MainLoop.h"
#include "app/panels/Panel.h"
#include "platform/win32.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelWindow.h"
#include "app/program/StartupOptions.h"
#include "app/panels/PanelArchive.h"
#include "shell/TempDriveMapping.h"
#include "ui/MessageBox.h"
#include "base/os/SystemError.h"
#include "base/strings/Utf16String.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/ScreenSize.h"
#include "base/os/PathNormalizer.h"
#include "script/ScriptRunner.h"
#include "shell/CommandExecution.h"
#include "ui/HelpFile.h"
#include "viewedit/ViewerEditor.h"

namespace {

// Option messages go to standard error: standard output carries the frames
// of the console host.
void PrintMessage(const char* text) {
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
}

// Puts the console back for the roads that never show the panels.
void RestoreConsoleAtExit() {
    Console->SetCursorPos(0, ScreenRows - 1);
    Console->SetCursorShape(15);
    RestoreLocalConsoleMode();
    DeleteFunctionKeyBar();
}

Westring CurrentDirectory() {
    WCHAR buffer[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    if (n == 0 || n >= MAX_PATH * 4) {
        return Westring();
    }
    return Westring(buffer);
}

// Each panel starts in the current directory, then goes to the directory of
// its option or of its setting.
void SetStartDirectories(const TStartupOptions& options) {
    const Westring* optionDirectories[2] = {&options.leftDirectory, &options.rightDirectory};
    const Westring* configured[2] = {&Config.Left, &Config.Right};
    for (int side = 0; side < 2; side++) {
        CPanel* panel = &Panels[side];
        Westring current = CurrentDirectory();
        SetPanelPath(panel, current);
        Westring start = !optionDirectories[side]->IsEmpty() ? *optionDirectories[side] : *configured[side];
        if (start.IsEmpty()) {
            start = current;
        }
        // The panel stays in the current directory, but the user must learn
        // that it is not the one asked for (a path too long for a panel was
        // reported already).
        if (!ResolvePanelPath(panel, start) && start.Length() < CPanel::PathUnits) {
            ShowMessageBox(FormatSystemError(ERROR_PATH_NOT_FOUND), start, 0);
        }
    }
}

// Ends the run; the exit code (not 0 when the exit-directory file was asked
// for and could not be written).
int ShutDown(const TStartupOptions& options) {
    if (Config.AutoSave) {
        WriteIniFile();
    }
    Westring exitDirectory = Westring(Panels[ActiveSide].path);
    if (Panels[ActiveSide].archive != nullptr) {
        const CArchive* outermost = Panels[ActiveSide].archive;
        while (outermost->parent != nullptr) {
            outermost = outermost->parent;
        }
        exitDirectory = ExitDirectoryOfPanel(exitDirectory, outermost->filePath);
    }
    for (int side = 0; side < 2; side++) {
        delete Panels[side].archive;  // the innermost owns the archives around it
        Panels[side].archive = nullptr;
    }
    CloseClockWindow();
    for (int side = 0; side < 2; side++) {
        if (Panels[side].isOn) {
            ClosePanelWindow(&Panels[side]);
        }
    }
    DeleteFunctionKeyBar();
    RemoveTempFiles();
    // Every temporary drive connection goes with its mapping.
    TempDriveMappings.FreeAll();
    RestoreLocalConsoleMode();
    Console->FillRect(0, ScreenRows - 2, ScreenColumns, 2, ColourOf(ColourCommandLine));
    Console->SetCursorShape(15);
    UpdateConsoleTitle(&ConsoleExitTitle);
    Console->SetCursorPos(0, ScreenRows - 1);
    Estring error;
    if (!WriteExitDirectoryFile(options.exitDirectoryFile, exitDirectory, error)) {
        PrintMessage(error.Data());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The drives are known before anything else: where their map is wrong the
    // run stops here, before it draws or touches a file.
    GetLogicalDrives();
    // The program's own path is the system's answer, not argv[0]: that names
    // the file in the host system's terms, and read as a path of ours it would
    // resolve against whatever drive is current.
    GetProgramPath();
    LoadOptionalKernelFunctions();
    InitLocalConsole();
    Console = new CConsole;
    // The size the host told the client in the greeting is the screen the
    // layout starts from.
    Console->GetScreenSize(ScreenColumns, ScreenRows);
    Panels = new CPanel[2];
    UserAbortState = UserAbortIdle;
    MainLoop.shiftState = 0;
    MainLoop.keyBarShiftState = 0;
    InstallConsoleCtrlHandler();
    InstallScreenHooks();
    InstallLayerHooks();
    UpdatePanelHeight();
    InitLocaleSettings();

    TStartupOptions options;
    EStartupOptionsResult parsed = ParseStartupOptions(argc, argv, options);
    if (options.hideCursor) {
        Console->SetCursorShape(0);
    }
    if (parsed == StartupOptionsNoFile) {
        PrintMessage(NoFileSpecifiedMessage);
        return 1;
    }
    if (parsed == StartupOptionsUsage) {
        PrintMessage(UsageMessage);
        return 1;
    }

    Config.IniFilePath = options.iniFile;
    LoadConfiguration(false);
    UpdatePanelHeight();
    Console->SetAttribute(ColourOf(ColourCommandLine));
    if (ScreenColumns < 80 || ScreenRows < 25) {
        // A dimension that is large enough stays as the host has it.
        FollowHostScreenSize(ScreenRows, ScreenColumns);
    }
    LoadHelpFile(DataFilePath(DataFileHelp, DataFileProgramFolder));
    InitLocaleSettings();
    RecreateFunctionKeyBar(0);
    Console->ResetOutputRegion();

    if (!options.viewFile.IsEmpty() || !options.editFile.IsEmpty()) {
        if (!options.viewFile.IsEmpty()) {
            ViewFile(options.viewFile, -1);
        }
        if (!options.editFile.IsEmpty()) {
            EditFile(options.editFile, -1, 0);
        }
        RestoreConsoleAtExit();
        return 0;
    }

    LoadHistoryFile();
    SetStartDirectories(options);
    if (!options.scriptName.IsEmpty()) {
        // The panels are never shown: the script reads the left one, as the
        // start directories left it, when it first asks for its entries.
        for (int side = 0; side < 2; side++) {
            InitHiddenPanelFromConfig(&Panels[side], side);
        }
        ActiveSide = 0;
        bool ran = RunScriptByName(options.scriptName, options.scriptArguments);
        RestoreConsoleAtExit();
        return ran ? 0 : 1;
    }

    Console->WriteTty("\n\n");
    BeginStartupReads(&Panels[0], &Panels[1]);
    InitPanelFromConfig(&Panels[0], 0);
    // The left panel shows while the right one is read.
    Console->Flush();
    InitPanelFromConfig(&Panels[1], 1);
    for (int side = 0; side < 2; side++) {
        CPanel* panel = &Panels[side];
        if (panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE) {
            ReadPanelDirectory(panel);
            if (panel->isOn) {
                OpenPanelWindow(panel, side);
            }
        }
    }
    EndStartupReads();
    ActiveSide = Config.StartupSide == 'R' ? 1 : 0;
    UpdateConsoleTitle(nullptr);
    SwitchActivePanel(Panels, ActiveSide);

    RunMainLoop();
    return ShutDown(options);
}
