// Copy and move through the real program: renames, the overwrite question and
// its remembered answers, copies onto the file itself, the skip list, the
// read-only question of a move, description lines, and the safety of the
// data when a copy fails or is refused.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <string>
#include <vector>

#include "app/settings/Colours.h"
#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

const int ShiftAlt = 1;

// T:\work in the left panel, U: (the folder "right") in the right one.
class CopyMoveTest : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        MakeFolder("right");
        MapDrive('U', "right");
    }

    void StartPair() {
        Launch(Options({Ini("StickyAlt=off\r\n"), "-l", "T:\\work", "-r", "U:\\"}));
        ASSERT_TRUE(host->Started());
        ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    }

    static std::string LeftCursorName(const ScreenModel& screen) {
        const int bars[] = {DefaultColours[ColourHighlight], DefaultColours[ColourHighlightTagged],
                            DefaultColours[ColourDirectoryHigh]};
        for (int y = 1; y < screen.Rows() - 5; y++) {
            const int attribute = screen.RowAttributes(y, 1, 1)[0];
            for (int bar : bars) {
                if (attribute == bar) {
                    std::string name = screen.RowText(y, 1, 12);
                    name.erase(name.find_last_not_of(' ') + 1);
                    return name;
                }
            }
        }
        return "";
    }

    // Puts the left panel's cursor on a name (at most 12 characters) by the
    // quick search; the letters before its first other character must tell
    // it from the other names.
    void GoTo(const std::string& name) {
        ASSERT_TRUE(host->WaitForText(name)) << host->ScreenText();
        host->SendKey(KEY_HOME);
        host->WaitQuiet();
        // Letters only: anything else would go to the command line.
        for (char c : name) {
            char lower = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            if (lower < 'a' || lower > 'z') {
                break;
            }
            host->SendKey(KeyAltLetter(lower), c, ShiftAlt);
            host->WaitQuiet();
            if (LeftCursorName(host->Snapshot()) == name) {
                return;
            }
        }
        ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) { return LeftCursorName(s) == name; }))
            << host->ScreenText();
    }

    // Tags a name and waits until the panel shows it tagged, so that the next
    // key cannot overtake the Insert.
    void Tag(const std::string& name) {
        GoTo(name);
        host->SendKey(KEY_INSERT);
        ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) { return LeftTagged(s, name); })) << host->ScreenText();
    }

    static bool LeftTagged(const ScreenModel& screen, const std::string& name) {
        const int tagged[] = {DefaultColours[ColourTagged], DefaultColours[ColourHighlightTagged]};
        for (int y = 1; y < screen.Rows() - 5; y++) {
            std::string text = screen.RowText(y, 1, 12);
            text.erase(text.find_last_not_of(' ') + 1);
            if (text != name)
                continue;
            const int attribute = screen.RowAttributes(y, 1, 1)[0];
            return attribute == tagged[0] || attribute == tagged[1];
        }
        return false;
    }

    // The copy dialog's destination replaced by `text`, then Enter.
    void AnswerDialog(const std::string& title, const std::string& text) {
        ASSERT_TRUE(Shows(title)) << host->ScreenText();
        if (!text.empty()) {
            host->SendText(text);
        }
        host->SendKey(KEY_ENTER);
    }

    // F5, then in the copy dialog titled `title` the option of the Alt
    // letter, then Enter.
    void CopyWithOption(const std::string& title, char letter) {
        host->SendKey(KEY_F5);
        ASSERT_TRUE(Shows(title)) << host->ScreenText();
        host->SendKey(KeyAltLetter(letter), letter, ShiftAlt);
        host->WaitQuiet();
        host->SendKey(KEY_ENTER);
    }

    // Answers a question about `subject` (a text only the question shows,
    // such as the destination path). The next file's question may have the
    // same words and replace this one in a single screen update, so the wait
    // afterwards is for the subject to go, not the words.
    void Answer(const std::string& question, const char* key, const std::string& subject = "") {
        ASSERT_TRUE(Shows(question)) << host->ScreenText();
        if (!subject.empty()) {
            ASSERT_TRUE(Shows(subject)) << host->ScreenText();
        }
        if (std::string(key) == "Esc") {
            host->SendKey(KEY_ESC);
        } else if (std::string(key) == "Enter") {
            host->SendKey(KEY_ENTER);
        } else {
            // As a key of its own, without the modifiers of the quick search.
            host->SendKey(key[0], key[0], 0);
        }
        ASSERT_TRUE(Gone(subject.empty() ? question : subject)) << host->ScreenText();
    }

    // Waits until the command ended and the panels were drawn again.
    void Settle() {
        host->WaitQuiet(300);
        ASSERT_TRUE(Gone("Copying") && Gone("Moving")) << host->ScreenText();
        ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    }

    static ino_t Inode(const std::string& path) {
        struct stat st;
        return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }

    // Names in a folder that belong to no one: temporary files of a copy.
    int Temporaries(const std::string& folder) { return TemporariesAt(PathOf(folder)); }
    static int TemporariesAt(const std::string& local) {
        int count = 0;
        std::vector<std::string> stack = {local};
        while (!stack.empty()) {
            std::string dir = stack.back();
            stack.pop_back();
            DIR* d = opendir(dir.c_str());
            if (d == nullptr) {
                continue;
            }
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name == "." || name == "..") {
                    continue;
                }
                if (name.rfind(".qv", 0) == 0 || name.find("qvtmp") != std::string::npos ||
                    name.find(".~qv") != std::string::npos) {
                    count++;
                }
                struct stat st;
                if (lstat((dir + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                    stack.push_back(dir + "/" + name);
                }
            }
            closedir(d);
        }
        return count;
    }
};

