// Check boxes and radio buttons: dialog elements over a caller's value.
#pragma once

#include <cstdint>

#include "base/strings/Estring.h"
#include "ui/Dialog.h"

// "[X]" over a caller's byte, its label right of the box (labelAfter 1) or
// left of it (0). Space and a click toggle, Insert sets, Delete clears; the
// keys still go on to the dialog as accelerators.
class CheckBox : public DialogElement {
public:
    // label: already without its '_'.
    CheckBox(Dialog& owner, int x, int y, uint8_t* value, const Estring& label, int labelAfter);
    bool HandleEvent(TDialogEvent& event) override;
    void Activate() override;
    int GetType() const override { return TypeCheckBox; }
    void Draw() override;

protected:
    // Draws the box with the given mark, the label and the cursor.
    void DrawWithMark(char32_t mark);

    uint8_t* value;
    Estring label;
    uint8_t labelAfter;
};

// A check box whose byte steps 0 (blank), 1 (a middle dot: leave as it is),
// 2 ("X") under Space, a click, Insert and activation; Delete leaves it.
class CheckBox3S : public CheckBox {
public:
    CheckBox3S(Dialog& owner, int x, int y, uint8_t* value, const Estring& label, int labelAfter);
    bool HandleEvent(TDialogEvent& event) override;
    int GetType() const override { return TypeCheckBox3S; }
    void Draw() override;
};

// "(•)": one value of a caller's integer shared by the buttons of a group.
// Gaining the focus selects it, so the arrow keys move the selection.
class RadioButton : public DialogElement {
public:
    RadioButton(Dialog& owner, int x, int y, int32_t* selection, int value, const Estring& label);
    bool HandleEvent(TDialogEvent& event) override;
    int GetType() const override { return TypeRadioButton; }
    void SetFocused(bool gained) override;
    void Draw() override;

    bool IsSelected() const { return *selection == value; }

private:
    int32_t* selection;
    int value;
    Estring label;
};
