#include "ui/StringField.h"

#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "app/settings/Histories.h"
#include "ui/WordRight.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "ui/ListBox.h"
#include "ui/ClipboardText.h"
#include "base/strings/WordChars.h"

namespace {

const char32_t DropDownMark = 0x2193;

const int CTRL_C = 3;
const int CTRL_Q = 17;
const int CTRL_V = 22;
const int CTRL_W = 23;
const int CTRL_X = 24;
const int CODE_DEL = KEY_CTRL_BACKSPACE;

// The keys that move the cursor, alone or with Shift to select.
bool IsMoveKey(int code) {
    switch (code & ~KEY_SHIFTED) {
    case KEY_LEFT:
    case KEY_RIGHT:
    case KEY_HOME:
    case KEY_END:
    case KEY_CTRL_LEFT:
    case KEY_CTRL_RIGHT: return true;
    default: return false;
    }
}

uint8_t Swapped(uint8_t attr) {
    return static_cast<uint8_t>((attr << 4) | (attr >> 4));
}

int LongestEntry(WestringStore& store) {
    int longest = 0;
    for (int i = 0; i < store.Count(); ++i) {
        if (store.At(i)->Length() > longest) {
            longest = store.At(i)->Length();
        }
    }
    return longest;
}

void LongestPreset(CFieldPresets& presets, int& labelWidth, int& valueWidth) {
    labelWidth = 0;
    valueWidth = 0;
    for (int i = 0; i < presets.Count(); ++i) {
        const TFieldPresetValue* p = presets.At(i);
        labelWidth = p->label.Length() > labelWidth ? p->label.Length() : labelWidth;
        valueWidth = p->value.Length() > valueWidth ? p->value.Length() : valueWidth;
    }
}

// The buffer an integer field points at until its own text exists.
Westring& ProvisionalBuffer() {
    static Westring empty;
    return empty;
}

}  // namespace

// ---------------------------------------------------------------------------
// StringField

StringField::StringField(Dialog& owner, int x, int y, Westring& text, int w, int maxLen, int kind)
    : DialogElement(owner, x, y, true, 0), maxLength(maxLen < 0 ? 32767 : maxLen), buffer(&text), width(w),
      cursor(text.Length()), scroll(0), literalNext(0), replaceOnType(1), selStart(cursor), selEnd(cursor),
      selecting(0), anchorAtEnd(0), historyKind(kind) {}

StringField::~StringField() {
    if (Owner().RequestedExit() != KEY_ESC) {
        Commit();
    }
}

bool StringField::HasHistory() const {
    return IsHistoryFieldKind(historyKind);
}

void StringField::Commit() {
    if (HasHistory() && !shownText.IsEmpty()) {
        AddInputHistory(shownText, historyKind, false);
    }
}

void StringField::ResetCursor() {
    cursor = buffer->Length();
    scroll = 0;
    ClearSelection();
}

void StringField::Draw() {
    Dialog& dialog = Owner();
    const Westring& text = *buffer;
    const int length = text.Length();
    cursor = cursor > length ? length : cursor;
    scroll = scroll > cursor ? cursor : scroll;
    const int room = width + ExtraRoom();
    if (cursor - scroll >= room || (cursor == scroll && cursor == length)) {
        scroll = cursor - room + 1;
        scroll = scroll < 0 ? 0 : scroll;
    }
    const bool focused = HasFocus();
    if (!focused) {
        ClearSelection();
    }
    const uint8_t attr = dialog.Colour(DialogColourField);
    Westring visible = scroll < length ? text.Mid(scroll, length - scroll) : Westring();
    visible = visible.Pad(width);
    CellString cells(width);
    for (int i = 0; i < width; ++i) {
        int at = scroll + i;
        bool selected = at >= selStart && at < selEnd;
        cells += TCell{visible[i], selected ? Swapped(attr) : attr};
    }
    dialog.WriteAttrString(X(), Y(), cells);
    if (HasHistory()) {
        Westring mark;
        mark.AppendChar(DropDownMark);
        dialog.WriteWide(X() + width, Y(), mark, dialog.Colour(DialogColourWindow));
    }
    dialog.GotoXY(X() + cursor - scroll, Y());
    Console->SetCursorShape(focused ? 15 : 0);
    shownText = text;
}

