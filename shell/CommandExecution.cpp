#include "shell/CommandExecution.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "app/panels/PanelDirectoryChange.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelDrive.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelTree.h"
#include "app/panels/Tree.h"
#include "app/panels/PanelWindow.h"
#include "app/settings/Association.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/Histories.h"
#include "base/io/TextFile.h"
#include "base/mask/MaskExpression.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/Environment.h"
#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathDisplay.h"
#include "base/os/PathMapping.h"
#include "base/os/PathNormalizer.h"
#include "base/os/SystemError.h"
#include "base/strings/QuoteFileName.h"
#include "base/strings/Utf16String.h"
#include "base/strings/Wildcard.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "fileops/MacroChar.h"
#include "platform/SystemTraits.h"
#include "shell/AssociationChoice.h"
#include "shell/ProgramRunner.h"
#include "shell/ProgramSearch.h"
#include "shell/TempDriveMapping.h"
#include "ui/Clock.h"
#include "ui/FunctionKeyBar.h"
#include "ui/MessageBox.h"
#include "ui/ModalLoop.h"
#include "ui/Win.h"

TCommandExecutionHooks CommandExecutionHooks = {nullptr, nullptr, nullptr};

namespace {

// The program output area is shown (set by an external run, cleared when
// the panels come back), and the row the output ended on.
bool OutputShown = false;
int OutputEndRow = 0;

bool MatchesWildcard(const char32_t* pattern, const Westring& text) {
    return MatchWildcard(pattern, text.Data()) != 0;
}

void Message(const char* text, const Westring& path) {
    ShowMessageBox(Westring(text), path, MessageBoxOk);
}

}  // namespace

int ClassifyCommand(const Westring& text) {
    if (MatchesWildcard(U"cd[\\. ]*", text)) {
        return CommandCd;
    }
    // A letter and a colon only: "1:" is a program's name.
    if (text.Length() == 2 && text[1] == ':' &&
        ((text[0] >= 'a' && text[0] <= 'z') || (text[0] >= 'A' && text[0] <= 'Z'))) {
        return CommandDrive;
    }
    if (MatchMaskName(Westring("vcd|vcd[\\ ]*"), text)) {
        return CommandVcd;
    }
    // An empty name is no variable: such a line is run like any other.
    if (MatchesWildcard(U"set *=*", text) && text.Mid(4, text.Length()).Trim().Find('=') > 0) {
        return CommandSet;
    }
    return CommandExternal;
}

