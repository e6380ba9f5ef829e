#include "base/os/PathNormalizer.h"

#include <gtest/gtest.h>

#include "base/os/CurrentDirectory.h"
#include "tests/support/TempDir.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(NormalizePathTest, ResolvesDotsSlashesAndBases) {
    // Paths on a drive that holds none of these names, so Windows has no long
    // form to give and the result is the normalised text itself.
    struct Case {
        const char* path;
        const char* base;
        const char* result;
    } cases[] = {
        {"c:/quorvane-none/../x", nullptr, "c:\\x"},
        {"C:\\quorvane-none\\a\\b\\c\\...", nullptr, "C:\\quorvane-none\\a"},
        {"\\dir", "D:\\work", "D:\\dir"},
        {"sub\\.\\f.txt", "D:\\work", "D:\\work\\sub\\f.txt"},
        {"..\\up", "D:\\work\\deep", "D:\\work\\up"},
        {"\\\\server\\share\\a\\..\\b", nullptr, "\\\\server\\share\\b"},
    };
    for (const Case& c : cases) {
        Westring path(c.path);
        Westring base(c.base != nullptr ? c.base : "");
        ASSERT_EQ(0, NormalizePath(path, c.base != nullptr ? base.Data() : nullptr)) << c.path;
        EXPECT_EQ(c.result, Utf8(path)) << c.path;
    }
}

TEST(NormalizePathTest, RefusesWhatCannotBeMadeValid) {
    const char* invalid[] = {"C:\\..", "C:\\a\\...", "C:\\a:b", "ab:c"};
    for (const char* text : invalid) {
        Westring path(text);
        EXPECT_EQ(-1, NormalizePath(path, U"D:\\work")) << text;
        EXPECT_EQ(text, Utf8(path));
    }
}

TEST(NormalizePathTest, DriveRelativePathsGoOnFromTheDrivesDirectory) {
    qvtest::TempDir dir;
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W("Mixed.Txt")), "m"));
    Westring base(dir.Path().c_str());
    Westring path("Mixed.Txt");
    ASSERT_EQ(0, NormalizePath(path, base.Data()));
    EXPECT_TRUE(path.EqualsNoCase(AddTrailingBackslash(base) + Westring("Mixed.Txt"))) << Utf8(path);
    Westring relative;
    relative.AppendChar(base[0]);
    relative += Westring(":x");
    Westring current = GetDriveCurrentDirectoryWide(base[0]);
    ASSERT_EQ(0, NormalizePath(relative));
    EXPECT_TRUE(relative.EqualsNoCase(AddTrailingBackslash(current) + Westring("x"))) << Utf8(relative);
}

TEST(PathTestsTest, RootsDrivesAndShares) {
    struct Case {
        const char* path;
        bool root, unc, drivePrefix, driveAbsolute;
    } cases[] = {
        {"C:\\", true, false, true, true},   {"\\\\", true, true, false, false},
        {"C:\\a", false, false, true, true}, {"1:", false, false, true, false},
        {"\\\\s\\x", false, true, false, false}, {"a", false, false, false, false},
    };
    for (const Case& c : cases) {
        Westring path(c.path);
        EXPECT_EQ(c.root, IsRootPath(path)) << c.path;
        EXPECT_EQ(c.unc, IsUncPath(path)) << c.path;
        EXPECT_EQ(c.drivePrefix, HasDrivePrefix(path)) << c.path;
        EXPECT_EQ(c.driveAbsolute, IsDriveAbsolutePath(path)) << c.path;
    }
    Westring parent;
    ParentPath(parent, Westring("C:\\a\\b"));
    EXPECT_EQ("C:\\a", Utf8(parent));
    ParentPath(parent, Westring("name"));
    EXPECT_EQ("name", Utf8(parent));
    EXPECT_EQ("\\\\srv\\share", Utf8(UncShareRoot(Westring("\\\\srv\\share\\dir\\f"))));
    EXPECT_EQ("\\\\srv\\share", Utf8(UncShareRoot(Westring("\\\\srv\\share"))));
}

}  // namespace
