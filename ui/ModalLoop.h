// The one reader of input for every loop that waits for the user: the main
// loop, dialogs, the drive menu, the quick search, the help viewer, the
// scroll-back viewer and the history pickers. It answers the events that are
// no loop's own business the same way everywhere:
//
// - Screen-size changes. Consecutive resize events are merged (the last size
//   wins). The outermost loop (the main loop) gets KEY_RESIZED once the
//   program's layout hook has applied the new size, so that it redraws. A
//   loop nested inside it keeps its own layout and never sees the event,
//   unless it asks for resizes (CModalLoop::TakesResizes): then it gets
//   KEY_RESIZED with the new size in the event's x and y, to lay itself out
//   again. Either way the size reaches the layout as soon as control is back
//   in the outermost loop.
// - The host closing the input. Every read then returns KEY_CLOSED at once;
//   a nested loop ends on it as on Esc, the outermost loop quits.
// - Console control events (Ctrl-C, closing the console, log-off,
//   shut-down) that the handler left for the main thread. While a loop waits
//   the helper wakes up now and then and calls the program's hook; the hook
//   ends the program for a closing console in any loop, and asks its Ctrl-C
//   question only in the outermost loop, so that nothing is drawn over a
//   dialog (the question comes once the dialog is gone).
//
// Use: a loop makes one CModalLoop for its lifetime and reads every event
// through its Read:
//
//     CModalLoop loop;
//     for (;;) {
//         TInputEvent event = {};
//         int key = loop.Read(event, -1);
//         if (key == KEY_ESC || key == KEY_CLOSED) break;
//         ...
//     }
//
// Read returns 0 when the time-out passed, and also for a key event without
// a code that reports a new shift state (the main loop redraws the key bar
// for it); event.shiftState is -1 for events that bring no shift state
// (time-out, resize). KEY_IGNORED, which a host sends to report the shift
// keys held, is passed over unless the loop asks for it
// (CModalLoop::SeesShiftKeys): the main loop takes it, with its shift state,
// so that the key bar follows Alt and Ctrl held; dialogs and waits for a key
// press never see it.
#pragma once

#include "console/InputEvent.h"

// What the program installs at start-up; null hooks do nothing.
struct TModalLoopHooks {
    // Lays the screen out for a new size (already merged, not yet limited).
    void (*applyScreenSize)(int columns, int rows);
    // Answers a console control request left by the handler, if one waits.
    // outermost: whether the loop that waits is the outermost one.
    void (*answerConsoleControl)(bool outermost);
};
extern TModalLoopHooks ModalLoopHooks;

class CModalLoop {
public:
    // How often a wait wakes up to look for a console control request.
    static const int ControlPollMs = 250;

    enum EResizes { IgnoresResizes = 0, TakesResizes = 1 };
    enum EShiftKeys { PassesOverShiftKeys = 0, SeesShiftKeys = 1 };

    explicit CModalLoop(EResizes resizes = IgnoresResizes, EShiftKeys shiftKeys = PassesOverShiftKeys);
    ~CModalLoop();
    CModalLoop(const CModalLoop&) = delete;
    CModalLoop& operator=(const CModalLoop&) = delete;

    // The next event, waiting up to the time-out in milliseconds (-1 without
    // limit, 0 not at all): its key code (the event filled as ReadInputEvent
    // fills it), KEY_RESIZED as described above, or 0 (see above). A mouse
    // event the console does not use counts as nothing.
    int Read(TInputEvent& event, int timeout);
    bool IsOutermost() const { return outer == nullptr; }

    // The innermost running loop, null when none runs.
    static CModalLoop* Current();

private:
    // One event from the console, resize events merged; 0 when none came
    // within the time-out.
    int ReadMerged(TInputEvent& event, int timeout);

    CModalLoop* outer;
    EResizes resizes;
    EShiftKeys shiftKeys;
    // An event read past a run of resize events, returned next.
    bool haveAhead = false;
    int aheadKey = 0;
    TInputEvent aheadEvent = {};
};

// A size change that a nested loop did not take, waiting for the outermost
// loop; false when none waits. Taking it clears it.
bool TakePendingScreenSize(int& columns, int& rows);
