// The simplest dialog elements: a label, a push button that ends the dialog
// with its exit code, and an invisible exit key that does the same for a key.
#pragma once

#include "base/strings/Estring.h"
#include "ui/Dialog.h"

// A label. The text is not copied: the caller keeps it alive for the dialog's
// life. '_' is not interpreted; x < 0 centres it on its row.
class StaticText : public DialogElement {
public:
    // attribute 0: the dialog's window attribute at the time of adding.
    StaticText(Dialog& owner, int x, int y, const char* text, uint8_t attribute);
    int GetType() const override { return TypeStaticText; }
    void Draw() override;

private:
    const char* text;
    uint8_t attribute;
};

// "[ label ]": Enter, Space, a click, its accelerator (the exit code) or its
// hot letter end the dialog with its exit code.
class PushButton : public DialogElement {
public:
    // label: already without its '_' (Dialog::TakeHotLetter).
    PushButton(Dialog& owner, int x, int y, int exitCode, const Estring& label);
    bool HandleEvent(TDialogEvent& event) override;
    void Activate() override;
    int GetType() const override { return TypePushButton; }
    void Draw() override;

    int ExitCode() const { return exitCode; }
    // Columns the button takes: the label and "[ " and " ]".
    int Width() const { return label.Length() + 4; }

private:
    int exitCode;
    Estring label;
};

// A key that ends the dialog with its own code; never drawn or focused.
class ExitKey : public DialogElement {
public:
    ExitKey(Dialog& owner, int key);
    void Activate() override;
    int GetType() const override { return TypeExitKey; }

private:
    int exitCode;
};
