// The console control handler and the abort state that long operations poll.
//
// Ctrl-C, Ctrl-Break, closing the console, log-off and shut-down arrive on a
// thread of the system. The handler never draws and never stops the main
// thread: while a long operation runs it only asks it to stop; while a child
// program runs it passes the event on to the child's process group; otherwise
// it leaves a request that the main loop answers on its own thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// 0 idle; 1 a long operation runs and polls it; 2 abort requested; 3 a child
// program runs in the process group ChildProcessGroup. Whoever starts an
// operation or a child saves the value it found, sets 1 or 3, and puts the
// saved value back afterwards, so that nested operations work.
enum { UserAbortIdle = 0, UserAbortPolling = 1, UserAbortRequested = 2, UserAbortChildRunning = 3 };
extern std::atomic<int> UserAbortState;
extern std::atomic<uint32_t> ChildProcessGroup;

// Sets a new abort state for the lifetime of the object and puts back the one
// it found.
class CUserAbortScope {
public:
    explicit CUserAbortScope(int state) : saved(UserAbortState.exchange(state)) {}
    ~CUserAbortScope() { UserAbortState = saved; }
    CUserAbortScope(const CUserAbortScope&) = delete;
    CUserAbortScope& operator=(const CUserAbortScope&) = delete;

private:
    int saved;
};

// Installs the handler (again after a child program has run).
void InstallConsoleCtrlHandler();
BOOL WINAPI ConsoleCtrlHandler(DWORD controlType);

// What the main loop answers: the control event left for it, or -1 (the
// request is taken away).
int TakeConsoleControlRequest();
// Called by the handler after it left a request, so that a main loop waiting
// for input wakes up to answer it; null does nothing. The main program fills it.
extern void (*ConsoleControlWake)();
// Takes the request only when it ends the program (closing the console,
// log-off, shut-down); a Ctrl-C question stays for the main loop. -1 when
// no such request waits.
int TakeClosingConsoleControlRequest();
// The answer of the main loop to a request taken: Ctrl-C and Ctrl-Break ask
// "Terminate Quorvane ?" and end the program with exit code 3 on Y or Enter;
// closing the console, log-off and shut-down end it with 4. The question
// drops the keys that were typed before the control event came; a key that
// came after it answers the question.
void AnswerConsoleControlRequest(int controlType);
// What every input loop calls while it waits (the modal-loop hook): the
// outermost loop answers any request; a nested loop (a dialog) answers only
// those that end the program, and leaves the question for the main loop so
// that nothing is drawn over the dialog.
void AnswerConsoleControlInLoop(bool outermost);
