// The list of the colours dialog: item names, each drawn in its own attribute
// byte, which the keys f, F, b and B step in place (foreground up and down,
// background up and down, each wrapping within its four bits).
#pragma once

#include <cstdint>

#include "ui/ListBox.h"

class ColourSelector : public ListBoxBase {
public:
    ColourSelector(Dialog& owner, int x, int y, int width, int rows, const char* const* names, uint8_t* attributes,
                   int count, int32_t* selection, int exitSetting);
    bool HandleEvent(TDialogEvent& event) override;
    void DrawItem(int row, int item, uint8_t attribute) override;

private:
    const char* const* names;
    uint8_t* attributes;
};
