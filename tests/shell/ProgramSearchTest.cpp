#include "shell/ProgramSearch.h"

#include "app/settings/Config.h"
#include "base/os/Environment.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/Utf16String.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qvtest::TempDir;
using qvtest::W;

Westring Wide(const qvtest::WString& text) {
    std::u16string units(text.begin(), text.end());
    units.push_back(0);
    return Westring(reinterpret_cast<const WCHAR*>(units.data()));
}

std::string Narrow(const Westring& text) {
    Estring utf8;
    text.ToUtf8(utf8);
    return utf8.Data();
}

// PATH of the environment chain and "PathAppend" for one test, put back after it.
class ProgramSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Estring* path = TopEnvironment().Get(Estring("PATH"));
        hadPath = path != nullptr;
        if (hadPath) {
            savedPath = *path;
        }
        savedAppend = Config.PathAppend;
        TopEnvironment().Set(Estring("PATH"), "");
        Config.PathAppend.Clear();
    }
    void TearDown() override {
        TopEnvironment().Set(Estring("PATH"), hadPath ? savedPath.Data() : nullptr);
        Config.PathAppend = savedAppend;
    }
    Westring Dir(const TempDir& dir) { return Wide(dir.Path()); }
    void Touch(const TempDir& dir, const char* name) { ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), "x")); }

    bool hadPath = false;
    Estring savedPath;
    Westring savedAppend;
};

TEST_F(ProgramSearchTest, ExtensionsAreTriedInTableOrderAndDirectoriesInListOrder) {
    TempDir first, second;
    Touch(first, "tool.bat");
    Touch(first, "tool.cmd");
    Touch(second, "tool.exe");
    Touch(second, "tool.com");
    Westring found;
    // ";;" runs are skipped; the first directory's hit wins even though the
    // second holds an extension earlier in the table.
    Westring extra = Westring(";;") + Dir(first) + Westring(";;") + Dir(second) + Westring(";");
    ASSERT_EQ(1, FindProgramOnPath(Westring("tool"), found, &extra));
    EXPECT_EQ(Narrow(Dir(first) + Westring("\\tool.cmd")), Narrow(found));

    Westring onlySecond = Dir(second);
    ASSERT_EQ(1, FindProgramOnPath(Westring("tool"), found, &onlySecond));
    EXPECT_EQ(Narrow(Dir(second) + Westring("\\tool.com")), Narrow(found));

    // A name with a point is tried as it is, never with extensions added.
    EXPECT_EQ(0, FindProgramOnPath(Westring("tool.ex"), found, &extra));
    ASSERT_EQ(1, FindProgramOnPath(Westring("tool.bat"), found, &extra));
    EXPECT_EQ(Narrow(Dir(first) + Westring("\\tool.bat")), Narrow(found));
}

TEST_F(ProgramSearchTest, PathOfTheChainThenPathAppendAreSearched) {
    TempDir onPath, appended;
    Touch(onPath, "inpath.exe");
    Touch(appended, "late.bat");
    Touch(onPath, "late.bat.not");
    Westring found;
    Estring pathValue;
    Dir(onPath).ToUtf8(pathValue);
    TopEnvironment().Set(Estring("PATH"), pathValue);
    ASSERT_EQ(1, FindProgramOnPath(Westring("inpath"), found));
    EXPECT_EQ(Narrow(Dir(onPath) + Westring("\\inpath.exe")), Narrow(found));

    EXPECT_EQ(0, FindProgramOnPath(Westring("late"), found));
    Config.PathAppend = Dir(appended);
    ASSERT_EQ(1, FindProgramOnPath(Westring("late"), found));
    EXPECT_EQ(Narrow(Dir(appended) + Westring("\\late.bat")), Narrow(found));

    // Without PATH, extra list or setting nothing but the current directory
    // is searched.
    TopEnvironment().Set(Estring("PATH"), "");
    Config.PathAppend.Clear();
    EXPECT_EQ(0, FindProgramOnPath(Westring("inpath"), found));
}

TEST_F(ProgramSearchTest, CurrentDirectoryComesFirst) {
    TempDir current, onPath;
    Touch(current, "both.bat");
    Touch(onPath, "both.bat");
    Westring extra = Dir(onPath);
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::u16string saved(size, u'\0');
    GetCurrentDirectoryW(size, reinterpret_cast<WCHAR*>(&saved[0]));
    ASSERT_TRUE(SetCurrentDirectoryW(reinterpret_cast<const WCHAR*>(W(qvtest::U8(current.Path())).c_str())));
    Westring found;
    int result = FindProgramOnPath(Westring("both"), found, &extra);
    SetCurrentDirectoryW(reinterpret_cast<const WCHAR*>(saved.c_str()));
    ASSERT_EQ(1, result);
    EXPECT_EQ(Narrow(Dir(current) + Westring("\\both.bat")), Narrow(found));
}

