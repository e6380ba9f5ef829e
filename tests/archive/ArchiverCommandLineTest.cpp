// Archiver command lines: the words of a definition with the archive path and
// the names put in, how an entry is named, finding the program, and the runs
// over a panel's tagged entries (list files and batches).
#include "archive/ArchiverCommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/panels/Panel.h"
#include "app/settings/ArchiverSettings.h"
#include "base/io/StdFile.h"
#include "base/strings/QuoteFileName.h"
#include "platform/SystemTraits.h"
#include "platform/win32.h"
#include "shell/ProgramRunner.h"
#include "tests/archive/ArchiveTestSupport.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"

namespace {

using qvtest::TempDir;
using qvtest::U8;
using qvtest::W;

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

Westring Wide(const std::string& utf8) {
    Westring out;
    out.AssignUtf8(utf8.c_str());
    return out;
}

// The path as the started program is given it on this system.
std::string ArgumentForm(const std::string& path) {
    qvtest::WString wide = W(path);
    DWORD n = GetProgramArgumentPathW(wide.c_str(), nullptr, 0);
    std::basic_string<WCHAR> buffer(n + 1, 0);
    GetProgramArgumentPathW(wide.c_str(), &buffer[0], n + 1);
    return U8(qvtest::WString(buffer.c_str()));
}

// Replaces every "{A}" by the text.
std::string Expand(std::string text, const std::string& archive) {
    for (size_t at = text.find("{A}"); at != std::string::npos; at = text.find("{A}"))
        text.replace(at, 3, archive);
    return text;
}

TArchiverWords Names(const std::vector<std::string>& names) {
    TArchiverWords words;
    for (const std::string& name : names)
        words.push_back({Wide(name), false});
    return words;
}

TEST(ArchiverCommandLineTest, PlaceholdersAppendedPartsAndQuoting) {
    const std::string archive = "C:\\arc\\x.zip";
    const std::string A = Utf8(QuoteArgument(Wide(ArgumentForm(archive))));
    struct Case {
        const char* command;
        std::vector<std::string> names;
        const char* expected;
    } cases[] = {
        // Without placeholders the archive, then the names, are appended.
        {"zip -r", {"plain.txt"}, "zip -r {A} plain.txt"},
        {"zip -r", {"one.txt", "two.txt"}, "zip -r {A} one.txt two.txt"},
        // A redirection stays an operator; its file is named as this system
        // names it.
        {"gzip -dc %a > %f", {"notes.txt"}, "gzip -dc {A} > notes.txt"},
        // Every "%a", only the first "%f".
        {"x %a %a %f %f", {"n"}, "x {A} {A} n %f"},
        {"x -o%f", {"n"}, "x \"-on\" {A}"},
        // Names that a shell or the option parser would act on.
        {"zip -r", {"a,b.txt"}, "zip -r {A} \"a,b.txt\""},
        {"zip -r", {"my file.txt"}, "zip -r {A} \"my file.txt\""},
        {"zip -r", {"a;rm -rf x"}, "zip -r {A} \"a;rm -rf x\""},
        {"zip -r", {"$(touch y)"}, "zip -r {A} \"$(touch y)\""},
        {"zip -r", {"a|b"}, "zip -r {A} \"a|b\""},
        {"zip -r", {"a>b"}, "zip -r {A} \"a>b\""},
        // Put in where a definition's word begins, a name is still no
        // redirection.
        {"x %f", {">out"}, "x \">out\" {A}"},
        {"x %f", {"<in"}, "x \"<in\" {A}"},
        {"x %a >%f", {">out"}, "x {A} > \">out\""},
        {"x %a >>%f", {"out"}, "x {A} >> out"},
        {"zip -r", {"a\"b"}, "zip -r {A} \"a\\\"b\""},
        // The definition's own quotes group a word.
        {"\"my zip\" -r", {"n"}, "\"my zip\" -r {A} n"},
    };
    for (const Case& c : cases) {
        Westring line = BuildArchiverCommandLine(Wide(c.command), Wide(archive), Names(c.names));
        EXPECT_EQ(Expand(c.expected, A), Utf8(line)) << c.command;
    }
}

TEST(ArchiverCommandLineTest, AnEmptyDefinitionRunsNothing) {
    EXPECT_TRUE(BuildArchiverCommandLine(Wide(""), Wide("C:\\arc\\x.zip"), Names({"n"})).IsEmpty());
    EXPECT_TRUE(BuildArchiverCommandLine(Wide(" \t "), Wide("C:\\arc\\x.zip"), Names({"n"})).IsEmpty());
}

TEST(ArchiverCommandLineTest, AnArchivePathHoldingAPlaceholderStaysIntact) {
    const std::string archive = "C:\\arc\\100%f and %a.zip";
    const std::string A = Utf8(QuoteArgument(Wide(ArgumentForm(archive))));
    EXPECT_EQ(Expand("x {A} n", A), Utf8(BuildArchiverCommandLine(Wide("x %a %f"), Wide(archive), Names({"n"}))));
    EXPECT_EQ(Expand("x n {A}", A), Utf8(BuildArchiverCommandLine(Wide("x %f"), Wide(archive), Names({"n"}))));
}

TEST(ArchiverCommandLineTest, ListSwitchesTakeTheListFileAsTheirDefinitionSays) {
    const std::string archive = "C:\\arc\\x.tar";
    const std::string A = Utf8(QuoteArgument(Wide(ArgumentForm(archive))));
    const std::string list = "C:\\t\\QV#1.0";
    const std::string L = Utf8(QuoteArgument(Wide(ArgumentForm(list))));
    struct Case {
        const char* listSwitch;
        std::string expected;
    } cases[] = {
        // Read from the file by redirection: the runner opens it by this
        // system's name.
        {"-@ < ", "zip {A} -@ < " + Utf8(QuoteArgument(Wide(list)))},
        {"@", "zip {A} " + Utf8(QuoteArgument(Wide("@" + ArgumentForm(list))))},
        {"--files-from=", "zip {A} " + Utf8(QuoteArgument(Wide("--files-from=" + ArgumentForm(list))))},
        {"-i ", "zip {A} -i " + L},
    };
    for (const Case& c : cases) {
        TArchiverWords names =
            ArchiverListSwitchWords(Estring(c.listSwitch), Wide(list), FindArchiverNameRules(Wide("zip")));
        EXPECT_EQ(Expand(c.expected, A), Utf8(BuildArchiverCommandLine(Wide("zip"), Wide(archive), names)))
            << c.listSwitch;
    }
}

TEST(ArchiverCommandLineTest, OutputOntoTheArchiveGoesToAFileBesideIt) {
    TempDir dir;
    Westring archive = Westring(dir.Join(W("x.gz")).c_str());
    Westring temporary;
    Westring line = BuildArchiverCommandLine(Wide("gzip -c %f > %a"), archive, Names({"notes.txt"}), &temporary);
    ASSERT_FALSE(temporary.IsEmpty());
    EXPECT_FALSE(temporary.EqualsExact(archive));
    EXPECT_TRUE(ExtractDirectory(temporary).EqualsExact(ExtractDirectory(archive))) << Utf8(temporary);
    EXPECT_EQ("gzip -c notes.txt > " + Utf8(QuoteArgument(temporary)), Utf8(line));
    // Output elsewhere is left alone.
    Westring other;
    BuildArchiverCommandLine(Wide("gzip -dc %a > %f"), archive, Names({"notes.txt"}), &other);
    EXPECT_TRUE(other.IsEmpty());
}

entry* MakeEntry(const std::string& name, bool directory) {
    return qvtest::MakeTestEntry(name, directory);
}

TEST(ArchiverCommandLineTest, AnEntryIsNamedByItsBaseDirectoryAndTheDirSpec) {
    struct Case {
        const char* name;
        bool directory;
        const char* base;
        const char* dirSpec;
        bool realFile;
        std::vector<std::string> expected;
        const char* program = "7z";  // whose rules apply
    } cases[] = {
        {"a.txt", false, "", "!", true, {"a.txt"}},
        {"a.txt", false, "sub\\", "!", false, {"sub\\a.txt"}},
        {"my dir", true, "", "!", true, {"my dir"}},
        {"my dir", true, "", "!\\*", true, {"my dir\\*"}},
        {"my dir", true, "sub\\", "!\\*", false, {"sub\\my dir\\*"}},
        {"d", true, "", "! !\\*", true, {"d", "d\\*"}},
        // A file of the disk named like an option is named through ".\";
        // a member keeps its stored name.
        {"-x", false, "", "!", true, {".\\-x"}},
        {"-x", false, "", "!", false, {"-x"}},
        // For an archiver that matches patterns, a name matches only itself;
        // the dir spec's own wildcard stays one.
        {"a[1]*?.txt", false, "s[2]\\", "!", false, {"s[[]2]\\a[[]1][*][?].txt"}, "unzip"},
        {"d[x]", true, "", "!\\*", false, {"d[[]x]\\*"}, "unzip"},
    };
    for (const Case& c : cases) {
        entry* item = MakeEntry(c.name, c.directory);
        std::vector<Westring> words;
        EXPECT_TRUE(BuildArchiverName(item, Wide(c.base), Estring(c.dirSpec), c.realFile, words,
                                      FindArchiverNameRules(Wide(c.program))));
        std::vector<std::string> got;
        for (const Westring& word : words)
            got.push_back(Utf8(word));
        EXPECT_EQ(c.expected, got) << c.name << " " << c.dirSpec;
        entry::Free(item);
    }
}

TEST(ArchiverCommandLineTest, NamesFollowEachProgramsLiteralSwitchesAndEndOfOptions) {
    struct Case {
        const char* command;
        std::vector<std::string> words;
        std::vector<std::string> expected;  // definition words in <>
    } cases[] = {
        {"C:\\usr\\bin\\zip -d", {"-m"}, {"<-->", "-m"}},
        {"C:\\usr\\bin\\zip -d", {"m"}, {"<-->", "m"}},
        {"C:\\usr\\bin\\tar --delete -f", {"a", "-m"}, {"<--no-wildcards>", "<--no-unquote>", "<-->", "a", "-m"}},
        {"C:\\usr\\bin\\7z d", {"-m"}, {"<-spd>", "<-->", "-m"}},
        {"\"C:\\Program Files\\7-Zip\\7z.exe\" d", {"@x"}, {"<-spd>", "<-->", "@x"}},
        {"C:\\usr\\bin\\arj x", {"-jf"}, {"<-->", "-jf"}},
        // unzip has no marker: its names are escaped instead.
        {"C:\\usr\\bin\\unzip --z", {"[-]m"}, {"[-]m"}},
        // An unknown program gets nothing it might misread.
        {"C:\\usr\\bin\\zevoz -d %a %f", {"m"}, {"m"}},
        // Names that are a redirection's target are no arguments.
        {"C:\\usr\\bin\\gzip -dc %a > %f", {"-m"}, {"-m"}},
        {"C:\\usr\\bin\\gzip -c %f > %a", {"./-m"}, {"<-->", "./-m"}},
    };
    for (const Case& c : cases) {
        TArchiverWords names;
        std::vector<Westring> words;
        for (const std::string& word : c.words)
            words.push_back(Wide(word));
        AddArchiverNameWords(names, words, Wide(c.command));
        std::vector<std::string> got;
        for (const TArchiverWord& name : names)
            got.push_back(name.fromDefinition ? "<" + Utf8(name.text) + ">" : Utf8(name.text));
        EXPECT_EQ(c.expected, got) << c.command;
    }
}

// What each archiver is given for a hostile member name, or whether the name
// is refused, on the command line and in a list file.
TEST(ArchiverCommandLineTest, HostileMemberNamesAreEscapedOrRefusedByTheProgramsRules) {
    const char* const refused = nullptr;
    struct Case {
        const char* program;
        const char* name;
        const char* onLine;  // refused: null
        const char* inList;
    } cases[] = {
        {"unzip", "*", "[*]", "[*]"},
        {"unzip", "?eep*", "[?]eep[*]", "[?]eep[*]"},
        {"unzip", "[k]eep1.txt", "[[]k]eep1.txt", "[[]k]eep1.txt"},
        {"unzip", "-x", "[-]x", "[-]x"},
        {"unzip", "a-b", "a-b", "a-b"},
        {"zip", "*", "[*]", "[*]"},
        {"zip", "-d..", "-d..", "-d.."},
        {"zip", "line\nfeed", "line\nfeed", refused},
        {"7z", "?eep*", "?eep*", "?eep*"},
        {"7z", "line\rfeed", "line\rfeed", refused},
        {"tar", "-C ..", "-C ..", "-C .."},
        {"tar", "line\nfeed", "line\nfeed", "line\nfeed"},
        {"arj", "-jf", "-jf", "-jf"},
        {"arj", "!list", refused, refused},
        {"arj", "a*b", refused, refused},
        {"arj", "a?b", refused, refused},
        {"arj", "[k]eep1.txt", refused, refused},
        {"rar", "@list", refused, refused},
        {"lh16", "-x", refused, refused},
        {"lh16", "a*", refused, refused},
        {"lh16", "plain.txt", "plain.txt", "plain.txt"},
    };
    for (const Case& c : cases) {
        const TArchiverNameRules& rules = FindArchiverNameRules(Wide(std::string("C:\\bin\\") + c.program + " x"));
        for (int list = 0; list < 2; list++) {
            const char* expected = list ? c.inList : c.onLine;
            entry* item = MakeEntry(c.name, false);
            std::vector<Westring> words;
            bool taken = BuildArchiverName(item, Westring(), Estring("!"), false, words, rules, list != 0);
            entry::Free(item);
            EXPECT_EQ(expected != nullptr, taken) << c.program << " " << c.name << " list " << list;
            if (expected && taken) {
                ASSERT_EQ(1u, words.size());
                EXPECT_EQ(expected, Utf8(words[0])) << c.program << " " << c.name;
            } else {
                EXPECT_TRUE(words.empty());
            }
        }
    }
    // A file of the disk goes as ".\\name" wherever the program could read
    // its first character, and is never escaped (the programs take an
    // existing file by its own name).
    entry* file = MakeEntry("-x*", false);
    std::vector<Westring> words;
    EXPECT_TRUE(BuildArchiverName(file, Westring(), Estring("!"), true, words, FindArchiverNameRules(Wide("zip"))));
    EXPECT_FALSE(BuildArchiverName(file, Westring(), Estring("!"), true, words, FindArchiverNameRules(Wide("arj"))));
    entry::Free(file);
    ASSERT_EQ(1u, words.size());
    EXPECT_EQ(".\\-x*", Utf8(words[0]));
}

TEST(ArchiverCommandLineTest, TheProgramIsFoundAndUnzipMarked) {
    TempDir dir;
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("stub.exe")), "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("unzip.exe")), "x"));
    const std::string folder = U8(dir.Path());
    struct Case {
        std::string command;
        bool found;
        int unzip;
        std::string rest;
    } cases[] = {
        {folder + "\\stub -r", true, 0, " -r"},
        {folder + "\\stub", true, 0, ""},
        {folder + "\\unzip --z", true, 1, " --z"},
        {folder + "\\nosuch -x", false, 0, ""},
    };
    for (const Case& c : cases) {
        Westring command = Wide(c.command);
        int unzip = -1;
        EXPECT_EQ(c.found, ResolveArchiverProgram(command, unzip)) << c.command;
        EXPECT_EQ(c.unzip, unzip) << c.command;
        if (!c.found) {
            EXPECT_EQ(c.command, Utf8(command));
            continue;
        }
        // The found file's full path, then the rest of the command.
        std::string text = Utf8(command);
        EXPECT_EQ(c.rest, text.substr(text.size() - c.rest.size())) << text;
        EXPECT_NE(std::string::npos, text.find(".exe")) << text;
    }
}

