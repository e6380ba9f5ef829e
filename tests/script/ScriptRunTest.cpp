// Running a script as a whole: argument words, redirection, what an error
// leaves, and the report of values left alive.
#include "tests/script/ScriptFixture.h"

namespace qvtest {
namespace {

class ScriptRunTest : public ScriptTest {};

TEST_F(ScriptRunTest, ArgumentsAndRedirection) {
    WriteFile("in.txt", "one\r\ntwo\nthree");
    EXPECT_EQ("[\"a\",\"b\"]undefined", Run("print(args, typeOf(stdin));", {"a", "b"}));
    EXPECT_EQ("one|two|three|list",
              Run("for (l : stdin) print(l, \"|\"); print(typeOf(stdin));", {"<" + PathOf("in.txt")}));
    EXPECT_EQ("onetwothree[\"x\"]", Run("for (l : stdin) print(l); print(args);", {"<", PathOf("in.txt"), "x"}));
    // All output goes to the file, error reports included; ">x" and "> x"
    // are the same redirection, and a lone ">" at the end is ignored.
    EXPECT_EQ("", Run("print(args); x = y;", {"a", ">" + PathOf("out.txt"), "b", ">"}));
    EXPECT_EQ("[\"a\",\"b\"]" + Expand("@(1): Undefined variable 'y' at col 18\n"),
              ReadFileBytes(folder.Join(W("out.txt"))));
    EXPECT_EQ("", Run("print(1);", {">", PathOf("out2.txt")}));
    EXPECT_EQ("1", ReadFileBytes(folder.Join(W("out2.txt"))));
}

TEST_F(ScriptRunTest, ErrorsComeAfterTheOutputOfEarlierStatements) {
    EXPECT_EQ(Expand("12@(3): Integer division by zero at col 9\n"), Run("print(1);\nprint(2);\nprint(1 % 0);"));
    EXPECT_TRUE(failed);
    // text the tokenizer refuses is reported before anything runs; the
    // grammar is checked as the statements are reached
    EXPECT_EQ(Expand("@(3): Unterminated literal string at col 7\n"), Run("print(1);\nprint(2);\nprint(\"x);"));
    EXPECT_TRUE(failed);
    EXPECT_EQ(Expand("12@(3): ')' expected at col 8\n"), Run("print(1);\nprint(2);\nprint(1;"));
    EXPECT_EQ("12", Run("print(1);\nprint(2);"));
    EXPECT_FALSE(failed);
    // an error with no position of its own takes the token the run was at
    EXPECT_EQ(Expand("@(2): List index out of range at col 9\n"), Run("l = [];\nx = l[0];"));
    EXPECT_EQ(Expand("@(1): Unexpected symbol '$' at col 10\n"), Run("print(1);$"));
    EXPECT_EQ(Expand("@(1): List index out of range at col 12\n"), Run("x = args[9];"));
}

TEST_F(ScriptRunTest, AFileThatCannotBeOpened) {
    std::string output = RunFile(PathOf("none.qvs"));
    EXPECT_EQ(0u, output.rfind("Unable to open source file: " + PathOf("none.qvs") + ": ", 0)) << output;
    EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace qvtest
