// CViewer: the internal viewer. It shows one file read-only on the whole
// screen, as text (wrapped or not, syntax-coloured) or as a hex dump, and
// moves through files of any size without reading them whole: every row is
// built from the top offset through the block cache, and backward motion scans
// back only to the previous line end.
//
// A line is what the text reader gives with a maximum of PieceChars
// characters: a longer line is cut into pieces that count as lines of their
// own, forwards and backwards alike. Line ends are CR, LF, NUL and the pair
// CR LF; LF CR is two line ends.
//
// Screen: row 0 the status line, rows 1 to rows - 2 the text area (text row r
// is screen row r + 1), the last row the function-key bar.
#pragma once

#include <cstdint>
#include <memory>

#include "base/io/TextFile.h"
#include "base/strings/CellString.h"
#include "base/strings/Westring.h"
#include "console/InputEvent.h"
#include "ui/Win.h"
#include "viewedit/SyntaxHighlighter.h"
#include "viewedit/SyntaxStateStore.h"

class CViewer : public CTextFile {
public:
    static constexpr int64_t PieceChars = 1048576;
    // Syntax states are kept at least this often along the text read.
    static constexpr int64_t StateSpacing = 4096;

    CViewer();
    ~CViewer();

    // Views the file: startOffset -1 for none (the file's kept position then),
    // highlightLength -1 for the length of the search text. Returns 27 when the
    // viewer is left, or the Alt-Up / Alt-Down key when the caller is to view
    // the previous or next file.
    int Run(const Westring& path, int64_t startOffset, int highlightLength);

    // The line model.
    int64_t NextLineStart(int64_t offset);
    int64_t LineStartBefore(int64_t offset);
    int LastPieceOffset(int length) const;

    // Reading and drawing; see Viewer.cpp.
    int LoadTopLine(int64_t offset);
    int LoadBottomLine(int64_t offset);
    // Draws the line from cell `from` on text row `row` (wrapping: on as many
    // rows as it takes, at most rowLimit when that is above 0, never past the
    // last row); the cells drawn, or the line's full length when not wrapping.
    int DrawTextLine(int row, const CellString& cells, int from, int rowLimit = -1, int* rowsUsed = nullptr);
    // One hex row: 64 cells of offset and bytes, then the characters.
    CellString HexLineCells(int64_t offset);
    void DrawHexLine(int row, int64_t offset);
    void Redraw();
    void RedrawHex();
    void ScrollDown();
    void ScrollUp();
    void PageDown();
    void ShowPosition(int64_t& lineStart, int64_t column, int length);
    void DrawStatusLine();
    Westring StatusText();
    void SyncSyntaxState(int64_t offset);

    // The commands of the key loop.
    int Search(Westring& text, int mode);
    // One key of the run's loop, as the loop hands it on.
    int DispatchKey(int key, const TInputEvent& event);
    void SelectEncoding();
    void GotoLine();
    void GotoOffset();
    void GoHome();
    void GoToEnd();
    void StepBackRows(int n);
    void ToggleWrap();
    void ToggleHex();
    void ToggleSyntax();
    void TranslateNextCodePage();
    void StartFollowMode();
    void StopFollowMode();
    bool EndOnScreen() const { return bottomLineOffset == -1; }
    // The byte at the size exists: the file has grown since it was measured.
    bool FileGrew();
    bool Wrapping() const;
    int64_t Size() const { return KnownSize(); }

    // Resets the view for a new run (and for tests that drive a file directly).
    void ResetView();
    // Opens the file for viewing without the key loop; 0 or the Windows error.
    uint32_t OpenForView(const Westring& path);
    void SetKeyBarLabels();

    Westring name;
    std::unique_ptr<Win> window;
    Win* statusWindow;
    int64_t nextLineOffset;
    int64_t bottomEndOffset;
    int64_t lastMatch;
    int64_t topOffset;
    int64_t bottomLineOffset;
    int32_t blankRows;
    int32_t leftColumn;
    bool hexMode;
    int32_t width;
    int32_t height;
    CellString topCells;
    int32_t topLength;
    int32_t topPiece;
    CellString bottomCells;
    int32_t bottomLength;
    int32_t bottomShown;
    CSyntaxHighlighter syntax;
    CSyntaxStateStore stateStore;
    int64_t longLineStart;
    int64_t longLineEnd;
    Westring syntaxPath;

private:
    bool IsLineEnd(uint32_t c) const { return c == '\r' || c == '\n' || c == 0; }
    // Reads and colours the line at the offset into the cells; false at the end.
    bool ReadColouredLine(int64_t offset, CellString& cells, int& length);
    void HandleMouse(const TInputEvent& event, int& repeatKey, int& repeatWait);
    // Where the text search starts to see the matches the byte search sees.
    int64_t TextFindStart(int64_t start);
    void FinishRun();

    Westring hexTable;  // the characters column's glyph of each byte value
    int64_t hexTableCodePage = -1;
    bool followMode;
    std::unique_ptr<Win> followWindow;
    int mouseBarKey;
    bool ended;
};

// The next code page of the "TranslateCP" list (0: the text code page).
void NextTranslateCodePage(uint32_t& codePage);
// The " Code Page Translation " dialog: 0 when it was confirmed, -1 on Esc.
int EditTranslateCodePages();
