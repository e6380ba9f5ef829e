// The internal editor in the real program under the scripted host: creating,
// typing and saving, files kept byte for byte, permissions, read-only and
// changed-on-disk prompts, replace with undo, leaving with unsaved changes,
// Save As, the state kept between runs, and the ways the program reaches it.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "console/KeyCodes.h"
#include "console/MenuCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

class EditorE2E : public qvtest::ProgramTest {
protected:
    // Starts the program with -e on a file of T:.
    void Edit(const std::string& name) { Launch(Options({"-e", "T:\\" + name})); }

    bool EditorShows(const std::string& name) {
        return host->WaitFor([&](const ScreenModel& s) {
            return s.RowText(0).rfind("Edit: T:\\" + name, 0) == 0 &&
                   s.RowText(s.Rows() - 1).find("8Rplace") != std::string::npos;
        });
    }
    bool StatusHas(const std::string& text) {
        return host->WaitFor([&](const ScreenModel& s) { return s.RowText(0).find(text) != std::string::npos; });
    }
    bool Modified() {
        // The flag stands in the fourth column after the padded name.
        std::string status = host->Snapshot().RowText(0);
        size_t line = status.find(" Line ");
        return line != std::string::npos && line >= 2 && status[line - 2] == '*';
    }
    bool WaitModified(bool wanted) {
        return Eventually([&] { return Modified() == wanted; });
    }
    void Undo() { host->SendKey(KEY_ALT_BACKSPACE, 0, 1); }
    // The file has no write bits again (the attribute comes back right
    // after the rename).
    bool ReadOnlyAgain(const std::string& name) {
        return Eventually([&] {
            struct stat after;
            return stat(PathOf(name).c_str(), &after) == 0 && (after.st_mode & 0222) == 0;
        });
    }
    // F3, and the name typed over the one the Save As dialog holds.
    void SaveAs(const std::string& name) {
        host->PressKey("F3");
        ASSERT_TRUE(Shows("Save As")) << host->ScreenText();
        // The name field has the focus and holds the path.
        for (int i = 0; i < 20; i++)
            host->PressKey("Backspace");
        host->SendText(name);
        host->PressKey("Enter");
    }
    // Saves and waits until the file holds the text.
    bool SaveAndWaitFor(const std::string& name, const std::string& bytes) {
        host->PressKey("F2");
        return Eventually([&] { return Read(name) == bytes; });
    }
};

