#include "app/program/MainLoop.h"

#include "ui/Clock.h"
#include "app/settings/Colours.h"
#include "app/program/CommandDispatch.h"
#include "app/settings/Config.h"
#include "ui/FunctionKeyBar.h"
#include "app/program/Menus.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelWindow.h"
#include "app/program/AppSupport.h"
#include "ui/ConsoleControl.h"
#include "base/os/PathDisplay.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "console/TerminalEmulator.h"
#include "app/panels/PanelTags.h"
#include "shell/CommandExecution.h"
#include "shell/ProgramRunner.h"
#include "ui/ModalLoop.h"
#include "ui/ScrollBack.h"
#include "ui/Win.h"
#include "viewedit/ViewerEditor.h"

TMainLoopState MainLoop;
Westring StoredDirectorySlots[10];

namespace {

bool PanelsHidden() {
    return !Panels[0].isOn && !Panels[1].isOn;
}

int PanelLeftColumn(const CPanel* panel) {
    if (panel->window != nullptr) {
        return panel->window->Left();
    }
    return PanelSide(panel) == 1 && panel->widthKind != WIDTH_FULL ? ScreenColumns / 2 : 0;
}

// The side under a mouse column.
int SideUnderMouse(int x) {
    if (Panels[1].widthKind == WIDTH_FULL) {
        return 1;
    }
    return x >= GetPanelWidth(&Panels[ActiveSide]) ? 1 : 0;
}

// The entry line (from the top of the view) under a point of the entry rows.
int EntryLineUnderMouse(const CPanel* panel, int x, int y) {
    int height = Config.PanelHeight;
    int left = PanelLeftColumn(panel);
    int width = GetPanelWidth(panel);
    if (panel->viewStyle == VIEW_BRIEF && width > 2) {
        int column = ((x - left - 1) * 3) / (width - 2);
        return y - 1 + column * height;
    }
    if (panel->viewStyle == VIEW_BRIEFWIDE) {
        return y - 1 + (x - left >= width / 2 ? height : 0);
    }
    return y - 1;
}

void PutCursorOnIndex(TMainLoopState& state, CPanel* panel, int index) {
    if (index == panel->CursorIndex()) {
        return;
    }
    panel->searchText[0] = 0;
    DrawCursorBar(PanelSide(panel), false);
    MovePanelCursor(panel, index - panel->CursorIndex());
    state.cursorMoved = true;
}

// Moves the cursor one line at a time while a button is held on the top row
// (up) or on the rows under the entries (down).
void ScrollPanelWhileHeld(TMainLoopState& state, CPanel* panel, int row, bool tagging) {
    bool up = row == 0;
    DrawCursorBar(PanelSide(panel), false);
    for (;;) {
        int before = panel->CursorIndex();
        int top = panel->topIndex;
        MovePanelCursor(panel, up ? -1 : 1);
        if (panel->CursorIndex() == before) {
            break;
        }
        if (tagging) {
            PanelTagEntry(panel, panel->CursorIndex(), state.dragTagState ? 1 : -1);
        }
        DrawCursorBar(PanelSide(panel), true);
        if (panel->topIndex != top && Config.ScrollDelay > 0) {
            Sleep(static_cast<DWORD>(Config.ScrollDelay));
        }
        DrawCursorBar(PanelSide(panel), false);
        if (Console->HasPendingEvents()) {
            TInputEvent event = {};
            int key = CModalLoop::Current()->Read(event, 0);
            if (key == 0 && event.shiftState == -1) {
                continue;
            }
            if (key != KEY_MOUSE) {
                state.pendingKey = key;
                state.pendingEvent = event;
                break;
            }
            if (event.action == (tagging ? TInputEvent::ActionRelease2 : TInputEvent::ActionRelease1)) {
                break;
            }
            row = event.y;
            bool scrollRow = up ? row == 0 : (row > Config.PanelHeight && row <= Config.PanelHeight + 3);
            if (!scrollRow) {
                break;
            }
        }
    }
    state.cursorMoved = true;
}

// A click in the other panel makes it active; the bar leaves the panel that
// was active, as it does when the keyboard switches panels.
void ActivateClickedSide(TMainLoopState& state, int side) {
    if (side == ActiveSide) {
        return;
    }
    if (Panels[ActiveSide].isOn) {
        DrawCursorBar(ActiveSide, false);
    }
    SwitchActivePanel(Panels, side);
    state.cursorMoved = true;
}

void HandleEntryRows(TMainLoopState& state, const TInputEvent& event) {
    int side = SideUnderMouse(event.x);
    CPanel* panel = &Panels[side];
    if (!panel->isOn) {
        return;
    }
    ActivateClickedSide(state, side);
    if (panel->panelType == PANEL_INFO) {
        if (event.action == TInputEvent::ActionDouble1 && event.y > panel->dirInfoRow) {
            EditFile(AddTrailingBackslash(GetPanelDirectory(OtherPanel(panel))) + Westring("dirinfo"), -1, 0);
            state.redrawLevel = RedrawAll;
        }
        return;
    }
    int index = panel->topIndex + EntryLineUnderMouse(panel, event.x, event.y);
    if (index < 0 || index >= panel->entryCount) {
        return;
    }
    PutCursorOnIndex(state, panel, index);
    switch (event.action) {
    case TInputEvent::ActionDouble1:
        ExecuteCommandOrEntry(Panels, side, U"", 0);
        state.redrawLevel = RedrawAll;
        break;
    case TInputEvent::ActionPress2:
        PanelTagEntry(panel, index, 0);
        state.dragTagState = panel->entries[index]->tagged;
        state.dragIndex = index;
        break;
    case TInputEvent::ActionMove2:
        if (state.dragIndex >= 0 && state.dragIndex < panel->entryCount) {
            int step = index >= state.dragIndex ? 1 : -1;
            for (int i = state.dragIndex;; i += step) {
                PanelTagEntry(panel, i, state.dragTagState ? 1 : -1);
                if (i == index) {
                    break;
                }
            }
        }
        break;
    default: break;
    }
}

void HandleMouse(TMainLoopState& state, const TInputEvent& event) {
    CPanel* active = &Panels[ActiveSide];
    int height = Config.PanelHeight;
    if (event.action == TInputEvent::ActionWheel) {
        DrawCursorBar(ActiveSide, false);
        MovePanelCursor(active, event.button < 0 ? 3 : -3);
        state.cursorMoved = true;
        return;
    }
    if (event.action == TInputEvent::ActionRelease1 || event.action == TInputEvent::ActionRelease2) {
        if (event.y == ScreenRows - 1) {
            int key = FunctionKeyFromBarSlot(event.x, ScreenColumns, event.action, event.shiftState);
            if (key == state.pressedBarKey) {
                DispatchCommand(state, key, event);
            }
        }
        state.pressedBarKey = 0;
        return;
    }
    if (event.y == ScreenRows - 1) {
        if (event.action == TInputEvent::ActionPress1 || event.action == TInputEvent::ActionPress2) {
            state.pressedBarKey = FunctionKeyFromBarSlot(event.x, ScreenColumns, event.action, event.shiftState);
        }
        return;
    }
    if (PanelsHidden()) {
        return;
    }
    if (event.y >= 1 && event.y <= height) {
        HandleEntryRows(state, event);
        return;
    }
    if (event.y == 0 && event.action == TInputEvent::ActionPress2) {
        int code = RunMenuBar(ActiveSide, false);
        if (code != 0) {
            TInputEvent cleared = {};
            DispatchCommand(state, code, cleared);
        }
        state.redrawLevel = RedrawAll;
        return;
    }
    if (event.y == 0 || (event.y > height && event.y <= height + 3)) {
        int side = SideUnderMouse(event.x);
        CPanel* panel = &Panels[side];
        if (!panel->isOn || panel->entryCount == 0) {
            return;
        }
        ActivateClickedSide(state, side);
        bool atEnd = event.y == 0 ? panel->CursorIndex() == 0 : panel->CursorIndex() == panel->entryCount - 1;
        if (!atEnd) {
            ScrollPanelWhileHeld(state, panel, event.y, event.action == TInputEvent::ActionMove2);
        }
    }
}

// The screen size rule for a size the host reports: at least 80 x 25; the
// windows are laid out again when the size differs.
void ApplyReportedScreenSize(int columns, int rows) {
    if (columns < 80) {
        columns = 80;
    }
    if (rows < 25) {
        rows = 25;
    }
    if (columns != ScreenColumns || rows != ScreenRows) {
        RelayoutScreen(columns, rows, true);
    }
}

void UpdateTitleFromActivePanel() {
    Westring title = ShortenedPathForDisplay(Westring(Panels[ActiveSide].path), 50);
    UpdateConsoleTitle(&title);
}

}  // namespace

