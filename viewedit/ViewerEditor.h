// The internal viewer and editor as the rest of the program starts them.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// startLine -1: the first line.
void ViewFile(const Westring& path, int startLine);
// The viewer over the panel's files, starting at the cursor entry.
void ViewPanelFiles(CPanel* panel);
void EditFile(const Westring& path, int startLine, int flags);
