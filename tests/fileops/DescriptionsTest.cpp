// Description lines: parsing, quoting, and the lines following copies, moves
// and deletions, with the other lines of the file kept byte for byte.
#include "fileops/Descriptions.h"

#include <gtest/gtest.h>

#include "base/os/FileAttributes.h"
#include "tests/base/os/OsTestSupport.h"
#include "tests/support/TempDir.h"

using qvtest::PathIn;
using qvtest::ReadFileBytes;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(DescriptionLineTest, NamesQuotedUnquotedAndLong) {
    struct Case {
        std::string line;
        const char* name;
        size_t after;
    } cases[] = {
        {"\"my file.txt\"   a text", "my file.txt", 13},
        {"  plain.txt some text", "plain.txt", 11},
        {"alone.txt", "alone.txt", 9},
        {"\"unclosed name rest", "\"unclosed", 9},
        {"\xC3\xA9t\xC3\xA9.txt caf\xC3\xA9", "\xC3\xA9t\xC3\xA9.txt", 9},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        Westring name;
        EXPECT_EQ(c.after, ParseDescriptionLine(c.line.data(), c.line.size(), name)) << c.line;
        EXPECT_EQ(c.name, Utf8(name)) << c.line;
    }
    // Bytes that are not UTF-8 are Latin-1 characters.
    std::string latin("caf\xE9 x");
    Westring name;
    ParseDescriptionLine(latin.data(), latin.size(), name);
    ASSERT_EQ(4, name.Length());
    EXPECT_EQ(0xE9u, static_cast<unsigned>(name[3]));
    // A name longer than 260 characters is cut.
    std::string longLine = std::string(300, 'n') + " text";
    ParseDescriptionLine(longLine.data(), longLine.size(), name);
    EXPECT_EQ(DescriptionNameUnits, name.Length());
}

TEST(DescriptionLineTest, QuotesNamesThatNeedIt) {
    struct Case {
        const char* name;
        const char* line;
    } cases[] = {
        {"a b", "\"a b\" t\r\n"}, {"a,b", "\"a,b\" t\r\n"}, {"-x", "\"-x\" t\r\n"},   {"50%", "\"50%\" t\r\n"},
        {"a&b", "\"a&b\" t\r\n"}, {"a+b", "\"a+b\" t\r\n"}, {"plain", "plain t\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.line, FormatDescriptionLine(Westring(c.name), Westring("t"))) << c.name;
    }
    EXPECT_EQ("empty \r\n", FormatDescriptionLine(Westring("empty"), Westring()));
}

TEST(DescriptionLineTest, DropKeepsOtherLinesAsTheyWere) {
    std::string longLine = "long.txt " + std::string(5000, 'd') + "\r\n";
    std::string contents = "first.txt one\nB.TXT upper\r\n" + longLine + "b.txt lower\r\nlast.txt no end";
    bool found = false;
    // The exact spelling wins over the one that differs in case.
    std::string rest = DropDescriptionLine(contents, Westring("b.txt"), found, nullptr, nullptr);
    EXPECT_TRUE(found);
    EXPECT_EQ("first.txt one\nB.TXT upper\r\n" + longLine + "last.txt no end", rest);
    rest = DropDescriptionLine(contents, Westring("missing"), found, nullptr, nullptr);
    EXPECT_FALSE(found);
    EXPECT_EQ(contents, rest);
    // Without an exact line, one in another case counts unless a file of its
    // own exact name exists.
    std::string upper = "B.TXT upper\r\n";
    auto exists = [](const Westring&, void*) { return true; };
    DropDescriptionLine(upper, Westring("b.txt"), found, exists, nullptr);
    EXPECT_FALSE(found);
    DropDescriptionLine(upper, Westring("b.txt"), found, nullptr, nullptr);
    EXPECT_TRUE(found);
}

class DescriptionFileTest : public ::testing::Test {
protected:
    Westring In(const char* name) { return PathIn(dir, name); }
    std::string Descriptions() { return ReadFileBytes(dir.Join(W("descript.ion"))); }
    bool HasDescriptions() { return FileExists(In("descript.ion")); }
    qvtest::TempDir dir;
    qvtest::TempDir other;
};

TEST_F(DescriptionFileTest, AppendReplacesAndRemoveDeletesTheEmptyFile) {
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("a.txt")), "a"));
    AppendDescription(In("a.txt"), Westring("first"));
    EXPECT_EQ("a.txt first\r\n", Descriptions());
    DWORD attributes = 0;
    ASSERT_EQ(0u, ReadFileAttributes(In("descript.ion"), attributes));
    EXPECT_NE(0u, attributes & 2) << "hidden";
    AppendDescription(In("b c.txt"), Westring("second"));
    AppendDescription(In("a.txt"), Westring("again"));
    EXPECT_EQ("\"b c.txt\" second\r\na.txt again\r\n", Descriptions());
    EXPECT_FALSE(RemoveDescription(In("b c.txt")));
    EXPECT_EQ("a.txt again\r\n", Descriptions());
    EXPECT_TRUE(RemoveDescription(In("a.txt")));
    EXPECT_FALSE(HasDescriptions());
    EXPECT_FALSE(RemoveDescription(In("a.txt")));
}

