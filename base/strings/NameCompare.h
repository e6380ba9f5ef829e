// The orders of file names in the panels.
//
// Both ignore case through the Unicode case table and count '_' as 1, so it
// sorts before every other character and a name sorts before its extensions.
#pragma once

bool IsAsciiDigit(char32_t c);

int NamePlainCompare(const char32_t* a, const char32_t* b);
// Runs of digits compare by value (a9 before a10; a01 equals a1).
int NameNaturalCompare(const char32_t* a, const char32_t* b);