TEST_F(ProgramSearchTest, DirectoryPartIsTheOnlyDirectoryAndDirectoriesNeverMatch) {
    TempDir dir, other;
    Touch(dir, "named.cmd");
    Touch(other, "named.cmd");
    ASSERT_NE(0, CreateDirectoryW(reinterpret_cast<const WCHAR*>(other.Join(W("sub.exe")).c_str()), nullptr));
    Touch(dir, "sub.exe");
    Westring extra = Dir(other);
    Westring found;
    ASSERT_EQ(1, FindProgramOnPath(Dir(dir) + Westring("\\named"), found, &extra));
    EXPECT_EQ(Narrow(Dir(dir) + Westring("\\named.cmd")), Narrow(found));
    ASSERT_EQ(1, FindProgramOnPath(Dir(dir) + Westring("\\named.cmd"), found, &extra));
    EXPECT_EQ(Narrow(Dir(dir) + Westring("\\named.cmd")), Narrow(found));
    EXPECT_EQ(0, FindProgramOnPath(Dir(dir) + Westring("\\missing"), found, &extra));

    // A folder called like a program is passed over for the file further on.
    Westring both = Dir(other) + Westring(";") + Dir(dir);
    ASSERT_EQ(1, FindProgramOnPath(Westring("sub.exe"), found, &both));
    EXPECT_EQ(Narrow(Dir(dir) + Westring("\\sub.exe")), Narrow(found));
    EXPECT_FALSE(ProgramFileExists(Dir(other) + Westring("\\sub.exe")));
    EXPECT_TRUE(ProgramFileExists(Dir(dir) + Westring("\\sub.exe")));
}

TEST_F(ProgramSearchTest, ProgramWithoutExtensionIsFoundAsTypedOnlyWhenItRuns) {
    // The running test program is a program of this system under any name.
    WCHAR own[1024];
    DWORD n = GetModuleFileNameW(nullptr, own, 1024);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, 1024u);
    Westring self(own);
    ASSERT_EQ(0, NormalizePath(self));
    int slash = self.FindLast('\\');
    Westring directory = self.Left(slash);
    Westring name = self.Mid(slash + 1, self.Length());
    if (name.Length() > 4 && name.Right(4).EqualsNoCase(Westring(".exe"))) {
        name = name.DropRight(4);
    }
    Westring found;
    ASSERT_EQ(1, FindProgramOnPath(name, found, &directory));
    EXPECT_TRUE(found.EqualsNoCase(self));
    EXPECT_EQ(ProgramKindConsole, GetProgramKindByExtension(found));

    // A file without extension that is no program is not taken as typed.
    TempDir dir;
    Touch(dir, "plain");
    Touch(dir, "plain.bat");
    Westring extra = Dir(dir);
    ASSERT_EQ(1, FindProgramOnPath(Westring("plain"), found, &extra));
    EXPECT_EQ(Narrow(Dir(dir) + Westring("\\plain.bat")), Narrow(found));
    EXPECT_EQ(ProgramKindNotProgram, GetProgramKindByExtension(Dir(dir) + Westring("\\plain")));
}

// Bytes of a crafted executable: an MZ head whose offset 60 points at `at`,
// then `tail` at that offset.
std::string Executable(uint32_t at, const std::string& tail) {
    std::string bytes(64, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; i++) {
        bytes[60 + i] = static_cast<char>((at >> (8 * i)) & 0xff);
    }
    // An offset past the end is left so: the file stays small.
    if (at > bytes.size() && tail.empty()) {
        return bytes;
    }
    bytes.resize(at, '\0');
    return bytes + tail;
}

std::string Header(const char* signature, size_t size, size_t at = 0, int value = 0) {
    std::string header(size, '\0');
    header[0] = signature[0];
    header[1] = signature[1];
    if (at != 0) {
        header[at] = static_cast<char>(value & 0xff);
        header[at + 1] = static_cast<char>((value >> 8) & 0xff);
    }
    return header;
}

TEST_F(ProgramSearchTest, ExecutableKindsFromCraftedHeaders) {
    struct {
        const char* name;
        std::string bytes;
        int kind;
    } const cases[] = {
        {"text.exe", "just text", ProgramKindNotProgram},
        {"short.exe", "MZ", ProgramKindNotProgram},
        {"mzonly.exe", Executable(64, ""), ProgramKindDos},
        {"faroff.exe", Executable(0x7fff0000, ""), ProgramKindDos},
        {"ne-win.exe", Executable(64, Header("NE", 64, 54, 2)), ProgramKindWin16},
        {"ne-os2.exe", Executable(64, Header("NE", 64, 54, 1)), ProgramKindExtendedDos},
        {"ne-other.exe", Executable(64, Header("NE", 64, 54, 4)), ProgramKindDos},
        {"le.exe", Executable(64, Header("LE", 64)), ProgramKindExtendedDos},
        {"lx.exe", Executable(128, Header("LX", 64)), ProgramKindExtendedDos},
        {"pe-gui.exe", Executable(64, Header("PE", 264, 92, 2)), ProgramKindWindowed},
        {"pe-console.exe", Executable(64, Header("PE", 264, 92, 3)), ProgramKindConsole},
        {"pe-short.exe", Executable(64, Header("PE", 100, 92, 2)), ProgramKindDos},
        {"other.exe", Executable(64, Header("ZZ", 64)), ProgramKindDos},
    };
    TempDir dir;
    for (const auto& c : cases) {
        ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W(c.name)), c.bytes));
        EXPECT_EQ(c.kind, GetProgramKindByExtension(Dir(dir) + Westring("\\") + Westring(c.name))) << c.name;
    }
    EXPECT_EQ(ProgramKindNotProgram, GetExecutableKind(Dir(dir) + Westring("\\missing.exe")));
}

TEST_F(ProgramSearchTest, KindsByExtension) {
    TempDir dir;
    struct {
        const char* name;
        int kind;
    } const cases[] = {
        {"a.CMD", ProgramKindBatch}, {"b.bat", ProgramKindBatch},      {"c.inf", ProgramKindInf},
        {"d.Com", ProgramKindDos},   {"e.txt", ProgramKindNotProgram}, {"f.exe.txt", ProgramKindNotProgram},
    };
    for (const auto& c : cases) {
        Touch(dir, c.name);
        EXPECT_EQ(c.kind, GetProgramKindByExtension(Dir(dir) + Westring("\\") + Westring(c.name))) << c.name;
    }
}

}  // namespace
