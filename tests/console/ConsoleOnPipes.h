// A CConsole on two pipes whose other ends the test holds: the test plays the
// host byte for byte. What the console sends is drained by a thread of the
// fixture, so a test can let the console write freely and read the frames
// afterwards.
#pragma once

#include "console/Console.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) {
        s += static_cast<char>(v);
    }
    return s;
}

inline std::string U16(int v) {
    return Bytes({v & 0xFF, (v >> 8) & 0xFF});
}

// Records as the host sends them.
inline std::string IntRecord(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    return Bytes({0, 0, 4, 0, int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF), int(u >> 24)});
}
inline std::string TextRecord(int type, const std::string& bytes) {
    return U16(type) + U16(static_cast<int>(bytes.size())) + bytes;
}
inline std::string Frame(int magic, int count, const std::string& records) {
    return U16(magic) + U16(count) + records;
}
inline std::string Reply(std::initializer_list<int32_t> ints) {
    std::string records;
    for (int32_t v : ints) {
        records += IntRecord(v);
    }
    return Frame(0xFBBF, static_cast<int>(ints.size()), records);
}
inline std::string Event(std::initializer_list<int32_t> ints) {
    std::string records;
    for (int32_t v : ints) {
        records += IntRecord(v);
    }
    return Frame(0xFDDF, static_cast<int>(ints.size()), records);
}

// One request as the console wrote it.
struct TSentFrame {
    int opcode = -1;
    std::vector<std::pair<int, std::string>> records;  // type, payload
    std::string raw;
};

class ConsoleOnPipes : public ::testing::Test {
protected:
    // Builds the console and answers its greeting as a host does, one reply
    // after the other: accepted (or not), then the screen size. closeInput:
    // the host goes away instead of answering.
    void StartConsole(int32_t accept = 1, int columns = 100, int rows = 30, bool closeInput = false) {
        HANDLE consoleIn = nullptr, consoleOut = nullptr;
        ASSERT_TRUE(CreatePipe(&consoleIn, &hostWrite, nullptr, 0));
        ASSERT_TRUE(CreatePipe(&hostRead, &consoleOut, nullptr, 0));
        drain = std::thread([this] { DrainLoop(); });
        std::thread builder([&] { console.reset(new CConsole(consoleIn, consoleOut)); });
        greeting = TakeFrame();
        if (closeInput) {
            CloseHostInput();
        } else {
            Feed(Reply({accept}));
            if (accept != 0) {
                sizeRequest = TakeFrame();
                Feed(Reply({columns, rows}));
            }
        }
        builder.join();
    }

    void TearDown() override {
        CloseHostInput();
        console.reset();  // closes the console's write end: the drain ends
        if (drain.joinable()) {
            drain.join();
        }
        if (hostRead != nullptr) {
            CloseHandle(hostRead);
        }
    }

    void Feed(const std::string& bytes) {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(hostWrite, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        ASSERT_EQ(written, bytes.size());
    }

    void CloseHostInput() {
        if (hostWrite != nullptr) {
            CloseHandle(hostWrite);
            hostWrite = nullptr;
        }
    }

    // The next n bytes the console sent; fewer when none came for a while.
    std::string Take(size_t n) {
        std::unique_lock<std::mutex> hold(lock);
        arrived.wait_for(hold, std::chrono::seconds(10), [&] { return sent.size() - taken >= n || ended; });
        size_t have = std::min(n, sent.size() - taken);
        std::string out = sent.substr(taken, have);
        taken += have;
        return out;
    }

    // The next whole request frame; opcode -1 when none came.
    TSentFrame TakeFrame() {
        TSentFrame frame;
        std::string head = Take(6);
        if (head.size() < 6) {
            return frame;
        }
        frame.raw = head;
        EXPECT_EQ(head.substr(0, 2), Bytes({0xBF, 0xFB}));
        frame.opcode = static_cast<uint8_t>(head[2]) | static_cast<uint8_t>(head[3]) << 8;
        int count = static_cast<uint8_t>(head[4]) | static_cast<uint8_t>(head[5]) << 8;
        for (int i = 0; i < count; ++i) {
            std::string rh = Take(4);
            if (rh.size() < 4) {
                frame.opcode = -1;
                return frame;
            }
            int type = static_cast<uint8_t>(rh[0]) | static_cast<uint8_t>(rh[1]) << 8;
            size_t len = static_cast<uint8_t>(rh[2]) | static_cast<uint8_t>(rh[3]) << 8;
            std::string payload = Take(len);
            frame.raw += rh + payload;
            frame.records.emplace_back(type, payload);
        }
        return frame;
    }

    // Sends a beep and expects it to be the very next frame: whatever the test
    // did before it sent nothing.
    void ExpectNothingSentBefore(const char* what) {
        console->Beep();
        TSentFrame next = TakeFrame();
        EXPECT_EQ(next.opcode, 23) << what;
    }

    // All bytes sent so far that were not taken yet.
    size_t Pending() {
        std::lock_guard<std::mutex> hold(lock);
        return sent.size() - taken;
    }

    std::unique_ptr<CConsole> console;
    TSentFrame greeting;  // the frames of the handshake
    TSentFrame sizeRequest;
    HANDLE hostWrite = nullptr;
    HANDLE hostRead = nullptr;

private:
    void DrainLoop() {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(hostRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            std::lock_guard<std::mutex> hold(lock);
            sent.append(buffer, got);
            arrived.notify_all();
        }
        std::lock_guard<std::mutex> hold(lock);
        ended = true;
        arrived.notify_all();
    }

    std::thread drain;
    std::mutex lock;
    std::condition_variable arrived;
    std::string sent;
    size_t taken = 0;
    bool ended = false;
};

}  // namespace qvtest
