// The message box, the progress windows and the help viewer on a real screen:
// a small probe program shows each one under the scripted host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ProgramTest.h"
#include "tests/support/TempDir.h"
#include "tests/ui/HelpFileBytes.h"

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

// The row that holds the text, -1 when none does.
int FindRow(const ScreenModel& screen, const std::string& text) {
    for (int y = 0; y < screen.Rows(); y++) {
        if (screen.RowText(y).find(text) != std::string::npos) {
            return y;
        }
    }
    return -1;
}

// The column (in cells) where the ASCII text starts on the row, -1 when absent.
int FindColumn(const ScreenModel& screen, int y, const std::string& text) {
    for (int x = 0; x + static_cast<int>(text.size()) <= screen.Columns(); x++) {
        bool same = true;
        for (size_t i = 0; i < text.size() && same; i++) {
            same = screen.At(x + static_cast<int>(i), y).ch == static_cast<char32_t>(text[i]);
        }
        if (same) {
            return x;
        }
    }
    return -1;
}

// The probe program under the scripted host.
class PromptsE2E : public qvtest::ProgramTest {
protected:
    ScriptedHost& Probe(const std::vector<std::string>& args) { return Launch(ProbeOptions("qv_prompts_probe", args)); }

    // The message box is drawn: its text, the buttons, and the focus on the
    // first button.
    static bool MessageBoxDrawn(ScriptedHost& host, const std::string& buttons) {
        return host.WaitFor([&](const ScreenModel& screen) {
            int row = FindRow(screen, buttons);
            return FindRow(screen, "Copy the file over the older one") >= 0 && row >= 0 &&
                   screen.At(FindColumn(screen, row, buttons), row).attr == 0x30;
        });
    }
};

struct TButtonSetCase {
    int flags;
    const char* row;        // the buttons as the row shows them
    uint8_t window;         // the box colour
    uint8_t hotLetter;      // the colour of the hot letter of an unfocused button
    const char* hotButton;  // that button, and the letter's offset in it
    int hotOffset;
    const char* key;  // the key that answers
    int answer;
};

TEST_F(PromptsE2E, MessageBoxButtonSetsLabelsAnswersAndColours) {
    const TButtonSetCase cases[] = {
        {16, "[ OK ]", 0x70, 0, nullptr, 0, "Enter", 'y'},
        {1, "[ OK ]  [ Cancel ]", 0x4F, 0, nullptr, 0, "Esc", 27},
        {18, "[ OK ]  [ Cancel ]  [ Skip ]  [ All ]  [ None ]", 0x70, 0x79, "[ Skip ]", 2, "s", 's'},
        {2, "[ OK ]  [ Cancel ]  [ Skip ]  [ All ]  [ None ]", 0x4F, 0x4E, "[ None ]", 5, "e", 'e'},
        {3, "[ Retry ]  [ Skip ]  [ Cancel ]", 0x4F, 0x4E, "[ Skip ]", 2, "s", 's'},
        {19, "[ Retry ]  [ Skip ]  [ Cancel ]", 0x70, 0, nullptr, 0, "Enter", 'r'},
        {4, "[ OK ]  [ Cancel ]  [ Skip ]  [ All ]  [ None ]  [ All Older ]", 0x4F, 0x4E, "[ All ]", 2, "a", 'a'},
        {20, "[ OK ]  [ Cancel ]  [ Skip ]  [ All ]  [ None ]  [ All Older ]", 0x70, 0x79, "[ All Older ]", 8, "d",
         'd'},
    };
    for (const TButtonSetCase& c : cases) {
        SCOPED_TRACE(c.flags);
        ScriptedHost& host = Probe({"msgbox", std::to_string(c.flags)});
        ASSERT_TRUE(MessageBoxDrawn(host, c.row)) << host.ScreenText();
        ScreenModel screen = host.Snapshot();
        int textRow = FindRow(screen, "Copy the file over the older one");
        ASSERT_GE(textRow, 0);
        // Text, path and buttons on consecutive rows, each centred in the box.
        EXPECT_EQ(textRow + 1, FindRow(screen, "C:\\Data\\Projects\\Quorvane\\notes.txt"));
        int buttonRow = FindRow(screen, c.row);
        EXPECT_EQ(textRow + 2, buttonRow);
        // A row holding exactly these buttons: one more would follow two blanks.
        int first = FindColumn(screen, buttonRow, c.row);
        int after = first + static_cast<int>(std::string(c.row).size());
        EXPECT_EQ(' ', screen.At(after + 2, buttonRow).ch) << host.ScreenText();
        // The box colour on the text; the first button has the focus, in the
        // field colour.
        EXPECT_EQ(c.window, screen.At(FindColumn(screen, textRow, "Copy"), textRow).attr);
        EXPECT_EQ(0x30, screen.At(first, buttonRow).attr);
        if (c.hotButton) {
            int x = FindColumn(screen, buttonRow, c.hotButton);
            EXPECT_EQ(c.window, screen.At(x, buttonRow).attr);
            EXPECT_EQ(c.hotLetter, screen.At(x + c.hotOffset, buttonRow).attr);
        }
        if (std::string(c.key).size() == 1) {
            host.SendText(c.key);
        } else {
            ASSERT_TRUE(host.PressKey(c.key));
        }
        EXPECT_EQ(c.answer, host.WaitExit());
    }
}

