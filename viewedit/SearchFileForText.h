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
int64_t SearchFileForText(CRandomFile& file, int64_t start, const Westring& text, bool reverse, bool caseSensitive,
                          bool wholeWord, uint32_t codePage);
