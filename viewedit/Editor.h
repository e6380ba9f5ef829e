// QVEditor: the internal editor. The whole file lives in memory as a list of
// line records; the line under the cursor is edited in a growable buffer and
// written back when the cursor leaves it (CommitLine). Every change is one
// undo record that says which stretch of text now stands where and what it
// replaced; undo applies it backwards and yields the record for redo.
//
// Screen: row 0 the status line, rows 1 to rows - 2 the text (cursor rows 0
// to rows - 3), the last row the function-key bar. The layout is taken when
// the editor is built and kept until it ends.
//
// Sources: EditorModel.cpp (lines, drawing, cursor, editing primitives),
// EditorFile.cpp (load, save, formats, the per-file state), EditorUndo.cpp,
// EditorRun.cpp (the key loop), EditorBlocks.cpp (search, blocks,
// clipboard, brackets).
#pragma once

#include <cstdint>
#include <memory>

#include "base/containers/MemoryPool.h"
#include "base/io/TextFile.h"
#include "base/strings/CellString.h"
#include "base/strings/StringStore.h"
#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"
#include "console/InputEvent.h"
#include "ui/Win.h"
#include "viewedit/EditorLine.h"
#include "viewedit/FileStatusStore.h"
#include "viewedit/FormatSelectDlg.h"
#include "viewedit/SyntaxHighlighter.h"
#include "viewedit/UndoStack.h"

// A marked stretch of text; the end is exclusive.
struct TEditorBlock {
    int32_t startLine;
    int32_t startIndex;
    int32_t endLine;
    int32_t endIndex;
    uint8_t cursorAtEnd;  // the end follows the cursor, else the start
    uint8_t marked;
};

// The units from `from` up to `to` (exclusive), clamped to the text; empty
// when the stretch is empty (unlike Mid, whose count 0 means "the rest").
inline Westring TextPiece(const Westring& text, int from, int to) {
    if (to > text.Length())
        to = text.Length();
    if (from < 0)
        from = 0;
    return to > from ? text.Mid(from, to - from) : Westring();
}

// Display width of the first n units (all when n < 0) with the tab width of
// the settings.
int EditorDisplayWidth(const char32_t* text, int n = -1);
// The unit index at the absolute column cursorX + scroll; a tab spanning the
// column moves cursorX back to the tab's start.
int ColumnToIndex(const char32_t* text, int& cursorX, int scroll);
// UTF-8 text split at LF (a CR before it dropped), n line feeds giving n + 1
// lines; what undo records hold back into lines.
void SplitUtf8TextIntoLines(const char* text, WestringStore& lines);

class QVEditor {
public:
    static constexpr int MaxLineUnits = 65535;
    static constexpr int TopStateLines = 1000;

    QVEditor();
    ~QVEditor();
    QVEditor(const QVEditor&) = delete;
    QVEditor& operator=(const QVEditor&) = delete;

    // The key loop over the file; returns when the user leaves.
    void Run(const Westring& path, int startOffset, int highlightLength);

    // --- text model (EditorModel.cpp)
    int Rows() const { return rows; }
    int Columns() const { return columns; }
    int TextRows() const { return rows - 2; }
    int CursorLine() const { return topLine + cursorRow; }
    int LineCount() const { return lines.Count(); }
    // The text of a line: the buffer for the current line.
    Westring LineText(int line) const;
    int LineLength(int line) const;
    void CommitLine();
    int DrawLine(int row, int line, const char32_t* text = nullptr);
    void DrawFromLine(int line, const char32_t* text = nullptr);
    void RedrawAll();
    void ComputeTopState();
    void GotoPosition(int index, int line);
    void CursorDown();
    void CursorUp();
    void CursorLeft();
    void CursorRight();
    void MakeColumnVisible(int& scrollColumn, const TEditorBlock& visible);
    bool FindIndent(int& units, int& width, Westring& text);
    void SplitLine(bool autoIndent);
    void DeleteChar(bool backward);
    bool InsertLines(int& line, int& index, const WestringStore& insert);
    void DeleteBlockText(TEditorBlock& region);
    void DeleteBlock();
    void IndentLine(int line, int delta);
    void ConvertCase(const TEditorBlock& region, int mode);
    void RecodeLines(int oldCodePage, int newCodePage);
    void SelectWord();
    // Lines of the region joined by CR LF, in UTF-8; lineCount counts them.
    Estring BlockToText(const TEditorBlock& region, int32_t& lineCount);
    // Writes the buffer into the current line.
    void StoreBuffer();
    // The cursor line becomes the current line; its text goes into the buffer.
    void Refetch();
    // The empty document: one empty last line.
    void ResetDocument();

