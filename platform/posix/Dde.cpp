// DDE on a system without it: no instance can be made, so nothing can be
// connected or sent.
#include "platform/win32.h"

UINT WINAPI DdeInitializeA(LPDWORD instance, PFNCALLBACK callback, DWORD, DWORD) {
    if (instance == nullptr || callback == nullptr) {
        return DMLERR_INVALIDPARAMETER;
    }
    *instance = 0;
    return DMLERR_SYS_ERROR;
}

BOOL WINAPI DdeUninitialize(DWORD) {
    return FALSE;
}

HSZ WINAPI DdeCreateStringHandleA(DWORD, LPCSTR, int) {
    return nullptr;
}

BOOL WINAPI DdeFreeStringHandle(DWORD, HSZ) {
    return FALSE;
}

HCONV WINAPI DdeConnect(DWORD, HSZ, HSZ, PCONVCONTEXT) {
    return nullptr;
}

BOOL WINAPI DdeDisconnect(HCONV) {
    return FALSE;
}

HDDEDATA WINAPI DdeClientTransaction(LPBYTE, DWORD, HCONV, HSZ, UINT, UINT, DWORD, LPDWORD) {
    return nullptr;
}

UINT WINAPI DdeGetLastError(DWORD) {
    return DMLERR_DLL_NOT_INITIALIZED;
}
