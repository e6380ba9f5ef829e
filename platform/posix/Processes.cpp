// Processes: program kinds, and (below) child programs.
#include "platform/posix/CommandLine.h"
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <set>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using w32::WString;

BOOL WINAPI GetBinaryTypeW(LPCWSTR lpApplicationName, LPDWORD lpBinaryType) {
    std::string posix;
    if (!lpApplicationName || !w32::ToPosixPath(w32::WideArg(lpApplicationName), posix)) {
        return FALSE;
    }
    int fd = w32::RetryEintr([&] { return ::open(posix.c_str(), O_RDONLY | O_CLOEXEC); });
    if (fd < 0) {
        return w32::FailPathErrno(errno, posix);
    }
    struct stat info;
    char head[4] = {};
    bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ssize_t got = regular ? w32::RetryEintr([&] { return ::read(fd, head, sizeof head); }) : 0;
    ::close(fd);
    // An ELF image runs as it is; a "#!" script only when its owner may run
    // it, as the system's exec would refuse it otherwise.
    bool elf = got == 4 && std::memcmp(head,
                                       "\x7f"
                                       "ELF",
                                       4) == 0;
    bool script = got >= 2 && head[0] == '#' && head[1] == '!' && (info.st_mode & S_IXUSR) != 0;
    if (!elf && !script) {
        return w32::Fail(ERROR_BAD_EXE_FORMAT);
    }
    if (lpBinaryType) {
        *lpBinaryType = SCS_64BIT_BINARY;
    }
    return TRUE;
}

// ---- Pseudo consoles ----

namespace w32 {

namespace {

// The descriptor behind a file handle, or -1.
int FdOf(HANDLE handle) {
    auto file = LookupHandleAs<FileObject>(handle, HandleKind::File);
    return file ? file->fd : -1;
}

// One pseudo-terminal with the two copying threads that join it to the
// caller's handles, as a console host would: input handle -> terminal,
// terminal -> output handle.
struct PseudoConsole {
    int master = -1;
    int slave = -1;
    int input = -1;   // our copy of the caller's input handle
    int output = -1;  // our copy of the caller's output handle
    int wake[2] = {-1, -1};
    std::thread toTerminal;
    std::thread fromTerminal;
    std::atomic<bool> closing{false};
    std::string slaveName;
};

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t put = RetryEintr([&] { return ::write(fd, data, size); });
        if (put <= 0) {
            return false;
        }
        data += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

void CopyToTerminal(PseudoConsole* pc) {
    char buffer[4096];
    for (;;) {
        struct pollfd fds[2] = {{pc->input, POLLIN, 0}, {pc->wake[0], POLLIN, 0}};
        if (RetryEintr([&] { return ::poll(fds, 2, -1); }) < 0 || (fds[1].revents & POLLIN)) {
            return;
        }
        ssize_t got = RetryEintr([&] { return ::read(pc->input, buffer, sizeof buffer); });
        if (got <= 0 || !WriteAll(pc->master, buffer, static_cast<size_t>(got))) {
            return;
        }
    }
}

void CopyFromTerminal(PseudoConsole* pc) {
    char buffer[4096];
    for (;;) {
        // Once closing, what the terminal still holds is passed on without
        // waiting, then the copy ends.
        bool closing = pc->closing;
        struct pollfd fds[2] = {{pc->master, POLLIN, 0}, {pc->wake[0], POLLIN, 0}};
        int ready = RetryEintr([&] { return ::poll(fds, closing ? 1 : 2, closing ? 0 : -1); });
        if (ready < 0) {
            break;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            ssize_t got = RetryEintr([&] { return ::read(pc->master, buffer, sizeof buffer); });
            if (got <= 0 || !WriteAll(pc->output, buffer, static_cast<size_t>(got))) {
                break;
            }
        } else if (closing) {
            break;
        }
    }
    CloseFd(pc->output);
}

void SetTerminalSize(int fd, COORD size) {
    struct winsize ws = {};
    ws.ws_col = static_cast<unsigned short>(size.X > 0 ? size.X : 80);
    ws.ws_row = static_cast<unsigned short>(size.Y > 0 ? size.Y : 25);
    ::ioctl(fd, TIOCSWINSZ, &ws);
}

std::mutex& ConsolesLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

// The pseudo consoles alive, so that a stale HPCON is refused.
std::set<PseudoConsole*>& Consoles() {
    static std::set<PseudoConsole*>* consoles = new std::set<PseudoConsole*>;
    return *consoles;
}

bool IsConsole(PseudoConsole* pc) {
    std::lock_guard<std::mutex> guard(ConsolesLock());
    return Consoles().count(pc) != 0;
}

}  // namespace

}  // namespace w32