// A panel of the test's own with entries, tagged as asked.
class PanelRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = Panels;
        Panels = pair = new CPanel[2];
        runs.clear();
        listFiles.clear();
        ArchiverRunner = Record;
        failFrom = 1000;
    }
    void TearDown() override {
        ArchiverRunner = savedRunner;
        for (int i = 0; i < pair[0].entryCount; i++)
            entry::Free(pair[0].entries[i]);
        pair[0].entryCount = 0;
        Panels = saved;
        delete[] pair;
    }
    void Add(const std::string& name, bool tagged, bool directory = false) {
        entry* item = MakeEntry(name, directory);
        item->tagged = tagged ? 1 : 0;
        pair[0].entries[pair[0].entryCount++] = item;
        pair[0].taggedCount += tagged ? 1 : 0;
    }
    // What the runner saw: each line, and the list file's bytes read while
    // the run was on.
    static int Record(const Westring& line, int, int) {
        runs.push_back(Utf8(line));
        std::string text = Utf8(line);
        size_t at = text.find("QV#");
        if (at != std::string::npos) {
            size_t start = text.rfind(' ', at) + 1;
            size_t end = text.find(' ', at);
            std::string path = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            size_t equals = path.find('=');
            if (equals != std::string::npos)
                path = path.substr(equals + 1);
            if (!path.empty() && path[0] == '@')
                path = path.substr(1);
            // A redirection names it as this system does.
            if (path.size() > 2 && path[1] == ':')
                path = ArgumentForm(path);
            std::string bare;
            for (char c : path)
                if (c != '"')
                    bare += c;
            listFiles.push_back(ReadByRuntime(bare));
        }
        return int(runs.size()) >= failFrom ? 2 : 0;
    }
    static std::string ReadByRuntime(const std::string& path) {
        std::string text;
        if (FILE* file = std::fopen(path.c_str(), "rb")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
                text.append(buffer, n);
            std::fclose(file);
        }
        return text;
    }

    CPanel* saved = nullptr;
    CPanel* pair = nullptr;
    TArchiverRunner savedRunner = ArchiverRunner;
    static std::vector<std::string> runs;
    static std::vector<std::string> listFiles;
    static int failFrom;
};
std::vector<std::string> PanelRunTest::runs;
std::vector<std::string> PanelRunTest::listFiles;
int PanelRunTest::failFrom = 1000;