TEST_F(CopyMoveTest, F6RenamesInPlaceAndTheDescriptionFollows) {
    Write("work/old.txt", "contents");
    Write("work/descript.ion", "old.txt the old one\r\nother.txt kept\n");
    ino_t before = Inode(PathOf("work/old.txt"));
    StartPair();
    GoTo("old.txt");
    host->SendKey(KEY_F6);
    AnswerDialog("Move/Rename", "new.txt");
    Settle();
    ASSERT_TRUE(Eventually([&] { return Exists("work/new.txt"); })) << host->ScreenText();
    EXPECT_FALSE(Exists("work/old.txt"));
    EXPECT_FALSE(Exists("right/new.txt"));
    EXPECT_EQ(before, Inode(PathOf("work/new.txt")));
    EXPECT_EQ("new.txt the old one\r\nother.txt kept\n", Read("work/descript.ion"));
}

// A renamed directory keeps its branch in the drive's tree: the chooser shows
// it under its new name with the folder below it, which no panel has read.
TEST_F(CopyMoveTest, ARenamedDirectoryKeepsItsBranchInTheTree) {
    MakeFolder("work/old");
    MakeFolder("work/old/inner");
    StartPair();
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(Shows(" Directory Tree ")) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Ctrl+R"));
    ASSERT_TRUE(Shows("inner")) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Esc"));
    ASSERT_TRUE(Gone(" Directory Tree ")) << host->ScreenText();
    GoTo("old");
    host->SendKey(KEY_F6);
    AnswerDialog("Move/Rename", "renamed");
    Settle();
    ASSERT_TRUE(Eventually([&] { return Exists("work/renamed/inner"); })) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(Shows(" Directory Tree ")) << host->ScreenText();
    ASSERT_TRUE(Shows("\u2500renamed")) << host->ScreenText();
    EXPECT_TRUE(Shows("\u2500inner")) << host->ScreenText();
    EXPECT_TRUE(Gone("\u2500old")) << host->ScreenText();
}

TEST_F(CopyMoveTest, OverwriteAnswersHoldForLaterFiles) {
    for (const char* name : {"alpha.txt", "beta.txt", "gamma.txt"}) {
        Write(std::string("work/") + name, "new");
        Write(std::string("right/") + name, "old");
    }
    StartPair();
    for (const char* name : {"alpha.txt", "beta.txt", "gamma.txt"}) {
        Tag(name);
    }
    host->SendKey(KEY_F5);
    AnswerDialog("Copy 3 files to", "");
    Answer("File already exists, Overwrite?", "s", "U:\\alpha.txt");  // the first skipped
    Answer("File already exists, Overwrite?", "a", "U:\\beta.txt");   // All for the rest
    Settle();
    EXPECT_FALSE(host->ScreenText().find("Overwrite?") != std::string::npos);
    EXPECT_EQ("old", Read("right/alpha.txt"));
    EXPECT_EQ("new", Read("right/beta.txt"));
    EXPECT_EQ("new", Read("right/gamma.txt"));

    // None: nothing more is asked and nothing replaced. a1 is still tagged.
    Write("right/beta.txt", "old");
    Write("right/gamma.txt", "old");
    Tag("beta.txt");
    Tag("gamma.txt");
    host->SendKey(KEY_F5);
    AnswerDialog("Copy 3 files to", "");
    Answer("File already exists, Overwrite?", "e");
    Settle();
    EXPECT_EQ("old", Read("right/alpha.txt"));
    EXPECT_EQ("old", Read("right/beta.txt"));
    EXPECT_EQ("old", Read("right/gamma.txt"));
    EXPECT_EQ(0, Temporaries("right"));
}

TEST_F(CopyMoveTest, AllOlderReplacesOnlyOlderFilesAlsoInsideTrees) {
    MakeFolder("work/tree");
    MakeFolder("right/tree");
    Write("work/tree/newer.txt", "new");
    Write("work/tree/older.txt", "new");
    Write("right/tree/newer.txt", "old");
    Write("right/tree/older.txt", "keep");
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = 1000000000;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    utimensat(AT_FDCWD, PathOf("right/tree/newer.txt").c_str(), times, 0);
    times[0].tv_sec = times[1].tv_sec = 900000000;
    utimensat(AT_FDCWD, PathOf("work/tree/older.txt").c_str(), times, 0);
    StartPair();
    GoTo("tree");
    host->SendKey(KEY_F5);
    AnswerDialog("Copy \"tree\" to", "");
    Answer("File already exists, Overwrite?", "d");
    Settle();
    EXPECT_EQ("new", Read("right/tree/newer.txt"));
    EXPECT_EQ("keep", Read("right/tree/older.txt"));
}

// "All Older" answered on whichever file the question comes up on (a target
// newer, older or of the same time as its source), for tagged files at the
// top and for the files inside a tree: only the older targets are replaced,
// the newer and same-time ones are kept, the asked one included.
TEST_F(CopyMoveTest, AllOlderDecidesByTimeAlsoForTheFileItWasAnsweredOn) {
    enum Kind { Newer, Older, Same };
    const char* kindNames[] = {"newer", "older", "same"};
    // Which kind comes first by name (the question comes up on it), then the others.
    const Kind orders[][3] = {{Newer, Older, Same}, {Older, Same, Newer}, {Same, Newer, Older}};
    const time_t base = 1000000000;
    auto setTime = [&](const std::string& name, time_t seconds) {
        struct timespec times[2];
        times[0].tv_sec = times[1].tv_sec = seconds;
        times[0].tv_nsec = times[1].tv_nsec = 500;
        ASSERT_EQ(0, utimensat(AT_FDCWD, PathOf(name).c_str(), times, 0)) << name;
    };
    int round = 0;
    for (const auto& order : orders) {
        round++;
        std::vector<std::pair<std::string, Kind>> files;  // names under work/ and right/
        const std::string tree = "tree" + std::string(1, static_cast<char>('a' + round - 1));
        MakeFolder("work/" + tree);
        MakeFolder("right/" + tree);
        for (int i = 0; i < 3; i++) {
            const std::string name =
                std::string(1, static_cast<char>('a' + i)) + kindNames[order[i]] + std::to_string(round) + ".txt";
            files.push_back({name, order[i]});
            files.push_back({tree + "/" + name, order[i]});
        }
        for (const auto& file : files) {
            Write("work/" + file.first, "new " + file.first);
            Write("right/" + file.first, "old " + file.first);
            setTime("work/" + file.first, base);
            setTime("right/" + file.first, file.second == Newer   ? base + 1000
                                           : file.second == Older ? base - 1000
                                                                  : base);
        }
        StartPair();
        // The top files, tagged, then the tree.
        for (const auto& file : files) {
            if (file.first.find('/') == std::string::npos) {
                Tag(file.first);
            }
        }
        host->SendKey(KEY_F5);
        AnswerDialog("Copy 3 files to", "");
        Answer("File already exists, Overwrite?", "d", "U:\\" + files[0].first);
        Settle();
        GoTo(tree);
        host->SendKey(KEY_F5);
        AnswerDialog("Copy \"" + tree + "\" to", "");
        // Inside the tree the question comes up on whichever file the folder
        // lists first.
        Answer("File already exists, Overwrite?", "d");
        Settle();
        for (const auto& file : files) {
            const std::string expected = (file.second == Older ? "new " : "old ") + file.first;
            EXPECT_EQ(expected, Read("right/" + file.first)) << kindNames[file.second] << " " << file.first;
        }
        EXPECT_EQ(0, Temporaries("right"));
    }
}

