// TerminalEmulator: draws the output of a child program, bytes with the
// control sequences of a VT100/xterm terminal, through the console client, and
// turns the system's key codes into the bytes such a program reads.
//
// The emulator keeps no cursor of its own between chunks: the console's shadow
// holds it. The characters of the cursor's row are gathered in a copy of that
// row and put back as one cell rectangle when the cursor leaves the row and at
// the end of every chunk, so a burst of output costs one request per row
// touched. Line feeds on the region's last row gather the rows they bring in
// and scroll once for all of them. Colours, modes, the scroll region, the saved cursor, the alternate
// screen and a sequence cut at the end of a chunk last across chunks.
//
// Replies (the cursor report) and encoded keys go to a C runtime descriptor;
// a descriptor <= 0 means none: descriptor 0 is the program's own standard
// input, the host's channel, and never a child's.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "base/strings/CellString.h"
#include "base/strings/Estring.h"

class CConsole;

// What the emulator needs from the layers above the console: the scroll-back
// buffer, the "ConsoleScrollback" setting and the "Command Line" colour. The
// program fills them at start-up; null members mean no scroll-back and light
// grey on black.
struct TTerminalHooks {
    // True when screen rows scrolled off are to be kept.
    bool (*scrollBackOn)();
    // Copies one screen row from the console to the end of the scroll-back.
    void (*appendScrollBackRow)(int row);
    // The attribute output starts in and SGR 0 returns to.
    uint8_t (*defaultAttribute)();
    // The screen took a new size while a child runs (called on the key
    // feeder's thread): the child's terminal follows.
    void (*resized)(int columns, int rows);
};
extern TTerminalHooks TerminalHooks;

class TerminalEmulator {
public:
    // fd: where replies and keys go; <= 0 for none.
    TerminalEmulator(CConsole& console, int fd);
    // Puts back the normal screen when the child left the alternate one shown.
    ~TerminalEmulator();
    TerminalEmulator(const TerminalEmulator&) = delete;
    TerminalEmulator& operator=(const TerminalEmulator&) = delete;

    // Interprets one chunk of the child's output, `length` bytes (NUL bytes
    // included, and ignored).
    void Write(const char* bytes, int length);
    // The same for NUL-terminated text.
    void Write(const char* text);
    // Writes the bytes for one key to the descriptor; keys it has no bytes
    // for are dropped.
    void EncodeKey(int keyCode);

    // The bytes kept from the last chunk to finish a cut sequence.
    int PendingLength() const { return pending.Length(); }

    // The longest sequence kept from one chunk for the next; the rest of a
    // longer one is skipped.
    static constexpr int MaxPendingBytes = 4096;

private:
    // Where the bytes of a chunk stand.
    struct TScan {
        const char* data;
        int length;
        int pos;
    };
    enum EScanResult { ScanDone, ScanIncomplete };

    void TakeConsoleState();
    void PutText(const char* run, int length);
    void PutCodePoint(char32_t c);
    void NewLine();
    void ScrollRegionUp(int n);
    void AppendToScrollBack(int n);
    // Sends the scroll that waits and the rows gathered for it.
    void FlushScroll();
    void ScrollRegionDown(int n);
    EScanResult Escape(TScan& scan);
    EScanResult ParseCsi(TScan& scan);
    void SkipLongCsi(TScan& scan);
    void SelectGraphicRendition(const int* params, int count);
    void SetPrivateMode(int mode, bool set);
    void EnterAlternateScreen();
    void LeaveAlternateScreen();
    void SaveCursor();
    void RestoreCursor();
    void MoveTo(int column, int line);
    void ComputeAttribute();
    void Reply(const char* bytes, int length);

    // The row copy: loaded for the cursor's row when a cell is touched.
    TCell* Row();
    void PutRowBack();
    void DropRow();
    void BlankCells(int from, int count);

    void EraseDisplay(int mode);
    void EraseLine(int mode);
    void InsertLines(int n);
    void DeleteLines(int n);
    void ShiftLines(int n, bool down);
    void DeleteCharacters(int n);
    void InsertCharacters(int n);
    void Repeat(int n);

    // The actions of the control-sequence table.
    typedef void (TerminalEmulator::*CsiAction)(const int* params, int count);
    struct TCsiEntry {
        char prefix;  // 0, '?' or '>'
        char final;
        CsiAction action;
    };
    static const TCsiEntry CsiTable[];
    void CsiCursorUp(const int* p, int n);
    void CsiCursorDown(const int* p, int n);
    void CsiCursorRight(const int* p, int n);
    void CsiCursorLeft(const int* p, int n);
    void CsiColumn(const int* p, int n);
    void CsiPosition(const int* p, int n);
    void CsiEraseDisplay(const int* p, int n);
    void CsiEraseLine(const int* p, int n);
    void CsiInsertLines(const int* p, int n);
    void CsiDeleteLines(const int* p, int n);
    void CsiDeleteCharacters(const int* p, int n);
    void CsiInsertCharacters(const int* p, int n);
    void CsiScrollUp(const int* p, int n);
    void CsiScrollDown(const int* p, int n);
    void CsiEraseCharacters(const int* p, int n);
    void CsiRepeat(const int* p, int n);
    void CsiRow(const int* p, int n);
    void CsiSetMode(const int* p, int n);
    void CsiResetMode(const int* p, int n);
    void CsiRendition(const int* p, int n);
    void CsiReport(const int* p, int n);
    void CsiRegion(const int* p, int n);
    void CsiSetPrivate(const int* p, int n);
    void CsiResetPrivate(const int* p, int n);

    CConsole& console;
    int fd;
    int x;
    int y;
    int savedX;
    int savedY;
    uint8_t attribute;
    int width;
    int height;
    TCell* row;  // the cells of row rowY, or null
    int rowY;
    bool rowDirty;  // the copy holds cells the console has not seen
    uint8_t defaultAttribute;
    Estring pending;
    char32_t lastCharacter;
    int foreground;
    int background;
    uint8_t reverse;
    uint8_t bold;
    uint8_t underline;
    uint8_t insertMode;
    // Read by the key-feeder thread while output is written.
    std::atomic<uint8_t> applicationCursorKeys;
    // The normal screen while the alternate one is shown, else null.
    TCell* alternateSaved;
    int alternateWidth;
    int alternateHeight;
    int top;
    int bottom;
    int cursorSize;
    uint8_t lineDrawing;
    // A control sequence longer than MaxPendingBytes is being passed over.
    bool skippingCsi;
    // A scroll of the region by scrolledLines that the console has not seen
    // yet, with the rows it brings in at the region's bottom (row after row,
    // width cells each). It goes out before anything else touches the
    // console, and at the end of every chunk.
    std::vector<TCell> scrolled;
    int scrolledLines;
    // The row copy is the last of those rows, not a copy of its own.
    bool rowPending;
};
