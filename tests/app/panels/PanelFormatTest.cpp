#include <gtest/gtest.h>

#include "app/panels/PanelFormat.h"
#include "console/ScreenSize.h"
#include "tests/app/panels/PanelTestSupport.h"

using namespace paneltest;

namespace {

const uint16_t Dir = FILE_ATTRIBUTE_DIRECTORY;
const uint16_t Link = FILE_ATTRIBUTE_REPARSE_POINT;

// 13:05:00 UTC, 2 January 2024; TZ=UTC makes it the local time.
const uint32_t Jan2At1305 = 1704200700;
const uint32_t Jan2AtMidnight = 1704153600;

// An 80-column screen with 20 entry rows; a half-width panel of 40 columns.
class PanelFormat : public ::testing::Test {
protected:
    void SetUp() override {
        saved = Config;
        savedColumns = ScreenColumns;
        ScreenColumns = 80;
        Config.PanelHeight = 20;
        Config.ThousandSep = 0;
        Config.KeepExtVisible = 0;
        Config.TimeMode = 24;
        ResetColours();
        LayoutPanelColumns(40);
        panel.widthKind = WIDTH_HALF;
        panel.isOn = 1;
        CopyPanelText(panel.path, Westring("C:\\work"));
    }
    void TearDown() override {
        Config = saved;
        ScreenColumns = savedColumns;
        LayoutPanelColumns(40);
    }

    std::string Line(int index, int style) { return Text(FormatEntryInStyle(&panel, index, 0, NoNameScroll, style)); }

