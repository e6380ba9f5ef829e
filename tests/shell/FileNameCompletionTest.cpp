#include "shell/FileNameCompletion.h"

#include "base/os/CurrentDirectory.h"
#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qvtest::TempDir;
using qvtest::W;
using shelltest::Narrow;
using shelltest::Wide;

class FileNameCompletionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"alpha.txt", "alpine.txt", "beta.c", "beta.h", "gamma.txt"}) {
            ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), "x"));
        }
        ASSERT_TRUE(CreateDirectoryW(dir.Join(W("gammas")).c_str(), nullptr));
        base = Narrow(Wide(dir.Path()));
    }
    TempDir dir;
    std::string base;
};

TEST_F(FileNameCompletionTest, AWordWithADirectoryCompletesToTheCommonBeginning) {
    struct Case {
        const char* word;  // after the directory and "\"
        bool found;
        const char* result;  // likewise
        bool whole;
    } cases[] = {
        {"alph", true, "alpha.txt", true},  {"ALPI", true, "alpine.txt", true},  // the case of the name on disk
        {"al", true, "alp", false},         {"B", true, "beta.", false},  // the beginning as the names on disk spell it
        {"gammas", true, "gammas\\", true},                               // a directory ends in "\"
        {"zz", false, "", false},
    };
    for (const Case& c : cases) {
        CFileNameCompletion completion;
        Westring result;
        Westring word((base + "\\" + c.word).c_str());
        SCOPED_TRACE(c.word);
        EXPECT_EQ(c.found, completion.CompleteFromDirectory(word, result));
        EXPECT_EQ(c.found ? base + "\\" + c.result : std::string(), Narrow(result));
        EXPECT_EQ(c.whole, completion.SingleMatch());
    }
}

TEST_F(FileNameCompletionTest, AfterARootNoSecondBackslashIsAdded) {
    std::string root = base.substr(0, 3);  // "X:\"
    ChangeDirectory(Wide(dir.Path()));
    std::string below = base.substr(3) + "\\alph";
    struct Case {
        std::string word;
        std::string result;
    } cases[] = {
        {root + below, root + base.substr(3) + "\\alpha.txt"},
        {"\\" + below, "\\" + base.substr(3) + "\\alpha.txt"},
    };
    for (const Case& c : cases) {
        CFileNameCompletion completion;
        Westring result;
        EXPECT_TRUE(completion.CompleteFromDirectory(Westring(c.word.c_str()), result)) << c.word;
        EXPECT_EQ(c.result, Narrow(result));
    }
}

TEST_F(FileNameCompletionTest, AWordWithoutDirectoryIsAProgramOfTheCurrentDirectoryOrPath) {
    TempDir programs;
    shelltest::CSearchPathScope path(Wide(programs.Path()));
    ASSERT_TRUE(qvtest::WriteFileBytes(programs.Join(W("mytool.exe")), shelltest::ConsoleProgramBytes()));
    ASSERT_TRUE(qvtest::WriteFileBytes(programs.Join(W("mytext.txt")), "not a program"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("runme.bat")), "echo"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("rundown.cmd")), "echo"));
    ChangeDirectory(Wide(dir.Path()));
    struct Case {
        const char* word;
        bool found;
        const char* result;
    } cases[] = {
        {"myt", true, "mytool.exe"},  // the text file is no program
        {"MYT", true, "mytool.exe"},
        {"ru", true, "run"},
        {"alph", false, ""},  // a file, but no program
    };
    for (const Case& c : cases) {
        CFileNameCompletion completion;
        Westring result;
        EXPECT_EQ(c.found, completion.Complete(Westring(c.word), result)) << c.word;
        EXPECT_EQ(c.result, Narrow(result)) << c.word;
    }
}

}  // namespace