TEST_F(PanelRunTest, TaggedNamesGoIntoAListFileWithTheArchiversLineEnds) {
    SetDefaultArchiverCommands();
    Add("..", false, true);
    Add("a.txt", true);
    Add("my dir", true, true);
    Add("skip.txt", false);
    struct Case {
        int archiver;
        const char* listSwitch;
        bool slashes;
    } cases[] = {{7, "--files-from=", true}, {0, "-@ < ", false}, {8, "@", false}};
    for (const Case& c : cases) {
        runs.clear();
        listFiles.clear();
        for (int i = 0; i < pair[0].entryCount; i++)
            pair[0].entries[i]->tagged = i == 1 || i == 2;
        pair[0].taggedCount = 2;
        TArchiverSettings settings = ArchiverSettings[c.archiver];
        settings.ExtractListfileSwitch = c.listSwitch;
        settings.ExtractDirSpec = "!";
        EXPECT_EQ(
            0, RunArchiverCommand(Estring("x-archiver -x"), Wide("C:\\arc\\x"), Wide("sub\\"), &pair[0], settings, 1));
        ASSERT_EQ(1u, runs.size()) << c.listSwitch;
        ASSERT_EQ(1u, listFiles.size()) << runs[0];
        const bool slash = c.slashes || ProgramsReadSlashNames;
        const std::string end = c.slashes || ProgramsReadSlashNames ? "\n" : "\r\n";
        const std::string separator = slash ? "/" : "\\";
        EXPECT_EQ("sub" + separator + "a.txt" + end + "sub" + separator + "my dir" + end, listFiles[0]) << runs[0];
        // Given to the archiver: untagged and marked processed.
        EXPECT_EQ(0, pair[0].taggedCount);
        EXPECT_TRUE(pair[0].entries[1]->processed && pair[0].entries[2]->processed);
        EXPECT_FALSE(pair[0].entries[3]->processed);
        for (int i = 0; i < pair[0].entryCount; i++)
            pair[0].entries[i]->processed = 0;
    }
}

