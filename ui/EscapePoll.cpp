#include "ui/EscapePoll.h"

#include "base/os/SystemHelpers.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "ui/ModalLoop.h"

int EscapePollShiftState = 0;

bool PollEscapeKey() {
    static double lastCheck = 0;
    double now = GetSystemTimeSeconds();
    if (now - lastCheck < 0.1) {
        return false;
    }
    lastCheck = now;
    // The keyboard belongs to the host: its events wait in the client's queue.
    if (Console == nullptr || !Console->HasPendingEvents()) {
        return false;
    }
    // Read as a loop nested in the one that started the operation: a size
    // change is kept for the main loop rather than lost, and a closing
    // console ends the program.
    CModalLoop poll;
    TInputEvent event = {};
    int key = poll.Read(event, 0);
    if (event.shiftState < 0 || key == KEY_MOUSE) {
        return false;
    }
    EscapePollShiftState = event.shiftState;
    return event.character == KEY_ESC || key == KEY_ESC;
}
