// The shell's objects: the desktop folder in the registry, the shell link
// saved as a desktop entry, and DDE, which has no server here.
#include "platform/win32.h"
#include "tests/platform/PosixPathOf.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using qvtest::TempDir;
using qvtest::U8;
using qvtest::W;
using qvtest::WString;

const char ShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

#ifndef _WIN32
// HOME and XDG_CONFIG_HOME for one test, put back after it.
class HomeScope {
public:
    explicit HomeScope(const std::string& home) {
        Save("HOME", home);
        Save("XDG_CONFIG_HOME", home + "/config");
    }
    ~HomeScope() {
        for (int i = 1; i >= 0; i--) {
            if (had[i]) {
                setenv(names[i], saved[i].c_str(), 1);
            } else {
                unsetenv(names[i]);
            }
        }
    }

private:
    void Save(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        had[count] = old != nullptr;
        saved[count] = old ? old : "";
        names[count] = name;
        count++;
        setenv(name, value.c_str(), 1);
    }
    const char* names[2] = {};
    std::string saved[2];
    bool had[2] = {};
    int count = 0;
};
#endif

#ifndef _WIN32
// The desktop folder as the registry answers it, or an empty text and the error.
std::string DesktopValue(LONG& error) {
    HKEY key = nullptr;
    error = RegOpenKeyExW(HKEY_CURRENT_USER, W(ShellFolders).c_str(), 0, KEY_QUERY_VALUE, &key);
    if (error != ERROR_SUCCESS) {
        return std::string();
    }
    WCHAR buffer[500] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    error = RegQueryValueExW(key, W("Desktop").c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS || type != REG_SZ) {
        return std::string();
    }
    return U8(WString(buffer));
}
#endif

TEST(ShellObjects, TheDesktopFolderComesFromTheUserDirectories) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "Windows answers from its own registry";
    }
#ifndef _WIN32
    TempDir home;
    std::string posixHome = qvtest::PosixPathOf(home.Path());
    HomeScope scope(posixHome);
    LONG error = 0;
    // Without user-dirs.dirs: $HOME/Desktop.
    EXPECT_EQ(U8(home.Path()) + "\\Desktop", DesktopValue(error));
    EXPECT_EQ(ERROR_SUCCESS, error);

    ASSERT_TRUE(CreateDirectoryW(home.Join(W("config")).c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(home.Join(W("config\\user-dirs.dirs")),
                                       "# written by xdg-user-dirs-update\n"
                                       "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                                       "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch ä\"\n"));
    EXPECT_EQ(U8(home.Path()) + "\\Schreibtisch ä", DesktopValue(error));

    // The size needed, and a buffer too small for it.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, W(ShellFolders).c_str(), 0, KEY_QUERY_VALUE, &key));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, W("Desktop").c_str(), nullptr, nullptr, nullptr, &size));
    EXPECT_EQ((W(U8(home.Path()) + "\\Schreibtisch ä").size() + 1) * sizeof(WCHAR), size);
    WCHAR small[4];
    DWORD smallSize = sizeof small;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExW(key, W("Desktop").c_str(), nullptr, nullptr,
                                                reinterpret_cast<LPBYTE>(small), &smallSize));
    EXPECT_EQ(size, smallSize);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key, W("Personal").c_str(), nullptr, nullptr, nullptr, &size));
    RegCloseKey(key);
#endif
}

TEST(ShellObjects, OtherKeysAreMissing) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExW(HKEY_CURRENT_USER, W("Software\\Quorvane\\No such key").c_str(), 0, KEY_QUERY_VALUE, &key));
}

TEST(ShellObjects, AShellLinkIsSavedWithItsFields) {
    TempDir dir;
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("my tool.sh")), "#!/bin/sh\n"));
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<LPVOID*>(&link))));
    EXPECT_TRUE(SUCCEEDED(link->SetPath(dir.Join(W("my tool.sh")).c_str())));
    EXPECT_TRUE(SUCCEEDED(link->SetArguments(W("a \"b c\" 50% $x back\\slash").c_str())));
    EXPECT_TRUE(SUCCEEDED(link->SetDescription(W("My tool\nsecond line").c_str())));
    EXPECT_TRUE(SUCCEEDED(link->SetWorkingDirectory(dir.Path().c_str())));
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(dir.Join(W("My tool.lnk")).c_str(), TRUE)));
    file->Release();
    link->Release();
    CoUninitialize();
    if (qvtest::RunningUnderWine()) {
        // Windows writes a shell link of its own format.
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W("My tool.lnk")).c_str()));
        return;
    }
#ifndef _WIN32
    std::string folder = qvtest::PosixPathOf(dir.Path());
    EXPECT_EQ(
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=My tool\\nsecond line\n"
        "Exec=\"" +
            folder +
            "/my tool.sh\" a \"b c\" 50%% \"\\\\$x\" \"back\\\\\\\\slash\"\n"
            "Path=" +
            folder + "\n",
        qvtest::ReadFileBytes(dir.Join(W("My tool.desktop"))));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W("My tool.lnk")).c_str()));
    struct stat st;
    ASSERT_EQ(0, stat((folder + "/My tool.desktop").c_str(), &st));
    EXPECT_EQ(0755u, st.st_mode & 0777u);
#endif
}

TEST(ShellObjects, OnlyTheShellLinkClassExists) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IUnknown* object = nullptr;
    const CLSID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                                    reinterpret_cast<LPVOID*>(&object)));
    EXPECT_EQ(nullptr, object);
    CoUninitialize();
}

HDDEDATA WINAPI NoDdeEvents(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

TEST(ShellObjects, DdeHasNoServer) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "Windows has DDE";
    }
    DWORD instance = 0;
    EXPECT_EQ(static_cast<UINT>(DMLERR_SYS_ERROR), DdeInitializeA(&instance, NoDdeEvents, APPCMD_CLIENTONLY, 0));
    EXPECT_EQ(16399u, static_cast<UINT>(DMLERR_SYS_ERROR));
}

}  // namespace