TEST_F(PromptsE2E, MessageBoxFrameIsInTheBoxColour) {
    ScriptedHost& host = Probe({"msgbox", "0"});
    ASSERT_TRUE(MessageBoxDrawn(host, "[ OK ]")) << host.ScreenText();
    ScreenModel screen = host.Snapshot();
    int textRow = FindRow(screen, "Copy the file");
    int left = -1;
    for (int x = 0; x < screen.Columns(); x++) {
        if (screen.At(x, textRow - 1).ch == 0x2554) {
            left = x;
            break;
        }
    }
    ASSERT_GE(left, 0) << host.ScreenText();
    EXPECT_EQ(0x4F, screen.At(left, textRow - 1).attr);
    EXPECT_EQ(0x2551u, screen.At(left, textRow).ch);
    // Five rows: frame, text, path, buttons, frame.
    EXPECT_EQ(0x255Au, screen.At(left, textRow + 3).ch);
    host.PressKey("Esc");
    EXPECT_EQ(27, host.WaitExit());
}

TEST_F(PromptsE2E, MessageBoxEndsWithEscWhenTheInputCloses) {
    ScriptedHost& host = Probe({"msgbox", "2"});
    ASSERT_TRUE(host.WaitForText("[ None ]"));
    host.CloseInput();
    EXPECT_EQ(27, host.WaitExit());
}

TEST_F(PromptsE2E, DirectoryProgressAppearsOnlyAfterTheOperationBegan) {
    ScriptedHost& host = Probe({"progress-dir"});
    bool begunWithoutWindow = false;
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& screen) {
        bool window = FindRow(screen, "Reading directory:") >= 0;
        if (!window && FindRow(screen, "begun") >= 0) {
            begunWithoutWindow = true;
        }
        return window;
    })) << host.ScreenText();
    EXPECT_TRUE(begunWithoutWindow);
    ASSERT_TRUE(host.WaitForText("Files: 5")) << host.ScreenText();

    // The spinner after the title turns while the window lives.
    ScreenModel screen = host.Snapshot();
    int row = FindRow(screen, "Reading directory:");
    int spinnerX = FindColumn(screen, row, "Reading directory:") + 19;
    char32_t spinner = screen.At(spinnerX, row).ch;
    EXPECT_NE(std::u32string::npos, std::u32string(U"-\\|/").find(spinner));
    EXPECT_TRUE(host.WaitFor([&](const ScreenModel& now) { return now.At(spinnerX, row).ch != spinner; }));

    host.SendText("x");
    EXPECT_TRUE(host.WaitForText("Files: 1,234")) << host.ScreenText();
    host.SendText("x");
    ASSERT_TRUE(host.WaitForText("ended"));
    EXPECT_EQ(-1, FindRow(host.Snapshot(), "Reading directory:"));
    host.SendText("x");
    EXPECT_EQ(0, host.WaitExit());
}

