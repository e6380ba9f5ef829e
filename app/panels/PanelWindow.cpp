#include "app/panels/PanelWindow.h"

#include "ui/Clock.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelFormat.h"
#include "base/os/PathDisplay.h"
#include "base/strings/LocaleCase.h"
#include "console/ScreenSize.h"
#include "ui/Win.h"

namespace {

struct TSideSettings {
    int32_t TCONFIG::*sort;
    int32_t TCONFIG::*style;
    int32_t TCONFIG::*type;
    int32_t TCONFIG::*width;
    Westring TCONFIG::*filter;
    uint8_t TCONFIG::*showing;
};

const TSideSettings SideSettings[2] = {
    {&TCONFIG::LeftSort, &TCONFIG::LeftStyle, &TCONFIG::LeftType, &TCONFIG::LeftWidth, &TCONFIG::LeftFilter,
     &TCONFIG::LeftShowing},
    {&TCONFIG::RightSort, &TCONFIG::RightStyle, &TCONFIG::RightType, &TCONFIG::RightWidth, &TCONFIG::RightFilter,
     &TCONFIG::RightShowing},
};

int ClockWidth(bool clock) {
    return !clock ? 0 : Config.TimeMode == 12 ? 6 : 5;
}

}  // namespace

void InitPanelFromConfig(CPanel* panel, int side) {
    const TSideSettings& keys = SideSettings[side];
    CopyPanelText(panel->shownPath, Westring(panel->path));
    panel->sortMode = Config.*keys.sort;
    panel->viewStyle = Config.*keys.style;
    panel->panelType = Config.*keys.type;
    panel->widthKind = Config.*keys.width;
    panel->filter = Config.*keys.filter;
    panel->isOn = Config.*keys.showing;
    panel->startHidden = !panel->isOn;
    panel->linesInView = Config.PanelHeight * (panel->viewStyle == VIEW_BRIEF ? 3 : 1);
    if (Config.*SideSettings[1 - side].width == WIDTH_FULL)
        panel->isOn = 0;
    // The first read is always a file list, whatever the panel will show.
    ReadPanelAsFileList(panel);
    if (!(panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE) && panel->isOn)
        OpenPanelWindow(panel, side);
}

void ReadPanelAsFileList(CPanel* panel) {
    const int type = panel->panelType;
    const int style = panel->viewStyle;
    const uint8_t on = panel->isOn;
    panel->panelType = PANEL_FILES;
    panel->viewStyle = VIEW_FULL;
    panel->isOn = 1;
    ReadPanelDirectory(panel);
    panel->panelType = type;
    panel->viewStyle = style;
    panel->isOn = on;
}

void InitHiddenPanelFromConfig(CPanel* panel, int side) {
    const TSideSettings& keys = SideSettings[side];
    CopyPanelText(panel->shownPath, Westring(panel->path));
    panel->sortMode = Config.*keys.sort;
    panel->filter = Config.*keys.filter;
    panel->panelType = PANEL_FILES;
    panel->viewStyle = VIEW_FULL;
    panel->isOn = 0;
    panel->needsReread = 1;
}

void OpenPanelWindow(CPanel* panel, int side) {
    int width = GetPanelWidth(panel);
    LayoutPanelColumns(width);
    int x;
    if (panel->widthKind == WIDTH_FULL) {
        x = 0;
        if (side == 1)
            CloseClockWindow();
    } else {
        x = width * side;
        CloseClockWindow();
    }
    panel->isOn = 1;
    delete panel->window;
    uint8_t colour = ColourOf(ColourPanel);
    panel->window = new Win(x, 0, x + width - 1, Config.PanelHeight + 3, colour, colour, 1);
    DrawPanelFrame(Westring(panel->path), false, side == 1 && Config.Clock, panel);
    if (panel->needsReread)
        ReadPanelDirectory(panel);
    RedrawPanel(panel);
}

void ClosePanelWindow(CPanel* panel) {
    if (!panel->isOn)
        return;
    if (PanelSide(panel) == 1 || panel->widthKind == WIDTH_FULL)
        CloseClockWindow();
    if (panel->window)
        panel->window->SetHidden(true);
    panel->isOn = 0;
}

void DrawPanelFrame(const Westring& title, bool active, bool clock, CPanel* panel) {
    if (!panel->isOn || !panel->window)
        return;
    bool archive = panel->archive != nullptr;
    uint8_t titleColour =
        ColourOf(active ? (archive ? ColourHighlightTagged : ColourHighlight) : (archive ? ColourTagged : ColourPanel));
    int width = GetPanelWidth(panel);
    int clockWidth = ClockWidth(clock);
    Westring text = title;
    if (!panel->filter.EqualsNoCase(Westring(U"*")))
        text += '?';
    ShortenPathForDisplay(text, width - 4 - clockWidth);
    text = Westring(U" ") + text + Westring(U" ");

    CellString line;
    line.SetDefaultAttribute(ColourOf(ColourPanel));
    BuildColumnRuleLine(-1, panel->widthKind, line, BoxDoubleHorizontal, 0, 0x2554, 0x2557);
    Win* window = panel->window;
    if (panel->panelType == PANEL_INFO || panel->viewStyle == VIEW_TREE) {
        window->WriteAttrString(-1, -1, line);
        window->WriteCentred(-1, panel->panelType == PANEL_INFO ? " INFO " : " TREE ", titleColour);
        return;
    }
    if (panel->viewStyle <= VIEW_BRIEFWIDE) {
        // The joints need a console that can show them.
        char32_t joint = LocaleCaseTablesBuilt ? BoxDoubleDownTee : BoxDoubleHorizontal;
        BuildColumnRuleLine(panel->viewStyle, panel->widthKind, line, 0, joint, 0x2554, 0x2557);
    }
    window->WriteAttrString(-1, -1, line);

    int centre = width / 2;
    if (panel->widthKind == WIDTH_FULL)
        centre = PanelSide(panel) == 0 ? width / 4 : width * 3 / 4;
    int length = text.Length();
    int start = centre - (length + 1) / 2;
    int limit = width - 1 - clockWidth;
    if (start + length > limit)
        start = limit - length;
    // The title is written one column left of `at`; column -1 is the frame's
    // corner, which a title as wide as the panel allows would overwrite.
    int at = start - 1;
    if (at < 1)
        at = 1;
    window->WriteAttrString(at - 1, -1, CellString(text.Data(), titleColour));
}
