#include "base/io/TextFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/base/os/OsTestSupport.h"

using qvtest::PathIn;
using qvtest::ReadFileBytes;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += char(v);
    return out;
}

// The code points of a text in each encoding, as the file would hold them.
std::string Encode(const std::u32string& text, int encoding, bool withMark) {
    std::string out;
    auto put = [&](uint32_t unit, int width, bool big) {
        for (int k = 0; k < width; k++)
            out += char(unit >> (8 * (big ? width - 1 - k : k)));
    };
    switch (encoding) {
    case CTextFile::EncodingUtf32LE:
    case CTextFile::EncodingUtf32BE: {
        bool big = encoding == CTextFile::EncodingUtf32BE;
        if (withMark)
            put(0xFEFF, 4, big);
        for (char32_t c : text)
            put(c, 4, big);
        break;
    }
    case CTextFile::EncodingUtf16LE:
    case CTextFile::EncodingUtf16BE: {
        bool big = encoding == CTextFile::EncodingUtf16BE;
        if (withMark)
            put(0xFEFF, 2, big);
        for (char32_t c : text) {
            if (c >= 0x10000) {
                put(((c - 0x10000) >> 10) | 0xD800, 2, big);
                put((c & 0x3FF) | 0xDC00, 2, big);
            } else {
                put(c, 2, big);
            }
        }
        break;
    }
    default: {
        if (withMark)
            out += "\xEF\xBB\xBF";
        Estring utf8(Westring(text.c_str()));
        out.append(utf8.Data(), size_t(utf8.Length()));
        break;
    }
    }
    return out;
}

std::u32string Line(const char32_t* line, int64_t length) {
    return std::u32string(line, size_t(length));
}

class TextFileTest : public ::testing::Test {
protected:
    Westring Make(const std::string& bytes, const char* name = "text.txt") {
        EXPECT_TRUE(WriteFileBytes(dir.Join(W(name)), bytes));
        return PathIn(dir, name);
    }
    // Every line of the file with its line-end kind.
    std::vector<std::pair<std::u32string, int>> Lines(CTextFile& file, int64_t maximum = -1) {
        std::vector<std::pair<std::u32string, int>> lines;
        int64_t length = 0;
        while (const char32_t* line = file.ReadLine(length, maximum))
            lines.push_back({Line(line, length), file.LastLineEnd()});
        return lines;
    }
    qvtest::TempDir dir;
};

