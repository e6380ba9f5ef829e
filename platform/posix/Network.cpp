// Network connections on a machine without a network.
#include "platform/win32.h"

DWORD WINAPI WNetAddConnection2W(LPNETRESOURCEW netResource, LPCWSTR, LPCWSTR, DWORD) {
    if (netResource == nullptr || netResource->lpRemoteName == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return ERROR_NO_NETWORK;
}

DWORD WINAPI WNetCancelConnection2W(LPCWSTR name, DWORD, BOOL) {
    // Nothing was ever connected, so no name can be redirected.
    return name == nullptr ? ERROR_INVALID_PARAMETER : ERROR_NOT_CONNECTED;
}

DWORD WINAPI WNetCancelConnectionW(LPCWSTR name, BOOL force) {
    return WNetCancelConnection2W(name, 0, force);
}

DWORD WINAPI WNetCancelConnectionA(LPCSTR name, BOOL) {
    return name == nullptr ? ERROR_INVALID_PARAMETER : ERROR_NOT_CONNECTED;
}
