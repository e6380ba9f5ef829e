// What the end-to-end tests of the file commands do on the left panel: find
// the cursor name, move the cursor to a name by the quick search, tag names
// and wait until the screen shows each step done.
#pragma once

#include <cctype>
#include <string>

#include "app/settings/Colours.h"
#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace qvtest {

class PanelStepsTest : public ProgramTest {
protected:
    static const int ShiftAlt = 1;

    // The name under the left panel's cursor bar (first 12 columns).
    static std::string LeftCursorName(const ScreenModel& screen) {
        const int bars[] = {DefaultColours[ColourHighlight], DefaultColours[ColourHighlightTagged],
                            DefaultColours[ColourDirectoryHigh]};
        for (int y = 1; y < screen.Rows() - 5; y++) {
            const int attribute = screen.RowAttributes(y, 1, 1)[0];
            for (int bar : bars) {
                if (attribute == bar) {
                    std::string name = screen.RowText(y, 1, 12);
                    name.erase(name.find_last_not_of(' ') + 1);
                    return name;
                }
            }
        }
        return "";
    }

    static bool LeftTagged(const ScreenModel& screen, const std::string& name) {
        const int tagged[] = {DefaultColours[ColourTagged], DefaultColours[ColourHighlightTagged]};
        for (int y = 1; y < screen.Rows() - 5; y++) {
            std::string text = screen.RowText(y, 1, 12);
            text.erase(text.find_last_not_of(' ') + 1);
            if (text != name) {
                continue;
            }
            const int attribute = screen.RowAttributes(y, 1, 1)[0];
            return attribute == tagged[0] || attribute == tagged[1];
        }
        return false;
    }

    // The left panel's cursor onto a name (at most 12 characters) by the
    // quick search; its leading letters must tell it from the other names.
    void GoTo(const std::string& name) {
        ASSERT_TRUE(host->WaitForText(name)) << host->ScreenText();
        host->SendKey(KEY_HOME);
        host->WaitQuiet();
        for (char c : name) {
            char lower = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            if (lower < 'a' || lower > 'z') {
                break;
            }
            host->SendKey(KeyAltLetter(lower), c, ShiftAlt);
            host->WaitQuiet();
            if (LeftCursorName(host->Snapshot()) == name) {
                return;
            }
        }
        ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) { return LeftCursorName(s) == name; }))
            << host->ScreenText();
    }

    // Tags a name and waits until the panel shows it tagged.
    void Tag(const std::string& name) {
        GoTo(name);
        host->SendKey(KEY_INSERT);
        ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) { return LeftTagged(s, name); })) << host->ScreenText();
    }

    // Waits for a dialog's text, then sends a key (a letter as itself).
    void Press(const std::string& shown, int key, char letter = 0) {
        ASSERT_TRUE(Shows(shown)) << host->ScreenText();
        host->SendKey(key, letter, 0);
    }

    // The command ended: its text went and the key bar is back.
    void Settle(const std::string& gone) {
        ASSERT_TRUE(Gone(gone)) << host->ScreenText();
        ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    }
};

}  // namespace qvtest
