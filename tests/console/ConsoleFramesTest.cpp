// The wire format, byte for byte, with the test playing the host.
#include "ConsoleOnPipes.h"

#include "console/ConsoleProtocol.h"

#include <atomic>

namespace {

using namespace qvtest;

class ConsoleFrames : public ConsoleOnPipes {
protected:
    void SetUp() override { StartConsole(); }
};

TEST_F(ConsoleFrames, HandshakeAsksForTheSizeAndTakesIt) {
    EXPECT_EQ(greeting.raw, Bytes({0xBF, 0xFB, 0, 0, 1, 0, 0, 0, 4, 0, 1, 0, 0, 0}));
    // A request without parameters is exactly its 6-byte head.
    EXPECT_EQ(sizeRequest.raw, Bytes({0xBF, 0xFB, 6, 0, 0, 0}));
    int columns = 0, rows = 0;
    console->GetScreenSize(columns, rows);
    EXPECT_EQ(columns, 100);
    EXPECT_EQ(rows, 30);
}

TEST_F(ConsoleFrames, RequestsAreWrittenByteForByte) {
    console->SetCursorPos(3, 1);
    EXPECT_EQ(TakeFrame().raw, Bytes({0xBF, 0xFB, 0x04, 0x00, 0x02, 0x00, 0x00, 0x00, 0x04, 0x00, 0x03,
                                      0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00}));
    console->SetAttribute(0x1F);
    EXPECT_EQ(TakeFrame().raw, Bytes({0xBF, 0xFB, 14, 0, 1, 0, 0x03, 0x00, 0x01, 0x00, 0x1F}));

    CellString cells;
    cells += TCell{U'A', 0x1F};
    cells += TCell{U'B', 0x70};
    console->WriteCells(0, 0, cells);
    TSentFrame write = TakeFrame();
    EXPECT_EQ(write.opcode, 15);
    EXPECT_EQ(write.raw.substr(write.raw.size() - 9), Bytes({0x04, 0x00, 0x05, 0x00, 0x41, 0x42, 0x00, 0x1F, 0x70}));

    console->WriteWideText(0, 2, Westring(U"\u20AC1"), 0x07);
    write = TakeFrame();
    ASSERT_EQ(write.records.size(), 4u);
    EXPECT_EQ(write.records[2], std::make_pair(2, Bytes({0xE2, 0x82, 0xAC, '1'})));

    console->ClearScreen();
    EXPECT_EQ(TakeFrame().raw, Bytes({0xBF, 0xFB, 8, 0, 0, 0}));
}

TEST_F(ConsoleFrames, CellCharacterZeroGoesAsABlank) {
    TCell rect[2] = {{0, 0x17}, {U'x', 0x17}};
    console->PutCellRect(0, 0, 2, 1, rect);
    TSentFrame put = TakeFrame();
    ASSERT_EQ(put.records.size(), 5u);
    EXPECT_EQ(put.records[4].second, Bytes({' ', 'x', 0, 0x17, 0x17}));
}

TEST_F(ConsoleFrames, OnlyChangesAreSent) {
    console->WriteText(5, 5, "same", 0x1E);
    EXPECT_EQ(TakeFrame().opcode, 15);
    console->WriteText(5, 5, "same", 0x1E);
    console->WriteWideText(5, 5, Westring(U"same"), 0x1E);
    console->SetAttributes(5, 5, 4, 0x1E);
    console->RepeatCell(6, 5, 1, TCell{U'a', 0x1E});
    ExpectNothingSentBefore("identical text, attributes and cells");

    console->WriteText(5, 5, "same", 0x1F);  // another attribute is a change
    EXPECT_EQ(TakeFrame().opcode, 15);

    // The cursor size last sent starts at 1.
    console->SetCursorShape(1);
    ExpectNothingSentBefore("cursor size 1 right after construction");
    console->SetCursorShape(0);
    console->SetCursorShape(0);
    EXPECT_EQ(TakeFrame().opcode, 12);
    ExpectNothingSentBefore("the second cursor size 0");
}

TEST_F(ConsoleFrames, OutputRegionIsRemembered) {
    console->SetOutputRegion(0, 0, 80, 24);
    TOutputRect rect{};
    console->GetOutputRect(rect);
    EXPECT_EQ(rect.x1, 0);
    EXPECT_EQ(rect.y1, 0);
    EXPECT_EQ(rect.x2, 79);
    EXPECT_EQ(rect.y2, 23);
    console->ResetOutputRegion();
    console->GetOutputRect(rect);
    EXPECT_EQ(rect.x1 | rect.y1 | rect.x2 | rect.y2, 0);
}

TEST_F(ConsoleFrames, ReceivedRecordsAreReadByTheirLength) {
    // code: an integer of 2 bytes; then an integer of 6 bytes that adds no
    // parameter; shift, x and y follow and are still read.
    std::string records = IntRecord(0) + Bytes({0, 0, 2, 0, 0x34, 0x12}) + Bytes({0, 0, 6, 0, 1, 2, 3, 4, 5, 6}) +
                          IntRecord(4) + IntRecord(7) + IntRecord(9);
    Feed(Frame(0xFDDF, 6, records));
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, INFINITE));
    EXPECT_EQ(event.kind, 0);
    EXPECT_EQ(event.code, 0x1234);
    EXPECT_EQ(event.shiftState, 4);
    EXPECT_EQ(event.x, 7);
    EXPECT_EQ(event.y, 9);
    EXPECT_EQ(event.character, 0);  // five integers: no character
}

