// Small system services: a clock for measuring intervals, device controls of
// a drive (eject and load its medium), and squeezing blanks out of a text.
#pragma once

#include "base/strings/Estring.h"

// The current UTC time in seconds since 1601-01-01, for measuring intervals.
double GetSystemTimeSeconds();

// Sends a control code without buffers to the device of the drive (\\.\X:).
// 0 or the Windows error.
DWORD DriveDeviceIoControl(char letter, DWORD controlCode);
DWORD EjectMedia(char letter);
DWORD LoadMedia(char letter);

// Removes every white-space character from the text in place.
void SqueezeWhitespace(char* text);
