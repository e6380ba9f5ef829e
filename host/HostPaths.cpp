#include "host/HostPaths.h"

#include "platform/posix/Paths.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace qvhost {

std::string ProgramBesideSelf(const char* name) {
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) {
        return name;
    }
    std::string path(self, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + name;
}

void SetDefaultAppData() {
    if (std::getenv("APPDATA")) {
        return;
    }
    std::string folder;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::string(home) + "/.config";
    } else {
        return;
    }
    mkdir(folder.c_str(), 0700);
    w32::WString drivePath;
    if (w32::ToWindowsPath(folder, drivePath)) {
        setenv("APPDATA", w32::Utf8(drivePath).c_str(), 1);
    }
}

std::string LocalPathOf(const std::u16string& drivePath) {
    std::string local;
    if (!w32::ToPosixPath(w32::WString(drivePath.begin(), drivePath.end()), local)) {
        return std::string();
    }
    return local;
}

}  // namespace qvhost
