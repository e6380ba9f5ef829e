// Word capitalisation: the "Mixed" case of file names and the script's mixedCase.
#pragma once

class Westring;

// Ranges of letters beyond ASCII: 16-bit low/high pairs, ended by a zero pair.
extern const unsigned short LetterRangeTable[];

// 1 for a letter: below 128 by isalpha, above by LetterRangeTable.
int IsLetterChar(char32_t c);

// Letters at a word start become upper case, other letters lower case; a digit
// continues a word, an apostrophe keeps the state, anything else ends a word.
// A run after an apostrophe is a word of its own unless it is one letter, "ll"
// or "ve" (O'Brien, but John's and I'll).
void ToMixedCase(Westring& text);
