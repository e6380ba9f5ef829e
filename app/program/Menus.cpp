#include "app/program/Menus.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/strings/CellString.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "ui/ModalLoop.h"
#include "ui/Win.h"

namespace {

const char32_t MenuSeparatorChar = 0x2500;

// What survives between openings of the bar.
struct TMenuBarState {
    int title = MenuLeft;
    int item = 0;
    bool pulled = false;
};

TMenuBarState BarState;

static_assert(static_cast<int>(MenuRight) == static_cast<int>(HelpTopicMenuPages) && MenuTitleCount == MenuRight + 1,
              "every title but Right has a help page of its own");

uint8_t WithForegroundOf(uint8_t attribute, EColourSlot slot) {
    return static_cast<uint8_t>((attribute & 0xF0) | (ColourOf(slot) & 0x0F));
}

// The next item from `from` in the direction that is not a separator,
// wrapping; `from` itself when every other row is one.
int StepItem(const TPullDownMenu& menu, int from, int direction) {
    const int count = static_cast<int>(menu.count);
    int at = from;
    for (int i = 0; i < count; i++) {
        at = (at + direction + count) % count;
        if (!menu.items[at].IsSeparator()) {
            return at;
        }
    }
    return from;
}

// The title whose start column is the last one not right of x; -1 left of
// the first title.
int TitleAt(int x) {
    int found = -1;
    for (int t = 0; t < MenuTitleCount; t++) {
        if (MenuTitleColumns[t] <= x) {
            found = t;
        }
    }
    return found;
}

class CMenuBar {
public:
    ~CMenuBar() {
        CloseMenu();
        delete bar;
    }

    int Run() {
        UpdateMenuMarks();
        bar = new Win(0, 0, ScreenColumns - 1, 0, ColourOf(ColourMenuBar), -1, 1);
        DrawBar();
        if (BarState.pulled) {
            OpenMenu();
        }
        CModalLoop loop;
        for (;;) {
            TInputEvent event = {};
            int key = loop.Read(event, -1);
            int result = 0;
            if (HandleKey(key, event, result)) {
                return result;
            }
        }
    }

private:
    TPullDownMenu& Menu() const { return PullDownMenus[BarState.title]; }

    void DrawBar() {
        bar->WriteText(0, 0, MenuBarLine, ColourOf(ColourMenuBar));
        bar->WriteText(MenuTitleColumns[BarState.title], 0, MenuTitles[BarState.title], ColourOf(ColourMenuHighlight));
    }

    void OpenMenu() {
        CloseMenu();
        const TPullDownMenu& menu = Menu();
        const int x = MenuTitleColumns[BarState.title];
        menu_ = new Win(x, 1, x + static_cast<int>(menu.width) + 1, static_cast<int>(menu.count) + 2,
                        ColourOf(ColourMenu), ColourOf(ColourMenuBar), Config.Shadows ? 0 : 1);
        for (int i = 0; i < static_cast<int>(menu.count); i++) {
            DrawMenuItem(menu_, BarState.title, i, i == BarState.item);
        }
        BarState.pulled = true;
    }

    void CloseMenu() {
        delete menu_;
        menu_ = nullptr;
    }

    void PullUp() {
        CloseMenu();
        BarState.pulled = false;
    }

    void SelectTitle(int title) {
        BarState.title = title;
        BarState.item = 0;
        DrawBar();
        if (BarState.pulled) {
            OpenMenu();
        }
    }

    void SelectItem(int item) {
        if (item == BarState.item || Menu().items[item].IsSeparator()) {
            return;
        }
        int old = BarState.item;
        BarState.item = item;
        if (menu_) {
            DrawMenuItem(menu_, BarState.title, old, false);
            DrawMenuItem(menu_, BarState.title, item, true);
        }
    }

    // The item of the open menu under a screen point, -1 when none.
    int ItemAt(int x, int y) const {
        if (!menu_ || !menu_->ScreenToClient(x, y)) {
            return -1;
        }
        if (y < 0 || y >= static_cast<int>(Menu().count) || x < 0 || x >= static_cast<int>(Menu().width)) {
            return -1;
        }
        return y;
    }

    // True when the bar ends, with the code in `result`.
    bool Choose(int& result) {
        const TPullDownItem& item = Menu().items[BarState.item];
        if (item.IsSeparator() || item.code == 0) {
            return false;
        }
        result = static_cast<int>(item.code);
        return true;
    }