TEST_F(EditorE2E, NewFileIsCreatedTypedAndSaved) {
    Edit("new.txt");
    ASSERT_TRUE(Shows("File does not exist, Create?")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(EditorShows("new.txt")) << host->ScreenText();
    host->SendText("abc");
    ASSERT_TRUE(StatusHas("Col 4")) << host->ScreenText();
    std::string status = host->Snapshot().RowText(0);
    EXPECT_NE(status.find("Line 1"), std::string::npos) << status;
    EXPECT_TRUE(Modified()) << status;
    EXPECT_EQ(host->Snapshot().RowText(1).substr(0, 3), "abc");
    EXPECT_FALSE(Exists("new.txt"));
    ASSERT_TRUE(SaveAndWaitFor("new.txt", "abc"));
    EXPECT_TRUE(WaitModified(false)) << host->Snapshot().RowText(0);
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
    EXPECT_EQ(Read("new.txt"), "abc");
}

TEST_F(EditorE2E, CancelledCreationWritesNothing) {
    Edit("none.txt");
    ASSERT_TRUE(Shows("File does not exist, Create?"));
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
    EXPECT_FALSE(Exists("none.txt"));
}

TEST_F(EditorE2E, MixedLineEndsSurviveAnEditThatIsTakenBack) {
    Write("mixed.txt", "a\r\nb\nc");
    Edit("mixed.txt");
    ASSERT_TRUE(EditorShows("mixed.txt")) << host->ScreenText();
    host->SendText("x");
    ASSERT_TRUE(StatusHas("Col 2"));
    host->PressKey("Backspace");
    ASSERT_TRUE(StatusHas("Col 1"));
    host->PressKey("F2");
    ASSERT_TRUE(WaitModified(false)) << host->ScreenText();
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
    EXPECT_EQ(Read("mixed.txt"), "a\r\nb\nc");
}

TEST_F(EditorE2E, SavingKeepsPermissionsAndTheFileIsReplacedWhole) {
    Write("perm.txt", "one\n");
    ASSERT_EQ(chmod(PathOf("perm.txt").c_str(), 0640), 0);
    struct stat before;
    ASSERT_EQ(stat(PathOf("perm.txt").c_str(), &before), 0);
    Edit("perm.txt");
    ASSERT_TRUE(EditorShows("perm.txt"));
    host->SendText("z");
    ASSERT_TRUE(SaveAndWaitFor("perm.txt", "zone\n"));
    struct stat after;
    ASSERT_EQ(stat(PathOf("perm.txt").c_str(), &after), 0);
    if (!qvtest::OnWindowsLeg()) {
        // (The Windows build keeps attributes; wine gives its files modes of its own.)
        EXPECT_EQ(after.st_mode & 07777, 0640u);
    }
    // A new file took the old one's place: nothing was written into the old.
    EXPECT_NE(after.st_ino, before.st_ino);
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
    // No temporary file stays beside it.
    for (const auto& entry : std::filesystem::directory_iterator(PathOf("."))) {
        EXPECT_EQ(entry.path().filename().string().find("perm.txt."), std::string::npos) << entry.path();
    }
}

TEST_F(EditorE2E, SavingThroughASymbolicLinkReplacesTheTargetAndKeepsTheLink) {
    if (qvtest::OnWindowsLeg()) {
        GTEST_SKIP() << "wine 8 shows a Linux symbolic link as a reparse point it cannot follow";
    }
    Write("target.txt", "t\n");
    // The link is younger than its target: its own time must not count as a
    // change of the file.
    usleep(20000);
    ASSERT_EQ(symlink("target.txt", PathOf("link.txt").c_str()), 0);
    Edit("link.txt");
    ASSERT_TRUE(EditorShows("link.txt"));
    host->SendText("x");
    ASSERT_TRUE(SaveAndWaitFor("target.txt", "xt\n"));
    struct stat link;
    ASSERT_EQ(lstat(PathOf("link.txt").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);

    // A read-only target: the question, then the target is written and is
    // read-only again; the link stays a link.
    ASSERT_EQ(chmod(PathOf("target.txt").c_str(), 0444), 0);
    Edit("link.txt");
    ASSERT_TRUE(EditorShows("link.txt"));
    host->SendText("y");
    host->PressKey("F2");
    ASSERT_TRUE(Shows("File is Read Only, override?")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Eventually([&] { return Read("target.txt") == "yxt\n"; })) << host->ScreenText();
    EXPECT_TRUE(ReadOnlyAgain("target.txt"));
    ASSERT_EQ(lstat(PathOf("link.txt").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
}

TEST_F(EditorE2E, ReadOnlyFileIsWrittenOnlyAfterThePromptAndStaysReadOnly) {
    // Both builds see a file without write bits as read-only by its
    // attribute, also where the system (wine run by root) would let the
    // editor open it for writing.
    Write("ro.txt", "r\n");
    ASSERT_EQ(chmod(PathOf("ro.txt").c_str(), 0444), 0);
    Edit("ro.txt");
    ASSERT_TRUE(EditorShows("ro.txt"));
    host->SendText("1");
    host->PressKey("F2");
    ASSERT_TRUE(Shows("File is Read Only, override?")) << host->ScreenText();
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("File is Read Only"));
    EXPECT_EQ(Read("ro.txt"), "r\n");
    host->PressKey("F2");
    ASSERT_TRUE(Shows("File is Read Only, override?"));
    host->PressKey("Enter");
    ASSERT_TRUE(Eventually([&] { return Read("ro.txt") == "1r\n"; }));
    EXPECT_TRUE(ReadOnlyAgain("ro.txt"));
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
}

TEST_F(EditorE2E, FileChangedOnDiskAsksAndCancelKeepsTheOtherBytes) {
    Write("changed.txt", "mine\n");
    Edit("changed.txt");
    ASSERT_TRUE(EditorShows("changed.txt"));
    host->SendText("q");
    ASSERT_TRUE(StatusHas("Col 2"));
    usleep(20000);
    Write("changed.txt", "theirs\n");
    host->PressKey("F2");
    ASSERT_TRUE(Shows("File has been modified since it was loaded. Overwrite anyway?")) << host->ScreenText();
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("File has been modified"));
    EXPECT_EQ(Read("changed.txt"), "theirs\n");
    EXPECT_TRUE(Modified());
    host->PressKey("F2");
    ASSERT_TRUE(Shows("File has been modified since it was loaded"));
    host->PressKey("Enter");
    ASSERT_TRUE(Eventually([&] { return Read("changed.txt") == "qmine\n"; }));
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
}

TEST_F(EditorE2E, ReplaceAllCountsAndUndoGivesEveryReplacementBack) {
    Write("rep.txt", "a a a a a");
    Edit("rep.txt");
    ASSERT_TRUE(EditorShows("rep.txt"));
    host->PressKey("F8");
    ASSERT_TRUE(Shows("Replace with:")) << host->ScreenText();
    host->SendText("a");
    host->PressKey("Tab");
    host->SendText("bb");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("String Found")) << host->ScreenText();
    host->PressKey("a");
    ASSERT_TRUE(Shows("5 replacements")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("5 replacements"));
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(1).rfind("bb bb bb bb bb", 0) == 0; }))
        << host->ScreenText();
    EXPECT_TRUE(Modified());
    // The first undo only shows where the last change was; each later one
    // takes a replacement back.
    auto restored = [](const ScreenModel& s) { return s.RowText(1).rfind("a a a a a ", 0) == 0; };
    for (int i = 0; i < 12; i++) {
        Undo();
        if (host->WaitFor(restored, 300))
            break;
    }
    ASSERT_TRUE(host->WaitFor(restored)) << host->ScreenText();
    EXPECT_TRUE(WaitModified(false)) << host->Snapshot().RowText(0);
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
    EXPECT_EQ(Read("rep.txt"), "a a a a a");
}

