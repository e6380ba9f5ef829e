// The console client under arbitrary frames from its host: the frame reader,
// the event queue, the translation of events into keys and mouse actions, and
// what the program does with the sizes and points that events carry (laying
// the screen out again, drawing and saving the cells around a point). The
// input follows a sane greeting (accepted, 80 x 25); whatever it holds after
// that, nothing may overflow, allocate without bound or hang.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <thread>

#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "platform/win32.h"

namespace {

std::string IntegerReply(std::initializer_list<int32_t> values) {
    std::string frame = {'\xBF', '\xFB', static_cast<char>(values.size()), 0};
    for (int32_t value : values) {
        uint32_t bits = static_cast<uint32_t>(value);
        frame += std::string{0, 0, 4, 0};
        for (int shift = 0; shift < 32; shift += 8) {
            frame += static_cast<char>((bits >> shift) & 0xFF);
        }
    }
    return frame;
}

void WriteAll(HANDLE pipe, const void* data, size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        DWORD written = 0;
        DWORD chunk = size > 65536 ? 65536 : static_cast<DWORD>(size);
        if (!WriteFile(pipe, at, chunk, &written, nullptr) || written == 0) {
            return;
        }
        at += written;
        size -= written;
    }
}

void Drain(HANDLE pipe) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {}
}

// What the program does at a point of a mouse event: draws around it, saves
// the cells there and puts them back.
void UsePoint(int x, int y) {
    Console->FillRect(x - 1, y - 1, 3, 3, 0x1F);
    Console->WriteText(x, y, "x", 0x07);
    Console->SetAttributes(x - 2, y, 5, 0x70);
    TCell* saved = Console->SaveRect(x - 2, y - 2, 5, 5);
    Console->PutCellRect(x - 2, y - 2, 5, 5, saved);
    delete[] saved;
}

}  // namespace

// The client may stop reading at any byte (a bad magic ends its reader); what
// the feeding thread writes must then still fit in the pipe, or it would wait
// for good. Longer inputs are cut: their frames are no different in kind.
const size_t MaxInput = 32768;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > MaxInput) {
        size = MaxInput;
    }
    HANDLE consoleIn = nullptr, hostWrite = nullptr, hostRead = nullptr, consoleOut = nullptr;
    if (!CreatePipe(&consoleIn, &hostWrite, nullptr, 0)) {
        return 0;
    }
    if (!CreatePipe(&hostRead, &consoleOut, nullptr, 0)) {
        CloseHandle(consoleIn);
        CloseHandle(hostWrite);
        return 0;
    }
    std::thread drain([hostRead] { Drain(hostRead); });
    std::thread feed([hostWrite, data, size] {
        const std::string greeting = IntegerReply({1}) + IntegerReply({80, 25});
        WriteAll(hostWrite, greeting.data(), greeting.size());
        WriteAll(hostWrite, data, size);
        CloseHandle(hostWrite);
    });
    Console = new CConsole(consoleIn, consoleOut);
    Console->GetScreenSize(ScreenColumns, ScreenRows);
    for (;;) {
        TInputEvent event = {};
        int key = ReadInputEvent(&event, -1);
        if (key == KEY_CLOSED) {
            break;
        }
        if (key == KEY_RESIZED) {
            FollowHostScreenSize(event.y, event.x);
        } else if (key == KEY_MOUSE) {
            UsePoint(event.x, event.y);
        } else {
            TranslateKeyChar(key, event);
        }
    }
    feed.join();
    delete Console;  // closes the client's ends: the drain ends
    Console = nullptr;
    drain.join();
    CloseHandle(hostRead);
    ScreenColumns = 80;
    ScreenRows = 25;
    return 0;
}
