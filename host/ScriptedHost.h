// The scripted console host that end-to-end tests drive: it starts quorvane on
// pipes, answers its requests into a ScreenModel on a reader thread, and lets
// the test send keys, mouse and resize events and wait for the screen.
#pragma once

#include "host/ScreenModel.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvhost {

class ScriptedHost {
public:
    struct Options {
        int columns = 80;
        int rows = 25;
        std::vector<std::string> args;           // program arguments
        std::map<std::string, std::string> env;  // added to (or replacing in) the environment
        std::string program;                     // default: quorvane beside the test's build
        bool sizeFixed = false;                  // refuse every size but the model's own, as a terminal does
        std::string errorFile;                   // the program's standard error goes there (default: ours)
    };

    // How long a wait lasts unless told otherwise: long enough for a loaded
    // machine, short enough that a key the program ignores fails the test
    // instead of stalling the run.
    static const int DefaultTimeoutMs = 10000;

    // Rewrites the options of every host made afterwards, before the program
    // starts: how a test run starts another build of the program (a Windows
    // build under an emulator) without a change to the tests. Returns false
    // when the program cannot be started that way; the host then starts nothing.
    using LaunchAdapter = std::function<bool(Options&)>;
    static void SetLaunchAdapter(LaunchAdapter adapter);

    explicit ScriptedHost(const Options& options);
    ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    bool Started() const { return m_pid > 0; }
    // The program's process id, for tests that signal it.
    int Pid() const { return m_pid; }

    // Input events.
    void SendKey(int32_t code, int32_t ch = 0, int32_t shift = 0);
    void SendText(const std::string& utf8);
    void SendMouse(int32_t kind, int32_t button, int32_t x, int32_t y, int32_t shift = 0);
    void SendResize(int columns, int rows);
    // A key by name ("F5", "Shift+Tab", "Ctrl+PgDn", "Alt+x", "Enter"; see
    // KeyFromName); false, and nothing sent, for a name it does not know.
    bool PressKey(const std::string& name);
    // Button 1 or 2 pressed and released at a cell.
    void Click(int x, int y, int button = 1, int32_t shift = 0);
    void DoubleClick(int x, int y);
    // One wheel step (positive away from the user).
    void Wheel(int x, int y, int delta);
    // Closes the program's input: it sees the close event.
    void CloseInput();

    // Every wait ends when its time runs out. Where a test knows what it waits
    // for it names it (the screen, a request, the exit); WaitQuiet is for the
    // rest, where only the absence of output says the program is done.
    //
    // Waits until the condition on the screen holds (checked after every
    // request batch) or the time runs out; true when it held.
    bool WaitFor(const std::function<bool(const ScreenModel&)>& condition, int timeoutMs = DefaultTimeoutMs);
    bool WaitForText(const std::string& utf8, int timeoutMs = DefaultTimeoutMs);
    // Until no row of the screen holds the text any more.
    bool WaitForTextGone(const std::string& utf8, int timeoutMs = DefaultTimeoutMs);
    // Until the program has sent `count` requests of the opcode in all, each
    // answered by the time this returns (a reply the program waits for has
    // been written to it); true when it did.
    bool WaitForRequests(uint16_t opcode, int count, int timeoutMs = DefaultTimeoutMs);
    // Texts that may stand on the screen only for a moment (a box of a short
    // operation): WatchText before the action, then WaitForSeen, which is true
    // once the text stood on the screen after any one request.
    void WatchText(const std::string& utf8);
    bool WaitForSeen(const std::string& utf8, int timeoutMs = DefaultTimeoutMs);
    // Until no request has arrived for `quietMs`; false when the time ran out first.
    bool WaitQuiet(int quietMs = 200, int timeoutMs = DefaultTimeoutMs);
    // Waits for the program to end; returns its exit code, or -1 on time-out.
    int WaitExit(int timeoutMs = DefaultTimeoutMs);

    // A consistent copy of the screen.
    ScreenModel Snapshot();
    std::string ScreenText();  // all rows, joined with newlines
    std::string RowText(int y);
    std::vector<uint8_t> RowAttributes(int y);
    std::string Dump();  // rows, cursor, title and beeps
    // How many requests of the opcode the program sent so far.
    int RequestCount(uint16_t opcode);

private:
    void ReaderLoop();
    void Write(const std::string& bytes);

    std::mutex m_lock;       // the model and the run state
    std::mutex m_writeLock;  // the program's input pipe; never held while waiting for m_lock
    std::condition_variable m_changed;
    ScreenModel m_model;
    void NoteWatchedTexts();                // with m_lock held
    std::map<std::string, bool> m_watched;  // text, seen

    int m_toChild = -1;
    int m_fromChild = -1;
    int m_pid = -1;
    bool m_ended = false;
    int m_exitCode = -1;
    long long m_lastRequestMs = 0;
    std::map<uint16_t, int> m_requestCounts;  // requests answered
    std::map<uint16_t, int> m_pendingCounts;  // decoded, reply not yet written
    std::thread m_reader;
};

}  // namespace qvhost
