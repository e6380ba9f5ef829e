#include "app/panels/QuickSearch.h"

#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "base/strings/Str32.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "ui/ModalLoop.h"
#include "ui/Win.h"

namespace {

bool StartsWithNoCase(const char32_t* name, const char32_t* prefix) {
    const int n = Str32Length(prefix);
    return Str32Length(name) >= n && Str32CompareNoCaseN(name, prefix, n) == 0;
}

void RemoveLastChar(char32_t* text) {
    const int n = Str32Length(text);
    if (n > 0)
        text[n - 1] = 0;
}

// Index of the first entry from `from` in the direction of `step` (up to the
// end of the list) whose name begins with the search text; -1 when none.
int FindMatch(const CPanel* panel, int from, int step) {
    for (int i = from; i >= 0 && i < panel->entryCount; i += step) {
        if (StartsWithNoCase(panel->entries[i]->name, panel->searchText))
            return i;
    }
    return -1;
}

// The status-row position of the search cursor: after "Search: " and the
// text, never past the panel's inner width.
void ShowSearchCursor(CPanel* panel) {
    if (panel->window == nullptr)
        return;
    int x = Str32Length(panel->searchText) + 8;
    if (x > ScreenColumns / 2 - 2)
        x = ScreenColumns / 2 - 2;
    panel->window->GotoXY(x, panel->window->ClientHeight() - 1);
    if (Console != nullptr)
        Console->SetCursorShape(100);
}

// Reads the next key of a running search, an extended key that carries a
// printable character (Alt+letter) counting as that character.
int ReadSearchKey(CModalLoop& loop, TInputEvent& event) {
    int key;
    do {
        key = loop.Read(event, -1);
    } while (key == 0);
    if (event.shiftState < 0)
        event.shiftState = 0;
    if (key >= KEY_EXTENDED && key != KEY_MOUSE && key != KEY_CLOSED && event.character >= KEY_SPACE &&
        event.character <= KEY_LAST_CHARACTER && event.character != KEY_CTRL_BACKSPACE && event.character != '\\')
        key = event.character;
    return key;
}

}  // namespace

bool QuickSearchFind(CPanel* panel, int c, int step) {
    if (panel->entryCount <= 0)
        return false;
    const entry* current = panel->CursorEntry();
    if (current == nullptr || !StartsWithNoCase(current->name, panel->searchText))
        panel->searchText[0] = 0;
    bool appended = false;
    if (c > 0) {
        const int n = Str32Length(panel->searchText);
        if (n + 1 >= CPanel::PathUnits)
            return false;  // the text is as long as a name can be
        panel->searchText[n] = char32_t(c);
        panel->searchText[n + 1] = 0;
        appended = true;
    }
    const int cursor = panel->CursorIndex();
    int found;
    if (c != 0) {
        // From the cursor entry itself, then once more over the whole list.
        found = FindMatch(panel, cursor, 1);
        if (found < 0)
            found = FindMatch(panel, 0, 1);
    } else {
        if (step == 0)
            step = 1;
        found = FindMatch(panel, cursor + step, step);
    }
    if (found < 0) {
        if (appended)
            RemoveLastChar(panel->searchText);
        return false;
    }
    MovePanelCursor(panel, found - cursor);
    return true;
}

void QuickSearchComplete(CPanel* panel) {
    const entry* current = panel->CursorEntry();
    if (current == nullptr)
        return;
    const int textLength = Str32Length(panel->searchText);
    int candidate = Str32Length(current->name);
    for (int i = 0; i < panel->entryCount; i++) {
        const char32_t* name = panel->entries[i]->name;
        if (!StartsWithNoCase(name, panel->searchText))
            continue;
        int j = textLength;
        while (j < candidate && name[j] != 0 && Str32CompareNoCaseN(name + j, current->name + j, 1) == 0)
            j++;
        candidate = j;
    }
    if (candidate >= CPanel::PathUnits)
        candidate = CPanel::PathUnits - 1;
    Mem32Copy(panel->searchText, current->name, candidate);
    panel->searchText[candidate] = 0;
}

bool QuickSearch(int c, CPanel* panel, int& key, TInputEvent* inputEvent, int step) {
    if (panel->entryCount <= 0)
        return false;
    const int side = PanelSide(panel);
    QuickSearchFind(panel, c, step);
    if (!Config.StickyAlt || panel->searchText[0] == 0) {
        key = 0;
        return false;
    }
    const int savedCursorShape = Console != nullptr ? Console->GetCursorShape() : 0;
    TInputEvent event = TInputEvent();
    CModalLoop loop;
    for (;;) {
        DrawCursorBar(side, true);
        ShowSearchCursor(panel);
        key = ReadSearchKey(loop, event);
        DrawCursorBar(side, false);
        if (key == KEY_ALT_DOWN) {
            QuickSearchFind(panel, 0, 1);
        } else if (key == KEY_ALT_UP) {
            QuickSearchFind(panel, 0, -1);
        } else if (key == KEY_ALT_BACKSPACE || key == KEY_BACKSPACE) {
            RemoveLastChar(panel->searchText);
            QuickSearchFind(panel, SearchAgain, 0);
        } else if (key == KEY_SHIFT_TAB || (key == KEY_TAB && (event.shiftState & SHIFT_SHIFT))) {
            QuickSearchComplete(panel);
            QuickSearchFind(panel, SearchAgain, 0);
        } else if (key >= KEY_SPACE && key <= KEY_LAST_CHARACTER) {
            QuickSearchFind(panel, key, 0);
        } else {
            break;
        }
    }
    panel->searchText[0] = 0;
    if (Console != nullptr)
        Console->SetCursorShape(savedCursorShape);
    DrawCursorBar(side, true);
    if (inputEvent != nullptr)
        *inputEvent = event;
    return key != KEY_ESC;
}
