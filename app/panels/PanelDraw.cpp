#include "app/panels/PanelDraw.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "app/panels/InfoPage.h"
#include "app/panels/PanelFormat.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelWindow.h"
#include "ui/Win.h"

namespace {

int PanelRows() {
    return Config.PanelHeight > 0 ? Config.PanelHeight : 1;
}

bool IsMultiColumn(int style) {
    return style == VIEW_BRIEF || style == VIEW_BRIEFWIDE;
}

// Styles whose separator rows also show the full layout's columns.
bool ShowsFullColumnsBelow(int style) {
    return style == VIEW_BRIEF || style == VIEW_WIDE || style == VIEW_BRIEFWIDE || style == VIEW_UNIX;
}

bool IsDrawableFilePanel(const CPanel* panel) {
    return IsPanelVisible(panel) && panel->panelType == PANEL_FILES;
}

// An empty entry row: blanks with the column lines of the layout.
CellString EmptyRow(const CPanel* panel) {
    CellString line;
    line.SetDefaultAttribute(panel->window->Attribute());
    BuildColumnRuleLine(panel->viewStyle, panel->widthKind, line, ' ', BoxSingleVertical, 0, 0);
    return line.Left(GetPanelWidth(panel) - 2);
}

// One row of the brief styles, across their columns.
CellString MultiColumnRow(CPanel* panel, int row) {
    int rows = PanelRows();
    uint8_t normal = ColourOf(ColourPanel);
    CellString line;
    line.SetDefaultAttribute(normal);
    int columns = panel->viewStyle == VIEW_BRIEF ? 3 : 2;
    for (int c = 0; c < columns; c++) {
        if (c > 0)
            line += TCell{BoxSingleVertical, normal};
        int index = panel->topIndex + row + c * rows;
        int width = PanelLayouts[panel->viewStyle][c].current;
        if (index < panel->entryCount) {
            line += FormatPanelEntry(panel, index, 0, NoNameScroll);
        } else {
            for (int i = 0; i < width; i++)
                line += TCell{' ', normal};
        }
    }
    return line;
}

}  // namespace

void DrawPanelEntryLine(int x, int y, CPanel* panel, int index, uint8_t colour, int scrollOffset) {
    if (!panel->window || index < 0 || index >= panel->entryCount)
        return;
    panel->window->WriteAttrString(x, y, FormatPanelEntry(panel, index, colour, scrollOffset));
}

void DrawEntryAtCursor(CPanel* panel, int index, uint8_t colour, int scrollOffset) {
    TPanelSlot slot = GetPanelColumnPosition(panel->cursorRow, panel->viewStyle);
    DrawPanelEntryLine(slot.x, slot.row, panel, index, colour, scrollOffset);
}

void DrawCursorBar(int side, bool on) {
    CPanel* panel = &Panels[side];
    if (!IsDrawableFilePanel(panel))
        return;
    if (entry* item = panel->CursorEntry()) {
        if (on) {
            EColourSlot slot = item->tagged                                    ? ColourHighlightTagged
                               : (item->attributes & FILE_ATTRIBUTE_DIRECTORY) ? ColourDirectoryHigh
                                                                               : ColourHighlight;
            DrawEntryAtCursor(panel, panel->CursorIndex(), ColourOf(slot), panel->nameScrollOffset);
        } else {
            DrawEntryAtCursor(panel, panel->CursorIndex(), 0, NoNameScroll);
        }
    }
    DrawPanelStatusLine(panel);
}

void RedrawPanel(CPanel* panel) {
    int rows = PanelRows();
    panel->linesInView = panel->viewStyle == VIEW_BRIEF       ? 3 * rows
                         : panel->viewStyle == VIEW_BRIEFWIDE ? 2 * rows
                                                              : rows;
    if (!IsPanelVisible(panel))
        return;
    panel->readDone = 0;
    if (panel->panelType == PANEL_INFO) {
        FillInfoPanel(PanelSide(panel));
        return;
    }
    if (panel->cursorRow >= panel->linesInView) {
        panel->topIndex += panel->cursorRow - panel->linesInView + 1;
        panel->cursorRow = panel->linesInView - 1;
    }
    Win* window = panel->window;
    CellString empty = EmptyRow(panel);
    for (int row = 0; row < rows; row++) {
        if (IsMultiColumn(panel->viewStyle)) {
            window->WriteAttrString(0, row, MultiColumnRow(panel, row));
            continue;
        }
        int index = panel->topIndex + row;
        if (index < panel->entryCount)
            window->WriteAttrString(0, row, FormatPanelEntry(panel, index, 0, NoNameScroll).Pad(empty.Length()));
        else
            window->WriteAttrString(0, row, empty);
    }
    if (panel->entryCount > 0 && panel->CursorIndex() >= panel->entryCount)
        MovePanelCursor(panel, 0);
    int side = PanelSide(panel);
    DrawPanelFrame(Westring(panel->path), side == ActiveSide, side == 1 && Config.Clock, panel);
    DrawScrollBar(panel);
}

void DrawPanelSeparators(CPanel* panel, bool withFullColumns) {
    if (!panel->window)
        return;
    int rows = PanelRows();
    bool addFull = ShowsFullColumnsBelow(panel->viewStyle);
    CellString line;
    line.SetDefaultAttribute(ColourOf(ColourPanel));
    BuildColumnRuleLine(panel->viewStyle, panel->widthKind, line, BoxSingleHorizontal, BoxSingleUpTee,
                        BoxDoubleSingleLeftTee, BoxDoubleSingleRightTee);
    if (addFull)
        BuildColumnRuleLine(VIEW_FULL, panel->widthKind, line, 0,
                            withFullColumns ? BoxSingleDownTee : BoxSingleHorizontal, BoxDoubleSingleLeftTee,
                            BoxDoubleSingleRightTee);
    panel->window->WriteAttrString(-1, rows, line);

    CellString bottom;
    bottom.SetDefaultAttribute(ColourOf(ColourPanel));
    BuildColumnRuleLine(-1, panel->widthKind, bottom, BoxDoubleHorizontal, 0, BoxDoubleBottomLeft,
                        BoxDoubleBottomRight);
    if (addFull && withFullColumns)
        BuildColumnRuleLine(VIEW_FULL, panel->widthKind, bottom, 0, BoxDoubleUpTee, BoxDoubleBottomLeft,
                            BoxDoubleBottomRight);
    panel->window->WriteAttrString(-1, rows + 2, bottom);
}

void DrawPanelStatusLine(CPanel* panel) {
    if (!IsDrawableFilePanel(panel))
        return;
    bool fullColumns = false;
    CellString text = BuildPanelStatusText(panel, fullColumns);
    panel->window->WriteAttrString(0, PanelRows() + 1, text);
    DrawPanelSeparators(panel, fullColumns);
}

void DrawScrollBar(CPanel* panel) {
    if (!panel->window)
        return;
    int rows = PanelRows();
    uint8_t colour = ColourOf(ColourPanel);
    TScrollThumb thumb = ComputeScrollThumb(panel->entryCount, panel->topIndex, panel->linesInView, rows);
    int x = GetPanelWidth(panel) - 2;
    for (int row = 0; row < rows; row++) {
        char32_t c = BoxDoubleVertical;
        if (thumb.length > 0 && row >= thumb.start && row < thumb.start + thumb.length) {
            c = row == thumb.start ? ThumbTop : row == thumb.start + thumb.length - 1 ? ThumbBottom : BoxSingleVertical;
        }
        CellString cell;
        cell += TCell{c, colour};
        panel->window->WriteAttrString(x, row, cell);
    }
}