TEST_F(PanelRunTest, ManyNamesRunInShortBatchesUntilOneFails) {
    SetDefaultArchiverCommands();
    const int count = 400;
    for (int i = 0; i < count; i++)
        Add("file-with-a-long-name-" + std::to_string(1000 + i) + ".txt", true);
    TArchiverSettings settings = ArchiverSettings[5];  // no list switch
    EXPECT_EQ(0, RunArchiverCommand(Estring("x-archiver a"), Wide("C:\\arc\\x.ha"), Westring(), &pair[0], settings, 0));
    ASSERT_GT(runs.size(), 1u);
    size_t longest = 0;
    int named = 0;
    for (const std::string& line : runs) {
        longest = line.size() > longest ? line.size() : longest;
        for (size_t at = line.find("file-with"); at != std::string::npos; at = line.find("file-with", at + 1))
            named++;
    }
    EXPECT_EQ(count, named);
    EXPECT_LE(longest, size_t(ArchiverBatchLength + 40));
    EXPECT_NE(std::string::npos, runs[0].find("file-with-a-long-name-1000.txt"));
    EXPECT_NE(std::string::npos, runs.back().find("file-with-a-long-name-1399.txt"));

    // The first batch fails: no other runs, and its code is the result.
    runs.clear();
    failFrom = 1;
    for (int i = 0; i < count; i++)
        pair[0].entries[i]->tagged = 1;
    pair[0].taggedCount = count;
    EXPECT_EQ(2, RunArchiverCommand(Estring("x-archiver a"), Wide("C:\\arc\\x.ha"), Westring(), &pair[0], settings, 0));
    EXPECT_EQ(1u, runs.size());
}

