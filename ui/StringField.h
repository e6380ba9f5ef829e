// Input fields: the one-line text entry of every dialog, and its integer form.
//
// A StringField edits a caller's Westring in place: it scrolls horizontally,
// selects with Shift and the mouse, cuts, copies and pastes through the
// clipboard, moves by words, and, when it has an input-history kind, offers a
// drop-down of earlier entries (Alt+Down, or a click on the arrow right of
// it) and a popup of named presets (Alt+Up), and stores its text in the
// kind's history when its dialog ends with anything but Esc. The first typed
// character or paste replaces the text the field was opened with.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"
#include "ui/Dialog.h"

class StringField : public DialogElement {
public:
    // maxLength < 0: 32767. historyKind 14 (or any kind without a history):
    // no drop-down, no presets, nothing stored.
    StringField(Dialog& owner, int x, int y, Westring& buffer, int width, int maxLength, int historyKind);
    ~StringField() override;

    bool HandleEvent(TDialogEvent& event) override;
    int GetType() const override { return TypeStringField; }
    void Draw() override;
    void Commit() override;

    // The popups; also reached by keys and the mouse.
    void ShowHistory();
    void ShowPresets();
    // The screen rectangle of a popup w columns wide below the field.
    void GetDropDownRect(int w, int& left, int& top, int& right, int& bottom) const;

    const Westring& Text() const { return *buffer; }
    int Cursor() const { return cursor; }
    int SelectionStart() const { return selStart; }
    int SelectionEnd() const { return selEnd; }
    bool HasSelection() const { return selEnd > selStart; }

protected:
    // The integer field draws one column further and scrolls one less.
    virtual int ExtraRoom() const { return 0; }
    // Handles a key; false when it is not the field's.
    bool HandleKey(int code);
    void SetBuffer(Westring& text) { buffer = &text; }
    // Cursor at the end of the text, nothing selected, no scrolling.
    void ResetCursor();

    int maxLength;

private:
    bool HandleMouse(const TDialogEvent& event);
    bool HasHistory() const;
    void MoveCursor(int code);
    int WordLeft(int from) const;
    int WordRight(int from) const;
    void DeleteRange(int from, int to);
    void DeleteSelection();
    void InsertText(const Westring& text);
    void Paste();
    void SelectWord();
    // After a handled key: the selection follows the cursor from the anchor
    // with Shift, else it ends (unless kept).
    void UpdateSelection(bool shifted, bool keep);
    void ClearSelection() {
        selStart = selEnd = cursor;
        selecting = 0;
    }

    Westring* buffer;
    int width;
    int cursor;
    int scroll;
    uint8_t literalNext;
    uint8_t replaceOnType;
    int selStart;
    int selEnd;
    uint8_t selecting;
    uint8_t anchorAtEnd;
    int historyKind;
    Westring shownText;
};

// A StringField that holds digits and keeps a caller's integer up to date.
// Without keepTypedText it always shows the canonical number (an emptied field
// shows 0). The text is parsed into 64 bits and a number that does not fit the
// caller's integer is refused.
class IntegerField : public StringField {
public:
    IntegerField(Dialog& owner, int x, int y, int32_t* value, int width, int keepTypedText, int historyKind);
    bool HandleEvent(TDialogEvent& event) override;
    int GetType() const override { return TypeIntegerField; }
    void Draw() override;

protected:
    int ExtraRoom() const override { return 1; }

private:
    int32_t* value;
    uint8_t keepTypedText;
    uint8_t editing;  // inside the text handling: the value does not follow yet
    Westring text;
};
