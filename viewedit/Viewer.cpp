// The view: the line model, reading and colouring lines, drawing text and hex
// rows, scrolling and the status line. The key loop is ViewerRun.cpp.
#include "viewedit/Viewer.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/os/PathDisplay.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "viewedit/ViewerSearchState.h"

namespace {

const char32_t MoreToTheRight = 0xBB;
const char32_t HexSeparator = 0x2502;

}  // namespace

CViewer::CViewer()
    : statusWindow(nullptr), nextLineOffset(0), bottomEndOffset(0), lastMatch(-1), topOffset(0), bottomLineOffset(-1),
      blankRows(0), leftColumn(0), hexMode(false), width(0), height(0), topLength(0), topPiece(0), bottomLength(0),
      bottomShown(0), longLineStart(0), longLineEnd(0), followMode(false), mouseBarKey(0), ended(false) {
    // Without a console (tools that use only the line model) there is no window.
    if (Console) {
        window.reset(new Win(0, 0, ScreenColumns - 1, ScreenRows - 1, ColourOf(ColourFileViewer), -1, 1));
        window->SetOrigin(0, 1);
        statusWindow = window.get();
        width = window->ClientWidth();
        height = window->ClientHeight() - 2;
    } else {
        width = 80;
        height = 23;
    }
    if (height < 1)
        height = 1;
}

CViewer::~CViewer() {
    followWindow.reset();
    window.reset();
}

bool CViewer::Wrapping() const {
    return Config.ViewerWrap != 0 && !hexMode;
}

void CViewer::ResetView() {
    hexMode = false;
    lastMatch = -1;
    topOffset = 0;
    topPiece = 0;
    leftColumn = 0;
    topLength = 0;
    topCells.SetLength(0);
    nextLineOffset = 0;
    bottomLineOffset = -1;
    bottomEndOffset = 0;
    bottomLength = 0;
    bottomShown = 0;
    blankRows = 0;
    longLineStart = longLineEnd = 0;
    followMode = false;
    followWindow.reset();
    SetEncoding(EncodingUnknown);
    stateStore.Reset();
}

// ---------------------------------------------------------------- line model

int64_t CViewer::NextLineStart(int64_t offset) {
    if (hexMode) {
        int64_t next = offset + 16;
        return next < Size() ? next : Size();
    }
    SetCharPosition(offset);
    int64_t length = 0;
    ReadLine(length, PieceChars);
    return CharPosition();
}

int64_t CViewer::LineStartBefore(int64_t offset) {
    const int64_t bom = ByteOrderMarkLength();
    if (hexMode)
        return offset < 16 ? 0 : offset - 16;
    if (offset <= bom)
        return bom;

    // e: the end of the text of the line before (its line end passed over).
    SetCharPosition(offset);
    uint32_t c = PrevChar();
    int64_t end = offset;
    if (c == NoChar) {
        end = bom;
    } else if (IsLineEnd(c)) {
        end = CharPosition();
        if (c == '\n') {
            uint32_t before = PrevChar();
            if (before == '\r')
                end = CharPosition();
        }
    }
    if (end <= bom)
        return bom;

    int64_t start;
    if (longLineStart < offset && offset <= longLineEnd) {
        start = longLineStart;
    } else {
        SetCharPosition(end);
        for (;;) {
            int64_t here = CharPosition();
            uint32_t ch = PrevChar();
            if (ch == NoChar) {
                start = bom;
                break;
            }
            if (IsLineEnd(ch)) {
                start = here;
                break;
            }
        }
        if (offset - start > PieceChars) {
            longLineStart = start;
            longLineEnd = offset;
        }
    }
    if (end - start <= PieceChars)
        return start;
    int64_t piece = start + (end - start) / PieceChars * PieceChars;
    if (piece == end)
        piece -= PieceChars;
    return piece;
}

int CViewer::LastPieceOffset(int length) const {
    if (length <= width)
        return 0;
    int rest = length % width;
    return rest == 0 ? length - width : length - rest;
}

// ------------------------------------------------------------- reading lines

bool CViewer::ReadColouredLine(int64_t offset, CellString& cells, int& length) {
    SetCharPosition(offset);
    int64_t n = 0;
    const char32_t* line = ReadLine(n, PieceChars);
    if (!line) {
        cells.SetLength(0);
        length = 0;
        return false;
    }
    syntax.ColourLine(line, cells);
    length = cells.Length();
    return true;
}

