// The program's hooks of the terminal emulator: rows that a child's output
// scrolls off go to the program's scroll-back when "ConsoleScrollback" is on,
// and output starts in the "Command Line" colour.
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/program/MainLoop.h"
#include "console/TerminalEmulator.h"
#include "tests/ui/UiConsole.h"
#include "ui/ScrollBack.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TerminalHooksTest : public qvtest::UiConsole {
protected:
    void TearDown() override {
        ScrollBackBuffer.FreeAll();
        ResetColours();
        Config.ConsoleScrollback = 0;
        TerminalHooks = TTerminalHooks{};
        UiConsole::TearDown();
    }
};

std::string RowText(const CellString& cells, int n) {
    std::string text;
    for (int i = 0; i < n && i < cells.Length(); ++i) {
        text += static_cast<char>(cells.Data()[i].character);
    }
    return text;
}

TEST_F(TerminalHooksTest, ScrolledRowsReachTheScrollBackInTheCommandLineColour) {
    InstallTerminalHooks();
    Config.Colours[ColourCommandLine] = 0x1E;
    for (int on = 0; on <= 1; ++on) {
        SCOPED_TRACE(on);
        Config.ConsoleScrollback = static_cast<uint8_t>(on);
        ScrollBackBuffer.FreeAll();
        Console->FillRect(0, 0, 80, 25, 0x07);
        Console->SetCursorPos(0, 0);
        TerminalEmulator emulator(*Console, 0);
        const std::string bytes = "first\r\nsecond\r\nthird\x1b[2;3r\x1b[3;1H\n";
        emulator.Write(bytes.data(), static_cast<int>(bytes.size()));
        CellString cells;
        Console->CopyRect(cells, 0, 0, 80, 1);
        EXPECT_EQ(cells.Data()[0].attribute, 0x1E);
        if (on) {
            ASSERT_EQ(ScrollBackBuffer.Count(), 1);
            CellString row;
            ScrollBackBuffer.Line(0, row);
            EXPECT_EQ(RowText(row, 7), "second ");
            EXPECT_EQ(row.Data()[0].attribute, 0x1E);
        } else {
            EXPECT_EQ(ScrollBackBuffer.Count(), 0);
        }
    }
}

}  // namespace
