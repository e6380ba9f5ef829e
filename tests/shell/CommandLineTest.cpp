#include "shell/CommandExecution.h"

#include "app/settings/Config.h"
#include "base/strings/QuoteFileName.h"
#include "shell/ProgramRunner.h"
#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qvtest::TempDir;
using qvtest::W;
using shelltest::Narrow;
using shelltest::Wide;

TEST(CommandLineTest, InternalCommandsByTheirPatterns) {
    struct {
        const char* text;
        int kind;
    } const cases[] = {
        {"cd..", CommandCd},         {"cd\\", CommandCd},          {"CD sub", CommandCd},
        {"cd", CommandExternal},     {"cdx", CommandExternal},     {"cd.", CommandCd},
        {"c:", CommandDrive},        {"U:", CommandDrive},         {"1:", CommandExternal},
        {"u:x", CommandExternal},    {"::", CommandExternal},      {"vcd", CommandVcd},
        {"VCD docs", CommandVcd},    {"vcd\\x", CommandVcd},       {"vcdx", CommandExternal},
        {"set A=1", CommandSet},     {"SET A=", CommandSet},       {"set A", CommandExternal},
        {"set =x", CommandExternal}, {"set  =x", CommandExternal}, {"setA=1", CommandExternal},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.kind, ClassifyCommand(Westring(c.text))) << c.text;
    }
}

TEST(CommandLineTest, ProgramPartEndsAtABlankOrASwitch) {
    struct {
        const char* command;
        const char* program;
        const char* rest;
        const char* after;
    } const cases[] = {
        {"ls -l a", "ls", "-l a", "ls -l a"},
        {"dir/w", "dir", "/w", "dir /w"},
        {"\"my prog\" x", "\"my prog\"", "x", "\"my prog\" x"},
        {"\"a/b\"", "\"a/b\"", "", "\"a/b\""},
        {"prog", "prog", "", "prog"},
        {"p   x  ", "p", "x", "p   x  "},
    };
    for (const auto& c : cases) {
        Westring command(c.command), program, rest;
        SplitProgramPart(command, program, rest);
        EXPECT_EQ(c.program, Narrow(program)) << c.command;
        EXPECT_EQ(c.rest, Narrow(rest)) << c.command;
        EXPECT_EQ(c.after, Narrow(command)) << c.command;
    }
}

TEST(CommandLineTest, BackgroundTemplateTakesTheCommandAtItsMark) {
    Westring saved = Config.Background;
    struct {
        const char* pattern;
        const char* result;
    } const cases[] = {
        {"start", "start prog a"},
        {"#nohup ! &", "#nohup prog a &"},
        {"x ! y !", "x prog a y !"},
    };
    for (const auto& c : cases) {
        Config.Background = Westring(c.pattern);
        Westring command("prog a");
        ApplyBackgroundTemplate(command);
        EXPECT_EQ(c.result, Narrow(command)) << c.pattern;
    }
    Config.Background = saved;
}

// Applies every redirection of an argument text as the runner does; the
// files are made in `dir`.
struct TRedirected {
    std::string arguments;
    int input = 0, output = 0, error = 0;  // 0 own, 1 a file, 2 the other stream's
    HANDLE opened[3] = {nullptr, nullptr, nullptr};
};

TRedirected Redirect(const std::string& text) {
    STARTUPINFOW start = {};
    HANDLE ownIn = reinterpret_cast<HANDLE>(1), ownOut = reinterpret_cast<HANDLE>(2),
           ownErr = reinterpret_cast<HANDLE>(3);
    start.hStdInput = ownIn;
    start.hStdOutput = ownOut;
    start.hStdError = ownErr;
    TRedirected result;
    Westring arguments(text.c_str());
    for (;;) {
        int in = FindOutsideArgumentQuotes(arguments, '<');
        int out = FindOutsideArgumentQuotes(arguments, '>');
        if (in < 0 && out < 0) {
            break;
        }
        bool output = out >= 0 && (in < 0 || out < in);
        ApplyRedirection(arguments, output ? out : in, output, start, result.opened);
    }
    result.arguments = Narrow(arguments);
    result.input = start.hStdInput == ownIn ? 0 : 1;
    result.output = start.hStdOutput == ownOut ? 0 : start.hStdOutput == ownErr ? 2 : 1;
    result.error = start.hStdError == ownErr ? 0 : start.hStdError == start.hStdOutput && result.output ? 2 : 1;
    return result;
}

void Close(TRedirected& r) {
    for (int i = 0; i < 3; i++) {
        if (r.opened[i] == nullptr) {
            continue;
        }
        for (int j = i + 1; j < 3; j++) {
            if (r.opened[j] == r.opened[i]) {
                r.opened[j] = nullptr;
            }
        }
        CloseHandle(r.opened[i]);
    }
}

