#include "console/Console.h"

#include <cstdlib>

#include "base/os/Threads.h"
#include "console/ConsoleProtocol.h"
#include "console/KeyCodes.h"
#include "console/TerminalEmulator.h"

CConsole* Console = nullptr;
std::atomic<BOOL (*)(DWORD controlType)> ConsoleControlKeyHook{nullptr};

namespace {

// Holds a CMutex for one scope.
class CLockHold {
public:
    explicit CLockHold(CMutex& mutex) : mutex(mutex) { mutex.Lock(INFINITE); }
    ~CLockHold() { mutex.Unlock(); }
    CLockHold(const CLockHold&) = delete;
    CLockHold& operator=(const CLockHold&) = delete;

private:
    CMutex& mutex;
};

typedef std::lock_guard<std::recursive_mutex> TRequestHold;

// One record: its 4-byte head and the longest payload.
const uint32_t ReceiveBufferSize = 4 + ConsoleMaxPayload;

// The output buffer: a whole screen of changes fits, so that one update goes
// out in one write (a pipe takes 64 KiB at once).
const uint32_t OutputBufferSize = 65536;

// How long gathered requests may wait when nothing flushes them.
const DWORD FlushLingerMs = 25;

// Sizes a host may report; anything else is a broken answer, not a screen.
const int32_t MaxScreenSide = 1000;

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool SensibleSize(int32_t columns, int32_t rows) {
    return columns > 0 && rows > 0 && columns <= MaxScreenSide && rows <= MaxScreenSide;
}

// A point of a mouse event, brought into the largest screen there can be: the
// code that takes it adds and subtracts window origins, which must never
// overflow whatever a broken host sends.
int32_t ClampCoordinate(int32_t value) {
    return value < 0 ? 0 : value >= MaxScreenSide ? MaxScreenSide - 1 : value;
}

}  // namespace

// ---- The event queue ----

void CConsole::CEventQueue::Push(TEvent* item) {
    mutex.Lock(INFINITE);
    Add(item);
    pushed++;
    mutex.Unlock();
    event.Set();
}

bool CConsole::CEventQueue::IsEmpty() {
    mutex.Lock(INFINITE);
    bool empty = Count() == 0;
    mutex.Unlock();
    return empty;
}

CConsole::TEvent* CConsole::CEventQueue::Pop(DWORD timeout) {
    if (IsEmpty()) {
        if (timeout == 0) {
            return nullptr;
        }
        const DWORD start = GetTickCount();
        for (;;) {
            DWORD wait = timeout;
            if (timeout != INFINITE) {
                DWORD spent = GetTickCount() - start;
                wait = spent >= timeout ? 0 : timeout - spent;
            }
            if (event.Wait(wait) != WAIT_OBJECT_0) {
                return nullptr;
            }
            event.Reset();
            if (!IsEmpty()) {
                break;
            }
        }
    }
    mutex.Lock(INFINITE);
    TEvent* item = At(0);
    if (item != nullptr && item->kind == TEvent::KindClosed) {
        // The close event stays for every later reader.
        item = new TEvent(*item);
    } else {
        RemoveAt(0);
        headSequence++;
    }
    mutex.Unlock();
    return item;
}

uint64_t CConsole::CEventQueue::Received() {
    mutex.Lock(INFINITE);
    uint64_t count = pushed;
    mutex.Unlock();
    return count;
}

void CConsole::CEventQueue::Flush(uint64_t mark) {
    mutex.Lock(INFINITE);
    while (Count() > 0 && headSequence < mark && !(At(0) != nullptr && At(0)->kind == TEvent::KindClosed)) {
        delete RemoveAt(0);
        headSequence++;
    }
    mutex.Unlock();
}

// ---- Construction ----

CConsole::CConsole()
    : cursorSize(1), attribute(0x07), pendingReply(nullptr), readerEnded(false),
      terminal(nullptr), outputRect{0, 0, 0, 0}, shadow(80, 25), receiveBuffer(nullptr) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    // The host's channel is the program's alone: a program started from the
    // command line that inherited it could write into the protocol, and one
    // left running would keep the host from seeing this program end.
    SetHandleInformation(out, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(in, HANDLE_FLAG_INHERIT, 0);
    output.Attach(out);
    input.Attach(in);
    Start();
}