// All and None given at the first file of a tree hold for every later file
// in it, in the folders below too: no more questions, and every existing file
// replaced (All) or none (None); files the target lacks are copied either way.
TEST_F(CopyMoveTest, AllAndNoneHoldForEveryFileOfATree) {
    const char* existing[] = {"tree/a.txt", "tree/b.txt", "tree/sub/c.txt", "tree/sub/deeper/d.txt"};
    for (const char* side : {"work/", "right/"}) {
        MakeFolder(std::string(side) + "tree");
        MakeFolder(std::string(side) + "tree/sub");
        MakeFolder(std::string(side) + "tree/sub/deeper");
    }
    struct Round {
        const char* key;
        const char* expected;  // what the existing files hold afterwards
    } rounds[] = {{"e", "old "}, {"a", "new "}};
    for (const Round& round : rounds) {
        for (const char* name : existing) {
            Write(std::string("work/") + name, std::string("new ") + name);
            Write(std::string("right/") + name, std::string("old ") + name);
        }
        Write("work/tree/sub/only.txt", "only in the source");
        unlink(PathOf("right/tree/sub/only.txt").c_str());
        StartPair();
        GoTo("tree");
        host->SendKey(KEY_F5);
        AnswerDialog("Copy \"tree\" to", "");
        // One question only, for whichever existing file comes first.
        ASSERT_TRUE(Shows("Overwrite?")) << host->ScreenText();
        host->SendKey(round.key[0], round.key[0], 0);
        ASSERT_TRUE(Eventually([&] { return Exists("right/tree/sub/only.txt"); })) << host->ScreenText();
        Settle();
        EXPECT_EQ(std::string::npos, host->ScreenText().find("Overwrite?")) << round.key << host->ScreenText();
        for (const char* name : existing) {
            EXPECT_EQ(std::string(round.expected) + name, Read(std::string("right/") + name)) << round.key;
            EXPECT_EQ(std::string("new ") + name, Read(std::string("work/") + name)) << round.key;
        }
        EXPECT_EQ("only in the source", Read("right/tree/sub/only.txt")) << round.key;
        EXPECT_EQ(0, Temporaries("right")) << round.key;
    }
}

TEST_F(CopyMoveTest, AFileIsNeverCopiedOntoItself) {
    Write("work/self.txt", "self");
    MapDrive('V', "work");
    ASSERT_EQ(0, link(PathOf("work/self.txt").c_str(), PathOf("right/hard.txt").c_str()));
    StartPair();
    struct Case {
        int key;
        const char* title;
        const char* destination;
    } cases[] = {
        {KEY_SHIFT_F5, "Copy \"self.txt\" to", "self.txt"},
        {KEY_F5, "Copy \"self.txt\" to", "V:\\self.txt"},
        {KEY_F5, "Copy \"self.txt\" to", "U:\\hard.txt"},
    };
    for (const Case& c : cases) {
        if (qvtest::OnWindowsLeg() && std::string(c.destination) == "U:\\hard.txt") {
            EXPECT_EQ(0, Temporaries("work"));
            GTEST_SKIP() << "wine gives a file the volume serial of the drive folder its name lies in, so the names "
                            "of one hard link in two drives' folders look like two files";
        }
        GoTo("self.txt");
        host->SendKey(c.key);
        AnswerDialog(c.title, c.destination);
        if (host->WaitForText("File already exists", 2000)) {
            host->SendText("o");
        }
        Answer("File cannot overwrite itself", "Enter");
        Settle();
        EXPECT_EQ("self", Read("work/self.txt")) << c.destination;
    }
    EXPECT_EQ("self", Read("right/hard.txt"));
    EXPECT_EQ(0, Temporaries("work"));
}

TEST_F(CopyMoveTest, SkipOnErrorListsAnUnreadableFileWithoutAsking) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    Write("work/bone.txt", "one");
    Write("work/btwo.txt", "two");
    chmod(PathOf("work/btwo.txt").c_str(), 0);
    StartPair();
    Tag("bone.txt");
    Tag("btwo.txt");
    CopyWithOption("Copy 2 files to", 's');
    ASSERT_TRUE(Shows(" Copy Failures ")) << host->ScreenText();
    EXPECT_TRUE(Shows("btwo.txt: Access Denied")) << host->ScreenText();
    EXPECT_EQ(std::string::npos, host->ScreenText().find("Retry"));
    host->SendKey(KEY_ENTER);
    Settle();
    chmod(PathOf("work/btwo.txt").c_str(), 0644);
    EXPECT_EQ("one", Read("right/bone.txt"));
    EXPECT_FALSE(Exists("right/btwo.txt"));
    EXPECT_EQ(0, Temporaries("right"));
    // The failed one stays tagged, the copied one not: a second F5 offers one file.
    host->SendKey(KEY_F5);
    EXPECT_TRUE(Shows("Copy 1 file")) << host->ScreenText();
    host->SendKey(KEY_ESC);
}

