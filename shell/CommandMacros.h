// Macros of command lines: the macro character ("CmdChar", "!" by default)
// and a letter stand for the current file, the tagged files, a list file, a
// panel's directory or text the user is asked for. The names put in are quoted
// for the road the line takes, so that each reaches the program as one
// argument; then %NAME% references of the command's own text are replaced.
#pragma once

#include "base/strings/Westring.h"

#include <vector>

class CPanel;

// Modes.
enum {
    MacroModeCursor = 0,  // for the entry under the panel's cursor
    MacroModeFile = 1,    // for a given file (associations, programs, user menu)
    MacroModeProbe = 2,   // every macro kept except the input prompt
};

// The longest expanded command, in characters (the buffer holds one more).
constexpr int MacroBufferUnits = 4096;

// The answers the input prompts of a command got, in order: a probe fills
// it, and the expansions of the same command that follow take them instead
// of asking again.
using TPromptAnswers = std::vector<Westring>;

// Expands `buffer` (zero-terminated, MacroBufferUnits long) in place for the
// panel `side`; `fileName` is the given file (null for none). -1 when the
// user cancelled a prompt, a file could not be taken out of an archive, or the
// result would not fit (the buffer is then unchanged); 1 when the per-file
// macro "t" was used; else 0. `answers`: see TPromptAnswers (null: every
// prompt is asked).
int ExpandCommandMacros(char32_t* buffer, const Westring* fileName, int side, int mode,
                        TPromptAnswers* answers = nullptr);
// The same on a Westring.
int ExpandCommandMacrosInString(Westring& command, const Westring& fileName, int side, int mode,
                                TPromptAnswers* answers = nullptr);

// The macro character ("CmdChar").
char32_t MacroCharacter();
// A command run for a file gets the file: the macro character after a blank
// when the command holds none (what mode 1 does itself).
void AppendFileMacro(Westring& command);

// What the archive layer installs: takes a panel entry of the panel's open
// archive out to a local file; 0 with its path, else non-zero. Null: nothing
// can be taken out.
extern int (*GetArchiveEntryFileHook)(CPanel* panel, const Westring& name, Westring& localPath);
