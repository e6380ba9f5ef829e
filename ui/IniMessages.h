// The ini file's complaints in the program's message box, and the reading and
// writing of the ini file that show them there.
#pragma once

#include "app/settings/IniFile.h"

IIniMessages& MessageBoxIniMessages();

// LoadConfiguration and WriteIniFile with their complaints in the message box.
void LoadConfiguration(bool reloadOnly);
DWORD WriteIniFile();
