// The colour slots: every colour on the screen is one of 21 console attributes
// (foreground in the low four bits, background in the high four, bit 3 of each
// half the bright bit), kept in Config.Colours and indexed by EColourSlot.
// Dialogs draw in "Messages", alerts in "Errors", menus, pickers and choosers
// in "Menu", input fields in "Input Fields".
//
// Besides the slots, colour texts ("yel on blu", "bri whi") colour panel
// entries by mask; ParseColourSpec reads them.
#pragma once

#include <cstdint>

#include "base/strings/Estring.h"

enum EColourSlot {
    ColourPanel = 0,
    ColourHighlight = 1,
    ColourTagged = 2,
    ColourHighlightTagged = 3,
    ColourDirectories = 4,
    ColourDirectoryHigh = 5,
    ColourCommandLine = 6,
    ColourMessages = 7,
    ColourErrors = 8,
    ColourInputFields = 9,
    ColourScreenSaver = 10,
    ColourMenu = 11,
    ColourMenuBar = 12,
    ColourMenuHighlight = 13,
    ColourMenuQuickKey = 14,
    ColourDisabledMenu = 15,
    ColourFileViewer = 16,
    ColourClock = 17,
    ColourColumnHeading = 18,
    ColourSynchUpdate = 19,
    ColourSynchDelete = 20,
    ColourSlotCount = 21
};

// The slot names in slot order, as the colours dialog lists them.
extern const char* const ColourSlotNames[ColourSlotCount];
// The attributes ResetColours puts into the slots.
extern const uint8_t DefaultColours[ColourSlotCount];

// The live attribute of a slot (Config.Colours[slot]).
uint8_t ColourOf(EColourSlot slot);

// Copies DefaultColours into the slots of the live configuration.
void ResetColours();

// The attribute that a colour text makes out of a starting attribute: words
// separated by blanks, of which the first three letters count, without regard
// to case: "bla" "blu" "gre" "cya" "red" "mag" "yel" "whi" give a colour,
// "bri" the bright bit, "on" switches from the foreground to the background
// (clearing the old background); a text whose first word is not "on" clears
// the old foreground. Other words are passed over. Callers use the low eight
// bits of the result.
uint32_t ParseColourSpec(const Estring& text, uint32_t attribute);