void CViewer::SyncSyntaxState(int64_t target) {
    if (!syntax.loaded || hexMode)
        return;
    TPositionSyntaxState* state = stateStore.StateAtOrBefore(target);
    if (!state) {
        stateStore.Reset();
        state = stateStore.StateAtOrBefore(target);
    }
    syntax.stack.Copy(state->stack);
    int64_t p = state->offset;
    int64_t lastCached = p;
    CellString scratch;
    while (p < target) {
        SetCharPosition(p);
        int64_t n = 0;
        const char32_t* line = ReadLine(n, PieceChars);
        if (!line)
            break;
        syntax.ColourLine(line, scratch);
        p = CharPosition();
        if (p - lastCached >= StateSpacing) {
            stateStore.AddState(p, syntax.stack);
            lastCached = p;
        }
    }
}

int CViewer::LoadTopLine(int64_t offset) {
    topOffset = offset;
    topPiece = 0;
    if (hexMode) {
        topLength = 0;
        topCells.SetLength(0);
        nextLineOffset = NextLineStart(offset);
        return 0;
    }
    SyncSyntaxState(offset);
    int length = 0;
    ReadColouredLine(offset, topCells, length);
    topLength = length;
    nextLineOffset = CharPosition();
    return topLength;
}

int CViewer::LoadBottomLine(int64_t offset) {
    SyncSyntaxState(offset);
    int length = 0;
    if (ReadColouredLine(offset, bottomCells, length)) {
        bottomLength = length;
        bottomLineOffset = offset;
        bottomEndOffset = CharPosition();
    } else {
        bottomLength = 0;
        bottomLineOffset = -1;
    }
    bottomShown = 0;
    return bottomLength;
}

// ------------------------------------------------------------------- drawing

int CViewer::DrawTextLine(int row, const CellString& cells, int from, int rowLimit, int* rowsUsed) {
    const int length = cells.Length();
    const uint8_t attr = window->Attribute();
    auto writeRow = [&](int r, int start, int count) {
        CellString piece;
        if (start < length && count > 0)
            piece = cells.Mid(start, count);
        piece.SetDefaultAttribute(attr);
        window->WriteAttrString(0, r, piece);
        window->ClearToEol(attr);
        return piece.Length();
    };
    if (!Wrapping()) {
        CellString piece;
        if (leftColumn < length)
            piece = cells.Mid(leftColumn, width);
        if (piece.Length() == width && length > leftColumn + width) {
            uint8_t more = static_cast<uint8_t>((ColourOf(ColourFileViewer) & 0xF0) | (ColourOf(ColourTagged) & 0x0F));
            piece.Data()[width - 1] = TCell{MoreToTheRight, more};
        }
        window->WriteAttrString(0, row, piece);
        window->ClearToEol(attr);
        if (rowsUsed)
            *rowsUsed = 1;
        return length;
    }
    int limit = rowLimit > 0 ? rowLimit : height;
    int drawn = 0;
    int r = row;
    do {
        drawn += writeRow(r, from + drawn, width);
        r++;
    } while (from + drawn < length && r < height && r - row < limit);
    if (rowsUsed)
        *rowsUsed = r - row;
    return drawn;
}

CellString CViewer::HexLineCells(int64_t offset) {
    Estring head;
    head.Format("%08llX ", static_cast<unsigned long long>(offset));
    Westring hex(head.Data());
    char bytes[17];
    int count = 0;
    for (; count < 16; count++) {
        uint32_t b = ByteAt(offset + count);
        if (b == NoByte)
            break;
        Estring value;
        value.Format("%02X ", b);
        hex += Westring(value.Data());
        if (count == 3 || count == 7 || count == 11) {
            hex.AppendChar(HexSeparator);
            hex.AppendChar(' ');
        }
        bytes[count] = static_cast<char>(b == 0 ? '.' : b);
    }
    if (hexTableCodePage != CodePage()) {
        hexTable.Clear();
        for (int value = 0; value < 256; value++) {
            char single[2] = {static_cast<char>(value == 0 ? '.' : value), 0};
            Westring converted(single, CodePage());
            hexTable.AppendChar(converted.Length() == 1 ? converted[0] : char32_t('.'));
        }
        hexTableCodePage = CodePage();
    }
    const uint8_t attr = ColourOf(ColourFileViewer);
    CellString cells(hex.Pad(64).Data(), attr);
    for (int i = 0; i < count; i++)
        cells += TCell{hexTable[static_cast<unsigned char>(bytes[i])], attr};
    return cells;
}

void CViewer::DrawHexLine(int row, int64_t offset) {
    window->WriteAttrString(0, row, HexLineCells(offset));
    window->ClearToEol(window->Attribute());
}

void CViewer::RedrawHex() {
    blankRows = 0;
    bottomLineOffset = -1;
    for (int r = 0; r < height; r++) {
        int64_t o = topOffset + 16 * int64_t(r);
        if (o < Size()) {
            DrawHexLine(r, o);
            bottomLineOffset = o;
        } else {
            window->GotoXY(0, r);
            window->ClearToEol(window->Attribute());
            bottomLineOffset = -1;
            blankRows++;
        }
    }
    int64_t end = topOffset + 16 * int64_t(height);
    bottomEndOffset = end < Size() ? end : Size();
    bottomLength = 16;
    bottomShown = 16;
}

