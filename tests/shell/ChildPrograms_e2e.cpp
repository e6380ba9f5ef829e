// What started programs get: each name a macro puts in as one argument
// whatever it holds, on the shell's road and the direct one, with the road
// and the redirections chosen on the line as written; an input prompt asked
// once; and on Linux the POSIX form of drive paths, the program's own name,
// shell syntax carried out by the shell, programs known by their content and
// names that exist on disk reachable whatever they hold. The probe qvargv
// records the arguments of every run in T:\qvargv.log.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/shell/ShellE2E.h"

namespace qvtest {
namespace {

using Record = std::vector<std::string>;

class ChildProgramsE2E : public ShellE2E {
protected:
    // Linux only: a behaviour of the Linux layer and of the system's programs.
    bool LinuxOnly() {
        if (OnWindowsLeg()) {
            CountInWindowsLeg(false);
            return true;
        }
        return false;
    }
    // The probe at T:\qvargv (T:\qvargv.exe for the Windows build), so that
    // "T:\qvargv" names it on both legs; a file made outside the layer, which
    // keeps the execute bit.
    void InstallProbe() {
        const char* windows = std::getenv("QV_WINDOWS_BUILD");
        const char* build = std::getenv("QV_BINARY_DIR");
        std::string from = OnWindowsLeg() ? std::string(windows) + "/bin/qvargv.exe"
                                          : std::string(build ? build : ".") + "/bin/qvargv";
        std::string to = PathOf(OnWindowsLeg() ? "qvargv.exe" : "qvargv");
        std::ifstream in(from, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << from;
        std::ofstream(to, std::ios::binary) << bytes;
        ASSERT_EQ(0, chmod(to.c_str(), 0755));
    }
    // Starts the program with the probe in place; on Linux T:\ is also on
    // PATH.
    void StartWithProbe(const std::string& moreIni = "") {
        InstallProbe();
        std::map<std::string, std::string> env;
        if (!OnWindowsLeg()) {
            const char* path = std::getenv("PATH");
            env["PATH"] = Root() + ":" + (path ? path : "/usr/bin:/bin");
        }
        Start("PauseAfterRun=on\r\n" + moreIni, env);
    }
    // The arguments of every run of the probe so far (its own name first).
    std::vector<Record> Records() const {
        std::vector<Record> records;
        std::string log = ReadLocal(PathOf("qvargv.log"));
        Record current;
        size_t at = 0;
        while (at < log.size()) {
            if (log.compare(at, 3, "--\n") == 0) {
                records.push_back(current);
                current.clear();
                at += 3;
                continue;
            }
            size_t colon = log.find(':', at);
            if (colon == std::string::npos) {
                break;
            }
            size_t length = std::stoul(log.substr(at, colon - at));
            current.push_back(log.substr(colon + 1, length));
            at = colon + 1 + length + 1;
        }
        return records;
    }
    // Waits for the number of runs the test expects.
    ::testing::AssertionResult Runs(size_t count) {
        if (!Eventually([&] { return Records().size() >= count; })) {
            return ::testing::AssertionFailure() << Records().size() << " runs, not " << count << ":\n"
                                                 << host->ScreenText();
        }
        return ::testing::AssertionSuccess();
    }
    static std::string ReadLocal(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // A file made with the system's own calls: its name need not be one the
    // layer lets the user make.
    void WriteLocal(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    // The names in a folder below Root().
    std::set<std::string> Listing(const std::string& folder) const {
        std::set<std::string> names;
        DIR* dir = opendir(PathOf(folder).c_str());
        while (dir != nullptr) {
            dirent* item = readdir(dir);
            if (item == nullptr) {
                break;
            }
            std::string name = item->d_name;
            if (name != "." && name != "..") {
                names.insert(name);
            }
        }
        if (dir != nullptr) {
            closedir(dir);
        }
        return names;
    }
    // Tags every entry of the panel below "..".
    void TagAll(size_t count) {
        host->PressKey("Home");
        host->PressKey("Down");
        for (size_t i = 0; i < count; i++) {
            host->PressKey("Ins");
        }
    }
    // The line that runs the probe with the macro through the interpreter:
    // a pipe into cat for sh, a leading "#" for cmd.
    static std::string ThroughInterpreter(const std::string& macros) {
        return Leg("T:\\qvargv " + macros + " | cat", "#T:\\qvargv " + macros);
    }
};

// Names that would act in a shell or in cmd, and (where file names may hold
// them) a quote, a line feed and a redirection that together once hid the
// user's own "|": "report>T:victim.txt "x.txt" made the line run directly
// and emptied victim.txt.
std::vector<std::string> HostileNames() {
    std::vector<std::string> names = {"a; touch PWNED1", "$(touch PWNED2)", "`touch PWNED3`", "x & echo PWNED5",
                                      "it's"};
    if (!OnWindowsLeg()) {
        names.push_back("q'u\"o;touch PWNED4");
        names.push_back("line\nfeed");
        names.push_back("report>T:victim.txt \"x.txt");
    }
    return names;
}

TEST_F(ChildProgramsE2E, HostileNamesReachTheProgramAsOneArgumentEachOnEveryRoad) {
    std::vector<std::string> names = HostileNames();
    for (const std::string& name : names) {
        WriteLocal("work/" + name, "x");
    }
    Write("work/victim.txt", "keep");
    names.push_back("victim.txt");
    const std::set<std::string> expected(names.begin(), names.end());
    Write("test.mnu", "L: List\r\n  " + ThroughInterpreter("!l") + "\r\n");
    StartWithProbe("[Associations]\r\n*: " + ThroughInterpreter("!") + "\r\n");
    const std::set<std::string> before = Listing("work");

    // Typed, once per tagged file.
    TagAll(names.size());
    Type(ThroughInterpreter("!t"));
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(names.size()));
    std::set<std::string> got;
    for (const Record& record : Records()) {
        ASSERT_EQ(2u, record.size());
        got.insert(record[1]);
    }
    EXPECT_EQ(expected, got);

    // Typed, through the interpreter and directly: all of them in one line;
    // no name splits another.
    for (size_t run = 0; run < 2; run++) {
        TagAll(names.size());
        Type(run == 0 ? ThroughInterpreter("!l") : std::string("T:\\qvargv !l"));
        ASSERT_TRUE(Continue());
        ASSERT_TRUE(Runs(names.size() + 1 + run));
        Record all = Records().back();
        EXPECT_EQ(names.size() + 1, all.size()) << run;
        EXPECT_EQ(expected, std::set<std::string>(all.begin() + 1, all.end())) << run;
    }

    // The association, on each file under the cursor.
    host->PressKey("Home");
    const size_t earlier = Records().size();
    for (size_t i = 0; i < names.size(); i++) {
        host->PressKey("Down");
        host->PressKey("Enter");
        ASSERT_TRUE(Continue());
        ASSERT_TRUE(Runs(earlier + i + 1));
    }
    got.clear();
    std::vector<Record> records = Records();
    for (size_t i = earlier; i < records.size(); i++) {
        ASSERT_EQ(2u, records[i].size());
        got.insert(records[i][1]);
    }
    EXPECT_EQ(expected, got);

    // The user menu, last: its lines run without the pause, so nothing
    // tells when the panels are back for more keys.
    TagAll(names.size());
    host->PressKey("F2");
    ASSERT_TRUE(Shows(" User  Menu ")) << host->ScreenText();
    host->SendText("L");
    ASSERT_TRUE(Runs(earlier + names.size() + 1));
    Record all = Records().back();
    EXPECT_EQ(names.size() + 1, all.size());
    EXPECT_EQ(expected, std::set<std::string>(all.begin() + 1, all.end()));

    // Nothing was made, and nothing was emptied.
    EXPECT_EQ(before, Listing("work"));
    EXPECT_EQ("keep", Read("work/victim.txt"));
}

// Shift+Enter wraps the association's line in the "Background" template
// (on Linux a shell line) before the name goes in: the name is quoted for
// the shell although the association alone would run directly.
TEST_F(ChildProgramsE2E, ABackgroundRunQuotesTheNameForTheWrappedLine) {
    if (LinuxOnly()) {
        GTEST_SKIP() << "the Linux build's \"Background\" is a shell line";
    }
    WriteLocal("work/$(touch PWNED2) it's", "x");
    // A template that waits for the program, so that the test sees it run.
    StartWithProbe("Background=#nohup ! </dev/null >/dev/null 2>&1\r\n[Associations]\r\n*: T:\\qvargv !\r\n");
    const std::set<std::string> before = Listing("work");
    host->PressKey("Down");
    host->PressKey("Shift+Enter");
    ASSERT_TRUE(Runs(1));
    EXPECT_EQ("$(touch PWNED2) it's", Records()[0].at(1));
    EXPECT_EQ(2u, Records()[0].size());
    EXPECT_EQ(before, Listing("work"));
}

TEST_F(ChildProgramsE2E, AnInputPromptIsAskedOnceAndItsAnswerRuns) {
    Write("work/a.txt", "a");
    Write("work/b.txt", "b");
    Write("test.mnu", "W: Who\r\n  " + ThroughInterpreter("!i\"Who?\"") + "\r\n");
    StartWithProbe();

    Type("T:\\qvargv !i\"Name?\"");
    ASSERT_TRUE(Shows("Name?")) << host->ScreenText();
    host->SendText("bob");
    host->PressKey("Enter");
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(1));
    EXPECT_EQ("bob", Records()[0].at(1));

    // Two tagged files with the per-file macro: one prompt, its answer for both.
    TagAll(2);
    Type("T:\\qvargv !i\"Name?\" !t");
    ASSERT_TRUE(Shows("Name?")) << host->ScreenText();
    host->SendText("zed");
    host->PressKey("Enter");
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(3));
    std::vector<Record> records = Records();
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ((Record{"zed", "a.txt"}), Record(records[1].begin() + 1, records[1].end()));
    EXPECT_EQ((Record{"zed", "b.txt"}), Record(records[2].begin() + 1, records[2].end()));