TEST_F(ConsoleFrames, MalformedEventsAreDropped) {
    Feed(Event({0, 1, 2, 3}));  // too few
    Feed(Frame(0xFDDF, 5, IntRecord(0) + TextRecord(1, "x") + IntRecord(0) + IntRecord(0) + IntRecord(0)));
    Feed(Frame(0xFDDF, 6,
               IntRecord(0) + IntRecord(1) + IntRecord(0) + IntRecord(0) + IntRecord(0) +
                   Bytes({3, 0, 1, 0, 7})));  // sixth is no integer
    Feed(Event({0, 'k', 0, 0, 0, 'k'}));
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, INFINITE));
    EXPECT_EQ(event.code, 'k');
    EXPECT_FALSE(console->GetEvent(event, 0));
}

TEST_F(ConsoleFrames, ResizesToNoPossibleScreenAreDroppedAndPointsClampedToTheLargestScreen) {
    const int32_t resized = CConsole::TEvent::KindResized;
    Feed(Event({resized, 0, 0, 1001, 25}));
    Feed(Event({resized, 0, 0, 80, 1001}));
    Feed(Event({resized, 0, 0, 2147483647, 2147483647}));
    Feed(Event({resized, 0, 0, 0, 25}));
    Feed(Event({resized, 0, 0, -80, 25}));
    Feed(Event({resized, 0, 0, 1000, 1000}));  // the largest screen there is
    const struct {
        int32_t x, y;          // as sent
        int32_t wantX, wantY;  // as taken
    } points[] = {
        {-2147483647 - 1, -2147483647 - 1, 0, 0},
        {2147483647, 2147483647, 999, 999},
        {-1, 5000, 0, 999},
        {79, 24, 79, 24},
    };
    for (const auto& p : points) {
        Feed(Event({CConsole::TEvent::KindMousePress, 1, 0, p.x, p.y}));
    }
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, INFINITE));
    EXPECT_EQ(event.kind, resized);
    EXPECT_EQ(event.x, 1000);
    EXPECT_EQ(event.y, 1000);
    for (const auto& p : points) {
        ASSERT_TRUE(console->GetEvent(event, INFINITE));
        EXPECT_EQ(event.kind, CConsole::TEvent::KindMousePress);
        EXPECT_EQ(event.x, p.wantX) << p.x;
        EXPECT_EQ(event.y, p.wantY) << p.y;
    }
    EXPECT_FALSE(console->GetEvent(event, 0));
}

TEST_F(ConsoleFrames, ASizeNoScreenCanHaveIsRefusedWithoutAskingTheHost) {
    const int sizes[][2] = {{1001, 25}, {80, 1001}, {2147483647, 2147483647}, {0, 25}, {80, -1}};
    for (const auto& size : sizes) {
        EXPECT_FALSE(console->SetScreenSize(size[0], size[1])) << size[0] << "x" << size[1];
        EXPECT_FALSE(console->FollowScreenSize(size[0], size[1])) << size[0] << "x" << size[1];
    }
    ExpectNothingSentBefore("the size refused by the client");
    int columns = 0, rows = 0;
    console->GetScreenSize(columns, rows);
    EXPECT_EQ(columns, 100);
    EXPECT_EQ(rows, 30);
}

TEST_F(ConsoleFrames, AFollowedSizeIsLaidOutEvenWhenTheHostKeepsItsOwn) {
    Feed(Reply({0}));
    EXPECT_TRUE(console->FollowScreenSize(100, 25));
    EXPECT_EQ(TakeFrame().opcode, ConsoleOpSetScreenSize);
    int columns = 0, rows = 0;
    console->GetScreenSize(columns, rows);
    EXPECT_EQ(columns, 100);
    EXPECT_EQ(rows, 25);
}

TEST_F(ConsoleFrames, ASecondPendingReplyIsDropped) {
    auto clip = [](const char* text) { return Frame(0xFBBF, 2, IntRecord(1) + TextRecord(2, text)); };
    Feed(clip("first") + clip("second") + Event({0, 'z', 0, 0, 0, 'z'}));
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, INFINITE));  // both replies were read before it
    Westring text;
    ASSERT_TRUE(console->GetClipboardText(text));
    EXPECT_TRUE(text.EqualsExact(Westring(U"first")));
    Feed(clip("third"));
    ASSERT_TRUE(console->GetClipboardText(text));
    EXPECT_TRUE(text.EqualsExact(Westring(U"third")));
}

