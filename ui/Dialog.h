// Dialog: the modal prompt of the system, a framed window that owns its
// elements (labels, buttons, check boxes, input fields, lists ...) and runs
// its own event loop until an element or a key asks it to end.
//
// Building: the adders create an element, register it at the next index, take
// its hot letter from its label ('_' before the letter) and draw it once. The
// newGroup argument of an adder is 0 to join the group being built, 1 to start
// a group that Tab enters at its first element, 2 to start one that Tab enters
// at its current member (radio groups). Running: Run returns 13 for Enter or
// the default button, 27 for Esc, a closed input or a click outside, else the
// exit code of the button, exit key or list that ended it.
//
// Another thread may hand an element an event while the dialog runs (a worker
// telling its result list the new count) through SendEvent: the loop holds the
// same recursive lock from reading an event to having handled it, but never
// while it waits for input.
#pragma once

#include <cstdint>

#include "base/os/CMutex.h"
#include "base/strings/Estring.h"
#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"
#include "console/InputEvent.h"
#include "ui/Win.h"

class CModalLoop;
class Dialog;
class CFieldPresets;

// What the loop reads and hands to the elements. x and y are screen
// coordinates when read and client coordinates of the dialog once the loop
// has converted them.
struct TDialogEvent {
    enum {
        KindKey = 1,          // key: the key code
        KindPress = 2,        // first button pressed
        KindChoose = 3,       // first button double click
        KindClick = 4,        // first button released: a completed click
        KindDrag = 5,         // moved with the first button held
        KindPress2 = 6,       // second button pressed
        KindRelease2 = 7,     // second button released
        KindWheel = 8,        // key: the wheel delta
        KindListCount = 10,   // to a list: key is its new item count
        KindListRedraw = 11,  // to a list: redraw every row
        KindListRow = 12,     // to a list: answer the cursor row in key
        KindTimeout = 13      // nothing came within the time-out
    };
    int32_t kind;
    int32_t key;
    int32_t x;
    int32_t y;
    TInputEvent input;
};

// One button of a row: exit code and label ('_' before the hot letter). A
// table of them ends with code 0.
struct TButtonDef {
    uint32_t code;
    const char* label;
};

// The colour slots of a dialog.
enum EDialogColour {
    DialogColourWindow = 0,  // labels, check boxes, radio buttons, unfocused buttons
    DialogColourField = 1,   // field text, list search window
    DialogColourButton = 2   // the focused push button
};

// Base of every element of a dialog. A control's constructor fills the fields
// below through this constructor; the dialog then registers it.
class DialogElement {
public:
    // Element types, as GetType answers.
    enum {
        TypeStaticText = 0,
        TypeStringField = 1,
        TypeIntegerField = 5,
        TypePushButton = 6,
        TypeRadioButton = 7,
        TypeCheckBox = 8,
        TypeCheckBox3S = 9,
        TypeListBox = 10,
        TypeExitKey = 12,
        TypeProgressIndicator = 13
    };

    virtual ~DialogElement();
    DialogElement(const DialogElement&) = delete;
    DialogElement& operator=(const DialogElement&) = delete;

    // True when the element took the event.
    virtual bool HandleEvent(TDialogEvent& event);
    // A hot letter or accelerator reached it; the base focuses it.
    virtual void Activate();
    virtual int GetType() const = 0;
    // The base redraws.
    virtual void SetFocused(bool gained);
    virtual void Draw();
    // Takes the element's value for good (input histories).
    virtual void Commit();

    // False for key events and for elements that cannot take the focus; else
    // whether the event's point lies in the w x h box at (bx, by); -100 for
    // bx or by means the element's own position.
    bool HitTest(const TDialogEvent& event, int w, int h, int bx = -100, int by = -100) const;

    Dialog& Owner() const { return *owner; }
    int Index() const { return index; }
    int X() const { return x; }
    int Y() const { return y; }
    int GroupFirst() const { return groupFirst; }
    bool IsFocusable() const { return focusable != 0; }
    int Accelerator() const { return accelerator; }
    bool HasFocus() const;

protected:
    // focusable and accelerator as the control needs; the dialog sets the
    // index and the group when it registers the element.
    DialogElement(Dialog& owner, int x, int y, bool focusable, int accelerator);

    // The label with the element's hot letter marked; `defaultMark` also marks
    // the brackets of the default button.
    void DrawHotLabel(int lx, int ly, const char* label, uint8_t attr, bool defaultMark);
    // This element becomes the member its group's focus returns to.
    void MakeGroupCurrent();

private:
    friend class Dialog;

    Dialog* owner;
    int index;
    int x;
    int y;
    int groupFirst;
    int groupCurrent;  // in a group's first element: where the focus returns
    int focusable;
    int accelerator;
    int enterAtFirst;  // in a group's first element: Tab enters at it
};

class Dialog : public Win {
public:
    static constexpr int MaxElements = 100;

    // Placement as Win; the attribute colours the window and its frame.
    Dialog(int x, int y, int widthOrRight, int heightOrBottom, uint8_t attribute);
    ~Dialog() override;

