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
    // The cursor as the program placed it, kept on the screen.
    int CursorX() const { return m_cursorX < 0 ? 0 : m_cursorX >= m_columns ? m_columns - 1 : m_cursorX; }
    int CursorY() const { return m_cursorY < 0 ? 0 : m_cursorY >= m_rows ? m_rows - 1 : m_cursorY; }
    // The attributes of one row (or part of it).
    std::vector<uint8_t> RowAttributes(int y, int x = 0, int width = -1) const;
    // The rows as lines of text, each without its trailing blanks, the blank
    // rows at the end left out: what a terminal keeps of a script run.
    std::string TextRows() const;
    // Every row, then the cursor, title and beeps: for test failure messages.
    std::string Dump() const;
    int CursorSize() const { return m_cursorSize; }
    const std::u32string& Title() const { return m_title; }
    const std::u32string& Clipboard() const { return m_clipboard; }
    void SetClipboard(const std::u32string& text) { m_clipboard = text; }
    int Beeps() const { return m_beeps; }

    // Rows touched since the last call, for painting only what changed.
    std::vector<bool> TakeDirtyRows();
    bool TakeTitleChanged();

    // Whether the host accepts a size the program asks for. The scripted host
    // accepts any sensible one. The terminal host (fixed) accepts the
    // terminal's size, and where the terminal is smaller than the least screen
    // the program lays out, a size up to that least one: it shows what fits.
    void SetSizeFixed(bool fixed);
    // The terminal host's terminal changed size: the screen takes it.
    void SetTerminalSize(int columns, int rows);
    // The least screen the program lays out.
    static constexpr int kLeastColumns = 80;
    static constexpr int kLeastRows = 25;

private:
    class Teletype;
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_columns && y < m_rows; }
    // Stores a cell as the screen shows it (see ConsoleGlyphs); glyphs are
    // mapped for text and cell writes, only 1-31 for repeated cells, not at all
    // for rectangles put back.
    enum GlyphRule { kMapAll, kMapLow, kMapNone };
    void Put(int x, int y, char32_t ch, uint8_t attr, GlyphRule rule = kMapNone);
    std::u32string DecodeText8(const std::u32string& bytes) const;
    void LineFeed();
    // Puts n characters from (x, y) rightwards, each with its attribute from
    // `attrs` (or `attr` when that is null); what lies off the screen is
    // skipped without walking it.
    void PutRow(int32_t x, int32_t y, const char32_t* chars, const uint8_t* attrs, size_t n, uint8_t attr,
                GlyphRule rule);
    void SetAttr(int x, int y, uint8_t attr);
    void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t attr);
    void Scroll(int32_t x, int32_t y, int32_t w, int32_t h, int32_t lines, uint8_t attr, bool up);
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
    int m_codePage = 0;  // of 8-bit texts; 0: the system's default (1252)
    std::u32string m_title;
    bool m_titleChanged = false;
    std::u32string m_clipboard;
    int m_beeps = 0;
    bool m_sizeFixed = false;
    int m_terminalColumns = 0;
    int m_terminalRows = 0;
    // Output region (inclusive corners). Kept, not applied: the teletype
    // output scrolls the whole screen, as the program's copy of it does.
    int m_regionX1 = 0, m_regionY1 = 0, m_regionX2 = -1, m_regionY2 = -1;
};

}  // namespace qvhost
