// The file find engine: where a walk starts and how deep it goes, and what a
// walk over a small tree finds by name and by content.
#include "fileops/find/FileFindJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/strings/LocaleCase.h"
#include "fileops/FileContainsText.h"
#include "fileops/find/FindReadAhead.h"
#include "ui/ConsoleControl.h"
#include "tests/base/os/OsTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using qvtest::W;

TCONFIG FindConfig() {
    TCONFIG config;
    config.FFRootSearch = 0;
    config.FFRecurse = 1;
    config.Hidden = 1;
    return config;
}

std::vector<std::string> Roots(const TFileFindJob& job) {
    std::vector<std::string> roots;
    for (int i = 0; i < job.roots.Count(); i++)
        roots.push_back(Estring(*job.roots.At(i)).Data());
    return roots;
}

TEST(FileFindRootsTest, RootsAndPrefixFollowTheOptions) {
    Westring start("C:\\Work\\Src");
    Westring none;
    TCONFIG config = FindConfig();
    TFileFindJob job(nullptr, &none, &none, &start, &config);

    config.FFMultiDrive = 1;
    config.FFDriveList = Estring("CD");
    BuildFindRoots(job);
    EXPECT_EQ(Roots(job), (std::vector<std::string>{"C:\\", "D:\\"}));
    EXPECT_TRUE(job.startPrefix.IsEmpty());
    EXPECT_EQ(job.prefixLength, 0);

    config.FFMultiDrive = 0;
    config.FFRootSearch = 1;
    BuildFindRoots(job);
    EXPECT_EQ(Roots(job), (std::vector<std::string>{"C:\\"}));
    EXPECT_EQ(job.prefixLength, 3);

    // A network path's root is its share.
    Westring share("\\\\server\\share\\dir\\sub");
    job.startDirectory = &share;
    BuildFindRoots(job);
    EXPECT_EQ(Roots(job), (std::vector<std::string>{"\\\\server\\share\\"}));
    job.startDirectory = &start;

    config.FFRootSearch = 0;
    job.pending.InsertCopy(Westring("C:\\Left\\Over"));
    BuildFindRoots(job);
    EXPECT_EQ(Roots(job), (std::vector<std::string>{"C:\\Work\\Src"}));
    EXPECT_EQ(job.pending.Count(), 0);
    EXPECT_EQ(job.prefixLength, 12);
}

TEST(FileFindRootsTest, DepthCountsLevelsBelowThePrefix) {
    Westring start("C:\\A");
    Westring none;
    TCONFIG config = FindConfig();
    TFileFindJob job(nullptr, &none, &none, &start, &config);
    BuildFindRoots(job);
    struct {
        const char* directory;
        int depth;
    } cases[] = {
        {"C:\\A", 1}, {"C:\\A\\B", 1}, {"C:\\A\\B\\C\\", 2}, {"C:\\A\\B\\C", 2}, {"C:\\A\\B\\C\\D", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindDirDepth(job, Westring(c.directory)), c.depth) << c.directory;

    config.FFMultiDrive = 1;
    config.FFDriveList = Estring("C");
    BuildFindRoots(job);
    EXPECT_EQ(FindDirDepth(job, Westring("C:\\")), 1);
    EXPECT_EQ(FindDirDepth(job, Westring("C:\\Dir")), 2);
    EXPECT_EQ(FindDirDepth(job, Westring("C:\\Dir\\Sub")), 3);
}

TEST(FileFindDirectorySetTest, CaseOnlyDifferencesAreBothKeptInOrder) {
    CFindDirectorySet set;
    for (const char* path : {"C:\\src", "C:\\b", "C:\\Src", "C:\\SRC", "C:\\src", "C:\\a"})
        set.InsertCopy(Westring(path));
    std::vector<std::string> order;
    for (int i = 0; i < set.Count(); i++)
        order.push_back(Estring(*set.At(i)).Data());
    EXPECT_EQ(order, (std::vector<std::string>{"C:\\a", "C:\\b", "C:\\SRC", "C:\\Src", "C:\\src"}));
}

class FileFindWalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCaseTables();
        config = FindConfig();
        root = qvtest::ToWestring(dir.Path());
    }

    void File(const char* name, const std::string& bytes) {
        ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), bytes));
    }
    void Folder(const char* name) { ASSERT_TRUE(CreateDirectoryW(Utf16Of(dir.Join(W(name))), nullptr)); }
    static const WCHAR* Utf16Of(const qvtest::WString& path) { return reinterpret_cast<const WCHAR*>(path.c_str()); }

    // The found paths relative to the temporary folder, in the order found,
    // with each one's match offset.
    std::vector<std::pair<std::string, int64_t>> Find(const char* masks, const char* text) {
        FFEntryStore store;
        DoFileFind(store, Westring(masks), Westring(text), root, config);
        std::vector<std::pair<std::string, int64_t>> found;
        const int skip = AddTrailingBackslash(root).Length();
        for (int i = 0; i < store.Count(); i++) {
            Westring path(store.At(i)->name);
            found.emplace_back(Estring(path.Mid(skip, 0)).Data(), store.At(i)->matchOffset);
        }
        return found;
    }

    qvtest::TempDir dir;
    Westring root;
    TCONFIG config;
};

