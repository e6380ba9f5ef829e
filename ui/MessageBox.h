// ShowMessageBox: the one prompt of the whole system. Errors, warnings,
// confirmations and the per-file questions of long operations show a
// word-wrapped text, an optional path line under it and one of five fixed
// button sets, and answer with the key of the chosen button.
#pragma once

#include <cstdint>

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

// Flags: the low four bits choose the button set, MessageBoxNormal draws the
// box in the "Messages" colour instead of the "Errors" colour.
enum {
    MessageBoxOk = 0,                    // OK
    MessageBoxOkCancel = 1,              // OK, Cancel
    MessageBoxOkCancelSkipAll = 2,       // OK, Cancel, Skip, All, None
    MessageBoxRetrySkipCancel = 3,       // Retry, Skip, Cancel
    MessageBoxOkCancelSkipAllOlder = 4,  // OK, Cancel, Skip, All, None, All Older
    MessageBoxButtonMask = 15,
    MessageBoxNormal = 16
};

// At most this many lines of text; what a longer text would need is cut.
const int MessageBoxMaxLines = 10;

// Shows the box and returns the answer: 'y' for OK or Enter, 27 for Cancel,
// Esc, a click outside or a closed input, 's' Skip, 'a' All, 'e' None, 'd'
// All Older, 'r' Retry; 32 when the dialog ended with a negative code. The
// path (may be empty) is shortened to fit and still takes its row when empty.
unsigned ShowMessageBox(const Westring& text, const Westring& path, uint32_t flags);

// The text broken into the lines the box shows on a screen of the given
// width: each split at the last blank that keeps it within columns - 7
// characters (the blank dropped), a word without such a blank cut hard, and
// no more than MessageBoxMaxLines lines.
void WrapMessageText(const Westring& text, int columns, WestringStore& lines);
