// Network connections and the LAN Manager records of netapi32.
//
// The shares that can be reached are those mounted here: named in
// QUORVANE_SHARES or mounted as cifs or smb3. A drive letter connected to one
// is a drive of this process. netapi32 is not among the modules the layer can
// load, so callers that look up NetServerEnum and NetShareEnum at run time see
// the missing-library error. The records below are what those functions hand
// back on Windows; callers declare their own pointer types for the functions.
#pragma once

#include "platform/posix/W32Types.h"

// Remote resources for WNetAddConnection2W.
#define RESOURCETYPE_ANY 0x00000000
#define RESOURCETYPE_DISK 0x00000001
#define RESOURCETYPE_PRINT 0x00000002
#define CONNECT_UPDATE_PROFILE 0x00000001
#define CONNECT_TEMPORARY 0x00000004
#define CONNECT_INTERACTIVE 0x00000008

typedef struct _NETRESOURCEW {
    DWORD dwScope;
    DWORD dwType;
    DWORD dwDisplayType;
    DWORD dwUsage;
    LPWSTR lpLocalName;
    LPWSTR lpRemoteName;
    LPWSTR lpComment;
    LPWSTR lpProvider;
} NETRESOURCEW, *LPNETRESOURCEW;

// Connects a local device ("X:", or none) to a mounted share; any other share
// gives ERROR_BAD_NET_NAME, a letter in use ERROR_ALREADY_ASSIGNED.
DWORD WINAPI WNetAddConnection2W(LPNETRESOURCEW netResource, LPCWSTR password, LPCWSTR userName, DWORD flags);
// Drops a connected letter; any other name gives ERROR_NOT_CONNECTED.
DWORD WINAPI WNetCancelConnectionA(LPCSTR name, BOOL force);
DWORD WINAPI WNetCancelConnectionW(LPCWSTR name, BOOL force);
DWORD WINAPI WNetCancelConnection2W(LPCWSTR name, DWORD flags, BOOL force);

// LAN Manager: status codes, texts and the records of the enumerations.
typedef DWORD NET_API_STATUS;
typedef LPWSTR LMSTR;
typedef LPCWSTR LMCSTR;
#define NERR_Success 0
#define MAX_PREFERRED_LENGTH ((DWORD)-1)

// Server types of NetServerEnum.
#define SV_TYPE_WORKSTATION 0x00000001
#define SV_TYPE_SERVER 0x00000002
#define SV_TYPE_ALL 0xFFFFFFFF

typedef struct _SERVER_INFO_100 {
    DWORD sv100_platform_id;
    LMSTR sv100_name;
} SERVER_INFO_100, *PSERVER_INFO_100, *LPSERVER_INFO_100;

// Share types of NetShareEnum; the two high bits qualify the kind.
#define STYPE_DISKTREE 0
#define STYPE_PRINTQ 1
#define STYPE_DEVICE 2
#define STYPE_IPC 3
#define STYPE_TEMPORARY 0x40000000
#define STYPE_SPECIAL 0x80000000

typedef struct _SHARE_INFO_1 {
    LMSTR shi1_netname;
    DWORD shi1_type;
    LMSTR shi1_remark;
} SHARE_INFO_1, *PSHARE_INFO_1, *LPSHARE_INFO_1;
