// Enter and F3 on files with associations: one command runs at once, several
// are offered in a list, Escape runs nothing.
#include <gtest/gtest.h>

#include <string>

#include "tests/shell/ShellE2E.h"

namespace qvtest {
namespace {

class AssociationsE2E : public ShellE2E {};

const char Chooser[] = " Choose command ";

// The commands' words are hidden from the echoed command line.
std::string Sections() {
    const std::string lines[] = {"[Associations]",
                                 "*.txt:: echo " + ShellE2E::Hidden("first") + " !" + ShellE2E::ToScreen(),
                                 "*.txt:: echo " + ShellE2E::Hidden("second") + " !" + ShellE2E::ToScreen(),
                                 "*: echo " + ShellE2E::Hidden("plain") + " !" + ShellE2E::ToScreen(),
                                 "[Viewer Associations]",
                                 "*.log: " + ShellE2E::CopyCursorFile("viewed.txt")};
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

TEST_F(AssociationsE2E, EnterOffersTheContinuedCommandsAndRunsTheChosenOne) {
    Write("work/a.txt", "a");
    Write("work/b.dat", "b");
    StartPausing(Sections());
    host->PressKey("Down");  // a.txt, below ".."
    host->PressKey("Enter");
    ASSERT_TRUE(Shows(Chooser)) << host->ScreenText();
    EXPECT_TRUE(Shows("echo " + Hidden("first") + " !"));
    EXPECT_TRUE(Shows("echo " + Hidden("second") + " !"));
    EXPECT_EQ(-1, RowOf(host->Snapshot(), "echo " + Hidden("plain") + " !")) << host->ScreenText();

    // Escape runs nothing: the list goes and the panels stay.
    host->PressKey("Esc");
    ASSERT_TRUE(Gone(Chooser)) << host->ScreenText();
    ASSERT_TRUE(KeyBarShown());

    host->PressKey("Enter");
    ASSERT_TRUE(Shows(Chooser)) << host->ScreenText();
    host->PressKey("Down");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("second a.txt")) << host->ScreenText();
    EXPECT_EQ(-1, RowOf(host->Snapshot(), "first a.txt")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    // Nothing ran after the Escape: the first run's output is the only one.
    EXPECT_EQ(-1, RowOf(host->Snapshot(), Pause));

    host->PressKey("Down");  // b.dat
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("plain b.dat")) << host->ScreenText();
    EXPECT_EQ(-1, RowOf(host->Snapshot(), Chooser));
    ASSERT_TRUE(Continue());
}

TEST_F(AssociationsE2E, AViewerAssociationRunsOnF3) {
    Write("work/app.log", "log");
    StartPausing(Sections());
    host->PressKey("Down");
    host->PressKey("F3");
    ASSERT_TRUE(Eventually([&] { return Read("work/viewed.txt") == "log"; })) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