TEST_F(EditorE2E, LeavingWithUnsavedChangesAsksAndDiscardKeepsTheFile) {
    Write("keep.txt", "keep\n");
    Edit("keep.txt");
    ASSERT_TRUE(EditorShows("keep.txt"));
    host->SendText("zz");
    ASSERT_TRUE(StatusHas("Col 3"));
    host->PressKey("Esc");
    ASSERT_TRUE(Shows("There are unsaved changes")) << host->ScreenText();
    host->PressKey("e");
    ASSERT_TRUE(Gone("There are unsaved changes"));
    host->PressKey("Esc");
    ASSERT_TRUE(Shows("There are unsaved changes"));
    host->PressKey("d");
    EXPECT_EQ(host->WaitExit(), 0);
    EXPECT_EQ(Read("keep.txt"), "keep\n");
}

TEST_F(EditorE2E, SaveAsOntoAnExistingFileAsksFirst) {
    Write("src.txt", "src\n");
    Write("other.txt", "other\n");
    Edit("src.txt");
    ASSERT_TRUE(EditorShows("src.txt"));
    SaveAs("T:\\other.txt");
    ASSERT_TRUE(Shows("File already exists, Overwrite?")) << host->ScreenText();
    host->PressKey("Esc");
    ASSERT_TRUE(Shows("Save As"));
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("Save As"));
    EXPECT_EQ(Read("other.txt"), "other\n");
    // Under a new name the text is written there and the editor follows it.
    SaveAs("T:\\copy.txt");
    ASSERT_TRUE(Eventually([&] { return Exists("copy.txt") && Read("copy.txt") == "src\n"; }));
    ASSERT_TRUE(EditorShows("copy.txt")) << host->ScreenText();
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
}

