// Numbers in columns of fixed width: decimal digits with the locale's
// thousands separator, falling back to K, M, G or T (powers of 1024) when the
// digits would not fit. Panels, the information page, progress windows and
// the file information rows share these so that sizes look alike everywhere.
//
// Built into the base library (like fileops/services) because the file
// property rows of the base library format sizes with it.
#pragma once

#include <cstdint>

// The separator put between groups of three digits; start-up takes it from
// the user's locale. 0 means the locale has none: digits stay ungrouped.
extern char32_t ThousandsSeparator;

// Room every destination below must have: 20 digits, 6 separators, a sign, a
// unit letter and the terminating 0.
const int NumberTextSize = 32;

// Copies the zero-terminated digits to the destination with the separator
// after every digit that has a positive multiple of three digits after it.
void InsertThousandsSeparators(char32_t* destination, const char32_t* digits);

// An unsigned 32-bit value for a field of `width` cells: plain when it fits,
// else K (value / 1024) or M (value / 1024^2). The text can exceed the width
// by the separators (1000 in width 4 is "1,000").
void FormatNumberToWidth(uint32_t value, char32_t* destination, int width);

// The 64-bit form with the units K, M, G and T. It switches to K already at
// the limit the width gives and tests the larger units against the same limit.
void FormatNumberToWidth64(int64_t value, char32_t* destination, int width);
