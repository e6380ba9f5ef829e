// The viewer's line model, rows and scrolling on real files, drawn on a
// console whose screen the test reads back.
#include "viewedit/Viewer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings/Config.h"
#include "base/strings/ConsoleCodePage.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiConsole.h"
#include "viewedit/ViewerSearchState.h"

namespace {

using qvtest::TempDir;
using qvtest::W;

class ViewerTest : public qvtest::UiConsole {
protected:
    void SetUp() override {
        UiConsole::SetUp();
        savedCodePage = TextCodePageSetting;
        TextCodePageSetting = 1252;
        Config.TabWidth = 8;
        Config.ViewerWrap = 1;
        Config.TranslateCP = "";
        ViewerCodePage = 0;
        TranslateCodePagePosition = 0;
        viewer.reset(new CViewer);
    }
    void TearDown() override {
        viewer.reset();
        TextCodePageSetting = savedCodePage;
        UiConsole::TearDown();
    }

    // A new file each time: Windows refuses to replace a file held open.
    void Open(const std::string& bytes, int encoding = -1) {
        viewer->Close();
        qvtest::WString path = dir.Join(W("file" + std::to_string(++files) + ".txt"));
        ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
        ASSERT_EQ(viewer->OpenForView(Westring(path.c_str())), 0u);
        if (encoding >= 0)
            viewer->SetEncoding(encoding);
    }

    std::vector<int64_t> ForwardStarts() {
        std::vector<int64_t> starts;
        int64_t offset = viewer->ByteOrderMarkLength();
        while (offset < viewer->Size()) {
            starts.push_back(offset);
            int64_t next = viewer->NextLineStart(offset);
            if (next <= offset) {
                ADD_FAILURE() << "no progress at " << offset;
                break;
            }
            offset = next;
        }
        return starts;
    }

    std::vector<int64_t> BackwardStarts() {
        std::vector<int64_t> starts;
        int64_t offset = viewer->Size();
        while (offset > viewer->ByteOrderMarkLength()) {
            int64_t before = viewer->LineStartBefore(offset);
            if (before >= offset) {
                ADD_FAILURE() << "no progress at " << offset;
                break;
            }
            starts.insert(starts.begin(), before);
            offset = before;
        }
        return starts;
    }

    // The text rows as the console shows them.
    std::vector<std::string> Screen() {
        std::vector<std::string> rows;
        for (int r = 1; r <= viewer->height; r++)
            rows.push_back(Row(r));
        return rows;
    }

