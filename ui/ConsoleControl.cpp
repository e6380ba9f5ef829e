#include "ui/ConsoleControl.h"

#include <cstdlib>

#include "ui/MessageBox.h"
#include "console/KeyCodes.h"
#include "console/Console.h"

std::atomic<int> UserAbortState{UserAbortIdle};
std::atomic<uint32_t> ChildProcessGroup{0};
void (*ConsoleControlWake)() = nullptr;

namespace {

std::atomic<int> PendingRequest{-1};
// The console's event count when the request was left: the events received
// before it were typed before the control event, and the question must not
// take one of them for its answer; those after it may answer it.
std::atomic<uint64_t> RequestEventMark{0};
// Set once the main loop took a request that ends the program; the handler
// of a closing console waits for it, as the system ends the process as soon
// as that handler returns.
std::atomic<bool> Ending{false};

bool IsClosing(DWORD type) {
    return type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT;
}

// The host keeps its terminal raw and sends Ctrl-C and Ctrl-Break as keys.
// While an operation polls for an abort they are the control event a console
// with processed input raises; otherwise they stay keys (the panels' Ctrl-C
// command, an editor's, a child program's on the terminal emulator).
BOOL ControlKeyToHandler(DWORD controlType) {
    if (UserAbortState != UserAbortPolling) {
        return FALSE;
    }
    ConsoleCtrlHandler(controlType);
    return TRUE;
}

}  // namespace

void InstallConsoleCtrlHandler() {
    SetErrorMode(SEM_FAILCRITICALERRORS);
    SetConsoleCtrlHandler(ConsoleCtrlHandler, TRUE);
    ConsoleControlKeyHook = ControlKeyToHandler;
}

BOOL WINAPI ConsoleCtrlHandler(DWORD controlType) {
    if (controlType > CTRL_SHUTDOWN_EVENT || controlType == 3 || controlType == 4) {
        return FALSE;  // not ours to answer
    }
    int state = UserAbortState;
    if (state == UserAbortPolling) {
        UserAbortState.compare_exchange_strong(state, UserAbortRequested);
    } else if (state == UserAbortChildRunning && !IsClosing(controlType)) {
        GenerateConsoleCtrlEvent(controlType == CTRL_BREAK_EVENT ? CTRL_BREAK_EVENT : CTRL_C_EVENT, ChildProcessGroup);
    }
    // Ctrl-C while idle is a question for the main loop; a closing console
    // ends the program whatever runs, and outranks a question that waits.
    if (IsClosing(controlType) || (state == UserAbortIdle && PendingRequest < 0)) {
        RequestEventMark = Console ? Console->EventsReceived() : 0;
        PendingRequest = static_cast<int>(controlType);
        if (ConsoleControlWake) {
            ConsoleControlWake();
        }
    }
    if (IsClosing(controlType)) {
        // The system ends the process as soon as this returns: give the main
        // loop its moment to end the program its own way first.
        for (int waited = 0; waited < 50 && !Ending; waited++) {
            Sleep(100);
        }
        std::_Exit(4);
    }
    return TRUE;
}

int TakeConsoleControlRequest() {
    return PendingRequest.exchange(-1);
}

int TakeClosingConsoleControlRequest() {
    int request = PendingRequest;
    while (request >= 0 && IsClosing(static_cast<DWORD>(request))) {
        if (PendingRequest.compare_exchange_weak(request, -1)) {
            return request;
        }
    }
    return -1;
}

void AnswerConsoleControlInLoop(bool outermost) {
    AnswerConsoleControlRequest(outermost ? TakeConsoleControlRequest() : TakeClosingConsoleControlRequest());
}

void AnswerConsoleControlRequest(int controlType) {
    if (controlType < 0) {
        return;
    }
    if (IsClosing(static_cast<DWORD>(controlType))) {
        Ending = true;
        std::exit(4);
    }
    int cursor = Console ? Console->GetCursorShape() : 0;
    int answer;
    do {
        if (Console) {
            Console->FlushEventsReceivedBefore(RequestEventMark);
        }
        answer = ShowMessageBox(Westring("Terminate Quorvane ?"), Westring(), 1);
    } while (answer == 0);
    if (Console) {
        Console->SetCursorShape(cursor);
    }
    if (answer == 'y' || answer == 'Y' || (answer & 0xFF) == KEY_ENTER) {
        Ending = true;
        std::exit(3);
    }
}
