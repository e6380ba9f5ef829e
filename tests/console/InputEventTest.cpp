#include "ConsoleOnPipes.h"

#include "console/InputEvent.h"
#include "console/ScreenSize.h"
#include "console/StreamWriteConsole.h"

namespace {

using namespace qvtest;

CConsole::TEvent MakeEvent(int32_t kind, int32_t code, int32_t x = 0, int32_t y = 0, int32_t shift = 0) {
    return CConsole::TEvent{kind, code, shift, x, y, 0};
}

TEST(InputEvents, MouseActionTable) {
    struct Case {
        int32_t kind, button;
        bool taken;
        int32_t action;
    };
    const Case cases[] = {
        {1, 1, true, 0},  {1, 2, true, 1},  {2, 1, true, 5},  {2, 2, true, 6},   {3, 1, true, 2},
        {3, 2, true, 3},  {4, 1, true, 4},  {4, 2, true, 1},  {5, 120, true, 7}, {5, -120, true, 7},
        {1, 3, false, 0}, {4, 0, false, 0}, {0, 1, false, 0}, {6, 1, false, 0},
    };
    for (const Case& c : cases) {
        TInputEvent in{-1, -1, -1, -1, -1, -1};
        EXPECT_EQ(TranslateMouseEvent(MakeEvent(c.kind, c.button, 11, 12, 4), in), c.taken)
            << c.kind << "/" << c.button;
        if (c.taken) {
            EXPECT_EQ(in.action, c.action) << c.kind << "/" << c.button;
            EXPECT_EQ(in.x, 11);
            EXPECT_EQ(in.y, 12);
            EXPECT_EQ(in.shiftState, 4);
            EXPECT_EQ(in.button, c.button);
        }
    }
}

TEST(InputEvents, KeyCharacterMatchesInLowerCase) {
    TInputEvent in{};
    in.character = 0;
    EXPECT_EQ(TranslateKeyChar(KEY_F1, in), KEY_F1);
    in.character = 'A';
    EXPECT_EQ(TranslateKeyChar('A', in), 'a');
    in.character = 0x00C9;  // É
    EXPECT_EQ(TranslateKeyChar(0x1001E, in), 0x00E9);
    in.character = 0x10000;
    EXPECT_EQ(TranslateKeyChar(0x1234, in), 0x1234);
}

TEST(InputEvents, ShiftStateOfTheLocalConsole) {
    const DWORD saved = AltKeyMask;
    struct Case {
        DWORD mask, state;
        int shift;
    };
    const Case cases[] = {
        {LEFT_ALT_PRESSED, LEFT_ALT_PRESSED, SHIFT_ALT},
        {LEFT_ALT_PRESSED, RIGHT_ALT_PRESSED, 0},  // AltGr is no Alt on other layouts
        {LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED, RIGHT_ALT_PRESSED, SHIFT_ALT},
        {LEFT_ALT_PRESSED, RIGHT_CTRL_PRESSED, SHIFT_CTRL},
        {LEFT_ALT_PRESSED, LEFT_CTRL_PRESSED | SHIFT_PRESSED, SHIFT_CTRL | SHIFT_SHIFT},
        {LEFT_ALT_PRESSED, NUMLOCK_ON | CAPSLOCK_ON, SHIFT_NUMLOCK},
    };
    for (const Case& c : cases) {
        AltKeyMask = c.mask;
        EXPECT_EQ(TranslateShiftState(c.state), c.shift) << std::hex << c.state;
    }
    AltKeyMask = saved;
}

TEST(InputEvents, ScreenSizeLimits) {
    struct Case {
        bool nt;
        int rows, columns, wantRows, wantColumns;
    };
    const Case cases[] = {
        {true, 24, 70, 25, 80},   {true, 250, 132, 250, 132}, {true, 251, 80, 25, 80}, {true, 300, 80, 25, 80},
        {false, 30, 132, 25, 80}, {false, 45, 80, 43, 80},    {false, 60, 80, 50, 80}, {false, 43, 80, 43, 80},
    };
    for (const Case& c : cases) {
        int rows = c.rows, columns = c.columns;
        ApplyScreenSizeLimits(c.nt, rows, columns);
        EXPECT_EQ(rows, c.wantRows) << c.nt << " " << c.rows;
        EXPECT_EQ(columns, c.wantColumns) << c.nt << " " << c.columns;
    }
}

// ReadInputEvent and the screen-size rule work on the global console.
class GlobalConsole : public ConsoleOnPipes {
protected:
    void SetUp() override {
        StartConsole(1, 80, 25);
        Console = console.get();
    }
    void TearDown() override {
        Console = nullptr;
        ConsoleOnPipes::TearDown();
    }
};

TEST_F(GlobalConsole, EventsBecomeKeyCodes) {
    EXPECT_EQ(ReadInputEvent(nullptr, 0), 0);  // nothing queued: at once
    EXPECT_FALSE(IsInputPending());
    Feed(Event({0, 0x1003B, 0, 0, 0, 0}) + Event({0, 'A', 4, 0, 0, 'A'}) + Event({4, 2, 0, 5, 6}) +
         Event({1, 3, 0, 5, 6}) + Event({5, 120, 2, 7, 8}) + Event({7, 0, 0, 120, 40}) + Event({2, 1, 0, 1, 1}));
    TInputEvent in{};
    EXPECT_EQ(ReadInputEvent(&in, -1), 0x1003B);
    EXPECT_EQ(TranslateKeyChar(0x1003B, in), 0x1003B);
    // The reader thread queues the rest as it decodes them: the next one is
    // pending once it has arrived.
    for (int waited = 0; !IsInputPending() && waited < 5000; waited += 5) {
        Sleep(5);
    }
    EXPECT_TRUE(IsInputPending());
    EXPECT_EQ(ReadInputEvent(&in, -1), 'A');
    EXPECT_EQ(in.shiftState, 4);
    EXPECT_EQ(TranslateKeyChar('A', in), 'a');
    EXPECT_EQ(ReadInputEvent(&in, -1), KEY_MOUSE);
    EXPECT_EQ(in.action, 1);
    EXPECT_EQ(ReadInputEvent(&in, -1), 0);  // button 3
    EXPECT_EQ(ReadInputEvent(&in, -1), KEY_MOUSE);
    EXPECT_EQ(in.action, 7);
    EXPECT_EQ(in.button, 120);
    EXPECT_EQ(ReadInputEvent(&in, -1), KEY_RESIZED);
    EXPECT_EQ(in.x, 120);
    EXPECT_EQ(in.y, 40);
    EXPECT_EQ(ReadInputEvent(nullptr, -1), KEY_MOUSE);  // without a record every mouse event counts
    CloseHostInput();
    EXPECT_EQ(ReadInputEvent(&in, -1), KEY_CLOSED);
    EXPECT_EQ(ReadInputEvent(&in, -1), KEY_CLOSED);  // and again, without waiting
    EXPECT_EQ(ReadInputEvent(&in, 0), KEY_CLOSED);
}

TEST_F(GlobalConsole, FlushDropsWaitingEvents) {
    Feed(Event({0, 'a', 0, 0, 0, 'a'}) + Event({0, 27, 0, 0, 0, 27}));
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, INFINITE));
    while (!IsInputPending()) {
        Sleep(1);
    }
    console->FlushEvents();
    EXPECT_EQ(ReadInputEvent(nullptr, 0), 0);
}

