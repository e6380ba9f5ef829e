#include "platform/win32.h"

#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using qvtest::TempDir;
using qvtest::W;

TEST(ProcessesTest, BinaryTypeTellsProgramsFromOtherFiles) {
    // The running test program is a program on every system.
    WCHAR own[1024];
    DWORD n = GetModuleFileNameW(nullptr, own, 1024);
    ASSERT_GT(n, 0u);
    DWORD kind = 0xdead;
    EXPECT_TRUE(GetBinaryTypeW(own, &kind));
    EXPECT_NE(0xdeadu, kind);

    TempDir dir;
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("notes")), "#!not a program"));
    EXPECT_FALSE(GetBinaryTypeW(dir.Join(W("notes")).c_str(), &kind));
    EXPECT_FALSE(GetBinaryTypeW(dir.Join(W("missing")).c_str(), &kind));
    EXPECT_FALSE(GetBinaryTypeW(dir.Path().c_str(), &kind));
}

TEST(ProcessesTest, SearchPathKeepsItsDirectoriesInDriveForm) {
    WCHAR saved[32768];
    DWORD had = GetEnvironmentVariableW(W("PATH").c_str(), saved, 32768);
    ASSERT_TRUE(SetEnvironmentVariableW(W("PATH").c_str(), W("C:\\qv-one;S:\\qv-two").c_str()));
    WCHAR value[256];
    DWORD n = GetEnvironmentVariableW(W("PATH").c_str(), value, 256);
    EXPECT_EQ(W("C:\\qv-one;S:\\qv-two"), qvtest::WString(value, n));
    SetEnvironmentVariableW(W("PATH").c_str(), had ? saved : nullptr);
}

}  // namespace

namespace {

using qvtest::TempDir;
using qvtest::W;

// The test program runs itself as the child: with QV_PROCESS_CHILD set, the
// test named by it does the child's part and ends the process.
const char* ChildMode() {
    return std::getenv("QV_PROCESS_CHILD");
}

TEST(ProcessesChild, Run) {
    const char* mode = ChildMode();
    if (mode == nullptr) {
        GTEST_SKIP() << "the child's part of the process tests";
    }
    std::string what = mode;
    if (what == "streams") {
        std::fputs("to-out\n", stdout);
        std::fputs("to-err\n", stderr);
        std::fflush(nullptr);
        std::_Exit(7);
    }
    if (what == "args") {
        // Everything after the "--" marker, one per line, and the variable.
        const std::vector<std::string>& argv = ::testing::internal::GetArgvs();
        bool after = false;
        for (const std::string& arg : argv) {
            if (after) {
                std::printf("[%s]\n", arg.c_str());
            }
            after = after || arg == "--";
        }
        WCHAR value[256];
        DWORD n = GetEnvironmentVariableW(W("QV_CHILD_VAR").c_str(), value, 256);
        std::printf("var=%s\n", n ? qvtest::U8(qvtest::WString(value, n)).c_str() : "(none)");
        std::printf("empty=%s\n", std::getenv("QV_CHILD_EMPTY") ? "set" : "(none)");
        std::fflush(nullptr);
        std::_Exit(0);
    }
    if (what == "echo-line") {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        char line[128] = {};
        if (std::fgets(line, sizeof line, stdin) == nullptr) {
            std::_Exit(3);
        }
        std::printf("got:%s", line);
        std::fflush(stdout);
        std::_Exit(5);
    }
    std::_Exit(99);
}

qvtest::WString OwnProgram() {
    WCHAR own[1024];
    DWORD n = GetModuleFileNameW(nullptr, own, 1024);
    return qvtest::WString(own, n);
}

// Starts the test program in a child mode; the environment block is the
// process's own plus the mode.
bool StartChild(const char* mode, const qvtest::WString& extraArgs, STARTUPINFOW& start, DWORD flags,
                PROCESS_INFORMATION& info, const qvtest::WString& extraEnv = qvtest::WString()) {
    qvtest::WString block;
    LPWSTR own = GetEnvironmentStringsW();
    for (const WCHAR* entry = own; *entry != 0;) {
        qvtest::WString text(entry);
        block += text;
        block += WCHAR(0);
        entry += text.size() + 1;
    }
    FreeEnvironmentStringsW(own);
    block += W("QV_PROCESS_CHILD=") + W(mode);
    block += WCHAR(0);
    block += extraEnv;
    block += WCHAR(0);
    qvtest::WString line = W("\"") + OwnProgram() + W("\" --gtest_filter=ProcessesChild.Run -- ") + extraArgs;
    std::vector<WCHAR> mutableLine(line.begin(), line.end());
    mutableLine.push_back(0);
    return CreateProcessW(OwnProgram().c_str(), mutableLine.data(), nullptr, nullptr, TRUE,
                          flags | CREATE_UNICODE_ENVIRONMENT, &block[0], nullptr, &start, &info) != FALSE;
}

HANDLE InheritableFile(const qvtest::WString& path, bool write) {
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
    return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &security, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(ProcessesTest, ChildStreamsGoToTheGivenHandlesAndItsExitCodeIsKept) {
    TempDir dir;
    HANDLE out = InheritableFile(dir.Join(W("out.txt")), true);
    HANDLE err = InheritableFile(dir.Join(W("err.txt")), true);
    ASSERT_NE(INVALID_HANDLE_VALUE, out);
    ASSERT_NE(INVALID_HANDLE_VALUE, err);
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = out;
    start.hStdError = err;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(StartChild("streams", W(""), start, 0, info));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 60000));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(7u, code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(out);
    CloseHandle(err);
    EXPECT_NE(std::string::npos, qvtest::ReadFileBytes(dir.Join(W("out.txt"))).find("to-out"));
    EXPECT_EQ("to-err", qvtest::ReadFileBytes(dir.Join(W("err.txt"))).substr(0, 6));
}

TEST(ProcessesTest, CommandLineIsSplitByTheRuntimeRulesAndTheBlockReachesTheChild) {
    TempDir dir;
    HANDLE out = InheritableFile(dir.Join(W("out.txt")), true);
    ASSERT_NE(INVALID_HANDLE_VALUE, out);
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = out;
    start.hStdError = out;
    PROCESS_INFORMATION info = {};
    qvtest::WString args = W("plain \"two words\" a\\\\\"b\" \\\\server\\x \"q\\\"uote\" ;|&$HOME");
    qvtest::WString env = W("QV_CHILD_VAR=\xc3\xa9t\xc3\xa9");
    env += WCHAR(0);
    env += W("QV_CHILD_EMPTY=");
    ASSERT_TRUE(StartChild("args", args, start, 0, info, env));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 60000));
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(out);
    std::string text;
    // A Windows child writes its lines with CR LF.
    for (char c : qvtest::ReadFileBytes(dir.Join(W("out.txt")))) {
        if (c != '\r') {
            text += c;
        }
    }
    EXPECT_NE(
        std::string::npos,
        text.find("[plain]\n[two words]\n[a\\b]\n[\\\\server\\x]\n[q\"uote]\n[;|&$HOME]\nvar=\xc3\xa9t\xc3\xa9\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("empty=")) << text;
}

TEST(ProcessesTest, MissingProgramFailsToStart) {
    TempDir dir;
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION info = {};
    qvtest::WString missing = dir.Join(W("missing.exe"));
    std::vector<WCHAR> line(missing.begin(), missing.end());
    line.push_back(0);
    EXPECT_FALSE(
        CreateProcessW(missing.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

// Reads what the pipe holds until `wanted` has come or the time is up.
std::string ReadUntil(HANDLE pipe, const std::string& wanted, std::string text = std::string()) {
    for (int round = 0; round < 3000 && text.find(wanted) == std::string::npos; round++) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            break;
        }
        if (available == 0) {
            Sleep(10);
            continue;
        }
        char buffer[512];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr)) {
            break;
        }
        text.append(buffer, got);
    }
    return text;
}

