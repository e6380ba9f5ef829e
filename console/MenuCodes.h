// The menu command codes: what a pull-down menu entry returns when the
// command it stands for has no key of its own. An entry for a command that
// has a key returns that key's code (console/KeyCodes.h) instead, and the
// command dispatch takes both through one table. The codes lie from
// MENU_CODE_BASE up, above every key code; this header is the one place where
// they are written as numbers.
#pragma once

const int MENU_CODE_BASE = 0x100000;

// The Left and Right menus: the same commands for each panel.
const int MENU_LEFT_INFO = MENU_CODE_BASE + 0x00;
const int MENU_LEFT_SORT_NAME = MENU_CODE_BASE + 0x01;  // to MENU_LEFT_SORT_UNSORTED
const int MENU_LEFT_SORT_EXTENSION = MENU_CODE_BASE + 0x02;
const int MENU_LEFT_SORT_TIME = MENU_CODE_BASE + 0x03;
const int MENU_LEFT_SORT_SIZE = MENU_CODE_BASE + 0x04;
const int MENU_LEFT_SORT_UNSORTED = MENU_CODE_BASE + 0x05;
const int MENU_LEFT_REVERSE = MENU_CODE_BASE + 0x06;
const int MENU_RIGHT_SORT_NAME = MENU_CODE_BASE + 0x07;  // to MENU_RIGHT_SORT_UNSORTED
const int MENU_RIGHT_SORT_EXTENSION = MENU_CODE_BASE + 0x08;
const int MENU_RIGHT_SORT_TIME = MENU_CODE_BASE + 0x09;
const int MENU_RIGHT_SORT_SIZE = MENU_CODE_BASE + 0x0A;
const int MENU_RIGHT_SORT_UNSORTED = MENU_CODE_BASE + 0x0B;
const int MENU_RIGHT_REVERSE = MENU_CODE_BASE + 0x0C;
const int MENU_LEFT_BRIEF = MENU_CODE_BASE + 0x0D;
const int MENU_RIGHT_BRIEF = MENU_CODE_BASE + 0x0E;
const int MENU_LEFT_FULL = MENU_CODE_BASE + 0x0F;
const int MENU_RIGHT_FULL = MENU_CODE_BASE + 0x10;
const int MENU_LEFT_FILTER = MENU_CODE_BASE + 0x12;
const int MENU_LEFT_REREAD = MENU_CODE_BASE + 0x13;
const int MENU_LEFT_WIDE = MENU_CODE_BASE + 0x14;
const int MENU_RIGHT_WIDE = MENU_CODE_BASE + 0x15;
const int MENU_LEFT_TREE = MENU_CODE_BASE + 0x16;
const int MENU_RIGHT_TREE = MENU_CODE_BASE + 0x17;
const int MENU_LEFT_BRIEF_WIDE = MENU_CODE_BASE + 0x18;
const int MENU_RIGHT_BRIEF_WIDE = MENU_CODE_BASE + 0x19;
const int MENU_RIGHT_INFO = MENU_CODE_BASE + 0x193;
const int MENU_RIGHT_REREAD = MENU_CODE_BASE + 0x19B;
const int MENU_RIGHT_FILTER = MENU_CODE_BASE + 0x19C;

// The Files menu.
const int MENU_SELECT_GROUP = MENU_CODE_BASE + 0x6D;
const int MENU_UNSELECT_GROUP = MENU_CODE_BASE + 0x6E;
const int MENU_INVERT_SELECTION = MENU_CODE_BASE + 0x6F;
const int MENU_FILE_DATE = MENU_CODE_BASE + 0x71;
const int MENU_RESTORE_SELECTION = MENU_CODE_BASE + 0x72;

// The Commands menu.
const int MENU_EDIT_ASSOCIATIONS = MENU_CODE_BASE + 0xD0;
const int MENU_EDIT_USER_MENU = MENU_CODE_BASE + 0xD1;

// The Options menu.
const int MENU_CONFIGURATION = MENU_CODE_BASE + 0x12C;
const int MENU_COLOURS = MENU_CODE_BASE + 0x12D;
const int MENU_HIDDEN_FILES = MENU_CODE_BASE + 0x12E;
const int MENU_PATH_PROMPT = MENU_CODE_BASE + 0x12F;
const int MENU_FULL_SCREEN = MENU_CODE_BASE + 0x131;
const int MENU_CLOCK = MENU_CODE_BASE + 0x132;
const int MENU_TAG_DIRECTORIES = MENU_CODE_BASE + 0x133;
const int MENU_SAVE_SETUP = MENU_CODE_BASE + 0x134;
const int MENU_CONFIRMATIONS = MENU_CODE_BASE + 0x135;
const int MENU_THOUSAND_SEPARATOR = MENU_CODE_BASE + 0x136;
const int MENU_RETAIN_COUNT = MENU_CODE_BASE + 0x137;
