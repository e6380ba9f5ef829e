// The synchroniser's plan without a screen: its order, the merge of prepared
// trees (files against directories, which update rule wins, times of
// different precision, names that differ only in case), reading a tree with
// filters, and the overlap test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/strings/Estring.h"
#include "fileops/sync/DirectoryContents.h"
#include "fileops/sync/OpListConfirmDlg.h"
#include "fileops/sync/SyncOperationList.h"
#include "fileops/sync/SyncOptions.h"
#include "tests/base/os/OsTestSupport.h"
#include "tests/support/TempDir.h"

using qvtest::PathIn;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

typedef CSynchronizer::TSyncOperation TOp;

std::string Utf8(const Westring& text) {
    return std::string(Estring(text).Data());
}

// The plan as "Label path" lines (with "->target" where the target's
// spelling differs).
std::vector<std::string> Lines(CSynchronizer::CSyncOperationList& plan) {
    std::vector<std::string> lines;
    for (int i = 0; i < plan.Count(); i++) {
        const TOp* op = plan.At(i);
        std::string line = std::string(CSynchronizer::CSyncOperationList::KindLabel(op->kind)) + " " + Utf8(op->path);
        if (!op->targetPath.EqualsExact(op->path)) {
            line += "->" + Utf8(op->targetPath);
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(SyncOperationList, PlanRunsDeletesThenRemovalsDeepestFirstThenCreationsThenCopies) {
    CSynchronizer::CSyncOperationList plan;
    plan.Add(TOp::Copy, Westring("c\\f"), 10);
    plan.Add(TOp::DelDir, Westring("a"), 0);
    plan.Add(TOp::MkDir, Westring("c"), 0);
    plan.Add(TOp::Delete, Westring("a\\b\\x"), 0);
    plan.Add(TOp::DelDir, Westring("a\\b"), 0);
    plan.Add(TOp::Update, Westring("b"), 5);
    plan.Add(TOp::Delete, Westring("a\\y"), 0);
    plan.Add(TOp::MkDir, Westring("c\\d"), 0);
    plan.Add(TOp::Revert, Westring("a b"), 7);
    plan.Sort();
    EXPECT_EQ((std::vector<std::string>{"Delete: a\\b\\x", "Delete: a\\y", "DelDir: a\\b", "DelDir: a", "MkDir: c",
                                        "MkDir: c\\d", "Revert: a b", "Update: b", "Copy: c\\f"}),
              Lines(plan));
    EXPECT_EQ(22u, plan.totalBytes);
    EXPECT_EQ(1, plan.copies);
    EXPECT_EQ(1, plan.updates);
    EXPECT_EQ(1, plan.reverts);
    EXPECT_EQ(2, plan.deletes);
}

TEST(SyncOperationList, PathsCompareComponentByComponentWithoutCase) {
    struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"a", "a\\b", -1},    // a leading part sorts first
        {"a\\b", "a b", -1},  // the component "a" before "a b", whatever the separator's code
        {"A\\B", "a\\b", 0},  // case is not looked at
        {"ab", "a\\z", 1},   {"x\\y", "x\\y", 0}, {"b", "a\\c", 1},
    };
    for (const auto& c : cases) {
        int r = CSynchronizer::CSyncOperationList::ComparePathComponents(Westring(c.a), Westring(c.b));
        EXPECT_EQ(c.sign, r < 0 ? -1 : r > 0 ? 1 : 0) << c.a << " : " << c.b;
    }
}

TEST(SyncOperationList, TotalsShowOnlyTheCountsThatAreNotZero) {
    CSynchronizer::CSyncOperationList plan;
    plan.Add(TOp::MkDir, Westring("d"), 0);
    plan.Add(TOp::DelDir, Westring("e"), 0);
    EXPECT_EQ("Total: 0", Utf8(CSynchronizer::COpListConfirmDlg::FormatTotals(plan)));
    plan.Add(TOp::Copy, Westring("d\\f"), 1234);
    plan.Add(TOp::Delete, Westring("g"), 0);
    EXPECT_EQ("Total: 1,234  Copies: 1  Deletes: 1", Utf8(CSynchronizer::COpListConfirmDlg::FormatTotals(plan)));
}

// Trees made by hand: each line "path size seconds[.nanoseconds]", a
// directory's path ending in "\".
void Fill(CSynchronizer::CDirectoryContents& tree, const std::vector<std::string>& items, int resolution) {
    for (const std::string& line : items) {
        size_t blank = line.find(' ');
        std::string path = line.substr(0, blank);
        std::string rest = line.substr(blank + 1);
        size_t blank2 = rest.find(' ');
        uint64_t size = std::stoull(rest.substr(0, blank2));
        std::string time = rest.substr(blank2 + 1);
        size_t dot = time.find('.');
        uint32_t seconds = static_cast<uint32_t>(std::stoul(time.substr(0, dot)));
        uint32_t nanoseconds = dot == std::string::npos ? 0 : static_cast<uint32_t>(std::stoul(time.substr(dot + 1)));
        bool directory = path.back() == '\\';
        if (directory) {
            path.pop_back();
        }
        tree.Append(Westring(path.c_str()), TTimestamp(seconds, nanoseconds), size, directory ? 0x10 : 0x20);
    }
    tree.Sort();
    tree.resolution = resolution;
}

struct TMergeCase {
    const char* what;
    std::vector<std::string> source;
    std::vector<std::string> target;
    int sourceResolution;
    int targetResolution;
    const char* switches;  // c copy missing, u update old, r revert new, d delete extra, s smaller, l larger
    std::vector<std::string> plan;
};

TEST(CompareTrees, PreparedTreesGiveTheirPlans) {
    const TMergeCase cases[] = {
        {"a file against a directory of the same name",
         {"x 5 100"},
         {"x\\ 0 100", "x\\inner 3 100"},
         3,
         3,
         "cd",
         {"Delete: x\\inner", "DelDir: x", "Copy: x"}},
        {"a directory against a file",
         {"x\\ 0 100", "x\\f 2 100"},
         {"x 5 100"},
         3,
         3,
         "cd",
         {"Delete: x", "MkDir: x", "Copy: x\\f"}},
        {"update old wins over update smaller: planned once", {"f 9 200"}, {"f 3 100"}, 3, 3, "us", {"Update: f"}},
        {"update smaller alone", {"f 9 100"}, {"f 3 200"}, 3, 3, "sr", {"Update: f"}},
        {"update larger, then revert",
         {"f 3 100", "g 3 100"},
         {"f 9 100", "g 3 200"},
         3,
         3,
         "lr",
         {"Update: f", "Revert: g"}},
        {"nothing on: nothing planned", {"f 9 200", "new 1 1"}, {"f 3 100", "old 1 1"}, 3, 3, "", {}},
        {"missing and extra",
         {"d\\ 0 1", "d\\f 4 1", "g 2 1"},
         {"h 1 1", "e\\ 0 1"},
         3,
         3,
         "cd",
         {"Delete: h", "DelDir: e", "MkDir: d", "Copy: d\\f", "Copy: g"}},
        // Even seconds against 100-nanosecond steps: both round up to the
        // even second, so an unchanged copy stays; a newer one still goes.
        {"2-second against 100-ns times",
         {"same 1 1000", "newer 1 1002"},
         {"same 1 999.999999900", "newer 1 999.000000100"},
         0,
         2,
         "ur",
         {"Update: newer"}},
        {"times compared at the finer class when both are fine",
         {"f 1 1000.000000200"},
         {"f 1 1000.000000100"},
         2,
         2,
         "u",
         {"Update: f"}},
        {"a case-only directory pairs: its files update onto the target's names",
         {"Src\\ 0 1", "Src\\f 1 200", "Src\\g 1 1"},
         {"src\\ 0 1", "src\\f 1 100"},
         3,
         3,
         "cud",
         {"Update: Src\\f->src\\f", "Copy: Src\\g->src\\g"}},
        {"both spellings in the source: each pairs once, exact first",
         {"Src 1 200", "src 1 100"},
         {"src 1 100"},
         3,
         3,
         "cud",
         {"Copy: Src"}},
        {"both spellings in the target: the exact partner is kept",
         {"src 1 100"},
         {"SRC 1 100", "src 1 100"},
         3,
         3,
         "cud",
         {"Delete: SRC"}},
        {"only another spelling in the target: one item",
         {"a.TXT 1 300"},
         {"a.txt 1 100"},
         3,
         3,
         "cud",
         {"Update: a.TXT->a.txt"}},
    };
    for (const TMergeCase& c : cases) {
        SCOPED_TRACE(c.what);
        CSynchronizer::TSyncOptions options;
        std::string s = c.switches;
        options.copyMissing = s.find('c') != std::string::npos;
        options.updateOld = s.find('u') != std::string::npos;
        options.revertNew = s.find('r') != std::string::npos;
        options.deleteExtra = s.find('d') != std::string::npos;
        options.updateSmaller = s.find('s') != std::string::npos;
        options.updateLarger = s.find('l') != std::string::npos;
        CSynchronizer::CDirectoryContents source("Source", Westring("*"), Westring("*"));
        CSynchronizer::CDirectoryContents target("Target", Westring("*"), Westring("*"));
        Fill(source, c.source, c.sourceResolution);
        Fill(target, c.target, c.targetResolution);
        CSynchronizer::CSyncOperationList plan;
        ASSERT_TRUE(CSynchronizer::CompareTrees(plan, source, target, options));
        EXPECT_EQ(c.plan, Lines(plan));
    }
}

class ReadTreeTest : public ::testing::Test {
protected:
    void Make(const char* name) { ASSERT_TRUE(CreateDirectoryW(dir.Join(W(name)).c_str(), nullptr)); }
    void File(const char* name) { ASSERT_TRUE(WriteFileBytes(dir.Join(W(name)), "data")); }
    qvtest::TempDir dir;
};

TEST_F(ReadTreeTest, FiltersDecideWhatIsListedAndEntered) {
    Make("keep");
    Make("skip");
    Make("keep\\deep");
    File("keep\\a.c");
    File("keep\\a.h");
    File("keep\\deep\\b.c");
    File("skip\\c.c");
    File("top.c");
    CSynchronizer::CDirectoryContents tree("Source", Westring("*.c"), Westring("!skip"));
    ASSERT_EQ(0, CSynchronizer::ReadTree(tree, PathIn(dir, "")));
    std::vector<std::string> paths;
    for (int i = 0; i < tree.Count(); i++) {
        paths.push_back(Utf8(tree.At(i)->path) + (tree.At(i)->IsDirectory() ? "\\" : ""));
    }
    EXPECT_EQ((std::vector<std::string>{"keep\\", "keep\\a.c", "keep\\deep\\", "keep\\deep\\b.c", "top.c"}), paths);
    EXPECT_GE(tree.count.load(), 7u);
}

TEST_F(ReadTreeTest, OverlappingTrees) {
    Make("a");
    Make("a\\b");
    Make("c");
    Westring a = PathIn(dir, "a");
    EXPECT_TRUE(CSynchronizer::TreesOverlap(a, a));
    EXPECT_TRUE(CSynchronizer::TreesOverlap(a, PathIn(dir, "a\\b")));
    EXPECT_TRUE(CSynchronizer::TreesOverlap(PathIn(dir, "a\\b"), a));
    EXPECT_TRUE(CSynchronizer::TreesOverlap(a, PathIn(dir, "a\\b\\new")));
    EXPECT_FALSE(CSynchronizer::TreesOverlap(a, PathIn(dir, "c")));
    EXPECT_FALSE(CSynchronizer::TreesOverlap(PathIn(dir, "a\\b"), PathIn(dir, "c")));
}

}  // namespace
