#include "viewedit/SyntaxHighlighter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/strings/LocaleCase.h"
#include "tests/support/TempDir.h"

namespace {

using qvtest::TempDir;
using qvtest::W;

struct TLineCase {
    const char32_t* line;
    const char* colours;
};

// Each cell's colour as a letter: '.' the viewer's default, Y yellow, G
// green, C cyan, R red, M magenta, B blue; '?' anything else.
class SyntaxHighlighterTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCaseTables();
        ResetColours();
        Config.TabWidth = 8;
        const uint8_t viewer = ColourOf(ColourFileViewer);
        letters[viewer] = '.';
        const char* names[] = {"yellow", "green", "cyan", "red", "magenta", "blue"};
        const char marks[] = {'Y', 'G', 'C', 'R', 'M', 'B'};
        for (int i = 0; i < 6; i++)
            letters[uint8_t(ParseColourSpec(names[i], viewer))] = marks[i];
    }

    // Writes the definition file and loads it for the named file.
    bool Load(const std::string& definition, const std::string& fileName = "a.c") {
        syntaxPath = dir.Join(W("syntax.ini"));
        EXPECT_TRUE(qvtest::WriteFileBytes(syntaxPath, definition));
        return highlighter.Load(Westring(syntaxPath.c_str()), Westring(dir.Join(W(fileName)).c_str()), Report);
    }

    std::string Colour(const char32_t* line) {
        CellString cells;
        highlighter.ColourLine(line, cells);
        std::string marks;
        for (int i = 0; i < cells.Length(); i++) {
            auto found = letters.find(cells.Data()[i].attribute);
            marks += found == letters.end() ? '?' : found->second;
        }
        return marks;
    }

    void ExpectLines(const std::vector<TLineCase>& cases) {
        for (const TLineCase& c : cases)
            EXPECT_EQ(Colour(c.line), c.colours) << Estring(Westring(c.line)).Data();
    }

    static void Report(uint32_t error, const Westring&) { reported.push_back(error); }

    TempDir dir;
    qvtest::WString syntaxPath;
    CSyntaxHighlighter highlighter;
    std::map<uint8_t, char> letters;
    static std::vector<uint32_t> reported;
};

std::vector<uint32_t> SyntaxHighlighterTest::reported;

TEST_F(SyntaxHighlighterTest, WordsOfAMatchingSectionTakeTheirColour) {
    ASSERT_TRUE(Load("[C:*.c]\r\nwords:yellow:int return\r\n"));
    ExpectLines({
        {U"int x; return 0;", "YYY....YYYYYY..."},
        {U"integer", "......."},  // whole words only
        {U"Int", "..."},          // case-sensitive without the option
    });
}

TEST_F(SyntaxHighlighterTest, CaseOptionAndWordCharacterSets) {
    ASSERT_TRUE(
        Load("[C:*.c]\n"
             "words/i:yellow:IF Then\n"
             "words:green:IF Then else\n"
             "wordchars:_\n"
             "words:cyan:my_var\n"
             "wordchars(string):-\n"
             "string:red:\":\"\n"
             "words(string):magenta:a-b\n"
             "words:blue:\xC5\x81x\n"));
    ExpectLines({
        {U"if THEN then else", "YY.YYYY.YYYY.GGGG"},
        {U"my_var my", "CCCCCC..."},
        {U"a-b \"a-b\"", "....RMMMR"},  // the hyphen joins words only inside strings
        {U"\u0141x", "BB"},             // classified by the low byte: U+0141 reads as 'A'
    });
}

TEST_F(SyntaxHighlighterTest, FirstMatchingWordListWinsAndNumbersTakeTheLastRule) {
    ASSERT_TRUE(
        Load("[C:*.c]\n"
             "words/i:yellow:IF\n"
             "words:green:IF\n"
             "number:cyan\n"
             "number:blue\n"));
    ExpectLines({
        {U"IF 12 x1", "YY.BB..."},
    });
}

TEST_F(SyntaxHighlighterTest, StringsAndEscapes) {
    ASSERT_TRUE(
        Load("[C:*.c]\n"
             "escape:\\ (the first character counts)\n"
             "string:red:\":\"\n"
             "string:green:':':#\n"));
    ExpectLines({
        {U"x \"a\\\"b\" y", "..RRRRRR.."},  // the escaped quote does not close it
        {U"'a#'b' c", "GGGGGG.."},          // an escape character of its own
        {U"\"ab\\", "RRRR"},                // open at the end of the line ...
        {U"cd\" x", "RRR.."},               // ... and closed on the next
    });
}

TEST_F(SyntaxHighlighterTest, CommentsAcrossLines) {
    ASSERT_TRUE(
        Load("[C:*.c]\n"
             "linecomment:green://\n"
             "blockcomment:cyan:/*:*/\n"
             "words:yellow:int\n"));
    ExpectLines({
        {U"int // int", "YYY.GGGGGG"},
        {U"int", "YYY"},  // the line comment ended with its line
        {U"x /* int", "..CCCCCC"},
        {U"int */ int", "CCCCCC.YYY"},  // the block stayed open until its end text
    });
}