TEST_F(CopyMoveTest, ASkippedReadOnlyQuestionLeavesTheMovedFileInBothPlaces) {
    Write("work/ro.txt", "read only");
    Write("work/descript.ion", "ro.txt its line\r\n");
    chmod(PathOf("work/ro.txt").c_str(), 0444);
    // Another file system (the RAM disk under the drive of the whole Linux
    // tree: C: on Linux, Z: under wine, whose C: is its prefix's own), so the
    // move copies and deletes.
    std::string other = "/dev/shm/qvcopy-" + std::to_string(getpid());
    ASSERT_EQ(0, mkdir(other.c_str(), 0755));
    StartPair();
    Tag("ro.txt");
    host->SendKey(KEY_F6);
    AnswerDialog("Move 1 file", (qvtest::OnWindowsLeg() ? "Z:" : "C:") + other + "\\");
    Answer("File is Read Only, Delete anyway?", "s");
    Settle();
    chmod(PathOf("work/ro.txt").c_str(), 0644);
    EXPECT_EQ("read only", Read("work/ro.txt"));
    EXPECT_EQ("ro.txt its line\r\n", Read("work/descript.ion"));
    std::ifstream copy(other + "/ro.txt");
    EXPECT_EQ("read only", std::string(std::istreambuf_iterator<char>(copy), {}));
    // Still tagged: F6 offers it again.
    host->SendKey(KEY_F6);
    EXPECT_TRUE(Shows("Move 1 file")) << host->ScreenText();
    host->SendKey(KEY_ESC);
    host->WaitQuiet();
    for (const char* name : {"/ro.txt", "/descript.ion"}) {
        chmod((other + name).c_str(), 0644);
        unlink((other + name).c_str());
    }
    rmdir(other.c_str());
}

// A tree moved to another file system in which one file is not moved (its
// read-only source kept by Skip, or a file that cannot be read skipped): that
// file and the folders holding it stay in the source, no "Delete tree"
// question comes up to take them, and everything else moved.
TEST_F(CopyMoveTest, AMovedTreeKeepsASkippedFileAndTheFoldersHoldingIt) {
    const std::string other = "/dev/shm/qvskip-" + std::to_string(getpid());
    struct Round {
        const char* what;
        mode_t mode;           // of the file that stays
        const char* question;  // what asks about it
    } rounds[] = {{"read-only", 0444, "File is Read Only, Delete anyway?"}, {"unreadable", 0, "Access Denied"}};
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.what);
        if (round.mode == 0 && geteuid() == 0) {
            continue;  // root reads every file
        }
        ASSERT_EQ(0, mkdir(other.c_str(), 0755));
        MakeFolder("work/tree");
        MakeFolder("work/tree/sub");
        Write("work/tree/a.txt", "a");
        Write("work/tree/sub/b.txt", "b");
        Write("work/tree/sub/stays.txt", "stays");
        Write("work/tree/z.txt", "z");
        chmod(PathOf("work/tree/sub/stays.txt").c_str(), round.mode);
        StartPair();
        host->WatchText("Delete tree");
        GoTo("tree");
        host->SendKey(KEY_F6);
        AnswerDialog("Move/Rename \"tree\" to", (qvtest::OnWindowsLeg() ? "Z:" : "C:") + other + "\\");
        Answer(round.question, "s", "stays.txt");
        Settle();
        EXPECT_FALSE(host->WaitForSeen("Delete tree", 0)) << host->ScreenText();
        chmod(PathOf("work/tree/sub/stays.txt").c_str(), 0644);
        EXPECT_EQ("stays", Read("work/tree/sub/stays.txt"));
        const std::pair<std::string, std::string> moved[] = {
            {"tree/a.txt", "a"}, {"tree/sub/b.txt", "b"}, {"tree/z.txt", "z"}};
        for (const auto& file : moved) {
            EXPECT_FALSE(Exists("work/" + file.first)) << file.first;
            std::ifstream arrived(other + "/" + file.first);
            EXPECT_EQ(file.second, std::string(std::istreambuf_iterator<char>(arrived), {})) << file.first;
        }
        host->CloseInput();
        host->WaitExit();
        host.reset();
        std::error_code ignored;
        std::filesystem::remove_all(PathOf("work/tree"), ignored);
        chmod((other + "/tree/sub/stays.txt").c_str(), 0644);
        std::filesystem::remove_all(other, ignored);
    }
}

TEST_F(CopyMoveTest, DescriptionLinesFollowCopiesAndMoves) {
    std::string longLine = "long.txt " + std::string(5000, 'L') + "\r\n";
    Write("work/c.txt", "c");
    Write("work/long.txt", "l");
    Write("work/lf.txt", "f");
    Write("work/descript.ion", "lf.txt ends in LF\n" + longLine + "c.txt the c file\r\n");
    StartPair();
    GoTo("c.txt");
    host->SendKey(KEY_F5);
    AnswerDialog("Copy \"c.txt\" to", "");
    Settle();
    ASSERT_TRUE(Eventually([&] { return Exists("right/c.txt"); }));
    EXPECT_EQ("c.txt the c file\r\n", Read("right/descript.ion"));
    // Moving it away takes the line; the neighbours stay byte for byte.
    host->SendKey(KEY_F6);
    AnswerDialog("Move/Rename \"c.txt\" to", "U:\\moved.txt");
    Settle();
    Eventually(
        [&] { return Exists("right/moved.txt") && Read("work/descript.ion") == "lf.txt ends in LF\n" + longLine; });
    EXPECT_EQ("lf.txt ends in LF\n" + longLine, Read("work/descript.ion"));
    EXPECT_EQ("c.txt the c file\r\nmoved.txt the c file\r\n", Read("right/descript.ion"));
    // Moving the file of the last line... after the other two: the file goes.
    for (const char* name : {"lf.txt", "long.txt"}) {
        Tag(name);
    }
    host->SendKey(KEY_F6);
    AnswerDialog("Move 2 files to", "");
    Settle();
    ASSERT_TRUE(Eventually([&] { return !Exists("work/lf.txt") && !Exists("work/long.txt"); }));
    Eventually([&] { return !Exists("work/descript.ion"); });
    EXPECT_FALSE(Exists("work/descript.ion"));
    std::string right = Read("right/descript.ion");
    EXPECT_NE(std::string::npos, right.find(longLine));
    EXPECT_NE(std::string::npos, right.find("lf.txt ends in LF\r\n"));
}

