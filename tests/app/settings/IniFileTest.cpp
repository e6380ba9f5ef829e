// Reading and writing the ini file: values by kind, stored paths, bad
// directives, the writer's layout and a safe replace of the old file.
#include <gtest/gtest.h>

#include "app/settings/Colours.h"
#include "app/settings/IniKeys.h"
#include "app/settings/StoredPaths.h"
#include "app/settings/ArchiverSettings.h"
#include "app/settings/Association.h"
#include "base/os/Environment.h"
#include "tests/app/settings/ConfigTestSupport.h"

namespace qvtest {
namespace {

class IniFileTest : public ConfigTest {
protected:
    void TearDown() override {
        for (Westring& path : StoredPaths) {
            path.Clear();
        }
        for (AssociationSet* set :
             {&FileAssociations, &ViewerAssociations, &EditorAssociations, &FileColourRules, &DirectoryColourRules}) {
            set->FreeAll();
        }
        IniEnvironment().Clear();
        ConfigTest::TearDown();
    }
    void Load(const std::string& text) {
        WriteIni(text);
        LoadConfiguration(false, messages);
    }
    std::string Saved() {
        EXPECT_EQ(WriteIniFile(messages), 0u);
        return ReadFileBytes(DataFile("quorvane.ini"));
    }
};

TEST_F(IniFileTest, ProgramDefaultsFollowTheCommandInterpreter) {
    WCHAR saved[1024];
    DWORD had = GetEnvironmentVariableW(W("COMSPEC").c_str(), saved, 1024);
    struct {
        const char* interpreter;
        const char* viewer;
        const char* editor;
    } const cases[] = {
        {"C:\\Windows\\system32\\cmd.exe", "list", "notepad"},
        {"C:\\bin\\sh", "less", "vi"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetEnvironmentVariableW(W("COMSPEC").c_str(), W(c.interpreter).c_str()));
        SetIniDefaults(Config);
        Estring viewer, editor;
        Config.Viewer2.ToUtf8(viewer);
        Config.Editor2.ToUtf8(editor);
        EXPECT_STREQ(c.viewer, viewer.Data()) << c.interpreter;
        EXPECT_STREQ(c.editor, editor.Data()) << c.interpreter;
    }
    SetEnvironmentVariableW(W("COMSPEC").c_str(), had ? saved : nullptr);
    SetIniDefaults(Config);
}

TEST_F(IniFileTest, ValuesAreReadByTheirKind) {
    struct Case {
        const char* line;
        const char* key;
        const char* expected;  // as the writer writes it back
    };
    const Case cases[] = {
        {"TimeMode = 24 ", "TimeMode", "24"},
        {"TimeMode=240", "TimeMode", "12"},
        {"autoindent=ON", "AutoIndent", "on"},
        {"AutoIndent=yes", "AutoIndent", "off"},
        {"LeftStyle=tree", "LeftStyle", "full"},
        {"LeftStyle=BRIEF", "LeftStyle", "brief"},
        {"RightSort=unsorted", "RightSort", "unsorted"},
        {"RightSort=rsize", "RightSort", "rsize"},
        {"LeftSort=bogus", "LeftSort", "name"},
        {"RightType=info", "RightType", "info"},
        {"LeftWidth=forcedhalf", "LeftWidth", "forcedhalf"},
        {"CmdChar=#x", "CmdChar", "#"},
        {"MaxHist=12abc", "MaxHist", "12"},
        {"Viewer=v\xC3\xA9w", "Viewer", "v\xC3\xA9w"},
        {"MouSpeed=5000", "MouSpeed", "8"},
        {"TabWidth=0", "TabWidth", "8"},
        {"ConsoleScrollback=off", "ConsoleScrollback", "on"},
        {"Left=c:\\work", "Left", "C:\\work"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Load(std::string("[General Options]\r\n") + c.line + "\r\n");
        EXPECT_EQ(messages.shown, "");
        const TIniKey* key = FindIniKey(c.key);
        ASSERT_NE(key, nullptr);
        EXPECT_STREQ(FormatIniValue(*key, Config).Data(), c.expected);
    }
}

TEST_F(IniFileTest, StoredPathKeysAndBadDirectives) {
    Load("Clock=on\r\nD7=C:\\tmp\\x\r\nd10=x\r\n");
    EXPECT_TRUE(StoredPaths[7].EqualsExact(Westring("C:\\tmp\\x")));
    EXPECT_EQ(messages.shown, "Bad directive (d10) in quorvane.ini, line 3|\n");
    EXPECT_EQ(Config.Clock, 1);
}

TEST_F(IniFileTest, SectionsSeparatorsAndAssociations) {
    Load(
        "*.txt: edit !\r\n"
        "[associations]\r\n"
        "*.c:ignored header keeps the section\r\n"
        "[Viewer Associations]\r\n"
        "*.log:: tail !\r\n"
        "[Colours]\r\n"
        "*.bak::red\r\n"
        "[Archiver:ZIP]\r\n"
        "extract = unzip -o \r\n"
        "Bogus=x\r\n"
        "[Environment]\r\n"
        "QVHOME=%QVTESTNONE%\\q\r\n"
        "[General Options]\r\n"
        "[Archiver:RAR]: no\r\n"
        "(bad: mask\r\n");
    ASSERT_EQ(FileAssociations.Count(), 2);
    EXPECT_TRUE(FileAssociations.At(1)->mask.EqualsExact(Westring("*.c")));
    ASSERT_EQ(ViewerAssociations.Count(), 1);
    EXPECT_EQ(ViewerAssociations.At(0)->continueFlag, 1);
    EXPECT_TRUE(ViewerAssociations.At(0)->command.EqualsExact(Westring("tail !")));
    ASSERT_EQ(FileColourRules.Count(), 1);
    EXPECT_EQ(FileColourRules.At(0)->continueFlag, 0);
    EXPECT_TRUE(FileColourRules.At(0)->command.EqualsExact(Westring(":red")));
    EXPECT_STREQ(ArchiverSettings[0].Extract.Data(), "unzip -o");
    const Estring* home = IniEnvironment().Get("QVHOME");
    ASSERT_NE(home, nullptr);
    EXPECT_STREQ(home->Data(), "%QVTESTNONE%\\q");
    EXPECT_EQ(messages.shown.find("Error in association|(bad:"), 0u) << messages.shown;
}

TEST_F(IniFileTest, ColoursValueFillsTheFirstSlotsOnly) {
    Load("Colours=1 2  3\r\n");
    EXPECT_EQ(Config.Colours[0], 1);
    EXPECT_EQ(Config.Colours[2], 3);
    EXPECT_EQ(Config.Colours[3], DefaultColours[3]);
    Load("Colours=1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23\r\n");
    EXPECT_EQ(Config.Colours[20], 21);
    // Values enough to run well past the slots: what follows them stays.
    uint32_t confirmations = TCONFIG().Confirmations;
    std::string many = "Colours=";
    for (int i = 0; i < 40; i++) {
        many += "255 ";
    }
    Load(many + "\r\n");
    EXPECT_EQ(Config.Colours[ColourSlotCount - 1], 255);
    EXPECT_EQ(Config.Confirmations, confirmations);
}

TEST_F(IniFileTest, SavingDefaultsWritesTheSectionsInOrder) {
    LoadConfiguration(false, messages);
    std::string text = Saved();
    EXPECT_NE(text.find("\r\nColours=27 48 30 62 26 32 7 112 79 48 3 63 48 15 14 7 27 48 62 58 62 \r\n"),
              std::string::npos);
    const char* order[] = {"[Associations]\r\n",
                           "[Viewer Associations]\r\n",
                           "[Editor Associations]\r\n",
                           "[Colours]\r\n",
                           "[Directory Colours]\r\n",
                           "[Environment]\r\n",
                           "[Archiver:ZIP]\r\nCompress=zip -r\r\nCompressListfileSwitch=-@ < \r\n",
                           "[Archiver:TAR/XZ]\r\n",
                           "[General Options]\r\nAutoIndent=off\r\n",
                           "ConsoleScrollback=on\r\n",
                           "Colours="};
    size_t at = 0;
    for (const char* part : order) {
        size_t found = text.find(part, at);
        ASSERT_NE(found, std::string::npos) << part;
        at = found;
    }
    EXPECT_EQ(text.find("Manual="), std::string::npos);
    EXPECT_EQ(text.find("\n\n"), std::string::npos);  // every line ends in CR LF
    EXPECT_EQ(messages.shown, "");
}

TEST_F(IniFileTest, RoundTripKeepsEveryKey) {
    Load(
        "[General Options]\r\nEditor=ed \xE2\x82\xAC\r\nTimeMode=24\r\nRightStyle=unix\r\nStartupSide=R\r\n"
        "Confirmations=5\r\nFFDriveList=CDE\r\nd0=C:\\a\r\n*.zip:: unzip\r\n"
        "[Environment]\r\nX=1\r\n[Archiver:TAR]\r\nDelete=tar -d\r\n");
    std::string first = Saved();
    for (const TIniKey* key = IniKeyTable; key < IniKeyTable + IniKeyCount; key++) {
        if (key->field) {
            EXPECT_NE(first.find(std::string("\r\n") + key->name + "="), std::string::npos) << key->name;
        }
    }
    Config = TCONFIG();
    StoredPaths[0].Clear();
    LoadConfiguration(false, messages);
    // Values are read trimmed, so the blank that ends the built-in ZIP list
    // switch does not come back; everything else does.
    size_t blank = first.find("-@ < \r\n");
    ASSERT_NE(blank, std::string::npos);
    first.erase(blank + 4, 1);
    EXPECT_EQ(Saved(), first);
    EXPECT_NE(first.find("*.zip:: unzip\r\n"), std::string::npos);
    EXPECT_NE(first.find("d0=C:\\a\r\n"), std::string::npos);
    EXPECT_EQ(messages.shown, "");
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntact) {
    Load("Clock=on\r\n");
    // A directory where the temporary file must go makes the write fail.
    ASSERT_TRUE(CreateDirectoryW(DataFile("quorvane.!!!").c_str(), nullptr));
    Config.Clock = 0;
    EXPECT_NE(WriteIniFile(messages), 0u);
    EXPECT_EQ(ReadFileBytes(DataFile("quorvane.ini")), "Clock=on\r\n");
    EXPECT_NE(messages.shown, "");
    RemoveDirectoryW(DataFile("quorvane.!!!").c_str());
}

TEST_F(IniFileTest, NamedIniFileIsWrittenWithAnIniExtension) {
    WString named = dir.Join(W("setup.cfg"));
    ASSERT_TRUE(WriteFileBytes(named, "Clock=on\r\n"));
    Config.IniFilePath = ToWestring(named);
    LoadConfiguration(false, messages);
    EXPECT_EQ(Config.Clock, 1);
    Config.IniFilePath = ToWestring(named);
    ASSERT_EQ(WriteIniFile(messages), 0u);
    EXPECT_NE(ReadFileBytes(dir.Join(W("setup.ini"))).find("Clock=on\r\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(named), "Clock=on\r\n");
}

}  // namespace
}  // namespace qvtest
