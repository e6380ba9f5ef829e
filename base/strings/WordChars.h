// What counts as a word character for word moves and whole-word searches, in
// the command line, the input fields, the viewer and the editor.
#pragma once

#include <cstdint>

// A range of the word-character table; the table ends with a range whose low
// bound is 0.
struct TWordCharRange {
    uint16_t low;
    uint16_t high;
};

// Digits, Latin letters, the underscore, accented Latin letters and the
// letters of the Greek, Cyrillic, Armenian, Hebrew and Arabic alphabets.
extern const TWordCharRange WordCharRanges[];

// True when the character lies in one of the ranges of the table; false for
// every character when the table is empty.
bool IsWordCharWide(char32_t c, const TWordCharRange* table = WordCharRanges);
// '_', '0'-'9', 'A'-'Z', 'a'-'z' and 0x80-0xFE.
bool IsWordCharByte(unsigned char c);
