// Console control events over POSIX signals. The signal handler only writes
// the event's number into a pipe; a dispatcher thread reads it and, as Windows
// does, runs the handlers on a new thread for every event, so a handler may
// take its time (ask a question, wait for the main thread) without holding up
// the next event.
#include "platform/posix/HandleObject.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <mutex>
#include <thread>
#include <vector>

namespace {

struct TControlState {
    std::mutex lock;
    std::vector<PHANDLER_ROUTINE> handlers;  // oldest first
    bool ignoreCtrlC = false;
    bool installed = false;
    int pipe[2] = {-1, -1};
};

TControlState& State() {
    static TControlState* state = new TControlState;  // lives past exit for late signals
    return *state;
}

// The signal each event stands for, and back.
struct TSignalEvent {
    int signo;
    DWORD event;
};
const TSignalEvent SignalEvents[] = {
    {SIGINT, CTRL_C_EVENT},
    {SIGHUP, CTRL_CLOSE_EVENT},
    {SIGTERM, CTRL_SHUTDOWN_EVENT},
};

int SignalOf(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: return SIGINT;
    case CTRL_CLOSE_EVENT: return SIGHUP;
    default: return SIGTERM;
    }
}

void OnSignal(int signo) {
    int saved = errno;
    for (const TSignalEvent& item : SignalEvents) {
        if (item.signo == signo) {
            unsigned char byte = static_cast<unsigned char>(item.event);
            ssize_t n = ::write(State().pipe[1], &byte, 1);
            (void)n;  // a full pipe drops the event, as a busy console would merge it
        }
    }
    errno = saved;
}

// Ends the process the way the signal would have.
[[noreturn]] void Terminate(DWORD event) {
    int signo = SignalOf(event);
    ::signal(signo, SIG_DFL);
    ::kill(::getpid(), signo);
    ::_exit(128 + signo);
}

void Dispatch(DWORD event) {
    std::vector<PHANDLER_ROUTINE> handlers;
    {
        std::lock_guard<std::mutex> guard(State().lock);
        if (event == CTRL_C_EVENT && State().ignoreCtrlC) {
            return;
        }
        handlers = State().handlers;
    }
    bool handled = false;
    for (auto it = handlers.rbegin(); it != handlers.rend() && !handled; ++it) {
        handled = (*it)(event) != FALSE;
    }
    // Closing, log-off and shut-down end the process once the handlers had
    // their say; Ctrl-C and Ctrl-Break only when none took them.
    if (!handled || event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        Terminate(event);
    }
}

void DispatcherLoop(int fd) {
    for (;;) {
        unsigned char byte;
        ssize_t n = w32::RetryEintr([&] { return ::read(fd, &byte, 1); });
        if (n <= 0) {
            return;
        }
        std::thread(Dispatch, static_cast<DWORD>(byte)).detach();
    }
}

// Called under the lock: the pipe, the dispatcher and the signal handlers,
// once for the process.
bool Install(TControlState& state) {
    if (state.installed) {
        return true;
    }
    if (::pipe2(state.pipe, O_CLOEXEC) != 0) {
        return w32::FailErrno();
    }
    std::thread(DispatcherLoop, state.pipe[0]).detach();
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const TSignalEvent& item : SignalEvents) {
        ::sigaction(item.signo, &action, nullptr);
    }
    state.installed = true;
    return true;
}

}  // namespace

BOOL WINAPI SetConsoleCtrlHandler(PHANDLER_ROUTINE HandlerRoutine, BOOL Add) {
    TControlState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    if (!HandlerRoutine) {
        state.ignoreCtrlC = Add != FALSE;
        return Install(state) ? TRUE : FALSE;
    }
    if (Add) {
        if (!Install(state)) {
            return FALSE;
        }
        state.handlers.push_back(HandlerRoutine);
        return TRUE;
    }
    for (auto it = state.handlers.rbegin(); it != state.handlers.rend(); ++it) {
        if (*it == HandlerRoutine) {
            state.handlers.erase(std::next(it).base());
            return TRUE;
        }
    }
    return w32::Fail(ERROR_INVALID_PARAMETER);
}

BOOL WINAPI GenerateConsoleCtrlEvent(DWORD dwCtrlEvent, DWORD dwProcessGroupId) {
    if (dwCtrlEvent != CTRL_C_EVENT && dwCtrlEvent != CTRL_BREAK_EVENT) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    // Group 0 means the processes that share our console. Here the console is
    // the host's, and the POSIX process group we sit in also holds the host and
    // whatever started it (a shell, a test runner): signal only ourselves.
    pid_t target = dwProcessGroupId == 0 ? ::getpid() : -static_cast<pid_t>(dwProcessGroupId);
    if (::kill(target, SIGINT) != 0) {
        return errno == ESRCH ? w32::Fail(ERROR_INVALID_PARAMETER) : w32::FailErrno();
    }
    return TRUE;
}

UINT WINAPI SetErrorMode(UINT uMode) {
    static UINT mode = 0;
    UINT old = mode;
    mode = uMode;
    return old;
}
