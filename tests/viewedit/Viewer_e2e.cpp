// The internal viewer in the real program under the scripted host: option -v
// and F3 on a panel, the status line and key bar, going to lines and offsets,
// hex rows, searching, wrapping, syntax colours, the walk over a panel's
// files, follow mode and the kept position.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/settings/Colours.h"
#include "host/ScriptedHost.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class ViewerEndToEndTest : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        MakeFolder("appdata/Quorvane");
    }

    ScriptedHost::Options Panels() const { return Options({"-l", "T:\\work", "-r", "T:\\work"}); }

    static bool WaitForViewer(ScriptedHost& host, const std::string& name) {
        return host.WaitFor([&](const ScreenModel& s) {
            return s.RowText(0).rfind("View: " + name, 0) == 0 &&
                   s.RowText(s.Rows() - 1).find("7Search") != std::string::npos;
        });
    }
    static bool WaitForRow(ScriptedHost& host, int y, const std::string& begins) {
        return host.WaitFor([&](const ScreenModel& s) { return s.RowText(y).rfind(begins, 0) == 0; });
    }
    static bool WaitForPanels(ScriptedHost& host) {
        return host.WaitFor([](const ScreenModel& s) {
            return s.RowText(s.Rows() - 1).find("10Quit") != std::string::npos &&
                   s.RowText(s.Rows() - 2).find(">") != std::string::npos;
        });
    }
    // Types into a dialog field and confirms.
    static void Answer(ScriptedHost& host, const std::string& text) {
        host.SendText(text);
        host.PressKey("Enter");
    }
};

