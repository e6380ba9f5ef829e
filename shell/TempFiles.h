// Temporary files of command lines (list files of the "@" macro, the visual
// directory chooser's output): made exclusively under free names, and removed
// again by this process only.
#pragma once

#include "base/strings/Westring.h"

// Makes a new empty file "QV#<pid mod 65536>.<n>" in `directory` (the
// temporary directory when null), n the first number whose name is free, and
// sets `name` to its path: 0, or the Windows error.
DWORD MakeTempFileName(Westring& name, const Westring* directory = nullptr);
// Deletes the temporary files this process made (read-only, hidden and system
// ones too); files of the same pattern that others made stay.
void RemoveTempFiles();
