// Handing a file to the system's shell, and showing compiled HTML help.
#pragma once

#include "base/strings/Westring.h"

// Opens the file with the program the system associates with it; true when
// the shell took it.
bool ShellOpen(const Westring& path);
// Shows a compiled help file through the system's help viewer when it has
// one; does nothing otherwise.
void ShowHtmlHelp(const Westring& file);
