// Quoting of file names for command lines, and taking quotes away again.
//
// A name that goes into a command line must reach the program as exactly one
// argument whatever characters it holds. Which quoting does that depends on
// the road the line takes: a program started directly splits its command line
// by the Windows C runtime's rules, the POSIX shell by its own, cmd.exe by
// double quotes. The plain double-quote form is also the one the stored files
// (descriptions) use.
#pragma once

#include "base/strings/Westring.h"

// The name in double quotes when it holds a blank, '%', '&', '+' or ',' or
// starts with '-'; else the name itself.
Westring QuoteFileName(const Westring& name);
// A copy without its double quotes; inside a quoted stretch a doubled quote
// stands for one quote character.
Westring StripQuotes(const Westring& text);

// The name as one argument of a program started directly (the Windows C
// runtime's splitting rules: backslashes before a quote doubled, inner quotes
// escaped). Plain names stay as they are.
Westring QuoteArgument(const Westring& name);
// The name as one word of a POSIX shell line: in single quotes, an inner '
// written '\''. Plain names stay as they are.
Westring QuoteForShell(const Westring& name);
// The name as one argument of a line for cmd.exe: in double quotes when it
// holds anything cmd.exe acts on.
Westring QuoteForCmd(const Westring& name);

// The first position at or after start where `unit` stands outside a quoted
// stretch, reading quotes as the C runtime's splitting rules do (a quote after
// an odd number of backslashes is a literal one, and so is a doubled quote
// inside quotes); -1 when none.
int FindOutsideArgumentQuotes(const Westring& text, char32_t unit, int start = 0);