TEST_F(FileFindWalkTest, NamesAndContentsOverATree) {
    Folder("a");
    Folder("a\\deep");
    Folder("b.txt");
    File("one.txt", "no match here");
    File("a\\two.txt", "a needle in the hay");
    File("a\\deep\\three.txt", "needle");
    File("a\\deep\\four.dat", "needle");
    using Found = std::vector<std::pair<std::string, int64_t>>;

    // Directories are read in the order of their paths; a directory that
    // matches the mask is found too, with the enumerator's match field.
    EXPECT_EQ(Find("*.txt", ""),
              (Found{{"b.txt", -1}, {"one.txt", -1}, {"a\\two.txt", -1}, {"a\\deep\\three.txt", -1}}));
    // A content search never reports a directory, but still descends.
    EXPECT_EQ(Find("*.txt", "NEEDLE"), (Found{{"a\\two.txt", 2}, {"a\\deep\\three.txt", 0}}));
    config.FFCase = 1;
    EXPECT_EQ(Find("*", "NEEDLE"), Found{});
    config.FFCase = 0;
    config.FFDepth = 1;
    EXPECT_EQ(Find("*", "needle"), (Found{{"a\\two.txt", 2}}));
    config.FFDepth = 0;
    config.FFRecurse = 0;
    EXPECT_EQ(Find("*.txt", ""), (Found{{"b.txt", -1}, {"one.txt", -1}}));
    // A mask that does not parse finds nothing.
    EXPECT_EQ(Find("(*.txt", ""), Found{});
}

TEST_F(FileFindWalkTest, FoundStoreKeepsWhatItHadAndRecordsTheMatch) {
    File("x.txt", "abc needle");
    FFEntryStore store;
    DoFileFind(store, Westring("*.txt"), Westring("needle"), root, config);
    DoFileFind(store, Westring("*.txt"), Westring(""), root, config);
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(store.At(0)->matchOffset, 4);
    EXPECT_EQ(store.At(0)->matchLength, 6);
    EXPECT_EQ(store.At(1)->matchOffset, -1);
    EXPECT_EQ(store.At(1)->size, 10u);
    EXPECT_EQ(store.TotalSize(), 20u);
    store.Empty();
    EXPECT_EQ(store.Count(), 0);
}

TEST(FileFindVirtualRootsTest, AWalkFromTheRootPassesVirtualFileSystemsBy) {
    // C: is / on Linux: its proc and sys are neither found nor entered.
    TCONFIG config = FindConfig();
    config.FFRecurse = 0;
    FFEntryStore store;
    DoFileFind(store, Westring("proc|sys"), Westring(""), Westring("C:\\"), config);
    EXPECT_EQ(store.Count(), 0);
}

TEST_F(FileFindWalkTest, NamesDifferingOnlyInCaseAreBothSearched) {
    if (qvtest::RunsUnderWine())
        GTEST_SKIP() << "the Windows file system keeps one of two names differing only in case";
    Folder("Src");
    Folder("src");
    File("Src\\m.c", "needle");
    File("src\\m.c", "needle");
    auto found = Find("*.c", "needle");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].first, "Src\\m.c");
    EXPECT_EQ(found[1].first, "src\\m.c");
}

// A walk whose directories are listed ahead by helpers finds what a walk on
// one thread finds, in the same order, whatever the number of helpers: the
// tree is wide and deep enough that the helpers run ahead of the walk, take
// directories out of order and race for the same ones.
class FileFindReadAheadTest : public FileFindWalkTest {
protected:
    // One found entry: its path below the temporary folder and its match.
    using Found = std::vector<std::pair<std::string, int64_t>>;

