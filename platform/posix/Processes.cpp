// Processes: program kinds, and (below) child programs.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    bool elf = got == 4 && std::memcmp(head, "\x7f" "ELF", 4) == 0;
    bool script = got >= 2 && head[0] == '#' && head[1] == '!' && (info.st_mode & S_IXUSR) != 0;
    if (!elf && !script) {
        return w32::Fail(ERROR_BAD_EXE_FORMAT);
    }
    if (lpBinaryType) {
        *lpBinaryType = SCS_64BIT_BINARY;
    }
    return TRUE;
}