bool StringField::HandleEvent(TDialogEvent& event) {
    bool taken = false;
    if (event.kind == TDialogEvent::KindKey) {
        taken = HandleKey(event.key);
    } else if (event.kind >= TDialogEvent::KindPress && event.kind <= TDialogEvent::KindWheel) {
        taken = HandleMouse(event);
    }
    return taken;
}

int StringField::WordLeft(int from) const {
    const Westring& text = *buffer;
    int i = from;
    while (i > 0 && !IsWordCharWide(text[i - 1])) {
        --i;
    }
    while (i > 0 && IsWordCharWide(text[i - 1])) {
        --i;
    }
    return i;
}

int StringField::WordRight(int from) const {
    if (from >= buffer->Length()) {
        return from;
    }
    return from + WordRightOffset(buffer->Data() + from);
}

void StringField::DeleteRange(int from, int to) {
    Westring& text = *buffer;
    if (from < 0 || to <= from || from >= text.Length()) {
        return;
    }
    to = to > text.Length() ? text.Length() : to;
    Westring rest = to < text.Length() ? text.Mid(to, text.Length() - to) : Westring();
    text = text.Left(from) + rest;
    cursor = from;
}

void StringField::DeleteSelection() {
    if (HasSelection()) {
        DeleteRange(selStart, selEnd);
        cursor = selStart;
        ClearSelection();
    }
}

void StringField::InsertText(const Westring& insert) {
    Westring& text = *buffer;
    Westring rest = cursor < text.Length() ? text.Mid(cursor, text.Length() - cursor) : Westring();
    text = text.Left(cursor) + insert + rest;
    cursor += insert.Length();
}

void StringField::Paste() {
    Westring paste = GetClipboardAsLine();
    if (paste.IsEmpty()) {
        return;
    }
    // A paste that does not fit is refused before anything is removed, so
    // the field never loses its text to a failed paste.
    if (replaceOnType) {
        if (paste.Length() > maxLength) {
            return;
        }
        buffer->Clear();
        cursor = 0;
        ClearSelection();
    } else {
        int kept = buffer->Length() - (selEnd - selStart);
        if (kept + paste.Length() > maxLength) {
            return;
        }
        DeleteSelection();
    }
    InsertText(paste);
}

void StringField::SelectWord() {
    const Westring& text = *buffer;
    const int length = text.Length();
    if (cursor > 0 && (cursor >= length || !IsWordCharWide(text[cursor])) && IsWordCharWide(text[cursor - 1])) {
        --cursor;
    }
    if (cursor < length && IsWordCharWide(text[cursor])) {
        int start = cursor;
        int end = cursor;
        while (start > 0 && IsWordCharWide(text[start - 1])) {
            --start;
        }
        while (end < length && IsWordCharWide(text[end])) {
            ++end;
        }
        selStart = start;
        selEnd = end;
        anchorAtEnd = 1;
        cursor = start;
    }
}

void StringField::MoveCursor(int code) {
    const int length = buffer->Length();
    switch (code & ~KEY_SHIFTED) {
    case KEY_LEFT: cursor = cursor > 0 ? cursor - 1 : 0; break;
    case KEY_RIGHT: cursor = cursor < length ? cursor + 1 : length; break;
    case KEY_HOME: cursor = 0; break;
    case KEY_END: cursor = length; break;
    case KEY_CTRL_LEFT: cursor = WordLeft(cursor); break;
    case KEY_CTRL_RIGHT: cursor = WordRight(cursor); break;
    default: break;
    }
}