TEST_F(DescriptionFileTest, CopyAndMoveCarryTheLine) {
    std::string longLine = "keep.txt " + std::string(5000, 'k') + "\n";
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("descript.ion")), longLine + "\"my file.txt\"   its text\r\nnoline.txt\r\n"));
    StdFile source;
    ASSERT_EQ(0u, OpenDescriptionFile(In("my file.txt"), nullptr, source, false, false));
    Westring target = qvtest::PathIn(other, "copy name.txt");
    CopyDescription(In("my file.txt"), target, source);
    EXPECT_EQ("\"copy name.txt\" its text\r\n", ReadFileBytes(other.Join(W("descript.ion"))));
    // A name without description copies as the name and one blank.
    CopyDescription(In("noline.txt"), qvtest::PathIn(other, "n.txt"), source);
    EXPECT_EQ("\"copy name.txt\" its text\r\nn.txt \r\n", ReadFileBytes(other.Join(W("descript.ion"))));
    // A file without a line copies nothing and makes no file.
    qvtest::TempDir third;
    CopyDescription(In("none.txt"), qvtest::PathIn(third, "none.txt"), source);
    EXPECT_FALSE(FileExists(qvtest::PathIn(third, "descript.ion")));

    CHeldDescriptionFile held(source);
    MoveDescription(In("my file.txt"), qvtest::PathIn(other, "moved.txt"), source);
    EXPECT_EQ(longLine + "noline.txt\r\n", Descriptions());
    EXPECT_NE(std::string::npos, ReadFileBytes(other.Join(W("descript.ion"))).find("moved.txt its text\r\n"));
    // The held reader was opened again on the new file.
    ASSERT_TRUE(source.IsOpen());
    CopyDescription(In("keep.txt"), qvtest::PathIn(other, "k.txt"), source);
    EXPECT_NE(std::string::npos, ReadFileBytes(other.Join(W("descript.ion"))).find("k.txt " + std::string(5000, 'k')));
}

TEST_F(DescriptionFileTest, RenameWithinTheDirectoryKeepsTheLineInPlace) {
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("descript.ion")), "one.txt 1\r\nfoo.txt the text\r\nthree.txt 3\n"));
    // The file itself is renamed first, as a move does.
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("Foo.txt")), "f"));
    StdFile source;
    OpenDescriptionFile(In("foo.txt"), nullptr, source, false, false);
    MoveDescription(In("foo.txt"), In("Foo.txt"), source);
    EXPECT_EQ("one.txt 1\r\nFoo.txt the text\r\nthree.txt 3\n", Descriptions());
}

}  // namespace
