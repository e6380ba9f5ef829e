// Running a script by name, as option -s and the command line do.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

// Finds the script along the script path and runs it with the arguments.
void RunScriptByName(const Westring& name, const WestringStore& arguments);