TEST_F(PanelRunTest, WithoutTagsTheCurrentEntryIsNamed) {
    SetDefaultArchiverCommands();
    Add("..", false, true);
    Add("only.txt", false);
    pair[0].cursorRow = 1;
    EXPECT_EQ(0, RunArchiverCommand(Estring("x-archiver d"), Wide("C:\\arc\\x.zip"), Westring(), &pair[0],
                                    ArchiverSettings[0], 0));
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(" only.txt", runs[0].substr(runs[0].size() - 9));
}

// The names reach a real program as one argument each, whatever they hold.
TEST(ArchiverRunTest, AStubArchiverGetsEachNameAsOneArgument) {
    if (qvtest::RunningUnderWine())
        GTEST_SKIP() << "the stub archiver is a POSIX shell script";
    TempDir dir;
    const std::string folder = U8(dir.Path());
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("stub")),
                                       "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$0.log\"\n"));
    std::string local = ArgumentForm(folder + "\\stub");
    ASSERT_EQ(0, std::system(("chmod +x '" + local + "'").c_str()));
    TArchiverRunner saved = ArchiverRunner;
    ArchiverRunner = [](const Westring& line, int, int) {
        return RunProgram(line, RunReportNotFound | RunNoInterpreter);
    };
    const std::vector<std::string> names = {
        "a;touch pwned", "$(touch pwned2)", "`touch pwned3`", "a|b", "a\"b", "a b", "-x", "100%"};
    TArchiverWords words = Names(names);
    Westring command = Wide(folder + "\\stub -r");
    int unzip = 0;
    ASSERT_TRUE(ResolveArchiverProgram(command, unzip));
    SetCurrentDirectoryW(dir.Path().c_str());
    int code = ExpandArchiverCommand(command, Wide(folder + "\\x.zip"), words, 0);
    ArchiverRunner = saved;
    EXPECT_EQ(0, code);
    std::string expected = "[-r]\n[" + ArgumentForm(folder + "\\x.zip") + "]\n";
    for (const std::string& name : names)
        expected += "[" + name + "]\n";
    EXPECT_EQ(expected, qvtest::ReadFileBytes(dir.Join(W("stub.log"))));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W("pwned")).c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W("pwned2")).c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W("pwned3")).c_str()));
    SetCurrentDirectoryW(W("C:\\").c_str());
}

}  // namespace
