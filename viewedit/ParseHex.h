// Hexadecimal digits at the start of an 8-bit text.
#pragma once

#include <cstdint>

// The value of the hexadecimal digits ("0"-"9", "A"-"F", "a"-"f") at the
// start of the text, stopping at the first other character; 0 for none.
uint32_t ParseHex(const char* text);
// The same into 64 bits, for offsets in files beyond 4 GiB.
uint64_t ParseHex64(const char* text);