TEST_F(ConsoleFrames, RefusedOrMalformedRepliesCountAsRefusals) {
    Westring text(U"kept");
    Feed(Frame(0xFBBF, 2, IntRecord(0) + TextRecord(2, "ignored")));
    EXPECT_FALSE(console->GetClipboardText(text));
    Feed(Reply({1}));  // one parameter where two are needed
    EXPECT_FALSE(console->GetClipboardText(text));
    EXPECT_TRUE(text.EqualsExact(Westring(U"kept")));

    Feed(Reply({1, 1}));  // two parameters where exactly one is needed
    EXPECT_FALSE(console->SetScreenSize(120, 40));
    Feed(Reply({0}));
    EXPECT_FALSE(console->SetScreenSize(120, 40));
    int columns = 0, rows = 0;
    console->GetScreenSize(columns, rows);
    EXPECT_EQ(columns, 100);  // a refused size leaves the shadow alone
    EXPECT_EQ(rows, 30);
    Feed(Reply({1}));
    EXPECT_TRUE(console->SetScreenSize(120, 40));
    console->GetScreenSize(columns, rows);
    EXPECT_EQ(columns, 120);
    EXPECT_EQ(rows, 40);
}

TEST_F(ConsoleFrames, BadMagicClosesTheInputForGood) {
    Feed(Bytes({0x12, 0x34, 0, 0}) + Event({0, 'a', 0, 0, 0, 'a'}));
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, INFINITE));
    EXPECT_EQ(event.kind, CConsole::TEvent::KindClosed);
    // Nothing was read after the bad frame, and the close event stays.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(console->GetEvent(event, 0));
        EXPECT_EQ(event.kind, CConsole::TEvent::KindClosed);
    }
    // A request that waits is released at once with a refusal.
    Westring text;
    EXPECT_FALSE(console->GetClipboardText(text));
    EXPECT_FALSE(console->SetScreenSize(90, 30));
}

TEST_F(ConsoleFrames, ClosedInputReleasesAWaitingRequest) {
    std::atomic<int> result{-1};
    std::thread waiter([&] {
        Westring text;
        result = console->GetClipboardText(text) ? 1 : 0;
    });
    // The request is on the wire before the host goes away.
    EXPECT_EQ(TakeFrame().opcode, 21);
    CloseHostInput();
    waiter.join();
    EXPECT_EQ(result, 0);
}

TEST_F(ConsoleFrames, LargeRectanglesGoInBandsOfRows) {
    const int width = 200, height = 100;  // 3-byte characters: 80001 bytes in one record
    std::vector<TCell> cells(width * height, TCell{0x2500, 0x1F});
    console->PutCellRect(0, 0, width, height, cells.data());
    int rows = 0, bands = 0;
    while (rows < height) {
        TSentFrame band = TakeFrame();
        ASSERT_EQ(band.opcode, 19);
        ASSERT_EQ(band.records.size(), 5u);
        int32_t y = 0, w = 0, h = 0;
        memcpy(&y, band.records[1].second.data(), 4);
        memcpy(&w, band.records[2].second.data(), 4);
        memcpy(&h, band.records[3].second.data(), 4);
        EXPECT_EQ(y, rows);
        EXPECT_EQ(w, width);
        EXPECT_EQ(band.records[4].second.size(), static_cast<size_t>(w * h * 4 + 1));
        rows += h;
        ++bands;
    }
    EXPECT_EQ(rows, height);
    EXPECT_EQ(bands, 2);
}

TEST_F(ConsoleFrames, FramesOfSeveralDrawingThreadsNeverInterleave) {
    const int threads = 4, writes = 200;
    std::vector<std::thread> drawers;
    for (int t = 0; t < threads; ++t) {
        drawers.emplace_back([this, t] {
            for (int i = 0; i < writes; ++i) {
                console->WriteText(0, t, i % 2 ? "odd text of some length" : "even text", 0x07);
                console->FillRect(40, t, 10, 1, static_cast<uint8_t>(i));
            }
        });
    }
    for (std::thread& d : drawers) {
        d.join();
    }
    for (int i = 0; i < threads * writes * 2; ++i) {
        TSentFrame frame = TakeFrame();
        ASSERT_TRUE(frame.opcode == 15 || frame.opcode == 8) << "frame " << i;
        ASSERT_EQ(frame.records.size(), frame.opcode == 15 ? 4u : 5u) << "frame " << i;
    }
}

class ConsoleHandshake : public ConsoleOnPipes {};

TEST_F(ConsoleHandshake, RefusedGreetingKeepsTheDefaultSize) {
    StartConsole(0);
    EXPECT_EQ(greeting.opcode, 0);
    ExpectNothingSentBefore("the size request after a refused greeting");
    int columns = 0, rows = 0;
    console->GetScreenSize(columns, rows);
    EXPECT_EQ(columns, 80);
    EXPECT_EQ(rows, 25);
}

TEST_F(ConsoleHandshake, ClosedInputDuringTheGreetingDoesNotHang) {
    StartConsole(1, 0, 0, true);
    EXPECT_EQ(greeting.opcode, 0);
    ExpectNothingSentBefore("the size request without a host");
    CConsole::TEvent event{};
    ASSERT_TRUE(console->GetEvent(event, INFINITE));
    EXPECT_EQ(event.kind, CConsole::TEvent::KindClosed);
}

}  // namespace
