// Alt-F6 makes a desktop shortcut for the file under the cursor.
#include <gtest/gtest.h>

#include <string>

#include "console/KeyCodes.h"
#include "tests/shell/ShellE2E.h"

namespace qvtest {
namespace {

class MakeObjectsE2E : public ShellE2E {};

TEST_F(MakeObjectsE2E, AShortcutOfTheProposedTitleAppearsOnTheDesktop) {
    Write("work/my tool.sh", "#!/bin/sh\necho tool\n");
    MakeFolder("home");
    MakeFolder("home/config");
    MakeFolder("desk");
    Write("home/config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"" + PathOf("desk") + "\"\n");
    Start("", {{"HOME", PathOf("home")}, {"XDG_CONFIG_HOME", PathOf("home/config")}});
    host->PressKey("Down");
    host->SendKey(KEY_ALT_F6);
    ASSERT_TRUE(Shows("Make an object for")) << host->ScreenText();
    EXPECT_TRUE(Shows("my tool.sh"));
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("Make an object for")) << host->ScreenText();
    ASSERT_TRUE(Eventually([&] { return Exists("desk/My tool.desktop"); })) << host->ScreenText();
    std::string entry = Read("desk/My tool.desktop");
    EXPECT_NE(std::string::npos, entry.find("\nName=My tool\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("\nExec=\"" + PathOf("work/my tool.sh") + "\"\n")) << entry;
    EXPECT_NE(std::string::npos, entry.find("\nPath=" + PathOf("work") + "\n")) << entry;
}

TEST_F(MakeObjectsE2E, AMissingDesktopFolderIsReported) {
    Write("work/tool.sh", "#!/bin/sh\n");
    Start("", {{"HOME", "/nonexistent-home-of-the-test"}, {"XDG_CONFIG_HOME", PathOf("noconfig")}});
    host->PressKey("Down");
    host->SendKey(KEY_ALT_F6);
    ASSERT_TRUE(Shows("Make an object for")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("Error saving object")) << host->ScreenText();
    EXPECT_TRUE(Shows("The system cannot find the path specified.")) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
