// qvhost reads everything the program has written before it paints, and
// finishes a frame it has read half of, so the terminal never shows part of
// an update.
#include "host/ProgramOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace qvhost;

namespace {

// Write(x, y, text32, attr).
std::string WriteFrame(int x, int y, const std::string& text) {
    std::string f;
    auto u16 = [&](uint16_t v) {
        f += static_cast<char>(v & 0xFF);
        f += static_cast<char>(v >> 8);
    };
    auto i32 = [&](int32_t v) {
        u16(0);
        u16(4);
        for (int i = 0; i < 4; ++i)
            f += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    };
    u16(0xFBBF);
    u16(15);
    u16(4);
    i32(x);
    i32(y);
    u16(2);
    u16(static_cast<uint16_t>(text.size()));
    f += text;
    u16(3);
    u16(1);
    f += '\x07';
    return f;
}

class ProgramOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
        // Room for more than one read's worth waiting at once.
        ASSERT_GE(fcntl(fds[1], F_SETPIPE_SZ, 1 << 20), 1 << 20);
    }
    void TearDown() override {
        if (writer.joinable())
            writer.join();
        close(fds[0]);
        if (fds[1] >= 0)
            close(fds[1]);
    }
    void Put(const std::string& bytes) { ASSERT_EQ(write(fds[1], bytes.data(), bytes.size()), (ssize_t)bytes.size()); }
    int fds[2] = {-1, -1};
    std::thread writer;
};

}  // namespace

TEST_F(ProgramOutputTest, AFrameHalfReadIsFinishedBeforeThePaint) {
    // One update of three rows; the program's write of it is split inside the
    // second frame, and the rest comes a moment later.
    const std::string update = WriteFrame(0, 0, "one") + WriteFrame(0, 1, "two") + WriteFrame(0, 2, "three");
    const size_t split = WriteFrame(0, 0, "one").size() + 7;
    Put(update.substr(0, split));
    writer = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        Put(update.substr(split));
    });
    ScreenModel model(10, 3);
    ProgramOutput output;
    int replies = 0;
    ASSERT_EQ(output.Drain(fds[0], model, [&](const std::string&) { ++replies; }), ProgramOutput::kApplied);
    EXPECT_EQ(model.RowText(0), "one       ");
    EXPECT_EQ(model.RowText(1), "two       ");
    EXPECT_EQ(model.RowText(2), "three     ");
    EXPECT_EQ(output.Applied(), 3);
    EXPECT_EQ(replies, 0);
}

TEST_F(ProgramOutputTest, EverythingWaitingIsAppliedAtOnceAndRepliesGoOutAsTheyCome) {
    // More than one read's worth: 3000 frames and a size request between them.
    std::string all;
    for (int i = 0; i < 3000; ++i) {
        all += WriteFrame(i % 10, i % 3, std::string(1, static_cast<char>('a' + i % 26)));
        if (i == 1500) {
            all += std::string("\xBF\xFB\x06\x00\x00\x00", 6);  // GetScreenSize
        }
    }
    writer = std::thread([&] { Put(all); });
    // Wait until the writer is done, so that all of it is waiting in the pipe.
    writer.join();
    ScreenModel model(10, 3);
    ProgramOutput output;
    std::string replies;
    ASSERT_EQ(output.Drain(fds[0], model, [&](const std::string& r) { replies += r; }), ProgramOutput::kApplied);
    EXPECT_EQ(output.Applied(), 3001);
    EXPECT_EQ(replies, EncodeReply({10, 3}));
    close(fds[1]);
    fds[1] = -1;
    EXPECT_EQ(output.Drain(fds[0], model, [&](const std::string&) {}), ProgramOutput::kEnded);
}

TEST_F(ProgramOutputTest, AStreamThatIsNoFramesIsBroken) {
    Put(std::string("\xDF\xFD\x00\x00\x00\x00", 6));
    ScreenModel model(10, 3);
    ProgramOutput output;
    EXPECT_EQ(output.Drain(fds[0], model, [](const std::string&) {}), ProgramOutput::kBroken);
}