TEST_F(TextFileTest, EncodingComesFromTheMarkOrFromTheText) {
    std::string utf16Text = Encode(U"one two\nthree", CTextFile::EncodingUtf16LE, false);
    std::string utf16BigText = Encode(U"one two\nthree", CTextFile::EncodingUtf16BE, false);
    std::string validUtf8(40000, 'a');
    validUtf8.replace(10, 2, "\xC3\xA9");
    std::string strayEarly = validUtf8;
    strayEarly[20000] = char(0x80);
    std::string strayLate = validUtf8;
    strayLate[35000] = char(0x80);
    struct {
        const char* what;
        std::string bytes;
        int encoding;
        int markLength;
    } cases[] = {
        {"UTF-32LE mark", Bytes({0xFF, 0xFE, 0, 0, 0x41, 0, 0, 0}), CTextFile::EncodingUtf32LE, 4},
        {"UTF-32BE mark", Bytes({0, 0, 0xFE, 0xFF, 0, 0, 0, 0x41}), CTextFile::EncodingUtf32BE, 4},
        {"UTF-16LE mark", Bytes({0xFF, 0xFE, 0x41, 0}), CTextFile::EncodingUtf16LE, 2},
        {"UTF-16LE mark alone", Bytes({0xFF, 0xFE}), CTextFile::EncodingUtf16LE, 2},
        {"UTF-16BE mark", Bytes({0xFE, 0xFF, 0, 0x41}), CTextFile::EncodingUtf16BE, 2},
        {"UTF-8 mark", "\xEF\xBB\xBFx", CTextFile::EncodingUtf8, 3},
        {"one byte like a mark", Bytes({0xFE}), CTextFile::EncodingCodePage, 0},
        {"UTF-8 text", "caf\xC3\xA9\n", CTextFile::EncodingUtf8, 0},
        {"plain ASCII", "plain text\n", CTextFile::EncodingCodePage, 0},
        {"empty", "", CTextFile::EncodingCodePage, 0},
        {"UTF-16LE text", utf16Text, CTextFile::EncodingUtf16LE, 0},
        {"UTF-16BE text", utf16BigText, CTextFile::EncodingUtf16BE, 0},
        {"UTF-16 without line feed", Encode(U"one two three", CTextFile::EncodingUtf16LE, false),
         CTextFile::EncodingCodePage, 0},
        {"UTF-32LE text", Encode(U"a b\nc", CTextFile::EncodingUtf32LE, false), CTextFile::EncodingUtf32LE, 0},
        {"UTF-8 with a stray byte early", strayEarly, CTextFile::EncodingCodePage, 0},
        {"UTF-8 with a stray byte late", strayLate, CTextFile::EncodingUtf8, 0},
    };
    for (const auto& c : cases) {
        CTextFile file;
        ASSERT_EQ(0u, file.Open(Make(c.bytes), StdFile::ModeRead)) << c.what;
        EXPECT_EQ(c.encoding, file.Encoding()) << c.what;
        EXPECT_EQ(c.markLength, file.ByteOrderMarkLength()) << c.what;
        EXPECT_EQ(c.markLength > 0, file.HasByteOrderMark()) << c.what;
    }
}

TEST_F(TextFileTest, LineEndsAreReadWithTheirKindsInEveryEncoding) {
    const std::u32string text = U"a\r\nb\nc\rd";
    for (int encoding : {CTextFile::EncodingUtf8, CTextFile::EncodingUtf16LE, CTextFile::EncodingUtf16BE,
                         CTextFile::EncodingUtf32LE, CTextFile::EncodingUtf32BE}) {
        CTextFile file;
        ASSERT_EQ(0u, file.Open(Make(Encode(text, encoding, true)), StdFile::ModeRead));
        ASSERT_EQ(encoding, file.Encoding());
        std::vector<std::pair<std::u32string, int>> expected = {{U"a", 0}, {U"b", 1}, {U"c", 2}, {U"d", 5}};
        EXPECT_EQ(expected, Lines(file)) << encoding;
        EXPECT_EQ(CTextFile::LineEndMixed, file.FileLineEnd()) << encoding;
    }

    // LF LF, LF CR, CR NUL and CR CR are two line ends each; CR LF is one.
    struct Case {
        std::string bytes;
        std::vector<std::pair<std::u32string, int>> lines;
    };
    const Case cases[] = {
        {std::string("a\n\nb\n\r\0c", 8), {{U"a", 1}, {U"", 1}, {U"b", 1}, {U"", 2}, {U"", 3}, {U"c", 5}}},
        {"a\r\rb", {{U"a", 2}, {U"", 2}, {U"b", 5}}},
        {"a\r\r\nb", {{U"a", 2}, {U"", 0}, {U"b", 5}}},
        {"a\r\n\rb", {{U"a", 0}, {U"", 2}, {U"b", 5}}},
        {"a\r\r\r", {{U"a", 2}, {U"", 2}, {U"", 2}}},
    };
    for (const Case& c : cases) {
        CTextFile file;
        ASSERT_EQ(0u, file.Open(Make(c.bytes), StdFile::ModeRead));
        EXPECT_EQ(c.lines, Lines(file)) << testing::PrintToString(c.bytes);
    }
}