// Every file of a tree, by relative path, with its bytes.
std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& root) {
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> stack = {""};
    while (!stack.empty()) {
        std::string rel = stack.back();
        stack.pop_back();
        DIR* d = opendir((root + rel).c_str());
        if (d == nullptr) {
            continue;
        }
        std::vector<std::string> names;
        while (dirent* e = readdir(d)) {
            names.push_back(e->d_name);
        }
        closedir(d);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            if (name == "." || name == "..") {
                continue;
            }
            std::string path = rel + "/" + name;
            struct stat st;
            lstat((root + path).c_str(), &st);
            if (S_ISDIR(st.st_mode)) {
                files.push_back({path + "/", ""});
                stack.push_back(path);
            } else {
                files.push_back({path, qvtest::ReadFileBytes(qvtest::W(root + path))});
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(CopyMoveTest, TreesCopyWholeAndAFullTargetLosesNothing) {
    MakeFolder("work/tree");
    MakeFolder("work/tree/empty");
    MakeFolder("work/tree/deep");
    Write("work/tree/deep/small.txt", "small");
    Write("work/tree/zero", "");
    std::string large(3 * 1024 * 1024, 0);
    for (size_t i = 0; i < large.size(); i++) {
        large[i] = static_cast<char>(i * 131 + i / 4099);
    }
    Write("work/tree/large.bin", large);
    Write("work/tree/descript.ion", "zero an empty file\r\n");
    Write("work/tree/deep/descript.ion", "small.txt five bytes\r\n");
    auto source = Snapshot(PathOf("work/tree"));
    StartPair();
    GoTo("tree");
    host->SendKey(KEY_F5);
    AnswerDialog("Copy \"tree\" to", "");
    Settle();
    ASSERT_TRUE(Eventually([&] { return Snapshot(PathOf("right/tree")) == source; })) << host->ScreenText();
    EXPECT_EQ(source, Snapshot(PathOf("work/tree")));

    // An old target and a target file system that takes no more than 1 MiB
    // per file: the large file fails, is skipped, and the old one stays whole.
    Write("right/tree/large.bin", "old large");
    Write("right/tree/zero", "old zero");
    auto oldTarget = Snapshot(PathOf("right/tree"));
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 1024 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    Launch(Options({Ini("StickyAlt=off\r\n"), "-l", "T:\\work", "-r", "U:\\"}));
    setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    GoTo("tree");
    host->SendKey(KEY_F5);
    AnswerDialog("Copy \"tree\" to", "");
    // Wine reports a write past the file-size limit as a general failure,
    // where the Linux layer (like Windows on a full disk) reports no room.
    const std::string noRoom = qvtest::OnWindowsLeg()
                                   ? SystemMessage(31, "A device attached to the system is not functioning.")
                                   : "No room for";
    // Each file of the tree may ask (the order is the file system's), so the
    // loop waits for the next question or the end of the copy, whichever
    // comes first, rather than for a quiet screen, which a slow copy of the
    // large file can show between two questions.
    // The old target makes the first file ask; until then the screen may
    // still show the copy dialog, which is neither a question nor the end.
    ASSERT_TRUE(Shows("Overwrite?")) << host->ScreenText();
    bool askedLarge = false;
    for (int i = 0; i < 20; i++) {
        ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) {
            const std::string rows = s.TextRows();
            return rows.find("Overwrite?") != std::string::npos || rows.find(noRoom) != std::string::npos ||
                   rows.find("Copying") == std::string::npos;
        })) << host->ScreenText();
        const std::string text = host->Snapshot().TextRows();
        // The next question may replace this one in a single screen update,
        // with the same words, so the wait after an answer is for any change.
        const auto changed = [&](const ScreenModel& s) { return s.TextRows() != text; };
        if (text.find("Overwrite?") != std::string::npos) {
            // Replace the small one, keep asking for the large one.
            askedLarge = askedLarge || text.find("large.bin") != std::string::npos;
            host->SendKey(KEY_ENTER);
            ASSERT_TRUE(host->WaitFor(changed)) << host->ScreenText();
        } else if (text.find(noRoom) != std::string::npos) {
            host->SendKey('s', 's', 0);
            ASSERT_TRUE(host->WaitFor(changed)) << host->ScreenText();
        } else {
            break;
        }
    }
    Settle();
    EXPECT_TRUE(askedLarge);
    auto after = Snapshot(PathOf("right/tree"));
    for (const auto& file : after) {
        if (file.first == "/large.bin") {
            EXPECT_EQ("old large", file.second);
        } else if (file.first == "/zero") {
            EXPECT_EQ("", file.second);
        }
    }
    EXPECT_EQ(source, Snapshot(PathOf("work/tree")));
    EXPECT_EQ(0, Temporaries("right"));

    // A move of the tree onto the existing one: every source file is either
    // still in place or wholly at the target.
    Launch(Options({Ini("StickyAlt=off\r\n"), "-l", "T:\\work", "-r", "U:\\"}));
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    GoTo("tree");
    host->SendKey(KEY_F6);
    AnswerDialog("Move/Rename \"tree\" to", "");
    for (int i = 0; i < 6 && host->WaitForText("Overwrite?", 1500); i++) {
        host->SendKey('a', 'a', 0);
        host->WaitQuiet(300);
    }
    Settle();
    ASSERT_TRUE(Eventually([&] { return !Exists("work/tree"); })) << host->ScreenText();
    auto moved = Snapshot(PathOf("right/tree"));
    for (const auto& file : source) {
        if (file.first.find("descript.ion") != std::string::npos) {
            continue;
        }
        bool found = false;
        for (const auto& m : moved) {
            found = found || m == file;
        }
        EXPECT_TRUE(found) << file.first;
    }
    EXPECT_EQ(0, Temporaries("right"));
}

