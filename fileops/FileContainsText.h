// FileContainsText: whether one file holds a text, and where.
//
// The content test behind the file-mask function %search and the text search
// of file find: the file is read as text in its own encoding.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

// What FileContainsText gives when the file cannot be opened.
const int64_t FileTextUnreadable = -3;

// The byte offset of the first match (0 or more), a negative value when the
// text is not in the file, FileTextUnreadable when the file cannot be opened.
int64_t FileContainsText(const Westring& path, const Westring& text, bool caseSensitive, bool wholeWords);

// Makes FileContainsText the search behind the file-mask function %search.
void InstallMaskTextSearch();
