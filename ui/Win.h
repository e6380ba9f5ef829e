// Win: a rectangle of the screen that a panel, dialog, menu, message box,
// progress window or viewer draws into.
//
// A window remembers the cells it covers so that it can put them back when it
// is hidden or destroyed, may carry a double-line frame and a shadow, and
// offers writers that take client coordinates (inside the frame, (0, 0) being
// the first cell of the client area; row -1 of a framed window is its top frame
// line, where titles go). Everything is drawn through the console client.
//
// Placement (the first four constructor arguments):
//   x >= 0: left = x, right = a (inclusive).  x < 0: a is the width, centred.
//   y >= 0: top = y, bottom = b (inclusive).  y < 0: b is the height and the
//   window starts (b - rows) / y rows down: -1 bottom rows, -2 centred, -3 a
//   third and -4 a quarter of the free rows above it.
// A window is always kept on the screen: a rectangle that would reach past an
// edge is cut at it, and writers never draw outside the screen (they may draw
// over the frame or outside the window, which callers avoid).
//
// Framed windows (dialogs, menus, boxes, panels) lie over the windows made
// before them (or shown again after them). A window that draws where such a
// later window lies, and is not hidden, draws into that window's saved cells
// instead of over it: the panel row redrawn while a dialog is open shows as
// drawn once the dialog is gone, and the dialog is not scribbled over
// meanwhile. Under a later window's shadow the new cells show darkened.
// Windows without a frame (the key bar, the clock, the viewer's and the
// editor's screens) keep nothing for the others: what lies beside or over
// them draws on the screen. Scrolling draws on the screen in any case.
#pragma once

#include <cstdint>

#include "base/strings/CellString.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

// The attribute a window takes when it is built with attribute < 0. Nothing
// changes it; it is there so callers can ask for "leave the area as it is".
extern uint8_t DefaultWindowAttribute;

class Win {
public:
    // attribute < 0: the area keeps its contents (the window takes the default
    // attribute); otherwise it is cleared in the attribute. frameAttribute < 0:
    // no frame (and then no shadow either).
    Win(int x, int y, int a, int b, int attribute, int frameAttribute, int noShadow);
    virtual ~Win();
    Win(const Win&) = delete;
    Win& operator=(const Win&) = delete;

    // Hiding puts back what lay beneath and keeps the window's own cells;
    // showing swaps them again. Nothing when the state already matches.
    void SetHidden(bool hide);
    bool IsHidden() const { return hidden != 0; }

    void SetOrigin(int x, int y);
    // The window cursor, and the console cursor to the same cell.
    void GotoXY(int x, int y);
    // Screen point to client point in place; true when the screen point lay
    // inside the window (frame included, shadow excluded).
    bool ScreenToClient(int& x, int& y) const;

    // Writers: client coordinates; the window cursor ends just after the text.
    void WriteText(int x, int y, const char* text, uint8_t attr);
    void WriteTextDefault(int x, int y, const char* text) { WriteText(x, y, text, attribute); }
    void WriteTextAtCursor(const char* text) { WriteText(cursorX, cursorY, text, attribute); }
    void WriteTextAtCursor(const char* text, uint8_t attr) { WriteText(cursorX, cursorY, text, attr); }

    void WriteWide(int x, int y, const Westring& text, uint8_t attr);
    void WriteWideDefault(int x, int y, const Westring& text) { WriteWide(x, y, text, attribute); }
    void WriteWideAtCursor(const Westring& text) { WriteWide(cursorX, cursorY, text, attribute); }
    void WriteWideAtCursor(const Westring& text, uint8_t attr) { WriteWide(cursorX, cursorY, text, attr); }

    // x = (client width - length) / 2; row -1 of a framed window is its title line.
    void WriteCentred(int y, const char* text, uint8_t attr);
    void WriteCentredDefault(int y, const char* text) { WriteCentred(y, text, attribute); }
    void WriteWideCentred(int y, const Westring& text, uint8_t attr);
    void WriteWideCentredDefault(int y, const Westring& text) { WriteWideCentred(y, text, attribute); }

    // The text ends just left of column x.
    void WriteRight(int x, int y, const char* text, uint8_t attr);
    void WriteRightDefault(int x, int y, const char* text) { WriteRight(x, y, text, attribute); }