namespace {

int RunCd(const Westring& command, int side) {
    CPanel* panel = &Panels[side];
    Westring target;
    ParseCdArgument(command, side, target);
    if (!target.IsEmpty() && ResolvePanelPath(panel, target)) {
        panel->cursorRow = 0;
        panel->topIndex = 0;
        panel->panelType = PANEL_FILES;
        ChangePanelDirectory(Panels, side, Westring(), false, -1, 0);
        return 0;
    }
    Message("Invalid directory", target);
    return -1;
}

int RunDriveChange(const Westring& command, int side) {
    char32_t letter = command[0] >= 'a' ? command[0] - 32 : command[0];
    if (ChangePanelDrive(side, static_cast<int>(letter) - 64, 0) != 0) {
        return -1;
    }
    ChangeDrive(letter);
    return 0;
}

int RunSet(const Westring& command) {
    Westring assignment = command.Mid(4, command.Length()).Trim();
    int equals = assignment.Find('=');
    Estring name, value;
    assignment.Left(equals).ToUtf8(name);
    assignment.Mid(equals + 1, assignment.Length()).ToUtf8(value);
    TopEnvironment().Set(name, value);
    return 0;
}

// Makes the panel's directory the process's current one: -1 when it cannot.
int MakePanelDirectoryCurrent(int side) {
    Westring directory = GetPanelDirectory(&Panels[side]);
    if (IsUncPath(directory)) {
        // Programs cannot work in a UNC directory: the share gets a letter.
        if (TempDriveMappings.MapPath(directory) == nullptr) {
            Message("Unable to map a drive to the UNC path", TempDriveMappings.LastErrorText());
            return -1;
        }
        return 0;
    }
    DWORD error = ChangeDirectory(directory);
    if (error != 0) {
        ShowMessageBox(FormatSystemError(error), directory, MessageBoxOk);
        return -1;
    }
    return 0;
}

// The screen switches from the panels to the program output area.
void ShowOutputArea(const Westring& command) {
    HideOrRestorePanels(false);
    CloseClockWindow();
    if (Config.NumLock && CommandExecutionHooks.numLock != nullptr) {
        CommandExecutionHooks.numLock();
    }
    if (Console == nullptr) {
        return;
    }
    int x = 0, y = 0;
    Console->GetCursorPos(x, y);
    const uint8_t attribute = ColourOf(ColourCommandLine);
    Console->SetAttribute(attribute);
    Console->SetCursorShape(15);
    if (FunctionKeyBar != nullptr) {
        FunctionKeyBar->Show();
    }
    if (y < ScreenRows - 2) {
        y = ScreenRows - 2;
    }
    // Every row from where the output begins is cleared: a command that
    // comes without a line feed of its own (a user-menu line) begins on the
    // command-line row, and its next line would otherwise be written over
    // the key bar, whose later labels would stay beside it.
    Console->FillRect(0, y, ScreenColumns, ScreenRows - y, attribute);
    Console->SetCursorPos(0, y);
    OutputShown = true;
    if (CommandExecutionHooks.updateConsoleTitle != nullptr) {
        CommandExecutionHooks.updateConsoleTitle(&command);
    }
}

// The tree search of cd: the node of `base` and below it, then the whole tree.
bool FindInPanelTree(CPanel* panel, const Westring& base, const Westring& name, Westring& found) {
    CTree* tree = panel->tree;
    if (tree == nullptr || tree->root == nullptr || name.IsEmpty()) {
        return false;
    }
    TREENODE* node = tree->FindNode(base, true);
    if (node != nullptr && tree->FindDirectoryByNameFrom(node, name, found, true)) {
        return true;
    }
    return tree->FindDirectoryByName(name, found, true);
}

}  // namespace

void ApplyBackgroundTemplate(Westring& command) {
    Westring pattern = Config.Background;
    int mark = pattern.Find('!');
    if (mark < 0) {
        command = pattern + Westring(" ") + command;
    } else {
        command = pattern.Left(mark) + command + pattern.Mid(mark + 1, pattern.Length());
    }
}

Westring GetCommandFileName(const Westring& path, bool shortForm) {
    return shortForm ? GetShortName(path) : path;
}

bool IsProgramFileName(const entry* item, const Westring& directory) {
    Westring name(item->name);
    if (MatchMaskName(Westring("*.{exe,com,cmd,bat,qvs}"), name)) {
        return true;
    }
    // A program file of this system without extension, or, where the
    // system knows programs by their content, by any name.
    if ((ProgramsKnownByContent || name.Find('.') < 0) && !directory.IsEmpty()) {
        Westring path = directory;
        if (path[path.Length() - 1] != '\\') {
            path += Westring("\\");
        }
        return GetProgramKindByExtension(path + name) == ProgramKindConsole;
    }
    return false;
}

int GetEntryCommand(const entry* item, Westring& command, int side, int background) {
    Westring name(item->name);
    Estring chosenText;
    int chosen = FileAssociations.GetCommand(item, chosenText);
    if (chosen > 0) {
        command = Westring(chosenText.Data());
    }
    if (chosen < 0) {
        return -1;
    }
    if (chosen == 0) {
        if (!IsProgramFileName(item, GetPanelDirectory(&Panels[side]))) {
            return 0;
        }
        command.Clear();
    }
    if (background) {
        // Wrapped before the name goes in, so that the name is quoted for
        // the road of the whole line.
        AppendFileMacro(command);
        ApplyBackgroundTemplate(command);
    }
    return ExpandCommandMacrosInString(command, name, side, MacroModeFile) < 0 ? -1 : 1;
}

