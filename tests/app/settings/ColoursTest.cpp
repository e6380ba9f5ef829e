// Colour texts and the default slots.
#include <gtest/gtest.h>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"

namespace {

TEST(ColoursTest, ParseColourSpecCases) {
    struct Case {
        const char* text;
        uint32_t start;
        uint32_t expected;
    };
    const Case cases[] = {
        {"yel on blu", 0x00, 0x16},
        {"yel on blu", 0xFF, 0x16},
        {"", 0x1B, 0x1B},
        {"on blu", 0x1B, 0x1B},
        {"on red", 0x1B, 0x4B},
        {"bri whi", 0x1B, 0x1F},
        {"BRIGHT YELLOW", 0x30, 0x3E},
        {"pink on blu", 0x4F, 0x10},
        {"  gre   on  bri  bla ", 0x00, 0x82},
        {"one", 0x1B, 0x10},  // "one" is not "on": an unknown first word
        {"bl", 0x1B, 0x10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseColourSpec(Estring(c.text), c.start), c.expected) << c.text;
    }
}

TEST(ColoursTest, ResetColoursPutsTheDefaultsInEverySlot) {
    TCONFIG saved = Config;
    ResetColours();
    EXPECT_EQ(ColourOf(ColourMessages), 0x70);
    EXPECT_EQ(ColourOf(ColourSynchDelete), 0x3E);
    EXPECT_STREQ(ColourSlotNames[ColourMenuQuickKey], "Menu Quick Key");
    Config = saved;
}

}  // namespace
