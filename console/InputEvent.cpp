#include "console/InputEvent.h"

#include "base/strings/CaseTable.h"

DWORD AltKeyMask = LEFT_ALT_PRESSED;
bool IsNtBasedSystem = true;
HANDLE LocalConsoleInput = nullptr;
HANDLE LocalConsoleOutput = nullptr;
DWORD SavedConsoleInputMode = 0;
bool ConsoleInputModeSaved = false;

namespace {

// Mouse actions by event kind (1 to 4) and button (1 or 2).
const int32_t MouseActions[4][2] = {
    {TInputEvent::ActionPress1, TInputEvent::ActionPress2},
    {TInputEvent::ActionRelease1, TInputEvent::ActionRelease2},
    {TInputEvent::ActionMove1, TInputEvent::ActionMove2},
    {TInputEvent::ActionDouble1, TInputEvent::ActionPress2},
};

// Window and mouse input.
const DWORD LocalInputMode = ENABLE_WINDOW_INPUT | ENABLE_MOUSE_INPUT;

}  // namespace

bool TranslateMouseEvent(const CConsole::TEvent& event, TInputEvent& inputEvent) {
    int32_t action;
    if (event.kind == CConsole::TEvent::KindMouseWheel) {
        action = TInputEvent::ActionWheel;
    } else if (event.kind >= CConsole::TEvent::KindMousePress && event.kind <= CConsole::TEvent::KindMouseDouble &&
               (event.code == 1 || event.code == 2)) {
        action = MouseActions[event.kind - 1][event.code - 1];
    } else {
        return false;
    }
    inputEvent.action = action;
    inputEvent.x = event.x;
    inputEvent.y = event.y;
    inputEvent.shiftState = event.shiftState;
    inputEvent.button = event.code;
    return true;
}

int ReadInputEvent(TInputEvent* inputEvent, int timeout) {
    if (Console == nullptr) {
        // Nothing can ever arrive.
        return KEY_CLOSED;
    }
    CConsole::TEvent event;
    if (!Console->GetEvent(event, timeout < 0 ? INFINITE : static_cast<DWORD>(timeout))) {
        return 0;
    }
    switch (event.kind) {
    case CConsole::TEvent::KindKey:
        if (inputEvent != nullptr) {
            inputEvent->shiftState = event.shiftState;
            inputEvent->character = event.character;
        }
        return event.code;
    case CConsole::TEvent::KindClosed: return KEY_CLOSED;
    case CConsole::TEvent::KindResized:
        if (inputEvent != nullptr) {
            inputEvent->x = event.x;
            inputEvent->y = event.y;
        }
        return KEY_RESIZED;
    default:
        if (event.kind >= CConsole::TEvent::KindMousePress && event.kind <= CConsole::TEvent::KindMouseWheel) {
            if (inputEvent == nullptr || TranslateMouseEvent(event, *inputEvent)) {
                return KEY_MOUSE;
            }
        }
        return 0;
    }
}

int TranslateKeyChar(int keyCode, const TInputEvent& inputEvent) {
    if (inputEvent.character >= 1 && inputEvent.character <= 0xFFFF) {
        return static_cast<int>(ToLowerChar(static_cast<char32_t>(inputEvent.character)));
    }
    return keyCode;
}

int TranslateShiftState(DWORD controlKeyState) {
    int shift = 0;
    if (controlKeyState & AltKeyMask) {
        shift |= SHIFT_ALT;
    }
    if (controlKeyState & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) {
        shift |= SHIFT_CTRL;
    }
    if (controlKeyState & SHIFT_PRESSED) {
        shift |= SHIFT_SHIFT;
    }
    if (controlKeyState & NUMLOCK_ON) {
        shift |= SHIFT_NUMLOCK;
    }
    return shift;
}

void InitLocalConsole() {
    LocalConsoleOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    LocalConsoleInput = GetStdHandle(STD_INPUT_HANDLE);
    // Under a console host the standard input is a pipe: there is no mode to
    // save or set.
    DWORD mode = 0;
    if (GetConsoleMode(LocalConsoleInput, &mode)) {
        SavedConsoleInputMode = mode;
        ConsoleInputModeSaved = true;
        SetConsoleMode(LocalConsoleInput, LocalInputMode);
    }
    IsNtBasedSystem = (GetVersion() & 0x80000000u) == 0;
}

void RestoreLocalConsoleMode() {
    if (ConsoleInputModeSaved) {
        SetConsoleMode(LocalConsoleInput, SavedConsoleInputMode);
    }
}

bool IsInputPending() {
    return Console != nullptr && Console->HasPendingEvents();
}