void ParseCdArgument(const Westring& command, int side, Westring& target) {
    CPanel* panel = &Panels[side];
    Westring base = target.IsEmpty() ? Westring(panel->path) : target;
    Westring argument = command.Mid(2, command.Length()).TrimLeft();
    argument = MapDirectoryName(StripQuotes(argument));
    Westring path = argument;
    path.ReplaceAll(Westring("/"), Westring("\\"));
    if (NormalizePath(path, base.Data()) != 0) {
        Message("Invalid path", argument);
        return;
    }
    target = path;
    DWORD attributes = 0;
    if (panel->archive != nullptr ||
        (ReadFileAttributes(path, attributes) == 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
        return;
    }
    // A bare name that is no directory here may name one elsewhere in the
    // drive's tree: below the base first, then anywhere.
    Westring found;
    if (FindInPanelTree(panel, base, argument, found)) {
        target = found;
    }
}

void RunVisualCd(const Westring& command, int side) {
    Westring output;
    if (MakeTempFileName(output) != 0) {
        return;
    }
    Westring line =
        Westring("vcdpgm.exe ") + command.Mid(3, command.Length()).Trim() + Westring(" > ") + QuoteArgument(output);
    ExecuteCommandLine(line, side, 0);
    CTextFile file;
    if (file.Open(output, CRandomFile::ModeRead) != 0) {
        return;
    }
    Westring drive, directory;
    int64_t length = 0;
    const char32_t* line1 = file.ReadLine(length, 512);
    bool hasDrive = line1 != nullptr && length > 1;
    if (hasDrive) {
        drive = Westring(line1);
    }
    const char32_t* line2 = hasDrive ? file.ReadLine(length, 512) : nullptr;
    bool hasDirectory = line2 != nullptr;
    if (hasDirectory) {
        directory = Westring(line2);
    }
    file.Close();
    DeleteFileOrLink(output);
    // A drive line must begin with a drive letter.
    char32_t letter = hasDrive ? drive[0] : 0;
    if (letter >= 'a' && letter <= 'z') {
        letter -= 32;
    }
    if (letter < 'A' || letter > 'Z') {
        return;
    }
    CPanel* panel = &Panels[side];
    panel->cursorRow = 0;
    panel->topIndex = 0;
    Westring path;
    path.AppendChar(letter);
    path += Westring(":\\");
    int quote = hasDirectory ? directory.Find('"') : -1;
    if (quote < 0) {
        SetPanelPath(panel, path);
        return;
    }
    Westring inside = directory.Mid(quote + 1, directory.Length());
    if (!inside.IsEmpty()) {
        inside = inside.DropRight(1);
    }
    SetPanelPath(panel, path.Left(2) + inside);
    panel->needsReread = 1;
}

int ExecuteCommandLine(const Westring& commandText, int side, int flags) {
    Westring command = commandText;
    switch (ClassifyCommand(command)) {
    case CommandCd: return RunCd(command, side);
    case CommandDrive: return RunDriveChange(command, side);
    case CommandVcd:
        RunVisualCd(command, side);
        ChangeDirectory(Westring(Panels[side].path));
        return 0;
    case CommandSet: return RunSet(command);
    default: break;
    }
    if ((flags & CommandKeepDirectory) == 0 && MakePanelDirectoryCurrent(side) != 0) {
        return -1;
    }
    ShowOutputArea(command);
    TOutputRect savedRegion = {};
    if (Console != nullptr) {
        Console->GetOutputRect(savedRegion);
        Console->SetOutputRegion(0, 0, ScreenColumns, ScreenRows);
    }
    int result = RunProgram(command, flags & (RunReportNotFound | RunNoInterpreter));
    if (CommandExecutionHooks.updateConsoleTitle != nullptr) {
        CommandExecutionHooks.updateConsoleTitle(nullptr);
    }
    if (Console != nullptr) {
        Console->SetOutputRect(savedRegion);
    }
    if (CommandExecutionHooks.updatePanelHeight != nullptr) {
        CommandExecutionHooks.updatePanelHeight();
    }
    if (Console != nullptr) {
        int x = 0, y = 0;
        Console->GetCursorPos(x, y);
        if (x != 0) {
            Console->WriteTty("\n");
            Console->GetCursorPos(x, y);
        }
        OutputEndRow = y;
        Console->SetCursorShape(0);
    }
    for (int i = 0; i < 2; i++) {
        Panels[i].needsReread = 1;
    }
    // A letter no program holds any more is given back.
    TempDriveMappings.UnmapAll();
    return result;
}

void RunCommandOnPanelEntries(const Westring& command, int side, int mode) {
    RemoveTempFiles();
    CPanel* panel = &Panels[side];
    ChangeDirectory(GetPanelDirectory(panel));
    // The probe asks the input prompts once; every expansion below takes
    // its answers.
    TPromptAnswers answers;
    if (mode == MacroModeCursor) {
        Westring probe = command;
        int used = ExpandCommandMacrosInString(probe, Westring(), side, MacroModeProbe, &answers);
        if (used < 0) {
            return;
        }
        if (used == 1 && panel->taggedCount > 0) {
            for (int i = 0; i < panel->entryCount; i++) {
                entry* item = panel->entries[i];
                if (!item->tagged) {
                    continue;
                }
                Westring line = command;
                if (ExpandCommandMacrosInString(line, Westring(item->name), side, MacroModeCursor, &answers) < 0) {
                    break;
                }
                item->tagged = 0;
                item->processed = 1;
                panel->taggedCount--;
                if (ExecuteCommandLine(line, side, 0) < 0) {
                    break;
                }
            }
            RemoveTempFiles();
            return;
        }
    }
    Westring line = command;
    entry* current = panel->CursorEntry();
    if (ExpandCommandMacrosInString(line, current != nullptr ? Westring(current->name) : Westring(), side, mode,
                                    &answers) >= 0) {
        ExecuteCommandLine(line, side, 0);
    }
    RemoveTempFiles();
}

int ExecuteCommandOrEntry(CPanel* panels, int side, const char32_t* commandText, int background) {
    CPanel* panel = &panels[side];
    if (panel->panelType == PANEL_INFO || (panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE)) {
        if (Westring(commandText).Trim().Length() > 0) {
            side = 1 - side;
            panel = &panels[side];
        }
    }
    Westring command = Westring(commandText).Trim();
    if (!command.IsEmpty()) {
        if (background) {
            ApplyBackgroundTemplate(command);
        }
        CPanel* other = &panels[1 - side];
        if (other->isOn && other->panelType == PANEL_FILES && other->driveError == 0 &&
            HasDrivePrefix(Westring(other->path)) && HasDrivePrefix(Westring(panel->path)) &&
            Westring(other->path).Left(1) != Westring(panel->path).Left(1)) {
            // The other drive keeps its current directory for relative names.
            ChangeDirectory(Westring(other->path));
        }
        AddCommandHistory(commandText, false, nullptr);
        if (Console != nullptr) {
            Console->WriteTty("\n");
        }
        CommandRunState = 1;
        RunCommandOnPanelEntries(command, side, MacroModeCursor);
        if (CommandRunState == 1) {
            CommandRunState = 0;
        }
        return 2;
    }
    if (!panel->isOn) {
        return 0;
    }
    entry* current = panel->CursorEntry();
    if (current == nullptr) {
        return 0;
    }
    if (panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE) {
        // A tree line sends the other panel to its directory.
        CPanel* other = &panels[1 - side];
        Westring target = GetTreeLinePath(panel, panel->CursorIndex());
        if (!target.IsEmpty() && SetPanelPath(other, target)) {
            other->cursorRow = 0;
            other->topIndex = 0;
            ChangePanelDirectory(panels, 1 - side, Westring(), false, -1, 0);
        }
        return 1;
    }
    if (current->sortClass == SORTCLASS_PARENT) {
        ChangePanelDirectory(panels, side, Westring(".."), false, -1, 0);
        return 1;
    }
    if ((current->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ChangePanelDirectory(panels, side, Westring(current->name), false, -1, 0);
        return 1;
    }
    Westring entryCommand;
    int built = GetEntryCommand(current, entryCommand, side, background);
    if (built < 0) {
        return 0;
    }
    if (built > 0) {
        Westring shown = EscapeMacroChar(entryCommand);
        AddCommandHistory(shown.Data(), false, nullptr);
        Westring echo;
        if (Config.PathPrompt) {
            Westring directory = Westring(panel->path);
            NormalizePath(directory);
            ShortenPathForDisplay(directory, ScreenColumns / 2 - 1);
            echo = directory + Westring(">") + shown;
        } else {
            echo = Westring(panel->path).Left(1) + Westring(":>") + shown;
        }
        HideOrRestorePanels(false);
        if (FunctionKeyBar != nullptr) {
            FunctionKeyBar->Show();
        }
        if (Console != nullptr) {
            Estring text;
            (Westring("\r") + echo + Westring("\n")).ToUtf8(text);
            Console->WriteTty(text.Data());
        }
        CommandRunState = 1;
        ExecuteCommandLine(entryCommand, side, CommandRunFromEntry);
        return 2;
    }
    // Neither associated nor a program: perhaps an archive.
    Westring path = GetPanelDirectory(panel);
    if (path.IsEmpty() || path[path.Length() - 1] != '\\') {
        path += Westring("\\");
    }
    path += Westring(current->name);
    if (panel->archive == nullptr) {
        CArchive* archive = OpenArchive(path, nullptr);
        if (archive != nullptr && archive->status == 0) {
            panel->archive = archive;
            ChangePanelDirectory(panels, side, Westring(current->name), false, -1, 0);
        } else {
            delete archive;
        }
    } else if (ResolvePanelPath(panel, AddTrailingBackslash(Westring(panel->path)) + Westring(current->name))) {
        // An archive inside the archive opens from its extracted copy, as
        // Ctrl+PgDn opens it.
        ChangePanelDirectory(panels, side, Westring(), false, 0, 0);
    }
    return 2;
}

void WaitAfterProgramOutput() {
    if (OutputShown && Console != nullptr) {
        if (CommandRunState == 2 && Config.PauseAfterRun) {
            TOutputRect saved = {};
            Console->GetOutputRect(saved);
            Console->SetOutputRegion(0, 0, ScreenColumns, ScreenRows - 2);
            Console->WriteText(0, ScreenRows - 1, "Press any key to continue", ColourOf(ColourMessages));
            Console->Flush();
            CConsole::TEvent event;
            for (;;) {
                if (!Console->GetEvent(event, INFINITE)) {
                    continue;
                }
                if (event.kind == CConsole::TEvent::KindClosed) {
                    break;
                }
                // A new size is laid out at once; the line moves to the new last row.
                if (event.kind == CConsole::TEvent::KindResized && ModalLoopHooks.applyScreenSize != nullptr) {
                    ModalLoopHooks.applyScreenSize(event.x, event.y);
                    Console->SetOutputRegion(0, 0, ScreenColumns, ScreenRows - 2);
                    Console->WriteText(0, ScreenRows - 1, "Press any key to continue", ColourOf(ColourMessages));
                    Console->Flush();
                    continue;
                }
                if (event.kind == CConsole::TEvent::KindKey && event.code != 0x10100) {
                    break;
                }
            }
            Console->FillRect(0, ScreenRows - 1, ScreenColumns, 1, ColourOf(ColourCommandLine));
            Console->SetOutputRect(saved);
        }
        if (ScreenRows - 3 < OutputEndRow) {
            Console->ScrollUp(0, 0, ScreenColumns, ScreenRows, OutputEndRow + 3 - ScreenRows,
                              ColourOf(ColourCommandLine));
            OutputEndRow = ScreenRows - 3;
        }
    }
    OutputShown = false;
    CommandRunState = 0;
}

void HideOrRestorePanels(bool restore) {
    if (restore) {
        WaitAfterProgramOutput();
    }
    for (int side = 0; side < 2; side++) {
        CPanel* panel = &Panels[side];
        if (!panel->isOn) {
            continue;
        }
        if (restore && (side == 1 || panel->widthKind == WIDTH_FULL)) {
            CloseClockWindow();
        }
        if (panel->window == nullptr) {
            if (restore) {
                OpenPanelWindow(panel, side);
            }
            continue;
        }
        if (panel->window->IsHidden() == restore) {
            panel->window->SetHidden(!restore);
        }
        if (restore && panel->needsReread) {
            panel->needsReread = 0;
            ReadPanelDirectory(panel);
        }
        // A panel read since it was last drawn shows its new entries.
        if (restore && panel->readDone) {
            RedrawPanel(panel);
        }
    }
    if (FunctionKeyBar != nullptr) {
        if (restore) {
            FunctionKeyBar->Show();
        } else {
            FunctionKeyBar->Hide();
        }
    }
}
