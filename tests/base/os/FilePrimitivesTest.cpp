#include "base/os/FilePrimitives.h"

#include <gtest/gtest.h>

#include "base/os/FileAttributes.h"
#include "base/os/Links.h"
#include "tests/base/os/OsTestSupport.h"

using qvtest::PathIn;

namespace {

TEST(ApplyRenameMaskTest, BuildsTargetNames) {
    struct Case {
        const char* source;
        const char* mask;
        const char* target;
    } cases[] = {
        {"report.txt", "*.bak", "report.bak"},
        {"a.b.c", "*", "a"},
        {"a.b.c", "*.*", "a.b"},
        {"ab", "?x", "ax"},
        {"readme", "*.txt", "readme.txt"},
        {"name.txt", "", ""},
        {"x", "???", "x"},
        {"long.name.ext", "*.*.?", "long.name.e"},
        {"abc.def", "new_*", "new_abc"},
    };
    for (const Case& c : cases) {
        Westring target("old contents");
        EXPECT_EQ(0, ApplyRenameMask(Westring(c.source), Westring(c.mask), target));
        Estring utf8;
        target.ToUtf8(utf8);
        EXPECT_STREQ(c.target, utf8.Data()) << c.source << " with " << c.mask;
    }
}

class FilePrimitivesTest : public ::testing::Test {
protected:
    qvtest::TempDir dir;
};

TEST_F(FilePrimitivesTest, RenameNeverReplacesAnExistingFile) {
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W("a.txt")), "a"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W("b.txt")), "b"));
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), RenameFile(PathIn(dir, "a.txt"), PathIn(dir, "b.txt")));
    EXPECT_EQ("b", qvtest::ReadFileBytes(dir.Join(qvtest::W("b.txt"))));
    EXPECT_EQ(0u, RenameFile(PathIn(dir, "a.txt"), PathIn(dir, "c.txt")));
    EXPECT_FALSE(FileExists(PathIn(dir, "a.txt")));
    EXPECT_EQ("a", qvtest::ReadFileBytes(dir.Join(qvtest::W("c.txt"))));
}

TEST_F(FilePrimitivesTest, DirectoriesAreMadeAndRemovedWhenEmpty) {
    Westring sub = PathIn(dir, "sub");
    EXPECT_EQ(0u, MakeDirectory(sub));
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), MakeDirectory(sub));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W("sub\\f")), "f"));
    EXPECT_EQ(DWORD(ERROR_DIR_NOT_EMPTY), RemoveEmptyDirectory(sub));
    EXPECT_EQ(0u, DeleteFileOrLink(PathIn(dir, "sub\\f")));
    EXPECT_EQ(0u, RemoveEmptyDirectory(sub));
    EXPECT_FALSE(FileExists(sub));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), DeleteFileOrLink(PathIn(dir, "gone")));
}

TEST_F(FilePrimitivesTest, DeletingAJunctionKeepsWhatItPointsTo) {
    Westring target = PathIn(dir, "target");
    ASSERT_EQ(0u, MakeDirectory(target));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W("target\\keep.txt")), "keep"));
    Westring link = PathIn(dir, "link");
    DWORD made = CreateLink(link, target, true);
    if (made != 0 && qvtest::RunsUnderWine()) {
        GTEST_SKIP() << "wine cannot make junctions here (error " << made << ")";
    }
    ASSERT_EQ(0u, made);
    DWORD attributes = 0;
    ASSERT_EQ(0u, ReadFileAttributes(link, attributes));
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_TRUE(GetLinkTarget(link).EqualsNoCase(target));
    EXPECT_TRUE(FileExists(PathIn(dir, "link\\keep.txt")));

    EXPECT_EQ(0u, DeleteFileOrLink(link));
    EXPECT_FALSE(FileExists(link));
    EXPECT_EQ("keep", qvtest::ReadFileBytes(dir.Join(qvtest::W("target\\keep.txt"))));
}

TEST_F(FilePrimitivesTest, RelativeSymbolicLinkPointsNextToItself) {
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W("real.txt")), "real"));
    Westring link = PathIn(dir, "alias.txt");
    DWORD made = CreateLink(link, Westring("real.txt"), false);
    // Wine may report a symbolic link as made without making one.
    if (qvtest::RunsUnderWine() && (made != 0 || !FileExists(link))) {
        GTEST_SKIP() << "wine cannot make symbolic links here (error " << made << ")";
    }
    ASSERT_EQ(0u, made);
    EXPECT_EQ("real", qvtest::ReadFileBytes(dir.Join(qvtest::W("alias.txt"))));
    EXPECT_TRUE(GetLinkTarget(link).EqualsNoCase(Westring("real.txt")));
    EXPECT_EQ(0u, DeleteLink(link));
    EXPECT_TRUE(FileExists(PathIn(dir, "real.txt")));
}

}  // namespace
