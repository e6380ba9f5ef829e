// ShadowScreen: the console client's copy of every cell on the host's screen.
//
// CConsole applies each drawing request here first; text, cell and attribute
// writes report whether a cell really changed, and only then is the request
// sent, so that redrawing an unchanged window costs nothing. The shadow also
// answers what the host is never asked: the screen size, the cursor, and the
// cells of a rectangle (windows save the area beneath them from it).
//
// Characters are stored as the screen shows them (ConsoleGlyphs). Every
// operation clips to the screen. No lock of its own: CConsole holds its lock.
#pragma once

#include <cstdint>

#include "base/strings/CellString.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

class ShadowScreen {
public:
    ShadowScreen(int columns, int rows);
    ~ShadowScreen();
    ShadowScreen(const ShadowScreen&) = delete;
    ShadowScreen& operator=(const ShadowScreen&) = delete;

    // Blanks in attribute 7; the cursor stays where it was.
    void Resize(int columns, int rows);
    // 0 keeps the code page (0 at first: the system's default).
    void SetCodePage(UINT codePage);

    void FillRect(int x, int y, int width, int height, uint8_t attribute);
    void Clear(uint8_t attribute);
    void ScrollUp(int x, int y, int width, int height, int lines, uint8_t attribute);
    void ScrollDown(int x, int y, int width, int height, int lines, uint8_t attribute);
    // The write operations return true when at least one cell's character or
    // attribute changed. 8-bit text is in the shadow's code page.
    bool WriteText(int x, int y, const char* text, uint8_t attribute);
    bool WriteWideText(int x, int y, const char32_t* text, uint8_t attribute);
    // Up to n cells (a negative n: up to the cell whose character is 0).
    bool WriteCells(int x, int y, const TCell* cells, int n = -1);
    bool RepeatCell(int x, int y, int n, const TCell& cell);
    bool SetAttributes(int x, int y, int n, uint8_t attribute);
    void CopyRect(CellString& cells, int x, int y, int width, int height) const;
    // A new array of width x height cells, row after row, freed by the caller
    // with delete[]; cells outside the screen come as blanks in attribute 7.
    TCell* SaveRect(int x, int y, int width, int height) const;
    // width x height cells, row after row, copied as they are.
    void PutRect(int x, int y, int width, int height, const TCell* cells);
    // Teletype output of UTF-8 text at the cursor in the current attribute.
    void WriteTty(const char* text);

    int Width() const { return width; }
    int Height() const { return height; }
    const TCell& At(int x, int y) const { return cells[y * width + x]; }
    int cursorX;
    int cursorY;
    int cursorSize;
    uint8_t attribute;

private:
    class CTeletype;
    TCell* Row(int y) { return cells + y * width; }
    bool WriteUnits(int x, int y, const char32_t* text, int n, uint8_t attribute);
    void LineFeed();

    TCell* cells;
    UINT codePage;
    int width;
    int height;
};
