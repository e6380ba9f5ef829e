// The modal-loop helper: what every input loop gets for resize, close and
// console control events, outermost and nested.
#include "ui/ModalLoop.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/ui/UiConsole.h"
#include "ui/Dialog.h"

namespace {

using qvtest::UiConsole;

std::vector<std::pair<int, int>> AppliedSizes;
std::vector<bool> ControlAnswers;

class ModalLoopTest : public UiConsole {
protected:
    void SetUp() override {
        UiConsole::SetUp();
        int columns = 0, rows = 0;
        TakePendingScreenSize(columns, rows);
        AppliedSizes.clear();
        ControlAnswers.clear();
        ModalLoopHooks.applyScreenSize = [](int columns, int rows) { AppliedSizes.emplace_back(columns, rows); };
        ModalLoopHooks.answerConsoleControl = [](bool outermost) { ControlAnswers.push_back(outermost); };
    }
    void TearDown() override {
        ModalLoopHooks = TModalLoopHooks{nullptr, nullptr};
        int columns = 0, rows = 0;
        TakePendingScreenSize(columns, rows);
        UiConsole::TearDown();
    }
    void Resize(int columns, int rows) { Feed(qvtest::Event({7, 0, 0, columns, rows, 0})); }
    // Waits until the console has received n events in all.
    bool Received(uint64_t n) {
        for (int waited = 0; waited < 5000; waited++) {
            if (console->EventsReceived() >= n) {
                return true;
            }
            Sleep(1);
        }
        return false;
    }
};

TEST_F(ModalLoopTest, TheOutermostLoopAppliesTheLastOfSeveralSizesOnce) {
    CModalLoop loop;
    ASSERT_TRUE(loop.IsOutermost());
    Resize(100, 30);
    Resize(120, 40);
    Key('a', 'a');
    // Sizes are merged as far as they have arrived when the first is read.
    ASSERT_TRUE(Received(3));
    TInputEvent event = {};
    ASSERT_EQ(loop.Read(event, 5000), KEY_RESIZED);
    EXPECT_EQ(event.x, 120);
    EXPECT_EQ(event.y, 40);
    ASSERT_EQ(AppliedSizes.size(), 1u);
    EXPECT_EQ(AppliedSizes[0], std::make_pair(120, 40));
    // The key that followed the sizes is not lost.
    EXPECT_EQ(loop.Read(event, 5000), 'a');
    EXPECT_EQ(AppliedSizes.size(), 1u);
}

TEST_F(ModalLoopTest, ANestedLoopKeepsItsLayoutAndTheSizeWaitsForTheOutermost) {
    CModalLoop outer;
    TInputEvent event = {};
    {
        CModalLoop inner;
        EXPECT_FALSE(inner.IsOutermost());
        EXPECT_EQ(CModalLoop::Current(), &inner);
        Resize(100, 30);
        Key('b', 'b');
        EXPECT_EQ(inner.Read(event, 5000), 'b');
        EXPECT_TRUE(AppliedSizes.empty());
    }
    EXPECT_EQ(CModalLoop::Current(), &outer);
    ASSERT_EQ(outer.Read(event, 0), KEY_RESIZED);
    EXPECT_EQ(event.x, 100);
    EXPECT_EQ(event.y, 30);
    ASSERT_EQ(AppliedSizes.size(), 1u);
    EXPECT_EQ(AppliedSizes[0], std::make_pair(100, 30));
}

TEST_F(ModalLoopTest, ADialogPassesOverASizeChangeAndTakesTheNextKey) {
    CModalLoop outer;
    Dialog dialog(-1, -2, 20, 5, 0x70);
    Resize(132, 50);
    Key(KEY_ESC, KEY_ESC);
    EXPECT_EQ(dialog.Run(), KEY_ESC);
    EXPECT_TRUE(AppliedSizes.empty());
    TInputEvent event = {};
    EXPECT_EQ(outer.Read(event, 0), KEY_RESIZED);
    ASSERT_EQ(AppliedSizes.size(), 1u);
    EXPECT_EQ(AppliedSizes[0], std::make_pair(132, 50));
}

TEST_F(ModalLoopTest, ANestedLoopThatTakesResizesSeesThemAndTheOutermostStillApplies) {
    CModalLoop outer;
    TInputEvent event = {};
    {
        CModalLoop viewer(CModalLoop::TakesResizes);
        Resize(90, 35);
        ASSERT_EQ(viewer.Read(event, 5000), KEY_RESIZED);
        EXPECT_EQ(event.x, 90);
        EXPECT_EQ(event.y, 35);
        EXPECT_TRUE(AppliedSizes.empty());
    }
    EXPECT_EQ(outer.Read(event, 0), KEY_RESIZED);
    EXPECT_EQ(AppliedSizes.size(), 1u);
}

TEST_F(ModalLoopTest, WaitingAsksTheConsoleControlHookWithTheLoopsPlace) {
    CModalLoop outer;
    TInputEvent event = {};
    EXPECT_EQ(outer.Read(event, CModalLoop::ControlPollMs + 50), 0);
    ASSERT_FALSE(ControlAnswers.empty());
    for (bool outermost : ControlAnswers) {
        EXPECT_TRUE(outermost);
    }
    ControlAnswers.clear();
    CModalLoop inner;
    EXPECT_EQ(inner.Read(event, CModalLoop::ControlPollMs + 50), 0);
    ASSERT_FALSE(ControlAnswers.empty());
    for (bool outermost : ControlAnswers) {
        EXPECT_FALSE(outermost);
    }
}

TEST_F(ModalLoopTest, IgnoredCodesArePassedOverAndAClosedInputAnswersEveryRead) {
    CModalLoop loop;
    Key(KEY_IGNORED);
    Key('c', 'c');
    Key(0, 0, SHIFT_ALT);  // only the shift state changed
    Feed(qvtest::Event({6, 0, 0, 0, 0, 0}));
    TInputEvent event = {};
    EXPECT_EQ(loop.Read(event, 5000), 'c');
    EXPECT_EQ(loop.Read(event, 5000), 0);
    EXPECT_EQ(event.shiftState, SHIFT_ALT);
    for (int again = 0; again < 3; again++) {
        EXPECT_EQ(loop.Read(event, -1), KEY_CLOSED);
    }
}

// A host reports the shift keys held with KEY_IGNORED: the main loop asks to
// see it (its key bar follows Alt and Ctrl), a loop nested in it still
// passes over it, as every loop that does not ask does.
TEST_F(ModalLoopTest, OnlyALoopThatAsksSeesTheShiftKeysAHostReports) {
    CModalLoop outer(CModalLoop::IgnoresResizes, CModalLoop::SeesShiftKeys);
    TInputEvent event = {};
    for (int shift : {SHIFT_ALT, SHIFT_CTRL, 0}) {
        Key(KEY_IGNORED, 0, shift);
        EXPECT_EQ(outer.Read(event, 5000), KEY_IGNORED);
        EXPECT_EQ(event.shiftState, shift);
    }
    {
        CModalLoop inner;
        Key(KEY_IGNORED, 0, SHIFT_ALT);
        Key('d', 'd');
        EXPECT_EQ(inner.Read(event, 5000), 'd');
        EXPECT_EQ(event.shiftState, 0);
    }
    Dialog dialog(-1, -2, 20, 5, 0x70);
    Key(KEY_IGNORED, 0, SHIFT_CTRL);
    Key(KEY_ESC, KEY_ESC);
    EXPECT_EQ(dialog.Run(), KEY_ESC);
}

}  // namespace
