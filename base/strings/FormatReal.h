// The system's own decimal formatter for real numbers: a fixed number of
// significant digits for the precision of the source type, fitted into a field
// width in fixed-point form when it fits and in exponent form otherwise. Used
// instead of the C runtime so that script output is the same everywhere.
#pragma once

#include "base/strings/Estring.h"

// The text of `value` in at most `width` characters (sign included, where the
// form allows). `decimals` < 0 chooses the decimals itself; otherwise exactly
// that many digits follow the point and a value too wide gives asterisks.
// `trailingSign` puts '-' or a blank after the number instead of a leading '-'.
Estring FormatReal(double value, int width, int decimals, bool trailingSign);

// The formatter underneath, for an extended value taken with `precisionBits`
// bits of precision (53 for a double, 24 for single-precision output). Writes
// the zero-terminated text into buffer (never more than bufferSize bytes, the
// terminator included) and returns its length. A buffer of
// FormatExtendedBufferSize(width, decimals) bytes always holds the whole text.
int FormatExtended(long double value, int precisionBits, int width, int decimals, bool trailingSign, char* buffer,
                   int bufferSize);
int FormatExtendedBufferSize(int width, int decimals);
