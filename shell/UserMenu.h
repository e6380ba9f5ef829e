// The user menu: read from the menu file nearest the panel's directory, shown
// as a list with hot keys and submenus, its entry's lines run like typed ones.
#pragma once

#include "base/strings/Westring.h"
#include "shell/MenuFile.h"

// Shows the menu with its title (column -1: centred; else the left edge,
// kept off the right border). The chosen entry, or null.
MenuEntry* ShowUserMenu(MenuStore& store, const Westring& title, int column);
// The User Menu command for panel `side`; mainMenu: only the main menu file.
void UserMenuCommand(int side, bool mainMenu);
// The menu file for a panel directory: the first file of the main menu
// file's name in the directory or one of its parents, else the main one.
Westring FindUserMenuFile(const Westring& directory, bool mainMenu);
