#include "ui/CheckBoxes.h"

#include "console/Console.h"
#include "console/KeyCodes.h"

namespace {

const char32_t MiddleDot = 0x00B7;
const char32_t Bullet = 0x2022;

// Draws "open mark close" at (x, y) of the dialog, the label where it goes,
// and leaves the cursor on the mark, visible only on the focused element.
void DrawMarkedBox(Dialog& dialog, int x, int y, char32_t open, char32_t mark, char32_t close) {
    Westring box;
    box.AppendChar(open);
    box.AppendChar(mark);
    box.AppendChar(close);
    dialog.WriteWide(x, y, box, dialog.Colour(DialogColourWindow));
}

void PlaceCursor(Dialog& dialog, int x, int y, bool focused) {
    dialog.GotoXY(x + 1, y);
    Console->SetCursorShape(focused ? 15 : 0);
}

}  // namespace

// ---------------------------------------------------------------------------
// CheckBox

CheckBox::CheckBox(Dialog& owner, int x, int y, uint8_t* v, const Estring& text, int after)
    : DialogElement(owner, x, y, true, 0), value(v), label(text), labelAfter(after ? 1 : 0) {}

bool CheckBox::HandleEvent(TDialogEvent& event) {
    if (event.kind == TDialogEvent::KindKey) {
        switch (event.key) {
        case KEY_INSERT: *value = 1; break;
        case KEY_DELETE: *value = 0; break;
        case ' ': *value = *value ? 0 : 1; break;
        default: return false;
        }
        Draw();
        // Not taken: the key is still looked up as an accelerator.
        return false;
    }
    // A point on the label counts as one on the box.
    if (!label.IsEmpty() && event.y == Y()) {
        int start = labelAfter ? X() : X() - label.Length() - 2;
        if (event.x >= start && event.x < start + label.Length() + 5) {
            event.x = X();
        }
    }
    if (!HitTest(event, 3, 1)) {
        return false;
    }
    if (event.kind == TDialogEvent::KindPress) {
        Owner().SetFocus(Index());
    } else if (event.kind == TDialogEvent::KindClick) {
        *value = *value ? 0 : 1;
        Draw();
    }
    return true;
}

void CheckBox::Activate() {
    Owner().SetFocus(Index());
    TDialogEvent space = {};
    space.kind = TDialogEvent::KindKey;
    space.key = ' ';
    HandleEvent(space);
}

void CheckBox::DrawWithMark(char32_t mark) {
    Dialog& dialog = Owner();
    DrawMarkedBox(dialog, X(), Y(), '[', mark, ']');
    if (!label.IsEmpty()) {
        int lx = labelAfter ? X() + 5 : X() - label.Length() - 2;
        DrawHotLabel(lx, Y(), label.Data(), dialog.Colour(DialogColourWindow), false);
    }
    PlaceCursor(dialog, X(), Y(), HasFocus());
}

void CheckBox::Draw() {
    DrawWithMark(*value ? 'X' : ' ');
}

// ---------------------------------------------------------------------------
// CheckBox3S

CheckBox3S::CheckBox3S(Dialog& owner, int x, int y, uint8_t* v, const Estring& text, int after)
    : CheckBox(owner, x, y, v, text, after) {}

bool CheckBox3S::HandleEvent(TDialogEvent& event) {
    // The two-state handling decides whether the box was "set"; a set steps
    // the state on (2 wraps to 0), anything else keeps it.
    const uint8_t state = *value;
    *value = 0;
    bool taken = CheckBox::HandleEvent(event);
    *value = *value ? static_cast<uint8_t>((state + 1) % 3) : state;
    if (*value != state || event.kind == TDialogEvent::KindKey) {
        Draw();
    }
    return taken;
}

void CheckBox3S::Draw() {
    DrawWithMark(*value == 0 ? ' ' : (*value == 1 ? MiddleDot : 'X'));
}

// ---------------------------------------------------------------------------
// RadioButton

RadioButton::RadioButton(Dialog& owner, int x, int y, int32_t* sel, int v, const Estring& text)
    : DialogElement(owner, x, y, true, 0), selection(sel), value(v), label(text) {}

bool RadioButton::HandleEvent(TDialogEvent& event) {
    if (!HitTest(event, 3, 1)) {
        return false;
    }
    if (event.kind == TDialogEvent::KindPress) {
        Owner().SetFocus(Index());
    }
    return true;
}

void RadioButton::SetFocused(bool gained) {
    if (gained) {
        *selection = value;
    }
    Draw();
}

void RadioButton::Draw() {
    Dialog& dialog = Owner();
    const bool selected = IsSelected();
    if (selected) {
        MakeGroupCurrent();
    }
    DrawMarkedBox(dialog, X(), Y(), '(', selected ? Bullet : ' ', ')');
    if (!label.IsEmpty()) {
        DrawHotLabel(X() + 4, Y(), label.Data(), dialog.Colour(DialogColourWindow), false);
    }
    PlaceCursor(dialog, X(), Y(), HasFocus());
}
