// The delete question's size follows its lines and the choices it shows.
#include <gtest/gtest.h>

#include <string>

#include "fileops/DeleteCommands.h"
#include "fileops/DeleteDialog.h"

namespace {

TEST(DeleteDialogSize, WidthFollowsTheLongerLineWithItsFloors) {
    struct Case {
        const char* line1;
        const char* line2;
        bool readOnly;
        int width;
    } cases[] = {
        {"Do you wish to delete", "a.txt", false, 26},  // 21 rounded up to 22
        {"Do you wish to delete", "a.txt", true, 46},   // the read-only row needs 42
        {"x", "y", false, 22},                          // at least 18
        {"short", "a name of exactly 44 characters, even length", true, 48},
        {"short", "a name of exactly 45 characters, an odd one..", false, 50},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.width, CDeleteDlgWidth(Westring(c.line1), Westring(c.line2), c.readOnly)) << c.line2;
    }
}

TEST(DeleteDialogSize, HeightCountsEachChoiceAndOneRowBetween) {
    EXPECT_EQ(6, CDeleteDlgHeight(false, false));
    EXPECT_EQ(8, CDeleteDlgHeight(true, false));
    EXPECT_EQ(8, CDeleteDlgHeight(false, true));
    EXPECT_EQ(9, CDeleteDlgHeight(true, true));
}

TEST(DeleteDialogSize, TaggedLineCountsFiles) {
    Estring one;
    TaggedDeleteLine(1).ToUtf8(one);
    EXPECT_STREQ("You have selected 1 file", one.Data());
    Estring many;
    TaggedDeleteLine(12).ToUtf8(many);
    EXPECT_STREQ("You have selected 12 files", many.Data());
}

}  // namespace
