// The tokenizer: kinds, numbers, literals, comments, positions, directives
// and every error it raises.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/io/EError.h"
#include "script/ScriptErrors.h"
#include "script/ScriptTokenizer.h"
#include "tests/support/TempDir.h"

namespace qvtest {
namespace {

class TokenizerTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return U8(folder.Join(W(name))); }
    void WriteFile(const std::string& name, const std::string& bytes) const {
        ASSERT_TRUE(WriteFileBytes(folder.Join(W(name)), bytes));
    }

    // Tokenizes the text as t.qvs; each token as "kind:line:column" plus
    // ":text" for words and literals, and its value for numbers.
    std::vector<std::string> Tokens(const std::string& text) {
        WriteFile("t.qvs", text);
        WestringStore sources;
        sources.Add(new Westring(PathOf("t.qvs").c_str()));
        CScriptTokenizer tokenizer(sources);
        tokenizer.TokenizeAll();
        std::vector<std::string> out;
        for (int i = 0; i < tokenizer.TokenCount(); i++)
            out.push_back(Describe(tokenizer, *tokenizer.TokenAt(i)));
        end = std::to_string(tokenizer.EndToken()->line) + ":" + std::to_string(tokenizer.EndToken()->column);
        return out;
    }
    static std::string Describe(CScriptTokenizer& tokenizer, const CToken& token) {
        std::string text =
            std::to_string(token.kind) + ":" + std::to_string(token.line) + ":" + std::to_string(token.column);
        if (token.kind == TokenIdentifier || token.kind == TokenString) {
            Estring utf8;
            static_cast<const CIdentifier*>(token.record)->text.ToUtf8(utf8);
            text += std::string(":") + utf8.Data();
        } else if (token.kind == TokenKeyword) {
            Estring utf8;
            static_cast<const Westring*>(token.record)->ToUtf8(utf8);
            text += std::string(":") + utf8.Data();
        } else if (token.kind == TokenInteger) {
            text += ":" + std::to_string(token.integer);
        } else if (token.kind == TokenReal) {
            char buffer[64];
            snprintf(buffer, sizeof buffer, ":%g", token.real);
            text += buffer;
        }
        (void)tokenizer;
        return text;
    }
    // The text of the error the text raises, "" when none.
    std::string ErrorOf(const std::string& text) {
        try {
            Tokens(text);
        } catch (const EError& error) {
            Estring utf8;
            error.GetText().ToUtf8(utf8);
            std::string message = utf8.Data();
            std::string path = PathOf("t.qvs");
            if (message.compare(0, path.size(), path) == 0)
                message = "@" + message.substr(path.size());
            return message;
        }
        return "";
    }

    std::string end;
    TempDir folder;
};

using List = std::vector<std::string>;

TEST_F(TokenizerTest, OperatorsByLongestMatch) {
    EXPECT_EQ(List({"5:1:1",   "6:1:2",   "7:1:3",   "8:1:4",   "9:1:5",   "11:1:6",  "12:1:7",  "13:1:8",
                    "14:1:9",  "15:1:10", "16:1:11", "17:1:12", "18:1:13", "19:1:14", "20:1:15", "21:1:16",
                    "24:1:17", "25:1:18", "28:1:19", "29:1:20", "32:1:21", "33:1:22", "39:1:23"}),
              Tokens("(){},/;=?:+-*%^!<>&|[]."));
    EXPECT_EQ(List({"22:1:1", "23:1:4", "26:1:7", "27:1:10", "28:1:13", "29:1:16", "30:1:19", "31:1:22", "34:1:25",
                    "35:1:28", "36:1:31", "37:1:34", "38:1:37"}),
              Tokens("== != <= >= && || ++ -- => += -= *= /="));
    // "*/" outside a comment is two tokens
    EXPECT_EQ(List({"18:1:1", "11:1:2"}), Tokens("*/"));
}

