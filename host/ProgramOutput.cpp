#include "host/ProgramOutput.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace qvhost {

namespace {

// Whether `fd` has something to read (or has ended) within `timeoutMs`.
bool Readable(int fd, int timeoutMs) {
    pollfd p = {fd, POLLIN, 0};
    int n;
    do {
        n = poll(&p, 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    return n > 0 && (p.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

}  // namespace

ProgramOutput::Result ProgramOutput::Drain(int fd, ScreenModel& model,
                                           const std::function<void(const std::string&)>& reply) {
    uint8_t buf[65536];
    size_t total = 0;
    for (;;) {
        ssize_t got = read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && errno == EAGAIN) {
            got = 0;
        } else if (got <= 0) {
            return kEnded;
        }
        total += static_cast<size_t>(got);
        m_decoder.Feed(buf, static_cast<size_t>(got));
        Request request;
        while (m_decoder.Next(request)) {
            ++m_applied;
            std::string answer;
            if (model.Apply(request, answer)) {
                reply(answer);
            }
        }
        if (m_decoder.Broken()) {
            return kBroken;
        }
        if (total >= kMaxBatchBytes) {
            return kApplied;
        }
        // More already waiting, or the rest of a frame on its way.
        const bool halfFrame = m_decoder.Buffered() > 0;
        if (!Readable(fd, halfFrame ? kPartialWaitMs : 0)) {
            return kApplied;
        }
    }
}

}  // namespace qvhost