CConsole::CConsole(HANDLE inputHandle, HANDLE outputHandle)
    : cursorSize(1), attribute(0x07), pendingReply(nullptr), readerEnded(false),
      terminal(nullptr), outputRect{0, 0, 0, 0}, shadow(80, 25), receiveBuffer(nullptr) {
    output.Attach(outputHandle);
    input.Attach(inputHandle);
    Start();
}

CConsole::~CConsole() {
    DetachTerminal();
    Flush();
    {
        TRequestHold hold(requestLock);
        stopping = true;
    }
    stopEvent.Set();
    flushWake.Set();
    flusherThread.WaitAndClose();
    readerThread.WaitAndClose();
    delete pendingReply;
    delete[] receiveBuffer;
}

namespace {

// What the console of the run gathered goes out when the program ends.
void FlushAtExit() {
    if (Console != nullptr) {
        Console->Flush();
    }
}

}  // namespace

void CConsole::Start() {
    static bool exitFlushRegistered = std::atexit(FlushAtExit) == 0;
    (void)exitFlushRegistered;
    output.SetBufferCapacity(OutputBufferSize);
    flusherThread.Reset(StartThread(FlusherThread, this));
    receiveBuffer = new uint8_t[ReceiveBufferSize];
    HANDLE thread = StartThread(ReaderThread, this);
    if (thread == nullptr) {
        // Without a reader no reply and no key can come: the host counts as gone.
        readerEnded = true;
        replyEvent.Set();
        QueueCloseEvent();
    }
    readerThread.Reset(thread);
    Handshake();
}

void CConsole::Handshake() {
    CParameterList init;
    init.AddInteger(1);
    CParameterList* reply = Call(ConsoleOpInit, init);
    int32_t accepted = 0;
    if (reply != nullptr && reply->GetInteger(0, accepted) && accepted != 0) {
        delete reply;
        CParameterList none;
        reply = Call(ConsoleOpGetScreenSize, none);
        int32_t columns = 0, rows = 0;
        if (reply != nullptr && reply->GetInteger(0, columns) && reply->GetInteger(1, rows) &&
            SensibleSize(columns, rows)) {
            shadow.Resize(columns, rows);
        }
    }
    delete reply;
}

// ---- Framing ----

void CConsole::WriteParameter(const CParameter& parameter) {
    unsigned char type[2] = {static_cast<unsigned char>(parameter.GetType()), 0};
    output.Write(type, 2);
    parameter.WriteData(output);
}

void CConsole::SendRequest(uint16_t opcode, CParameterList& list) {
    TRequestHold hold(requestLock);
    const int count = list.Count();
    unsigned char head[6] = {static_cast<unsigned char>(CONSOLE_MAGIC_CALL & 0xFF),
                             static_cast<unsigned char>(CONSOLE_MAGIC_CALL >> 8),
                             static_cast<unsigned char>(opcode & 0xFF),
                             static_cast<unsigned char>(opcode >> 8),
                             static_cast<unsigned char>(count & 0xFF),
                             static_cast<unsigned char>(count >> 8)};
    output.Write(head, 6);
    for (int i = 0; i < count; ++i) {
        WriteParameter(*list.At(i));
    }
    if (!outputWaiting) {
        outputWaiting = true;
        flushWake.Set();
    }
}

void CConsole::FlushLocked() {
    output.Flush();
    outputWaiting = false;
}

void CConsole::Flush() {
    TRequestHold hold(requestLock);
    FlushLocked();
}

unsigned __stdcall CConsole::FlusherThread(void* self) {
    static_cast<CConsole*>(self)->FlusherLoop();
    return 0;
}

void CConsole::FlusherLoop() {
    for (;;) {
        flushWake.Wait(INFINITE);
        flushWake.Reset();
        // A request gathered from here on is written by the flush below or
        // sets the event again.
        if (stopEvent.Wait(FlushLingerMs) == WAIT_OBJECT_0) {
            return;
        }
        TRequestHold hold(requestLock);
        if (stopping) {
            return;
        }
        if (outputWaiting) {
            FlushLocked();
        }
    }
}

