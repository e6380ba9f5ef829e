// The builtins over files that need no screen: the option words and their
// precedence, deleting one file, text files as lists of lines, and the
// argument checks. Copying and moving draw their progress and prompts, so
// the end-to-end tests cover them.
#include "fileops/CopyCommand.h"
#include "fileops/FileOpAnswers.h"
#include "script/builtins/FileOpOptions.h"
#include "script/values/ScriptValue.h"
#include "script/values/ValueHeap.h"
#include "tests/script/ScriptFixture.h"

namespace qvtest {
namespace {

class FileBuiltinsTest : public ScriptTest {};

ValueHandle Words(std::initializer_list<const char*> words) {
    ValueHandle list(CScriptValue::OfType(ScriptList));
    for (const char* word : words)
        list->AppendListItem(ValueHandle(new CScriptValue(Westring(word))));
    return list;
}

TEST(FileOpOptionsTest, CopyFileAndMoveFileWords) {
    CValueHeapScope heap;
    struct {
        std::initializer_list<const char*> words;
        int overwrite;
        int readOnly;
        bool tree;
        int openForWrite;
    } const rows[] = {
        {{}, OverwriteAsk, AnswerAsk, false, AnswerAsk},
        {{"overwrite"}, OverwriteAll, AnswerAsk, false, AnswerAsk},
        // "Overwrite" wins over "NoOverwrite", which wins over
        // "OverwriteOlder", in either order.
        {{"NoOverwrite", "Overwrite"}, OverwriteAll, AnswerAsk, false, AnswerAsk},
        {{"Overwrite", "NoOverwrite"}, OverwriteAll, AnswerAsk, false, AnswerAsk},
        {{"OverwriteOlder", "NOOVERWRITE"}, OverwriteNone, AnswerAsk, false, AnswerAsk},
        {{"OverwriteOlder"}, OverwriteAllOlder, AnswerAsk, false, AnswerAsk},
        {{"DeleteReadOnly", "DeleteTree", "ReadWritten"}, OverwriteAsk, AnswerAll, true, AnswerAll},
        // The copy command's words mean nothing here.
        {{"OverwriteAll", "DerefSymLinks", "Overwrite "}, OverwriteAsk, AnswerAsk, false, AnswerAsk},
    };
    for (const auto& row : rows) {
        ResetFileOpAnswers();
        ValueHandle list = Words(row.words);
        ApplyFileOpOptions(list.Get());
        EXPECT_EQ(row.overwrite, FileOpAnswers.overwrite);
        EXPECT_EQ(row.readOnly, FileOpAnswers.readOnly);
        EXPECT_EQ(row.tree, FileOpAnswers.treeAll);
        EXPECT_EQ(row.openForWrite, FileOpAnswers.openForWrite);
    }
    // Elements that are not strings are passed over.
    ResetFileOpAnswers();
    ValueHandle mixed = Words({"NoOverwrite"});
    mixed->AppendListItem(ValueHandle(new CScriptValue(int64_t(1))));
    ApplyFileOpOptions(mixed.Get());
    EXPECT_EQ(OverwriteNone, FileOpAnswers.overwrite);
    ResetFileOpAnswers();
}

TEST(FileOpOptionsTest, CopyWordsTheLaterWins) {
    CValueHeapScope heap;
    struct {
        std::initializer_list<const char*> words;
        int overwrite;
        int flags;
    } const rows[] = {
        {{}, OverwriteAsk, 0},
        {{"OverwriteNone", "OverwriteAll"}, OverwriteAll, 0},
        {{"OverwriteAll", "overwritenone"}, OverwriteNone, 0},
        {{"OverwriteAllOlder", "DerefSymLinks"}, OverwriteAllOlder, CopyCommandDereference},
        {{"Overwrite", "NoOverwrite"}, OverwriteAsk, 0},
    };
    for (const auto& row : rows) {
        ResetFileOpAnswers();
        ValueHandle list = Words(row.words);
        EXPECT_EQ(row.flags, ApplyCopyOptions(list.Get()));
        EXPECT_EQ(row.overwrite, FileOpAnswers.overwrite);
    }
    ResetFileOpAnswers();
}

TEST(FileOpOptionsTest, SynchronizeWords) {
    CValueHeapScope heap;
    struct {
        std::initializer_list<const char*> words;
        int bits;
    } const rows[] = {
        {{}, 0},
        {{"copymissing"}, SyncWordCopyMissing},
        {{"UpdateOlder", "RevertNewer", "DeleteExtra", "UpdateSmaller", "UpdateLarger", "CopyMissing"}, 63},
        {{"Overwrite", "Copy Missing", "UPDATELARGER"}, SyncWordUpdateLarger},
    };
    for (const auto& row : rows) {
        ValueHandle list = Words(row.words);
        EXPECT_EQ(row.bits, ReadSyncOptionWords(list.Get()));
    }
}

TEST_F(FileBuiltinsTest, DeleteFile) {
    WriteFile("gone.txt", "x");
    CreateDirectoryW(folder.Join(W("dir")).c_str(), nullptr);
    WriteFile("dir\\in.txt", "x");
    std::string gone = Literal("gone.txt");
    std::string dir = Literal("dir");
    EXPECT_EQ("true || bool", Run("r = deleteFile(" + gone + "); print(r, \" |\", getMessage(r), \"| \", typeOf(r));"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.Join(W("gone.txt")).c_str()));
    // A missing file and a directory fail with the system's text and code.
    std::string out = Run("r = deleteFile(" + gone +
                          "); println(r, \" \", endsWith(getMessage(r), \" (2)\"));"
                          "r = deleteFile(" +
                          dir + "); println(r, \" \", len(getMessage(r)) > 0);");
    EXPECT_EQ("false true\r\nfalse true\r\n", out);
    EXPECT_EQ("x", ReadFileBytes(folder.Join(W("dir\\in.txt"))));
    // A failed code is false in a condition, and a copy of it keeps its message.
    EXPECT_EQ("no true", Run("r = deleteFile(" + gone +
                             "); k = r; if (k) print(\"yes\"); else print(\"no\");"
                             "print(\" \", getMessage(k) == getMessage(r));"));
}

TEST_F(FileBuiltinsTest, TextFilesAsLines) {
    std::string path = Literal("lines.txt");
    EXPECT_EQ("list", Run("f = createText(" + path + "); f += \"one\"; f += 2; f += 1.5; print(typeOf(f));"));
    EXPECT_EQ("one\r\n2\r\n1.5\r\n", ReadFileBytes(folder.Join(W("lines.txt"))));
    EXPECT_EQ("<one><2><1.5>", Run("for (l : openText(" + path + ")) print(\"<\", l, \">\");"));
    // Rewriting cuts what was longer.
    Run("f = createText(" + path + "); f += \"x\";");
    EXPECT_EQ("x\r\n", ReadFileBytes(folder.Join(W("lines.txt"))));
    // A missing file reads as none; one that cannot be made stops the script
    // with the file and the reason.
    std::string missing = Literal("none\\x.txt");
    EXPECT_EQ("0|", Run("n = 0; for (l : openText(" + missing + ")) n = n + 1; print(n, \"|\");"));
    std::string out = Run("println(\"before\"); f = createText(" + missing + "); println(\"after\");");
    EXPECT_TRUE(failed);
    EXPECT_EQ(0u, out.find("before\r\nUnable to create text file: " + PathOf("none\\x.txt") + ": ")) << out;
    EXPECT_EQ(std::string::npos, out.find("after")) << out;
}

TEST_F(FileBuiltinsTest, ArgumentChecks) {
    static const TScriptCase cases[] = {
        {"x = copy();", "@(1): Incorrect number of arguments, 1 to 2 required at col 11\n"},
        {"x = copy(\"a\", \"b\");", "@(1): List compatible type required for argument 2 at col 15\n"},
        {"x = copyFile(\"a\");", "@(1): Incorrect number of arguments, 2 to 3 required at col 18\n"},
        {"x = copyFile(\"a\", [], []);", "@(1): String compatible type required for argument 2 at col 19\n"},
        {"x = moveFile(\"a\", \"b\", 5);", "@(1): List compatible type required for argument 3 at col 24\n"},
        {"x = deleteFile();", "@(1): Incorrect number of arguments, 1 required at col 17\n"},
        {"x = openText([]);", "@(1): String compatible type required for argument 1 at col 14\n"},
        {"x = createText(\"a\", \"b\");", "@(1): Incorrect number of arguments, 1 required at col 25\n"},
        {"x = fileFind(\"*\");", "@(1): Incorrect number of arguments, 2 required at col 18\n"},
        {"x = fileFind(\"*\", []);", "@(1): Map compatible type required for argument 2 at col 19\n"},
        {"x = synchronize(\"a\", \"b\");", "@(1): Incorrect number of arguments, 3 to 5 required at col 26\n"},
        {"x = synchronize(\"a\", \"b\", [], \"*\", {});",
         "@(1): String compatible type required for argument 5 at col 36\n"},
        // getMessage takes a return code, or another bool.
        {"x = getMessage();", "@(1): Incorrect number of arguments, 1 required at col 17\n"},
        {"r = deleteFile(\"\"); x = getMessage(r, r);", "@(1): Incorrect number of arguments, 1 required at col 41\n"},
        {"x = getMessage(0);", "@(1): Logical compatible type required for argument 1 at col 16\n"},
        {"x = getMessage(\"\");", "@(1): Logical compatible type required for argument 1 at col 16\n"},
        {"x = getMessage([true]);", "@(1): Logical compatible type required for argument 1 at col 16\n"},
        {"x = getMessage(now());", "@(1): Logical compatible type required for argument 1 at col 16\n"},
        {"x = getMessage(neverSet);", "@(1): Logical compatible type required for argument 1 at col 16\n"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

}  // namespace
}  // namespace qvtest
