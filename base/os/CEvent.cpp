#include "base/os/CEvent.h"

CEvent::CEvent() : handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CEvent::~CEvent() {
    if (handle != nullptr) {
        CloseHandle(handle);
    }
}

void CEvent::Set() {
    SetEvent(handle);
}

void CEvent::Reset() {
    ResetEvent(handle);
}

DWORD CEvent::Wait(DWORD milliseconds) {
    return WaitForSingleObject(handle, milliseconds);
}
