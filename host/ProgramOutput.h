// The program's side of qvhost's pipes: reads its request frames and applies
// them to the screen model. Everything already waiting in the pipe is applied
// before the terminal is painted, and a frame half-read is finished first, so
// the terminal is painted once per update and never shows half of one.
#pragma once

#include "host/HostFrames.h"
#include "host/ScreenModel.h"

#include <functional>
#include <string>

namespace qvhost {

class ProgramOutput {
public:
    enum Result {
        kApplied,  // the pipe is drained; paint
        kEnded,    // the program closed its output
        kBroken,   // a frame that is no frame: the stream cannot be followed
    };
    // The longest a half-read frame is waited for before painting anyway.
    static constexpr int kPartialWaitMs = 100;
    // More than this in one go is a flood: paint and take input in between.
    static constexpr size_t kMaxBatchBytes = 4u << 20;

    // Reads from `fd` (which is readable) until nothing more waits, applying
    // every whole request to `model`; each reply goes to `reply` at once, as
    // the program is waiting for it.
    Result Drain(int fd, ScreenModel& model, const std::function<void(const std::string&)>& reply);
    // How many requests have been applied in all.
    long long Applied() const { return m_applied; }

private:
    RequestDecoder m_decoder;
    long long m_applied = 0;
};

}  // namespace qvhost