void StringField::UpdateSelection(bool shifted, bool keep) {
    if (!shifted) {
        if (!keep) {
            ClearSelection();
        }
        return;
    }
    const int anchor = anchorAtEnd ? selEnd : selStart;
    if (cursor == anchor) {
        ClearSelection();
        return;
    }
    selStart = cursor < anchor ? cursor : anchor;
    selEnd = cursor < anchor ? anchor : cursor;
    anchorAtEnd = cursor < anchor ? 1 : 0;
    selecting = 1;
}

bool StringField::HandleKey(int code) {
    switch (code) {
    case KEY_GREY_PLUS: code = '+'; break;
    case KEY_GREY_MINUS: code = '-'; break;
    case KEY_GREY_STAR: code = '*'; break;
    default: break;
    }
    if (!HasSelection()) {
        selStart = selEnd = cursor;
    }
    bool shiftMove = false;
    bool keepSelection = false;
    if (literalNext) {
        literalNext = 0;
        if (!(code & KEY_EXTENDED) && code > 0 && code <= KEY_LAST_CHARACTER) {
            code = -code - 1;  // handled below as a literal character
        }
    }
    if (code < 0) {
        DeleteSelection();
        if (buffer->Length() < maxLength) {
            Westring one;
            one.AppendChar(static_cast<char32_t>(-code - 1));
            InsertText(one);
        }
    } else if (IsMoveKey(code)) {
        MoveCursor(code);
        shiftMove = (code & KEY_SHIFTED) != 0;
    } else {
        switch (code) {
        case KEY_BACKSPACE:
            if (HasSelection()) {
                DeleteSelection();
            } else if (cursor > 0) {
                DeleteRange(cursor - 1, cursor);
            }
            break;
        case KEY_DELETE:
            if (HasSelection()) {
                DeleteSelection();
            } else {
                DeleteRange(cursor, cursor + 1);
            }
            break;
        case CODE_DEL: DeleteRange(WordLeft(cursor), cursor); break;
        case KEY_CTRL_DELETE: DeleteRange(cursor, WordRight(cursor)); break;
        case CTRL_C:
        case KEY_CTRL_INSERT:
            if (HasSelection()) {
                PutClipboardText(buffer->Mid(selStart, selEnd - selStart));
            }
            keepSelection = true;
            break;
        case CTRL_X:
        case KEY_SHIFT_DELETE:
            if (HasSelection()) {
                PutClipboardText(buffer->Mid(selStart, selEnd - selStart));
                DeleteSelection();
            }
            break;
        case CTRL_V:
        case KEY_SHIFT_INSERT: Paste(); break;
        case CTRL_W:
            SelectWord();
            if (HasSelection()) {
                PutClipboardText(buffer->Mid(selStart, selEnd - selStart));
            }
            keepSelection = true;
            break;
        case CTRL_Q: literalNext = 1; break;
        case KEY_ALT_UP:
        case KEY_ALT_DOWN:
            if (!HasHistory()) {
                return false;
            }
            replaceOnType = 0;
            if (code == KEY_ALT_UP) {
                ShowPresets();
            } else {
                ShowHistory();
            }
            break;
        default:
            if (code < KEY_SPACE || code > KEY_LAST_CHARACTER) {
                return false;
            }
            if (replaceOnType) {
                buffer->Clear();
                cursor = 0;
                ClearSelection();
            } else {
                DeleteSelection();
            }
            if (buffer->Length() < maxLength) {
                Westring one;
                one.AppendChar(static_cast<char32_t>(code));
                InsertText(one);
            }
            break;
        }
    }
    UpdateSelection(shiftMove, keepSelection);
    replaceOnType = 0;
    cursor = cursor > buffer->Length() ? buffer->Length() : (cursor < 0 ? 0 : cursor);
    Draw();
    return true;
}