HRESULT WINAPI CreatePseudoConsole(COORD size, HANDLE hInput, HANDLE hOutput, DWORD, HPCON* phPC) {
    using namespace w32;
    if (phPC == nullptr || size.X <= 0 || size.Y <= 0) {
        return E_INVALIDARG;
    }
    int inputFd = FdOf(hInput);
    int outputFd = FdOf(hOutput);
    if (inputFd < 0 || outputFd < 0) {
        return E_INVALIDARG;
    }
    auto pc = std::make_unique<PseudoConsole>();
    pc->master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (pc->master < 0 || ::grantpt(pc->master) != 0 || ::unlockpt(pc->master) != 0 ||
        ::ptsname_r(pc->master, name, sizeof name) != 0) {
        CloseFd(pc->master);
        return E_FAIL;
    }
    pc->slaveName = name;
    // Kept open while the console lives: the output goes on until it is closed,
    // as a console's does, whichever processes come and go.
    pc->slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    pc->input = ::fcntl(inputFd, F_DUPFD_CLOEXEC, 3);
    pc->output = ::fcntl(outputFd, F_DUPFD_CLOEXEC, 3);
    if (pc->slave < 0 || pc->input < 0 || pc->output < 0 || ::pipe2(pc->wake, O_CLOEXEC) != 0) {
        CloseFd(pc->slave);
        CloseFd(pc->input);
        CloseFd(pc->output);
        CloseFd(pc->master);
        return E_FAIL;
    }
    SetTerminalSize(pc->master, size);
    PseudoConsole* raw = pc.get();
    raw->toTerminal = std::thread(CopyToTerminal, raw);
    raw->fromTerminal = std::thread(CopyFromTerminal, raw);
    {
        std::lock_guard<std::mutex> guard(ConsolesLock());
        Consoles().insert(raw);
    }
    *phPC = pc.release();
    return S_OK;
}

HRESULT WINAPI ResizePseudoConsole(HPCON hPC, COORD size) {
    auto* pc = static_cast<w32::PseudoConsole*>(hPC);
    if (!w32::IsConsole(pc) || size.X <= 0 || size.Y <= 0) {
        return E_INVALIDARG;
    }
    w32::SetTerminalSize(pc->master, size);
    return S_OK;
}

void WINAPI ClosePseudoConsole(HPCON hPC) {
    auto* pc = static_cast<w32::PseudoConsole*>(hPC);
    {
        std::lock_guard<std::mutex> guard(w32::ConsolesLock());
        if (w32::Consoles().erase(pc) == 0) {
            return;
        }
    }
    pc->closing = true;
    char one = 1;
    ssize_t put = ::write(pc->wake[1], &one, 1);
    (void)put;
    pc->toTerminal.join();
    // The terminal stays open while its output is drained.
    pc->fromTerminal.join();
    w32::CloseFd(pc->slave);
    w32::CloseFd(pc->input);
    w32::CloseFd(pc->output);
    w32::CloseFd(pc->master);
    w32::CloseFd(pc->wake[0]);
    w32::CloseFd(pc->wake[1]);
    delete pc;
}

// ---- The attribute list ----

struct _PROC_THREAD_ATTRIBUTE_LIST {
    DWORD count;
    HPCON pseudoConsole;
};