TEST_F(GlobalConsole, ScreenSaverEndsOnInputAndPutsTheScreenBack) {
    console->WriteText(0, 0, "under", 0x1F);
    EXPECT_EQ(TakeFrame().opcode, 15);
    Feed(Event({0, 'a', 0, 0, 0, 'a'}));
    while (!IsInputPending()) {
        Sleep(1);
    }
    ScreenSaver(0x08);
    EXPECT_EQ(TakeFrame().opcode, 12);  // cursor hidden
    TSentFrame fill = TakeFrame();
    EXPECT_EQ(fill.opcode, 8);
    ASSERT_EQ(fill.records.size(), 5u);
    EXPECT_EQ(fill.records[4].second, Bytes({0x08}));
    TSentFrame star = TakeFrame();
    EXPECT_EQ(star.opcode, 15);
    EXPECT_EQ(star.records[2].second, ".");
    EXPECT_EQ(TakeFrame().opcode, 12);  // cursor back
    TSentFrame back = TakeFrame();
    EXPECT_EQ(back.opcode, 19);
    EXPECT_EQ(back.records[4].second.substr(0, 5), "under");
    EXPECT_FALSE(IsInputPending());  // the key that ended it is dropped
    CellString row;
    console->CopyRect(row, 0, 0, 5, 1);
    EXPECT_EQ(row.Data()[0].attribute, 0x1F);
}

int g_before = 0, g_after = 0;

TEST_F(GlobalConsole, ScreenSizeRuleAsksTheHostAndFollowsItsAnswer) {
    ScreenSizeHooks = {[] { ++g_before; }, [] { ++g_after; }};
    ScreenColumns = 80;
    ScreenRows = 25;
    Feed(Reply({1}));
    EXPECT_TRUE(SetScreenSize(40, 70));  // rows, columns
    TSentFrame ask = TakeFrame();
    EXPECT_EQ(ask.opcode, 7);
    ASSERT_EQ(ask.records.size(), 2u);
    EXPECT_EQ(ask.records[0].second, Bytes({80, 0, 0, 0}));  // columns raised to 80
    EXPECT_EQ(ask.records[1].second, Bytes({40, 0, 0, 0}));
    EXPECT_EQ(TakeFrame().opcode, 8);  // more rows than before: the screen is cleared
    EXPECT_EQ(ScreenRows, 40);
    EXPECT_EQ(ScreenColumns, 80);

    Feed(Reply({0}));
    EXPECT_FALSE(SetScreenSize(30, 100));
    EXPECT_EQ(TakeFrame().opcode, 7);
    ExpectNothingSentBefore("a clear after a refused size");
    EXPECT_EQ(ScreenRows, 40);  // a refused size changes nothing
    EXPECT_EQ(ScreenColumns, 80);
    int columns = 0, rows = 0;
    console->GetScreenSize(columns, rows);
    EXPECT_EQ(rows, 40);
    EXPECT_EQ(g_before, 2);
    EXPECT_EQ(g_after, 2);
    ScreenSizeHooks = {nullptr, nullptr};
}

TEST_F(GlobalConsole, StreamWritesTeletypeTextUpToItsLength) {
    CStreamWriteConsole stream(console.get());
    EXPECT_TRUE(stream.Write("hello, world", 5));
    TSentFrame tty = TakeFrame();
    EXPECT_EQ(tty.opcode, 22);
    ASSERT_EQ(tty.records.size(), 1u);
    EXPECT_EQ(tty.records[0].second, "hello");
    EXPECT_TRUE(stream.Write("a\0b", 3));
    EXPECT_EQ(TakeFrame().records[0].second, "a");
    EXPECT_TRUE(stream.Close());
}

}  // namespace
