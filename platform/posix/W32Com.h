// COM, as far as the shell link object goes: one class (CLSID_ShellLink) with
// its IShellLinkW and IPersistFile interfaces. Here a shell link is saved as a
// desktop entry: "TITLE.lnk" is written as "TITLE.desktop" beside it.
#pragma once

#include "platform/posix/W32Types.h"

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID, IID, CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef WCHAR OLECHAR;
typedef const OLECHAR* LPCOLESTR;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define FACILITY_WIN32 7
#define HRESULT_FROM_WIN32(x) \
    ((HRESULT)(x) <= 0 ? ((HRESULT)(x)) : ((HRESULT)(((x)&0x0000FFFF) | (FACILITY_WIN32 << 16) | 0x80000000)))

#define CLSCTX_INPROC_SERVER 0x1

extern const CLSID CLSID_ShellLink;
extern const IID IID_IUnknown;
extern const IID IID_IShellLinkW;
extern const IID IID_IPersistFile;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
        return false;
    }
    for (int i = 0; i < 8; i++) {
        if (a.Data4[i] != b.Data4[i]) {
            return false;
        }
    }
    return true;
}

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

// The parts of a shell link the system sets.
struct IShellLinkW : IUnknown {
    virtual HRESULT SetDescription(LPCWSTR name) = 0;
    virtual HRESULT SetWorkingDirectory(LPCWSTR directory) = 0;
    virtual HRESULT SetArguments(LPCWSTR arguments) = 0;
    virtual HRESULT SetPath(LPCWSTR file) = 0;
};

struct IPersistFile : IUnknown {
    virtual HRESULT Save(LPCOLESTR fileName, BOOL remember) = 0;
};

HRESULT WINAPI CoInitialize(LPVOID reserved);
void WINAPI CoUninitialize();
// Only CLSID_ShellLink in process exists: REGDB_E_CLASSNOTREG for others.
HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);
