// Raw primitives over zero-terminated arrays of 32-bit code points.
//
// Westring and every user of bare 32-bit text (directory entry names, cell
// text) are built on these. The case-insensitive forms go through the
// system's own Unicode case table (CaseTable.h), never through the locale.
#pragma once

void Mem32Copy(char32_t* destination, const char32_t* source, int n);  // non-overlapping
void Mem32Move(char32_t* destination, const char32_t* source, int n);  // overlapping allowed
void Mem32Fill(char32_t* destination, char32_t unit, int n);

int Str32Length(const char32_t* text);
// Null for an empty text and for unit 0.
const char32_t* Str32FindChar(const char32_t* text, char32_t unit);
const char32_t* Str32FindLastChar(const char32_t* text, char32_t unit);
// An empty needle matches at the start of a non-empty text; an empty text gives null.
const char32_t* Str32FindString(const char32_t* text, const char32_t* needle);

// Difference of the first differing units as a signed 32-bit value; 0 when equal.
int Str32Compare(const char32_t* a, const char32_t* b);
int Str32CompareN(const char32_t* a, const char32_t* b, int n);
// Both sides upper-cased through the case table as they are walked; an end counts as 0.
int Str32CompareNoCase(const char32_t* a, const char32_t* b);
int Str32CompareNoCaseN(const char32_t* a, const char32_t* b, int n);  // 0 for n <= 0

char32_t* Str32Copy(char32_t* destination, const char32_t* source);
char32_t* Str32Append(char32_t* destination, const char32_t* source);

// Skips white space, refuses a '-' (errno = ERANGE, result 0, end untouched), skips a
// '+', then accumulates digits below the radix (wrapping). The end pointer, when
// given, receives the first unit not used.
unsigned Str32ToUnsigned(const char32_t* text, const char32_t** end, int radix);
