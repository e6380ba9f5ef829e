// Network connections: a drive letter connected to a UNC share that is
// mounted here (see Shares.h). Other shares cannot be reached.
#include "platform/win32.h"

#include "platform/posix/Paths.h"
#include "platform/posix/Shares.h"

namespace {

using w32::WString;

// "X:" (a letter and a colon, nothing more): the letter, else 0.
WCHAR LocalLetter(const WString& name) {
    if (name.size() != 2 || name[1] != u':') {
        return 0;
    }
    WCHAR c = name[0];
    if (c >= u'a' && c <= u'z') {
        c = static_cast<WCHAR>(c - 32);
    }
    return c >= u'A' && c <= u'Z' ? c : 0;
}

// \\server\share (a trailing backslash allowed): false for anything else.
bool SplitShare(const WString& remote, WString& server, WString& share) {
    if (remote.size() < 5 || remote[0] != u'\\' || remote[1] != u'\\') {
        return false;
    }
    size_t slash = remote.find(u'\\', 2);
    if (slash == WString::npos || slash == 2) {
        return false;
    }
    server = remote.substr(2, slash - 2);
    share = remote.substr(slash + 1);
    if (!share.empty() && share.back() == u'\\') {
        share.pop_back();
    }
    return !share.empty() && share.find(u'\\') == WString::npos;
}

DWORD Cancel(const WString& name) {
    WCHAR letter = LocalLetter(name);
    if (letter != 0 && w32::DisconnectDrive(letter)) {
        return NO_ERROR;
    }
    return ERROR_NOT_CONNECTED;
}

}  // namespace

DWORD WINAPI WNetAddConnection2W(LPNETRESOURCEW netResource, LPCWSTR, LPCWSTR, DWORD) {
    if (netResource == nullptr || netResource->lpRemoteName == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    WString server, share;
    std::string dir;
    if (!SplitShare(WString(netResource->lpRemoteName), server, share) ||
        !w32::FindShareDirectory(server, share, dir)) {
        return ERROR_BAD_NET_NAME;
    }
    WString local = w32::WideArg(netResource->lpLocalName);
    if (local.empty()) {
        // A connection without a device: the share is reachable already.
        return NO_ERROR;
    }
    WCHAR letter = LocalLetter(local);
    if (letter == 0) {
        return ERROR_BAD_DEVICE;
    }
    return w32::ConnectDrive(letter, dir);
}

DWORD WINAPI WNetCancelConnection2W(LPCWSTR name, DWORD, BOOL) {
    return name == nullptr ? ERROR_INVALID_PARAMETER : Cancel(WString(name));
}

DWORD WINAPI WNetCancelConnectionW(LPCWSTR name, BOOL force) {
    return WNetCancelConnection2W(name, 0, force);
}

DWORD WINAPI WNetCancelConnectionA(LPCSTR name, BOOL) {
    return name == nullptr ? ERROR_INVALID_PARAMETER : Cancel(w32::WideArg(name));
}
