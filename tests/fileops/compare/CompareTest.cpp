// The pieces of the directory compare that need no screen: pairing names
// across the panels and comparing two files' bytes.
#include "fileops/compare/CompareDirectories.h"
#include "fileops/compare/CompareFileContents.h"

#include <gtest/gtest.h>

#include <string>

#include "base/io/StdFile.h"
#include "tests/base/os/OsTestSupport.h"
#include "tests/support/TempDir.h"

using qvtest::PathIn;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

TEST(CompareNames, ExactPartnersFirstThenCaseOnly) {
    struct {
        std::vector<const char32_t*> left;
        std::vector<const char32_t*> right;
        std::vector<int> partner;
    } cases[] = {
        {{U"a.txt"}, {U"A.TXT"}, {0}},                 // differing in case only: one file
        {{U"Src", U"src"}, {U"src"}, {-1, 0}},         // the exact spelling wins the partner
        {{U"src", U"Src"}, {U"SRC", U"src"}, {1, 0}},  // each finds one, exact before loose
        {{U"x"}, {U"y"}, {-1}},
        {{U"b", U"a"}, {U"a", U"B"}, {1, 0}},
    };
    for (const auto& c : cases) {
        std::vector<int> partner;
        PairNames(c.left, c.right, partner);
        EXPECT_EQ(c.partner, partner);
    }
}

class CompareFilesTest : public ::testing::Test {
protected:
    int Compare(const std::string& a, const std::string& b, int64_t* steps = nullptr) {
        EXPECT_TRUE(WriteFileBytes(dir.Join(W("a")), a));
        EXPECT_TRUE(WriteFileBytes(dir.Join(W("b")), b));
        StdFile left(PathIn(dir, "a"), StdFile::ModeRead);
        StdFile right(PathIn(dir, "b"), StdFile::ModeRead);
        int side = -1;
        uint32_t error = 0;
        int64_t last = 0;
        int r = CompareOpenFiles(
            left, right,
            [&](int64_t done) {
                last = done;
                return true;
            },
            side, error);
        if (steps != nullptr) {
            *steps = last;
        }
        return r;
    }
    qvtest::TempDir dir;
};

TEST_F(CompareFilesTest, IdenticalOnlyWhenBothEndTogether) {
    const std::string block(0x40000, 'z');
    EXPECT_EQ(CompareIdentical, Compare("", ""));
    EXPECT_EQ(CompareIdentical, Compare("abc", "abc"));
    EXPECT_EQ(CompareDifferent, Compare("abc", "abd"));
    // One file a prefix of the other, either way round, also at a block edge.
    EXPECT_EQ(CompareDifferent, Compare("abc", "abcd"));
    EXPECT_EQ(CompareDifferent, Compare("abcd", "abc"));
    EXPECT_EQ(CompareDifferent, Compare(block, block + "x"));
    EXPECT_EQ(CompareDifferent, Compare(block + block, block));
    int64_t done = 0;
    EXPECT_EQ(CompareIdentical, Compare(block + block + "tail", block + block + "tail", &done));
    EXPECT_EQ(static_cast<int64_t>(2 * block.size() + 4), done);
}

TEST_F(CompareFilesTest, TheStepCancels) {
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("a")), "same"));
    StdFile left(PathIn(dir, "a"), StdFile::ModeRead);
    StdFile right(PathIn(dir, "a"), StdFile::ModeRead);
    int side = -1;
    uint32_t error = 0;
    EXPECT_EQ(CompareCancelled, CompareOpenFiles(
                                    left, right, [](int64_t) { return false; }, side, error));
}

}  // namespace
