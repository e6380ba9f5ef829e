// The POSIX form of a drive path in the platform tests, by the drive map they
// run with. Only the Linux build has one.
#pragma once

#include "tests/support/TempDir.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace qvtest {

#ifndef _WIN32
// The POSIX form of a drive path, by the drive map the tests run with
// (QUORVANE_DRIVES, C: alone being "/").
inline std::string PosixPathOf(const WString& path) {
    std::string utf8 = U8(path);
    std::string map = std::getenv("QUORVANE_DRIVES") ? std::getenv("QUORVANE_DRIVES") : "C=/";
    std::string directory;
    size_t at = 0;
    while (at <= map.size()) {
        size_t end = map.find(';', at);
        std::string item = map.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (item.size() > 2 && toupper(item[0]) == toupper(utf8[0]) && item[1] == '=') {
            directory = item.substr(2, item.find('|') == std::string::npos ? std::string::npos : item.find('|') - 2);
        }
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    if (directory.empty()) {
        return std::string();
    }
    std::string rest = utf8.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return (directory == "/" ? std::string() : directory) + rest;
}
#endif

}  // namespace qvtest