bool StringField::HandleMouse(const TDialogEvent& event) {
    if (HasHistory() && event.kind == TDialogEvent::KindClick && event.y == Y() && event.x == X() + width) {
        ShowHistory();
        return true;
    }
    if (!HitTest(event, width, 1)) {
        return false;
    }
    int column = event.x - X() + scroll;
    int under = column < buffer->Length() ? column : buffer->Length();
    switch (event.kind) {
    case TDialogEvent::KindPress:
        Owner().SetFocus(Index());
        cursor = under;
        ClearSelection();
        break;
    case TDialogEvent::KindDrag:
    case TDialogEvent::KindClick:
        if (!HasSelection()) {
            selStart = selEnd = cursor;
        }
        cursor = under;
        UpdateSelection(true, false);
        break;
    default: ClearSelection(); break;
    }
    Draw();
    return true;
}

void StringField::GetDropDownRect(int w, int& left, int& top, int& right, int& bottom) const {
    Dialog& dialog = Owner();
    const int fieldX = dialog.OriginX() + X();
    const int fieldY = dialog.OriginY() + Y();
    left = fieldX;
    if (left + w > ScreenColumns - 3) {
        left = ScreenColumns - 3 - w;
    }
    left -= 1;
    left = left < 0 ? 0 : left;
    top = fieldY + 1;
    right = left + w + 1;
    bottom = fieldY + 8;
    // Six rows and a frame below the field; near the bottom of the screen
    // the popup moves up to stay on it.
    if (bottom >= ScreenRows) {
        bottom = ScreenRows - 1;
        top = bottom - 7;
        top = top < 0 ? 0 : top;
    }
}

void StringField::ShowHistory() {
    if (!HasHistory()) {
        return;
    }
    WestringStore& store = InputHistories[historyKind];
    int w = LongestEntry(store);
    w = w < width ? width : w;
    w = w > ScreenColumns - 6 ? ScreenColumns - 6 : w;
    int left = 0, top = 0, right = 0, bottom = 0;
    GetDropDownRect(w, left, top, right, bottom);
    int chosen = store.Count() - 1;
    int result = 0;
    {
        Dialog popup(left, top, right, bottom, Owner().Colour(DialogColourWindow));
        popup.AddListBoxWestring(0, 0, 1, popup.ClientWidth(), popup.ClientHeight(), store, &chosen, 0);
        result = popup.Run();
    }
    if (result == KEY_ENTER && store.Count() > 0 && chosen >= 0 && chosen < store.Count()) {
        *buffer = *store.At(chosen);
        cursor = buffer->Length();
        ClearSelection();
    }
    Draw();
}