bool CConsole::ReadExact(void* buffer, uint32_t n) {
    uint32_t got = 0;
    return input.Read(buffer, n, &got) == 0 && got == n;
}

int CConsole::ReadFrame(uint16_t& magic, CParameterList& list) {
    list.FreeAll();
    uint8_t head[4];
    if (!ReadExact(head, 4)) {
        return 0;
    }
    magic = U16(head);
    if (magic != CONSOLE_MAGIC_CALL && magic != CONSOLE_MAGIC_EVENT) {
        return 0;
    }
    const uint16_t count = U16(head + 2);
    for (uint16_t i = 0; i < count; ++i) {
        if (!ReadExact(receiveBuffer, 4)) {
            return 0;
        }
        const uint32_t length = U16(receiveBuffer + 2);
        if (length > 0 && !ReadExact(receiveBuffer + 4, length)) {
            return 0;
        }
        const uint8_t* cursor = receiveBuffer;
        uint32_t remaining = 4 + length;
        ParseParameter(list, cursor, remaining);
    }
    return 1;
}

// ---- The reader thread ----

unsigned __stdcall CConsole::ReaderThread(void* self) {
    static_cast<CConsole*>(self)->ReaderLoop();
    return 0;
}

void CConsole::ReaderLoop() {
    CParameterList* list = new CParameterList;
    uint16_t magic = 0;
    while (ReadFrame(magic, *list)) {
        if (magic == CONSOLE_MAGIC_EVENT) {
            QueueInputEvent(*list);
            continue;
        }
        CLockHold hold(replyLock);
        if (pendingReply == nullptr) {
            pendingReply = list;
            list = new CParameterList;
            replyEvent.Set();
        }
        // Else a reply is still waiting to be taken: this one is dropped.
    }
    delete list;
    QueueCloseEvent();
    // A request waiting now, or sent later, gets no answer: release it.
    CLockHold hold(replyLock);
    readerEnded = true;
    replyEvent.Set();
}

