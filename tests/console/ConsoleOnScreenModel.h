// A CConsole on two pipes whose other ends a thread of the fixture serves as
// the scripted host does: every request goes into a qvhost::ScreenModel, and
// the requests that wait get the model's reply. A test draws through the
// console and reads the model after Sync().
#pragma once

#include "console/Console.h"
#include "host/HostFrames.h"
#include "host/ScreenModel.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace qvtest {

class ConsoleOnScreenModel : public ::testing::Test {
protected:
    void StartConsole(int columns = 80, int rows = 25) {
        model.reset(new qvhost::ScreenModel(columns, rows));
        HANDLE consoleIn = nullptr, consoleOut = nullptr;
        ASSERT_TRUE(CreatePipe(&consoleIn, &hostWrite, nullptr, 0));
        ASSERT_TRUE(CreatePipe(&hostRead, &consoleOut, nullptr, 0));
        host = std::thread([this] { HostLoop(); });
        console.reset(new CConsole(consoleIn, consoleOut));
    }

    void TearDown() override {
        CloseHostInput();
        console.reset();  // closes the console's output: the host loop ends
        if (host.joinable()) {
            host.join();
        }
        if (hostRead != nullptr) {
            CloseHandle(hostRead);
        }
    }

    void CloseHostInput() {
        std::lock_guard<std::mutex> hold(writeLock);
        if (hostWrite != nullptr) {
            CloseHandle(hostWrite);
            hostWrite = nullptr;
        }
    }

    // Bytes to the console as the host sends them (events).
    void Feed(const std::string& bytes) {
        std::lock_guard<std::mutex> hold(writeLock);
        DWORD written = 0;
        ASSERT_NE(hostWrite, nullptr);
        ASSERT_TRUE(WriteFile(hostWrite, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }

    // Returns once the host has applied every request sent before: a request
    // that waits for its reply goes after them through the same pipe.
    void Sync() {
        Westring ignored;
        console->GetClipboardText(ignored);
    }

    // A copy of the model after Sync().
    qvhost::ScreenModel Screen() {
        Sync();
        std::lock_guard<std::mutex> hold(modelLock);
        return *model;
    }

    int RequestCount(int opcode) {
        std::lock_guard<std::mutex> hold(modelLock);
        return counts[opcode];
    }

    int TotalRequests() {
        std::lock_guard<std::mutex> hold(modelLock);
        int total = 0;
        for (const auto& entry : counts) {
            total += entry.second;
        }
        return total;
    }

    void SetHostClipboard(const std::u32string& text) {
        std::lock_guard<std::mutex> hold(modelLock);
        model->SetClipboard(text);
    }

    std::unique_ptr<CConsole> console;
    std::unique_ptr<qvhost::ScreenModel> model;

private:
    void HostLoop() {
        qvhost::RequestDecoder decoder;
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(hostRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            decoder.Feed(reinterpret_cast<const uint8_t*>(buffer), got);
            qvhost::Request request;
            while (decoder.Next(request)) {
                std::string reply;
                bool replies;
                {
                    std::lock_guard<std::mutex> hold(modelLock);
                    replies = model->Apply(request, reply);
                    ++counts[request.opcode];
                }
                if (replies) {
                    std::lock_guard<std::mutex> hold(writeLock);
                    DWORD written = 0;
                    if (hostWrite != nullptr) {
                        WriteFile(hostWrite, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr);
                    }
                }
            }
        }
    }

    std::thread host;
    std::mutex modelLock;
    std::mutex writeLock;
    std::map<int, int> counts;
    HANDLE hostWrite = nullptr;
    HANDLE hostRead = nullptr;
};

}  // namespace qvtest