void CViewer::Redraw() {
    if (hexMode) {
        RedrawHex();
        return;
    }
    const bool wrap = Wrapping();
    bool topExists;
    if (topPiece == 0 && topLength == 0) {
        LoadTopLine(topOffset);
        topExists = topOffset < Size() && nextLineOffset > topOffset;
    } else {
        SyncSyntaxState(nextLineOffset);
        topExists = true;
    }
    int64_t position = nextLineOffset;
    bottomLineOffset = -1;
    blankRows = 0;
    int cleared = 0;
    int rows = 0;
    bool endMet = !topExists;
    if (topExists) {
        int used = 1;
        int drawn = DrawTextLine(0, topCells, topPiece, -1, &used);
        rows = used;
        if (rows >= height) {
            bottomLineOffset = topOffset;
            bottomCells = topCells;
            bottomLength = topLength;
            bottomShown = wrap ? topPiece + drawn : topLength;
            bottomEndOffset = nextLineOffset;
        }
    }
    CellString cells;
    while (rows < height) {
        if (endMet) {
            window->GotoXY(0, rows);
            window->ClearToEol(window->Attribute());
            cleared++;
            rows++;
            continue;
        }
        int64_t lineStart = position;
        int length = 0;
        if (!ReadColouredLine(position, cells, length)) {
            endMet = true;
            continue;
        }
        position = CharPosition();
        int used = 1;
        int drawn = DrawTextLine(rows, cells, 0, -1, &used);
        rows += used;
        if (rows >= height) {
            bottomLineOffset = lineStart;
            bottomCells = cells;
            bottomLength = length;
            bottomShown = wrap ? drawn : length;
            bottomEndOffset = position;
        }
    }
    if (bottomLineOffset == -1) {
        blankRows = cleared;
        bottomEndOffset = position;
        bottomLength = 0;
        bottomShown = 0;
    }
    if (syntax.loaded)
        stateStore.AddState(position, syntax.stack);
}

bool CViewer::FileGrew() {
    int64_t size = Size();
    return ByteAt(size) != NoByte;
}

void CViewer::ScrollDown() {
    lastMatch = -1;
    if (hexMode) {
        if (EndOnScreen() || bottomEndOffset >= Size())
            return;
        topOffset += 16;
        nextLineOffset = NextLineStart(topOffset);
        window->Scroll(0, 0, width, height, 1);
        DrawHexLine(height - 1, bottomEndOffset);
        bottomLineOffset = bottomEndOffset;
        bottomEndOffset = bottomEndOffset + 16 < Size() ? bottomEndOffset + 16 : Size();
        return;
    }
    const bool wrap = Wrapping();
    if (!(wrap && !EndOnScreen() && bottomShown < bottomLength)) {
        if (EndOnScreen()) {
            // A file that has grown shows its new lines.
            if (FileGrew())
                Redraw();
            return;
        }
        if (bottomEndOffset >= Size() && bottomShown >= bottomLength && !FileGrew())
            return;
        int64_t previousBottom = bottomLineOffset;
        LoadBottomLine(bottomEndOffset);
        if (bottomLineOffset == -1) {
            bottomLineOffset = previousBottom;
            Redraw();
            return;
        }
    }
    if (!wrap) {
        LoadTopLine(nextLineOffset);
    } else {
        int piece = topPiece + width;
        if (piece >= topLength) {
            LoadTopLine(nextLineOffset);
        } else {
            topPiece = piece;
        }
    }
    window->Scroll(0, 0, width, height, 1);
    int drawn = DrawTextLine(height - 1, bottomCells, wrap ? bottomShown : 0, 1);
    bottomShown = wrap ? bottomShown + drawn : bottomLength;
}

