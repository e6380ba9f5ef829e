#include "app/program/ConfigurationDialog.h"

#include "app/panels/Panel.h"
#include "app/program/AppSupport.h"
#include "app/program/MainLoop.h"
#include "app/program/PathEditor.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "ui/Clock.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"

namespace {

const int DialogWidth = 76;
const int DialogHeight = 19;
const int TextFieldWidth = 20;
const int NumberFieldWidth = 3;
const char32_t FrameLine = 0x2550;
const char* const EditHint = " F4=Edit ";
const int EditHintLength = 9;

enum EConfigElementKind { ConfigText, ConfigCheck, ConfigNumber, ConfigRadio };

// One element of the dialog: its kind, the label and where it stands, where
// the element stands, the setting it is bound to, whether it starts a group.
struct TConfigElement {
    EConfigElementKind kind;
    const char* label;
    int labelX;
    int x;
    int y;
    Westring TCONFIG::*text;
    uint8_t TCONFIG::*check;
    int32_t TCONFIG::*number;
    int radioValue;
    int newGroup;
};

constexpr TConfigElement Text(const char* label, int labelX, int y, Westring TCONFIG::*field, int group) {
    return {ConfigText, label, labelX, 28, y, field, nullptr, nullptr, 0, group};
}
constexpr TConfigElement Check(const char* label, int y, uint8_t TCONFIG::*field, int group) {
    return {ConfigCheck, label, 0, 51, y, nullptr, field, nullptr, 0, group};
}
constexpr TConfigElement Number(const char* label, int labelX, int y, int32_t TCONFIG::*field, int group) {
    return {ConfigNumber, label, labelX, 65, y, nullptr, nullptr, field, 0, group};
}
constexpr TConfigElement Radio(const char* label, int y, int value, int group) {
    return {ConfigRadio, label, 0, 61, y, nullptr, nullptr, &TCONFIG::TimeMode, value, group};
}

// The 24 bound elements; the three buttons follow them.
const TConfigElement ConfigElements[] = {
    Text("Viewer:", 20, 1, &TCONFIG::Viewer, 1),
    Text("Alternate Viewer:", 10, 2, &TCONFIG::Viewer2, 0),
    Text("Editor:", 20, 3, &TCONFIG::Editor, 0),
    Text("Alternate Editor:", 10, 4, &TCONFIG::Editor2, 0),
    Text("Left Startup Directory:", 4, 6, &TCONFIG::Left, 1),
    Text("Right Startup Directory:", 3, 7, &TCONFIG::Right, 0),
    Text("Separate Session Prefix:", 3, 9, &TCONFIG::Background, 1),
    Text("Tree Data Directory:", 7, 10, &TCONFIG::TreeDir, 0),
    Text("Case Filter File Systems:", 2, 11, &TCONFIG::CaseFilter, 0),
    Text("Path Extension:", 12, 12, &TCONFIG::PathAppend, 0),
    Text("Script Path:", 15, 13, &TCONFIG::ScriptPath, 0),
    Check("Auto Save", 1, &TCONFIG::AutoSave, 1),
    Check("Use Win clipboard", 2, &TCONFIG::PMClip, 0),
    Check("Ctrl-R Drv Change", 3, &TCONFIG::CtrlRDriveChng, 0),
    Check("ESC Panel Switch", 4, &TCONFIG::EscPanelSwitch, 0),
    Check("Size Count Pause", 5, &TCONFIG::SizeCountPause, 0),
    Check("Natural Sort", 6, &TCONFIG::NaturalSort, 0),
    Check("Pause After Run", 7, &TCONFIG::PauseAfterRun, 0),
    Number("Lines", 59, 9, &TCONFIG::Lines, 1),
    Number("Columns", 57, 10, &TCONFIG::Columns, 0),
    Number("Screen Saver", 52, 11, &TCONFIG::Saver, 0),
    Number("Scroll Delay", 52, 12, &TCONFIG::ScrollDelay, 0),
    Radio("12 HR", 14, 12, 1),
    Radio("24 HR", 15, 24, 0),
};

const TButtonDef ConfigButtons[] = {
    {KEY_ENTER, "OK"},
    {KEY_ESC, "Cancel"},
    {KEY_F1, "Help"},
    {0, nullptr},
};

// The hot letters in element order ("Script Path" and "Screen Saver" share
// s: the first one, the field, takes it); Cancel, Help and the F4 key have
// none.
const char ConfigHotLetters[CConfigDlg::ElementCount + 1] = "viedlrxtcpsabhwzufnosy12k\0\0";

const char* const TimeModeLabel = "Time Mode";
const int TimeModeLabelX = 50;
const int TimeModeLabelY = 14;

}  // namespace

