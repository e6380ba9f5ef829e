// The user's short date as text.
#pragma once

#include "base/strings/Estring.h"

struct TLocalDateTime;

// GetDateFormatA's short date of the user's locale; empty when it fails.
Estring FormatDate(int day, int month, int year);
// FormatDate of the record's year, month and day, right-aligned to the width
// of the text for 31 December 1999 (measured once).
Estring FormatShortDate(const TLocalDateTime& date);