TEST_F(TextFileTest, EmptyFileAndLongLines) {
    CTextFile empty;
    ASSERT_EQ(0u, empty.Open(Make("", "empty.txt"), StdFile::ModeRead));
    int64_t length = 7;
    EXPECT_EQ(nullptr, empty.ReadLine(length));
    EXPECT_EQ(0, length);
    EXPECT_EQ(CTextFile::LineEndCrLf, empty.FileLineEnd());
    EXPECT_EQ(CTextFile::EncodingCodePage, empty.Encoding());

    // Pieces of the maximum length, none of the line lost between them.
    CTextFile file;
    ASSERT_EQ(0u, file.Open(Make("abcdefghij\nxy\n"), StdFile::ModeRead));
    std::vector<std::pair<std::u32string, int>> expected = {{U"abcd", 5}, {U"efgh", 5}, {U"ij", 1}, {U"xy", 1}};
    EXPECT_EQ(expected, Lines(file, 4));

    // A line far longer than the first line buffer.
    std::string longLine(300000, 'z');
    CTextFile big;
    ASSERT_EQ(0u, big.Open(Make(longLine + "\nend", "long.txt"), StdFile::ModeRead));
    const char32_t* line = big.ReadLine(length);
    ASSERT_NE(nullptr, line);
    EXPECT_EQ(300000, length);
    EXPECT_EQ(U'z', line[299999]);
    line = big.ReadLine(length);
    ASSERT_NE(nullptr, line);
    EXPECT_EQ(U"end", Line(line, length));
}

TEST_F(TextFileTest, MalformedUtf8NeverEndsOrSwallowsALine) {
    // Valid UTF-8 in the part looked at decides the encoding; the faults
    // come after it.
    std::string head = "caf\xC3\xA9 " + std::string(33000, 'a') + "\n";
    std::string faults =
        "x\x80y\n"
        "lead\xC3\n"
        "next\n"
        "cut\xE2\x82";
    CTextFile file;
    ASSERT_EQ(0u, file.Open(Make(head + faults), StdFile::ModeRead));
    ASSERT_EQ(CTextFile::EncodingUtf8, file.Encoding());
    auto lines = Lines(file);
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ(U"x\uFFFDy", lines[1].first);
    EXPECT_EQ(U"lead\uFFFD", lines[2].first);
    EXPECT_EQ(CTextFile::LineEndLf, lines[2].second);
    EXPECT_EQ(U"next", lines[3].first);
    EXPECT_EQ(U"cut\uFFFD\uFFFD", lines[4].first);
    EXPECT_EQ(4, file.BadSequences());
}

// A pass in large pieces (the editor's load) reads what a pass character by
// character reads: the same lines, line ends and faults, wherever a piece
// boundary cuts a sequence, a line end or a run of plain bytes. The patterns'
// lengths put the boundaries at a different place in each.
TEST_F(TextFileTest, SequentialReadingGivesWhatReadingByCharacterGives) {
    struct TCase {
        const char* name;
        std::string pattern;
        int encoding;
        bool keepNul;
    };
    const TCase cases[] = {
        {"UTF-8", "\xC3\xA9\xE2\x82\xAC\r\n\xF0\x9F\x98\x80x\n", CTextFile::EncodingUtf8, true},
        {"UTF-8 faults", "ok\x80y\rlead\xC3\n\xE2\x82\n", CTextFile::EncodingUtf8, true},
        {"code page", "caf\xE9\r\n\x00x\rY\n\xFF", CTextFile::EncodingCodePage, true},
        {"code page, NUL as a blank", "caf\xE9\r\n\x00x\rY\n\xFF", CTextFile::EncodingCodePage, false},
        {"UTF-16", std::string("a\0\r\0\n\0", 6), CTextFile::EncodingUtf16LE, true},
    };
    for (const TCase& c : cases) {
        std::string bytes;
        while (bytes.size() < (9u << 18))
            bytes += c.pattern;
        Westring path = Make(bytes, "pieces.txt");
        std::vector<std::pair<std::u32string, int>> lines[2];
        int bad[2], kind[2];
        for (int sequential = 0; sequential < 2; sequential++) {
            CTextFile file;
            file.SetEncoding(c.encoding);
            file.SetCodePage(1252);
            file.SetKeepNul(c.keepNul);
            ASSERT_EQ(0u, file.Open(path, StdFile::ModeRead)) << c.name;
            file.SetSequential(sequential != 0);
            lines[sequential] = Lines(file);
            bad[sequential] = file.BadSequences();
            kind[sequential] = file.FileLineEnd();
        }
        ASSERT_EQ(lines[0].size(), lines[1].size()) << c.name;
        size_t first = 0;
        while (first < lines[0].size() && lines[0][first] == lines[1][first])
            first++;
        EXPECT_EQ(first, lines[0].size()) << c.name << ": line " << first << " differs";
        EXPECT_EQ(bad[0], bad[1]) << c.name;
        EXPECT_EQ(kind[0], kind[1]) << c.name;
        EXPECT_GT(lines[0].size(), 100000u) << c.name;
    }
}

