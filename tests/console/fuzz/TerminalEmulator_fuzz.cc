// Arbitrary output of a child program, in arbitrary chunks, through the
// terminal emulator on an 80 x 25 console whose requests a thread applies to
// the host's screen model. Each chunk is a two-byte length (taken modulo
// 1024, plus one) followed by up to that many bytes. Afterwards the cursor
// must lie on the screen and the bytes kept for a next chunk stay bounded.
#include "console/Console.h"
#include "console/TerminalEmulator.h"
#include "host/HostFrames.h"
#include "host/ScreenModel.h"
#include "platform/win32.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace {

// One console for the whole run, served by a host thread as a terminal host
// serves the program.
struct THostedConsole {
    HANDLE hostRead = nullptr;
    HANDLE hostWrite = nullptr;
    qvhost::ScreenModel model{80, 25};
    CConsole* console = nullptr;

    THostedConsole() {
        HANDLE consoleIn = nullptr, consoleOut = nullptr;
        if (!CreatePipe(&consoleIn, &hostWrite, nullptr, 0) || !CreatePipe(&hostRead, &consoleOut, nullptr, 0)) {
            __builtin_trap();
        }
        std::thread([this] { Serve(); }).detach();
        console = new CConsole(consoleIn, consoleOut);
    }

    void Serve() {
        qvhost::RequestDecoder decoder;
        static char buffer[65536];
        DWORD got = 0;
        while (ReadFile(hostRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            decoder.Feed(reinterpret_cast<const uint8_t*>(buffer), got);
            qvhost::Request request;
            while (decoder.Next(request)) {
                std::string reply;
                if (model.Apply(request, reply)) {
                    DWORD written = 0;
                    WriteFile(hostWrite, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr);
                }
            }
        }
    }
};

THostedConsole& Hosted() {
    static THostedConsole* hosted = new THostedConsole;
    return *hosted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CConsole& console = *Hosted().console;
    console.FillRect(0, 0, 80, 25, 0x07);
    console.SetCursorPos(0, 0);
    {
        TerminalEmulator emulator(console, 0);
        size_t at = 0;
        while (at + 2 <= size) {
            size_t length = 1 + ((data[at] | data[at + 1] << 8) % 1024);
            at += 2;
            if (length > size - at) {
                length = size - at;
            }
            emulator.Write(reinterpret_cast<const char*>(data + at), static_cast<int>(length));
            at += length;
            int x = -1, y = -1;
            console.GetCursorPos(x, y);
            if (x < 0 || x > 80 || y < 0 || y > 24 || emulator.PendingLength() > TerminalEmulator::MaxPendingBytes) {
                __builtin_trap();
            }
        }
    }
    // A request that waits: the host has caught up before the next input.
    Westring ignored;
    console.GetClipboardText(ignored);
    return 0;
}
