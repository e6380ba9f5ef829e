// UNC shares mounted on this machine, and drive letters connected to them.
#include "platform/posix/Shares.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace w32 {

namespace {

struct ShareItem {
    WString server;
    WString share;
    std::string dir;
};

// What a user wrote wrong in QUORVANE_SHARES: empty when the list is sound.
// As with the drive map, nothing is guessed.
std::string ParseShares(const char* spec, std::vector<ShareItem>& items) {
    items.clear();
    std::string text = spec ? spec : "";
    size_t i = 0;
    while (i < text.size()) {
        size_t j = text.find(';', i);
        if (j == std::string::npos) {
            j = text.size();
        }
        std::string item = text.substr(i, j - i);
        i = j + 1;
        if (item.empty()) {
            continue;
        }
        const std::string quoted = "\"" + item + "\"";
        size_t equals = item.find('=');
        std::string name = equals == std::string::npos ? std::string() : item.substr(0, equals);
        size_t slash = name.size() > 2 ? name.find('\\', 2) : std::string::npos;
        if (name.size() < 5 || name[0] != '\\' || name[1] != '\\' || slash == std::string::npos || slash == 2 ||
            slash + 1 >= name.size() || name.find('\\', slash + 1) != std::string::npos) {
            return "bad item " + quoted + " (\\\\server\\share=/absolute/folder expected)";
        }
        std::string dir = item.substr(equals + 1);
        if (dir.empty() || dir[0] != '/') {
            return "bad item " + quoted + " (the folder must be an absolute path)";
        }
        items.push_back({ToUtf16(name.substr(2, slash - 2)), ToUtf16(name.substr(slash + 1)), NormalisePosix(dir)});
    }
    return std::string();
}

// The shares QUORVANE_SHARES names, read again when the variable changes.
std::vector<ShareItem> NamedShares() {
    static std::mutex lock;
    static std::string* text = new std::string;
    static std::vector<ShareItem>* shares = new std::vector<ShareItem>;
    const char* now = std::getenv("QUORVANE_SHARES");
    std::lock_guard<std::mutex> guard(lock);
    if (*text != (now ? now : "") || (now == nullptr && !shares->empty())) {
        *text = now ? now : "";
        std::string error = ParseShares(now, *shares);
        if (!error.empty()) {
            std::string line = "QUORVANE_SHARES: " + error + "\n";
            ssize_t written = ::write(2, line.data(), line.size());
            (void)written;
            ::_exit(1);
        }
    }
    return *shares;
}

// A field of mountinfo with its octal escapes (\040 for a blank) undone.
std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); i++) {
        bool octal = field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
                     field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7';
        if (octal) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

}  // namespace

bool FindShareInMountInfo(std::istream& mounts, const WString& server, const WString& share, std::string& dir) {
    std::string line;
    WString wanted = u"//" + server + u"/" + share;
    while (std::getline(mounts, line)) {
        size_t dash = line.find(" - ");
        if (dash == std::string::npos) {
            continue;
        }
        std::istringstream head(line.substr(0, dash));
        std::istringstream tail(line.substr(dash + 3));
        std::string id, parent, device, root, point, type, source;
        if (!(head >> id >> parent >> device >> root >> point) || !(tail >> type >> source)) {
            continue;
        }
        if (type != "cifs" && type != "smb3") {
            continue;
        }
        std::string name = Unescape(source);
        for (char& c : name) {
            c = c == '\\' ? '/' : c;
        }
        while (name.size() > 2 && name.back() == '/') {
            name.pop_back();
        }
        if (EqualNoCase(ToUtf16(name), wanted)) {
            dir = NormalisePosix(Unescape(point));
            return true;
        }
    }
    return false;
}

namespace {

// Connected letters. A connection's record is never freed while the process
// runs, so that a caller holding it from FindDrive never reads freed memory.
struct Connections {
    std::mutex lock;
    DriveMapItem* active[26] = {};
    std::vector<std::unique_ptr<DriveMapItem>> all;
};

Connections& Connected() {
    static Connections* connections = new Connections;
    return *connections;
}

int SlotOf(WCHAR letter) {
    if (letter >= u'a' && letter <= u'z') {
        letter = static_cast<WCHAR>(letter - 32);
    }
    return letter >= u'A' && letter <= u'Z' ? letter - u'A' : -1;
}

}  // namespace

bool FindShareDirectory(const WString& server, const WString& share, std::string& dir) {
    if (server.empty() || share.empty()) {
        return false;
    }
    for (const ShareItem& item : NamedShares()) {
        if (EqualNoCase(item.server, server) && EqualNoCase(item.share, share)) {
            dir = item.dir;
            return true;
        }
    }
    // Mounts come and go while the program runs: read afresh.
    std::ifstream mounts("/proc/self/mountinfo");
    return FindShareInMountInfo(mounts, server, share, dir);
}

const DriveMapItem* FindConnectedDrive(WCHAR letter) {
    int slot = SlotOf(letter);
    if (slot < 0) {
        return nullptr;
    }
    Connections& c = Connected();
    std::lock_guard<std::mutex> guard(c.lock);
    return c.active[slot];
}

DWORD ConnectedDriveMask() {
    Connections& c = Connected();
    std::lock_guard<std::mutex> guard(c.lock);
    DWORD mask = 0;
    for (int i = 0; i < 26; i++) {
        mask |= c.active[i] != nullptr ? 1u << i : 0u;
    }
    return mask;
}

DWORD ConnectDrive(WCHAR letter, const std::string& dir) {
    int slot = SlotOf(letter);
    if (slot < 0) {
        return ERROR_INVALID_PARAMETER;
    }
    Connections& c = Connected();
    std::lock_guard<std::mutex> guard(c.lock);
    for (const DriveMapItem& item : DriveMap()) {
        if (item.letter - 'A' == slot) {
            return ERROR_ALREADY_ASSIGNED;
        }
    }
    if (c.active[slot] != nullptr) {
        return ERROR_ALREADY_ASSIGNED;
    }
    c.all.push_back(std::unique_ptr<DriveMapItem>(new DriveMapItem{static_cast<char>('A' + slot), dir, ""}));
    c.active[slot] = c.all.back().get();
    return 0;
}

bool DisconnectDrive(WCHAR letter) {
    int slot = SlotOf(letter);
    if (slot < 0) {
        return false;
    }
    Connections& c = Connected();
    std::lock_guard<std::mutex> guard(c.lock);
    bool was = c.active[slot] != nullptr;
    c.active[slot] = nullptr;
    return was;
}

}  // namespace w32
