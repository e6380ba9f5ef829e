// The path editor on a console on pipes: keys queued before it runs, the
// list looked at when it has ended.
#include "app/program/PathEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/UiConsole.h"

namespace {

const int KeyAltA = KeyAltLetter('a');
const int ShiftAlt = 1;

class PathEditorTest : public qvtest::UiConsole {
protected:
    // A step: a key (with Alt for the extended Alt keys) or a text typed.
    struct TStep {
        int key;
        const char* text;
    };
    std::string EditList(const std::string& list, const std::vector<TStep>& steps, bool& changed) {
        for (const TStep& step : steps) {
            if (step.text) {
                Type(step.text);
            } else if (step.key == KeyAltA) {
                Key(KeyAltA, 'a', ShiftAlt);
            } else if (step.key == KEY_ALT_UP || step.key == KEY_ALT_DOWN) {
                Key(step.key, 0, ShiftAlt);
            } else {
                Key(step.key, step.key == KEY_ENTER || step.key == KEY_ESC ? step.key : 0);
            }
        }
        Westring text(list.c_str());
        CPathEditor editor(" Path Append ");
        changed = editor.Edit(text);
        Estring utf8;
        text.ToUtf8(utf8);
        return utf8.Data();
    }
};

TEST_F(PathEditorTest, KeysEditTheLines) {
    const struct {
        const char* what;
        const char* before;
        std::vector<TStep> steps;
        bool changed;
        const char* after;
    } cases[] = {
        {"Enter drops empty entries", "c:\\bin;;d:\\tools", {{KEY_ENTER, nullptr}}, true, "c:\\bin;d:\\tools"},
        {"two appended lines",
         "",
         {{KeyAltA, nullptr},
          {0, "c:\\bin"},
          {KEY_ENTER, nullptr},
          {KeyAltA, nullptr},
          {0, "d:\\tools"},
          {KEY_ENTER, nullptr},
          {KEY_ENTER, nullptr}},
         true,
         "c:\\bin;d:\\tools"},
        {"Insert before the selected line",
         "b;c",
         {{KEY_DOWN, nullptr}, {KEY_INSERT, nullptr}, {0, "x"}, {KEY_ENTER, nullptr}, {KEY_ENTER, nullptr}},
         true,
         "b;x;c"},
        {"Insert into an empty list",
         "",
         {{KEY_INSERT, nullptr}, {0, "x"}, {KEY_ENTER, nullptr}, {KEY_ENTER, nullptr}},
         true,
         "x"},
        {"Alt+Down moves a line",
         "a;b;c",
         {{KEY_ALT_DOWN, nullptr}, {KEY_ALT_DOWN, nullptr}, {KEY_ENTER, nullptr}},
         true,
         "b;c;a"},
        {"Alt+Up on the first line does nothing", "a;b", {{KEY_ALT_UP, nullptr}, {KEY_ENTER, nullptr}}, true, "a;b"},
        {"Alt+Down on the last line does nothing",
         "a;b",
         {{KEY_DOWN, nullptr}, {KEY_ALT_DOWN, nullptr}, {KEY_ENTER, nullptr}},
         true,
         "a;b"},
        {"Delete the last line keeps the selection in the list",
         "a;b;c",
         {{KEY_END, nullptr}, {KEY_DELETE, nullptr}, {KEY_DELETE, nullptr}, {KEY_ENTER, nullptr}},
         true,
         "a"},
        {"F4 edits the selected line",
         "a;b",
         {{KEY_DOWN, nullptr}, {KEY_F4, nullptr}, {0, "z"}, {KEY_ENTER, nullptr}, {KEY_ENTER, nullptr}},
         true,
         "a;z"},
        {"Esc in a line puts its text back",
         "a;b",
         {{KEY_F4, nullptr}, {0, "zz"}, {KEY_ESC, nullptr}, {KEY_ENTER, nullptr}},
         true,
         "a;b"},
        {"nothing happens on an empty list",
         "",
         {{KEY_DELETE, nullptr},
          {KEY_F4, nullptr},
          {KEY_ALT_UP, nullptr},
          {KEY_ALT_DOWN, nullptr},
          {KEY_ENTER, nullptr}},
         true,
         ""},
        {"Esc keeps the list as it was",
         "a;;b",
         {{KEY_DELETE, nullptr}, {KeyAltA, nullptr}, {0, "q"}, {KEY_ENTER, nullptr}, {KEY_ESC, nullptr}},
         false,
         "a;;b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool changed = false;
        EXPECT_EQ(EditList(c.before, c.steps, changed), c.after);
        EXPECT_EQ(changed, c.changed);
    }
}

}  // namespace