TEST_F(PromptsE2E, QuickOperationShowsNoProgressWindow) {
    ScriptedHost& host = Probe({"progress-quick"});
    bool windowSeen = false;
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& screen) {
        windowSeen = windowSeen || FindRow(screen, "Quick scan:") >= 0;
        return FindRow(screen, "ended") >= 0;
    }));
    host.WaitQuiet();
    EXPECT_FALSE(windowSeen);
    EXPECT_EQ(-1, FindRow(host.Snapshot(), "Quick scan:"));
    host.SendText("x");
    EXPECT_EQ(0, host.WaitExit());
}

TEST_F(PromptsE2E, FileProgressBarShowsTheRatio) {
    ScriptedHost& host = Probe({"progress-file"});
    std::string half;
    for (int i = 0; i < 18; i++) {
        half += "\u2588";
    }
    for (int i = 0; i < 18; i++) {
        half += "\u2591";
    }
    ASSERT_TRUE(host.WaitForText(half)) << host.ScreenText();
    ScreenModel screen = host.Snapshot();
    EXPECT_EQ(FindRow(screen, "Reading file") + 2, FindRow(screen, half));
    host.SendText("x");
    EXPECT_EQ(0, host.WaitExit());
}

class HelpViewerE2E : public PromptsE2E {
protected:
    // Section 5 has 40 lines "Line 01" to "Line 40"; line 30 holds a needle.
    std::string WriteHelp() {
        qvtest::THelpSection page{5, {}};
        for (int i = 1; i <= 40; i++) {
            std::string line = std::string("Line ") + (i < 10 ? "0" : "") + std::to_string(i);
            if (i == 30) {
                line += " holds the Needle";
            }
            page.lines.push_back(line);
        }
        qvtest::WString path = folder->Join(qvtest::W("probe.qvh"));
        EXPECT_TRUE(qvtest::WriteFileBytes(path, qvtest::HelpFileBytes({
                                                     {0, {"Help index"}},
                                                     page,
                                                     {30000, {"No help on this topic"}},
                                                 })));
        // Named through the drive the fixture maps, which the program shares
        // on every system (the test's own C: is the Linux root).
        return "T:\\probe.qvh";
    }

    // The first text row of the viewer on an 80 x 25 screen, and its last.
    static constexpr int FirstRow = 3;
    static constexpr int LastRow = 20;
    static constexpr int MarkColumn = 76;
};

TEST_F(HelpViewerE2E, ScrollsWithMarksAndKeys) {
    ScriptedHost& host = Probe({"help", WriteHelp(), "5"});
    ASSERT_TRUE(host.WaitForText("Line 18")) << host.ScreenText();
    // The frame's titles and the scroll marks come with the text.
    host.WaitFor([](const ScreenModel& s) {
        return FindRow(s, " F7=Search  SF7=Search Again  Esc=Exit ") >= 0 && s.At(MarkColumn, LastRow).ch == 0x25BC;
    });
    ScreenModel screen = host.Snapshot();
    EXPECT_EQ(FirstRow, FindRow(screen, "Line 01"));
    EXPECT_EQ(LastRow, FindRow(screen, "Line 18"));
    EXPECT_EQ(FirstRow - 1, FindRow(screen, " Help "));
    EXPECT_EQ(FirstRow - 1, FindRow(screen, " Quorvane/W 2.50-dev "));
    EXPECT_EQ(LastRow + 1, FindRow(screen, " F7=Search  SF7=Search Again  Esc=Exit "));
    EXPECT_EQ(0x2551u, screen.At(MarkColumn, FirstRow).ch);
    EXPECT_EQ(0x25BCu, screen.At(MarkColumn, LastRow).ch);

    struct Step {
        const char* key;
        const char* top;  // the line on the first text row afterwards
        char32_t upMark;
        char32_t downMark;
    } steps[] = {
        {"Down", "Line 02", 0x25B2, 0x25BC}, {"PgDn", "Line 20", 0x25B2, 0x25BC},
        {"PgDn", "Line 38", 0x25B2, 0x2551},  // fewer lines than rows
        {"Up", "Line 37", 0x25B2, 0x2551},   {"Home", "Line 01", 0x2551, 0x25BC},
        {"End", "Line 23", 0x25B2, 0x2551},  // End fills the window
        {"PgUp", "Line 05", 0x25B2, 0x25BC}, {"PgUp", "Line 01", 0x2551, 0x25BC},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.key);
        ASSERT_TRUE(host.PressKey(step.key));
        ASSERT_TRUE(host.WaitFor([&](const ScreenModel& now) {
            return now.RowText(FirstRow).find(step.top) != std::string::npos &&
                   now.At(MarkColumn, FirstRow).ch == step.upMark && now.At(MarkColumn, LastRow).ch == step.downMark;
        })) << host.ScreenText();
    }
    ScreenModel end = host.Snapshot();
    EXPECT_EQ(std::string::npos, end.RowText(FirstRow + 1).find("Line 01"));

    host.PressKey("Esc");
    ASSERT_TRUE(host.WaitForText("closed"));
    EXPECT_EQ(-1, FindRow(host.Snapshot(), " Help "));
    host.SendText("x");
    EXPECT_EQ(0, host.WaitExit());
}

