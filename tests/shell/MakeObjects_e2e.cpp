// Alt-F6 makes a desktop shortcut for the file under the cursor.
#include <gtest/gtest.h>

#include <string>

#include "console/KeyCodes.h"
#include "tests/shell/ShellE2E.h"

namespace qvtest {
namespace {

class MakeObjectsE2E : public ShellE2E {
protected:
    // Starts the program with the desktop folder (a path below Root(), or
    // one that is not there): on Linux XDG's user-dirs file names it, through
    // HOME and XDG_CONFIG_HOME; under wine the shell folders key of the
    // registry, set in the program's session once it runs.
    void StartWithDesktop(const std::string& desktop, bool exists) {
        if (OnWindowsLeg()) {
            Start();
            std::string folder = exists ? "T:\\" + desktop : "T:\\no-such-folder\\" + desktop;
            hadDesktop = GetWineUserValue(ShellFolders, "Desktop", wineDesktop);
            // Wine's prefix names one (C:\users\NAME\Desktop).
            EXPECT_TRUE(hadDesktop && wineDesktop.find(":\\") == 1) << wineDesktop;
            SetWineUserValue(ShellFolders, "Desktop", &folder);
            setDesktop = true;
            return;
        }
        if (!exists) {
            Start("", {{"HOME", "/nonexistent-home-of-the-test"}, {"XDG_CONFIG_HOME", PathOf("noconfig")}});
            return;
        }
        MakeFolder("home");
        MakeFolder("home/config");
        Write("home/config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"" + PathOf(desktop) + "\"\n");
        Start("", {{"HOME", PathOf("home")}, {"XDG_CONFIG_HOME", PathOf("home/config")}});
    }
    void TearDown() override {
        if (setDesktop) {
            // The run's prefix serves later tests: its value comes back.
            SetWineUserValue(ShellFolders, "Desktop", hadDesktop ? &wineDesktop : nullptr);
        }
        ShellE2E::TearDown();
    }
    // The text as the UTF-16 a shortcut file holds its strings in.
    static std::string Utf16(const std::string& ascii) {
        std::string wide;
        for (char c : ascii) {
            wide += c;
            wide += '\0';
        }
        return wide;
    }

    static constexpr const char* ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    bool setDesktop = false;
    bool hadDesktop = false;
    std::string wineDesktop;
};

TEST_F(MakeObjectsE2E, AShortcutOfTheProposedTitleAppearsOnTheDesktop) {
    const std::string tool = Leg("my tool.sh", "my tool.bat");
    Write("work/" + tool, Leg("#!/bin/sh\necho tool\n", "@echo tool\r\n"));
    MakeFolder("desk");
    StartWithDesktop("desk", true);
    host->PressKey("Down");
    host->SendKey(KEY_ALT_F6);
    ASSERT_TRUE(Shows("Make an object for")) << host->ScreenText();
    EXPECT_TRUE(Shows(tool));
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("Make an object for")) << host->ScreenText();
    const std::string shortcut = Leg("desk/My tool.desktop", "desk/My tool.lnk");
    ASSERT_TRUE(Eventually([&] { return Exists(shortcut); })) << host->ScreenText();
    std::string entry = Read(shortcut);
    if (OnWindowsLeg()) {
        // The shell link's strings: the title as its description, the
        // panel's folder as the working folder.
        EXPECT_NE(std::string::npos, entry.find(Utf16("My tool"))) << entry;
        EXPECT_NE(std::string::npos, entry.find(Utf16("T:\\work"))) << entry;
        EXPECT_NE(std::string::npos, entry.find("my tool.bat")) << entry;
        return;
    }
    EXPECT_NE(std::string::npos, entry.find("\nName=My tool\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("\nExec=\"" + PathOf("work/my tool.sh") + "\"\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("\nPath=" + PathOf("work") + "\n")) << entry;
}

TEST_F(MakeObjectsE2E, AMissingDesktopFolderIsReported) {
    Write(Leg("work/tool.sh", "work/tool.bat"), Leg("#!/bin/sh\n", "@echo tool\r\n"));
    StartWithDesktop("desk", false);
    host->PressKey("Down");
    host->SendKey(KEY_ALT_F6);
    ASSERT_TRUE(Shows("Make an object for")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("Error saving object")) << host->ScreenText();
    // The shell link's save gives the system's code as a result code
    // (0x80070003), whose text wine words its own way.
    EXPECT_TRUE(Shows(Leg("The system cannot find the path specified.", " (-2147024893)"))) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