TEST_F(ViewerEndToEndTest, StatusLineKeyBarAndGoingToLinesAndOffsets) {
    WriteAll(root + "/three.txt", "one\ntwo\nthree\n");
    ScriptedHost host(Options({"-v", "T:\\three.txt"}));
    ASSERT_TRUE(WaitForViewer(host, "T:\\three.txt")) << host.ScreenText();
    std::string status = host.RowText(0);
    EXPECT_EQ(status.substr(status.size() - 7), "100.00%") << status;
    std::string bar = host.RowText(24);
    for (const char* label : {"2UnWrap", "4Hex", "7Search", "8Home", "9End", "10Quit"})
        EXPECT_NE(bar.find(label), std::string::npos) << label << " in " << bar;
    EXPECT_EQ(host.RowText(1).substr(0, 3), "one");
    EXPECT_EQ(host.RowText(3).substr(0, 5), "three");

    host.PressKey("Alt+l");
    ASSERT_TRUE(host.WaitForText("Goto Line")) << host.ScreenText();
    Answer(host, "10");
    ASSERT_TRUE(host.WaitForText("Only 3 lines in this file")) << host.ScreenText();
    host.PressKey("Enter");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.Dump().find("Only 3") == std::string::npos; }));

    host.PressKey("Alt+l");
    ASSERT_TRUE(host.WaitForText("Goto Line"));
    Answer(host, "2");
    ASSERT_TRUE(WaitForRow(host, 1, "two")) << host.ScreenText();

    host.PressKey("Alt+o");
    ASSERT_TRUE(host.WaitForText("Goto Offset")) << host.ScreenText();
    Answer(host, "99");
    ASSERT_TRUE(host.WaitForText("Only 14 bytes in this file")) << host.ScreenText();
    host.PressKey("Enter");

    // Offset 9 is the "h" of "three": it is shown highlighted, with the lines
    // above it kept on the screen (digits end at the first other character).
    host.PressKey("Alt+o");
    ASSERT_TRUE(host.WaitForText("Goto Offset"));
    Answer(host, "9g");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) {
        std::vector<uint8_t> a = s.RowAttributes(3);
        return s.RowText(3).rfind("three", 0) == 0 && a[1] != a[0] && a[2] == a[0];
    })) << host.Dump();
    EXPECT_TRUE(WaitForRow(host, 1, "one"));

    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(ViewerEndToEndTest, HexRowsWriteControlBytesAsGlyphs) {
    WriteAll(root + "/bytes.bin", std::string(16, 'x') + std::string("A\0B\nC", 5));
    ScriptedHost host(Options({"-v", "T:\\bytes.bin"}));
    ASSERT_TRUE(WaitForViewer(host, "T:\\bytes.bin")) << host.ScreenText();
    host.PressKey("F4");
    ASSERT_TRUE(WaitForRow(host, 2, "00000010 41 00 42 0A \u2502 43")) << host.ScreenText();
    EXPECT_EQ(host.Snapshot().RowText(2, 64, 5), "A.B\u25D9C");
    EXPECT_EQ(host.Snapshot().RowText(1, 64, 16), std::string(16, 'x'));
    EXPECT_EQ(host.RowText(3).find_first_not_of(' '), std::string::npos);
    EXPECT_NE(host.RowText(24).find("4ASCII"), std::string::npos) << host.RowText(24);
    host.PressKey("F4");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(24).find("4Hex") != std::string::npos; }));
    host.PressKey("F10");
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(ViewerEndToEndTest, SearchHighlightsMatchesAgainWholeWordsAndReportsMisses) {
    WriteAll(root + "/foo.txt", "foo_foo foo\n");
    ScriptedHost host(Options({"-v", "T:\\foo.txt"}));
    ASSERT_TRUE(WaitForViewer(host, "T:\\foo.txt")) << host.ScreenText();
    const uint8_t plain = host.RowAttributes(1)[0];
    auto highlighted = [&](const ScreenModel& s, int from) {
        std::vector<uint8_t> attributes = s.RowAttributes(1);
        for (int i = 0; i < 11; i++) {
            bool in = i >= from && i < from + 3;
            if ((attributes[i] != plain) != in)
                return false;
        }
        return true;
    };

    host.PressKey("F7");
    ASSERT_TRUE(host.WaitForText("Search for:")) << host.ScreenText();
    Answer(host, "foo");
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) { return highlighted(s, 0); })) << host.Dump();
    host.PressKey("Shift+F7");
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) { return highlighted(s, 4); })) << host.Dump();

    host.PressKey("F7");
    ASSERT_TRUE(host.WaitForText("Whole Word"));
    host.PressKey("Alt+w");
    host.PressKey("Enter");
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) { return highlighted(s, 8); })) << host.Dump();

    // Reverse, still whole words: back to the start has no other whole "foo".
    host.PressKey("Alt+F7");
    ASSERT_TRUE(host.WaitForText("String not found")) << host.ScreenText();
    host.PressKey("Enter");

    host.PressKey("F7");
    ASSERT_TRUE(host.WaitForText("Search for:"));
    for (int i = 0; i < 3; i++)
        host.PressKey("Backspace");
    Answer(host, "bar");
    ASSERT_TRUE(host.WaitForText("String not found")) << host.ScreenText();
    host.PressKey("Enter");
    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(ViewerEndToEndTest, UnwrappedLongLineEndsInAMarkAtTheLastColumn) {
    WriteAll(root + "/long.txt", std::string(100, 'a') + "\nshort\n");
    ScriptedHost host(Options({"-v", "T:\\long.txt"}));
    ASSERT_TRUE(WaitForViewer(host, "T:\\long.txt")) << host.ScreenText();
    // Wrapping is on at first: the line takes two rows.
    EXPECT_EQ(host.RowText(2).substr(0, 20), std::string(20, 'a'));
    host.PressKey("F2");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(2).rfind("short", 0) == 0; }))
        << host.ScreenText();
    EXPECT_EQ(host.Snapshot().RowText(1, 79, 1), "\u00BB");
    EXPECT_EQ(host.Snapshot().RowText(1, 0, 79), std::string(79, 'a'));
    EXPECT_NE(host.RowText(24).find("2Wrap"), std::string::npos);
    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);
}

// The user's own file wins over the one beside the program, which would
// colour "int" and "0" otherwise.
TEST_F(ViewerEndToEndTest, SyntaxColoursFromTheDataFolderAndAltHTurnsThemOff) {
    WriteAll(root + "/appdata/Quorvane/quorvanesyntax.ini", "[C:*.c]\r\nwords:yellow:int return\r\n");
    WriteAll(root + "/x.c", "int x; return 0;\n");
    ScriptedHost host(Options({"-v", "T:\\x.c"}));
    ASSERT_TRUE(WaitForViewer(host, "T:\\x.c")) << host.ScreenText();
    const uint8_t viewer = DefaultColours[ColourFileViewer];
    const uint8_t yellow = uint8_t(ParseColourSpec("yellow", viewer));
    std::vector<uint8_t> attributes = host.RowAttributes(1);
    const std::string expected = "YYY....YYYYYY...";
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_EQ(attributes[i], expected[i] == 'Y' ? yellow : viewer) << i;
    host.PressKey("Alt+h");
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) { return s.RowAttributes(1)[0] == viewer; }));
    attributes = host.RowAttributes(1);
    for (size_t i = 0; i < expected.size(); i++)
        EXPECT_EQ(attributes[i], viewer) << i;
    host.PressKey("Alt+h");
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) { return s.RowAttributes(1)[0] == yellow; }));
    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);
}

