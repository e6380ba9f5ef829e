// DDE, the conversation with Program Manager. No DDE server exists here:
// DdeInitializeA fails with DMLERR_SYS_ERROR and the other calls answer as
// for an instance that was never made.
#pragma once

#include "platform/posix/W32Types.h"

typedef struct HCONV__* HCONV;
typedef struct HSZ__* HSZ;
typedef struct HDDEDATA__* HDDEDATA;
typedef struct tagCONVCONTEXT* PCONVCONTEXT;
typedef HDDEDATA(WINAPI* PFNCALLBACK)(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                      ULONG_PTR data1, ULONG_PTR data2);

#define DMLERR_NO_ERROR 0
#define DMLERR_DLL_NOT_INITIALIZED 0x4003
#define DMLERR_INVALIDPARAMETER 0x4006
#define DMLERR_SYS_ERROR 0x400F

#define APPCMD_CLIENTONLY 0x00000010L
#define CP_WINANSI 1004
#define XTYP_EXECUTE 0x4050
#define TIMEOUT_ASYNC 0xFFFFFFFF

UINT WINAPI DdeInitializeA(LPDWORD instance, PFNCALLBACK callback, DWORD command, DWORD reserved);
BOOL WINAPI DdeUninitialize(DWORD instance);
HSZ WINAPI DdeCreateStringHandleA(DWORD instance, LPCSTR text, int codePage);
BOOL WINAPI DdeFreeStringHandle(DWORD instance, HSZ hsz);
HCONV WINAPI DdeConnect(DWORD instance, HSZ service, HSZ topic, PCONVCONTEXT context);
BOOL WINAPI DdeDisconnect(HCONV conversation);
HDDEDATA WINAPI DdeClientTransaction(LPBYTE data, DWORD length, HCONV conversation, HSZ item, UINT format, UINT type,
                                     DWORD timeout, LPDWORD result);
UINT WINAPI DdeGetLastError(DWORD instance);
