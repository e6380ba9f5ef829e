#include "app/panels/PanelTagging.h"

#include <gtest/gtest.h>

#include "app/settings/Config.h"
#include "console/KeyCodes.h"
#include "app/panels/PanelTags.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/app/panels/TestPanelPair.h"

namespace {

using paneltest::TestPanelPair;

const uint16_t Directory = FILE_ATTRIBUTE_DIRECTORY;

class PanelTaggingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Config.TagDirs = 0;
        paneltest::Fill(panel(), {{"..", Directory, 0, 0},
                                  {"src", Directory, 0, 0},
                                  {"notes.txt", 0, 100, 0},
                                  {"DESCRIPT.ION", 0, 7, 0},
                                  {"todo.TXT", 0, 20, 0},
                                  {"main.cpp", 0, 1000, 0}});
    }

    CPanel& panel() { return pair[0]; }

    // The tagged names, joined by blanks, and the totals checked against them.
    std::string Tagged() {
        std::string names;
        int count = 0;
        int64_t bytes = 0;
        for (int i = 0; i < panel().entryCount; i++) {
            const entry* item = panel().entries[i];
            if (!item->tagged)
                continue;
            names += (names.empty() ? "" : " ") + paneltest::Utf8(item->name);
            count++;
            bytes += int64_t(item->size);
        }
        EXPECT_EQ(panel().taggedCount, count);
        EXPECT_EQ(panel().taggedBytes, bytes);
        return names;
    }

    TestPanelPair pair;
};

TEST(SystemMetadataFileTest, KnowsTheThreeNamesInAnyCase) {
    for (const char* name : {"descript.ion", "Descript.Ion", "EA DATA. SF", "wp root. sf"})
        EXPECT_TRUE(IsSystemMetadataFile(Westring(name))) << name;
    for (const char* name : {"descript.ion.bak", "EA DATA.SF", "", "readme"})
        EXPECT_FALSE(IsSystemMetadataFile(Westring(name))) << name;
}

TEST_F(PanelTaggingTest, TagAllTakesDirectoriesByTheSettingReversedByShift) {
    struct Case {
        uint8_t tagDirs;
        int shiftState;
        const char* tagged;
    } cases[] = {
        {0, 0, "notes.txt todo.TXT main.cpp"},
        {0, SHIFT_SHIFT, "src notes.txt todo.TXT main.cpp"},
        {1, 0, "src notes.txt todo.TXT main.cpp"},
        {1, SHIFT_SHIFT, "notes.txt todo.TXT main.cpp"},
    };
    for (const Case& c : cases) {
        Config.TagDirs = c.tagDirs;
        TagAllEntries(&panel(), -1, 0);
        TagAllEntries(&panel(), 1, c.shiftState);
        EXPECT_EQ(Tagged(), c.tagged) << int(c.tagDirs) << "/" << c.shiftState;
    }
}

TEST_F(PanelTaggingTest, UntagAllReachesEverythingAndInvertSparesTheMetadataFile) {
    PanelTagEntry(&panel(), 3, 1);  // descript.ion, tagged by hand
    PanelTagEntry(&panel(), 1, 1);  // src
    TagAllEntries(&panel(), -1, 0);
    EXPECT_EQ(Tagged(), "");
    PanelTagEntry(&panel(), 2, 1);
    TagAllEntries(&panel(), 0, 0);
    EXPECT_EQ(Tagged(), "todo.TXT main.cpp");
}

TEST_F(PanelTaggingTest, AnOffOrEmptyPanelIsLeftAlone) {
    panel().isOn = 0;
    TagAllEntries(&panel(), 1, 0);
    EXPECT_EQ(Tagged(), "");
}

TEST_F(PanelTaggingTest, MasksTagOnlyWhatMatches) {
    struct Case {
        const char* mask;
        bool directories;
        const char* tagged;
    } cases[] = {
        {"*.txt", false, "notes.txt todo.TXT"},
        {"*", false, "notes.txt todo.TXT main.cpp"},
        {"*", true, "src notes.txt todo.TXT main.cpp"},
        {"*.txt|*.cpp", false, "notes.txt todo.TXT main.cpp"},
        {"!*.txt", false, "main.cpp"},
        {"%size>50", false, "notes.txt main.cpp"},
        {"(*.txt", false, ""},  // an error in the mask matches nothing
    };
    for (const Case& c : cases) {
        TagAllEntries(&panel(), -1, 0);
        TagEntriesByMask(Westring(c.mask), &panel(), 1, c.directories);
        EXPECT_EQ(Tagged(), c.tagged) << c.mask;
    }
}

TEST_F(PanelTaggingTest, UnselectingByMaskReachesTheMetadataFile) {
    PanelTagEntry(&panel(), 3, 1);
    TagEntriesByMask(Westring("*"), &panel(), 1, true);
    EXPECT_EQ(Tagged(), "src notes.txt DESCRIPT.ION todo.TXT main.cpp");
    TagEntriesByMask(Westring("*.ion|*.cpp"), &panel(), -1, true);
    EXPECT_EQ(Tagged(), "src notes.txt todo.TXT");
}

}  // namespace
