// The make-objects command: a launchable object of the Windows shell for the
// file under the cursor or for each tagged file.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

void MakeObjectsCommand(CPanel* panel);
// The proposed title of an object: the name without its extension, lower
// case, its first letter upper case.
Westring TitleFromFileName(const Westring& name);
