#include "ui/ColourSelector.h"

ColourSelector::ColourSelector(Dialog& owner, int x, int y, int w, int r, const char* const* n, uint8_t* a, int c,
                               int32_t* sel, int exit)
    : ListBoxBase(owner, x, y, w, r, c, sel, exit), names(n), attributes(a) {}

bool ColourSelector::HandleEvent(TDialogEvent& event) {
    if (event.kind != TDialogEvent::KindKey || count == 0) {
        return ListBoxBase::HandleEvent(event);
    }
    uint8_t& attr = attributes[top + cursorRow];
    const int fg = attr & 0x0F;
    const int bg = attr & 0xF0;
    switch (event.key) {
    case 'b': attr = static_cast<uint8_t>(((bg + 0x10) & 0xF0) | fg); break;
    case 'B': attr = static_cast<uint8_t>(((bg - 0x10) & 0xF0) | fg); break;
    case 'f': attr = static_cast<uint8_t>(bg | ((fg + 1) & 0x0F)); break;
    case 'F': attr = static_cast<uint8_t>(bg | ((fg - 1) & 0x0F)); break;
    default: return ListBoxBase::HandleEvent(event);
    }
    DrawRow(cursorRow);
    return true;
}

void ColourSelector::DrawItem(int row, int item, uint8_t) {
    Dialog& dialog = Owner();
    dialog.WriteWide(X(), Y() + row, Fit(Westring(Estring(names[item]))), attributes[item]);
    const bool current = row == cursorRow;
    const uint8_t frame = dialog.Colour(DialogColourWindow);
    dialog.WriteText(X() - 1, Y() + row, current ? ">" : " ", frame);
    dialog.WriteText(X() + width, Y() + row, current ? "<" : " ", frame);
}
