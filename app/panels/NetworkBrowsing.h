// The servers of the network and the disk shares of one server, as lists of
// names for the panels and the network chooser.
//
// The enumeration functions live in NETAPI32, which is loaded on first use so
// that the program starts without it; while it cannot be loaded every call
// fails with the load error and appends nothing.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

// Loads NETAPI32 and looks up its three functions: 0 or the system error.
DWORD LoadNetApi();
// LoadNetApi unless the library is loaded already.
DWORD EnsureNetApi();
// Appends the name of every server of the network: 0 or the error code.
DWORD EnumNetworkServers(WestringStore& servers);
// Appends the name of every disk share of the server (printer, device and
// special shares are left out): 0 or the error code.
DWORD EnumServerShares(WestringStore& shares, const Westring& server);
