#include "platform/win32.h"
#include "TestThread.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

using qvtest::JoinTestThread;
using qvtest::StartTestThread;

// A pipe name of this process, different for every call.
std::string UniquePipeName(const char* stem) {
    static int counter = 0;
    char name[96];
    std::snprintf(name, sizeof(name), "\\\\.\\pipe\\%s.%08lx.%08x", stem,
                  static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
    return name;
}

// The inbound pipe the command runner reads a child's output through: one
// instance, byte mode, 4096-byte buffers, the write end opened by name.
HANDLE CreateInboundPipe(const std::string& name) {
    return CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
}

HANDLE OpenWriteEnd(const std::string& name) {
    return CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads until the pipe reports its end; the last error is left for the caller.
std::string ReadToEnd(HANDLE pipe) {
    std::string data;
    char buffer[1000];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        data.append(buffer, got);
    }
    return data;
}

TEST(NamedPipe, WrittenByOneThreadAndReadByAnother) {
    const std::string name = UniquePipeName("QvPipeTest");
    HANDLE readEnd = CreateInboundPipe(name);
    ASSERT_NE(readEnd, INVALID_HANDLE_VALUE);
    HANDLE writeEnd = OpenWriteEnd(name);
    ASSERT_NE(writeEnd, INVALID_HANDLE_VALUE) << GetLastError();

    // More than the pipe's buffer, so the writer has to wait for the reader.
    std::string sent;
    for (int i = 0; sent.size() < 20000; ++i) {
        sent += "line " + std::to_string(i) + "\n";
    }
    HANDLE writer = StartTestThread([writeEnd, &sent] {
        const size_t chunk = 777;
        for (size_t offset = 0; offset < sent.size(); offset += chunk) {
            const DWORD size = static_cast<DWORD>(std::min(chunk, sent.size() - offset));
            DWORD written = 0;
            if (!WriteFile(writeEnd, sent.data() + offset, size, &written, nullptr) || written != size) {
                return 1u;
            }
        }
        // Closing the only write end ends the pipe for the reader.
        CloseHandle(writeEnd);
        return 0u;
    });
    ASSERT_NE(writer, nullptr);
    const std::string received = ReadToEnd(readEnd);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(received.size(), sent.size());
    EXPECT_TRUE(received == sent);
    DWORD code = 99;
    ASSERT_EQ(WaitForSingleObject(writer, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(writer, &code));
    EXPECT_EQ(code, 0u);
    CloseHandle(writer);
    CloseHandle(readEnd);
}

TEST(NamedPipe, ClientOpenFollowsTheRegistry) {
    const std::string name = UniquePipeName("QvPipeOpen");
    SetLastError(0);
    EXPECT_EQ(OpenWriteEnd(name), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    HANDLE readEnd = CreateInboundPipe(name);
    ASSERT_NE(readEnd, INVALID_HANDLE_VALUE);
    // Pipe names ignore case.
    std::string upper = name;
    for (char& c : upper) {
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    HANDLE writeEnd = OpenWriteEnd(upper);
    ASSERT_NE(writeEnd, INVALID_HANDLE_VALUE) << GetLastError();
    // The one instance is taken.
    SetLastError(0);
    EXPECT_EQ(OpenWriteEnd(name), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_BUSY));

    DWORD written = 0;
    EXPECT_TRUE(WriteFile(writeEnd, "abc", 3, &written, nullptr));
    CloseHandle(writeEnd);
    EXPECT_EQ(ReadToEnd(readEnd), "abc");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    CloseHandle(readEnd);

    // Closing the server removes the name.
    SetLastError(0);
    EXPECT_EQ(OpenWriteEnd(name), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// A client opened by another thread; it retries while the instance is busy,
// as a client would after waiting for the pipe.
HANDLE StartClient(const std::string& name, HANDLE& client) {
    return StartTestThread([&name, &client] {
        for (int attempt = 0; attempt < 500; ++attempt) {
            Sleep(10);
            client = OpenWriteEnd(name);
            if (client != INVALID_HANDLE_VALUE || GetLastError() != ERROR_PIPE_BUSY) {
                break;
            }
        }
        return client != INVALID_HANDLE_VALUE ? 0u : 1u;
    });
}

TEST(NamedPipe, ConnectWaitsForAClientAndDisconnectCutsItOff) {
    const std::string name = UniquePipeName("QvPipeConnect");
    HANDLE server = CreateInboundPipe(name);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    HANDLE client = INVALID_HANDLE_VALUE;
    HANDLE opener = StartClient(name, client);
    // A client may have come first: that counts as connected too.
    const BOOL connected = ConnectNamedPipe(server, nullptr);
    EXPECT_TRUE(connected || GetLastError() == ERROR_PIPE_CONNECTED);
    ASSERT_EQ(JoinTestThread(opener), WAIT_OBJECT_0);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    SetLastError(0);
    EXPECT_FALSE(ConnectNamedPipe(server, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_CONNECTED));

    DWORD count = 0;
    char byte = 0;
    ASSERT_TRUE(WriteFile(client, "x", 1, &count, nullptr));
    ASSERT_TRUE(ReadFile(server, &byte, 1, &count, nullptr));
    EXPECT_EQ(byte, 'x');

    ASSERT_TRUE(DisconnectNamedPipe(server));
    EXPECT_FALSE(WriteFile(client, "y", 1, &count, nullptr));
    CloseHandle(client);
    // Until the server listens again, the instance takes no client.
    SetLastError(0);
    EXPECT_EQ(OpenWriteEnd(name), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_BUSY));

    client = INVALID_HANDLE_VALUE;
    opener = StartClient(name, client);
    const BOOL reconnected = ConnectNamedPipe(server, nullptr);
    EXPECT_TRUE(reconnected || GetLastError() == ERROR_PIPE_CONNECTED);
    ASSERT_EQ(JoinTestThread(opener), WAIT_OBJECT_0);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(WriteFile(client, "z", 1, &count, nullptr));
    CloseHandle(client);
    ASSERT_TRUE(ReadFile(server, &byte, 1, &count, nullptr));
    EXPECT_EQ(byte, 'z');
    CloseHandle(server);
}

TEST(AnonymousPipe, PeekReadAndBrokenPipe) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writeEnd, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);

    char peeked[8] = {};
    DWORD peekCount = 0;
    DWORD available = 0;
    ASSERT_TRUE(PeekNamedPipe(readEnd, peeked, 3, &peekCount, &available, nullptr));
    EXPECT_EQ(peekCount, 3u);
    EXPECT_EQ(available, 5u);
    EXPECT_EQ(std::string(peeked, 3), "hel");

    CloseHandle(writeEnd);
    // The data written before the close is still there, then the pipe has ended.
    char buffer[16];
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "hello");
    SetLastError(0);
    EXPECT_FALSE(ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    EXPECT_EQ(got, 0u);
    SetLastError(0);
    EXPECT_FALSE(PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    CloseHandle(readEnd);
}

TEST(AnonymousPipe, WriteWithoutReaderFails) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    CloseHandle(readEnd);
    DWORD written = 0;
    SetLastError(0);
    EXPECT_FALSE(WriteFile(writeEnd, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_DATA));
    CloseHandle(writeEnd);
}

// The program takes its channel to the host out of what children inherit;
// the call takes a live handle and refuses a closed one.
TEST(AnonymousPipe, InheritanceFlagOfALiveHandleOnly) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_TRUE(SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0));
    EXPECT_TRUE(SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT));
    CloseHandle(readEnd);
    SetLastError(0);
    EXPECT_FALSE(SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(writeEnd);
}

}  // namespace