    // Adders. Those that answer an index answer -1 when the table is full (the
    // element is then not added).
    int AddStaticText(int x, int y, const char* text, uint8_t attribute);
    int AddPushButton(int x, int y, int newGroup, int exitCode, const char* label);
    // x < 0 centres the row; y < 0 counts from the bottom (-1 the last row).
    int AddButtonRow(int x, int y, int newGroup, const TButtonDef* table);
    int AddOkCancelButtons(int x, int y, int newGroup);
    int AddExitKey(int key);
    int AddCheckBox(int x, int y, int newGroup, uint8_t* value, const char* label, int labelAfter);
    int AddCheckBox3S(int x, int y, int newGroup, uint8_t* value, const char* label, int labelAfter);
    int AddRadioButton(int x, int y, int newGroup, int32_t* selection, int value, const char* label);
    // maxLength < 0: 32767. historyKind 14: no history.
    int AddStringField(int x, int y, int newGroup, Westring& buffer, int width, int maxLength, int historyKind);
    int AddIntegerField(int x, int y, int newGroup, int32_t* value, int width, int keepTypedText, int historyKind);
    // exitSetting > 0: the code Enter and a double click end the dialog with;
    // -1: menu (any key the list does not use ends it with that key); else the
    // default code.
    int AddListBoxString(int x, int y, int newGroup, int width, int rows, const char* const* strings, int count,
                         int32_t* selection, int exitSetting);
    int AddListBoxEstring(int x, int y, int newGroup, int width, int rows, EstringStore& store, int32_t* selection,
                          int exitSetting);
    int AddListBoxWestring(int x, int y, int newGroup, int width, int rows, WestringStore& store, int32_t* selection,
                           int exitSetting);
    int AddColourSelector(int x, int y, int newGroup, int width, int rows, const char* const* names,
                          uint8_t* attributes, int count, int32_t* selection, int exitSetting);
    int AddPresetsListBox(int x, int y, int newGroup, int width, int rows, CFieldPresets& presets, int labelWidth,
                          int32_t* selection, int exitSetting);
    int AddProgressIndicator(int x, int y, int width, float* ratio);
    // Registers an element built by a caller (a list kind of its own); the
    // dialog owns it from here on, also when it refuses it (then -1).
    int AddElement(DialogElement* element, int newGroup);

    // Copies n hot letters (at most MaxElements) and sets the count.
    void SetHotKeys(const char* letters, int n);

    int SetFocus(int i);
    void MoveInGroup(int delta);
    void MoveToGroup(int delta);
    // One element, or every element when i < 0.
    void DrawElement(int i);
    void SetDefaultButton(int i);
    // Hands element i the event under the dialog's lock; false when it did
    // not take it or i is no element.
    bool SendEvent(int i, TDialogEvent& event);
    void SetColour(int slot, uint8_t attribute);
    uint8_t Colour(int slot) const { return colours[slot]; }
    void CommitAll();
    void SetListBoxSearch(int i, const Westring& text);

    int Run() { return RunWithTimeout(-1); }
    // The exit code, or 0 when nothing came within ms milliseconds.
    int RunWithTimeout(int ms);
    // Fills a dialog event from the next input (screen coordinates).
    static void ReadEvent(CModalLoop& loop, TDialogEvent& event, int ms);

    // Ends the loop after the current event with the code (0 keeps it running).
    void RequestExit(int code) { requestedExit = code; }
    int RequestedExit() const { return requestedExit; }
    // The exit code Enter produces: the default button's, else 13.
    int DefaultExit() const { return defaultCode ? defaultCode : 13; }
    int DefaultCode() const { return defaultCode; }
    int Count() const { return count; }
    int Focused() const { return focused; }
    DialogElement* Element(int i) const { return i >= 0 && i < count ? elements[i] : nullptr; }
    // The lower-case hot letter of element i, 0 when none.
    char HotLetter(int i) const { return i >= 0 && i < MaxElements ? hotLetters[i] : 0; }
    // The label without its first '_', storing the letter after it (lower
    // case) as element i's hot letter.
    Estring TakeHotLetter(int i, const char* label);

protected:
    // Asked before the focus moves from oldIndex to newIndex, which it may
    // change; false refuses the move.
    virtual bool OnFocusChanging(int oldIndex, int& newIndex);
    virtual void OnFocusChanged();
    // After every event the loop handled, so that a subclass can react to
    // changed values.
    virtual void OnEventHandled();

private:
    void HandleKey(TDialogEvent& event);
    void HandleMouse(TDialogEvent& event);
    bool ActivateByKey(const TDialogEvent& event);

    int defaultCode;
    int requestedExit;
    DialogElement* elements[MaxElements];
    int count;
    int focused;
    uint8_t colours[3];
    char hotLetters[MaxElements];
    int hotLetterCount;
    int buildingGroup;    // the group new elements join
    int lastOutsideKind;  // the outside-click rule: a press then a click outside
    CMutex lock;
};
