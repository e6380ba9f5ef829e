// Launchable objects of the Windows shell for files: a shortcut on the
// user's desktop, or on systems before version 4 an item in Program Manager.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

// One object for the file of the directory.
void MakeProgmanItem(const Westring& directory, const Westring& fileName, const Westring& title, bool fullScreen);
// The shortcut "TITLE.lnk" on the desktop to directory\fileName, with the
// arguments (null for none), started in the directory.
void MakeDesktopShortcut(const Westring& title, const Westring& fileName, const Westring* arguments,
                         const Westring& workingDirectory);
// Program Manager's command that adds the item:
// [AddItem("DIR\FILE","TITLE",,,,,"DIR")] (",,fFullScreen" before the ")]").
Estring ProgmanAddItemCommand(const Westring& directory, const Westring& fileName, const Westring& title,
                              bool fullScreen);
