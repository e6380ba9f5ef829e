// File names put into command lines must not start macros: every configured
// macro character in them is doubled.
#pragma once

#include "base/strings/Westring.h"

// A copy of the name with every macro character ("CmdChar") doubled.
Westring EscapeMacroChar(const Westring& name);
