// SearchFileForText: a search over a file's bytes through its block cache, in
// either direction, for a text converted into a code page.
#pragma once

#include <cstdint>

#include "base/io/RandomFile.h"
#include "base/strings/Westring.h"

// The offset of the first byte of the match, -2 when there is none, -1 when the
// text is empty or the user stopped the search. A forward search finds a match
// that begins at the start or later; a reverse one a match that ends at the
// start or earlier (start is clamped to 0 .. the size). Whole words are
// bounded by bytes that are not IsWordCharByte. codePage 0: the text code page.
//
// Both this search and the text search of FileContainsText stop for the
// user's break: Ctrl-C (UserAbortState) and, on a thread that may read the
// keyboard, Escape.
int64_t SearchFileForText(CRandomFile& file, int64_t start, const Westring& text, bool reverse, bool caseSensitive,
                          bool wholeWord, uint32_t codePage);

// Whether the searches on the calling thread look at the keyboard for Escape
// (on by default). A worker beside a window that reads the keys itself turns
// it off: the window stops the worker its own way.
void SetSearchEscapePolling(bool on);
// True when the user asked to stop: UserAbortState holds the request, or,
// where allowed, an Escape waits (which then becomes the request, so that the
// operation around the search sees it too). Looks at the keyboard only every
// so many calls.
bool SearchBreakRequested();
// The same, looking at the keyboard now (where allowed): for a wait that
// makes no calls of its own.
bool SearchBreakRequestedNow();
