// Network connections and the network enumeration library, for shares that
// are not there.
#include "platform/win32.h"
#include "RunningUnderWine.h"

#include <gtest/gtest.h>

namespace {

TEST(Network, NetApiLibraryIsMissing) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "wine ships its own netapi32";
    }
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("NETAPI32"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(Network, ConnectingAShareFails) {
    WCHAR remote[] = W32TEXT("\\\\qvnosuchserver\\share");
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = remote;
    const DWORD result = WNetAddConnection2W(&resource, nullptr, nullptr, CONNECT_TEMPORARY);
    EXPECT_NE(result, static_cast<DWORD>(NO_ERROR));
    if (!qvtest::RunningUnderWine()) {
        EXPECT_EQ(result, static_cast<DWORD>(ERROR_BAD_NET_NAME));
    }
}

TEST(Network, CancellingALocalNameFindsNoConnection) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "wine answers for its network providers";
    }
    EXPECT_EQ(WNetCancelConnectionA("Q:", FALSE), static_cast<DWORD>(ERROR_NOT_CONNECTED));
    EXPECT_EQ(WNetCancelConnectionA("\\\\qvnosuchserver\\share", TRUE), static_cast<DWORD>(ERROR_NOT_CONNECTED));
}

}  // namespace
