#include "app/panels/NetworkBrowsing.h"
#include "base/os/ProcLookup.h"

#include "base/strings/Utf16String.h"

namespace {

typedef NET_API_STATUS(WINAPI* TNetServerEnum)(LMCSTR server, DWORD level, LPBYTE* buffer, DWORD preferredLength,
                                               LPDWORD entriesRead, LPDWORD totalEntries, DWORD serverType,
                                               LMCSTR domain, LPDWORD resumeHandle);
typedef NET_API_STATUS(WINAPI* TNetShareEnum)(LMSTR server, DWORD level, LPBYTE* buffer, DWORD preferredLength,
                                              LPDWORD entriesRead, LPDWORD totalEntries, LPDWORD resumeHandle);
typedef NET_API_STATUS(WINAPI* TNetApiBufferFree)(LPVOID buffer);

HMODULE NetApiLibrary = nullptr;
TNetServerEnum NetServerEnumFunction = nullptr;
TNetShareEnum NetShareEnumFunction = nullptr;
TNetApiBufferFree NetApiBufferFreeFunction = nullptr;

Westring NameOf(const WCHAR* text) {
    return text ? Westring(text) : Westring();
}

}  // namespace

DWORD LoadNetApi() {
    HMODULE library = LoadLibraryA("NETAPI32");
    if (library == nullptr)
        return GetLastError();
    NetServerEnumFunction = LookupProc<TNetServerEnum>(library, "NetServerEnum");
    NetShareEnumFunction = LookupProc<TNetShareEnum>(library, "NetShareEnum");
    NetApiBufferFreeFunction = LookupProc<TNetApiBufferFree>(library, "NetApiBufferFree");
    if (NetServerEnumFunction == nullptr || NetShareEnumFunction == nullptr || NetApiBufferFreeFunction == nullptr) {
        const DWORD error = GetLastError();
        FreeLibrary(library);
        NetServerEnumFunction = nullptr;
        NetShareEnumFunction = nullptr;
        NetApiBufferFreeFunction = nullptr;
        return error;
    }
    NetApiLibrary = library;
    return 0;
}

DWORD EnsureNetApi() {
    return NetApiLibrary ? 0 : LoadNetApi();
}

DWORD EnumNetworkServers(WestringStore& servers) {
    const DWORD loaded = EnsureNetApi();
    if (loaded != 0)
        return loaded;
    LPBYTE buffer = nullptr;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status = NetServerEnumFunction(nullptr, 100, &buffer, MAX_PREFERRED_LENGTH, &read, &total,
                                                        SV_TYPE_ALL, nullptr, nullptr);
    if (status == NERR_Success) {
        const SERVER_INFO_100* info = reinterpret_cast<const SERVER_INFO_100*>(buffer);
        for (DWORD i = 0; i < read; i++)
            servers.Add(new Westring(NameOf(info[i].sv100_name)));
    }
    if (buffer != nullptr)
        NetApiBufferFreeFunction(buffer);
    return status;
}

DWORD EnumServerShares(WestringStore& shares, const Westring& server) {
    const DWORD loaded = EnsureNetApi();
    if (loaded != 0)
        return loaded;
    Utf16String serverName(server);
    LPBYTE buffer = nullptr;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status =
        NetShareEnumFunction(serverName.Data(), 1, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr);
    if (status == NERR_Success) {
        const SHARE_INFO_1* info = reinterpret_cast<const SHARE_INFO_1*>(buffer);
        for (DWORD i = 0; i < read; i++) {
            // Only plain disk shares: administrative shares carry the special
            // bit beside the disk type, and printers and devices are no folders.
            if (info[i].shi1_type == STYPE_DISKTREE)
                shares.Add(new Westring(NameOf(info[i].shi1_netname)));
        }
    }
    if (buffer != nullptr)
        NetApiBufferFreeFunction(buffer);
    return status;
}
