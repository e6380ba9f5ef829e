// CConsole: the program's only way to the screen and the keyboard.
//
// A separate console host owns the real screen; CConsole speaks to it in
// frames over two handles (standard input and output in the program). Every
// drawing request is first applied to the ShadowScreen, the client's copy of
// the host's cells; text, cell and attribute requests are sent only when they
// change a cell. One reader thread turns the host's frames into queued input
// events and into the reply of the one request that may be waiting.
//
// Threads that draw (the main thread, progress windows, watch threads) may call
// in at the same time: each request, with its shadow update, runs under one
// lock, so frames never interleave.
//
// One CConsole exists for the whole run, reached through the global Console.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "base/containers/ObjectStore.h"
#include "base/os/CEvent.h"
#include "base/os/CMutex.h"
#include "base/os/CWinHandle.h"
#include "base/io/StdFile.h"
#include "base/strings/CellString.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"
#include "console/ParameterList.h"
#include "console/ShadowScreen.h"
#include "platform/win32.h"

class TerminalEmulator;

// The output region of the host's teletype output, inclusive corners.
struct TOutputRect {
    int32_t x1;
    int32_t y1;
    int32_t x2;
    int32_t y2;
};

class CConsole {
public:
    // One input event from the host, field for field as the event frame
    // carries it.
    struct TEvent {
        enum {
            KindKey = 0,
            KindMousePress = 1,  // code: button 1 or 2
            KindMouseRelease = 2,
            KindMouseMove = 3,    // moved with a button held
            KindMouseDouble = 4,  // double click
            KindMouseWheel = 5,   // code: the wheel delta
            KindClosed = 6,       // the host closed the input
            KindResized = 7,      // x, y: the new columns and rows
        };
        int32_t kind;
        int32_t code;        // key code, mouse button or wheel delta
        int32_t shiftState;  // 1 Alt, 2 Ctrl, 4 Shift (8 NumLock, local console only)
        int32_t x;
        int32_t y;
        int32_t character;  // a key's Unicode character, 0 when none
    };

    // First-in first-out queue of events between the reader thread and the
    // thread that reads input. Once the close event is queued it stays at the
    // head: every later Pop returns it again at once.
    class CEventQueue : private TObjectStore<TEvent> {
    public:
        CEventQueue() = default;
        ~CEventQueue() override = default;
        void Push(TEvent* item);
        // The oldest item, waiting up to the time-out in milliseconds (INFINITE
        // waits without limit, 0 does not wait); null when none came.
        TEvent* Pop(DWORD timeout);
        bool IsEmpty();
        // How many events were ever pushed: the sequence number the next one
        // gets.
        uint64_t Received();
        // Drops what waits with a sequence number below the mark (but a close
        // event, which stays).
        void Flush(uint64_t mark);

    private:
        CMutex mutex;
        CEvent event;
        uint64_t pushed = 0;
        uint64_t headSequence = 0;  // of the oldest event waiting
    };

    // On the process's standard input and output.
    CConsole();
    // On the given handles (the host's side of two pipes); both are owned and
    // closed with the console.
    CConsole(HANDLE input, HANDLE output);
    // The host must have closed the input (or the process be ending): the
    // destructor waits for the reader thread to end.
    virtual ~CConsole();
    CConsole(const CConsole&) = delete;
    CConsole& operator=(const CConsole&) = delete;

    // Requests. Coordinates are 0-based columns and rows.
    void SetCursorPos(int x, int y);
    void SetCodePage(UINT codePage);
    // Waits for the host; true when it accepted the size, which then becomes
    // the shadow's size. A refused size changes nothing.
    bool SetScreenSize(int columns, int rows);
    // After the host reported a new screen: asks for the size like
    // SetScreenSize, but lays the shadow out in it even when the host keeps
    // a smaller screen (it shows what fits), since keeping the old layout
    // would leave parts of it off the new screen. False only for a size no
    // screen can have.
    bool FollowScreenSize(int columns, int rows);
    void FillRect(int x, int y, int width, int height, uint8_t attribute);
    void ClearScreen();  // in the current attribute
    void ScrollUp(int x, int y, int width, int height, int lines, uint8_t attribute);
    void ScrollDown(int x, int y, int width, int height, int lines, uint8_t attribute);
    void SetTitle(const Westring& title);
    void SetTitleA(const Estring& title);
    // Sent only when the size differs from the one last sent (1 at first);
    // 0 hides the cursor.
    void SetCursorShape(int size);
    void SetAttribute(uint8_t attribute);
    // Text and cells are sent only when they change what the screen shows.
    void WriteText(int x, int y, const char* text, uint8_t attribute);
    void WriteWideText(int x, int y, const Westring& text, uint8_t attribute);
    // The cells up to the first whose character is 0, each in its own attribute.
    void WriteCells(int x, int y, const CellString& cells);
    void RepeatCell(int x, int y, int count, const TCell& cell);
    void SetAttributes(int x, int y, int count, uint8_t attribute);
    // width x height cells, row after row (for example from SaveRect).
    void PutCellRect(int x, int y, int width, int height, const TCell* cells);
    void SetClipboardText(const Westring& text);
    void SetClipboardTextA(const Estring& text);
    // Waits for the host; true and the text when it has text, else the text is
    // left alone.
    bool GetClipboardText(Westring& text);
    // 8-bit (UTF-8) text at the cursor, teletype style, in the current
    // attribute; with a terminal attached, the terminal interprets it instead.
    void WriteTty(const char* text);
    void Beep();
    void SetOutputRect(const TOutputRect& rect);
    void SetOutputRegion(int x, int y, int width, int height);
    void ResetOutputRegion();
    void SendOp1();
    void SendOp2();

