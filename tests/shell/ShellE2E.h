// The fixture of the shell's end-to-end tests: the program with "PauseAfterRun"
// on, typed commands, and the pause after a waited program. The Linux build
// hands command lines to the POSIX shell, the Windows build to cmd: a test
// writes each behaviour once and takes the command text of its leg from Leg().
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProgramTest.h"

namespace qvtest {

class ShellE2E : public ProgramTest {
protected:
    static constexpr const char* Pause = "Press any key to continue";

public:
    // The command text for the leg's interpreter.
    static std::string Leg(const std::string& posix, const std::string& cmd) { return OnWindowsLeg() ? cmd : posix; }
    // Wine 8 attaches a child to the pseudo console without opening the
    // console's standard handles for it (its console setup only connects;
    // Windows gives a console program started with null ones the console's),
    // so what the child prints to them goes nowhere. On the Windows leg a
    // command whose output the test reads on the screen names the console
    // itself: this follows such a command, after a blank ("!>" would be a
    // macro).
    static std::string ToScreen() { return Leg("", " >CONOUT$"); }
    // A command that writes the word to the file (a path as the program's
    // commands name it), and what the file then holds: cmd's echo ends the
    // line with CR LF, printf writes the word alone.
    static std::string WriteWord(const std::string& word, const std::string& file) {
        return Leg("printf " + word + " > " + file, "echo " + word + "> " + file);
    }
    static std::string Written(const std::string& word) { return Leg(word, word + "\r\n"); }
    // The command that copies the file of the macro "!" to the file.
    static std::string CopyCursorFile(const std::string& file) { return Leg("cp ! ", "copy ! ") + file; }
    // The word split so that the typed command line does not show it, while the
    // interpreter's echo of it does: sh drops the empty quotes, cmd the caret.
    static std::string Hidden(const std::string& word) { return word.substr(0, 2) + Leg("\"\"", "^") + word.substr(2); }

protected:
    // More ini text may follow the general options (sections of its own).
    void StartPausing(const std::string& moreIni = "") { Start("PauseAfterRun=on\r\n" + moreIni); }
    // Types a command and Enter.
    void Type(const std::string& command) {
        host->SendText(command);
        host->PressKey("Enter");
    }
    // After a waited program: the pause line, then a key brings the panels back.
    // The pause waits for the child's end, which under wine with other
    // programs running beside it can take its console several seconds to
    // report, so the wait for it is longer than for a screen.
    ::testing::AssertionResult Continue() {
        if (!Shows(Pause, 4 * WaitMs)) {
            return ::testing::AssertionFailure() << "no pause line:\n" << host->ScreenText();
        }
        host->SendText("x");
        if (!Gone(Pause) || !KeyBarShown()) {
            return ::testing::AssertionFailure() << "the panels did not come back:\n" << host->ScreenText();
        }
        return ::testing::AssertionSuccess();
    }
};

}  // namespace qvtest
