#include "ui/ListBox.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "platform/win32.h"

// ---------------------------------------------------------------------------
// ListBoxBase

ListBoxBase::ListBoxBase(Dialog& owner, int x, int y, int w, int r, int n, int32_t* sel, int exit)
    : DialogElement(owner, x, y, true, 0), width(w), rows(r < 1 ? 1 : r), count(n < 0 ? 0 : n), top(0), cursorRow(0),
      lastTop(-1), lastCursorRow(-1), selection(sel), exitSetting(exit), searchWindow(nullptr) {
    int s = *selection;
    if (s >= count) {
        s = count - 1;
    }
    if (count > 0 && s < 0) {
        s = 0;
    }
    *selection = s;
    if (s >= rows) {
        cursorRow = rows - 1;
        top = s - (rows - 1);
    } else {
        cursorRow = s < 0 ? 0 : s;
    }
}

ListBoxBase::~ListBoxBase() {
    delete searchWindow;
}

Westring ListBoxBase::GetItemText(int) {
    return Westring();
}

Westring ListBoxBase::Fit(const Westring& text) const {
    return text.Pad(width);
}

void ListBoxBase::StoreSelection() {
    *selection = count > 0 ? top + cursorRow : -1;
}

void ListBoxBase::Draw() {
    if (count == 0) {
        *selection = -1;
        top = 0;
        cursorRow = 0;
    } else {
        int s = *selection;
        s = s >= count ? count - 1 : (s < 0 ? 0 : s);
        *selection = s;
        if (s != top + cursorRow) {
            cursorRow = s - top;
            if (cursorRow < 0) {
                top = s;
                cursorRow = 0;
            } else if (cursorRow >= rows) {
                top = s - rows + 1;
                cursorRow = s - top;
            }
        }
    }
    if (top == lastTop) {
        if (lastCursorRow != cursorRow) {
            DrawRow(lastCursorRow);
        }
        DrawRow(cursorRow);
    } else {
        for (int row = 0; row < rows; ++row) {
            DrawRow(row);
        }
    }
    lastTop = top;
    lastCursorRow = cursorRow;
}

void ListBoxBase::DrawRow(int row) {
    if (row < 0 || row >= rows) {
        return;
    }
    const int item = top + row;
    const bool highlighted = row == cursorRow && count > 0 && HasFocus();
    const uint8_t attr = ColourOf(highlighted ? ColourMenuHighlight : ColourMenu);
    if (item < count) {
        DrawItem(row, item, attr);
    } else {
        Owner().WriteWide(X(), Y() + row, Westring().Pad(width), ColourOf(ColourMenu));
    }
}

void ListBoxBase::ClearSearch() {
    searchText.Clear();
    UpdateSearchWindow();
}

void ListBoxBase::UpdateSearchWindow() {
    if (searchText.IsEmpty()) {
        delete searchWindow;
        searchWindow = nullptr;
        return;
    }
    if (!searchWindow) {
        Dialog& dialog = Owner();
        int left = dialog.Right() - (searchText.Length() + 2);
        searchWindow = new Win(left < 0 ? 0 : left, dialog.Bottom(), dialog.Right(), dialog.Bottom(),
                               dialog.Colour(DialogColourField), -1, 1);
    }
    searchWindow->WriteWideDefault(1, 0, searchText);
}

bool ListBoxBase::SearchChar(char32_t c) {
    searchText.AppendChar(c);
    const int length = searchText.Length();
    const int start = count > 0 ? top + cursorRow : 0;
    for (int k = 0; k < count; ++k) {
        int item = (start + k) % count;
        Westring text = GetItemText(item);
        if (text.Length() >= length && text.Left(length).EqualsNoCase(searchText)) {
            *selection = item;
            Draw();
            // Replaced, so that it grows with the text.
            delete searchWindow;
            searchWindow = nullptr;
            UpdateSearchWindow();
            return true;
        }
    }
    searchText = searchText.DropRight(1);
    return true;
}

void ListBoxBase::SetSearchText(const Westring& text) {
    if (text.IsEmpty()) {
        ClearSearch();
        return;
    }
    searchText = text.DropRight(1);
    SearchChar(text[text.Length() - 1]);
    UpdateSearchWindow();
    StoreSelection();
    Draw();
}

bool ListBoxBase::HandleKey(int code) {
    const int last = count - 1;
    switch (code) {
    case KEY_UP:
        if (cursorRow > 0) {
            --cursorRow;
        } else if (top > 0) {
            --top;
        }
        return true;
    case KEY_DOWN:
        if (top + cursorRow < last) {
            if (cursorRow < rows - 1) {
                ++cursorRow;
            } else {
                ++top;
            }
        }
        return true;
    case KEY_PGUP:
        if (top < rows) {
            top = 0;
            cursorRow = 0;
        } else {
            top -= rows;
        }
        return true;
    case KEY_PGDN:
        if (top + 2 * rows <= count) {
            top += rows;
        } else if (count > 0) {
            top = count > rows ? count - rows : 0;
            cursorRow = last - top;
        }
        return true;
    case KEY_HOME:
        top = 0;
        cursorRow = 0;
        return true;
    case KEY_END:
        top = count > rows ? count - rows : 0;
        cursorRow = last > top ? last - top : 0;
        return true;
    case KEY_ENTER: Owner().RequestExit(exitSetting > 0 ? exitSetting : Owner().DefaultExit()); return true;
    default: break;
    }
    if (exitSetting == -1) {
        Owner().RequestExit(code);
        return true;
    }
    return false;
}

