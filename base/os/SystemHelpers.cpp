#include "base/os/SystemHelpers.h"

#include <cctype>

#include "base/os/CWinHandle.h"

double GetSystemTimeSeconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t ticks = (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return double(ticks) / 10000000.0;
}

DWORD DriveDeviceIoControl(char letter, DWORD controlCode) {
    char device[] = "\\\\.\\X:";
    device[4] = letter;
    HANDLE h = CreateFileA(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    CWinHandle drive(h);
    DWORD returned = 0;
    if (!DeviceIoControl(h, controlCode, nullptr, 0, nullptr, 0, &returned, nullptr)) {
        return GetLastError();
    }
    return 0;
}

DWORD EjectMedia(char letter) {
    return DriveDeviceIoControl(letter, IOCTL_STORAGE_EJECT_MEDIA);
}

DWORD LoadMedia(char letter) {
    return DriveDeviceIoControl(letter, IOCTL_STORAGE_LOAD_MEDIA);
}

void SqueezeWhitespace(char* text) {
    char* to = text;
    for (const char* from = text; *from != 0; from++) {
        if (!isspace(static_cast<unsigned char>(*from))) {
            *to++ = *from;
        }
    }
    *to = 0;
}