    // The user menu asks once too (its lines run without the pause), and
    // the answer is quoted for the road the line takes.
    host->PressKey("F2");
    ASSERT_TRUE(Shows(" User  Menu ")) << host->ScreenText();
    host->SendText("W");
    ASSERT_TRUE(Shows("Who?")) << host->ScreenText();
    host->SendText("x y");
    host->PressKey("Enter");
    ASSERT_TRUE(Runs(4));
    // No second prompt.
    EXPECT_TRUE(Gone("Who?")) << host->ScreenText();
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    records = Records();
    EXPECT_EQ((Record{"x y"}), Record(records[3].begin() + 1, records[3].end()));
}

// The Linux build's drive paths reach the system's programs as POSIX paths:
// what a macro put in, a list file and its lines, and typed drive paths.
TEST_F(ChildProgramsE2E, DrivePathsReachLinuxProgramsAsPosixPaths) {
    if (LinuxOnly()) {
        GTEST_SKIP() << "the POSIX form of paths is the Linux build's";
    }
    Write("work/a.txt", "alpha\n");
    Write("work/b c.txt", "beta\n");
    StartWithProbe();
    host->PressKey("Down");  // a.txt
    Type("cat !f");
    ASSERT_TRUE(Shows("alpha")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    Type("#cat !f");
    ASSERT_TRUE(Shows("alpha")) << host->ScreenText();
    ASSERT_TRUE(Continue());
    Type("cat T:\\work\\a.txt | tr a-z A-Z");
    ASSERT_TRUE(Shows("ALPHA")) << host->ScreenText();
    ASSERT_TRUE(Continue());

    // A list file's lines are names the programs can open.
    TagAll(2);
    Type("while read -r f; do cat \"$f\"; done < !@");
    ASSERT_TRUE(Shows("beta")) << host->ScreenText();
    EXPECT_TRUE(Shows("alpha")) << host->ScreenText();
    ASSERT_TRUE(Continue());

    host->PressKey("Home");
    host->PressKey("Down");
    Type("T:\\qvargv !f T:\\work\\a.txt \"T:\\work\\b c.txt\" a:b C: rel\\name !@");
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(1));
    Record record = Records()[0];
    ASSERT_EQ(8u, record.size());
    const std::string work = Root() + "/work/";
    EXPECT_EQ((Record{work + "a.txt", work + "a.txt", work + "b c.txt", "a:b", "C:", "rel\\name"}),
              Record(record.begin() + 1, record.begin() + 7));
    // The list file (gone with the run): a POSIX path.
    EXPECT_EQ('/', record[7][0]) << record[7];
    EXPECT_NE(std::string::npos, record[7].find("/QV#")) << record[7];

    // A script's run: the typed path of its line too.
    Write("s.qvs", "run(\"T:\\\\qvargv T:\\\\work\\\\a.txt\");\n");
    Type("T:\\s.qvs");
    ASSERT_TRUE(Runs(2));
    EXPECT_EQ((Record{Root() + "/qvargv", work + "a.txt"}), Records()[1]);
    ASSERT_TRUE(Continue());
}

// A program started directly gets its own name as a Linux path.
TEST_F(ChildProgramsE2E, AProgramsOwnNameIsAPosixPath) {
    if (LinuxOnly()) {
        GTEST_SKIP() << "a program's own name in POSIX form is the Linux build's";
    }
    StartWithProbe();
    Type("T:\\qvargv one");
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(1));
    EXPECT_EQ((Record{Root() + "/qvargv", "one"}), Records()[0]);
    // Found along PATH.
    Type("qvargv two");
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(2));
    EXPECT_EQ((Record{Root() + "/qvargv", "two"}), Records()[1]);
}