void CConsole::QueueInputEvent(const CParameterList& list) {
    int32_t fields[6] = {0, 0, 0, 0, 0, 0};
    const int n = list.Count() >= 6 ? 6 : list.Count();
    if (n < 5) {
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (!list.GetInteger(i, fields[i])) {
            return;
        }
    }
    TEvent event{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    if (event.kind == TEvent::KindResized) {
        if (!SensibleSize(event.x, event.y)) {
            // No screen has that size: a broken frame, not a request to lay
            // the screen out for millions of cells.
            return;
        }
    } else {
        event.x = ClampCoordinate(event.x);
        event.y = ClampCoordinate(event.y);
    }
    if (event.kind == TEvent::KindKey && (event.code == KEY_CTRL_C || event.code == KEY_CTRL_BREAK)) {
        BOOL (*hook)(DWORD) = ConsoleControlKeyHook.load();
        if (hook != nullptr && hook(event.code == KEY_CTRL_C ? CTRL_C_EVENT : CTRL_BREAK_EVENT)) {
            return;
        }
    }
    queue.Push(new TEvent(event));
}

void CConsole::QueueCloseEvent() {
    queue.Push(new TEvent{TEvent::KindClosed, 0, 0, 0, 0, 0});
}

CParameterList* CConsole::WaitReply() {
    if (replyEvent.Wait(INFINITE) != WAIT_OBJECT_0) {
        return nullptr;
    }
    CLockHold hold(replyLock);
    CParameterList* reply = pendingReply;
    pendingReply = nullptr;
    if (!readerEnded) {
        replyEvent.Reset();
    }
    return reply;
}

CParameterList* CConsole::Call(uint16_t opcode, CParameterList& list) {
    TRequestHold hold(requestLock);
    SendRequest(opcode, list);
    FlushLocked();
    return WaitReply();
}

// ---- Requests ----

void CConsole::SetCursorPos(int x, int y) {
    TRequestHold hold(requestLock);
    shadow.cursorX = x;
    shadow.cursorY = y;
    CParameterList list;
    list.AddInteger(x);
    list.AddInteger(y);
    SendRequest(ConsoleOpSetCursorPos, list);
}

void CConsole::SetCodePage(UINT codePage) {
    TRequestHold hold(requestLock);
    shadow.SetCodePage(codePage);
    CParameterList list;
    list.AddInteger(static_cast<int32_t>(codePage));
    SendRequest(ConsoleOpSetCodePage, list);
}

bool CConsole::SetScreenSize(int columns, int rows) {
    if (!SensibleSize(columns, rows)) {
        return false;
    }
    TRequestHold hold(requestLock);
    CParameterList list;
    list.AddInteger(columns);
    list.AddInteger(rows);
    CParameterList* reply = Call(ConsoleOpSetScreenSize, list);
    int32_t accepted = 0;
    bool ok = reply != nullptr && reply->Count() == 1 && reply->GetInteger(0, accepted) && accepted != 0;
    delete reply;
    // The shadow follows only a size the host took, so it never describes a
    // screen the host does not have.
    if (ok) {
        shadow.Resize(columns, rows);
    }
    return ok;
}

bool CConsole::FollowScreenSize(int columns, int rows) {
    if (!SensibleSize(columns, rows)) {
        return false;
    }
    if (SetScreenSize(columns, rows)) {
        return true;
    }
    TRequestHold hold(requestLock);
    shadow.Resize(columns, rows);
    return true;
}

void CConsole::FillRect(int x, int y, int width, int height, uint8_t attr) {
    TRequestHold hold(requestLock);
    shadow.FillRect(x, y, width, height, attr);
    CParameterList list;
    list.AddInteger(x);
    list.AddInteger(y);
    list.AddInteger(width);
    list.AddInteger(height);
    list.AddAttribute(attr);
    SendRequest(ConsoleOpFill, list);
}

void CConsole::ClearScreen() {
    TRequestHold hold(requestLock);
    shadow.Clear(attribute);
    CParameterList list;
    SendRequest(ConsoleOpFill, list);
}

void CConsole::ScrollUp(int x, int y, int width, int height, int lines, uint8_t attr) {
    TRequestHold hold(requestLock);
    shadow.ScrollUp(x, y, width, height, lines, attr);
    SendScroll(ConsoleOpScrollUp, x, y, width, height, lines, attr);
}

void CConsole::ScrollDown(int x, int y, int width, int height, int lines, uint8_t attr) {
    TRequestHold hold(requestLock);
    shadow.ScrollDown(x, y, width, height, lines, attr);
    SendScroll(ConsoleOpScrollDown, x, y, width, height, lines, attr);
}

void CConsole::SendScroll(uint16_t opcode, int x, int y, int width, int height, int lines, uint8_t attr) {
    CParameterList list;
    const int32_t values[] = {x, y, width, height, lines};
    for (int32_t value : values) {
        list.AddInteger(value);
    }
    list.AddAttribute(attr);
    SendRequest(opcode, list);
}

void CConsole::SetTitle(const Westring& title) {
    CParameterList list;
    list.AddUnicodeString(title);
    SendRequest(ConsoleOpSetTitle, list);
}

void CConsole::SetTitleA(const Estring& title) {
    CParameterList list;
    list.AddString(title);
    SendRequest(ConsoleOpSetTitle, list);
}

void CConsole::SetCursorShape(int size) {
    TRequestHold hold(requestLock);
    shadow.cursorSize = size;
    if (size == cursorSize) {
        return;
    }
    cursorSize = size;
    CParameterList list;
    list.AddInteger(size);
    SendRequest(ConsoleOpSetCursorShape, list);
}

void CConsole::SetAttribute(uint8_t attr) {
    TRequestHold hold(requestLock);
    shadow.attribute = attr;
    attribute = attr;
    CParameterList list;
    list.AddAttribute(attr);
    SendRequest(ConsoleOpSetAttribute, list);
}

void CConsole::WriteText(int x, int y, const char* text, uint8_t attr) {
    TRequestHold hold(requestLock);
    if (!shadow.WriteText(x, y, text, attr)) {
        return;
    }
    CParameterList list;
    list.AddInteger(x);
    list.AddInteger(y);
    list.AddString(Estring(text));
    list.AddAttribute(attr);
    SendRequest(ConsoleOpWrite, list);
}

void CConsole::WriteWideText(int x, int y, const Westring& text, uint8_t attr) {
    TRequestHold hold(requestLock);
    if (!shadow.WriteWideText(x, y, text.Data(), attr)) {
        return;
    }
    CParameterList list;
    list.AddInteger(x);
    list.AddInteger(y);
    list.AddUnicodeString(text);
    list.AddAttribute(attr);
    SendRequest(ConsoleOpWrite, list);
}

void CConsole::WriteCells(int x, int y, const CellString& cells) {
    TRequestHold hold(requestLock);
    if (!shadow.WriteCells(x, y, cells.Data(), cells.Length())) {
        return;
    }
    // The run ends at a cell whose character is 0, as the shadow took it.
    int n = 0;
    while (n < cells.Length() && cells.Data()[n].character != 0) {
        ++n;
    }
    CParameterList list;
    list.AddInteger(x);
    list.AddInteger(y);
    list.AddCellString(n == cells.Length() ? cells : cells.Left(n));
    SendRequest(ConsoleOpWrite, list);
}

void CConsole::RepeatCell(int x, int y, int count, const TCell& cell) {
    TRequestHold hold(requestLock);
    if (!shadow.RepeatCell(x, y, count, cell)) {
        return;
    }
    CellString one;
    one += cell;
    CParameterList list;
    list.AddInteger(x);
    list.AddInteger(y);
    list.AddInteger(count);
    list.AddCellString(one);
    SendRequest(ConsoleOpRepeatCell, list);
}

void CConsole::SetAttributes(int x, int y, int count, uint8_t attr) {
    TRequestHold hold(requestLock);
    if (!shadow.SetAttributes(x, y, count, attr)) {
        return;
    }
    CParameterList list;
    list.AddInteger(x);
    list.AddInteger(y);
    list.AddInteger(count);
    list.AddAttribute(attr);
    SendRequest(ConsoleOpSetAttributes, list);
}

void CConsole::PutCellRect(int x, int y, int width, int height, const TCell* cells) {
    if (cells == nullptr || width < 1 || height < 1) {
        return;
    }
    TRequestHold hold(requestLock);
    shadow.PutRect(x, y, width, height, cells);
    SendPutCellRect(x, y, width, height, cells);
}

void CConsole::SendPutCellRect(int x, int y, int width, int height, const TCell* cells) {
    // A record carries at most 65535 bytes: a large rectangle goes as bands of
    // whole rows, each band one request.
    int first = 0;
    while (first < height) {
        int rows = 1;
        uint32_t payload = CellPayloadLength(cells + first * width, width);
        while (first + rows < height) {
            uint32_t more = CellPayloadLength(cells + (first + rows) * width, width) - 1;
            if (payload + more > ConsoleMaxPayload) {
                break;
            }
            payload += more;
            ++rows;
        }
        CellString band(rows * width);
        band.AppendCells(cells + first * width, rows * width);
        CParameterList list;
        list.AddInteger(x);
        list.AddInteger(y + first);
        list.AddInteger(width);
        list.AddInteger(rows);
        list.AddCellString(band);
        SendRequest(ConsoleOpPutCellRect, list);
        first += rows;
    }
}

void CConsole::SetClipboardText(const Westring& text) {
    CParameterList list;
    list.AddUnicodeString(text);
    SendRequest(ConsoleOpSetClipboard, list);
}

void CConsole::SetClipboardTextA(const Estring& text) {
    CParameterList list;
    list.AddString(text);
    SendRequest(ConsoleOpSetClipboard, list);
}

bool CConsole::GetClipboardText(Westring& text) {
    CParameterList list;
    CParameterList* reply = Call(ConsoleOpGetClipboard, list);
    int32_t hasText = 0;
    Westring received;
    bool ok = reply != nullptr && reply->Count() == 2 && reply->GetInteger(0, hasText) && hasText != 0 &&
              GetUnicodeStringParameter(reply->At(1), received);
    delete reply;
    if (ok) {
        text = received;
    }
    return ok;
}

void CConsole::WriteTty(const char* text) {
    if (text == nullptr) {
        return;
    }
    if (terminal != nullptr) {
        terminal->Write(text);
        return;
    }
    TRequestHold hold(requestLock);
    shadow.WriteTty(text);
    CParameterList list;
    list.AddString(Estring(text));
    SendRequest(ConsoleOpWriteTty, list);
}

void CConsole::Beep() {
    CParameterList list;
    SendRequest(ConsoleOpBeep, list);
}

void CConsole::SetOutputRect(const TOutputRect& rect) {
    TRequestHold hold(requestLock);
    outputRect = rect;
    CParameterList list;
    const int32_t corners[] = {rect.x1, rect.y1, rect.x2, rect.y2};
    for (int32_t value : corners) {
        list.AddInteger(value);
    }
    SendRequest(ConsoleOpSetOutputRegion, list);
}

void CConsole::SetOutputRegion(int x, int y, int width, int height) {
    SetOutputRect(TOutputRect{x, y, x + width - 1, y + height - 1});
}

void CConsole::ResetOutputRegion() {
    TRequestHold hold(requestLock);
    outputRect = TOutputRect{0, 0, 0, 0};
    CParameterList list;
    SendRequest(ConsoleOpResetOutputRegion, list);
}

void CConsole::SendOp1() {
    CParameterList list;
    SendRequest(ConsoleOp1, list);
}

void CConsole::SendOp2() {
    CParameterList list;
    SendRequest(ConsoleOp2, list);
}

// ---- Queries ----

void CConsole::GetCursorPos(int& x, int& y) {
    TRequestHold hold(requestLock);
    x = shadow.cursorX;
    y = shadow.cursorY;
}

void CConsole::GetScreenSize(int& columns, int& rows) {
    TRequestHold hold(requestLock);
    columns = shadow.Width();
    rows = shadow.Height();
}

void CConsole::GetOutputRect(TOutputRect& rect) {
    TRequestHold hold(requestLock);
    rect = outputRect;
}

void CConsole::CopyRect(CellString& cells, int x, int y, int width, int height) {
    TRequestHold hold(requestLock);
    shadow.CopyRect(cells, x, y, width, height);
}

TCell* CConsole::SaveRect(int x, int y, int width, int height) {
    TRequestHold hold(requestLock);
    return shadow.SaveRect(x, y, width, height);
}

// ---- The attached terminal ----

void CConsole::AttachTerminal(int fd) {
    DetachTerminal();
    terminal = new TerminalEmulator(*this, fd);
    keyFeederThread.Reset(StartThread(KeyFeederThread, this));
}

void CConsole::DetachTerminal() {
    if (terminal == nullptr) {
        return;
    }
    if (keyFeederThread.IsValid()) {
        queue.Push(nullptr);
        keyFeederThread.WaitAndClose();
    }
    delete terminal;
    terminal = nullptr;
    // A new size that came while attached is the main loop's to lay out.
    if (pendingResize != nullptr) {
        queue.Push(pendingResize);
        pendingResize = nullptr;
    }
}

unsigned __stdcall CConsole::KeyFeederThread(void* self) {
    static_cast<CConsole*>(self)->KeyFeederLoop();
    return 0;
}

void CConsole::KeyFeederLoop() {
    for (;;) {
        TEvent* item = queue.Pop(INFINITE);
        if (item == nullptr || terminal == nullptr) {
            delete item;
            return;
        }
        const bool closed = item->kind == TEvent::KindClosed;
        if (item->kind == TEvent::KindKey) {
            terminal->EncodeKey(item->code);
        }
        if (item->kind == TEvent::KindResized) {
            if (TerminalHooks.resized != nullptr) {
                TerminalHooks.resized(item->x, item->y);
            }
            // Kept for the main loop, which sees it once the child is done.
            delete pendingResize;
            pendingResize = item;
            continue;
        }
        delete item;
        if (closed) {
            // No key comes after the host has gone; the close event stays
            // queued for the main thread.
            return;
        }
    }
}

// ---- Input ----

bool CConsole::GetEvent(TEvent& event, DWORD timeout) {
    Flush();
    TEvent* item = queue.Pop(timeout);
    if (item == nullptr) {
        return false;
    }
    event = *item;
    delete item;
    return true;
}

bool CConsole::HasPendingEvents() {
    Flush();
    return !queue.IsEmpty();
}

void CConsole::FlushEvents() {
    queue.Flush(UINT64_MAX);
}

uint64_t CConsole::EventsReceived() {
    return queue.Received();
}

void CConsole::FlushEventsReceivedBefore(uint64_t mark) {
    queue.Flush(mark);
}