// The bytes of a file of the test's tree: its own name and position spread
// over it, so that no two files and no two blocks of one file are alike.
std::string Pattern(const std::string& name, size_t size) {
    std::string bytes(size, 0);
    for (size_t i = 0; i < size; i++) {
        bytes[i] = static_cast<char>(i * 131 + i / 4099 + name[i % name.size()]);
    }
    return bytes;
}

// Whether every file of a target tree is whole: as it was before (old), the
// source's file (new), or not there; never cut short or a mix of the two.
// Counts the new ones.
int CheckWholeFiles(const std::vector<std::pair<std::string, std::string>>& source,
                    const std::vector<std::pair<std::string, std::string>>& oldTarget,
                    const std::vector<std::pair<std::string, std::string>>& target) {
    int copied = 0;
    for (const auto& file : target) {
        if (file.first.back() == '/') {
            continue;
        }
        const auto from =
            std::find_if(source.begin(), source.end(), [&](const auto& f) { return f.first == file.first; });
        const auto old =
            std::find_if(oldTarget.begin(), oldTarget.end(), [&](const auto& f) { return f.first == file.first; });
        const bool isNew = from != source.end() && from->second == file.second;
        const bool isOld = old != oldTarget.end() && old->second == file.second;
        EXPECT_TRUE(isNew || isOld) << file.first << " holds " << file.second.size() << " bytes, neither the "
                                    << (from != source.end() ? from->second.size() : 0) << " of the source nor the "
                                    << (old != oldTarget.end() ? old->second.size() : 0) << " it held";
        copied += isNew && !isOld ? 1 : 0;
    }
    // Nothing the target held before is gone.
    for (const auto& file : oldTarget) {
        EXPECT_TRUE(std::any_of(target.begin(), target.end(), [&](const auto& f) { return f.first == file.first; }))
            << file.first;
    }
    return copied;
}

// Esc while a tree is being copied over an old one (overwrite always): the
// copy stops, and whatever it reached is whole; the source is untouched.
TEST_F(CopyMoveTest, EscMidCopyLeavesEveryFileWholeOrUntouched) {
    // Enough files that the copy still runs when the Esc arrives (each costs
    // its own temporary file, rename and times), a few large enough that the
    // Esc may fall inside one.
    const int folders = 6;
    const int files = 200;
    for (const char* side : {"work/", "right/"}) {
        MakeFolder(std::string(side) + "big");
        for (int f = 0; f < folders; f++) {
            MakeFolder(std::string(side) + "big/f" + std::to_string(f));
        }
    }
    for (int f = 0; f < folders; f++) {
        for (int i = 0; i < files; i++) {
            const std::string name = "big/f" + std::to_string(f) + "/file" + std::to_string(i) + ".bin";
            Write("work/" + name, Pattern(name, i % 40 == 0 ? 2 * 1024 * 1024 : 1024 + i * 13));
            // Every seventh file has an old version at the target.
            if (i % 7 == 0) {
                Write("right/" + name, "old " + name);
            }
        }
    }
    Write("work/big/descript.ion", "f0 first folder\r\n");
    const auto source = Snapshot(PathOf("work/big"));
    const auto oldTarget = Snapshot(PathOf("right/big"));
    StartPair();
    GoTo("big");
    // Overwrite: Always, so that no question stops the copy before the Esc.
    CopyWithOption("Copy \"big\" to", 'a');
    // Under way: the progress window shows and the first file arrived.
    ASSERT_TRUE(Shows("Copying")) << host->ScreenText();
    ASSERT_TRUE(Eventually(
        [&] {
            for (const auto& file : source) {
                struct stat st;
                const std::string path = PathOf("right/big" + file.first);
                if (file.first.back() != '/' && file.second.size() > 0 && stat(path.c_str(), &st) == 0 &&
                    static_cast<size_t>(st.st_size) == file.second.size()) {
                    return true;
                }
            }
            return false;
        },
        20000))
        << host->ScreenText();
    host->SendKey(KEY_ESC);
    // The copy ends at the Esc; whatever it asks is answered by stopping.
    // The Esc is seen at the latest between two files, which on a loaded
    // machine (or under wine, whose copy reports no progress within a file)
    // can take a while; a copy that ignored it would copy every file, which
    // the counts below would show.
    for (int i = 0; i < 5; i++) {
        ASSERT_TRUE(host->WaitFor(
            [&](const ScreenModel& s) {
                const std::string rows = s.TextRows();
                return rows.find("Copying") == std::string::npos || rows.find("[ Cancel ]") != std::string::npos;
            },
            60000))
            << host->ScreenText();
        const std::string text = host->Snapshot().TextRows();
        if (text.find("[ Cancel ]") == std::string::npos) {
            break;
        }
        // Overwriting was allowed once for all: only the Esc may ask.
        EXPECT_EQ(std::string::npos, text.find("Overwrite?")) << text;
        host->SendKey(KEY_ESC);
        ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) { return s.TextRows() != text; })) << host->ScreenText();
    }
    Settle();
    EXPECT_EQ(source, Snapshot(PathOf("work/big")));
    const auto target = Snapshot(PathOf("right/big"));
    const int copied = CheckWholeFiles(source, oldTarget, target);
    // The Esc stopped the copy: not every file went.
    int sourceFiles = 0;
    for (const auto& file : source) {
        sourceFiles += file.first.back() == '/' ? 0 : 1;
    }
    EXPECT_GT(copied, 0);
    EXPECT_LT(copied, sourceFiles - 1) << "the copy ended before the Esc";
    EXPECT_EQ(0, Temporaries("right"));
    // The cursor is still on the tree: a second F5 copies
    // the rest, over everything, and then the target is the source.
    CopyWithOption("Copy \"big\" to", 'a');
    ASSERT_TRUE(Shows("Copying")) << host->ScreenText();
    Settle();
    // (The folders' description line is not carried: they existed at the
    // target, and a merge keeps the target's own descriptions.)
    auto whole = Snapshot(PathOf("right/big"));
    auto expected = source;
    for (auto* tree : {&whole, &expected}) {
        tree->erase(
            std::remove_if(tree->begin(), tree->end(), [](const auto& f) { return f.first == "/descript.ion"; }),
            tree->end());
    }
    EXPECT_EQ(expected.size(), whole.size());
    EXPECT_TRUE(expected == whole);
    EXPECT_EQ(0, Temporaries("right"));
}