TEST_F(TokenizerTest, WordsNumbersAndLiterals) {
    EXPECT_EQ(List({"0:1:1:while", "1:1:7:whilex", "1:1:14:_a1", "0:1:18:true"}), Tokens("while whilex _a1 true"));
    EXPECT_EQ(List({"4:1:1:3", "4:1:4:3.25", "3:1:9:12", "1:1:11:abc", "39:1:15", "3:1:16:5"}),
              Tokens("3. 3.25 12abc .5"));
    EXPECT_EQ(List({"3:1:1:-1"}), Tokens("18446744073709551615"));
    EXPECT_EQ(List({"2:1:1:a\"b", "2:1:8:\t|\\|\"|\n|\r|x"}), Tokens("\"a\"\"b\" \"\\t|\\\\|\\\"|\\n|\\r|\\x\""));
    EXPECT_EQ(List({"2:1:1:one\ntwo", "1:2:6:x"}), Tokens("\"one\ntwo\" x"));
    // a closing quote at the very end of the input ends the literal
    EXPECT_EQ(List({"1:1:1:x", "2:1:3:end"}), Tokens("x \"end\""));
}

TEST_F(TokenizerTest, PositionsCommentsAndTheEnd) {
    EXPECT_EQ(List({"1:1:9:a", "1:2:1:b", "1:2:3:c", "1:3:9:d"}), Tokens("\ta\r\nb c\r\n \td"));
    EXPECT_EQ(List({"1:1:1:a", "1:4:4:b"}), Tokens("a /* x /* y */\n z */\n// c\n   b // d"));
    EXPECT_EQ("4:9", end);
    EXPECT_EQ(List({}), Tokens(" \n "));
}

TEST_F(TokenizerTest, Errors) {
    struct {
        const char* text;
        const char* error;
    } const cases[] = {
        {"x = \"abc", "@(1): Unterminated literal string at col 5"},
        {"x = \"abc\\", "@(1): Unterminated literal string at col 5"},
        {"a\n /* /* */ b", "@(2): Unterminated comment at col 2"},
        {"x = 1 $ 2", "@(1): Unexpected symbol '$' at col 7"},
        {"x = \xE2\x82\xAC;", "@(1): Unexpected symbol '\xE2\x82\xAC' at col 5"},
        {"caf\xC3\xA9 = 1;", "@(1): Unexpected symbol '\xC3\xA9' at col 4"},
        {"# include \"a\"", "@(1): Unrecognised preprocessor instruction at col 1"},
        {"#inclusion \"a\"", "@(1): Unrecognised preprocessor instruction at col 1"},
        {"#include x", "@(1): String expected at col 10"},
        {"#include", "@(1): String expected at col 8"},
        {"\n  #include \"missing.qvs\"", "@(2): Include file not found at col 12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.error, ErrorOf(c.text));
    }
}

TEST_F(TokenizerTest, IncludesAreReadOnceWhereTheDirectiveStands) {
    WriteFile("inc.qvs", "b c");
    EXPECT_EQ(List({"1:1:1:a", "1:1:1:b", "1:1:3:c", "1:3:1:d"}),
              Tokens("a #include \"inc.qvs\"\n#include \"inc.qvs\"\nd"));
}

TEST_F(TokenizerTest, SourceFilesThatCannotBeOpened) {
    WestringStore sources;
    sources.Add(new Westring(PathOf("none.qvs").c_str()));
    CScriptTokenizer tokenizer(sources);
    try {
        tokenizer.TokenizeAll();
        FAIL() << "no error";
    } catch (const EFileError& error) {
        Estring text;
        error.GetText().ToUtf8(text);
        EXPECT_EQ(0, std::string(text.Data()).rfind("Unable to open source file: " + PathOf("none.qvs") + ": ", 0))
            << text.Data();
    }
    // a later file of the list that cannot be opened is reported too
    WriteFile("t.qvs", "a");
    WestringStore two;
    two.Add(new Westring(PathOf("t.qvs").c_str()));
    two.Add(new Westring(PathOf("none.qvs").c_str()));
    CScriptTokenizer second(two);
    EXPECT_THROW(second.TokenizeAll(), EFileError);
}

TEST_F(TokenizerTest, IdentifierNumbersInOrderOfFirstUse) {
    CIdentifierSet set;
    EXPECT_EQ(0u, set.Intern(Westring("b")));
    EXPECT_EQ(1u, set.Intern(Westring("a")));
    EXPECT_EQ(0u, set.Intern(Westring("b")));
    EXPECT_EQ(2u, set.Intern(Westring("B")));
    EXPECT_TRUE(set.Text(1).EqualsExact(Westring("a")));
    EXPECT_TRUE(set.Text(7).EqualsExact(Westring("**unknown**")));
}

}  // namespace
}  // namespace qvtest
