#include "shell/MakeObjects.h"
#include "shell/Shortcuts.h"

#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

namespace {

using shelltest::Narrow;

TEST(ShortcutsTest, ProgramManagerCommandText) {
    struct Case {
        const char* directory;
        const char* file;
        const char* title;
        bool fullScreen;
        const char* command;
    } cases[] = {
        {"C:\\d", "p.exe", "T", false, "[AddItem(\"C:\\d\\p.exe\",\"T\",,,,,\"C:\\d\")]"},
        {"C:\\", "p.exe", "T", false, "[AddItem(\"C:\\p.exe\",\"T\",,,,,\"C:\\\")]"},
        {"C:\\d", "p.exe", "T", true, "[AddItem(\"C:\\d\\p.exe\",\"T\",,,,,\"C:\\d\",,fFullScreen)]"},
        {"C:\\ä", "ü.exe", "Ö", false, "[AddItem(\"C:\\\xC3\xA4\\\xC3\xBC.exe\",\"\xC3\x96\",,,,,\"C:\\\xC3\xA4\")]"},
    };
    for (const Case& c : cases) {
        Estring command =
            ProgmanAddItemCommand(Westring(c.directory), Westring(c.file), Westring(c.title), c.fullScreen);
        EXPECT_STREQ(c.command, command.Data());
    }
}

TEST(ShortcutsTest, TitlesFromFileNames) {
    struct Case {
        const char* name;
        const char* title;
    } cases[] = {
        {"my tool.sh", "My tool"}, {"NOTEPAD.EXE", "Notepad"}, {"archive.tar.gz", "Archive.tar"},
        {"README", "Readme"},      {".profile", ".profile"},   {"x", "X"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.title, Narrow(TitleFromFileName(Westring(c.name)))) << c.name;
    }
}

}  // namespace