// No syntax file in the data folder: the one beside the program colours each
// language it knows, in the viewer and in the editor.
TEST_F(ViewerEndToEndTest, TheSyntaxFileBesideTheProgramColoursEachLanguage) {
    struct TSample {
        const char* name;
        const char* line;
        // K keyword, T type or code, B builtin, S string, C comment, N number
        // or variable, . the viewer's own colour.
        const char* colours;
    };
    const TSample samples[] = {
        {"a.c", "int x = 42; // note", "TTT.....NN..CCCCCCC"},
        {"b.sh", "echo \"$HOME\" # hi", "BBBB.SSSSSSS.CCCC"},
        {"c.py", "def f(): return 'a'", "KKK......KKKKKK.SSS"},
        {"d.ini", "[main] ; c", "KKKKKK.CCC"},
        {"e.md", "`code` text", "TTTTTT....."},
        {"f.qvs", "if (len(s) > 1) println(\"a\"); // c", "KK..BBB......N..BBBBBBB.SSS...CCCC"},
        {"Makefile", "all: $(CC) # x", ".....NNNNN.CCC"},
    };
    const uint8_t viewer = DefaultColours[ColourFileViewer];
    const std::map<char, uint8_t> attributes = {
        {'.', viewer},
        {'K', uint8_t(ParseColourSpec("bri whi", viewer))},
        {'T', uint8_t(ParseColourSpec("bri gre", viewer))},
        {'B', uint8_t(ParseColourSpec("cya", viewer))},
        {'S', uint8_t(ParseColourSpec("bri yel", viewer))},
        {'C', uint8_t(ParseColourSpec("whi", viewer))},
        {'N', uint8_t(ParseColourSpec("bri mag", viewer))},
    };
    for (const TSample& sample : samples)
        WriteAll(root + "/work/" + sample.name, std::string(sample.line) + "\n");
    auto coloured = [&](const ScreenModel& s, const TSample& sample) {
        std::vector<uint8_t> row = s.RowAttributes(1);
        const std::string colours = sample.colours;
        for (size_t i = 0; i < colours.size(); i++) {
            if (row[i] != attributes.at(colours[i]))
                return false;
        }
        return s.RowText(1).rfind(sample.line, 0) == 0;
    };

    // Every file of the panel in turn, whatever order the panel sorts them in.
    ScriptedHost host(Panels());
    ASSERT_TRUE(WaitForPanels(host)) << host.ScreenText();
    host.PressKey("Down");
    host.PressKey("F3");
    std::set<std::string> seen;
    for (size_t n = 0; n < sizeof samples / sizeof samples[0]; n++) {
        if (n > 0)
            host.PressKey("Alt+Down");
        const TSample* shown = nullptr;
        ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) {
            for (const TSample& sample : samples) {
                if (s.RowText(0).rfind("View: T:\\work\\" + std::string(sample.name) + " ", 0) == 0 &&
                    !seen.count(sample.name))
                    shown = &sample;
            }
            return shown != nullptr;
        })) << host.ScreenText();
        ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) { return coloured(s, *shown); }))
            << shown->name << "\n" << host.Dump();
        seen.insert(shown->name);
    }
    host.PressKey("Esc");
    ASSERT_TRUE(WaitForPanels(host));

    ScriptedHost editor(Options({"-e", "T:\\work\\a.c"}));
    EXPECT_TRUE(editor.WaitFor([&](const ScreenModel& s) { return coloured(s, samples[0]); })) << editor.Dump();
    editor.PressKey("Esc");
    EXPECT_EQ(editor.WaitExit(), 0);

    // An ini file named on the command line gives the user's files its name;
    // the file that comes with the program is still found under its own.
    ScriptedHost named(Options({Ini(""), "-v", "T:\\work\\a.c"}));
    EXPECT_TRUE(named.WaitFor([&](const ScreenModel& s) { return coloured(s, samples[0]); })) << named.Dump();
    named.PressKey("Esc");
    EXPECT_EQ(named.WaitExit(), 0);
}