// Shell syntax the runner does not carry out itself sends the line to the
// shell; the redirections it does itself still work on a direct run.
TEST_F(ChildProgramsE2E, ShellSyntaxGoesToTheShellAndRedirectionsStayDirect) {
    if (LinuxOnly()) {
        GTEST_SKIP() << "the POSIX shell's syntax is the Linux build's";
    }
    Write("work/one.txt", "1");
    StartWithProbe();
    Type("mkdir -p X/sub && echo x > X/sub/f.txt");
    ASSERT_TRUE(Continue());
    EXPECT_EQ("x\n", Read("work/X/sub/f.txt"));
    for (const char* stray : {"&&", "echo", "x"}) {
        EXPECT_FALSE(Exists(std::string("work/") + stray)) << stray;
    }
    Type("T:\\qvargv *.txt ~ $HOME");
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(1));
    ASSERT_EQ(4u, Records()[0].size());
    EXPECT_EQ("one.txt", Records()[0][1]);
    EXPECT_EQ('/', Records()[0][2][0]);
    EXPECT_EQ(Records()[0][2], Records()[0][3]);
    // Direct, with the runner's own redirection: the probe's words stay as typed.
    Type("T:\\qvargv \"*.txt\" 2> T:\\err.txt");
    ASSERT_TRUE(Continue());
    ASSERT_TRUE(Runs(2));
    EXPECT_EQ((Record{Root() + "/qvargv", "*.txt"}), Records()[1]);
    EXPECT_TRUE(Exists("err.txt"));
}