TEST_F(HelpViewerE2E, SearchesAndSaysWhenNothingIsFound) {
    ScriptedHost& host = Probe({"help", WriteHelp(), "5"});
    ASSERT_TRUE(host.WaitForText("Line 18"));
    host.PressKey("F7");
    ASSERT_TRUE(host.WaitForText("Search for:")) << host.ScreenText();
    host.SendText("needle");
    host.PressKey("Enter");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& now) {
        return now.RowText(FirstRow).find("Line 30 holds the Needle") != std::string::npos;
    })) << host.ScreenText();

    // Again, from the line after the top: nothing more, and the page stays.
    host.PressKey("Shift+F7");
    ASSERT_TRUE(host.WaitForText("String not found")) << host.ScreenText();
    host.PressKey("Enter");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& now) { return FindRow(now, "String not found") < 0; }));
    EXPECT_EQ(FirstRow, FindRow(host.Snapshot(), "Line 30 holds"));

    // A new search for text that is nowhere.
    host.PressKey("Home");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& now) { return FindRow(now, "Line 01") == FirstRow; }));
    host.PressKey("F7");
    ASSERT_TRUE(host.WaitForText("Search for:"));
    host.SendText("haystack");
    host.PressKey("Enter");
    ASSERT_TRUE(host.WaitForText("String not found")) << host.ScreenText();
    host.PressKey("Esc");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& now) { return FindRow(now, "String not found") < 0; }));
    EXPECT_EQ(FirstRow, FindRow(host.Snapshot(), "Line 01"));

    host.CloseInput();
    ASSERT_TRUE(host.WaitForText("closed"));
    EXPECT_EQ(0, host.WaitExit());
}

TEST_F(HelpViewerE2E, UnknownSectionShowsTheEndSectionAndF1TheIndex) {
    ScriptedHost& host = Probe({"help", WriteHelp(), "77"});
    ASSERT_TRUE(host.WaitForText("No help on this topic")) << host.ScreenText();
    host.PressKey("F1");
    ASSERT_TRUE(host.WaitForText("Help index"));
    host.PressKey("Esc");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& now) {
        return FindRow(now, "Help index") < 0 && FindRow(now, "No help on this topic") >= 0;
    })) << host.ScreenText();
    host.PressKey("Esc");
    ASSERT_TRUE(host.WaitForText("closed"));
    host.SendText("x");
    EXPECT_EQ(0, host.WaitExit());
}

TEST_F(PromptsE2E, HelpWithoutAFileSaysSo) {
    ScriptedHost& host = Probe({"help-none", "3"});
    ASSERT_TRUE(host.WaitForText("Help not loaded")) << host.ScreenText();
    host.PressKey("Enter");
    ASSERT_TRUE(host.WaitForText("closed"));
    host.SendText("x");
    EXPECT_EQ(0, host.WaitExit());
}

}  // namespace