TEST_F(TextFileTest, PrevCharStepsBackOverWholeCharacters) {
    const std::u32string text = U"a\u00E9\u20AC\U0001F600";
    for (int encoding : {CTextFile::EncodingUtf8, CTextFile::EncodingUtf16LE, CTextFile::EncodingUtf16BE,
                         CTextFile::EncodingUtf32BE}) {
        std::string bytes = Encode(text, encoding, true);
        CTextFile file;
        ASSERT_EQ(0u, file.Open(Make(bytes), StdFile::ModeRead));
        file.SetCharPosition(int64_t(bytes.size()));
        std::u32string backwards;
        for (uint32_t c = file.PrevChar(); c != CTextFile::NoChar; c = file.PrevChar())
            backwards += char32_t(c);
        EXPECT_EQ(U"\U0001F600\u20AC\u00E9a", backwards) << encoding;
        EXPECT_EQ(file.ByteOrderMarkLength(), file.CharPosition()) << encoding;
    }
}

TEST_F(TextFileTest, FindInBothDirectionsAgrees) {
    for (int encoding : {CTextFile::EncodingUtf8, CTextFile::EncodingUtf16LE}) {
        std::string bytes = Encode(U"The cat sat on the mat, concatenated.\n", encoding, true);
        CTextFile file;
        ASSERT_EQ(0u, file.Open(Make(bytes), StdFile::ModeRead));
        int64_t end = int64_t(bytes.size());
        int width = encoding == CTextFile::EncodingUtf8 ? 1 : 2;
        int64_t mark = file.ByteOrderMarkLength();
        Westring pattern("MAT");
        struct {
            const char* text;
            bool caseSensitive, wholeWords, backwards;
            int64_t character;  // index in the text, -1 for none
        } cases[] = {
            {"mat", true, false, false, 19},     {"mat", true, false, true, 19},  {"MAT", false, false, false, 19},
            {"MAT", true, false, false, -1},     {"cat", false, false, false, 4}, {"cat", false, false, true, 27},
            {"cat", false, true, true, 4},       {"con", false, true, false, -1}, {"the", false, true, true, 15},
            {"nated.", false, false, false, 31},
        };
        for (const auto& c : cases) {
            int64_t found =
                file.Find(Westring(c.text), c.backwards ? end : -1, c.caseSensitive, c.wholeWords, c.backwards);
            int64_t expected = c.character < 0 ? -2 : mark + c.character * width;
            EXPECT_EQ(expected, found) << c.text << " backwards " << c.backwards << " encoding " << encoding;
        }
        // The caller's pattern is left as it was.
        file.Find(pattern, -1, false, false, true);
        EXPECT_TRUE(pattern.EqualsExact(Westring("MAT")));
    }
}