// A file the copy cannot read, inside a tree copied over an old one: the
// error is asked about, Skip leaves its old target as it was, and every other
// file arrives whole.
TEST_F(CopyMoveTest, AnUnreadableFileInATreeLeavesItsOldTargetWhole) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    for (const char* side : {"work/", "right/"}) {
        MakeFolder(std::string(side) + "tree");
        MakeFolder(std::string(side) + "tree/sub");
    }
    Write("work/tree/a.txt", "new a");
    Write("work/tree/sub/large.bin", Pattern("large", 2 * 1024 * 1024));
    Write("work/tree/sub/secret.txt", "new secret");
    Write("work/tree/z.txt", "new z");
    Write("right/tree/sub/secret.txt", "old secret");
    chmod(PathOf("work/tree/sub/secret.txt").c_str(), 0);
    StartPair();
    GoTo("tree");
    host->SendKey(KEY_F5);
    AnswerDialog("Copy \"tree\" to", "");
    // Each existing file asks first; Always for all of them.
    ASSERT_TRUE(Shows("Overwrite?")) << host->ScreenText();
    host->SendKey('a', 'a', 0);
    Answer("Access Denied", "s", "secret.txt");
    Settle();
    chmod(PathOf("work/tree/sub/secret.txt").c_str(), 0644);
    EXPECT_EQ("new a", Read("right/tree/a.txt"));
    EXPECT_EQ("new z", Read("right/tree/z.txt"));
    EXPECT_EQ(Pattern("large", 2 * 1024 * 1024), Read("right/tree/sub/large.bin"));
    EXPECT_EQ("old secret", Read("right/tree/sub/secret.txt"));
    EXPECT_EQ("new secret", Read("work/tree/sub/secret.txt"));
    EXPECT_EQ(0, Temporaries("right"));
}

// A tree moved to a place where nothing of its name exists, on the same
// file system (a rename) and onto another one (a copy, then the source
// deleted): every file arrives byte for byte, the source is gone, and the
// tree's description line goes with it.
TEST_F(CopyMoveTest, ATreeMovedToANewTargetArrivesWholeAndLeavesNothing) {
    std::string other = "/dev/shm/qvmove-" + std::to_string(getpid());
    ASSERT_EQ(0, mkdir(other.c_str(), 0755));
    struct Round {
        std::string destination;   // typed, "" for the other panel
        std::string local;         // where the tree arrives
        std::string descriptions;  // the description file beside it
    } rounds[] = {
        {"", PathOf("right/tree"), PathOf("right/descript.ion")},
        {(qvtest::OnWindowsLeg() ? "Z:" : "C:") + other + "\\", other + "/tree", other + "/descript.ion"},
    };
    for (const Round& round : rounds) {
        MakeFolder("work/tree");
        MakeFolder("work/tree/empty");
        MakeFolder("work/tree/deep");
        MakeFolder("work/tree/deep/deeper");
        Write("work/tree/zero", "");
        Write("work/tree/large.bin", Pattern("large", 3 * 1024 * 1024));
        Write("work/tree/deep/small.txt", "small");
        Write("work/tree/deep/deeper/last.txt", "last");
        Write("work/tree/descript.ion", "zero an empty file\r\n");
        Write("work/tree/deep/descript.ion", "small.txt five bytes\r\n");
        Write("work/keep.txt", "keep");
        Write("work/descript.ion", "tree the tree\r\nkeep.txt stays\r\n");
        const auto source = Snapshot(PathOf("work/tree"));
        StartPair();
        GoTo("tree");
        host->SendKey(KEY_F6);
        AnswerDialog("Move/Rename \"tree\" to", round.destination);
        Settle();
        ASSERT_TRUE(Eventually([&] { return !Exists("work/tree"); })) << round.local << host->ScreenText();
        EXPECT_EQ(source, Snapshot(round.local)) << round.local;
        EXPECT_EQ("keep.txt stays\r\n", Read("work/descript.ion")) << round.local;
        std::ifstream lines(round.descriptions);
        EXPECT_EQ("tree the tree\r\n", std::string(std::istreambuf_iterator<char>(lines), {})) << round.local;
        EXPECT_EQ(0, Temporaries("right"));
        EXPECT_EQ(0, Temporaries("work"));
        EXPECT_EQ(0, TemporariesAt(other));
    }
    std::error_code ignored;
    std::filesystem::remove_all(other, ignored);
}