    TempDir dir;
    std::unique_ptr<CViewer> viewer;
    int savedCodePage = 0;
    int files = 0;
};

TEST_F(ViewerTest, LineStartsAgreeForwardsAndBackwards) {
    struct TCase {
        const char* name;
        std::string bytes;
        std::vector<int64_t> starts;
    };
    const TCase cases[] = {
        {"mixed ends", "a\rb\nc\r\nd\n\re\r\rf\n\ng", {0, 2, 4, 7, 9, 10, 12, 13, 15, 16}},
        {"ends with a line end", "one\ntwo\nthree\n", {0, 4, 8}},
        {"no line end at the end", "one\r\ntwo", {0, 5}},
        {"only line ends", "\n\r\n\r\r\n", {0, 1, 3, 4}},
        {"NUL ends a line in UTF-8", std::string("\xEF\xBB\xBFx\0y\n\xC3\xA9", 9), {3, 5, 7}},
        {"empty", "", {}},
    };
    for (const TCase& c : cases) {
        Open(c.bytes);
        EXPECT_EQ(ForwardStarts(), c.starts) << c.name;
        EXPECT_EQ(BackwardStarts(), c.starts) << c.name;
    }
}

TEST_F(ViewerTest, LongLinesAreCutIntoPiecesBothWays) {
    const int64_t piece = CViewer::PieceChars;
    std::string bytes(size_t(3 * piece + 5), 'x');
    bytes += "\nshort\n";
    bytes += std::string(size_t(2 * piece), 'y');
    bytes += "\nend";
    Open(bytes);
    const int64_t second = 3 * piece + 6;
    const int64_t third = second + 6;
    const std::vector<int64_t> expected = {
        0, piece, 2 * piece, 3 * piece, second, third, third + piece, third + 2 * piece + 1,
    };
    EXPECT_EQ(ForwardStarts(), expected);
    EXPECT_EQ(BackwardStarts(), expected);
    // Again, now through the memo of the long line.
    EXPECT_EQ(viewer->LineStartBefore(3 * piece + 6), 3 * piece);
    EXPECT_EQ(viewer->LineStartBefore(3 * piece), 2 * piece);
    EXPECT_EQ(viewer->LineStartBefore(piece + 7), piece);
}

TEST_F(ViewerTest, HexRowsShowOffsetBytesAndCharacters) {
    Open(std::string(16, 'x') + std::string("A\0B\nC", 5));
    viewer->hexMode = true;
    CellString full = viewer->HexLineCells(0);
    ASSERT_EQ(full.Length(), 80);
    Westring text;
    for (int i = 0; i < full.Length(); i++)
        text.AppendChar(full.Data()[i].character);
    EXPECT_EQ(std::string(Estring(text).Data()),
              "00000000 78 78 78 78 \u2502 78 78 78 78 \u2502 78 78 78 78 \u2502 78 78 78 78  xxxxxxxxxxxxxxxx");

    CellString last = viewer->HexLineCells(16);
    ASSERT_EQ(last.Length(), 69);
    Westring head;
    for (int i = 0; i < 64; i++)
        head.AppendChar(last.Data()[i].character);
    EXPECT_EQ(std::string(Estring(head.TrimRight()).Data()), "00000010 41 00 42 0A \u2502 43");
    const char32_t characters[5] = {U'A', U'.', U'B', U'\n', U'C'};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(last.Data()[64 + i].character, characters[i]) << i;

    // Drawn as cells: the line feed shows as its glyph and breaks nothing.
    viewer->DrawHexLine(1, 16);
    EXPECT_EQ(CharAt(67, 2), char32_t(0x25D9));
    EXPECT_EQ(CharAt(68, 2), U'C');
    EXPECT_EQ(CharAt(69, 2), U' ');
    EXPECT_EQ(Row(3).find_first_not_of(' '), std::string::npos);
}

TEST_F(ViewerTest, UnwrappedLinesWiderThanTheScreenEndInAMark) {
    Config.ViewerWrap = 0;
    Open(std::string(100, 'a') + "\n" + std::string(80, 'b') + "\n" + std::string(79, 'c') + "\n");
    viewer->LoadTopLine(0);
    viewer->Redraw();
    EXPECT_EQ(CharAt(79, 1), char32_t(0xBB));
    EXPECT_EQ(AttrAt(79, 1), uint8_t((ColourOf(ColourFileViewer) & 0xF0) | (ColourOf(ColourTagged) & 0x0F)));
    EXPECT_EQ(CharAt(79, 2), U'b');
    EXPECT_EQ(CharAt(78, 3), U'c');
    // Scrolled right, the rest of the long line shows without the mark.
    viewer->leftColumn = 40;
    viewer->Redraw();
    EXPECT_EQ(CharAt(59, 1), U'a');
    EXPECT_EQ(CharAt(60, 1), U' ');
}

TEST_F(ViewerTest, StatusLineShowsNameEncodingAndPercentage) {
    Open("one\ntwo\nthree\n");
    viewer->LoadTopLine(0);
    viewer->Redraw();
    std::string status = Estring(viewer->StatusText()).Data();
    EXPECT_EQ(status.size(), 80u);
    EXPECT_EQ(status.substr(0, 6), "View: ");
    EXPECT_NE(status.find("file1.txt"), std::string::npos);
    EXPECT_EQ(status.substr(65, 6), "CP1252");
    EXPECT_EQ(status.substr(73), "100.00%");

    std::string lines;
    for (int i = 0; i < 100; i++)
        lines += "line " + std::to_string(i) + "\n";
    Open(lines);
    viewer->LoadTopLine(0);
    viewer->Redraw();
    // The bottom line is line 22 (bytes 166 to 174 of 790), counted up to its end.
    EXPECT_EQ(Estring(viewer->StatusText()).Data() + 73, std::string(" 21.89%"));

    // With the last line on the bottom row the end of the file is on the
    // screen, in text and in hex rows, whether or not the file ends in a line
    // end; one row up it is not.
    for (const char* end : {"\n", ""}) {
        for (bool hex : {false, true}) {
            Open(lines + "last" + end);
            viewer->hexMode = hex;
            viewer->LoadTopLine(0);
            viewer->GoToEnd();
            EXPECT_EQ(Estring(viewer->StatusText()).Data() + 73, std::string("100.00%")) << hex << end;
            viewer->ScrollUp();
            EXPECT_LT(std::string(Estring(viewer->StatusText()).Data() + 73), "100.00%") << hex << end;
            viewer->hexMode = false;
        }
    }
}

// Scrolling by rows and pages shows what a fresh drawing at the same top shows.
TEST_F(ViewerTest, ScrollingAgreesWithRedrawing) {
    std::string text;
    for (int i = 0; i < 60; i++) {
        text += std::to_string(i) + ":" + std::string(size_t((i * 37) % 200), char('a' + i % 26));
        text += i % 7 == 3 ? "\r\n" : "\n";
    }
    for (int wrap = 0; wrap < 2; wrap++) {
        Config.ViewerWrap = uint8_t(wrap);
        Open(text);
        viewer->LoadTopLine(0);
        viewer->Redraw();
        auto check = [&](const char* what, int step) {
            std::vector<std::string> shown = Screen();
            CViewer fresh;
            fresh.OpenForView(viewer->name);
            fresh.LoadTopLine(viewer->topOffset);
            fresh.topPiece = viewer->topPiece;
            fresh.Redraw();
            EXPECT_EQ(Screen(), shown) << what << " step " << step << " wrap " << wrap;
            EXPECT_EQ(fresh.bottomLineOffset, viewer->bottomLineOffset) << what << " step " << step;
        };
        for (int i = 0; i < 30; i++) {
            viewer->ScrollDown();
            check("down", i);
        }
        for (int i = 0; i < 35; i++) {
            viewer->ScrollUp();
            check("up", i);
        }
        EXPECT_EQ(viewer->topOffset, 0);
        for (int i = 0; i < 4; i++) {
            viewer->PageDown();
            check("page", i);
        }
    }
}

// Shift+F7 repeats the search, Alt+F7 repeats it the other way. Matches that
// touch (adjacent) are each met in both directions, in a code-page file (the
// byte search) and in files with a byte-order mark (the text search); a match
// that overlaps the one shown is passed over both ways, since a repeat starts
// past the shown text.
TEST_F(ViewerTest, RepeatedSearchMeetsEveryMatchBothWays) {
    struct TCase {
        const char* name;
        std::string text;     // the line, before it is encoded
        const char* pattern;
        std::vector<int64_t> forward;  // character positions of the matches met
    };
    const TCase cases[] = {
        {"adjacent", "abcd foofoofoo", "foo", {5, 8, 11}},
        {"one apart", "bcd a a a a", "a", {4, 6, 8, 10}},
        {"overlapping", "bcd a a a a", "a a", {4, 8}},
    };
    struct TEncoding {
        const char* name;
        int bomLength;
        int width;  // bytes per character of this text
    };
    const TEncoding encodings[] = {{"code page", 0, 1}, {"UTF-8 with BOM", 3, 1}, {"UTF-16 with BOM", 2, 2}};
    for (const TCase& c : cases) {
        for (const TEncoding& e : encodings) {
            std::string bytes;
            if (e.width == 2) {
                bytes = "\xFF\xFE";
                for (char ch : c.text + "\n")
                    bytes += std::string{ch, '\0'};
            } else {
                bytes = std::string(e.bomLength ? "\xEF\xBB\xBF" : "") + c.text + "\n";
            }
            Open(bytes);
            viewer->LoadTopLine(0);
            viewer->Redraw();
            ViewerSearchText = Westring(c.pattern);
            ViewerSearchOptions.reverse = 0;
            ViewerSearchOptions.caseSensitive = 0;
            ViewerSearchOptions.wholeWord = 0;
            auto at = [&](int64_t character) { return e.bomLength + e.width * character; };
            const std::string what = std::string(c.name) + ", " + e.name;
            TInputEvent event{};
            // The first Shift+F7 starts past the top, before the first match.
            for (int64_t match : c.forward) {
                viewer->DispatchKey(KEY_SHIFT_F7, event);
                EXPECT_EQ(viewer->lastMatch, at(match)) << what << ", forwards";
            }
            for (size_t i = c.forward.size() - 1; i-- > 0;) {
                viewer->DispatchKey(KEY_ALT_F7, event);
                EXPECT_EQ(viewer->lastMatch, at(c.forward[i])) << what << ", backwards";
            }
            EXPECT_EQ(ViewerSearchOptions.reverse, 0) << what;
        }
    }
}

TEST_F(ViewerTest, TranslationCodePagesCycleThroughTheList) {
    Config.TranslateCP = "437,850";
    uint32_t codePage = 99;
    const uint32_t expected[] = {437, 850, 0, 437, 850, 0};
    for (uint32_t want : expected) {
        NextTranslateCodePage(codePage);
        EXPECT_EQ(codePage, want);
    }
    // The text code page itself reads as 0.
    Config.TranslateCP = "1252,437";
    TranslateCodePagePosition = 0;
    NextTranslateCodePage(codePage);
    EXPECT_EQ(codePage, 0u);
    NextTranslateCodePage(codePage);
    EXPECT_EQ(codePage, 437u);
}

}  // namespace