// A plain ASCII file opens in a code page, which has no byte for Cyrillic:
// nothing is written until the user chose, and Esc writes nothing at all.
TEST_F(EditorE2E, TextTheEncodingCannotHoldIsNotSavedWithoutAsking) {
    const std::string plain = "plain text\n";
    Write("cyr.txt", plain);
    Edit("cyr.txt");
    ASSERT_TRUE(EditorShows("cyr.txt")) << host->ScreenText();
    ASSERT_TRUE(StatusHas("CP1252")) << host->ScreenText();
    host->SendText("\u041F\u0440\u0438\u0432\u0435\u0442 ");
    ASSERT_TRUE(StatusHas("Col 8")) << host->ScreenText();
    const std::string question = "6 characters cannot be saved in CP1252";

    // Save As asks too, and its Esc goes back to the Save As dialog.
    SaveAs("T:\\as.txt");
    ASSERT_TRUE(Shows(question)) << host->ScreenText();
    host->PressKey("Esc");
    ASSERT_TRUE(Gone(question)) << host->ScreenText();
    ASSERT_TRUE(Shows("Save As")) << host->ScreenText();
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("Save As"));
    EXPECT_FALSE(Exists("as.txt"));

    host->PressKey("F2");
    ASSERT_TRUE(Shows(question)) << host->ScreenText();
    host->PressKey("Esc");
    ASSERT_TRUE(Gone(question)) << host->ScreenText();
    EXPECT_EQ(Read("cyr.txt"), plain);
    EXPECT_TRUE(WaitModified(true));

    // As UTF-8: the text is kept, and the file stays UTF-8 from then on.
    host->PressKey("F2");
    ASSERT_TRUE(Shows(question)) << host->ScreenText();
    host->PressKey("u");
    const std::string utf8 = "\u041F\u0440\u0438\u0432\u0435\u0442 " + plain;
    ASSERT_TRUE(Eventually([&] { return Read("cyr.txt") == utf8; })) << Read("cyr.txt");
    ASSERT_TRUE(StatusHas("UTF-8")) << host->ScreenText();
    host->SendText("\u0436");
    ASSERT_TRUE(SaveAndWaitFor("cyr.txt", "\u041F\u0440\u0438\u0432\u0435\u0442 \u0436" + plain))
        << host->ScreenText();
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);

    // Saved anyway, on request, with the code page's replacements.
    Write("any.txt", plain);
    Edit("any.txt");
    ASSERT_TRUE(EditorShows("any.txt")) << host->ScreenText();
    host->SendText("\u0436");
    host->PressKey("F2");
    ASSERT_TRUE(Shows("1 characters cannot be saved in CP1252")) << host->ScreenText();
    host->PressKey("a");
    ASSERT_TRUE(Eventually([&] { return Read("any.txt") == "?" + plain; })) << Read("any.txt");
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
}

TEST_F(EditorE2E, UndoHistoryOutlivesTheRunUnlessTheFileChangedOutside) {
    Write("work/notes.txt", "base\n");
    Start();
    host->PressKey("Down");
    ASSERT_TRUE(host->WaitQuiet(100, 3000));
    host->PressKey("F4");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(0).find("notes.txt") != std::string::npos; }))
        << host->ScreenText();
    host->SendText("X");
    ASSERT_TRUE(SaveAndWaitFor("work/notes.txt", "Xbase\n"));
    host->PressKey("Esc");
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();

    host->PressKey("F4");
    ASSERT_TRUE(StatusHas("notes.txt"));
    Undo();
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(1).rfind("base", 0) == 0; }))
        << host->ScreenText();
    EXPECT_TRUE(WaitModified(true));
    host->PressKey("Esc");
    ASSERT_TRUE(Shows("There are unsaved changes"));
    host->PressKey("d");
    ASSERT_TRUE(KeyBarShown());

    // Changed outside: the kept history describes other text and goes.
    Write("work/notes.txt", "fresh text\n");
    host->PressKey("F4");
    ASSERT_TRUE(StatusHas("notes.txt"));
    Undo();
    Undo();
    host->WaitQuiet(100, 2000);
    EXPECT_EQ(host->Snapshot().RowText(1).substr(0, 10), "fresh text");
    EXPECT_TRUE(WaitModified(false));
    host->PressKey("Esc");
    ASSERT_TRUE(KeyBarShown());
    EXPECT_EQ(Read("work/notes.txt"), "fresh text\n");
}