TEST(ProcessesTest, ChildOnAPseudoConsoleTakesTypedInputAndItsOutputComesOut) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "wine's pseudo console does not pass a child's output through";
    }
    HANDLE inRead, inWrite, outRead, outWrite;
    ASSERT_TRUE(CreatePipe(&inRead, &inWrite, nullptr, 0));
    ASSERT_TRUE(CreatePipe(&outRead, &outWrite, nullptr, 0));
    HPCON console = nullptr;
    COORD size = {80, 25};
    ASSERT_EQ(S_OK, CreatePseudoConsole(size, inRead, outWrite, 0, &console));
    CloseHandle(inRead);
    CloseHandle(outWrite);
    SIZE_T bytes = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &bytes);
    std::vector<char> storage(bytes);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    ASSERT_TRUE(InitializeProcThreadAttributeList(list, 1, 0, &bytes));
    ASSERT_TRUE(UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE, console, sizeof console,
                                          nullptr, nullptr));
    STARTUPINFOEXW start = {};
    start.StartupInfo.cb = sizeof start;
    start.lpAttributeList = list;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(StartChild("echo-line", W(""), start.StartupInfo, EXTENDED_STARTUPINFO_PRESENT, info));
    std::string text = ReadUntil(outRead, "ready");
    ASSERT_NE(std::string::npos, text.find("ready")) << text;
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(inWrite, "typed\r", 6, &put, nullptr));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 60000));
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    EXPECT_EQ(5u, code);
    ClosePseudoConsole(console);
    // After the close the output ends: read it to the end.
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    EXPECT_NE(std::string::npos, text.find("got:typed")) << text;
    DeleteProcThreadAttributeList(list);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(inWrite);
    CloseHandle(outRead);
}

}  // namespace
