#include "ui/Dialog.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/ui/UiConsole.h"
#include "ui/ListBox.h"

namespace {

using qvtest::UiConsole;

// Records where the focus went.
class RecordingDialog : public Dialog {
public:
    RecordingDialog() : Dialog(-1, -2, 60, 14, 0x70) {}
    std::vector<int> trail;
    int events = 0;

protected:
    void OnFocusChanged() override { trail.push_back(Focused()); }
    void OnEventHandled() override { ++events; }
};

class DialogTest : public UiConsole {};

const int ALT = SHIFT_ALT;

TEST_F(DialogTest, TabShiftTabAndHotLettersMoveTheFocus) {
    RecordingDialog d;
    Westring text("abc");
    uint8_t verbose = 0;
    int32_t speed = 1;
    EXPECT_EQ(d.AddStringField(2, 1, 1, text, 20, -1, 14), 0);
    EXPECT_EQ(d.AddCheckBox(2, 3, 1, &verbose, "_Verbose", 1), 1);
    EXPECT_EQ(d.AddRadioButton(2, 5, 2, &speed, 0, "_Fast"), 2);
    EXPECT_EQ(d.AddRadioButton(2, 6, 0, &speed, 1, "_Slow"), 3);
    EXPECT_EQ(d.AddOkCancelButtons(-1, -1, 1), 4);
    EXPECT_EQ(d.HotLetter(1), 'v');
    EXPECT_EQ(d.HotLetter(4), 'o');
    EXPECT_EQ(d.HotLetter(5), 0);

    Key(KEY_TAB);                      // to the check box
    Key(KEY_TAB);                      // into the radio group: its selected button
    Key(KEY_TAB);                      // to OK
    Key(KEY_SHIFT_TAB, 0, 4);          // back to the radio group
    Key(KEY_UP);                       // within the group: selects Fast
    Key(KeyAltLetter('v'), 'v', ALT);  // Alt+V: the check box, toggled
    Key(KeyAltLetter('s'), 'S', ALT);  // Alt+S in upper case: Slow
    Key(KEY_ESC);
    EXPECT_EQ(d.Run(), KEY_ESC);
    EXPECT_EQ(d.trail, (std::vector<int>{1, 3, 4, 3, 2, 1, 3}));
    EXPECT_EQ(verbose, 1);
    EXPECT_EQ(speed, 1);
    EXPECT_EQ(d.events, 8);
}

TEST_F(DialogTest, TabEntersAGroupAtItsFirstOrItsCurrentMember) {
    for (int newGroup : {1, 2}) {
        Dialog d(-1, -2, 40, 10, 0x70);
        int32_t selection = 2;
        uint8_t flag = 0;
        d.AddCheckBox(1, 1, 1, &flag, "Flag", 1);
        d.AddRadioButton(1, 3, newGroup, &selection, 1, "One");
        d.AddRadioButton(1, 4, 0, &selection, 2, "Two");
        d.AddRadioButton(1, 5, 0, &selection, 3, "Three");
        Key(KEY_TAB);
        Key(KEY_ESC);
        d.Run();
        EXPECT_EQ(d.Focused(), newGroup == 2 ? 2 : 1) << newGroup;
        // Entering at the first member selects it.
        EXPECT_EQ(selection, newGroup == 2 ? 2 : 1) << newGroup;
    }
}

TEST_F(DialogTest, RadioArrowsMoveTheSharedSelectionAndRedrawBothButtons) {
    Dialog d(0, 0, 30, 8, 0x70);
    int32_t selection = 0;
    d.AddRadioButton(1, 1, 2, &selection, 0, "Zero");
    d.AddRadioButton(1, 2, 0, &selection, 1, "One");
    d.AddRadioButton(1, 3, 0, &selection, 2, "Two");
    EXPECT_EQ(CharAt(3, 2), U'\u2022');
    Key(KEY_DOWN);
    Key(KEY_DOWN);
    Key(KEY_DOWN);  // wraps within the group
    Key(KEY_DOWN);
    Key(KEY_ENTER);
    EXPECT_EQ(d.Run(), KEY_ENTER);
    EXPECT_EQ(selection, 1);
    EXPECT_EQ(Row(2, 2, 8), u8"( ) Zero");
    EXPECT_EQ(Row(3, 2, 8), u8"(•) One ");
    EXPECT_EQ(Row(4, 2, 8), u8"( ) Two ");
}

// Exit codes: what a sequence of events ends a dialog with. The dialog spans
// columns 20 to 59 and rows 5 to 14 (client origin 21, 6).
struct TExitCase {
    const char* what;
    std::vector<std::vector<int>> events;  // {host kind, code, shift, x, y, character}
    int expected;
};

TEST_F(DialogTest, ExitCodes) {
    const TExitCase cases[] = {
        {"Esc", {{0, 27, 0, 0, 0, 27}}, 27},
        {"Enter without buttons", {{0, 13, 0, 0, 0, 13}}, 13},
        {"Enter with buttons: the first one", {{0, 13, 0, 0, 0, 13}}, 'Y'},
        {"press and release outside", {{1, 1, 0, 2, 2, 0}, {2, 1, 0, 2, 2, 0}}, 27},
        {"a release outside alone does nothing", {{2, 1, 0, 2, 2, 0}, {0, 13, 0, 0, 0, 13}}, 'Y'},
        {"press inside, release outside", {{1, 1, 0, 21, 7, 0}, {2, 1, 0, 2, 2, 0}, {0, 13, 0, 0, 0, 13}}, 'Y'},
        {"a lower-case key reaches the button of its upper case", {{0, 'n', 0, 0, 0, 'n'}}, 'N'},
        {"Alt and a hot letter", {{0, KeyAltLetter('l'), ALT, 0, 0, 'l'}}, 1000},
        {"a click on a button", {{1, 1, 0, 31, 12, 0}, {2, 1, 0, 31, 12, 0}}, 'N'},
        {"the second button's release", {{1, 2, 0, 30, 8, 0}, {2, 2, 0, 30, 8, 0}}, 'Y'},
        {"an exit key", {{0, KEY_F1 + 1, 0, 0, 0, 0}}, KEY_F1 + 1},
        // Last: a closed input stays closed for every later dialog.
        {"a closed input", {{6, 0, 0, 0, 0, 0}}, 27},
    };
    int n = 0;
    for (const TExitCase& c : cases) {
        Dialog d(20, 5, 59, 14, 0x70);
        uint8_t flag = 0;
        if (n != 1) {  // the second case has no buttons
            d.AddPushButton(1, 6, 1, 'Y', "_Yes");
            d.AddPushButton(10, 6, 0, 'N', "_No");
            d.AddPushButton(20, 6, 0, 1000, "_Later");
            d.AddExitKey(KEY_F1 + 1);
        } else {
            d.AddCheckBox(1, 1, 1, &flag, "Flag", 1);
        }
        for (const auto& e : c.events) {
            Feed(qvtest::Event({e[0], e[1], e[2], e[3], e[4], e[5]}));
        }
        EXPECT_EQ(d.Run(), c.expected) << c.what;
        ++n;
    }
}

TEST_F(DialogTest, EmptyDialogEndsOnEscAndClosedInputEndsAMenu) {
    {
        Dialog d(-1, -2, 20, 5, 0x70);
        Key(KEY_ESC);
        EXPECT_EQ(d.Run(), KEY_ESC);
    }
    {
        Dialog d(-1, -2, 20, 8, 0x70);
        WestringStore items;
        items.Add(new Westring("one"));
        int32_t selection = 0;
        d.AddListBoxWestring(0, 0, 1, 10, 4, items, &selection, -1);
        Feed(qvtest::Event({6, 0, 0, 0, 0, 0}));
        EXPECT_EQ(d.Run(), KEY_ESC);
    }
}

TEST_F(DialogTest, TimeOutOfZeroEndsWithZeroWhenNothingWaits) {
    Dialog d(-1, -2, 20, 5, 0x70);
    d.AddPushButton(1, 1, 1, 13, "_OK");
    EXPECT_EQ(d.RunWithTimeout(0), 0);
    Key(KEY_ENTER);
    EXPECT_EQ(d.RunWithTimeout(-1), KEY_ENTER);
}

TEST_F(DialogTest, TheElementTableRefusesElementsBeyondItsBound) {
    Dialog d(0, 0, 79, 24, 0x70);
    for (int i = 0; i < Dialog::MaxElements; ++i) {
        EXPECT_EQ(d.AddStaticText(0, 0, "x", 0), i);
    }
    EXPECT_EQ(d.AddPushButton(0, 1, 1, 'Q', "_Quit"), -1);
    EXPECT_EQ(d.AddExitKey(KEY_ESC), -1);
    EXPECT_EQ(d.Count(), Dialog::MaxElements);
    char letters[150];
    for (int i = 0; i < 150; ++i) {
        letters[i] = static_cast<char>('a' + i % 26);
    }
    d.SetHotKeys(letters, 150);  // copies at most the table
    EXPECT_EQ(d.HotLetter(5), 'f');
}

TEST_F(DialogTest, DefaultButtonShowsItsBracketsAndAnswersEnter) {
    Dialog d(0, 0, 40, 6, 0x70);
    uint8_t flag = 0;
    d.AddCheckBox(1, 1, 1, &flag, "Flag", 1);
    int ok = d.AddPushButton(1, 3, 1, 'K', "O_K");
    int other = d.AddPushButton(10, 3, 0, 'T', "O_ther");
    EXPECT_EQ(d.DefaultCode(), 'K');
    EXPECT_EQ(Row(4, 2, 7), "[ OK ] ");
    uint8_t hot = AttrAt(2, 4);
    EXPECT_NE(hot, 0x70);
    EXPECT_EQ(AttrAt(5, 4), hot);  // the hot letter K
    EXPECT_EQ(AttrAt(4, 4), 0x70);
    EXPECT_EQ(ok, 1);
    d.SetDefaultButton(other);
    EXPECT_EQ(d.DefaultCode(), 'T');
    EXPECT_EQ(AttrAt(2, 4), 0x70);
    d.SetDefaultButton(0);  // not a button: nothing
    EXPECT_EQ(d.DefaultCode(), 'T');
    Key(KEY_ENTER);
    EXPECT_EQ(d.Run(), 'T');
}

TEST_F(DialogTest, CheckBoxesKeysLabelsAndThreeStates) {
    Dialog d(0, 0, 60, 10, 0x70);
    uint8_t before = 0;
    uint8_t three = 0;
    d.AddCheckBox(20, 1, 1, &before, "Before", 0);
    d.AddCheckBox3S(1, 3, 1, &three, "_Three", 1);
    EXPECT_EQ(Row(2, 13, 12), "Before  [ ] ");
    // A click on the label's first column toggles the box.
    Click(13, 2);
    Key(KEY_DELETE);
    Key(KEY_INSERT);
    Key(KEY_TAB);
    Key(' ');
    Key(KEY_ESC);
    d.Run();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(three, 1);
    EXPECT_EQ(Row(4, 2, 3), u8"[·]");

    const uint8_t cycle[] = {2, 0, 1};
    for (uint8_t expected : cycle) {
        Key(' ');
        Key(KEY_ESC);
        d.Run();
        EXPECT_EQ(three, expected);
    }
    Key(KEY_DELETE);  // leaves a three-state box alone
    Key(KeyAltLetter('t'), 't', ALT);
    Key(KEY_ESC);
    d.Run();
    EXPECT_EQ(three, 2);
    EXPECT_EQ(Row(4, 2, 3), "[X]");
}

TEST_F(DialogTest, SendEventReachesAnElementWhileTheDialogRuns) {
    Dialog d(-1, -2, 30, 10, 0x70);
    WestringStore items;
    for (const char* s : {"a", "b", "c"}) {
        items.Add(new Westring(s));
    }
    int32_t selection = 2;
    int list = d.AddListBoxWestring(0, 0, 1, 20, 5, items, &selection, 0);
    items.Add(new Westring("d"));
    std::thread worker([&] {
        TDialogEvent count = {};
        count.kind = TDialogEvent::KindListCount;
        count.key = items.Count();
        d.SendEvent(list, count);
        TDialogEvent row = {};
        row.kind = TDialogEvent::KindListRow;
        EXPECT_TRUE(d.SendEvent(list, row));
        EXPECT_EQ(row.key, 2);
        Key(KEY_END);
        Key(KEY_ENTER);
    });
    EXPECT_EQ(d.Run(), KEY_ENTER);
    worker.join();
    EXPECT_EQ(selection, 3);
    TDialogEvent nothing = {};
    EXPECT_FALSE(d.SendEvent(99, nothing));
}

}  // namespace
