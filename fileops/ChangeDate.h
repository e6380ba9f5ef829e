// The date/time command (Files menu): the last-write time of the cursor entry
// or of every tagged entry from a typed local date and time, on a 12- or
// 24-hour clock; and the checks and conversions it needs.
#pragma once

#include <cstdint>

#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"

// Days of a month in the years the dialog takes (1980 to 2099, where every
// fourth year is a leap year).
int DaysInMonth(int month, int year);
// The year 1980 to 2099, the month, the day within the month, the hour at
// most 23, minutes and seconds below 60.
bool IsValidDialogDate(int year, int month, int day, int hour, int minute, int second);

// A 24-hour hour in the 12-hour form: PM from 12 on, 13 to 23 become 1 to 11,
// 0 becomes 12.
void To12Hour(int32_t& hour, int32_t& pm);
// The same, only when the clock setting ("TimeMode") is the 12-hour one.
void To12HourIfConfigured(int32_t& hour, int32_t& pm);
// Back to 24 hours: PM adds 12 to 1 to 11, AM turns 12 into 0.
int32_t From12Hour(int32_t hour, int32_t pm);

// Sets the last-write time of the file or directory at the full path,
// retrying through the file error prompt; true when the user cancelled.
bool SetEntryModifyTime(const Westring& path, const TTimestamp& time);
