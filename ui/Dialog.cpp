#include "ui/Dialog.h"

#include <cstring>

#include "app/settings/Colours.h"
#include "base/strings/LocaleCase.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "ui/ModalLoop.h"
#include "ui/Buttons.h"
#include "ui/CheckBoxes.h"
#include "ui/ColourSelector.h"
#include "ui/ListBox.h"
#include "ui/PresetsListBox.h"
#include "ui/StringField.h"

namespace {

const TButtonDef OkCancelButtons[] = {{KEY_ENTER, "_OK"}, {KEY_ESC, "Cancel"}, {0, nullptr}};

// Mouse actions of the input reader as dialog event kinds; 0 drops the event.
int MouseKind(int action) {
    static const int kinds[] = {
        TDialogEvent::KindPress,     // press, first button
        TDialogEvent::KindPress2,    // press, second button
        TDialogEvent::KindDrag,      // moved with the first button held
        0,                           // moved with the second button held
        TDialogEvent::KindChoose,    // double click
        TDialogEvent::KindClick,     // first button released
        TDialogEvent::KindRelease2,  // second button released
        TDialogEvent::KindWheel,
    };
    return action >= 0 && action < static_cast<int>(sizeof kinds / sizeof kinds[0]) ? kinds[action] : 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// DialogElement

DialogElement::DialogElement(Dialog& dialog, int ex, int ey, bool canFocus, int accel)
    : owner(&dialog), index(-1), x(ex), y(ey), groupFirst(0), groupCurrent(0), focusable(canFocus ? 1 : 0),
      accelerator(accel), enterAtFirst(0) {}

DialogElement::~DialogElement() = default;

bool DialogElement::HandleEvent(TDialogEvent&) {
    return false;
}

void DialogElement::Activate() {
    owner->SetFocus(index);
}

void DialogElement::SetFocused(bool) {
    Draw();
}

void DialogElement::Draw() {}

void DialogElement::Commit() {}

bool DialogElement::HasFocus() const {
    return owner->Focused() == index;
}

bool DialogElement::HitTest(const TDialogEvent& event, int w, int h, int bx, int by) const {
    if (event.kind < TDialogEvent::KindPress || event.kind > TDialogEvent::KindWheel || !focusable) {
        return false;
    }
    bx = bx == -100 ? x : bx;
    by = by == -100 ? y : by;
    return event.x >= bx && event.x < bx + w && event.y >= by && event.y < by + h;
}

void DialogElement::DrawHotLabel(int lx, int ly, const char* label, uint8_t attr, bool defaultMark) {
    char keys[4] = {owner->HotLetter(index), 0, 0, 0};
    if (defaultMark) {
        std::strcat(keys, "[]");
    }
    owner->WriteHotKeyText(lx, ly, label, keys, attr);
}

void DialogElement::MakeGroupCurrent() {
    if (DialogElement* first = owner->Element(groupFirst)) {
        first->groupCurrent = index;
    }
}

// ---------------------------------------------------------------------------
// Dialog: building

Dialog::Dialog(int x, int y, int widthOrRight, int heightOrBottom, uint8_t attr)
    : Win(x, y, widthOrRight, heightOrBottom, attr, attr, 0), defaultCode(0), requestedExit(0), elements(), count(0),
      focused(0), hotLetters(), hotLetterCount(0), buildingGroup(0), lastOutsideKind(1) {
    colours[DialogColourWindow] = attr;
    colours[DialogColourField] = ColourOf(ColourInputFields);
    colours[DialogColourButton] = ColourOf(ColourInputFields);
}

Dialog::~Dialog() {
    for (int i = 0; i < count; ++i) {
        delete elements[i];
    }
    Console->SetCursorShape(0);
}

int Dialog::AddElement(DialogElement* element, int newGroup) {
    if (count >= MaxElements) {
        delete element;
        return -1;
    }
    const int i = count++;
    elements[i] = element;
    element->index = i;
    const int type = element->GetType();
    if (type == DialogElement::TypeExitKey && i > 0) {
        // An exit key is a group of its own, entered at itself; the elements
        // that follow still join the group being built.
        element->groupFirst = element->groupCurrent = i;
        element->enterAtFirst = 1;
    } else if (i == 0 || newGroup != 0) {
        element->groupFirst = element->groupCurrent = i;
        element->enterAtFirst = newGroup & 1;
        buildingGroup = i;
    } else {
        element->groupFirst = buildingGroup;
    }
    return i;
}

Estring Dialog::TakeHotLetter(int i, const char* label) {
    Estring text(label);
    int at = text.Find('_');
    if (at < 0) {
        return text;
    }
    Estring without = text.Left(at);
    without += text.Mid(at + 1, text.Length() - at - 1);
    if (i >= 0 && i < MaxElements && at + 1 < text.Length()) {
        hotLetters[i] = static_cast<char>(LocaleLowerTable[static_cast<unsigned char>(text[at + 1])]);
        if (hotLetterCount < i + 1) {
            hotLetterCount = i + 1;
        }
    }
    return without;
}

int Dialog::AddStaticText(int x, int y, const char* text, uint8_t attr) {
    int i = AddElement(new StaticText(*this, x, y, text, attr ? attr : Attribute()), 0);
    DrawElement(i);
    return i;
}

int Dialog::AddPushButton(int x, int y, int newGroup, int exitCode, const char* label) {
    int i = AddElement(new PushButton(*this, x, y, exitCode, TakeHotLetter(count, label)), newGroup);
    if (i >= 0 && defaultCode == 0) {
        defaultCode = exitCode;
    }
    DrawElement(i);
    return i;
}

int Dialog::AddButtonRow(int x, int y, int newGroup, const TButtonDef* table) {
    int total = 0;
    int n = 0;
    for (const TButtonDef* b = table; b->code != 0; ++b, ++n) {
        int length = static_cast<int>(std::strlen(b->label));
        total += length + 4 - (std::strchr(b->label, '_') ? 1 : 0);
    }
    total += n > 0 ? 2 * (n - 1) : 0;
    if (x < 0) {
        x = (ClientWidth() - total) / 2;
    }
    if (y < 0) {
        y += ClientHeight();
    }
    int first = -1;
    for (const TButtonDef* b = table; b->code != 0; ++b) {
        int i = AddPushButton(x, y, b == table ? newGroup : 0, static_cast<int>(b->code), b->label);
        if (first < 0) {
            first = i;
        }
        if (PushButton* button = static_cast<PushButton*>(Element(i))) {
            x += button->Width() + 2;
        }
    }
    return first;
}

int Dialog::AddOkCancelButtons(int x, int y, int newGroup) {
    return AddButtonRow(x, y, newGroup, OkCancelButtons);
}

int Dialog::AddExitKey(int key) {
    return AddElement(new ExitKey(*this, key), 1);
}

int Dialog::AddCheckBox(int x, int y, int newGroup, uint8_t* value, const char* label, int labelAfter) {
    int i = AddElement(new CheckBox(*this, x, y, value, TakeHotLetter(count, label), labelAfter), newGroup);
    DrawElement(i);
    return i;
}

int Dialog::AddCheckBox3S(int x, int y, int newGroup, uint8_t* value, const char* label, int labelAfter) {
    int i = AddElement(new CheckBox3S(*this, x, y, value, TakeHotLetter(count, label), labelAfter), newGroup);
    DrawElement(i);
    return i;
}

int Dialog::AddRadioButton(int x, int y, int newGroup, int32_t* selection, int value, const char* label) {
    RadioButton* button = new RadioButton(*this, x, y, selection, value, TakeHotLetter(count, label));
    int i = AddElement(button, newGroup);
    if (i >= 0 && button->IsSelected()) {
        elements[elements[i]->groupFirst]->groupCurrent = i;
    }
    DrawElement(i);
    return i;
}

int Dialog::AddStringField(int x, int y, int newGroup, Westring& buffer, int width, int maxLength, int historyKind) {
    int i = AddElement(new StringField(*this, x, y, buffer, width, maxLength, historyKind), newGroup);
    DrawElement(i);
    return i;
}

int Dialog::AddIntegerField(int x, int y, int newGroup, int32_t* value, int width, int keepTypedText, int historyKind) {
    int i = AddElement(new IntegerField(*this, x, y, value, width, keepTypedText, historyKind), newGroup);
    DrawElement(i);
    return i;
}

int Dialog::AddListBoxString(int x, int y, int newGroup, int width, int rows, const char* const* strings, int n,
                             int32_t* selection, int exitSetting) {
    return AddElement(new ListBoxString(*this, x, y, width, rows, strings, n, selection, exitSetting), newGroup);
}

int Dialog::AddListBoxEstring(int x, int y, int newGroup, int width, int rows, EstringStore& store, int32_t* selection,
                              int exitSetting) {
    return AddElement(new ListBoxEstring(*this, x, y, width, rows, store, selection, exitSetting), newGroup);
}

int Dialog::AddListBoxWestring(int x, int y, int newGroup, int width, int rows, WestringStore& store,
                               int32_t* selection, int exitSetting) {
    return AddElement(new ListBoxWestring(*this, x, y, width, rows, store, selection, exitSetting), newGroup);
}

int Dialog::AddColourSelector(int x, int y, int newGroup, int width, int rows, const char* const* names,
                              uint8_t* attributes, int n, int32_t* selection, int exitSetting) {
    int i = AddElement(new ColourSelector(*this, x, y, width, rows, names, attributes, n, selection, exitSetting),
                       newGroup);
    DrawElement(i);
    return i;
}

int Dialog::AddPresetsListBox(int x, int y, int newGroup, int width, int rows, CFieldPresets& presets, int labelWidth,
                              int32_t* selection, int exitSetting) {
    return AddElement(new CPresetsListBox(*this, x, y, width, rows, presets, labelWidth, selection, exitSetting),
                      newGroup);
}

void Dialog::SetHotKeys(const char* letters, int n) {
    n = n < 0 ? 0 : (n > MaxElements ? MaxElements : n);
    std::memcpy(hotLetters, letters, static_cast<size_t>(n));
    hotLetterCount = n;
}

// ---------------------------------------------------------------------------
// Dialog: focus

int Dialog::SetFocus(int i) {
    if (i < 0 || i >= count || i == focused) {
        return i;
    }
    const int remembered = elements[elements[i]->groupFirst]->groupCurrent;
    const int old = focused;
    if (!OnFocusChanging(old, i) || i < 0 || i >= count) {
        return i;
    }
    focused = i;
    elements[elements[i]->groupFirst]->groupCurrent = i;
    elements[i]->SetFocused(true);
    if (old >= 0 && old < count && old != i) {
        elements[old]->SetFocused(false);
    }
    if (remembered != old && remembered >= 0 && remembered < count) {
        elements[remembered]->SetFocused(false);
    }
    OnFocusChanged();
    return i;
}

void Dialog::MoveInGroup(int delta) {
    if (count == 0) {
        return;
    }
    const int group = elements[focused]->groupFirst;
    for (int i = (focused + delta + count) % count; i != focused; i = (i + delta + count) % count) {
        if (elements[i]->focusable && elements[i]->groupFirst == group) {
            SetFocus(i);
            return;
        }
    }
}

void Dialog::MoveToGroup(int delta) {
    if (count == 0) {
        return;
    }
    const int group = elements[focused]->groupFirst;
    int found = group;
    for (int i = (focused + delta + count) % count; i != focused; i = (i + delta + count) % count) {
        if (elements[i]->focusable && elements[i]->groupFirst != group) {
            found = elements[i]->groupFirst;
            break;
        }
    }
    DialogElement* first = elements[found];
    SetFocus(first->enterAtFirst ? found : first->groupCurrent);
    if (!elements[focused]->focusable) {
        MoveInGroup(delta);
    }
}

bool Dialog::OnFocusChanging(int, int&) {
    return true;
}

void Dialog::OnFocusChanged() {}

void Dialog::OnEventHandled() {}

// ---------------------------------------------------------------------------
// Dialog: services to callers

void Dialog::DrawElement(int i) {
    if (i < 0) {
        for (int k = 0; k < count; ++k) {
            elements[k]->Draw();
        }
    } else if (i < count) {
        elements[i]->Draw();
    }
}

void Dialog::SetDefaultButton(int i) {
    DialogElement* element = Element(i);
    if (element && element->GetType() == DialogElement::TypePushButton) {
        defaultCode = static_cast<PushButton*>(element)->ExitCode();
        DrawElement(-1);
    }
}

bool Dialog::SendEvent(int i, TDialogEvent& event) {
    lock.Lock();
    DialogElement* element = Element(i);
    bool taken = element && element->HandleEvent(event);
    lock.Unlock();
    return taken;
}

void Dialog::SetColour(int slot, uint8_t attr) {
    if (slot >= 0 && slot < 3) {
        colours[slot] = attr;
    }
}

void Dialog::CommitAll() {
    for (int i = 0; i < count; ++i) {
        elements[i]->Commit();
    }
}

void Dialog::SetListBoxSearch(int i, const Westring& text) {
    DialogElement* element = Element(i);
    if (element && element->GetType() == DialogElement::TypeListBox) {
        static_cast<ListBoxBase*>(element)->SetSearchText(text);
    }
}

// ---------------------------------------------------------------------------
// Dialog: the loop

void Dialog::ReadEvent(CModalLoop& loop, TDialogEvent& event, int ms) {
    for (;;) {
        TInputEvent input = {};
        int code = loop.Read(input, ms);
        if (input.shiftState < 0) {
            input.shiftState = 0;
        }
        event.input = input;
        event.x = input.x;
        event.y = input.y;
        if (code == 0 && ms >= 0) {
            event.kind = TDialogEvent::KindTimeout;
            event.key = 0;
            return;
        }
        if (code == 0 || code == KEY_RESIZED) {
            continue;
        }
        if (code != KEY_MOUSE) {
            event.kind = TDialogEvent::KindKey;
            event.key = code;
            return;
        }
        int kind = MouseKind(input.action);
        if (kind == 0) {
            continue;
        }
        event.kind = kind;
        event.key = kind == TDialogEvent::KindWheel ? static_cast<int16_t>(input.button) : 0;
        return;
    }
}

int Dialog::RunWithTimeout(int ms) {
    requestedExit = 0;
    Console->SetCursorShape(0);
    if (count == 0) {
        AddExitKey(KEY_ESC);
    }
    lastOutsideKind = 1;
    CModalLoop loop;
    for (;;) {
        // Under the lock too: a worker's SendEvent may be changing an element.
        lock.Lock();
        const int current = elements[elements[focused]->groupFirst]->groupCurrent;
        if (focused != current) {
            SetFocus(current);
        }
        if (!elements[focused]->focusable) {
            MoveInGroup(1);
            if (!elements[focused]->focusable) {
                MoveToGroup(1);
            }
        }
        elements[focused]->Draw();
        lock.Unlock();

        TDialogEvent event;
        ReadEvent(loop, event, ms);
        if (event.kind == TDialogEvent::KindTimeout) {
            return 0;
        }
        event.x -= OriginX();
        event.y -= OriginY();

        lock.Lock();
        if (event.kind == TDialogEvent::KindKey) {
            HandleKey(event);
        } else if (event.kind == TDialogEvent::KindRelease2) {
            requestedExit = DefaultExit();
        } else if (event.kind >= TDialogEvent::KindPress && event.kind <= TDialogEvent::KindDrag) {
            HandleMouse(event);
        }
        OnEventHandled();
        lock.Unlock();
        if (requestedExit != 0) {
            return requestedExit;
        }
    }
}

void Dialog::HandleMouse(TDialogEvent& event) {
    for (int i = 0; i < count; ++i) {
        if (elements[i]->HandleEvent(event)) {
            return;
        }
    }
    int sx = event.x + OriginX();
    int sy = event.y + OriginY();
    bool inside = sx >= Left() && sx <= Right() && sy >= Top() && sy <= Bottom();
    if (inside) {
        return;
    }
    // A press and its release both outside the window end the dialog; a
    // release alone (the end of a click that opened it) does not.
    if (lastOutsideKind == TDialogEvent::KindPress && event.kind == TDialogEvent::KindClick) {
        requestedExit = KEY_ESC;
    } else {
        lastOutsideKind = event.kind;
    }
}

void Dialog::HandleKey(TDialogEvent& event) {
    // A closed input ends every dialog as Esc does, whatever the focused
    // element would make of the code (a menu list ends on any key).
    if (event.key == KEY_CLOSED) {
        requestedExit = KEY_ESC;
        return;
    }
    if (elements[focused]->HandleEvent(event)) {
        return;
    }
    switch (event.key) {
    case KEY_TAB: MoveToGroup(1); return;
    case KEY_SHIFT_TAB: MoveToGroup(-1); return;
    case KEY_ENTER: requestedExit = DefaultExit(); return;
    case KEY_ESC: requestedExit = KEY_ESC; return;
    case KEY_UP:
    case KEY_LEFT: MoveInGroup(-1); return;
    case KEY_RIGHT:
    case KEY_DOWN: MoveInGroup(1); return;
    default: ActivateByKey(event); return;
    }
}

bool Dialog::ActivateByKey(const TDialogEvent& event) {
    const int code = event.key;
    auto activateAccelerator = [this](int key) {
        for (int i = 0; i < count; ++i) {
            if (elements[i]->accelerator != 0 && elements[i]->accelerator == key) {
                elements[i]->Activate();
                return true;
            }
        }
        return false;
    };
    if (activateAccelerator(code)) {
        return true;
    }
    if (code > 0 && code <= 255) {
        // Either case of a letter reaches its accelerator, so that Shift or
        // Caps Lock do not change what a key does. As signed bytes: letters
        // of the upper half never match.
        int upper = static_cast<signed char>(LocaleUpperTable[code]);
        int lower = static_cast<signed char>(LocaleLowerTable[code]);
        if ((upper > 0 && activateAccelerator(upper)) || (lower > 0 && activateAccelerator(lower))) {
            return true;
        }
    }
    if (code & KEY_EXTENDED) {
        int letter = TranslateKeyChar(code, event.input);
        int limit = hotLetterCount < count ? hotLetterCount : count;
        for (int i = 0; i < limit; ++i) {
            if (hotLetters[i] != 0 && static_cast<unsigned char>(hotLetters[i]) == letter) {
                elements[i]->Activate();
                return true;
            }
        }
    }
    return false;
}