// Work cut short by SIGKILL: the program is killed while its temporary file
// stands beside the file it makes (the moment is found by watching the
// folder, so a fast copy needs a large file; a copy that ended before the
// kill is tried again with a larger one). The next run, at its next write of
// such a file in that folder, removes what the dead run left; every file is
// old or new, byte for byte.
class KilledWorkTest : public CopyMoveTest {
protected:
    // Names of this program's temporary files in a local folder.
    static std::vector<std::string> TemporaryNames(const std::string& local) {
        std::vector<std::string> names;
        if (DIR* d = opendir(local.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name.rfind(".qv", 0) == 0 || name.find(".~qv") != std::string::npos) {
                    names.push_back(name);
                }
            }
            closedir(d);
        }
        return names;
    }

    // Types one letter into the editor once the file is loaded (the load
    // reads the keyboard only for Esc) and waits until the editor took it.
    void Type(const std::string& letter) {
        ASSERT_TRUE(host->WaitFor(
            [](const ScreenModel& s) {
                return s.RowText(0).find("Col 1") != std::string::npos &&
                       s.RowText(s.Rows() - 1).find("8Rplace") != std::string::npos;
            },
            60000))
            << host->ScreenText();
        host->SendText(letter);
        ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(0).find("Col 2") != std::string::npos; }))
            << host->ScreenText();
    }

    // Kills the program as soon as a temporary file stands in the folder;
    // true when one was there after the kill (the work was cut short).
    bool KillWhenTemporaryAppears(const std::string& local) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (TemporaryNames(local).empty()) {
            if (std::chrono::steady_clock::now() > until) {
                return false;
            }
            usleep(100);
        }
        kill(host->Pid(), SIGKILL);
        EXPECT_GE(host->WaitExit(), 0);
        host.reset();
        return !TemporaryNames(local).empty();
    }
};

TEST_F(KilledWorkTest, ACopyOverAnOldFileAndAMoveFromAnotherFileSystemLeaveNothingAfterTheNextRun) {
    // The move comes from a RAM disk, mapped as a drive of its own.
    std::string other = "/dev/shm/qvkill-" + std::to_string(getpid());
    ASSERT_EQ(0, mkdir(other.c_str(), 0755));
    struct Round {
        const char* what;
        bool move;
        std::string folder;  // where the source lies, as the left panel shows it
    } rounds[] = {{"copy", false, "T:\\work"}, {"move", true, "S:\\"}};
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.what);
        const std::string sourceLocal = round.move ? other : PathOf("work");
        Write("right/big.bin", "old big");
        Write("work/next.txt", "next");
        bool cut = false;
        std::string bytes;
        for (size_t size = 64u << 20; !cut && size <= (512u << 20); size *= 2) {
            bytes = Pattern(round.what, size);
            std::ofstream(sourceLocal + "/big.bin", std::ios::binary) << bytes;
            Write("right/big.bin", "old big");
            ScriptedHost::Options options = Options({Ini("StickyAlt=off\r\n"), "-l", round.folder, "-r", "U:\\"});
            options.env["QUORVANE_DRIVES"] += ";S=" + other;
            Launch(options);
            ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
            GoTo("big.bin");
            host->SendKey(round.move ? KEY_F6 : KEY_F5);
            // Overwrite: Always, so that nothing is asked before the copy runs.
            ASSERT_TRUE(Shows(round.move ? "Move/Rename \"big.bin\" to" : "Copy \"big.bin\" to")) << host->ScreenText();
            host->SendKey(KeyAltLetter('a'), 'a', ShiftAlt);
            host->WaitQuiet();
            host->SendKey(KEY_ENTER);
            cut = KillWhenTemporaryAppears(PathOf("right"));
        }
        ASSERT_TRUE(cut) << "every copy ended before the kill";
        // Cut short: the old target and the source are as they were.
        EXPECT_EQ("old big", Read("right/big.bin"));
        std::ifstream source(sourceLocal + "/big.bin", std::ios::binary);
        EXPECT_TRUE(bytes == std::string(std::istreambuf_iterator<char>(source), {}));

        // The next run writes into that folder: another file first (the
        // folder is swept at its first write), then the interrupted one again.
        StartPair();
        GoTo("next.txt");
        host->SendKey(KEY_F5);
        AnswerDialog("Copy \"next.txt\" to", "");
        Settle();
        ASSERT_TRUE(Eventually([&] { return Exists("right/next.txt"); })) << host->ScreenText();
        EXPECT_EQ("next", Read("right/next.txt"));
        EXPECT_EQ("old big", Read("right/big.bin"));
        EXPECT_EQ(std::vector<std::string>(), TemporaryNames(PathOf("right")));
        host->CloseInput();
        host->WaitExit();
        host.reset();
        unlink(PathOf("right/next.txt").c_str());
        unlink((sourceLocal + "/big.bin").c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(other, ignored);
}

TEST_F(KilledWorkTest, AnEditorSaveLeavesNothingAfterTheNextSave) {
    // Lines enough that the save takes a while.
    std::string old;
    for (int i = 0; old.size() < (6u << 20); i++) {
        old += "line " + std::to_string(i) + " of the file that is saved while the program is killed\n";
    }
    bool cut = false;
    for (int attempt = 0; !cut && attempt < 3; attempt++) {
        Write("work/notes.txt", old);
        Launch(Options({"-e", "T:\\work\\notes.txt"}));
        Type("x");
        host->PressKey("F2");
        cut = KillWhenTemporaryAppears(PathOf("work"));
    }
    ASSERT_TRUE(cut) << "every save ended before the kill";
    EXPECT_TRUE(old == Read("work/notes.txt"));

    // The next save in that folder: the dead run's file goes, the new text
    // takes the old one's place.
    Launch(Options({"-e", "T:\\work\\notes.txt"}));
    Type("y");
    host->PressKey("F2");
    ASSERT_TRUE(Eventually([&] { return Read("work/notes.txt") == "y" + old; }, 60000)) << host->ScreenText();
    host->PressKey("Esc");
    EXPECT_EQ(0, host->WaitExit(60000));
    EXPECT_EQ(std::vector<std::string>(), TemporaryNames(PathOf("work")));
}

}  // namespace