BOOL WINAPI InitializeProcThreadAttributeList(LPPROC_THREAD_ATTRIBUTE_LIST lpAttributeList, DWORD dwAttributeCount,
                                              DWORD, SIZE_T* lpSize) {
    if (lpSize == nullptr) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    SIZE_T needed = sizeof(_PROC_THREAD_ATTRIBUTE_LIST);
    if (lpAttributeList == nullptr || *lpSize < needed) {
        *lpSize = needed;
        return w32::Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    lpAttributeList->count = dwAttributeCount;
    lpAttributeList->pseudoConsole = nullptr;
    return TRUE;
}

BOOL WINAPI UpdateProcThreadAttribute(LPPROC_THREAD_ATTRIBUTE_LIST lpAttributeList, DWORD, DWORD_PTR Attribute,
                                      PVOID lpValue, SIZE_T cbSize, PVOID, SIZE_T*) {
    if (lpAttributeList == nullptr || Attribute != PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE || cbSize != sizeof(HPCON)) {
        return w32::Fail(ERROR_NOT_SUPPORTED);
    }
    lpAttributeList->pseudoConsole = lpValue;
    return TRUE;
}

void WINAPI DeleteProcThreadAttributeList(LPPROC_THREAD_ATTRIBUTE_LIST) {}

// ---- Processes ----

namespace w32 {

namespace {

class ProcessObject : public HandleObject {
public:
    explicit ProcessObject(pid_t pid) : HandleObject(HandleKind::Process), pid(pid) {}
    bool IsWaitable() const override { return true; }
    bool IsSignaledFor(unsigned long) override { return exited; }

    const pid_t pid;
    bool exited = false;  // under WaitMutex()
    DWORD exitCode = STILL_ACTIVE;
};

// Waits for the child in the background, so that its handle signals and its
// exit code is kept as soon as it ends.
void Reap(std::shared_ptr<ProcessObject> process) {
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(process->pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    DWORD code = 1;
    if (done == process->pid) {
        code = WIFEXITED(status)     ? static_cast<DWORD>(WEXITSTATUS(status))
               : WIFSIGNALED(status) ? 128 + static_cast<DWORD>(WTERMSIG(status))
                                     : 1;
    }
    std::lock_guard<std::mutex> guard(WaitMutex());
    process->exitCode = code;
    process->exited = true;
    SignalWaiters(*process);
}

// UTF-8 NAME=VALUE texts of a block: UTF-16 or UTF-8.
std::vector<std::string> BlockEntries(const void* block, bool unicode) {
    std::vector<std::string> entries;
    if (unicode) {
        for (const WCHAR* entry = static_cast<const WCHAR*>(block); *entry != 0;) {
            size_t n = 0;
            while (entry[n] != 0) {
                n++;
            }
            entries.push_back(Utf8(WString(entry, n)));
            entry += n + 1;
        }
    } else {
        for (const char* entry = static_cast<const char*>(block); *entry != 0;) {
            entries.push_back(entry);
            entry += std::strlen(entry) + 1;
        }
    }
    return entries;
}

bool NameIs(const std::string& entry, const char* name) {
    size_t n = std::strlen(name);
    return entry.size() > n && entry[n] == '=' && ::strncasecmp(entry.c_str(), name, n) == 0;
}

// The child's environment from the caller's block: drive forms made POSIX.
std::vector<std::string> ChildEnvironment(const void* block, bool unicode) {
    std::vector<std::string> out;
    if (block == nullptr) {
        for (char** entry = environ; entry && *entry; ++entry) {
            out.push_back(*entry);
        }
        return out;
    }
    for (const std::string& entry : BlockEntries(block, unicode)) {
        if (entry.empty() || entry[0] == '=' || entry.find('=') == std::string::npos) {
            continue;
        }
        size_t eq = entry.find('=');
        std::string name = entry.substr(0, eq);
        std::string value = entry.substr(eq + 1);
        if (NameIs(entry, "PATH")) {
            value = PosixSearchPath(ToUtf16(value));
        } else if (NameIs(entry, "COMSPEC")) {
            std::string posix;
            if (ToPosixPath(ToUtf16(value), posix)) {
                value = posix;
            }
        }
        out.push_back(name + "=" + value);
    }
    return out;
}

}  // namespace

}  // namespace w32

BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                           LPSECURITY_ATTRIBUTES, BOOL, DWORD dwCreationFlags, LPVOID lpEnvironment,
                           LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation) {
    using namespace w32;
    if (lpStartupInfo == nullptr || lpProcessInformation == nullptr ||
        (lpApplicationName == nullptr && lpCommandLine == nullptr)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::vector<WString> words = SplitCommandLine(WideArg(lpCommandLine));
    // What to run.
    std::string program;
    bool search = false;
    WString name = lpApplicationName ? WideArg(lpApplicationName) : words[0];
    if (name.empty()) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (name.find(u'\\') != WString::npos || name.find(u':') != WString::npos || lpApplicationName) {
        if (!ToPosixPath(name, program)) {
            return FALSE;
        }
    } else {
        program = Utf8(name);
        search = true;
    }
    std::vector<std::string> args;
    for (const WString& word : words) {
        args.push_back(Utf8(word));
    }
    if (args.empty() || (args.size() == 1 && args[0].empty())) {
        args.assign(1, program);
    }
    // A program reads its own name as a path of this system: a drive path
    // (the path the caller found) becomes its POSIX path, a bare name stays.
    std::string ownName;
    const WString& first = words.empty() ? name : words[0];
    const WCHAR letter = static_cast<WCHAR>(first.empty() ? 0 : first[0] | 0x20);
    const bool absolute = first.size() >= 3 && ((letter >= u'a' && letter <= u'z' && first[1] == u':') ||
                                                 (first[0] == u'\\' && first[1] == u'\\'));
    if (absolute && ToPosixPath(first, ownName)) {
        args[0] = ownName;
    }
    std::vector<std::string> env = ChildEnvironment(lpEnvironment, (dwCreationFlags & CREATE_UNICODE_ENVIRONMENT) != 0);
    std::string directory;
    if (!ToPosixPath(lpCurrentDirectory ? WideArg(lpCurrentDirectory) : CurrentDirectory(), directory)) {
        return FALSE;
    }
    // The pseudo console, from the extended start information.
    PseudoConsole* pc = nullptr;
    if (dwCreationFlags & EXTENDED_STARTUPINFO_PRESENT) {
        auto* extended = reinterpret_cast<LPSTARTUPINFOEXW>(lpStartupInfo);
        if (extended->lpAttributeList && extended->lpAttributeList->pseudoConsole) {
            pc = static_cast<PseudoConsole*>(extended->lpAttributeList->pseudoConsole);
            if (!IsConsole(pc)) {
                return Fail(ERROR_INVALID_HANDLE);
            }
        }
    }
    // The three streams: a given handle, else the terminal, else the null device.
    int nullFd = RetryEintr([] { return ::open("/dev/null", O_RDWR | O_CLOEXEC); });
    int streams[3];
    HANDLE given[3] = {nullptr, nullptr, nullptr};
    if (lpStartupInfo->dwFlags & STARTF_USESTDHANDLES) {
        given[0] = lpStartupInfo->hStdInput;
        given[1] = lpStartupInfo->hStdOutput;
        given[2] = lpStartupInfo->hStdError;
    }
    for (int i = 0; i < 3; i++) {
        int fd = given[i] && given[i] != INVALID_HANDLE_VALUE ? FdOf(given[i]) : -1;
        if (given[i] && given[i] != INVALID_HANDLE_VALUE && fd < 0) {
            if (nullFd >= 0) {
                ::close(nullFd);
            }
            return Fail(ERROR_INVALID_HANDLE);
        }
        streams[i] = fd >= 0 ? fd : pc ? pc->slave : nullFd;
    }
    // Everything the child needs is ready before the fork: after it, the
    // child may only make async-signal-safe calls.
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(&arg[0]);
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : env) {
        envp.push_back(&entry[0]);
    }
    envp.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        if (nullFd >= 0) {
            ::close(nullFd);
        }
        return FailErrno();
    }
    const char* slaveName = pc ? pc->slaveName.c_str() : nullptr;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        if (slaveName) {
            // Opened after setsid, the terminal becomes the controlling one.
            int terminal = ::open(slaveName, O_RDWR);
            if (terminal >= 0) {
                ::ioctl(terminal, TIOCSCTTY, 0);
                ::close(terminal);
            }
        }
        // Moved out of the way first, so that no dup2 overwrites a source.
        int moved[3];
        for (int i = 0; i < 3; i++) {
            moved[i] = ::fcntl(streams[i], F_DUPFD, 10);
        }
        for (int i = 0; i < 3; i++) {
            ::dup2(moved[i], i);
        }
        for (int i = 0; i < 3; i++) {
            ::close(moved[i]);
        }
        ::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC);
        // The layer ignores SIGPIPE; a child starts with the defaults.
        for (int sig = 1; sig < NSIG; sig++) {
            ::signal(sig, SIG_DFL);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (::chdir(directory.c_str()) != 0) {
            int err = errno;
            ssize_t put = ::write(report[1], &err, sizeof err);
            (void)put;
            ::_exit(127);
        }
        if (search) {
            ::execvpe(program.c_str(), argv.data(), envp.data());
        } else {
            ::execve(program.c_str(), argv.data(), envp.data());
        }
        int err = errno;
        ssize_t put = ::write(report[1], &err, sizeof err);
        (void)put;
        ::_exit(127);
    }
    int forkErr = errno;
    ::close(report[1]);
    if (nullFd >= 0) {
        ::close(nullFd);
    }
    if (pid < 0) {
        ::close(report[0]);
        return FailErrno(forkErr);
    }
    int childErr = 0;
    ssize_t got = RetryEintr([&] { return ::read(report[0], &childErr, sizeof childErr); });
    ::close(report[0]);
    auto process = std::make_shared<ProcessObject>(pid);
    std::thread(Reap, process).detach();
    if (got == sizeof childErr) {
        // The program could not be started: the child has ended.
        if (childErr == ENOEXEC) {
            return Fail(ERROR_BAD_EXE_FORMAT);
        }
        return FailPathErrno(childErr, program);
    }
    lpProcessInformation->hProcess = RegisterHandle(process);
    lpProcessInformation->hThread = RegisterHandle(process);
    lpProcessInformation->dwProcessId = static_cast<DWORD>(pid);
    lpProcessInformation->dwThreadId = static_cast<DWORD>(pid);
    return TRUE;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
    auto process = w32::LookupHandleAs<w32::ProcessObject>(hProcess, w32::HandleKind::Process);
    if (!process || lpExitCode == nullptr) {
        return process ? w32::Fail(ERROR_INVALID_PARAMETER) : FALSE;
    }
    std::lock_guard<std::mutex> guard(w32::WaitMutex());
    *lpExitCode = process->exitCode;
    return TRUE;
}

BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT) {
    auto process = w32::LookupHandleAs<w32::ProcessObject>(hProcess, w32::HandleKind::Process);
    if (!process) {
        return FALSE;
    }
    {
        std::lock_guard<std::mutex> guard(w32::WaitMutex());
        if (process->exited) {
            return w32::Fail(ERROR_ACCESS_DENIED);
        }
    }
    if (::kill(process->pid, SIGKILL) != 0) {
        return w32::FailErrno();
    }
    return TRUE;
}

DWORD WINAPI GetProcessId(HANDLE process) {
    auto object = w32::LookupHandleAs<w32::ProcessObject>(process, w32::HandleKind::Process);
    return object ? static_cast<DWORD>(object->pid) : 0;
}
