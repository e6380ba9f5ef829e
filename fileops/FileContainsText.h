// FileContainsText: whether one file holds a text, and where.
//
// The content test behind the file-mask function %search and the text search
// of file find: the file is read as text in its own encoding; a file in an
// 8-bit code page is searched byte by byte in the code page find was given.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

// What FileContainsText gives besides an offset.
const int64_t FileTextBroken = -1;      // the user broke the search off
const int64_t FileTextNotFound = -2;    // not in the file (also: encoding not told)
const int64_t FileTextUnreadable = -3;  // the file cannot be opened

// The code page that files in an 8-bit code page are searched in (the File
// Find window's "CP" field); 0 is the text code page.
extern uint32_t FindCodePage;

// The byte offset of the first match (0 or more), FileTextNotFound,
// FileTextUnreadable, or FileTextBroken only when the user asked to stop (Esc
// or Ctrl-C, see SearchBreakRequested).
int64_t FileContainsText(const Westring& path, const Westring& text, bool caseSensitive, bool wholeWords);

// Makes FileContainsText the search behind the file-mask function %search.
void InstallMaskTextSearch();
