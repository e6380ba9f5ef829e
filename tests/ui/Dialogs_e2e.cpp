// Dialogs on a real screen: a small probe program runs one dialog under the
// scripted host and reports its state on the top row after every event.
#include <gtest/gtest.h>

#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScriptedHost;

// Histories go to the data folder of the test's own.
class DialogsE2E : public qvtest::ProgramTest {
protected:
    void Start(const std::string& what) {
        Launch(ProbeOptions("qv_ui_probe", {what}));
        ASSERT_TRUE(host->Started());
    }
    // Waits for the top row to read exactly the state.
    bool State(const std::string& state) {
        return host->WaitFor(
            [&](const qvhost::ScreenModel& s) {
                return s.RowText(0).rfind(state, 0) == 0 &&
                       s.RowText(0).find_first_not_of(' ', state.size()) == std::string::npos;
            },
            WaitMs);
    }
    bool Result(const std::string& result) {
        return host->WaitFor([&](const qvhost::ScreenModel& s) { return s.RowText(1).rfind(result, 0) == 0; }, WaitMs);
    }
    // The dialog ended with the result line; a key then ends the probe with
    // the dialog's exit code.
    void ExpectEnd(const std::string& result, int code) {
        ASSERT_TRUE(Result(result)) << host->ScreenText();
        host->SendKey(' ', ' ');
        EXPECT_EQ(host->WaitExit(), code);
    }
};

const int ALT = 1;

TEST_F(DialogsE2E, TabAndHotLettersMoveTheFocus) {
    Start("focus");
    ASSERT_TRUE(host->WaitForText("[ OK ]")) << host->ScreenText();
    host->SendKey(KEY_TAB, KEY_TAB);
    ASSERT_TRUE(State("focus=1 verbose=0 speed=1")) << host->ScreenText();
    host->SendKey(KEY_TAB, KEY_TAB);  // into the radio group at its selected button
    ASSERT_TRUE(State("focus=3 verbose=0 speed=1")) << host->ScreenText();
    host->SendKey(KeyAltLetter('v'), 'v', ALT);  // Alt+V: the check box, toggled
    ASSERT_TRUE(State("focus=1 verbose=1 speed=1")) << host->ScreenText();
    host->SendKey(KeyAltLetter('f'), 'f', ALT);  // Alt+F: selects Fast
    ASSERT_TRUE(State("focus=2 verbose=1 speed=0")) << host->ScreenText();
    host->SendKey(KEY_SHIFT_TAB, 0, 4);
    ASSERT_TRUE(State("focus=1 verbose=1 speed=0")) << host->ScreenText();
    host->SendKey(KEY_ESC, KEY_ESC);
    ExpectEnd("result=27", 27);
}

TEST_F(DialogsE2E, AClickOutsideEndsTheDialogWith27) {
    Start("focus");
    ASSERT_TRUE(host->WaitForText("[ OK ]")) << host->ScreenText();
    host->Click(2, 22);
    ExpectEnd("result=27", 27);
}

TEST_F(DialogsE2E, FieldTypingSelectionPasteAndHistory) {
    Start("field");
    ASSERT_TRUE(host->WaitForText("hello")) << host->ScreenText();
    host->SendText("x");  // the first character replaces the text
    ASSERT_TRUE(State("text=[x] sel=1,1")) << host->ScreenText();
    host->SendKey(KEY_CTRL_V, KEY_CTRL_V, SHIFT_CTRL);
    ASSERT_TRUE(State("text=[xpasted] sel=7,7")) << host->ScreenText();
    host->SendKey(KEY_HOME + KEY_SHIFTED, 0, 4);
    ASSERT_TRUE(State("text=[xpasted] sel=0,7")) << host->ScreenText();
    host->SendText("y");  // replaces the selection
    ASSERT_TRUE(State("text=[y] sel=1,1")) << host->ScreenText();
    host->SendKey(KEY_ALT_DOWN, 0, ALT);  // Alt+Down: the history
    ASSERT_TRUE(host->WaitForText("alpha")) << host->ScreenText();
    host->SendKey(KEY_UP);
    host->SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(State("text=[alpha] sel=5,5")) << host->ScreenText();
    host->SendKey(KEY_ENTER, KEY_ENTER);
    // The field's text is the newest entry of its history now.
    ExpectEnd("result=13 newest=[alpha] count=2", 13);
}

TEST_F(DialogsE2E, EscLeavesTheHistoryAlone) {
    Start("field");
    ASSERT_TRUE(host->WaitForText("hello")) << host->ScreenText();
    host->SendText("new");
    ASSERT_TRUE(State("text=[new] sel=3,3")) << host->ScreenText();
    host->SendKey(KEY_ESC, KEY_ESC);
    ExpectEnd("result=27 newest=[beta] count=2", 27);
}

TEST_F(DialogsE2E, IncrementalSearchInAList) {
    Start("list");
    ASSERT_TRUE(host->WaitForText("apple")) << host->ScreenText();
    host->SendText("d");
    ASSERT_TRUE(State("sel=1")) << host->ScreenText();
    host->SendText("o");
    ASSERT_TRUE(State("sel=1")) << host->ScreenText();
    host->SendText("o");
    ASSERT_TRUE(State("sel=2")) << host->ScreenText();
    host->SendKey(KEY_ENTER, KEY_ENTER);
    ExpectEnd("result=13", 13);
}

}  // namespace
