// The properties of one file or directory as rows of labels and values, for
// the file information window.
#pragma once

#include "base/strings/Westring.h"
#include "base/os/FileInfoItems.h"

// Appends the rows: "Size", the three times, "Short Name", "Target" of a link,
// "Compressed Size", "Attributes" and one "Alternate Stream" per named data
// stream, each where it applies. False (no rows) when the path is not found.
bool GetFileProperties(const Westring& path, CFileInfoItems& rows);
