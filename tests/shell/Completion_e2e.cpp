// The completion key on the command line: a path word from its directory, a
// first word as a program of the panel's directory.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "tests/shell/ShellE2E.h"

namespace qvtest {
namespace {

class CompletionE2E : public ShellE2E {
protected:
    void Complete() { host->SendKey(0x10094, 0, 2); }  // Ctrl+Tab
    // The command line's text after the prompt.
    bool LineIs(const std::string& text) {
        return host->WaitFor([&](const ScreenModel& s) {
            std::string row = s.RowText(s.Rows() - 2);
            std::string want = "T:\\work>" + text;
            return row.compare(0, want.size(), want) == 0 &&
                   row.find_first_not_of(' ', want.size()) == std::string::npos;
        });
    }
    void ClearLine() {
        host->PressKey("Esc");
        ASSERT_TRUE(LineIs(""));
    }
};

TEST_F(CompletionE2E, PathsCompleteToTheNameOrTheCommonBeginning) {
    Write("work/alpha.txt", "a");
    Write("work/alpine.txt", "b");
    // A program by the system's rule: a batch file, or a file one may run.
    const std::string tool = Leg("mytool", "mytool.bat");
    Write("work/" + tool, Leg("#!/bin/sh\necho tool\n", "@echo tool\r\n"));
    ASSERT_EQ(0, chmod(PathOf("work/" + tool).c_str(), 0755));
    StartPausing();

    host->SendText("T:\\work\\alph");
    Complete();
    ASSERT_TRUE(LineIs("T:\\work\\alpha.txt ")) << host->ScreenText();
    // A blank follows a whole name, so typing goes on with the next word.
    host->SendText("x");
    ASSERT_TRUE(LineIs("T:\\work\\alpha.txt x")) << host->ScreenText();
    ClearLine();

    host->SendText("cat T:\\work\\al");
    Complete();
    ASSERT_TRUE(LineIs("cat T:\\work\\alp")) << host->ScreenText();
    ClearLine();

    host->SendText("myt");
    Complete();
    ASSERT_TRUE(LineIs(tool + " ")) << host->ScreenText();
}

TEST_F(CompletionE2E, DivergingNamesAreOfferedInAList) {
    Write("work/alpha.txt", "a");
    Write("work/alpine.txt", "b");
    StartPausing();
    host->SendText("cat T:\\work\\alp");
    Complete();
    // The list shows both names beside the two panels' own rows.
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) {
        std::string text;
        for (int row = 0; row < s.Rows(); row++) {
            text += s.RowText(row) + "\n";
        }
        int seen = 0;
        for (size_t at = text.find("alpine.txt"); at != std::string::npos; at = text.find("alpine.txt", at + 1)) {
            seen++;
        }
        return seen >= 3;
    })) << host->ScreenText();
    // The search begins with the typed letters: one more picks the name.
    host->SendText("i");
    host->PressKey("Enter");
    ASSERT_TRUE(LineIs("cat T:\\work\\alpine.txt ")) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
