// The list of an input field's presets popup: "label: value" rows, the labels
// padded to one column.
#pragma once

#include "app/settings/Histories.h"
#include "ui/ListBox.h"

class CPresetsListBox : public ListBoxBase {
public:
    CPresetsListBox(Dialog& owner, int x, int y, int width, int rows, CFieldPresets& presets, int labelWidth,
                    int32_t* selection, int exitSetting);
    void DrawItem(int row, int item, uint8_t attribute) override;

private:
    CFieldPresets& presets;
    int labelWidth;
};
