// The frames spoken with the console host: the two magics and the opcodes of
// the requests. Every integer on the wire is little-endian; a request is a
// 6-byte head (magic, opcode, record count), a reply or an event a 4-byte head
// (magic, record count), each followed by typed parameter records.
#pragma once

#include <cstdint>

const uint16_t CONSOLE_MAGIC_CALL = 0xFBBF;   // a request, and the host's reply
const uint16_t CONSOLE_MAGIC_EVENT = 0xFDDF;  // an input event from the host

// A parameter record's payload length is a 16-bit field.
const uint32_t ConsoleMaxPayload = 0xFFFF;

enum ConsoleOpcode : uint16_t {
    ConsoleOpInit = 0,             // int 1; waits: int, non-zero when accepted
    ConsoleOp1 = 1,                // no parameters; no meaning fixed
    ConsoleOp2 = 2,                // no parameters; no meaning fixed
    ConsoleOpSetCursorPos = 4,     // int x, int y
    ConsoleOpSetCodePage = 5,      // int code page of later 8-bit texts
    ConsoleOpGetScreenSize = 6,    // waits: int columns, int rows
    ConsoleOpSetScreenSize = 7,    // int columns, int rows; waits: int accepted
    ConsoleOpFill = 8,             // x, y, w, h, attr; or none: the whole screen
    ConsoleOpScrollUp = 9,         // x, y, w, h, lines, attr
    ConsoleOpScrollDown = 10,      // x, y, w, h, lines, attr
    ConsoleOpSetTitle = 11,        // text32 or text8
    ConsoleOpSetCursorShape = 12,  // int size, 0 hides the cursor
    ConsoleOpSetAttribute = 14,    // attr: for the whole-screen fill and teletype output
    ConsoleOpWrite = 15,           // x, y, text8 + attr, text32 + attr, or cells
    ConsoleOpRepeatCell = 16,      // x, y, count, one cell
    ConsoleOpSetAttributes = 17,   // x, y, count, attr
    ConsoleOpPutCellRect = 19,     // x, y, w, h, w x h cells row after row
    ConsoleOpSetClipboard = 20,    // text32 or text8
    ConsoleOpGetClipboard = 21,    // waits: int has-text, text32
    ConsoleOpWriteTty = 22,        // text8 at the cursor, teletype style
    ConsoleOpBeep = 23,
    ConsoleOpSetOutputRegion = 24,  // x1, y1, x2, y2 inclusive
    ConsoleOpResetOutputRegion = 26,
};
