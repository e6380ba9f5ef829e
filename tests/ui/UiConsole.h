// A console client on pipes, installed as the program's console, for tests of
// windows and dialogs: the test queues input events before it runs a dialog
// and reads the screen back from the console's shadow.
//
// A loop that does not act on a key would wait for input for ever. A watchdog
// notices when no event has arrived and none waits for IdleLimitMs: it then
// closes the input, which ends every loop as Esc does, and fails the test, so
// that the fault shows at once instead of stalling the run.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/strings/LocaleCase.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "tests/console/ConsoleOnPipes.h"

namespace qvtest {

class UiConsole : public ConsoleOnPipes {
protected:
    void SetUp() override {
        StartConsole(1, 80, 25);
        Console = console.get();
        ScreenColumns = 80;
        ScreenRows = 25;
        InitCaseTables();
        ResetColours();
        Config.Shadows = 0;
        Config.ScrollDelay = 0;
        watchdog = std::thread([this] { Watch(); });
    }

    void TearDown() override {
        {
            std::lock_guard<std::mutex> hold(watchLock);
            testEnded = true;
        }
        watchWake.notify_all();
        watchdog.join();
        if (stalled) {
            ADD_FAILURE() << "the test waited " << int(IdleLimitMs) << " ms for input that never came";
        }
        ConsoleOnPipes::TearDown();
        Console = nullptr;
    }

    static constexpr int IdleLimitMs = 10000;

    // Input events as the host sends them (kind 0 keys, 1 press, 2 release,
    // 3 move, 4 double click, 5 wheel, 6 closed).
    void Key(int code, int character = 0, int shift = 0) { Feed(Event({0, code, shift, 0, 0, character})); }
    void Type(const std::string& text) {
        for (char c : text) {
            Key(static_cast<unsigned char>(c), static_cast<unsigned char>(c));
        }
    }
    void Mouse(int kind, int x, int y, int button = 1) { Feed(Event({kind, button, 0, x, y, 0})); }
    void Click(int x, int y) {
        Mouse(1, x, y);
        Mouse(2, x, y);
    }

    // One screen row as UTF-8 (characters below 0x80 as they are, others as
    // their UTF-8 bytes).
    std::string Row(int y, int x = 0, int width = 80) {
        CellString cells;
        console->CopyRect(cells, x, y, width, 1);
        Westring text;
        for (int i = 0; i < cells.Length(); ++i) {
            text.AppendChar(cells.Data()[i].character);
        }
        Estring utf8(text);
        return std::string(utf8.Data(), utf8.Length());
    }
    char32_t CharAt(int x, int y) {
        CellString cells;
        console->CopyRect(cells, x, y, 1, 1);
        return cells.Data()[0].character;
    }
    uint8_t AttrAt(int x, int y) {
        CellString cells;
        console->CopyRect(cells, x, y, 1, 1);
        return cells.Data()[0].attribute;
    }

private:
    void Watch() {
        const auto step = std::chrono::milliseconds(50);
        uint64_t seen = console->EventsReceived();
        auto quietSince = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> hold(watchLock);
        while (!watchWake.wait_for(hold, step, [this] { return testEnded; })) {
            uint64_t received = console->EventsReceived();
            if (received != seen || console->HasPendingEvents()) {
                seen = received;
                quietSince = std::chrono::steady_clock::now();
                continue;
            }
            if (std::chrono::steady_clock::now() - quietSince >= std::chrono::milliseconds(IdleLimitMs)) {
                stalled = true;
                std::string closed = Event({6, 0, 0, 0, 0, 0});
                DWORD written = 0;
                WriteFile(hostWrite, closed.data(), static_cast<DWORD>(closed.size()), &written, nullptr);
                return;
            }
        }
    }

    std::thread watchdog;
    std::mutex watchLock;
    std::condition_variable watchWake;
    bool testEnded = false;
    std::atomic<bool> stalled{false};
};

}  // namespace qvtest
