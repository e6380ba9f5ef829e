// The cells of panel lines, built without touching the screen: entry lines in
// every view style, the status row, rule lines and the scroll-bar thumb.
// PanelDraw.h puts them into the panel window.
#pragma once

#include "app/panels/PanelDraw.h"
#include "base/strings/CellString.h"
#include "base/strings/Westring.h"

class CPanel;
struct entry;

// The characters panels draw with.
constexpr char32_t BoxDoubleHorizontal = 0x2550;
constexpr char32_t BoxDoubleVertical = 0x2551;
constexpr char32_t BoxDoubleBottomLeft = 0x255A;
constexpr char32_t BoxDoubleBottomRight = 0x255D;
constexpr char32_t BoxDoubleSingleLeftTee = 0x255F;
constexpr char32_t BoxDoubleSingleRightTee = 0x2562;
constexpr char32_t BoxDoubleDownTee = 0x2564;
constexpr char32_t BoxDoubleUpTee = 0x2567;
constexpr char32_t BoxSingleHorizontal = 0x2500;
constexpr char32_t BoxSingleVertical = 0x2502;
constexpr char32_t BoxSingleDownTee = 0x252C;
constexpr char32_t BoxSingleUpTee = 0x2534;
constexpr char32_t BoxSingleCross = 0x253C;
constexpr char32_t TreeBranch = 0x251C;
constexpr char32_t TreeLastBranch = 0x2514;
constexpr char32_t LightShade = 0x2591;
constexpr char32_t ThumbTop = 0x25B2;
constexpr char32_t ThumbBottom = 0x25BC;
constexpr char32_t LinkArrow = 0x00BB;
constexpr char32_t CutMarker = 0x0010;   // also opens a directory's size text
constexpr char32_t DirSizeEnd = 0x0011;  // closes it

// An entry line as the given view style draws it.
CellString FormatEntryInStyle(CPanel* panel, int index, uint8_t colour, int scrollOffset, int style);
// The name cells cut to a field: with keepExtension a short extension stays
// visible after the cut marker; a shorter name is padded with blanks.
CellString TruncateEntryCells(const CellString& name, int field, bool keepExtension);

// The status row (panel width - 2 cells). drawnInFullStyle tells that it shows
// the cursor entry as a full-style line, for which the separator rows show the
// full layout's columns.
CellString BuildPanelStatusText(CPanel* panel, bool& drawnInFullStyle);

// The thumb of the scroll bar: its first row and length; length 0 when every
// entry fits and the bar shows no thumb.
struct TScrollThumb {
    int start;
    int length;
};
TScrollThumb ComputeScrollThumb(int count, int topIndex, int linesInView, int height);