void SetIdleOutputRegion() {
    int top = PanelsHidden() ? 0 : Config.PanelHeight + 4;
    int bottom = ScreenRows - 2;
    if (top > bottom) {
        top = bottom;
    }
    Console->SetOutputRegion(0, top, ScreenColumns, bottom - top + 1);
}

Westring CommandLinePrompt() {
    const CPanel* source = &Panels[ActiveSide];
    if (source->panelType == PANEL_INFO || source->viewStyle == VIEW_TREE) {
        source = OtherPanel(source);
    }
    Westring prompt(source->path);
    if (!Config.PathPrompt) {
        prompt = prompt.Left(2);
    }
    ShortenPathForDisplay(prompt, ScreenColumns / 2 - 1);
    prompt += '>';
    return prompt;
}

void DrawCommandLine(TMainLoopState& state) {
    TCommandLine& line = state.commandLine;
    Westring prompt = CommandLinePrompt();
    int promptLength = prompt.Length();
    line.ClampScroll(promptLength, ScreenColumns);
    Westring shown = line.scroll < line.text.Length() ? Westring(line.text.Data() + line.scroll) : Westring();
    Westring row = (prompt + shown.Left(ScreenColumns - promptLength)).Pad(ScreenColumns);
    Console->WriteWideText(0, ScreenRows - 2, row, ColourOf(ColourCommandLine));
}