TEST_F(SyntaxHighlighterTest, BlockWithoutEndTextNeverClosesAndLineOptionClosesAtLineEnd) {
    ASSERT_TRUE(
        Load("[C:*.c]\n"
             "blockcomment:cyan:#if 0:\n"
             "state/l:green:pre:@:@\n"));
    ExpectLines({
        {U"@a@ b", "GGG.."},
        {U"@a", "GG"},
        {U"b", "."},  // "l" ended the state with the line
        {U"x #if 0 y", "..CCCCCCC"},
        {U"@ z", "CCC"},  // never closed by text
    });
}

TEST_F(SyntaxHighlighterTest, ContextsAtTopLevelInsideAndEverywhere) {
    ASSERT_TRUE(
        Load("[C:*.c]\n"
             "string:red:\":\"\n"
             "words(,string):yellow:a\n"
             "words(*):green:b\n"
             "words(string):cyan:c\n"
             "symbols(string):magenta:+\n"));
    ExpectLines({
        {U"a b c +", "Y.G...."},
        {U"\"a b c +\"", "RYRGRCRMR"},
    });
}

TEST_F(SyntaxHighlighterTest, StateChangesPushPopAndSwitch) {
    ASSERT_TRUE(
        Load("[C:*.c]\n"
             "state:yellow:tag:<:>\n"
             "state(tag)/w:green:attr:=:\n"
             "statechange(tag):cyan:!:push:attr\n"
             "statechange(attr):red:^:pop\n"
             "statechange(attr):magenta:~:switch:tag\n"
             "statechange:blue::push:tag\n"));
    ExpectLines({
        {U"<a>", "YYY"},
        {U"<a=bc d>", "YYGGGGYY"},  // "w" ends the inner state at the blank, which keeps its colour
        {U"<!x^y>", "YCGRYY"},      // push, then pop back into the tag
        {U"<!x~y>y>", "YCGMYYYY"},  // switch: the inner state gives way to a new tag
    });
}

TEST_F(SyntaxHighlighterTest, TabsAndControlCharactersWithoutAMatch) {
    ASSERT_FALSE(Load("[Text:*.txt]\nwords:yellow:int\n"));
    CellString cells;
    highlighter.ColourLine(U"abc\tint\a\b", cells);
    ASSERT_EQ(cells.Length(), 13);
    for (int i = 3; i < 8; i++)
        EXPECT_EQ(cells.Data()[i].character, U' ') << i;
    EXPECT_EQ(cells.Data()[8].character, U'i');
    EXPECT_EQ(cells.Data()[11].character, U' ');
    EXPECT_EQ(cells.Data()[12].character, U' ');
    for (int i = 0; i < cells.Length(); i++)
        EXPECT_EQ(cells.Data()[i].attribute, ColourOf(ColourFileViewer));
}

TEST_F(SyntaxHighlighterTest, HeadersMasksAndSections) {
    const std::string definition =
        "[Colour Classes]\n"
        "Keyword: yellow\n"
        "Keyword: red\n"
        "[Text]\n"
        "words:green:one\n"
        "[Text:*.txt|*.doc]\n"
        "words:Keyword:two\n"
        "[Other:*.c]\n"
        "words:cyan:three\n"
        "[Text again:*.txt]\n"
        "words:blue:four\n";
    struct TCase {
        const char* file;
        bool matched;
        const char* colours;  // of "one two three four"
    };
    const TCase cases[] = {
        {"a.txt", true, "....YYY.......BBBB"},  // the first colour of a class counts
        {"a.doc", true, "....YYY..........."},
        {"a.c", true, "........CCCCC....."},
        {"a.h", false, ".................."},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Load(definition, c.file), c.matched) << c.file;
        EXPECT_EQ(Colour(U"one two three four"), c.colours) << c.file;
    }
}

TEST_F(SyntaxHighlighterTest, ContinuationLinesAndIncludes) {
    ASSERT_TRUE(qvtest::WriteFileBytes(
        dir.Join(W("more.ini")),
        "[Inc:*.c]\nwords:green:inc\n!include syntax.ini\n!include SYNTAX.INI\n!include ./syntax.ini\n"));
    ASSERT_TRUE(
        Load("[Skipped:*.none]\n"
             "!include more.ini\n"
             "[C:*.c]\n"
             "words:yellow:one \\\n"
             "two\n"
             "statechange:red::pop\n"
             "!include missing.ini\n"));
    ExpectLines({
        {U"one two inc", "YYY.YYY.GGG"},
    });
    // A file being read is not included again: each list is there once.
    EXPECT_EQ(highlighter.definition.wordLists.Count(), 2);
    EXPECT_FALSE(reported.empty());
}

}  // namespace