// Enter on a file the system can run starts it, whatever its name; a
// script without the execute bit is no program.
TEST_F(ChildProgramsE2E, EnterRunsAnExecutableScriptWhateverItsName) {
    if (LinuxOnly()) {
        GTEST_SKIP() << "programs known by their content are the Linux build's";
    }
    WriteLocal("work/run.sh", "#!/bin/sh\necho ran > ran.txt\n");
    WriteLocal("work/still.sh", "#!/bin/sh\necho ran > still.txt\n");
    ASSERT_EQ(0, chmod(PathOf("work/run.sh").c_str(), 0755));
    StartWithProbe();
    host->PressKey("Down");  // run.sh
    host->PressKey("Enter");
    ASSERT_TRUE(Continue());
    EXPECT_EQ("ran\n", Read("work/ran.txt"));
    host->PressKey("Down");  // still.sh
    host->PressKey("Enter");
    ASSERT_TRUE(KeyBarShown());
    EXPECT_FALSE(Exists("work/still.txt"));
}

// A name the Linux file system holds is reachable whatever it holds; only a
// name the user makes keeps Windows' rules.
TEST_F(ChildProgramsE2E, AFolderNamedWithAControlCharacterIsCopiedEnteredAndViewed) {
    if (LinuxOnly()) {
        GTEST_SKIP() << "such names exist on Linux file systems only";
    }
    ASSERT_EQ(0, mkdir(PathOf("work/evil\ax").c_str(), 0755));
    WriteLocal("work/evil\ax/inside.txt", "deep text");
    MakeFolder("dest");
    StartWithProbe();
    host->PressKey("Down");
    // Copied, with the name it has.
    host->PressKey("F5");
    ASSERT_TRUE(Shows("to")) << host->ScreenText();
    host->SendText("T:\\dest\\");
    host->PressKey("Enter");
    ASSERT_TRUE(Eventually([&] { return ReadLocal(PathOf("dest/evil\ax/inside.txt")) == "deep text"; }))
        << host->ScreenText();
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("inside.txt")) << host->ScreenText();
    EXPECT_EQ(-1, RowOf(host->Snapshot(), "(123)")) << host->ScreenText();
    host->PressKey("Down");
    host->PressKey("F3");
    ASSERT_TRUE(Shows("deep text")) << host->ScreenText();
}

// The program finds its help file beside itself whatever drive is current.
TEST_F(ChildProgramsE2E, HelpIsFoundWhenTheCurrentDriveIsAnother) {
    if (LinuxOnly()) {
        GTEST_SKIP() << "the program's own path from the drive map is the Linux layer's";
    }
    MakeFolder("d");
    MakeFolder("app");
    MapDrive('U', "app");
    appData = "U:\\";
    // Started from a folder of drive T:, as from a shell in it.
    char saved[4096];
    ASSERT_NE(nullptr, getcwd(saved, sizeof saved));
    ASSERT_EQ(0, chdir(PathOf("d").c_str()));
    Launch(Options({"-l", "T:\\"}));
    ASSERT_EQ(0, chdir(saved));
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    host->PressKey("F1");
    ASSERT_TRUE(Shows("The panels")) << host->ScreenText();
    EXPECT_EQ(-1, RowOf(host->Snapshot(), "Help not loaded")) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