bool ListBoxBase::HandleMouse(const TDialogEvent& event) {
    if (event.kind < TDialogEvent::KindPress || event.kind > TDialogEvent::KindDrag) {
        return false;
    }
    if (!HitTest(event, width, rows + 2, X(), Y() - 1)) {
        return false;
    }
    const int row = event.y - Y();
    if (row >= 0 && row < rows) {
        Owner().SetFocus(Index());
        cursorRow = row;
        if (top + row < count) {
            if (event.kind == TDialogEvent::KindChoose) {
                Owner().RequestExit(exitSetting > 0 ? exitSetting : Owner().DefaultExit());
            } else if (event.kind == TDialogEvent::KindClick && exitSetting == -1) {
                Owner().RequestExit(Owner().DefaultExit());
            }
        } else if (count > 0) {
            cursorRow = count - 1 - top;
        } else {
            cursorRow = 0;
        }
        return true;
    }
    if (event.kind == TDialogEvent::KindClick) {
        return false;
    }
    AutoScroll(row < 0 ? -1 : 1);
    return true;
}

void ListBoxBase::AutoScroll(int direction) {
    if (count == 0) {
        return;
    }
    if (direction < 0) {
        cursorRow = 0;
    } else {
        int lastFilled = count - 1 - top;
        cursorRow = lastFilled < rows - 1 ? lastFilled : rows - 1;
    }
    while (!IsInputPending()) {
        StoreSelection();
        Draw();
        if (direction < 0 ? top == 0 : top + cursorRow >= count - 1) {
            break;
        }
        top += direction;
        if (Config.ScrollDelay > 0) {
            Sleep(static_cast<DWORD>(Config.ScrollDelay));
        }
    }
}

bool ListBoxBase::HandleEvent(TDialogEvent& event) {
    switch (event.kind) {
    case TDialogEvent::KindListRow: event.key = cursorRow; return true;
    case TDialogEvent::KindListRedraw: lastTop = -1; break;
    case TDialogEvent::KindListCount: {
        const int lastVisible = top + rows - 1;
        const int newCount = event.key < 0 ? 0 : event.key;
        if (!(count > lastVisible && newCount > lastVisible)) {
            lastTop = -1;
        }
        count = newCount;
        if (top + cursorRow >= count) {
            *selection = count - 1;
            Draw();
        }
        break;
    }
    case TDialogEvent::KindKey: {
        bool taken = HandleKey(event.key);
        if (!taken && event.key >= KEY_SPACE && event.key <= KEY_LAST_CHARACTER) {
            // A typed character searches; the search text stays for the next.
            SearchChar(static_cast<char32_t>(event.key));
            StoreSelection();
            Draw();
            return true;
        }
        ClearSearch();
        StoreSelection();
        Draw();
        return taken;
    }
    default:
        if (!HandleMouse(event)) {
            return false;
        }
        break;
    }
    ClearSearch();
    StoreSelection();
    Draw();
    return true;
}

// ---------------------------------------------------------------------------
// The list kinds

ListBoxString::ListBoxString(Dialog& owner, int x, int y, int w, int r, const char* const* s, int n, int32_t* sel,
                             int exit)
    : ListBoxBase(owner, x, y, w, r, n, sel, exit), strings(s) {}

void ListBoxString::DrawItem(int row, int item, uint8_t attribute) {
    Owner().WriteText(X(), Y() + row, Estring(strings[item]).Pad(width).Data(), attribute);
}

ListBoxEstring::ListBoxEstring(Dialog& owner, int x, int y, int w, int r, EstringStore& s, int32_t* sel, int exit)
    : ListBoxBase(owner, x, y, w, r, s.Count(), sel, exit), store(s) {}

void ListBoxEstring::DrawItem(int row, int item, uint8_t attribute) {
    Owner().WriteText(X(), Y() + row, store.At(item)->Pad(width).Data(), attribute);
}

Westring ListBoxEstring::GetItemText(int item) {
    return Westring(*store.At(item));
}

ListBoxWestring::ListBoxWestring(Dialog& owner, int x, int y, int w, int r, WestringStore& s, int32_t* sel, int exit)
    : ListBoxBase(owner, x, y, w, r, s.Count(), sel, exit), store(s) {}

void ListBoxWestring::DrawItem(int row, int item, uint8_t attribute) {
    Owner().WriteWide(X(), Y() + row, Fit(*store.At(item)), attribute);
}

Westring ListBoxWestring::GetItemText(int item) {
    return *store.At(item);
}
