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
        // A relative name goes on from a share as from any other directory.
        {"name", "\\\\server\\share", "\\\\server\\share\\name"},
        {"name", "\\\\server\\share\\", "\\\\server\\share\\name"},
        {"sub\\..\\name", "\\\\server\\share\\dir", "\\\\server\\share\\dir\\name"},
        {"..\\name", "\\\\server\\share\\dir", "\\\\server\\share\\name"},
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
        {"C:\\", true, false, true, true}, {"\\\\", true, true, false, false},      {"C:\\a", false, false, true, true},
        {"1:", false, false, true, false}, {"\\\\s\\x", false, true, false, false}, {"a", false, false, false, false},
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

TEST(NormalizePathTest, KeepsAPathLongerThanTheLongFormBuffer) {
    // 600 units: no long form fits in 512, so the normalised text itself is
    // the answer, whole.
    Westring name = RepeatChar32('n', 120);
    Westring path("C:\\quorvane-none");
    for (int i = 0; i < 5; i++) {
        path += Westring("\\") + name;
    }
    Westring expected = path;
    path += Westring("\\.\\x\\..");
    ASSERT_EQ(0, NormalizePath(path, nullptr));
    EXPECT_GT(path.Length(), 512);
    EXPECT_TRUE(path.EqualsExact(expected)) << Utf8(path);
}

TEST(NormalizePathBufferTest, ReplacesInPlaceOrLeavesTheBufferAsItWas) {
    char32_t buffer[64] = U"sub\\..\\f.txt";
    ASSERT_EQ(0, NormalizePathBuffer(buffer, 64, U"D:\\work"));
    EXPECT_EQ("D:\\work\\f.txt", Utf8(Westring(buffer)));

    // "D:\work\f.txt" needs 14 units with its terminator: 13 is one too few.
    char32_t small[14] = U"f.txt";
    EXPECT_EQ(-1, NormalizePathBuffer(small, 13, U"D:\\work"));
    EXPECT_EQ("f.txt", Utf8(Westring(small)));
    EXPECT_EQ(0, NormalizePathBuffer(small, 14, U"D:\\work"));
    EXPECT_EQ("D:\\work\\f.txt", Utf8(Westring(small)));

    char32_t invalid[16] = U"C:\\..";
    EXPECT_EQ(-1, NormalizePathBuffer(invalid, 16, nullptr));
    EXPECT_EQ("C:\\..", Utf8(Westring(invalid)));
}

TEST(PathTestsTest, SameOrSubPathComparesWholeComponents) {
    struct Case {
        const char* prefix;
        const char* path;
        bool result;
    } cases[] = {
        {"C:\\a", "C:\\ab", false},  {"C:\\a", "C:\\a\\b", true},  {"C:\\a", "c:\\A", true},
        {"", "anything", true},      {"C:\\a\\b", "C:\\a", false}, {"\\\\s\\x", "\\\\S\\X\\y", true},
        {"C:\\a", "C:\\a/b", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, IsSameOrSubPath(Westring(c.prefix), Westring(c.path))) << c.prefix << " " << c.path;
    }
}

TEST(PathTestsTest, StripTrailingSlashRemovesOneSeparator) {
    struct Case {
        const char32_t* text;
        const char* result;
        bool removed;
    } cases[] = {
        {U"C:\\a\\", "C:\\a", true}, {U"C:\\a/", "C:\\a", true}, {U"C:\\a\\\\", "C:\\a\\", true},
        {U"C:\\a", "C:\\a", false},  {U"", "", false},
    };
    for (const Case& c : cases) {
        char32_t buffer[16] = {};
        for (int i = 0; c.text[i] != 0; i++) {
            buffer[i] = c.text[i];
        }
        EXPECT_EQ(c.removed, StripTrailingSlash(buffer)) << c.result;
        EXPECT_EQ(c.result, Utf8(Westring(buffer)));
    }
}

// Sets a variable for one test and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name(qvtest::W(name)) {
        WCHAR old[1024];
        DWORD n = GetEnvironmentVariableW(this->name.c_str(), old, 1024);
        had = n > 0 && n < 1024;
        if (had) {
            saved = old;
        }
        SetEnvironmentVariableW(this->name.c_str(), value != nullptr ? qvtest::W(value).c_str() : nullptr);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name.c_str(), had ? saved.c_str() : nullptr); }

private:
    qvtest::WString name;
    qvtest::WString saved;
    bool had = false;
};

TEST(PathTestsTest, TempDirectoryTakesOnlyDriveOrNetworkValues) {
    {
        ScopedVariable tmp("TMP", "Q:\\scratch");
        ScopedVariable temp("TEMP", "R:\\other");
        EXPECT_EQ("Q:\\scratch", Utf8(GetTempDirectory()));
    }
    {
        ScopedVariable tmp("TMP", "/var/tmp");
        ScopedVariable temp("TEMP", "\\\\srv\\tmp");
        EXPECT_EQ("\\\\srv\\tmp", Utf8(GetTempDirectory()));
    }
    {
        ScopedVariable tmp("TMP", "relative");
        ScopedVariable temp("TEMP", nullptr);
        WCHAR system[MAX_PATH + 1];
        DWORD n = GetTempPathW(MAX_PATH + 1, system);
        ASSERT_GT(n, 0u);
        EXPECT_TRUE(GetTempDirectory().EqualsExact(Westring(system)));
        EXPECT_TRUE(HasDrivePrefix(GetTempDirectory()) || IsUncPath(GetTempDirectory()));
    }
}

}  // namespace
