// Wildcard matching of 8-bit text, ignoring case: '?', '*', bracketed character
// sets with '^' and ranges, and brace alternatives separated by commas.
// Serves where both pattern and name are 8-bit (ini directive keys, values of
// the syntax definitions); file names are 32-bit text and use MatchWildcard.
#pragma once

// True when the whole name matches the whole pattern. Both are zero-terminated.
bool MatchWildcardNarrow(const char* pattern, const char* name);

// Whether one byte of a name lies in the character set that starts at the '['
// under the pattern cursor. The cursor is moved to the set's closing ']'; the
// caller guarantees that a ']' follows somewhere in the pattern.
bool MatchCharSetNarrow(const char*& pattern, char c);