    // Answered from the client itself.
    void GetCursorPos(int& x, int& y);
    void GetScreenSize(int& columns, int& rows);
    void GetOutputRect(TOutputRect& rect);
    int GetCursorShape() const { return cursorSize; }
    uint8_t GetAttribute() const { return attribute; }
    void CopyRect(CellString& cells, int x, int y, int width, int height);
    // A new array of width x height cells, row after row; the caller frees it
    // with delete[].
    TCell* SaveRect(int x, int y, int width, int height);

    // Input. The oldest event, waiting up to the time-out in milliseconds
    // (INFINITE, i.e. -1, without limit; 0 not at all); false when none came.
    // After the host closed the input every call returns the close event.
    bool GetEvent(TEvent& event, DWORD timeout);
    // True when an event waits in the queue.
    bool HasPendingEvents();
    // Drops the events that wait (a close event stays).
    void FlushEvents();
    // Events are numbered as they arrive: EventsReceived is the number the
    // next one gets, and FlushEventsReceivedBefore drops the waiting events
    // numbered below a mark taken earlier, keeping those that came after.
    uint64_t EventsReceived();
    void FlushEventsReceivedBefore(uint64_t mark);

    // Writes the requests gathered so far. Requests go out together: before
    // the console waits for an event or a reply, when the buffer fills, and at
    // the latest a moment after the first of them (drawing from other
    // threads, or before a wait the console does not see).
    void Flush();

    // The attached mode: a terminal emulator on this console takes the
    // WriteTty text, and a key-feeder thread takes every event from the queue
    // and hands the keys to the emulator, which writes them encoded to fd (a
    // child's pseudo-terminal; <= 0 for none). Attaching detaches a previous
    // emulator first. Detaching stops the thread and destroys the emulator.
    void AttachTerminal(int fd);
    void DetachTerminal();
    TerminalEmulator* AttachedTerminal() const { return terminal; }

    // Framing. Public for the tests of the wire format. The request is
    // gathered, not yet written (see Flush).
    void SendRequest(uint16_t opcode, CParameterList& list);
    // Reads one host frame into the list (emptied first); its magic goes to
    // magic. 0 when a read fails or the magic is unknown, else 1.
    int ReadFrame(uint16_t& magic, CParameterList& list);

private:
    void Start();
    void Handshake();
    static unsigned __stdcall ReaderThread(void* self);
    static unsigned __stdcall KeyFeederThread(void* self);
    void KeyFeederLoop();
    void ReaderLoop();
    void QueueInputEvent(const CParameterList& list);
    void QueueCloseEvent();
    // The reply of the request just sent; null when the host will not answer
    // (the reader has ended). The caller deletes it.
    CParameterList* WaitReply();
    // Sends a request that waits and returns its reply (or null), under the
    // request lock.
    CParameterList* Call(uint16_t opcode, CParameterList& list);
    void WriteParameter(const CParameter& parameter);
    bool ReadExact(void* buffer, uint32_t n);
    void SendPutCellRect(int x, int y, int width, int height, const TCell* cells);
    void SendScroll(uint16_t opcode, int x, int y, int width, int height, int lines, uint8_t attr);
    void FlushLocked();  // under the request lock
    static unsigned __stdcall FlusherThread(void* self);
    void FlusherLoop();

    int cursorSize;
    uint8_t attribute;
    CEventQueue queue;
    CParameterList* pendingReply;
    CEvent replyEvent;
    bool readerEnded;  // the host will answer no more
    CMutex replyLock;  // guards pendingReply and readerEnded
    TerminalEmulator* terminal;
    TOutputRect outputRect;
    StdFile output;
    StdFile input;
    CWinHandle readerThread;
    CWinHandle keyFeederThread;
    TEvent* pendingResize = nullptr;  // the last new size while attached
    // Taken for every request: a plain process-local lock, since drawing a
    // screen takes it thousands of times.
    std::recursive_mutex requestLock;
    bool outputWaiting = false;  // requests gathered since the last flush
    bool stopping = false;       // the flusher ends
    CEvent flushWake;            // a first request was gathered, or the end
    CEvent stopEvent;
    CWinHandle flusherThread;
    ShadowScreen shadow;
    uint8_t* receiveBuffer;  // one record: 4-byte head and up to 65535 bytes
};

// The console client of the run, built by main.
extern CConsole* Console;

// Ctrl-C and Ctrl-Break as a console with processed input sees them: the
// reader thread offers each such key to this hook (CTRL_C_EVENT or
// CTRL_BREAK_EVENT) before it queues it; true means the key became a control
// event and is not queued. The console control handler installs it; null
// leaves every key a key.
extern std::atomic<BOOL (*)(DWORD controlType)> ConsoleControlKeyHook;
