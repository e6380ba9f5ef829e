// Running a script by name, as option -s and the command line do.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

// Finds the script like a program, the ScriptPath setting's directories
// before PATH, and runs it with the argument words; a script that is not
// found is reported on the console. True when the script was found and ended
// without an error.
bool RunScriptByName(const Westring& name, const WestringStore& arguments);
