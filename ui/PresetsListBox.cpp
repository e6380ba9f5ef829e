#include "ui/PresetsListBox.h"

CPresetsListBox::CPresetsListBox(Dialog& owner, int x, int y, int w, int r, CFieldPresets& p, int labels, int32_t* sel,
                                 int exit)
    : ListBoxBase(owner, x, y, w, r, p.Count(), sel, exit), presets(p), labelWidth(labels) {}

void CPresetsListBox::DrawItem(int row, int item, uint8_t attribute) {
    const TFieldPresetValue* preset = presets.At(item);
    Westring line = preset->label.Pad(labelWidth) + Westring(": ") + preset->value;
    Owner().WriteWide(X(), Y() + row, Fit(line), attribute);
}
