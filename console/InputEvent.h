// Reading input: ReadInputEvent turns the console client's next event into one
// key code (and, for the mouse, a TInputEvent); the translations the readers
// share; and the few operations that would talk to a local console.
#pragma once

#include <cstdint>

#include "console/Console.h"
#include "console/KeyCodes.h"
#include "platform/win32.h"

// What a mouse event (or a key's shift state and character) comes with.
struct TInputEvent {
    enum {
        ActionPress1 = 0,
        ActionPress2 = 1,
        ActionMove1 = 2,     // moved with button 1 held
        ActionMove2 = 3,     // moved with button 2 held
        ActionDouble1 = 4,   // double click of button 1
        ActionRelease1 = 5,  // button 1 released: a completed click
        ActionRelease2 = 6,
        ActionWheel = 7,  // button holds the wheel delta
    };
    int32_t action;
    int32_t x;
    int32_t y;
    int32_t shiftState;
    int32_t button;  // mouse button, or the wheel delta
    int32_t character;
};

// The next key code, waiting up to the time-out in milliseconds (-1 without
// limit, 0 not at all); 0 when no event came or a mouse event is not used.
// inputEvent may be null.
int ReadInputEvent(TInputEvent* inputEvent, int timeout);
// The mouse-action table; false for an event it does not take.
bool TranslateMouseEvent(const CConsole::TEvent& event, TInputEvent& inputEvent);
// The event's character in lower case when it is 1 to 0xFFFF, else the key
// code: how hot letters match whatever the keyboard layout.
int TranslateKeyChar(int keyCode, const TInputEvent& inputEvent);
// A Windows console control-key state as the shift bits of events.
int TranslateShiftState(DWORD controlKeyState);

// Which Alt keys count as Alt: 2 the left one only, 3 either (English
// layouts). The locale set-up of the main program sets it.
extern DWORD AltKeyMask;
// Recorded by InitLocalConsole: false on the old Windows family.
extern bool IsNtBasedSystem;
// The standard handles and the console input mode found at start, for the
// few direct uses and for restoring the mode at the end.
extern HANDLE LocalConsoleInput;
extern HANDLE LocalConsoleOutput;
extern DWORD SavedConsoleInputMode;
extern bool ConsoleInputModeSaved;

// Keeps the standard handles, saves the input mode and sets window and mouse
// input (24) where a local console exists, and records the system family.
void InitLocalConsole();
// Puts the saved input mode back (when one was saved).
void RestoreLocalConsoleMode();
// True when input events wait. The keyboard belongs to the host, so this
// looks at the console client's queue.
bool IsInputPending();
// A star field over the whole screen in the attribute (the "Screen Saver"
// colour) until input arrives; the input is dropped and the screen put back.
void ScreenSaver(uint8_t attribute);
