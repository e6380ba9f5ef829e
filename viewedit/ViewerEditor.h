// The internal viewer and editor as the rest of the program starts them.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// startLine -1: the first line.
void ViewFile(const Westring& path, int startLine);
// The viewer over the panel's files, starting at the cursor entry.
void ViewPanelFiles(CPanel* panel);
// The internal editor on one file. startOffset: a character offset whose line
// becomes the top line, -1 for none; a positive highlightLength marks that
// many characters from there.
void EditFile(const Westring& path, int startOffset, int highlightLength);