TEST_F(ViewerEndToEndTest, CodePageListTranslatesTheTextAndCyclesBackToTheTextCodePage) {
    WriteAll(root + "/cp.txt", "caf\x82 \x9C\n");
    ScriptedHost host(Options({"-v", "T:\\cp.txt"}));
    ASSERT_TRUE(WaitForViewer(host, "T:\\cp.txt")) << host.ScreenText();
    const std::string first = host.RowText(0).substr(65, 8);
    host.PressKey("Alt+c");
    ASSERT_TRUE(host.WaitForText("Code Page Translation")) << host.ScreenText();
    Answer(host, "437,850");
    // In code page 437, 0x82 is e acute and 0x9C the pound sign.
    ASSERT_TRUE(WaitForRow(host, 1, "caf\u00E9 \u00A3")) << host.ScreenText();
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(0).substr(65, 5) == "CP437"; }))
        << host.RowText(0);
    host.PressKey("Alt+t");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(0).substr(65, 5) == "CP850"; }))
        << host.ScreenText();
    EXPECT_TRUE(WaitForRow(host, 1, "caf\u00E9 \u00A3"));
    host.PressKey("Alt+t");
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) { return s.RowText(0).substr(65, 8) == first; }))
        << host.ScreenText();
    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(ViewerEndToEndTest, AltDownWalksThePanelFilesAndEscLeavesTheCursorOnTheLast) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        WriteAll(root + "/work/" + name, std::string("in ") + name + "\n");
    ScriptedHost host(Panels());
    ASSERT_TRUE(WaitForPanels(host)) << host.ScreenText();
    host.PressKey("Down");  // from ".." to a.txt
    host.PressKey("F3");
    ASSERT_TRUE(WaitForViewer(host, "T:\\work\\a.txt")) << host.ScreenText();
    host.PressKey("Alt+Down");
    ASSERT_TRUE(WaitForViewer(host, "T:\\work\\b.txt")) << host.ScreenText();
    host.PressKey("Alt+Down");
    ASSERT_TRUE(WaitForViewer(host, "T:\\work\\c.txt")) << host.ScreenText();
    host.PressKey("Alt+Down");
    ASSERT_TRUE(host.WaitForText("No more files")) << host.ScreenText();
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.Dump().find("No more files") == std::string::npos; }));
    EXPECT_TRUE(WaitForRow(host, 1, "in c.txt")) << host.ScreenText();
    host.PressKey("Alt+Up");
    ASSERT_TRUE(WaitForViewer(host, "T:\\work\\b.txt")) << host.ScreenText();
    host.PressKey("Esc");
    ASSERT_TRUE(WaitForPanels(host)) << host.ScreenText();
    host.PressKey("F3");
    ASSERT_TRUE(WaitForViewer(host, "T:\\work\\b.txt")) << host.ScreenText();
    host.PressKey("Esc");
}

TEST_F(ViewerEndToEndTest, FollowModeShowsLinesAppendedToTheFile) {
    const std::string path = root + "/grow.txt";
    WriteAll(path, "first line\n");
    ScriptedHost host(Options({"-v", "T:\\grow.txt"}));
    ASSERT_TRUE(WaitForViewer(host, "T:\\grow.txt")) << host.ScreenText();
    host.PressKey("Alt+f");
    ASSERT_TRUE(host.WaitForText("Follow Mode ON - ESC to cancel")) << host.ScreenText();
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << "appended line\n";
    }
    ASSERT_TRUE(WaitForRow(host, 2, "appended line")) << host.ScreenText();
    // Esc ends follow mode only; the second one leaves.
    host.PressKey("Esc");
    ASSERT_TRUE(
        host.WaitFor([](const ScreenModel& s) { return s.Dump().find("Follow Mode ON") == std::string::npos; }));
    EXPECT_EQ(host.RowText(0).rfind("View: ", 0), 0u);
    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST_F(ViewerEndToEndTest, ViewingAgainStartsAtTheSameTopLine) {
    std::string lines;
    for (int i = 0; i < 200; i++)
        lines += "line " + std::to_string(i) + "\n";
    WriteAll(root + "/work/lines.txt", lines);
    ScriptedHost host(Panels());
    ASSERT_TRUE(WaitForPanels(host)) << host.ScreenText();
    host.PressKey("Down");
    host.PressKey("F3");
    ASSERT_TRUE(WaitForViewer(host, "T:\\work\\lines.txt")) << host.ScreenText();
    host.PressKey("PgDn");
    ASSERT_TRUE(WaitForRow(host, 1, "line 22")) << host.ScreenText();
    host.PressKey("Esc");
    ASSERT_TRUE(WaitForPanels(host));
    host.PressKey("F3");
    ASSERT_TRUE(WaitForViewer(host, "T:\\work\\lines.txt"));
    EXPECT_TRUE(WaitForRow(host, 1, "line 22")) << host.ScreenText();
    host.PressKey("End");
    EXPECT_TRUE(WaitForRow(host, 23, "line 199")) << host.ScreenText();
    // The end of the file is on the screen: the position reads the whole file.
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(0).substr(73) == "100.00%"; }))
        << host.RowText(0);
    host.PressKey("Home");
    EXPECT_TRUE(WaitForRow(host, 1, "line 0")) << host.ScreenText();
    host.PressKey("Esc");
}

}  // namespace
