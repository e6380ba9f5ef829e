// The colours dialog on a console on pipes: the keys are queued before it
// runs, and the slots are looked at when it has ended.
#include "app/program/ColoursDialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/ui/UiConsole.h"

namespace {

class ColoursDialogTest : public qvtest::UiConsole {
protected:
    void SetUp() override {
        qvtest::UiConsole::SetUp();
        std::memcpy(before, Config.Colours, sizeof(before));
    }
    void TearDown() override {
        ResetColours();
        qvtest::UiConsole::TearDown();
    }
    // The list starts on "Panel": down to a slot.
    void GoToSlot(int slot) {
        for (int i = 0; i < slot; i++) {
            Key(KEY_DOWN);
        }
    }
    uint8_t before[ColourSlotCount];
};

TEST_F(ColoursDialogTest, OkKeepsTheChangedSlotsAndLeavesTheOthers) {
    struct Case {
        const char* keys;  // letters pressed on the slot
        int slot;
        uint8_t expected;
    };
    // F and B step the foreground and background, shifted ones step back;
    // both wrap within their four bits.
    const Case cases[] = {
        {"ff", ColourHighlight, 0x32}, {"F", ColourCommandLine, 0x06},    {"b", ColourMessages, 0x80},
        {"BB", ColourPanel, 0xFB},     {"fb", ColourColumnHeading, 0x4F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        ResetColours();
        GoToSlot(c.slot);
        Type(c.keys);
        Key(KEY_ENTER, KEY_ENTER);
        EXPECT_EQ(ColoursDialog(), 0);
        for (int slot = 0; slot < ColourSlotCount; slot++) {
            EXPECT_EQ(Config.Colours[slot], slot == c.slot ? c.expected : DefaultColours[slot]) << slot;
        }
    }
}

TEST_F(ColoursDialogTest, EscapeAndCancelPutEverySlotBack) {
    // Esc, and Tab to the buttons, Right to Cancel and Enter.
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape);
        GoToSlot(ColourErrors);
        Type("fffb");
        GoToSlot(ColourSynchDelete - ColourErrors);
        Type("B");
        if (escape) {
            Key(KEY_ESC, KEY_ESC);
        } else {
            Key(KEY_TAB, KEY_TAB);
            Key(KEY_RIGHT);
            Key(KEY_ENTER, KEY_ENTER);
        }
        EXPECT_EQ(ColoursDialog(), -1);
        EXPECT_EQ(std::memcmp(Config.Colours, before, sizeof(before)), 0);
    }
}

TEST_F(ColoursDialogTest, MenuQuickKeyLosesItsBackgroundOnOk) {
    GoToSlot(ColourMenuQuickKey);
    Type("bbbf");
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(ColoursDialog(), 0);
    EXPECT_EQ(Config.Colours[ColourMenuQuickKey], 0x0F);
    // Cancelled, the background it was given stays out as well.
    GoToSlot(ColourMenuQuickKey);
    Type("b\x1b");
    EXPECT_EQ(ColoursDialog(), -1);
    EXPECT_EQ(Config.Colours[ColourMenuQuickKey], 0x0F);
}

TEST_F(ColoursDialogTest, TheListReachesTheLastSlotAndNoFurther) {
    // Far past the end of the list: the last slot is the one changed, and
    // nothing after the slots is touched.
    uint32_t confirmations = Config.Confirmations;
    GoToSlot(ColourSlotCount + 10);
    Type("f");
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(ColoursDialog(), 0);
    EXPECT_EQ(Config.Colours[ColourSynchDelete], 0x3F);
    EXPECT_EQ(Config.Colours[ColourSynchUpdate], DefaultColours[ColourSynchUpdate]);
    EXPECT_EQ(Config.Confirmations, confirmations);
}

}  // namespace