    // --- load, save, formats (EditorFile.cpp)
    bool LoadFile(CTextFile& file, bool forceFormat, int startOffset, int highlightLength);
    uint32_t SaveFile(const Westring& savePath);
    // Before a save: when the encoding cannot hold every character, asks
    // whether to save as UTF-8 (which becomes the encoding), save with the
    // replacements, or not at all; false for not at all.
    bool ConfirmLossySave();
    bool SaveAs(Westring& name);
    bool ReloadWithEncoding();
    void SelectFileEncoding();
    void StoreFileStatus(const Westring& recordPath);

    class CSaveAsDlg : public CFormatSelectDlg {
    public:
        CSaveAsDlg(Westring* name, int32_t* encoding, int32_t* codePage, uint8_t* byteOrderMark);
        Westring* name;
    };

    // --- undo (EditorUndo.cpp)
    void ResetUndoItem();
    void PushUndo();
    bool ApplyUndoItem(const UndoItem& record, UndoItem& opposite);
    void Undo();
    void Redo();
    void ShiftBookmarks(const UndoItem& record);
    bool IsAtSavedPoint() const;
    void MarkSaved();

    // --- search, blocks, clipboard, brackets (EditorBlocks.cpp)
    int Search(int& line, int& index, bool ask, bool replace, bool quiet);
    void SearchCommand(bool ask, bool flipReverse);
    void ReplaceCommand();
    void SearchWordCommand(bool backwards);
    void CopyCommand(bool cut, bool append);
    void DeleteMarkedBlock();
    void Paste();
    void IndentBlock(int delta);
    void ChangeCase(int mode);
    void MatchBracket();

    // --- the key loop's dispatch (EditorRun.cpp), which tests drive directly
    bool HandleKey(int key);
    void TypeChar(char32_t c);

    // --- fields
    Westring path;
    CTextFile textFile;
    MemoryPool pool;
    std::unique_ptr<Win> window;
    QVEditorLineStore lines;
    Westring buffer;
    CellString cells;
    Win* drawWindow;
    int32_t currentLine;
    int32_t scroll;
    int32_t cursorIndex;
    int32_t topLine;
    int32_t cursorRow;
    int32_t cursorX;
    int32_t wantedColumn;
    int32_t lineWidth;
    int32_t lineLength;
    uint8_t viewMoved;
    uint8_t modified;
    uint8_t redraw;
    TInputEvent lastEvent;
    TEditorBlock block;
    UndoItem undoItem;
    TUndoStack undoStack;
    TUndoStack redoStack;
    TBookmark bookmarks[HISTREC::BookmarkCount];
    uint8_t selectionMode;
    CSyntaxHighlighter highlighter;
    CContextStack topState;
    uint8_t newFile;
    uint8_t readOnly;
    // The id of the newest undo record at the last load or save: 0 for an
    // empty stack, SavedPointLost when that state can no longer be reached.
    uint32_t savedPoint;
    uint8_t byteOrderMark;
    int32_t encoding;
    int32_t lineEndMode;
    int32_t codePage;
    TTimestamp loadTime;
    int64_t loadSize;

    static constexpr uint32_t SavedPointLost = 0xFFFFFFFF;

    // Run state.
    Westring displayName;
    Westring syntaxPath;
    uint8_t literalMode;
    int32_t rows;
    int32_t columns;

private:
    // EditorRun.cpp
    void DrawStatusLine();
    void HandleMouse(int& key, int& repeatKey, int& repeatWait);
    void WordLeft();
    void WordRight();
    void DeleteWordLeft();
    void DeleteWordRight();
    void OpenLineAbove();
    // Enter: splits the line at the cursor, moves down and records the
    // split for undo (nothing when the line could not be split).
    void SplitLineAndMoveDown();
    void DuplicateLine();
    void DeleteLine();
    void CopyFromLineAbove(bool rest);
    void GotoLineDialog();
    void SwitchCodePage(bool chooseList);
    void PageUp();
    void PageDown();
    void CtrlEnd();
    void CtrlPgDn();
    void ExtendBlock(int key, int anchorLine, int anchorIndex);
    bool Leave(bool saveFirst);
    void ShowHelpForFile();
    bool SaveCommand();
    void HomeKey();
    void EndKey();

    int mouseBarKey;
    bool leaving;
    bool storeOnLeave;
};