void RelayoutScreen(int columns, int rows, bool followHost) {
    CloseClockWindow();
    for (int side = 0; side < 2; side++) {
        if (Panels[side].isOn) {
            ClosePanelWindow(&Panels[side]);
            Panels[side].isOn = 1;
        }
    }
    if (followHost) {
        FollowHostScreenSize(rows, columns);
    } else {
        SetScreenSize(rows, columns);
    }
    for (int side = 0; side < 2; side++) {
        if (Panels[side].isOn) {
            OpenPanelWindow(&Panels[side], side);
        }
    }
}

void ToggleScreenLines() {
    int rows = ScreenRows;
    int lines = Config.Lines;
    int wanted;
    if (rows == 25) {
        wanted = (lines >= 26 && lines <= 50) ? lines : 50;
    } else if (rows == 50) {
        wanted = lines > 50 ? lines : 25;
    } else {
        wanted = rows >= 50 ? 25 : 50;
    }
    RelayoutScreen(ScreenColumns, wanted);
}

void InstallTerminalHooks() {
    TerminalHooks.scrollBackOn = [] { return Config.ConsoleScrollback != 0; };
    TerminalHooks.appendScrollBackRow = AppendScreenRowToScrollBack;
    TerminalHooks.defaultAttribute = [] { return ColourOf(ColourCommandLine); };
    TerminalHooks.resized = ResizeRunningProgram;
}