TEST(CommandLineTest, RedirectionOperatorsAndTheirStreams) {
    TempDir dir;
    std::string d = Narrow(Wide(dir.Path())) + "\\";
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("in.txt")), "input"));
    struct {
        std::string text;
        const char* arguments;
        int input, output, error;
    } const cases[] = {
        {"a > " + d + "o1", "a", 0, 1, 0},
        {"a 2> " + d + "e1", "a", 0, 0, 1},
        {"a 1>" + d + "o2 b", "a b", 0, 1, 0},
        {"ab2>" + d + "o3", "ab2", 0, 1, 0},
        {"2>" + d + "e2 x", "x", 0, 0, 1},
        {"a >" + d + "o4 2>&1", "a", 0, 1, 2},
        {"a >&" + d + "both", "a", 0, 1, 2},
        {"a >> " + d + "o5", "a", 0, 1, 0},
        {"a < " + d + "in.txt", "a", 1, 0, 0},
        {"a \"x > y\" 'z'", "a \"x > y\" 'z'", 0, 0, 0},
        {"a \"\\\"q > r\"", "a \"\\\"q > r\"", 0, 0, 0},
        {"a > \"" + d + "sp ace\"", "a", 0, 1, 0},
    };
    for (const auto& c : cases) {
        TRedirected r = Redirect(c.text);
        EXPECT_EQ(c.arguments, r.arguments) << c.text;
        EXPECT_EQ(c.input, r.input) << c.text;
        EXPECT_EQ(c.output, r.output) << c.text;
        EXPECT_EQ(c.error, r.error) << c.text;
        Close(r);
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W("sp ace")).c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W("both")).c_str()));

    // Appending keeps what the file held.
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("app")), "old"));
    TRedirected r = Redirect("a >> " + d + "app");
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(r.opened[1], "new", 3, &put, nullptr));
    Close(r);
    EXPECT_EQ("oldnew", qvtest::ReadFileBytes(dir.Join(W("app"))));
}

TEST(CommandLineTest, RoadsAreDecidedFromTheProgramPart) {
    TempDir programs;
    ASSERT_TRUE(qvtest::WriteFileBytes(programs.Join(W("tool.exe")), shelltest::ConsoleProgramBytes()));
    ASSERT_TRUE(qvtest::WriteFileBytes(programs.Join(W("batch.bat")), "echo"));
    shelltest::CSearchPathScope scope(Wide(programs.Path()));
    int interpreter = InterpreterTakesSlashC(GetCommandInterpreter()) ? CommandRoadCmd : CommandRoadShell;
    struct {
        const char* command;
        int road;
        int flags;
    } const cases[] = {
        {"tool !", CommandRoadDirect, 0},
        {"tool.exe x", CommandRoadDirect, 0},
        {"\"tool\" x", CommandRoadDirect, 0},
        {"tool ! | more", interpreter, 0},
        {"tool ! | more", CommandRoadDirect, RunNoInterpreter},
        {"#tool !", interpreter, 0},
        {"batch !", interpreter, 0},
        {"missing !", interpreter, 0},
        {"! -x", CommandRoadDirect, 0},
        {"$view !", CommandRoadInternal, 0},
        {"run.qvs !", CommandRoadInternal, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.road, GetCommandRoad(Westring(c.command), c.flags)) << c.command;
    }
}

// With a POSIX shell for interpreter, a line that holds what only the shell
// carries out goes to it; the redirections the runner does itself, and what
// stands in double quotes, keep a found program's line direct. cmd takes
// such lines only by the program part.
TEST(CommandLineTest, ShellSyntaxSendsTheLineToAPosixShell) {
    TempDir programs;
    ASSERT_TRUE(qvtest::WriteFileBytes(programs.Join(W("tool.exe")), shelltest::ConsoleProgramBytes()));
    shelltest::CSearchPathScope scope(Wide(programs.Path()));
    const bool posixShell = !InterpreterTakesSlashC(GetCommandInterpreter());
    struct {
        const char* command;
        bool shell;
    } const cases[] = {
        {"tool a && tool b", true},    {"tool a || tool b", true}, {"tool a; tool b", true},
        {"tool a &", true},            {"tool `date`", true},      {"tool $(date)", true},
        {"tool $HOME", true},          {"tool ${X}", true},        {"tool $1", true},
        {"tool *.txt", true},          {"tool a?.txt", true},      {"tool [ab].txt", true},
        {"tool ~/x", true},            {"tool <<END", true},       {"tool a > out 2>&1", false},
        {"tool a >> out 2> err", false}, {"tool <in >&out", false}, {"tool \"a;b && *\"", false},
        {"tool a~b $ x$", false},      {"tool !", false},          {"tool C:\\x a:b", false},
    };
    for (const auto& c : cases) {
        // "||" holds the pipe, which sends a line to cmd too.
        const int interpreter = posixShell ? CommandRoadShell : CommandRoadCmd;
        int expected = std::string(c.command).find('|') != std::string::npos ? interpreter
                       : c.shell && posixShell                                 ? CommandRoadShell
                                                                               : CommandRoadDirect;
        EXPECT_EQ(expected, GetCommandRoad(Westring(c.command))) << c.command;
    }
}

}  // namespace
