#include "ui/ModalLoop.h"

#include "platform/win32.h"

TModalLoopHooks ModalLoopHooks = {nullptr, nullptr};

namespace {

// Loops run on the main thread only, one inside the other.
CModalLoop* Innermost = nullptr;

bool HavePendingSize = false;
int PendingColumns = 0;
int PendingRows = 0;

void AnswerConsoleControl(bool outermost) {
    if (ModalLoopHooks.answerConsoleControl != nullptr) {
        ModalLoopHooks.answerConsoleControl(outermost);
    }
}

}  // namespace

bool TakePendingScreenSize(int& columns, int& rows) {
    if (!HavePendingSize) {
        return false;
    }
    HavePendingSize = false;
    columns = PendingColumns;
    rows = PendingRows;
    return true;
}

CModalLoop::CModalLoop(EResizes resizes, EShiftKeys shiftKeys)
    : outer(Innermost), resizes(resizes), shiftKeys(shiftKeys) {
    Innermost = this;
}

CModalLoop::~CModalLoop() {
    Innermost = outer;
}

CModalLoop* CModalLoop::Current() {
    return Innermost;
}

int CModalLoop::ReadMerged(TInputEvent& event, int timeout) {
    int key;
    if (haveAhead) {
        haveAhead = false;
        event = aheadEvent;
        key = aheadKey;
    } else {
        event = TInputEvent{};
        event.shiftState = -1;  // a key event always overwrites it
        key = ReadInputEvent(&event, timeout);
    }
    if (key != KEY_RESIZED) {
        return key;
    }
    // Take the resize events that follow at once; the last size wins. The
    // first other event is kept for the next read.
    for (;;) {
        TInputEvent next = {};
        next.shiftState = -1;
        int nextKey = ReadInputEvent(&next, 0);
        if (nextKey == KEY_RESIZED) {
            event.x = next.x;
            event.y = next.y;
            continue;
        }
        if (nextKey != 0 || next.shiftState != -1) {
            haveAhead = true;
            aheadKey = nextKey;
            aheadEvent = next;
        }
        return KEY_RESIZED;
    }
}

int CModalLoop::Read(TInputEvent& event, int timeout) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (IsOutermost() && TakePendingScreenSize(event.x, event.y)) {
            event.shiftState = -1;
            if (ModalLoopHooks.applyScreenSize != nullptr) {
                ModalLoopHooks.applyScreenSize(event.x, event.y);
            }
            return KEY_RESIZED;
        }
        int slice = ControlPollMs;
        if (timeout >= 0) {
            const int waited = static_cast<int>(GetTickCount() - start);
            const int left = timeout > waited ? timeout - waited : 0;
            slice = left < slice ? left : slice;
        }
        const int key = ReadMerged(event, slice);
        if (key == KEY_RESIZED) {
            HavePendingSize = true;
            PendingColumns = event.x;
            PendingRows = event.y;
            if (resizes == TakesResizes && !IsOutermost()) {
                return KEY_RESIZED;
            }
            continue;  // the outermost loop applies it at the top
        }
        if (key == KEY_IGNORED && shiftKeys == PassesOverShiftKeys) {
            continue;
        }
        if (key != 0 || event.shiftState != -1) {
            return key;
        }
        AnswerConsoleControl(IsOutermost());
        if (timeout >= 0 && static_cast<int>(GetTickCount() - start) >= timeout) {
            return 0;
        }
    }
}