void StringField::ShowPresets() {
    if (!HasHistory()) {
        return;
    }
    CFieldPresets& presets = FieldPresets[historyKind];
    for (;;) {
        int labelWidth = 0;
        int valueWidth = 0;
        LongestPreset(presets, labelWidth, valueWidth);
        int w = labelWidth + valueWidth < 9 ? 11 : labelWidth + valueWidth + 2;
        w = w > ScreenColumns - 6 ? ScreenColumns - 6 : w;
        int left = 0, top = 0, right = 0, bottom = 0;
        GetDropDownRect(w, left, top, right, bottom);
        Dialog popup(left, top, right, bottom, Owner().Colour(DialogColourWindow));
        popup.WriteCentredDefault(-1, " Presets ");
        int selected = presets.Count() - 1;
        int list = popup.AddPresetsListBox(0, 0, 1, popup.ClientWidth(), popup.ClientHeight(), presets, labelWidth,
                                           &selected, 0);
        popup.AddExitKey(KEY_INSERT);
        popup.AddExitKey(KEY_DELETE);
        bool reopen = false;
        for (;;) {
            int result = popup.Run();
            if (result == KEY_INSERT) {
                Westring label;
                Dialog add(-1, -4, 30, 5, ColourOf(ColourMessages));
                add.WriteCentredDefault(-1, " Add Preset ");
                add.AddStaticText(1, 1, "Label:", 0);
                add.AddStringField(9, 1, 0, label, 18, -1, FieldKindNoHistory);
                if (add.Run() != KEY_ENTER) {
                    continue;
                }
                AddFieldPreset(label, *buffer, historyKind, false);
                add.SetHidden(true);
                TDialogEvent counted = {};
                counted.kind = TDialogEvent::KindListCount;
                counted.key = presets.Count();
                popup.SendEvent(list, counted);
                selected = presets.Count() - 1;
                popup.DrawElement(list);
                if (label.Length() > labelWidth || buffer->Length() > valueWidth) {
                    reopen = true;
                    break;
                }
            } else if (result == KEY_DELETE) {
                if (selected < 0 || selected >= presets.Count()) {
                    continue;
                }
                Dialog confirm(-1, -4, 54, 5, ColourOf(ColourErrors));
                confirm.AddStaticText(-1, 0, "Are you sure you wish to delete this preset?", 0);
                confirm.AddOkCancelButtons(-1, -1, 1);
                if (confirm.Run() != KEY_ENTER) {
                    continue;
                }
                RemoveFieldPresetLine(*presets.At(selected), historyKind);
                delete presets.RemoveAt(selected);
                TDialogEvent counted = {};
                counted.kind = TDialogEvent::KindListCount;
                counted.key = presets.Count();
                popup.SendEvent(list, counted);
                popup.DrawElement(list);
            } else if (result == KEY_ENTER) {
                if (presets.Count() > 0 && selected >= 0 && selected < presets.Count()) {
                    *buffer = presets.At(selected)->value;
                    cursor = buffer->Length();
                    ClearSelection();
                }
                break;
            } else if (result == KEY_ESC) {
                break;
            }
        }
        if (!reopen) {
            break;
        }
    }
    Draw();
}

// ---------------------------------------------------------------------------
// IntegerField

namespace {

// The decimal number of a text of digits; false when the text holds anything
// else or the number does not fit an int32_t.
bool ParseDigits(const Westring& text, int32_t& value) {
    int64_t number = 0;
    for (int i = 0; i < text.Length(); ++i) {
        char32_t c = text[i];
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
        if (number > INT32_MAX) {
            return false;
        }
    }
    value = static_cast<int32_t>(number);
    return true;
}

Westring Decimal(int32_t value) {
    Estring text;
    text.Format("%d", static_cast<int>(value));
    return Westring(text);
}

}  // namespace

IntegerField::IntegerField(Dialog& owner, int x, int y, int32_t* v, int w, int keep, int kind)
    : StringField(owner, x, y, ProvisionalBuffer(), w, w < 18 ? w : 18, kind), value(v), keepTypedText(keep ? 1 : 0),
      editing(0), text(Decimal(*v)) {
    SetBuffer(text);
    ResetCursor();
}

bool IntegerField::HandleEvent(TDialogEvent& event) {
    if (event.kind == TDialogEvent::KindKey && event.key >= 32 && event.key <= 255 &&
        (event.key < '0' || event.key > '9')) {
        return false;
    }
    // An edit that leaves anything but a number that fits (a pasted word, too
    // many digits) is undone.
    const Westring before = text;
    // The text is only made canonical once the value follows it.
    editing = 1;
    bool taken = StringField::HandleEvent(event);
    editing = 0;
    if (!taken) {
        return false;
    }
    int32_t number = 0;
    if (ParseDigits(text, number)) {
        *value = number;
    } else {
        text = before;
    }
    Draw();
    return true;
}

void IntegerField::Draw() {
    int32_t number = 0;
    bool same = ParseDigits(text, number) && number == *value;
    if (!editing && !(keepTypedText && same)) {
        Westring canonical = Decimal(*value);
        if (!text.EqualsExact(canonical)) {
            text = canonical;
        }
    }
    StringField::Draw();
}
