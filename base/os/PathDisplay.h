// Paths in titles, prompts and columns of fixed width: the shortener keeps
// the drive or share root and the tail of a path and marks what it dropped,
// plus two small path helpers of the panels and the tree scan.
#pragma once

#include "base/strings/Westring.h"

// Shortens the path in place to at most `width` characters: the root up to
// its first separator, "...", then the tail; a path without a directory part
// is cut and ends in U+25BA. A width of 0 or less leaves an empty path.
void ShortenPathForDisplay(Westring& path, int width);
// The same on a copy.
Westring ShortenedPathForDisplay(const Westring& path, int width);

// Appends '\' to a zero-terminated path buffer unless it already ends in one;
// an empty buffer becomes "\". The buffer must have room for one more unit.
void AppendBackslashInPlace(char32_t* buffer);

// Replaces the path by its name part (after the last '\' or '/') and tells
// whether that is "." or "..".
bool IsDotOrDotDotName(Westring& path);
