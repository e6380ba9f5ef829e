// The C runtime's descriptor I/O over POSIX descriptors.
#include "platform/posix/HandleObject.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A write to a pipe or terminal whose reader has gone must fail, as on
// Windows, rather than end the process.
void IgnoreBrokenPipe() {
    static const bool done = [] {
        signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)done;
}

}  // namespace

int _write(int fd, const void* buffer, unsigned int count) {
    IgnoreBrokenPipe();
    ssize_t n = w32::RetryEintr([&] { return ::write(fd, buffer, count); });
    return n < 0 ? -1 : static_cast<int>(n);
}

int _read(int fd, void* buffer, unsigned int count) {
    ssize_t n = w32::RetryEintr([&] { return ::read(fd, buffer, count); });
    return n < 0 ? -1 : static_cast<int>(n);
}

int _close(int fd) {
    return ::close(fd) == 0 ? 0 : -1;
}

int _dup(int fd) {
    return fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

int _dup2(int fd, int fd2) {
    return w32::RetryEintr([&] { return ::dup2(fd, fd2); }) < 0 ? -1 : 0;
}

int _pipe(int fds[2], unsigned int /*size*/, int /*mode*/) {
    IgnoreBrokenPipe();
    return pipe2(fds, O_CLOEXEC) == 0 ? 0 : -1;
}

int _open_osfhandle(intptr_t handle, int /*flags*/) {
    HANDLE h = reinterpret_cast<HANDLE>(handle);
    std::shared_ptr<w32::FileObject> file = w32::LookupHandleAs<w32::FileObject>(h, w32::HandleKind::File);
    if (!file) {
        return -1;
    }
    int fd = fcntl(file->fd, F_DUPFD_CLOEXEC, 3);
    if (fd < 0) {
        return -1;
    }
    CloseHandle(h);
    return fd;
}