void InstallScreenHooks() {
    InstallTerminalHooks();
    ScrollBackHooks.hideScreen = [] {
        CloseClockWindow();
        HideOrRestorePanels(false);
    };
    ScreenSizeHooks.beforeChange = [] {
        DeleteFunctionKeyBar();
        UpdatePanelHeight();
    };
    ScreenSizeHooks.afterChange = [] {
        UpdatePanelHeight();
        RecreateFunctionKeyBar(MainLoop.keyBarShiftState);
    };
    ModalLoopHooks.applyScreenSize = ApplyReportedScreenSize;
    ModalLoopHooks.answerConsoleControl = AnswerConsoleControlInLoop;
}

void RunMainLoop() {
    TMainLoopState& state = MainLoop;
    // The key bar follows the shift keys a host reports held.
    CModalLoop loop(CModalLoop::IgnoresResizes, CModalLoop::SeesShiftKeys);
    while (!state.quit) {
        HideOrRestorePanels(true);
        OpenClockWindow();
        if (FunctionKeyBar == nullptr || FunctionKeyBar->Row() != ScreenRows - 1) {
            RecreateFunctionKeyBar(state.shiftState);
            state.keyBarShiftState = state.shiftState;
        } else {
            FunctionKeyBar->Show();
        }
        bool hidden = PanelsHidden();
        if (!hidden && !Panels[ActiveSide].isOn) {
            SwitchActivePanel(Panels, 1 - ActiveSide);
            state.cursorMoved = true;
        }
        if (!hidden && state.redrawLevel != RedrawNothing) {
            SwitchActivePanel(Panels, ActiveSide);
        }
        CPanel* active = &Panels[ActiveSide];
        if (active->nameScrollOffset != 0 && active->CursorIndex() != state.nameScrollIndex) {
            active->nameScrollOffset = 0;
        }
        if (state.cursorMoved && !hidden) {
            if (active->isOn) {
                DrawCursorBar(ActiveSide, true);
            }
            if (OtherPanel(active)->isOn) {
                DrawPanelStatusLine(OtherPanel(active));
            }
        }
        state.cursorMoved = false;
        if (state.shiftState != state.keyBarShiftState) {
            state.redrawLevel = RedrawAll;
        }
        if (state.redrawLevel != RedrawNothing) {
            DrawCommandLine(state);
        }
        if (state.redrawLevel == RedrawAll) {
            if (FunctionKeyBar != nullptr) {
                FunctionKeyBar->SetLabelsForShift(state.shiftState);
            }
            state.keyBarShiftState = state.shiftState;
            UpdateTitleFromActivePanel();
        }
        active->shownTopIndex = active->topIndex;
        active->shownCursorRow = active->cursorRow;
        state.redrawLevel = RedrawNothing;

        Console->SetCursorPos(CommandLinePrompt().Length() + state.commandLine.cursor - state.commandLine.scroll,
                              ScreenRows - 2);

        TInputEvent event = {};
        int key;
        if (state.pendingKey != 0) {
            key = state.pendingKey;
            event = state.pendingEvent;
            state.pendingKey = 0;
        } else {
            Console->SetCursorShape(15);
            SetIdleOutputRegion();
            key = loop.Read(event, -1);
            Console->SetCursorShape(0);
        }
        Console->ResetOutputRegion();

        if (event.shiftState == -1) {
            event.shiftState = state.shiftState;
        }
        if (key == KEY_RESIZED) {
            // The loop helper has laid the screen out for the new size; the
            // first pass after it draws everything, the cursor bar included.
            state.redrawLevel = RedrawAll;
            state.cursorMoved = true;
            continue;
        }
        if (event.shiftState != state.shiftState) {
            state.shiftState = event.shiftState;
            state.redrawLevel = RedrawAll;
        }
        if (key == KEY_MOUSE) {
            HandleMouse(state, event);
            continue;
        }
        if (key == KEY_CLOSED) {
            state.quit = true;
            continue;
        }
        DispatchCommand(state, key, event);
    }
}
