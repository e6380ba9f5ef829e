// Case-insensitive wildcard matching of 32-bit text.
//
// '?' one character, '*' any run, "[...]" a set with '^' for negation and
// ranges joined by '-', "{a,b}" alternatives. A '[' or '{' without its closing
// bracket is an ordinary character. Used by file masks, tagging and filters.
#pragma once

// 1 when the text matches the pattern, else 0.
int MatchWildcard(const char32_t* pattern, const char32_t* text);

// The flag of ch in the set starting at the cursor (which points at '['); the
// cursor is left on the set's closing ']'. Code points beyond the basic plane
// take part in members and ranges like any other.
bool MatchCharSet(const char32_t*& cursor, char32_t ch);
