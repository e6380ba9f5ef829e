// Hot letters for input fields: a field has no label of its own to take one
// from, so its dialog writes the label and gives the field the letter.
#pragma once

class Dialog;

// Sets the hot letter of element `field`, keeping every other element's.
void SetFieldHotLetter(Dialog& dialog, int field, char letter);
