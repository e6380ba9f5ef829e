// Where the data files live, and the small services around start-up.
#include <gtest/gtest.h>

#include "app/program/AppSupport.h"
#include "tests/app/settings/ConfigTestSupport.h"

namespace qvtest {
namespace {

using DataFilesTest = ConfigTest;

std::string Path(int kind, int location) {
    return Estring(DataFilePath(kind, location)).Data();
}
std::string U8W(const WString& text) {
    return U8(text);
}

TEST_F(DataFilesTest, UserFolderUnderAppDataIsMadeWhenMissing) {
    std::string folder = U8W(appData) + "\\Quorvane\\";
    EXPECT_EQ(Path(DataFileIni, DataFileUserFolder), folder + "quorvane.ini");
    EXPECT_NE(GetFileAttributesW((appData + W("\\Quorvane")).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Path(DataFileHistory, 0), folder + "quorvane.hst");
    EXPECT_EQ(Path(DataFileSyntax, 0), folder + "quorvanesyntax.ini");
    std::string program = U8W(dir.Path()) + "\\";
    EXPECT_EQ(Path(DataFileIni, DataFileProgramFolder), program + "quorvane.ini");
    EXPECT_EQ(Path(DataFileSyntax, 1), program + "quorvanesyntax.ini");
    EXPECT_EQ(Path(DataFileHelp, 0), program + "quorvane.qvh");
    EXPECT_EQ(Path(7, 0), "");
}

TEST_F(DataFilesTest, WithoutAppDataOrAnIniNamedTheFolderChanges) {
    SetEnvironmentVariableW(W("APPDATA").c_str(), nullptr);
    ProgramPath = ToWestring(dir.Join(W("qv")));
    EXPECT_EQ(Path(DataFileUserMenu, 2), U8W(dir.Path()) + "\\qv.mnu");
    Config.IniFilePath = Westring("D:\\cfg\\my.ini");
    EXPECT_EQ(Path(DataFileHistory, 2), "D:\\cfg\\my.hst");
    EXPECT_EQ(Path(DataFileSyntax, 0), "D:\\cfg\\mysyntax.ini");
    // The help files stay the program's own, beside it.
    EXPECT_EQ(Path(DataFileHelp, 2), U8W(dir.Path()) + "\\qv.qvh");
    EXPECT_EQ(Path(DataFileHtmlHelp, 2), U8W(dir.Path()) + "\\qv.chm");
}

TEST(AppSupportTest, PanelHeightByScreenSetting) {
    struct Case {
        bool fullScreen;
        int lines;
        int rows;
        int expected;
    };
    const Case cases[] = {{true, -2, 50, 44}, {false, -2, 50, 23}, {false, 100, 50, 4},
                          {false, 0, 50, 44}, {false, -1, 25, 4},  {false, 3, 25, 16}};
    TCONFIG saved = Config;
    for (const Case& c : cases) {
        Config.FullScreen = c.fullScreen;
        Config.HalfScreenConsoleLines = c.lines;
        EXPECT_EQ(ComputePanelHeight(c.rows), c.expected) << c.lines << " " << c.rows;
    }
    Config = saved;
}

TEST(AppSupportTest, DateFormatsAndTitles) {
    EXPECT_STREQ(MakeDateFormat(0, '/').Data(), "%02d/%02d/%02d");
    EXPECT_STREQ(MakeDateFormat(1, '.').Data(), "%02d.%02d.%02d");
    EXPECT_STREQ(MakeDateFormat(2, 0).Data(), "%04d%02d%02d");
    EXPECT_STREQ(MakeDateFormat(0, 0).Data(), "%02d%02d%02d  ");
    EXPECT_STREQ(Estring(ConsoleTitleFor(nullptr)).Data(), "Quorvane/W V2.50-dev");
    Westring text("C:\\work");
    EXPECT_STREQ(Estring(ConsoleTitleFor(&text)).Data(), "Quorvane: C:\\work");
    ConsoleExitTitle = Westring("bash");
    Westring exitTitle("bash");
    EXPECT_STREQ(Estring(ConsoleTitleFor(&exitTitle)).Data(), "bash");
    ConsoleExitTitle.Clear();
}

}  // namespace
}  // namespace qvtest
