// Running what the user typed on the command line, or what Enter means for the
// entry under the cursor: the internal commands (cd, a drive change, vcd,
// set), external commands with the panels hidden around them, and bringing the
// panels back afterwards.
#pragma once

#include "base/io/Entry.h"
#include "base/strings/Westring.h"
#include "shell/CommandMacros.h"
#include "shell/TempFiles.h"

class CPanel;

// ExecuteCommandLine flags.
enum {
    CommandRunFromEntry = 1,    // Enter on an entry and the like
    CommandReportNotFound = 2,  // passed on to the program runner
    CommandKeepDirectory = 8,   // the caller made the directory current itself
    CommandNoInterpreter = 16,  // passed on: never through the interpreter (archiver lines)
};

// What the program installs: the console title and the panel height follow
// a run. Null members do nothing.
struct TCommandExecutionHooks {
    void (*updateConsoleTitle)(const Westring* text);
    void (*updatePanelHeight)();
    void (*numLock)();
};
extern TCommandExecutionHooks CommandExecutionHooks;

// The Enter handler: runs the command line for panels[side] (each tagged entry
// in turn when it uses the per-file macro), or with an empty line acts on the
// cursor entry. background: rewrite by the "Background" template. 0 nothing
// done, 1 a directory entered, 2 otherwise.
int ExecuteCommandOrEntry(CPanel* panels, int side, const char32_t* command, int background);
// The internal command a command line is, by the patterns it matches
// without regard to case.
enum { CommandCd, CommandDrive, CommandVcd, CommandSet, CommandExternal };
int ClassifyCommand(const Westring& text);
// Runs one expanded command line for panel `side`: 0 for an internal command
// that worked, -1 when one failed, else the program runner's result.
int ExecuteCommandLine(const Westring& command, int side, int flags);
// Expands and runs a command line for the panel's entries (mode 0: once per
// tagged entry when it uses the per-file macro).
void RunCommandOnPanelEntries(const Westring& command, int side, int mode);
// false: hides the panel windows before an external program. true (every
// main-loop pass): waits after a program's output when asked, then shows the
// panels again, re-reading those marked.
void HideOrRestorePanels(bool restore);
// "Press any key to continue" after a waited program, when "PauseAfterRun" is on.
void WaitAfterProgramOutput();
// The target of a cd argument, from `target` (when not empty) or the panel's path.
void ParseCdArgument(const Westring& command, int side, Westring& target);
// The visual directory chooser.
void RunVisualCd(const Westring& command, int side);
// The command rewritten by the "Background" template.
void ApplyBackgroundTemplate(Westring& command);
// The command for Enter on a file (rewritten by the "Background" template
// when `background` is set): -1 cancelled, 0 none, 1 built.
int GetEntryCommand(const entry* item, Westring& command, int side, int background = 0);
// A program file by its name (or a program file without extension).
bool IsProgramFileName(const entry* item, const Westring& directory = Westring());
// The path, or its short 8.3 form.
Westring GetCommandFileName(const Westring& path, bool shortForm);
