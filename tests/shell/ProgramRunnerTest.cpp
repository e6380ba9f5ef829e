#include "shell/ProgramRunner.h"

#include "base/os/Threads.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TPump {
    HANDLE output;
    HANDLE process;
};

unsigned __stdcall Pump(void* argument) {
    TPump* pump = static_cast<TPump*>(argument);
    PumpChildOutput(pump->output, pump->process, nullptr);
    return 0;
}

// After the child has ended and its console has closed, everything in the
// output pipe is read, and the wait ends even when the pipe never reports its
// end (its writing end still open somewhere, as wine at times leaves it).
TEST(ProgramRunnerTest, OutputIsDrainedAndTheWaitEndsWhenThePipeNeverReportsItsEnd) {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    const std::string text(3000, 'x');
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(write, text.data(), DWORD(text.size()), &put, nullptr));
    ASSERT_EQ(put, DWORD(text.size()));
    // Signalled from the start: the child has ended.
    HANDLE ended = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(ended, nullptr);

    TPump pump = {read, ended};
    HANDLE thread = StartThread(Pump, &pump);
    ASSERT_NE(thread, nullptr);
    DWORD waited = WaitForSingleObject(thread, 10000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the output was waited for until its pipe ended";
    // Ends the pipe, so that a pump still waiting for it returns.
    CloseHandle(write);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    if (waited == WAIT_OBJECT_0) {
        DWORD left = 1;
        // Read to the end: the pipe holds nothing more (or has ended, empty).
        if (PeekNamedPipe(read, nullptr, 0, nullptr, &left, nullptr)) {
            EXPECT_EQ(left, 0u);
        }
    }
    CloseHandle(ended);
    CloseHandle(read);
}

}  // namespace
