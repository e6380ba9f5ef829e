// qvhost -x FILE: the file a POSIX shell sources to land where the program's
// active panel was, safe whatever the directory's name holds.
#include "host/ShellExitFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tests/support/ShellCommand.h"

using namespace qvhost;

namespace {

namespace fs = std::filesystem;

using qvtest::RunShell;

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

class ShellExitFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/qv-exitfile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    // The batch record the program writes for a POSIX directory (C: is /).
    std::string RecordFor(const std::string& posix) {
        std::string rest = posix;
        for (char& c : rest) {
            if (c == '/')
                c = '\\';
        }
        return "C:\r\ncd \"" + rest + "\"\r\n";
    }
    std::string dir;
};

}  // namespace

TEST(ShellExitFile, SingleQuotesHoldAnything) {
    struct Case {
        const char* text;
        const char* quoted;
    };
    const Case cases[] = {
        {"/home/u", "'/home/u'"},
        {"it's", "'it'\\''s'"},
        {"''", "''\\'''\\'''"},
        {"q\"x & echo pwned", "'q\"x & echo pwned'"},
        {"$(touch x) `y` \\ \n", "'$(touch x) `y` \\ \n'"},
        {"", "''"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShellQuote(c.text), c.quoted) << c.text;
    }
}

TEST(ShellExitFile, TheDirectoryOfABatchRecord) {
    struct Case {
        std::string record;
        bool ok;
        const char* path;
    };
    const Case cases[] = {
        {"C:\r\ncd \"\\home\\u\"\r\n", true, "C:\\home\\u"},
        {"d:\r\ncd \"\\\"\r\n", true, "d:\\"},
        {"C:\r\ncd \"\\q\"x & echo pwned\"\r\n", true, "C:\\q\"x & echo pwned"},
        {"C:\r\ncd \"\\two\r\nlines\"\r\n", true, "C:\\two\r\nlines"},
        {"C:\ncd \"\\u\"\n", false, ""},
        {"1:\r\ncd \"\\u\"\r\n", false, ""},
        {"C:\r\ncd \"\\u\"", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string path;
        EXPECT_EQ(DirectoryOfBatchRecord(c.record, path), c.ok) << c.record;
        if (c.ok) {
            EXPECT_EQ(path, c.path);
        }
    }
}

TEST(ShellExitFile, TheExitFileOptionIsFoundAsTheProgramReadsItsOptions) {
    struct Case {
        std::vector<std::string> args;
        int index;
        const char* file;
    };
    const Case cases[] = {
        {{"-x", "/tmp/f"}, 1, "/tmp/f"},
        {{"-X", "/tmp/f"}, 1, "/tmp/f"},
        {{"/x", "/tmp/f"}, 1, "/tmp/f"},
        {{"-l", "-x", "-x", "f"}, 3, "f"},  // -l takes the next word, whatever it is
        {{"ini.file", "-r", "C:\\", "-x", "g"}, 4, "g"},
        {{"-s", "script", "-x", "f"}, -1, ""},  // the script's own arguments
        {{"-x"}, -1, ""},
        {{"-v", "file"}, -1, ""},
        {{}, -1, ""},
    };
    for (const Case& c : cases) {
        HostArguments a = ReadHostArguments(c.args);
        EXPECT_EQ(a.exitFileIndex, c.index) << ::testing::PrintToString(c.args);
        EXPECT_EQ(a.exitFile, c.file) << ::testing::PrintToString(c.args);
        EXPECT_EQ(a.program, c.args);
    }
    // -s runs a script, unless it is the value of another option.
    EXPECT_TRUE(ReadHostArguments({"-s", "script", "-x", "f"}).runsScript);
    EXPECT_TRUE(ReadHostArguments({"ini", "/S", "script"}).runsScript);
    EXPECT_FALSE(ReadHostArguments({"-l", "-s"}).runsScript);
    EXPECT_FALSE(ReadHostArguments({"-v", "file"}).runsScript);
}

TEST_F(ShellExitFileTest, TheShellSourcesTheFileAndLandsInTheDirectory) {
    const char* names[] = {"plain", "it's $(touch pwned) & `touch pwned2`; echo pwned", "q'x & echo pwned; $HOME",
                           "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E  two  spaces", "-dash"};
    for (const char* name : names) {
        const std::string target = dir + "/" + name;
        ASSERT_TRUE(fs::create_directory(target)) << name;
        WriteFile(dir + "/record", RecordFor(target));
        std::string error;
        ASSERT_TRUE(WriteShellExitFile(dir + "/record", dir + "/script", error)) << name << ": " << error;
        const std::string landed = RunShell("cd / && . '" + dir + "/script' && pwd && ls");
        EXPECT_EQ(landed, target + "\n") << name;
        for (const char* trace : {"/pwned", "/pwned2"}) {
            EXPECT_FALSE(fs::exists(trace)) << name;
        }
    }
}

TEST_F(ShellExitFileTest, NoRecordMakesAnEmptyScriptAndAnUnwritableFileIsAnError) {
    // The program named no directory (a network path, say): sourcing the file
    // keeps the shell where it is, rather than a directory of an earlier run.
    WriteFile(dir + "/script", "cd -- '/somewhere/old'\n");
    std::string error;
    ASSERT_TRUE(WriteShellExitFile(dir + "/no-record", dir + "/script", error)) << error;
    EXPECT_EQ(fs::file_size(dir + "/script"), 0u);

    WriteFile(dir + "/record", RecordFor(dir));
    EXPECT_FALSE(WriteShellExitFile(dir + "/record", dir + "/missing-folder/script", error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(WriteShellExitFile(dir + "/record", "/proc/version", error));
    EXPECT_FALSE(error.empty());

    WriteFile(dir + "/record", "not a record");
    EXPECT_FALSE(WriteShellExitFile(dir + "/record", dir + "/script", error));
}
