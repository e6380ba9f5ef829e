#include "ui/EscapePoll.h"

#include "base/os/SystemHelpers.h"
#include "console/Console.h"
#include "console/InputEvent.h"

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
    CConsole::TEvent event;
    if (!Console->GetEvent(event, 0) || event.kind != CConsole::TEvent::KindKey) {
        return false;
    }
    EscapePollShiftState = event.shiftState;
    return event.character == KEY_ESC || event.code == KEY_ESC;
}
