// The host's copy of the screen: cells, attributes, cursor, title and
// clipboard, changed by the program's requests. The terminal host paints it;
// the scripted host lets tests read it.
#pragma once

#include "host/HostFrames.h"

#include <string>
#include <vector>

namespace qvhost {

class ScreenModel {
public:
    ScreenModel(int columns, int rows);

    // Applies one request. Returns true and fills `reply` with the encoded reply
    // frame for the requests that wait for one (init, screen size, clipboard).
    bool Apply(const Request& request, std::string& reply);

    void Resize(int columns, int rows);

    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    const Cell& At(int x, int y) const { return m_cells[static_cast<size_t>(y) * m_columns + x]; }
    // The characters of one row (or part of it) as UTF-8.
    std::string RowText(int y, int x = 0, int width = -1) const;
    int CursorX() const { return m_cursorX; }
    int CursorY() const { return m_cursorY; }
    int CursorSize() const { return m_cursorSize; }
    const std::u32string& Title() const { return m_title; }
    const std::u32string& Clipboard() const { return m_clipboard; }
    void SetClipboard(const std::u32string& text) { m_clipboard = text; }
    int Beeps() const { return m_beeps; }

    // Rows touched since the last call, for painting only what changed.
    std::vector<bool> TakeDirtyRows();
    bool TakeTitleChanged();

    // Whether the host accepts a size the program asks for; the terminal host
    // accepts only its own size, the scripted host any sensible one.
    void SetSizeFixed(bool fixed) { m_sizeFixed = fixed; }

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_columns && y < m_rows; }
    void Put(int x, int y, char32_t ch, uint8_t attr);
    void SetAttr(int x, int y, uint8_t attr);
    void FillRect(int x, int y, int w, int h, uint8_t attr);
    void Scroll(int x, int y, int w, int h, int lines, uint8_t attr, bool up);
    void WriteTty(const std::u32string& text);
    void MarkDirty(int y);

    int m_columns;
    int m_rows;
    std::vector<Cell> m_cells;
    std::vector<bool> m_dirty;
    int m_cursorX = 0;
    int m_cursorY = 0;
    int m_cursorSize = 25;
    uint8_t m_attribute = 0x07;
    std::u32string m_title;
    bool m_titleChanged = false;
    std::u32string m_clipboard;
    int m_beeps = 0;
    bool m_sizeFixed = false;
    // Output region of the teletype output (inclusive corners).
    int m_regionX1 = 0, m_regionY1 = 0, m_regionX2 = -1, m_regionY2 = -1;
};

}  // namespace qvhost
