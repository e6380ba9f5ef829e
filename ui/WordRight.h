// Where Ctrl+Right stops in the command line and the input fields: the start
// of the next word, or with "BriefWordRight" on, the end of the next word.
#pragma once

// Index of the next word-right stop in a zero-terminated text.
int WordRightOffset(const char32_t* text);
// The same over 8-bit text, with the 8-bit word characters.
int WordRightOffsetBytes(const char* text);