CConfigDlg::CConfigDlg() : Dialog(-1, -3, DialogWidth, DialogHeight, ColourOf(ColourMessages)) {
    const uint8_t attribute = Attribute();
    WriteCentred(-1, " Configuration ", attribute);
    const int count = static_cast<int>(sizeof ConfigElements / sizeof ConfigElements[0]);
    for (int i = 0; i < count; i++) {
        const TConfigElement& e = ConfigElements[i];
        const char hot[2] = {ConfigHotLetters[i], 0};
        int index = -1;
        switch (e.kind) {
        case ConfigText:
            WriteHotKeyText(e.labelX, e.y, e.label, hot, attribute);
            index = AddStringField(e.x, e.y, e.newGroup, Config.*e.text, TextFieldWidth, -1, FieldKindNoHistory);
            break;
        case ConfigCheck: index = AddCheckBox(e.x, e.y, e.newGroup, &(Config.*e.check), e.label, 1); break;
        case ConfigNumber:
            WriteHotKeyText(e.labelX, e.y, e.label, hot, attribute);
            index = AddIntegerField(e.x, e.y, e.newGroup, &(Config.*e.number), NumberFieldWidth, 0, FieldKindNoHistory);
            break;
        case ConfigRadio:
            index = AddRadioButton(e.x, e.y, e.newGroup, &(Config.*e.number), e.radioValue, e.label);
            break;
        }
        if (e.text == &TCONFIG::PathAppend) {
            pathExtensionIndex = index;
        } else if (e.text == &TCONFIG::ScriptPath) {
            scriptPathIndex = index;
        }
    }
    WriteText(TimeModeLabelX, TimeModeLabelY, TimeModeLabel, attribute);
    AddButtonRow(-1, -1, 1, ConfigButtons);
    AddExitKey(KEY_F4);
    SetHotKeys(ConfigHotLetters, ElementCount);
    DrawElement(-1);
}

void CConfigDlg::ShowEditHint(bool shown) {
    // The hint ends nine columns left of the right edge of the bottom frame.
    const int x = ClientWidth() + 1 - 9 - EditHintLength;
    const int y = ClientHeight();
    if (shown) {
        WriteText(x, y, EditHint, Attribute());
    } else {
        WriteWide(x, y, RepeatChar32(FrameLine, EditHintLength), Attribute());
    }
}

bool CConfigDlg::OnFocusChanging(int oldIndex, int& newIndex) {
    if (newIndex == pathExtensionIndex && oldIndex != pathExtensionIndex) {
        ShowEditHint(true);
    } else if (oldIndex == pathExtensionIndex && newIndex != pathExtensionIndex) {
        ShowEditHint(false);
    }
    return true;
}

int CConfigDlg::Run() {
    for (;;) {
        const int result = Dialog::Run();
        if (result == KEY_F1) {
            ShowHelp(HelpTopicConfiguration);
            continue;
        }
        if (result == KEY_F4) {
            const int focused = Focused();
            if (focused == pathExtensionIndex || focused == scriptPathIndex) {
                const bool path = focused == pathExtensionIndex;
                CPathEditor editor(path ? " Path Append " : " Script Path ");
                if (editor.Edit(path ? Config.PathAppend : Config.ScriptPath)) {
                    DrawElement(focused);
                }
            }
            continue;
        }
        if (result == KEY_ENTER || result == KEY_ESC) {
            return result;
        }
    }
}

void ConfigurationCommand() {
    CloseClockWindow();
    const TCONFIG saved = Config;
    const int savedColumns = ScreenColumns;
    int result;
    {
        CConfigDlg dialog;
        result = dialog.Run();
    }
    Console->SetCursorShape(0);
    if (result != KEY_ENTER) {
        Config = saved;
    } else {
        InitLocaleSettings();
        RereadBothPanels();
    }
    int rows = ScreenRows;
    int columns = ScreenColumns;
    bool relayout = false;
    if (Config.Lines != saved.Lines) {
        rows = Config.Lines != 0 ? Config.Lines : rows;
        relayout = true;
    }
    if (Config.Columns != 0 && Config.Columns != saved.Columns) {
        columns = Config.Columns;
        relayout = true;
    }
    if (Config.Lines == saved.Lines && Config.Columns != 0 && Config.Columns != savedColumns) {
        columns = Config.Columns;
        relayout = true;
    }
    if (relayout) {
        RelayoutScreen(columns, rows);
    }
    if (Config.Clock) {
        OpenClockWindow();
    }
}
