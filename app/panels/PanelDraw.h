// Drawing a panel: the column layouts of the view styles, the text and colour
// of each entry line, the empty rows, the separator and bottom frame rows, the
// status line, the cursor bar and the scroll bar.
#pragma once

#include <cstdint>

#include "base/strings/CellString.h"
#include "base/strings/Westring.h"

class CPanel;
struct entry;

// One column of a layout: widths in cells.
struct TPanelColumn {
    int minimum;  // negative ends a layout
    int maximum;
    int current;
};

// The column layouts of the brief, full, wide and briefwide styles, indexed
// by view style; each ends with a column whose minimum is negative.
constexpr int PanelLayoutCount = 4;
constexpr int PanelLayoutColumns = 5;
extern TPanelColumn PanelLayouts[PanelLayoutCount][PanelLayoutColumns];

// Where an entry slot lies in the panel window (inside the frame).
struct TPanelSlot {
    int x;
    int row;
    int nameWidth;
};

// No scroll offset given to the entry formatter.
constexpr int NoNameScroll = -1;

// Recomputes the current widths of every layout for a panel of that width.
void LayoutPanelColumns(int width);
TPanelSlot GetPanelColumnPosition(int slot, int style);
// The cells of one entry line; colour 0 lets the colour rules choose.
CellString FormatPanelEntry(CPanel* panel, int index, uint8_t colour, int scrollOffset);
void DrawPanelEntryLine(int x, int y, CPanel* panel, int index, uint8_t colour, int scrollOffset);
void DrawEntryAtCursor(CPanel* panel, int index, uint8_t colour, int scrollOffset);
void DrawCursorBar(int side, bool on);
void RedrawPanel(CPanel* panel);
void DrawPanelStatusLine(CPanel* panel);
void DrawPanelSeparators(CPanel* panel, bool withFullColumns);
// A horizontal rule over the panel width with `junction` at the column
// boundaries of the layout; fill 0 keeps `line` as given.
void BuildColumnRuleLine(int style, int widthKind, CellString& line, char32_t fill, char32_t junction, char32_t leftEnd,
                         char32_t rightEnd);
void DrawScrollBar(CPanel* panel);
// The target shown after a link's name.
Westring GetEntryLinkTarget(CPanel* panel, const entry* item);
// The name cut to a field of `width` cells, with the cut marker.
Westring TruncateEntryName(const Westring& name, int width, bool keepExtension);
