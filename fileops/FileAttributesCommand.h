// Ctrl+A: the read-only, archive, hidden, system and compressed attributes
// of the cursor entry or of every tagged entry.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

// The attributes the dialog offers, in its order.
struct TAttributeBox {
    const char* label;
    uint32_t bit;
};
extern const TAttributeBox AttributeBoxes[5];

// Writes the attributes, asking through the file error prompt after each
// failure: 0, or the code left when the user stopped retrying (-1 after
// Cancel).
int SetAttributesWithRetry(const Westring& path, uint32_t attributes);

// The tagged entries' new attributes from the three-state boxes: a box set
// (2) adds its bit, a box cleared (0) removes it, the middle state (1) leaves
// it as it was.
uint32_t ApplyAttributeBoxes(uint32_t old, const uint8_t* boxes);