    Found Walk(const char* masks, const char* text, int helpers, IFileFinderUI* ui = nullptr) {
        DummyUI quiet;
        Westring maskText(masks), searched(text);
        TFileFindJob job(ui != nullptr ? ui : &quiet, &maskText, &searched, &root, &config);
        job.helpers = helpers;
        FFEntryStore store;
        {
            // As both callers of the walk do: a long operation that polls.
            CUserAbortScope polling(UserAbortPolling);
            RunFileFind(job, store);
        }
        Found found;
        const int skip = AddTrailingBackslash(root).Length();
        for (int i = 0; i < store.Count(); i++)
            found.emplace_back(Estring(Westring(store.At(i)->name).Mid(skip, 0)).Data(), store.At(i)->matchOffset);
        return found;
    }

    void Tree() {
        for (int a = 0; a < 12; a++) {
            std::string top = "d" + std::to_string(a);
            Folder(top.c_str());
            for (int b = 0; b < 5; b++) {
                std::string sub = top + "\\s" + std::to_string(b);
                Folder(sub.c_str());
                for (int f = 0; f < 6; f++) {
                    std::string name = sub + "\\f" + std::to_string(f) + (f % 3 == 0 ? ".log" : ".txt");
                    File(name.c_str(), (a + b + f) % 4 == 0 ? std::string(f, ' ') + "needle" : "hay");
                }
            }
            File((top + "\\top.txt").c_str(), "needle at the top");
        }
        File("root.txt", "the needle at the root");
    }
};

TEST_F(FileFindReadAheadTest, HelpersFindWhatOneThreadFindsInItsOrder) {
    Tree();
    struct {
        const char* masks;
        const char* text;
        int recurse;
        int depth;
    } cases[] = {
        {"*.log", "", 1, 0},
        {"*", "needle", 1, 0},
        {"*.txt|s3", "", 1, 0},
        {"*", "needle", 1, 1},
        {"*.txt", "needle", 0, 0},
    };
    for (const auto& c : cases) {
        config.FFRecurse = c.recurse;
        config.FFDepth = c.depth;
        const Found alone = Walk(c.masks, c.text, 0);
        ASSERT_FALSE(alone.empty()) << c.masks << " " << c.text;
        for (int helpers : {1, 3, CFindReadAhead::MaxHelpers})
            EXPECT_EQ(Walk(c.masks, c.text, helpers), alone) << c.masks << " " << c.text << " with " << helpers;
    }
    // One thread alone: the file's place of the text is recorded.
    config.FFRecurse = 1;
    config.FFDepth = 0;
    const Found needles = Walk("*.log", "needle", 0);
    ASSERT_FALSE(needles.empty());
    for (const auto& found : needles)
        EXPECT_GE(found.second, 0) << found.first;
}

// Stops the walk after a number of entries, as Esc in the window does.
class StoppingUI : public DummyUI {
public:
    StoppingUI(TFileFindJob** job, int after) : job(job), left(after) {}
    void Tick() override {
        if (--left == 0)
            (*job)->stop = 1;
    }
    void SearchDone(bool stopped) override { doneStopped = stopped ? 1 : 0; }
    TFileFindJob** job;
    int left;
    int doneStopped = -1;
};

TEST_F(FileFindReadAheadTest, AStoppedWalkEndsWithItsHelpersAndReportsTheStop) {
    Tree();
    const size_t all = Walk("*", "", 0).size();
    for (int helpers : {0, 4}) {
        DummyUI quiet;
        Westring masks("*"), text("needle");
        TFileFindJob job(&quiet, &masks, &text, &root, &config);
        TFileFindJob* self = &job;
        StoppingUI ui(&self, 40);
        job.ui = &ui;
        job.helpers = helpers;
        FFEntryStore store;
        {
            CUserAbortScope polling(UserAbortPolling);
            RunFileFind(job, store);
        }
        EXPECT_EQ(ui.doneStopped, 1) << helpers;
        EXPECT_LT(static_cast<size_t>(store.Count()), all) << helpers;
    }
    // A break asked for by the user stops it too, and the walk says so.
    {
        StoppingUI ui(nullptr, 0);
        Westring masks("*"), text("");
        TFileFindJob job(&ui, &masks, &text, &root, &config);
        job.helpers = 4;
        FFEntryStore store;
        CUserAbortScope requested(UserAbortRequested);
        RunFileFind(job, store);
        EXPECT_EQ(ui.doneStopped, 1);
        EXPECT_LT(static_cast<size_t>(store.Count()), all);
    }
}

}  // namespace
