#include "host/ShellExitFile.h"

#include "platform/posix/Paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace qvhost {

namespace {

// The options of the program that take the next word.
bool TakesValue(char letter) {
    return std::strchr("evlrx", letter) != nullptr;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ReadWhole(const std::string& path, std::string& text) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char buf[4096];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) != 0) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            close(fd);
            return false;
        }
        text.append(buf, static_cast<size_t>(n));
        if (text.size() > (1u << 20)) {
            break;  // no record is this long
        }
    }
    close(fd);
    return true;
}

}  // namespace

HostArguments ReadHostArguments(const std::vector<std::string>& args) {
    HostArguments out;
    out.program = args;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 2 || (word[0] != '-' && word[0] != '/')) {
            continue;
        }
        const char letter = Lower(word[1]);
        if (letter == 's') {
            out.runsScript = true;
            break;  // the rest belongs to the script
        }
        if (!TakesValue(letter) || i + 1 >= args.size()) {
            continue;
        }
        if (letter == 'x') {
            out.exitFileIndex = static_cast<int>(i + 1);
            out.exitFile = args[i + 1];
        }
        ++i;
    }
    return out;
}

std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    out += '\'';
    return out;
}

bool DirectoryOfBatchRecord(const std::string& record, std::string& windowsPath) {
    // "X:\r\n" "cd \"" <the directory after X:> "\"\r\n"; the directory is
    // everything between the first quote and the last, whatever it holds.
    const std::string lead = "cd \"";
    const std::string tail = "\"\r\n";
    if (record.size() < 4 + lead.size() + tail.size() || record[1] != ':' || record.compare(2, 2, "\r\n") != 0 ||
        record.compare(4, lead.size(), lead) != 0 ||
        record.compare(record.size() - tail.size(), tail.size(), tail) != 0) {
        return false;
    }
    const char drive = record[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))) {
        return false;
    }
    const size_t start = 4 + lead.size();
    windowsPath = std::string(1, drive) + ":" + record.substr(start, record.size() - tail.size() - start);
    return true;
}

std::string ShellCdScript(const std::string& posixDirectory) {
    return "cd -- " + ShellQuote(posixDirectory) + "\n";
}

bool WriteShellExitFile(const std::string& recordFile, const std::string& scriptFile, std::string& error) {
    std::string record, script;
    if (ReadWhole(recordFile, record) && !record.empty()) {
        std::string windowsPath, posix;
        if (!DirectoryOfBatchRecord(record, windowsPath) ||
            !w32::ToPosixPath(w32::WideArg(windowsPath.c_str()), posix)) {
            error = "the program named no directory a shell can reach";
            return false;
        }
        script = ShellCdScript(posix);
    }
    int fd = open(scriptFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < script.size()) {
        ssize_t n = write(fd, script.data() + done, script.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = std::strerror(n < 0 ? errno : ENOSPC);
            close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (close(fd) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace qvhost
