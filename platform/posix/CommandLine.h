// Internal to the POSIX layer: a Windows command line split into arguments by
// the C runtime's rules, which a program started here receives as its argv.
#pragma once

#include "platform/posix/Paths.h"

#include <vector>

namespace w32 {

// The first argument is the program name: up to the next quote when it begins
// with one, else up to a blank; no backslash escapes. The others: blanks
// outside quotes separate; 2n backslashes and a quote give n backslashes and
// open or close a quoted stretch, 2n+1 backslashes and a quote give n
// backslashes and a literal quote; a doubled quote inside a quoted stretch is
// one literal quote; other backslashes are literal.
std::vector<WString> SplitCommandLine(const WString& line);

}  // namespace w32
