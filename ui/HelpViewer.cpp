#include "ui/HelpViewer.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "ui/MessageBox.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "ui/ModalLoop.h"
#include "console/ScreenSize.h"
#include "ui/Dialog.h"
#include "ui/HelpFile.h"
#include "ui/Win.h"

namespace {

const int HelpWindowWidth = 74;
const int TextWidth = HelpWindowWidth - 2;
const int MarkColumn = TextWidth;  // the right frame, in client columns
const int KeyHintEnd = 70;         // the key hint's last column
const char32_t FrameSide = 0x2551;
const char32_t MoreAbove = 0x25B2;
const char32_t MoreBelow = 0x25BC;

// How the mouse scrolls while its button is held over the text.
enum EMouseScroll { ScrollNone, ScrollUp, ScrollDown };

class CHelpWindow {
public:
    CHelpWindow(const WestringStore& lines, int id)
        : lines(lines), id(id), visible(ScreenRows - 7), top(0),
          win(-1, -2, HelpWindowWidth, ScreenRows - 5, ColourOf(ColourMessages), ColourOf(ColourMessages), 0) {}

    void Run();

private:
    int LineCount() const { return lines.Count(); }
    void DrawRow(int row);
    void DrawAll();
    void DrawMarks();
    // A key the held mouse button makes, or 0 once other input arrives.
    int NextScrollKey();
    // False when the event closes the viewer.
    bool HandleMouse(const TInputEvent& input);
    // False when the key closes the viewer; sets redraw for a full redraw.
    bool HandleKey(int key, bool& redraw);

    const WestringStore& lines;
    int id;
    int visible;
    int top;
    Win win;
    EMouseScroll scroll = ScrollNone;
    bool scrollPages = false;
};

void CHelpWindow::DrawRow(int row) {
    win.GotoXY(0, row);
    int index = top + row;
    if (index < LineCount()) {
        win.WriteWideDefault(0, row, lines.At(index)->Left(TextWidth));
    }
    win.ClearToEolDefault();
}

void CHelpWindow::DrawAll() {
    for (int row = 0; row < visible; row++) {
        DrawRow(row);
    }
}

void CHelpWindow::DrawMarks() {
    win.WriteWideDefault(MarkColumn, 0, RepeatChar32(top > 0 ? MoreAbove : FrameSide, 1));
    bool more = top + visible < LineCount();
    win.WriteWideDefault(MarkColumn, visible - 1, RepeatChar32(more ? MoreBelow : FrameSide, 1));
}

int CHelpWindow::NextScrollKey() {
    if (IsInputPending()) {
        scroll = ScrollNone;
        return 0;
    }
    if (Config.ScrollDelay > 0) {
        Sleep(static_cast<DWORD>(Config.ScrollDelay));
    }
    if (scroll == ScrollUp) {
        return scrollPages ? KEY_PGUP : KEY_UP;
    }
    return scrollPages ? KEY_PGDN : KEY_DOWN;
}

bool CHelpWindow::HandleMouse(const TInputEvent& input) {
    int x = input.x;
    int y = input.y;
    bool inside = win.ScreenToClient(x, y);
    if (inside && input.action >= TInputEvent::ActionPress1 && input.action <= TInputEvent::ActionDouble1) {
        int third = visible / 3;
        scroll = y < third ? ScrollUp : (y > 2 * third ? ScrollDown : ScrollNone);
        scrollPages = input.action == TInputEvent::ActionPress2 || input.action == TInputEvent::ActionMove2;
        return true;
    }
    return inside || input.action != TInputEvent::ActionRelease1;
}

bool CHelpWindow::HandleKey(int key, bool& redraw) {
    int count = LineCount();
    switch (key) {
    case KEY_UP:
        if (top > 0) {
            top--;
            win.Scroll(0, 0, TextWidth, visible, -1);
            DrawRow(0);
        }
        break;
    case KEY_DOWN:
        if (top + visible < count) {
            top++;
            win.Scroll(0, 0, TextWidth, visible, 1);
            DrawRow(visible - 1);
        }
        break;
    case KEY_PGUP: {
        int moved = top - visible < 0 ? 0 : top - visible;
        redraw = moved != top;
        top = moved;
        break;
    }
    case KEY_PGDN:
        if (top + visible < count) {
            top += visible;
            redraw = true;
        }
        break;
    case KEY_HOME:
        redraw = top != 0;
        top = 0;
        break;
    case KEY_END:
        top = count - visible < 0 ? 0 : count - visible;
        redraw = true;
        break;
    case KEY_F1:
        if (id != HelpIndexSection) {
            ShowHelp(HelpIndexSection);
        }
        break;
    case KEY_F7: redraw = SearchHelpText(lines, top, false); break;
    case KEY_SHIFT_F7: redraw = SearchHelpText(lines, top, true); break;
    case KEY_ESC:
    case KEY_CLOSED: return false;
    default: break;
    }
    return true;
}

void CHelpWindow::Run() {
    win.WriteTextDefault(3, -1, " Help ");
    win.WriteCentredDefault(-1, " Quorvane/W 2.50-dev ");
    win.WriteRightDefault(KeyHintEnd + 1, ScreenRows - 7, " F7=Search  SF7=Search Again  Esc=Exit ");
    bool redraw = true;
    CModalLoop loop;
    for (;;) {
        DrawMarks();
        if (redraw) {
            DrawAll();
            redraw = false;
        }
        int key;
        TInputEvent input = {};
        if (scroll != ScrollNone) {
            key = NextScrollKey();
            if (key == 0) {
                continue;
            }
        } else {
            key = loop.Read(input, -1);
            if (key == 0) {
                continue;
            }
        }
        if (key == KEY_MOUSE) {
            if (!HandleMouse(input)) {
                return;
            }
            continue;
        }
        if (!HandleKey(key, redraw)) {
            return;
        }
    }
}

}  // namespace

void ShowHelp(int id) {
    WestringStore lines;
    if (!GetHelpSectionLines(id, lines)) {
        ShowMessageBox(Westring("Help not loaded"), Westring(), 0);
        return;
    }
    Console->SetCursorShape(0);
    CHelpWindow window(lines, id);
    window.Run();
}

bool SearchHelpText(const WestringStore& lines, int& topLine, bool again) {
    static Westring searchText;
    if (searchText.IsEmpty() || !again) {
        Dialog dialog(-1, -4, 40, 6, ColourOf(ColourMessages));
        dialog.AddStaticText(1, 0, "Search for:", 0);
        dialog.AddStringField(1, 1, 1, searchText, 36, -1, 14);
        dialog.AddOkCancelButtons(-1, -1, 1);
        if (dialog.Run() == KEY_ESC || searchText.IsEmpty()) {
            return false;
        }
    }
    for (int i = again ? topLine + 1 : topLine; i < lines.Count(); i++) {
        if (lines.At(i)->FindNoCase(searchText) >= 0) {
            topLine = i;
            return true;
        }
    }
    ShowMessageBox(Westring("String not found"), Westring(), 0);
    return false;
}
