#include "ui/Buttons.h"

// ---------------------------------------------------------------------------
// StaticText

StaticText::StaticText(Dialog& owner, int x, int y, const char* t, uint8_t attr)
    : DialogElement(owner, x, y, false, 0), text(t), attribute(attr) {}

void StaticText::Draw() {
    if (X() < 0) {
        Owner().WriteCentred(Y(), text, attribute);
    } else {
        Owner().WriteText(X(), Y(), text, attribute);
    }
}

// ---------------------------------------------------------------------------
// PushButton

PushButton::PushButton(Dialog& owner, int x, int y, int code, const Estring& text)
    : DialogElement(owner, x, y, true, code), exitCode(code), label(text) {}

bool PushButton::HandleEvent(TDialogEvent& event) {
    if (event.kind == TDialogEvent::KindKey) {
        if (event.key == KEY_ENTER || event.key == ' ') {
            Owner().RequestExit(exitCode);
            return true;
        }
        return false;
    }
    if (!HitTest(event, Width(), 1)) {
        return false;
    }
    if (event.kind == TDialogEvent::KindPress) {
        Owner().SetFocus(Index());
    } else if (event.kind == TDialogEvent::KindClick) {
        Owner().RequestExit(exitCode);
    }
    return true;
}

void PushButton::Activate() {
    Owner().RequestExit(exitCode);
}

void PushButton::Draw() {
    const bool focused = HasFocus();
    Estring text("[ ");
    text += label;
    text += " ]";
    uint8_t attr = Owner().Colour(focused ? DialogColourButton : DialogColourWindow);
    bool isDefault = Owner().DefaultCode() == exitCode && !focused;
    DrawHotLabel(X(), Y(), text.Data(), attr, isDefault);
}

// ---------------------------------------------------------------------------
// ExitKey

ExitKey::ExitKey(Dialog& owner, int key) : DialogElement(owner, 0, 0, false, key), exitCode(key) {}

void ExitKey::Activate() {
    Owner().RequestExit(exitCode);
}