    bool HandleKey(int key, const TInputEvent& event, int& result) {
        const int count = static_cast<int>(Menu().count);
        switch (key) {
        case KEY_CLOSED: return true;
        case KEY_LEFT: SelectTitle((BarState.title + MenuTitleCount - 1) % MenuTitleCount); return false;
        case KEY_RIGHT: SelectTitle((BarState.title + 1) % MenuTitleCount); return false;
        case KEY_DOWN:
            if (!BarState.pulled) {
                OpenMenu();
            } else {
                SelectItem(StepItem(Menu(), BarState.item, 1));
            }
            return false;
        case KEY_UP: SelectItem(StepItem(Menu(), BarState.item, -1)); return false;
        case KEY_HOME: SelectItem(StepItem(Menu(), count - 1, 1)); return false;
        case KEY_END: SelectItem(StepItem(Menu(), 0, -1)); return false;
        case KEY_ENTER:
            if (!BarState.pulled) {
                OpenMenu();
                return false;
            }
            return Choose(result);
        case KEY_ESC:
            if (BarState.pulled) {
                PullUp();
                return false;
            }
            return true;
        case KEY_F1:
            // The Right menu shares the Left menu's page.
            ShowHelp(HelpTopicMenus + (BarState.title == MenuRight ? 0 : BarState.title));
            return false;
        case KEY_MOUSE: return HandleMouse(event, result);
        default: break;
        }
        const int letter = TranslateKeyChar(key, event);
        if (letter <= 0 || letter > 0x7F) {
            return false;
        }
        if (BarState.pulled) {
            for (int i = 0; i < count; i++) {
                if (Menu().items[i].HotLetter() == letter) {
                    SelectItem(i);
                    return Choose(result);
                }
            }
            return false;
        }
        for (int t = 0; t < MenuTitleCount; t++) {
            if (MenuTitleLetters[t] == letter) {
                BarState.pulled = true;
                SelectTitle(t);
                return false;
            }
        }
        return false;
    }

    bool HandleMouse(const TInputEvent& event, int& result) {
        const int action = event.action;
        const bool pointing = action >= TInputEvent::ActionPress1 && action <= TInputEvent::ActionDouble1;
        const bool releasing = action >= TInputEvent::ActionRelease1 && action <= TInputEvent::ActionWheel;
        if (event.y == 0) {
            const int title = pointing ? TitleAt(event.x) : -1;
            if (title < 0) {
                return false;
            }
            if (title != BarState.title) {
                SelectTitle(title);
            }
            if (!BarState.pulled) {
                OpenMenu();
            }
            return false;
        }
        const int item = ItemAt(event.x, event.y);
        if (pointing) {
            if (item >= 0) {
                SelectItem(item);
            } else if (!BarState.pulled && (action == TInputEvent::ActionMove1 || action == TInputEvent::ActionMove2)) {
                OpenMenu();
            }
            return false;
        }
        if (releasing) {
            if (item < 0) {
                return true;
            }
            // A release over a separator chooses nothing and keeps the menu.
            if (Menu().items[item].IsSeparator()) {
                return false;
            }
            SelectItem(item);
            return Choose(result);
        }
        return false;
    }

    Win* bar = nullptr;
    Win* menu_ = nullptr;
};

}  // namespace

void DrawMenuItem(Win* window, int menu, int item, bool selected) {
    const TPullDownMenu& table = PullDownMenus[menu];
    const TPullDownItem& row = table.items[item];
    const int width = static_cast<int>(table.width);
    if (row.IsSeparator()) {
        window->WriteText(0, item, " ", ColourOf(ColourMenu));
        window->WriteAttrString(1, item,
                                CellString(RepeatChar32(MenuSeparatorChar, width - 2).Data(), ColourOf(ColourMenuBar)));
        window->WriteText(width - 1, item, " ", ColourOf(ColourMenu));
        return;
    }
    uint8_t attribute = ColourOf(selected ? ColourMenuHighlight : ColourMenu);
    if (row.code == 0) {
        attribute = WithForegroundOf(attribute, ColourDisabledMenu);
    }
    Westring line;
    line.AppendChar(static_cast<char32_t>(row.mark));
    line += Westring(row.text);
    window->WriteWide(0, item, line.Pad(width), attribute);
    const char hot[2] = {row.text[row.hotIndex], 0};
    window->WriteText(1 + row.hotIndex, item, hot, WithForegroundOf(attribute, ColourMenuQuickKey));
}

int RunMenuBar(int side, bool resume) {
    if (!resume) {
        BarState.title = side == 0 ? MenuLeft : MenuRight;
        BarState.item = 0;
        BarState.pulled = false;
    }
    CMenuBar bar;
    return bar.Run();
}