TEST_F(EditorE2E, TheViewerAndTheUserMenuCommandReachTheEditor) {
    std::string text;
    for (int i = 1; i <= 60; i++)
        text += "line " + std::to_string(i) + "\n";
    Write("work/long.txt", text);
    Start();
    host->PressKey("Down");
    ASSERT_TRUE(host->WaitQuiet(100, 3000));
    host->PressKey("F3");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(0).rfind("View: ", 0) == 0; }));
    host->PressKey("Alt+l");
    ASSERT_TRUE(Shows("Goto Line"));
    host->SendText("30");
    host->PressKey("Enter");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(1).rfind("line 30", 0) == 0; }))
        << host->ScreenText();
    host->PressKey("Shift+F4");
    ASSERT_TRUE(StatusHas("Edit: ")) << host->Dump();
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(1).rfind("line 30", 0) == 0; }))
        << host->ScreenText();
    // Leaving the editor leaves the viewer too.
    host->PressKey("Esc");
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();

    // The menu file does not exist yet: the editor offers to make it.
    host->SendKey(MENU_EDIT_USER_MENU);
    ASSERT_TRUE(Shows("File does not exist, Create?")) << host->ScreenText();
    EXPECT_TRUE(Shows(".mnu"));
    host->PressKey("Enter");
    ASSERT_TRUE(StatusHas("Edit: ")) << host->ScreenText();
    EXPECT_NE(host->Snapshot().RowText(0).find(".mnu"), std::string::npos) << host->Snapshot().RowText(0);
}

TEST_F(EditorE2E, CopyAndPasteOverABlockWhichOneUndoGivesBack) {
    Write("blocks.txt", "one two\nthree\n");
    Edit("blocks.txt");
    ASSERT_TRUE(EditorShows("blocks.txt"));
    host->PressKey("Shift+End");
    host->PressKey("Ctrl+c");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.Clipboard() == U"one two"; })) << host->ScreenText();
    host->PressKey("Down");
    host->PressKey("Home");
    for (int i = 0; i < 5; i++)
        host->PressKey("Shift+Right");
    host->PressKey("Ctrl+v");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(2).rfind("one two ", 0) == 0; }))
        << host->ScreenText();
    Undo();
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(2).rfind("three ", 0) == 0; }))
        << host->ScreenText();
    EXPECT_TRUE(WaitModified(false));

    // F7 finds, Shift-F7 finds the next one.
    host->PressKey("Ctrl+Home");
    host->PressKey("F7");
    ASSERT_TRUE(Shows("Search for:"));
    host->SendText("e");
    host->PressKey("Enter");
    ASSERT_TRUE(StatusHas("Col 3")) << host->ScreenText();
    host->SendKey(KEY_SHIFT_F7, 0, 4);
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) {
        return s.RowText(0).find("Line 2") != std::string::npos && s.RowText(0).find("Col 4") != std::string::npos;
    })) << host->ScreenText();
    host->PressKey("Esc");
    EXPECT_EQ(host->WaitExit(), 0);
    EXPECT_EQ(Read("blocks.txt"), "one two\nthree\n");
}

// Prints the time until a large file stands in the editor and the peak
// resident memory; tests/viewedit/bench_viewer_1g.sh makes the file, names it
// in QV_BENCH_EDIT_FILE and compares the figures with vi on the same file.
// F4 on a large file, as a user meets it: from the key in the panel to the
// editor's first screen, and the program's peak memory (the benchmark script
// runs it beside vi on the same file).
TEST_F(EditorE2E, DISABLED_BenchmarkLoad) {
    const char* given = getenv("QV_BENCH_EDIT_FILE");
    ASSERT_TRUE(given && *given) << "QV_BENCH_EDIT_FILE names the file";
    ASSERT_EQ(symlink(given, PathOf("work/bench.txt").c_str()), 0);
    std::ifstream in(given);
    std::string first;
    std::getline(in, first);
    Start();
    host->PressKey("Down");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.Dump().find("bench.txt") != std::string::npos; }))
        << host->ScreenText();
    ASSERT_TRUE(host->WaitQuiet(100, 3000));
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    host->PressKey("F4");
    ASSERT_TRUE(host->WaitFor(
        [&](const ScreenModel& s) {
            return s.RowText(0).rfind("Edit: ", 0) == 0 && s.RowText(1).rfind(first, 0) == 0;
        },
        600000))
        << host->ScreenText();
    const double loadMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    long peak = -1;
    std::ifstream status("/proc/" + std::to_string(host->Pid()) + "/status");
    for (std::string key; status >> key;) {
        if (key == "VmHWM:") {
            status >> peak;
            break;
        }
    }
    printf("BENCH quorvane-edit load_ms=%.1f peak_rss_kib=%ld\n", loadMs, peak);
    host->PressKey("Esc");
    ASSERT_TRUE(KeyBarShown());
    host->PressKey("F10");
    host->WaitExit(60000);
}

}  // namespace