    TCONFIG saved;
    int savedColumns = 0;
    CPanel panel;
};

TEST_F(PanelFormat, LayoutFillsTheInnerWidthUpToTheMaximums) {
    // Full: name 12, size 7, date 10 ("12/31/1999"), time 6 and three
    // separators make exactly the 38 inner cells.
    EXPECT_EQ(PanelLayouts[VIEW_FULL][0].current, 12);
    EXPECT_EQ(PanelLayouts[VIEW_FULL][1].current, 7);
    EXPECT_EQ(PanelLayouts[VIEW_FULL][2].current, 10);
    EXPECT_EQ(PanelLayouts[VIEW_FULL][3].current, 6);
    LayoutPanelColumns(80);
    int used = 0;
    for (int c = 0; c < 4; c++)
        used += PanelLayouts[VIEW_FULL][c].current;
    EXPECT_EQ(used + 3, 78);
    EXPECT_EQ(PanelLayouts[VIEW_BRIEF][0].current + PanelLayouts[VIEW_BRIEF][1].current +
                  PanelLayouts[VIEW_BRIEF][2].current + 2,
              78);
    // A very wide panel ends with every column at its maximum.
    LayoutPanelColumns(2000);
    EXPECT_EQ(PanelLayouts[VIEW_FULL][0].current, 256);
    EXPECT_EQ(PanelLayouts[VIEW_FULL][1].current, 10);
    EXPECT_EQ(PanelLayouts[VIEW_WIDE][0].current, 10);
    EXPECT_EQ(PanelLayouts[VIEW_WIDE][1].current, 256);
}

TEST_F(PanelFormat, EntryLinesOfEachStyle) {
    Fill(panel, {{"..", Dir, 0, 0}, {"report.txt", 0, 1234567, Jan2At1305}, {"sub", Dir, 0, Jan2AtMidnight}});
    struct {
        int index;
        int style;
        const char* line;
    } cases[] = {
        {1, VIEW_FULL, "report.txt  │1234567│  1/2/2024│ 13:05"},
        // Seven cells are too few for the triangles around the kind.
        {0, VIEW_FULL, "..          │ UP-DIR│  1/1/1970│  0:00"},
        {2, VIEW_FULL, "sub         │ SUBDIR│  1/2/2024│  0:00"},
        {1, VIEW_BRIEF, "report.txt  "},
        // Briefwide's two columns share the spare room: 19 and 18 cells.
        {2, VIEW_BRIEFWIDE, "sub                "},
        {1, VIEW_WIDE, " 1234567│report.txt                   "},
        {0, VIEW_WIDE, "\x10UP-DIR\x11│..                           "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Line(c.index, c.style), c.line) << "style " << c.style << " entry " << c.index;
        int width = FormatEntryInStyle(&panel, c.index, 0, NoNameScroll, c.style).Length();
        EXPECT_LE(width, 38) << "style " << c.style << " entry " << c.index;
    }
}

TEST_F(PanelFormat, SizeColumnFallsBackToKiloAndMegabytes) {
    Fill(panel, {{"seven", 0, 9999999, 0},
                 {"eight", 0, 12345678, 0},
                 {"five-gib", 0, 5ull * 1073741824ull, 0},
                 {"..", Dir, 0, 0}});
    struct {
        int index;
        int width;
        const char* size;
    } cases[] = {
        {0, 7, "9999999"},        {1, 7, " 12056K"},         {2, 7, "  5120M"},           {3, 7, " UP-DIR"},
        {3, 8, "\x10UP-DIR\x11"}, {3, 9, " \x10UP-DIR\x11"}, {3, 10, "\x10 UP-DIR \x11"},
    };
    for (const auto& c : cases) {
        PanelLayouts[VIEW_FULL][1].current = c.width;
        std::string line = Line(c.index, VIEW_FULL);
        size_t bar = line.find("│");
        std::string size = line.substr(bar + 3, size_t(c.width));
        EXPECT_EQ(size, c.size) << "width " << c.width;
    }
}

TEST_F(PanelFormat, DirectoryWithATreeSizeAndALinkShowTheirOwnTexts) {
    Fill(panel, {{"big", Dir, 4096, 0}, {"jump", Dir | Link, 0, 0}});
    panel.entries[0]->sizeFromTree = 1;
    // The link's target is looked up once and then taken from the cache.
    TLinkTargetCacheEntry* cached = new TLinkTargetCacheEntry{Westring("C:\\work\\jump"), Westring("D:\\x")};
    panel.linkTargets.Insert(cached);
    PanelLayouts[VIEW_FULL][0].current = 18;
    std::string big = "big" + std::string(15, ' ') + "│   4096│";
    EXPECT_EQ(Line(0, VIEW_FULL).substr(0, big.size()), big);
    // " LINK " does not fit a 7-cell column with its blanks: they go first.
    std::string link = "jump » D:\\x       │ \x10LINK\x11│";
    EXPECT_EQ(Line(1, VIEW_FULL).substr(0, link.size()), link);
    PanelLayouts[VIEW_FULL][1].current = 10;
    link = "jump » D:\\x       │\x10  LINK  \x11│";
    EXPECT_EQ(Line(1, VIEW_FULL).substr(0, link.size()), link);
}

TEST_F(PanelFormat, MarkersTakeTheLastCellOfTheNameField) {
    Fill(panel, {{"filelink", Link, 1, 0},
                 {"hiddendir", Dir | FILE_ATTRIBUTE_HIDDEN, 0, 0},
                 {"averyveryverylongname", FILE_ATTRIBUTE_SYSTEM, 0, 0}});
    panel.linkTargets.Insert(new TLinkTargetCacheEntry{Westring("C:\\work\\filelink"), Westring("t")});
    EXPECT_EQ(Line(0, VIEW_BRIEF), "filelink »\x10@");
    EXPECT_EQ(Line(1, VIEW_BRIEF), "hiddendir  ░");
    EXPECT_EQ(Line(2, VIEW_BRIEF), "averyveryv\x10░");
}

TEST_F(PanelFormat, KeepExtVisibleKeepsAShortExtensionAfterTheCut) {
    CellString name(U"averylongname.txt", 7);
    EXPECT_EQ(Text(TruncateEntryCells(name, 12, true)), "averylo\x10.txt");
    EXPECT_EQ(Text(TruncateEntryCells(name, 12, false)), "averylongna\x10");
    CellString longExtension(U"a.verylongextension", 7);
    EXPECT_EQ(Text(TruncateEntryCells(longExtension, 12, true)), "a.verylonge\x10");
    EXPECT_EQ(Text(TruncateEntryCells(CellString(U"short.c", 7), 12, true)), "short.c     ");
}

TEST_F(PanelFormat, TwelveHourClock) {
    Config.TimeMode = 12;
    Fill(panel, {{"midnight", 0, 1, Jan2AtMidnight}, {"afternoon", 0, 1, Jan2At1305}});
    EXPECT_EQ(Line(0, VIEW_FULL).substr(Line(0, VIEW_FULL).size() - 6), "12:00a");
    EXPECT_EQ(Line(1, VIEW_FULL).substr(Line(1, VIEW_FULL).size() - 6), " 1:05p");
}

TEST_F(PanelFormat, UnknownTimeShowsBlanks) {
    Fill(panel, {{"f", 0, 1, 0}});
    panel.entries[0]->time = TTimestamp(0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(Line(0, VIEW_FULL), "f           │      1│          │      ");
}

TEST_F(PanelFormat, ScrollOffsetNeverLeavesTheFieldPartlyEmpty) {
    Fill(panel, {{"abcdefghijklmnop", 0, 1, 0}});
    EXPECT_EQ(Text(FormatEntryInStyle(&panel, 0, 7, 2, VIEW_BRIEF)), "cdefghijklm\x10");
    EXPECT_EQ(panel.nameScrollOffset, 2);
    EXPECT_EQ(Text(FormatEntryInStyle(&panel, 0, 7, 10, VIEW_BRIEF)), "efghijklmnop");
    EXPECT_EQ(panel.nameScrollOffset, 4);
}

TEST_F(PanelFormat, StatusLineTexts) {
    Fill(panel, {{"..", Dir, 0, 0}, {"a", 0, 1500, 0}, {"b", 0, 2500, 0}});
    bool full = false;
    // Two tagged files: the count with "s", centred in the 38 cells.
    panel.entries[1]->tagged = panel.entries[2]->tagged = 1;
    panel.taggedCount = 2;
    panel.taggedBytes = 4000;
    std::string text = Text(BuildPanelStatusText(&panel, full));
    EXPECT_EQ(text.size(), 38u);
    EXPECT_NE(text.find("4,000 bytes in 2 selected files"), std::string::npos) << text;
    size_t left = text.find_first_not_of(' ');
    size_t right = text.size() - 1 - text.find_last_not_of(' ');
    EXPECT_LE(left > right ? left - right : right - left, 1u) << "[" << text << "]";
    panel.entries[2]->tagged = 0;
    panel.taggedCount = 1;
    panel.taggedBytes = 1500;
    text = Text(BuildPanelStatusText(&panel, full));
    EXPECT_NE(text.find("bytes in 1 selected file "), std::string::npos) << text;

    panel.taggedCount = 0;
    CopyPanelText(panel.searchText, Westring("abcdefghijklmnopqrstuvwxyz0123456789"));
    // Too long for the row: the label stays and the text's tail is shown.
    EXPECT_EQ(Text(BuildPanelStatusText(&panel, full)), "Search: ghijklmnopqrstuvwxyz0123456789");
    panel.searchText[0] = 0;

    panel.driveError = ERROR_NOT_READY;
    EXPECT_EQ(Text(BuildPanelStatusText(&panel, full)), " No disk in drive" + std::string(21, ' '));
    panel.driveError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(Text(BuildPanelStatusText(&panel, full)), " Error reading drive" + std::string(18, ' '));
    panel.driveError = 0;

    panel.viewStyle = VIEW_FULL;
    panel.cursorRow = 1;
    EXPECT_EQ(Text(BuildPanelStatusText(&panel, full)), "a" + std::string(37, ' '));
    EXPECT_FALSE(full);
    panel.viewStyle = VIEW_BRIEF;
    std::string asFull = "a           │   1500│";
    EXPECT_EQ(Text(BuildPanelStatusText(&panel, full)).substr(0, asFull.size()), asFull);
    EXPECT_TRUE(full);

    panel.FreeEntries();
    EXPECT_EQ(Text(BuildPanelStatusText(&panel, full)), "Directory is empty" + std::string(20, ' '));
}

TEST_F(PanelFormat, ScrollThumbStaysWithinItsRows) {
    // Everything fits: no thumb.
    EXPECT_EQ(ComputeScrollThumb(10, 0, 20, 20).length, 0);
    EXPECT_EQ(ComputeScrollThumb(0, 0, 20, 20).length, 0);
    TScrollThumb top = ComputeScrollThumb(100, 0, 20, 20);
    EXPECT_EQ(top.start, 0);
    EXPECT_EQ(top.length, 4);
    EXPECT_EQ(ComputeScrollThumb(100000, 0, 20, 20).length, 2);
    TScrollThumb end = ComputeScrollThumb(100, 80, 20, 20);
    EXPECT_EQ(end.start + end.length, 20);
    for (int count : {21, 25, 61, 1000}) {
        for (int first = 0; first < count; first += 3) {
            TScrollThumb thumb = ComputeScrollThumb(count, first, 20, 20);
            EXPECT_GE(thumb.start, 0) << count << " " << first;
            EXPECT_LE(thumb.start + thumb.length, 20) << count << " " << first;
            EXPECT_GE(thumb.length, 2);
        }
    }
}

TEST_F(PanelFormat, RuleLinesCrossWhereColumnsMeet) {
    CellString line;
    BuildColumnRuleLine(VIEW_BRIEF, WIDTH_HALF, line, BoxSingleHorizontal, BoxSingleUpTee, BoxDoubleSingleLeftTee,
                        BoxDoubleSingleRightTee);
    BuildColumnRuleLine(VIEW_FULL, WIDTH_HALF, line, 0, BoxSingleDownTee, BoxDoubleSingleLeftTee,
                        BoxDoubleSingleRightTee);
    // Brief boundaries after 12 and 25 (columns 12, 12, 12); full after 12, 20 and 31.
    std::u32string want(40, BoxSingleHorizontal);
    want[0] = BoxDoubleSingleLeftTee;
    want[39] = BoxDoubleSingleRightTee;
    want[13] = BoxSingleCross;
    want[26] = BoxSingleUpTee;
    want[21] = BoxSingleDownTee;
    want[32] = BoxSingleDownTee;
    ASSERT_EQ(line.Length(), 40);
    for (int i = 0; i < 40; i++)
        EXPECT_EQ(line.Data()[i].character, want[size_t(i)]) << "at " << i;
}

}  // namespace
