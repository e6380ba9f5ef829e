// Anonymous pipes and the in-process registry of named pipes. A named pipe
// instance is a kernel pipe (a socket pair for duplex pipes) made when the
// server creates it; the server keeps one end and the registry holds the other
// until a client opens the name.
#include "platform/posix/Pipes.h"

#include "platform/posix/HandleObject.h"
#include "platform/posix/Utf.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace w32 {

namespace {

// Access and flag bits of CreateFile as the clients pass them.
constexpr DWORD kGenericRead = 0x80000000;
constexpr DWORD kGenericWrite = 0x40000000;
constexpr DWORD kFirstPipeInstance = 0x00080000;
const char kPipePrefix[] = "\\\\.\\pipe\\";

// A write into a pipe whose reader has gone must fail with an error, as on
// Windows, rather than end the process.
void IgnoreBrokenPipeSignal() {
    static const bool done = [] {
        signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)done;
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The two ends of a new instance: [0] the server's, [1] the client's.
bool MakeEnds(DWORD direction, int ends[2]) {
    if (direction == PIPE_ACCESS_DUPLEX) {
        return socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    // fds[0] reads, fds[1] writes. Inbound: the server reads what clients write.
    ends[0] = direction == PIPE_ACCESS_INBOUND ? fds[0] : fds[1];
    ends[1] = direction == PIPE_ACCESS_INBOUND ? fds[1] : fds[0];
    return true;
}

class NamedPipeServer;

struct PipeInstance {
    NamedPipeServer* server;
    int clientFd;    // owned until a client takes it; -1 while connected
    bool listening;  // clients may connect: after creation and ConnectNamedPipe, not after a disconnect
};

struct PipeName {
    DWORD direction = 0;
    DWORD maxInstances = 0;
    std::vector<PipeInstance> instances;
};

struct PipeRegistry {
    std::mutex lock;
    std::condition_variable connected;
    std::map<std::string, PipeName> byName;  // key: the full name in lower case
};

PipeRegistry& Registry() {
    static PipeRegistry* registry = new PipeRegistry;
    return *registry;
}

// The server end of one named pipe instance; closing it removes the instance.
class NamedPipeServer : public FileObject {
public:
    NamedPipeServer(int fd, std::string key) : FileObject(fd, true, std::string()), key(std::move(key)) {
        isPipe = true;
    }
    ~NamedPipeServer() override {
        PipeRegistry& registry = Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        auto it = registry.byName.find(key);
        if (it == registry.byName.end()) {
            return;
        }
        std::vector<PipeInstance>& instances = it->second.instances;
        for (auto i = instances.begin(); i != instances.end(); ++i) {
            if (i->server == this) {
                if (i->clientFd >= 0) {
                    ::close(i->clientFd);
                }
                instances.erase(i);
                break;
            }
        }
        if (instances.empty()) {
            registry.byName.erase(it);
        }
        registry.connected.notify_all();
    }

    const std::string key;
};

// Finds this server's instance; the registry lock must be held.
PipeInstance* FindInstance(PipeRegistry& registry, const NamedPipeServer& server) {
    auto it = registry.byName.find(server.key);
    if (it == registry.byName.end()) {
        return nullptr;
    }
    for (PipeInstance& instance : it->second.instances) {
        if (instance.server == &server) {
            return &instance;
        }
    }
    return nullptr;
}

std::shared_ptr<NamedPipeServer> LookupServer(HANDLE handle) {
    auto file = LookupHandleAs<FileObject>(handle, HandleKind::File);
    auto server = std::dynamic_pointer_cast<NamedPipeServer>(file);
    if (!server) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return server;
}

HANDLE CreateNamedPipeUtf8(const std::string& name, DWORD openMode, DWORD maxInstances) {
    const DWORD direction = openMode & PIPE_ACCESS_DUPLEX;
    if (!IsNamedPipeName(name) || name.size() == sizeof(kPipePrefix) - 1) {
        Fail(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    if (direction == 0 || maxInstances == 0 || maxInstances > PIPE_UNLIMITED_INSTANCES) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    IgnoreBrokenPipeSignal();
    std::string key = LowerAscii(name);
    PipeRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto it = registry.byName.find(key);
    if (it != registry.byName.end()) {
        PipeName& existing = it->second;
        if ((openMode & kFirstPipeInstance) != 0 || existing.direction != direction) {
            Fail(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        if (existing.maxInstances != PIPE_UNLIMITED_INSTANCES && existing.instances.size() >= existing.maxInstances) {
            Fail(ERROR_PIPE_BUSY);
            return INVALID_HANDLE_VALUE;
        }
    }
    int ends[2];
    if (!MakeEnds(direction, ends)) {
        FailErrno();
        return INVALID_HANDLE_VALUE;
    }
    auto server = std::make_shared<NamedPipeServer>(ends[0], key);
    server->access = ((direction & PIPE_ACCESS_INBOUND) ? kGenericRead : 0) |
                     ((direction & PIPE_ACCESS_OUTBOUND) ? kGenericWrite : 0);
    server->flags = openMode & ~PIPE_ACCESS_DUPLEX;
    PipeName& entry = registry.byName[key];
    if (entry.instances.empty()) {
        entry.direction = direction;
        entry.maxInstances = maxInstances;
    }
    entry.instances.push_back(PipeInstance{server.get(), ends[1], true});
    return RegisterHandle(server);
}

}  // namespace

bool IsNamedPipeName(const std::string& utf8Name) {
    const size_t prefix = sizeof(kPipePrefix) - 1;
    return utf8Name.size() >= prefix && LowerAscii(utf8Name.substr(0, prefix)) == kPipePrefix;
}

HANDLE OpenNamedPipeClient(const std::string& utf8Name, DWORD access, DWORD flags) {
    PipeRegistry& registry = Registry();
    std::unique_lock<std::mutex> guard(registry.lock);
    auto it = registry.byName.find(LowerAscii(utf8Name));
    if (it == registry.byName.end()) {
        Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const DWORD direction = it->second.direction;
    // The client reads what an outbound pipe's server writes, and writes into an inbound one.
    if (((access & kGenericRead) && !(direction & PIPE_ACCESS_OUTBOUND)) ||
        ((access & kGenericWrite) && !(direction & PIPE_ACCESS_INBOUND))) {
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    for (PipeInstance& instance : it->second.instances) {
        if (instance.clientFd < 0 || !instance.listening) {
            continue;
        }
        auto client = std::make_shared<FileObject>(instance.clientFd, true, std::string());
        instance.clientFd = -1;
        client->isPipe = true;
        client->access = access;
        client->flags = flags;
        registry.connected.notify_all();
        guard.unlock();
        return RegisterHandle(client);
    }
    Fail(ERROR_PIPE_BUSY);
    return INVALID_HANDLE_VALUE;
}

}  // namespace w32

BOOL WINAPI CreatePipe(PHANDLE readPipe, PHANDLE writePipe, LPSECURITY_ATTRIBUTES, DWORD) {
    if (readPipe == nullptr || writePipe == nullptr) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    w32::IgnoreBrokenPipeSignal();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return w32::FailErrno();
    }
    auto reader = std::make_shared<w32::FileObject>(fds[0], true, std::string());
    auto writer = std::make_shared<w32::FileObject>(fds[1], true, std::string());
    reader->isPipe = writer->isPipe = true;
    reader->access = w32::kGenericRead;
    writer->access = w32::kGenericWrite;
    *readPipe = w32::RegisterHandle(reader);
    *writePipe = w32::RegisterHandle(writer);
    return TRUE;
}

HANDLE WINAPI CreateNamedPipeA(LPCSTR name, DWORD openMode, DWORD, DWORD maxInstances, DWORD, DWORD, DWORD,
                               LPSECURITY_ATTRIBUTES) {
    return w32::CreateNamedPipeUtf8(name != nullptr ? name : "", openMode, maxInstances);
}

HANDLE WINAPI CreateNamedPipeW(LPCWSTR name, DWORD openMode, DWORD, DWORD maxInstances, DWORD, DWORD, DWORD,
                               LPSECURITY_ATTRIBUTES) {
    return w32::CreateNamedPipeUtf8(w32::ToUtf8(name), openMode, maxInstances);
}

// Waits until a client has opened the instance. A client that came first is
// reported with ERROR_PIPE_CONNECTED, which callers take as success. The wait is
// the same with an OVERLAPPED: no caller connects asynchronously.
BOOL WINAPI ConnectNamedPipe(HANDLE pipe, LPOVERLAPPED) {
    auto server = w32::LookupServer(pipe);
    if (!server) {
        return FALSE;
    }
    w32::PipeRegistry& registry = w32::Registry();
    std::unique_lock<std::mutex> guard(registry.lock);
    w32::PipeInstance* instance = w32::FindInstance(registry, *server);
    if (instance != nullptr && instance->clientFd < 0) {
        return w32::Fail(ERROR_PIPE_CONNECTED);
    }
    if (instance != nullptr) {
        instance->listening = true;
    }
    registry.connected.wait(guard, [&] {
        instance = w32::FindInstance(registry, *server);
        return instance == nullptr || instance->clientFd < 0;
    });
    return TRUE;
}

// Cuts the client off: its end sees a broken pipe. The instance gets a fresh
// kernel pipe under the same descriptor and takes a new client once the
// server calls ConnectNamedPipe again.
BOOL WINAPI DisconnectNamedPipe(HANDLE pipe) {
    auto server = w32::LookupServer(pipe);
    if (!server) {
        return FALSE;
    }
    w32::PipeRegistry& registry = w32::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    w32::PipeInstance* instance = w32::FindInstance(registry, *server);
    if (instance == nullptr) {
        return w32::Fail(ERROR_INVALID_HANDLE);
    }
    int ends[2];
    if (!w32::MakeEnds(registry.byName[server->key].direction, ends)) {
        return w32::FailErrno();
    }
    if (dup3(ends[0], server->fd, O_CLOEXEC) < 0) {
        int err = errno;
        ::close(ends[0]);
        ::close(ends[1]);
        return w32::FailErrno(err);
    }
    ::close(ends[0]);
    if (instance->clientFd >= 0) {
        ::close(instance->clientFd);
    }
    instance->clientFd = ends[1];
    instance->listening = false;
    return TRUE;
}

// Reports the bytes waiting in a pipe without taking them. An empty pipe whose
// writers have all gone is a broken pipe, as a read would find.
BOOL WINAPI PeekNamedPipe(HANDLE pipe, LPVOID buffer, DWORD bufferSize, LPDWORD bytesRead, LPDWORD totalBytesAvail,
                          LPDWORD bytesLeftThisMessage) {
    auto file = w32::LookupHandleAs<w32::FileObject>(pipe, w32::HandleKind::File);
    if (!file) {
        return FALSE;
    }
    if (!file->isPipe) {
        return w32::Fail(ERROR_INVALID_FUNCTION);
    }
    int available = 0;
    if (ioctl(file->fd, FIONREAD, &available) != 0) {
        return w32::FailErrno();
    }
    if (available == 0) {
        pollfd probe{file->fd, POLLIN, 0};
        if (w32::RetryEintr([&] { return poll(&probe, 1, 0); }) > 0 && (probe.revents & (POLLHUP | POLLERR)) != 0) {
            return w32::Fail(ERROR_BROKEN_PIPE);
        }
    }
    DWORD copied = 0;
    const size_t wanted = std::min<size_t>(bufferSize, static_cast<size_t>(available));
    if (buffer != nullptr && wanted > 0) {
        struct stat info;
        ssize_t n = -1;
        if (fstat(file->fd, &info) == 0 && S_ISSOCK(info.st_mode)) {
            n = w32::RetryEintr([&] { return recv(file->fd, buffer, wanted, MSG_PEEK | MSG_DONTWAIT); });
        } else {
            // tee copies pipe contents into a scratch pipe without consuming them.
            int scratch[2];
            if (pipe2(scratch, O_CLOEXEC | O_NONBLOCK) == 0) {
                n = tee(file->fd, scratch[1], wanted, SPLICE_F_NONBLOCK);
                if (n > 0) {
                    n = w32::RetryEintr([&] { return read(scratch[0], buffer, static_cast<size_t>(n)); });
                }
                ::close(scratch[0]);
                ::close(scratch[1]);
            }
        }
        if (n < 0) {
            return w32::FailErrno();
        }
        copied = static_cast<DWORD>(n);
    }
    if (bytesRead != nullptr) {
        *bytesRead = copied;
    }
    if (totalBytesAvail != nullptr) {
        *totalBytesAvail = static_cast<DWORD>(available);
    }
    if (bytesLeftThisMessage != nullptr) {
        *bytesLeftThisMessage = 0;
    }
    return TRUE;
}