    // Writes the text, then marks the first occurrence of each key letter
    // (lower-case form first, then upper-case) in the hot-key colour.
    void WriteHotKeyText(int x, int y, const char* text, const char* keys, uint8_t attr);
    void WriteHotKeyTextDefault(int x, int y, const char* text, const char* keys) {
        WriteHotKeyText(x, y, text, keys, attribute);
    }

    // Cells up to the first cell whose character is 0.
    void WriteCells(int x, int y, const TCell* cells);
    void WriteAttrString(int x, int y, const CellString& cells);
    void WriteCellsAtCursor(const TCell* cells) { WriteCells(cursorX, cursorY, cells); }
    void WriteCellsAtCursor(const CellString& cells) { WriteAttrString(cursorX, cursorY, cells); }
    // w x h cells of the string, row after row.
    void PutCellRect(int x, int y, int w, int h, const CellString& cells);

    // Word-wrapped text in the window attribute: the first line from column x,
    // later lines from column 0, one row further down each; a line never
    // fills the last client column.
    void WriteWrapped(int x, int y, const Westring& text);
    void WriteWrappedText(int x, int y, const char* utf8);

    // Blanks from the window cursor to the right edge of the client area.
    void ClearToEol(uint8_t attr);
    void ClearToEolDefault() { ClearToEol(attribute); }
    // Blanks client rows from `topRows` down to the row `bottomRows` above the
    // last client row, in the window attribute.
    void ClearRows(int topRows, int bottomRows);
    void Clear() { ClearRows(0, 0); }
    // Scrolls a client rectangle up n lines (n > 0) or down -n lines; new lines
    // are blank in the window attribute.
    void Scroll(int x, int y, int w, int h, int n);

    // The shadow rule on a run of cells: black background, the foreground
    // darkened (f - 8 when bright, else 8).
    static void DimCells(CellString& cells);

    int Left() const { return left; }
    int Top() const { return top; }
    int Right() const { return right; }
    int Bottom() const { return bottom; }
    int OriginX() const { return originX; }
    int OriginY() const { return originY; }
    int CursorX() const { return cursorX; }
    int CursorY() const { return cursorY; }
    int ClientWidth() const { return right - left + 1 - (frame ? 2 : 0); }
    int ClientHeight() const { return bottom - top + 1 - (frame ? 2 : 0); }
    uint8_t Attribute() const { return attribute; }
    void SetAttribute(uint8_t attr) { attribute = attr; }
    bool HasFrame() const { return frame != 0; }
    bool HasShadow() const { return shadow != 0; }

protected:
    // Redraws the frame in the attribute (client origin moves one cell in).
    void DrawFrame(uint8_t frameAttr);

private:
    void SaveWidth(int& w, int& h) const;
    void DrawShadow();
    // Writes cells clipped to the screen; x, y are screen coordinates.
    void PutScreenCells(int sx, int sy, const CellString& cells);
    // Whether a later window, not hidden, keeps saved cells somewhere in the
    // screen rectangle: the writers then draw through Output.
    bool Covered(int sx, int sy, int w, int h) const;
    // Calls f on each window that lies over this one (see LiesOver), from
    // the lowest up, until f returns true; whether it did.
    template <class F>
    bool AnyWindowOver(F f) const;
    // Whether this window keeps what earlier windows draw under it.
    bool LiesOver() const { return frame != 0 && hidden == 0; }
    // A run of cells on one screen row (within the screen), each drawn on
    // the screen or kept by the later window that lies over it.
    void Output(int sx, int sy, const CellString& cells);
    // The cell this window draws at a screen cell as it reaches the screen:
    // false when a later window keeps it (the cell is then in its saved
    // cells), true when it is to be drawn, darkened by the shadows it lies
    // under.
    bool PassUnderLaterWindows(int sx, int sy, TCell& cell) const;
    // The saved cell of this window at a screen cell, null outside its
    // saved area; whether that cell lies under the window itself, and whether
    // under its shadow.
    TCell* SavedCellAt(int sx, int sy, bool& body, bool& shaded);

    TCell* savedCells;
    int left, top, right, bottom;
    int originX, originY;
    int cursorX, cursorY;
    uint8_t attribute;
    uint8_t shadow;
    uint8_t frame;
    uint8_t hidden;
};