void CViewer::ScrollUp() {
    lastMatch = -1;
    if (hexMode) {
        if (topOffset <= 0)
            return;
        int64_t oldTop = topOffset;
        topOffset -= topOffset < 16 ? topOffset : 16;
        nextLineOffset = NextLineStart(topOffset);
        if (oldTop < 16) {
            RedrawHex();
            return;
        }
        int64_t last = topOffset + 16 * int64_t(height - 1);
        bottomLineOffset = last < Size() ? last : -1;
        bottomEndOffset = last + 16 < Size() ? last + 16 : Size();
        window->Scroll(0, 0, width, height, -1);
        DrawHexLine(0, topOffset);
        if (bottomLineOffset == -1)
            blankRows = int((topOffset + 16 * int64_t(height) - Size() + 15) / 16);
        return;
    }
    const bool wrap = Wrapping();
    if (topPiece >= 1) {
        topPiece = wrap ? topPiece - width : 0;
        if (topPiece < 0)
            topPiece = 0;
    } else {
        if (topOffset <= ByteOrderMarkLength())
            return;
        LoadTopLine(LineStartBefore(topOffset));
        if (wrap)
            topPiece = LastPieceOffset(topLength);
    }
    // Keep the top line's cells: loading the bottom line reads elsewhere.
    CellString top = topCells;
    int64_t savedNext = nextLineOffset;
    if (EndOnScreen()) {
        blankRows--;
        if (blankRows <= 0) {
            blankRows = 0;
            LoadBottomLine(LineStartBefore(Size()));
            bottomShown = bottomLength;
        }
    } else if (wrap && bottomShown > width) {
        int rest = bottomShown % width;
        bottomShown -= rest ? rest : width;
    } else {
        LoadBottomLine(LineStartBefore(bottomLineOffset));
        bottomShown = bottomLength;
    }
    nextLineOffset = savedNext;
    window->Scroll(0, 0, width, height, -1);
    DrawTextLine(0, top, topPiece, 1);
}

void CViewer::PageDown() {
    if (bottomLineOffset < 0)
        return;
    const bool wrap = Wrapping();
    topOffset = bottomLineOffset;
    if (hexMode) {
        nextLineOffset = NextLineStart(topOffset);
        RedrawHex();
        lastMatch = -1;
        return;
    }
    topCells = bottomCells;
    topLength = bottomLength;
    topPiece = 0;
    if (wrap && bottomShown > width) {
        int rest = bottomShown % width;
        topPiece = bottomShown - (rest ? rest : width);
    }
    nextLineOffset = bottomEndOffset;
    Redraw();
    lastMatch = -1;
}

void CViewer::ShowPosition(int64_t& lineStart, int64_t column, int length) {
    if (length < 0)
        length = ViewerSearchText.Length();
    LoadTopLine(lineStart);
    int64_t c = column;
    if (!hexMode) {
        c = 0;
        SetCharPosition(lineStart);
        int tab = Config.TabWidth > 0 ? Config.TabWidth : 8;
        while (CharPosition() < lineStart + column) {
            uint32_t ch = ReadChar();
            if (ch == NoChar)
                break;
            c += ch == '\t' ? tab - c % tab : 1;
        }
    }
    const bool wrap = Wrapping();
    if (wrap) {
        topPiece = int(c - c % width);
        c %= width;
    }
    int k = 0;
    for (; k < 4; k++) {
        if (wrap && topPiece >= 1) {
            topPiece -= width;
        } else if (topOffset <= ByteOrderMarkLength()) {
            break;
        } else {
            LoadTopLine(LineStartBefore(topOffset));
            topPiece = wrap ? LastPieceOffset(topLength) : 0;
        }
    }
    if (!wrap && !hexMode) {
        while (leftColumn + width < c + length)
            leftColumn += 4;
        if (c < leftColumn)
            leftColumn -= int((leftColumn - c - 1) / 4 * 4) + 4;
        if (leftColumn < 0)
            leftColumn = 0;
    }
    Redraw();
    int x = int(c) + (hexMode ? 64 : 0) - leftColumn;
    if (length > 0 && x >= 0 && x < width)
        Console->SetAttributes(x, k + 1, length < width - x ? length : width - x, ColourOf(ColourHighlight));
    lineStart += column;
}

Westring CViewer::StatusText() {
    const int columns = width;
    Westring text("View: ");
    text += ShortenedPathForDisplay(name, columns - 22);
    text = text.Pad(columns - 15);
    text += Westring(GetEncodingName().Data());
    text = text.Pad(columns - 7);
    int whole = 100, hundredths = 0;
    const int64_t size = Size();
    // The last line on the bottom row, shown whole, is the end of the file
    // too: the sum below stops short of its line end and would read 99.xx%.
    const bool endShown = bottomEndOffset >= size && bottomShown >= bottomLength;
    if (size > 0 && bottomLineOffset != -1 && !endShown) {
        int64_t p = bottomLineOffset;
        if (bottomLength > 0)
            p += (bottomEndOffset - bottomLineOffset) / bottomLength * bottomShown;
        // Wide enough for any size: 100 p and 10000 p may not fit 64 bits.
        whole = int(static_cast<long double>(p) * 100 / size);
        hundredths = int(static_cast<long double>(p) * 10000 / size) - 100 * whole;
        if (whole > 100) {
            whole = 100;
            hundredths = 0;
        }
        if (hundredths < 0)
            hundredths = 0;
    }
    Estring percent;
    percent.Format("%3d.%02d%%", whole, hundredths);
    text += Westring(percent.Data());
    return text;
}

void CViewer::DrawStatusLine() {
    statusWindow->WriteWide(0, -1, StatusText(), ColourOf(ColourMenu));
}
