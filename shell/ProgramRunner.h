// Running one external command line: the internal viewer and editor ("$view",
// "$edit"), scripts, and programs, found along the search path and started
// directly with the runner's own redirection, or through the command
// interpreter. A waited program runs on a pseudo console whose output the
// terminal emulator shows and whose input takes the keys.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

// RunProgram flags.
enum {
    RunReportNotFound = 2,  // "Program not found" instead of handing the line to the interpreter
    RunNoInterpreter = 16,  // never through the interpreter: no "|" or "#" test (archiver lines)
};

// What the runner reaches in the layers above it; the program fills these at
// start-up. A null member does nothing (a script or "$view" then runs nothing).
struct TProgramRunnerHooks {
    void (*viewFile)(const Westring& path);
    void (*editFile)(const Westring& path);
    void (*runScript)(const Westring& path, const WestringStore& arguments);
};
extern TProgramRunnerHooks ProgramRunnerHooks;

// Where a command line goes, decided from its program part.
enum {
    CommandRoadDirect = 0,    // the program is started with the line split by the C runtime's rules
    CommandRoadShell = 1,     // the line goes to a POSIX shell
    CommandRoadCmd = 2,       // the line goes to cmd.exe or command.com
    CommandRoadInternal = 3,  // "$view", "$edit" or a script: quotes are taken away
};

// The run state: 0 idle, 1 a typed command (or Enter on an entry) runs, 2 it
// started a program or a script and waited for it.
extern int CommandRunState;

// Runs the command line; the child's exit code, 0, or -1 (see the flags).
int RunProgram(const Westring& command, int flags);

// Splits off the program part: up to the first blank outside double quotes,
// else up to the first "/" outside them (a blank is then put before that "/"
// in `command`), else all of it. `rest` is what follows, trimmed.
void SplitProgramPart(Westring& command, Westring& program, Westring& rest);
// The road the line takes, judged before any name is put into it.
int GetCommandRoad(const Westring& command, int flags = 0);
// The name quoted so that it reaches the program as one argument on that road.
Westring QuoteNameForRoad(const Westring& name, int road);
// A macro expansion made `line` with its names quoted for `road`: when the
// runner is handed that line, it takes that road instead of judging the
// line again with the names in it.
void NoteExpandedCommand(const Westring& line, int road);

// The command interpreter (COMSPEC of the process, else "C:\COMMAND.COM"),
// and whether it takes "/c" (cmd.exe, command.com) rather than "-c".
Westring GetCommandInterpreter();
bool InterpreterTakesSlashC(const Westring& interpreter);

// One redirection operator at `position` of the argument text: opens its file
// into the start information and cuts the operator and its word out of the
// text. `opened` collects the handles it opened (closed by the caller).
void ApplyRedirection(Westring& arguments, int position, bool output, STARTUPINFOW& start, HANDLE opened[3]);

// Shows the output of a waited child, read from `output`, in the terminal
// emulator until the child has ended and its output is drained.
void PumpChildOutput(HANDLE output, HANDLE process, HPCON console);
// The screen's new size reaches the terminal of the child that runs, if any.
void ResizeRunningProgram(int columns, int rows);
// Moves what the pipe holds now to the emulator; false once the pipe is closed.
// `moved`, when given, tells whether anything was there.
bool ReadChildOutputChunk(HANDLE output, char* buffer, int size, bool* moved = nullptr);