TEST_F(TextFileTest, RewriteKeepsEncodingMarkAndLineEnds) {
    const std::u32string text = U"first \U0001F600\r\nsecond\nthird";
    for (int encoding : {CTextFile::EncodingUtf8, CTextFile::EncodingUtf16LE, CTextFile::EncodingUtf16BE,
                         CTextFile::EncodingUtf32LE, CTextFile::EncodingUtf32BE}) {
        std::string original = Encode(text, encoding, true);
        Westring path = Make(original);
        CTextFile file;
        ASSERT_EQ(0u, file.Open(path, 11));
        auto lines = Lines(file);
        ASSERT_EQ(3u, lines.size());

        ASSERT_EQ(0u, file.BeginRewrite());
        for (const auto& line : lines)
            ASSERT_EQ(0u, file.WriteLine(line.first.c_str(), line.second));
        ASSERT_EQ(0u, file.EndRewrite());
        EXPECT_EQ(original, ReadFileBytes(dir.Join(W("text.txt")))) << encoding;

        // Shorter text: the file is cut, and reading sees the new contents.
        ASSERT_EQ(0u, file.BeginRewrite());
        ASSERT_EQ(0u, file.WriteLine(U"new", CTextFile::LineEndLf));
        ASSERT_EQ(0u, file.EndRewrite());
        EXPECT_EQ(Encode(U"new\n", encoding, true), ReadFileBytes(dir.Join(W("text.txt")))) << encoding;
        file.SetCharPosition(0);
        std::vector<std::pair<std::u32string, int>> expected = {{U"new", 1}};
        EXPECT_EQ(expected, Lines(file)) << encoding;
    }
}

TEST_F(TextFileTest, UnitsAboveTheBasicPlaneBecomeSurrogatePairs) {
    Westring path = Make(Bytes({0xFE, 0xFF}));
    CTextFile file;
    ASSERT_EQ(0u, file.Open(path, 11));
    ASSERT_EQ(CTextFile::EncodingUtf16BE, file.Encoding());
    ASSERT_EQ(0u, file.BeginRewrite());
    ASSERT_EQ(0u, file.WriteLine(U"\U0001F600", CTextFile::LineEndNul));
    ASSERT_EQ(0u, file.EndRewrite());
    EXPECT_EQ(Bytes({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00, 0x00, 0x00}), ReadFileBytes(dir.Join(W("text.txt"))));
}

TEST_F(TextFileTest, CodePageFilesReadThroughTheCodePageAndWriteBack) {
    std::string latin =
        "gr\xFC\xDF"
        "e\r\nzwei\r\n";  // Latin-1 / code page 1252
    Westring path = Make(latin);
    CTextFile file;
    file.SetCodePage(1252);
    ASSERT_EQ(0u, file.Open(path, 11));
    ASSERT_EQ(CTextFile::EncodingCodePage, file.Encoding());
    EXPECT_EQ(Estring("CP1252"), file.GetEncodingName());
    auto lines = Lines(file);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(U"gr\u00FC\u00DFe", lines[0].first);
    EXPECT_EQ(CTextFile::LineEndCrLf, file.FileLineEnd());

    ASSERT_EQ(0u, file.BeginRewrite());
    for (const auto& line : lines)
        ASSERT_EQ(0u, file.WriteLine(line.first.c_str(), line.second));
    ASSERT_EQ(0u, file.EndRewrite());
    EXPECT_EQ(latin, ReadFileBytes(dir.Join(W("text.txt"))));
}

TEST_F(TextFileTest, EncodingNames) {
    struct {
        int encoding;
        const char* name;
    } cases[] = {{0, "UTF-32"}, {1, "UTF-32"}, {2, "UTF-16"}, {3, "UTF-16"}, {4, "UTF-8"}, {5, "CP437"}, {6, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(Estring(c.name), CTextFile::EncodingName(c.encoding, 437)) << c.encoding;
}

}  // namespace
