#include "tests/support/WindowsProgram.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/ScriptedHost.h"

namespace qvtest {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Wine() {
    std::string given = Variable("QV_WINE");
    if (!given.empty()) {
        return given;
    }
    for (const char* candidate : {"/usr/lib/wine/wine64", "/usr/bin/wine64", "/usr/bin/wine"}) {
        if (access(candidate, X_OK) == 0) {
            return candidate;
        }
    }
    return "wine64";
}

std::string WineServer() {
    std::string wine = Wine();
    std::string beside = wine.substr(0, wine.rfind('/') + 1) + "wineserver";
    return access(beside.c_str(), X_OK) == 0 ? beside : "wineserver";
}

// Runs a program to its end with no input and its output discarded.
int RunQuietly(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::vector<std::string> store = args;
    for (std::string& arg : store) {
        argv.push_back(&arg[0]);
    }
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {}
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// One drive of the test's map.
struct TDrive {
    char letter = 0;  // lower case, as the prefix names its links
    std::string folder;
    std::string label;
};

bool MapDrives(const std::vector<TDrive>& drives, std::string& error);

// Variables a program started from Linux takes from the wine session's
// registry: wine keeps TEMP and TMP of the Linux environment from it, and the
// session's volatile environment names APPDATA (the profile's folder), over
// the value it was given. Values in the volatile environment come last, so a
// test's own TEMP or TMP is put there, and removed when a later test has none.
const char* const SessionVariables[] = {"TEMP", "TMP"};
std::map<std::string, std::string> g_inSession;  // what this test program put there

// Sets (or, for a value of nullptr, removes) string values of a key of
// HKEY_CURRENT_USER in the session, through one run of regedit.
void SetUserValues(const std::string& key, const std::map<std::string, const std::string*>& values) {
    std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + key + "]\r\n";
    for (const auto& item : values) {
        text += "\"" + item.first + "\"=";
        if (!item.second) {
            text += "-\r\n";
            continue;
        }
        text += "\"";
        for (char c : *item.second) {
            if (c == '\\' || c == '"') {
                text += '\\';
            }
            text += c;
        }
        text += "\"\r\n";
    }
    std::string file = Variable("WINEPREFIX") + "/qv-session.reg";
    std::ofstream(file, std::ios::binary) << text;
    std::string windows = "Z:" + file;
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    RunQuietly({Wine(), "regedit", "/S", windows});
}

// Sets (or removes) values of the session's volatile environment.
void SetSessionEnvironment(const std::map<std::string, const std::string*>& values) {
    SetUserValues("Volatile Environment", values);
}

// The drives of a map as the session's mount manager must know them: the
// letter, the label, and whether the folder is there. Wine's mount manager
// takes its drives from the links it finds when a session's first program
// starts and keeps them (a label, a missing folder) for the letter whatever
// the link names later, and a drive it does not know cannot be asked for its
// volume. So a test program whose drives differ from the session's starts a
// session of its own; tests that differ only in their folders share one.
std::string SessionKey(const std::vector<TDrive>& drives) {
    std::string key;
    for (const TDrive& drive : drives) {
        struct stat info;
        bool there = stat(drive.folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        key += std::string(1, drive.letter) + "|" + drive.label + "|" + (there ? "1" : "0") + "\n";
    }
    return key;
}

std::string ReadText(const std::string& path);

// Whether the prefix's server runs: its socket is in the folder of the
// server's temporary files, named by the file "wineserver" of the prefix
// where wine keeps that folder's name (else /tmp/.wine-UID), in a folder named
// after the prefix's device and inode.
bool ServerRunning() {
    std::string prefix = Variable("WINEPREFIX");
    struct stat info;
    if (stat(prefix.c_str(), &info) != 0) {
        return false;
    }
    std::string base = ReadText(prefix + "/wineserver");
    while (!base.empty() && std::isspace(static_cast<unsigned char>(base.back()))) {
        base.pop_back();
    }
    base = base.empty() ? "/tmp/.wine-" + std::to_string(getuid()) : "/tmp/" + base;
    char name[64];
    std::snprintf(name, sizeof name, "/server-%llx-%llx/socket", static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    return stat((base + name).c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A session for the drives: the running one when it started with the same
// drives, else a new one, with a server that stays until the next change
// (or the end of the run) and an environment that leaves APPDATA, TEMP and
// TMP to the test.
bool EnsureSession(const std::vector<TDrive>& drives, std::string& error) {
    static bool firstLaunch = true;
    std::string key = SessionKey(drives);
    std::string keyFile = Variable("WINEPREFIX") + "/qv-session-drives";
    bool reused = ServerRunning() && ReadText(keyFile) == key;
    if (!reused) {
        unlink(keyFile.c_str());
        RunQuietly({WineServer(), "-k"});
        RunQuietly({WineServer(), "-w"});
        if (!MapDrives(drives, error)) {
            return false;
        }
        RunQuietly({WineServer(), "-p"});
    }
    if (!reused || firstLaunch) {
        // A new session names APPDATA; an earlier test program may have left
        // its TEMP or TMP there.
        std::map<std::string, const std::string*> none = {{"APPDATA", nullptr}};
        for (const char* name : SessionVariables) {
            none[name] = nullptr;
        }
        SetSessionEnvironment(none);
        g_inSession.clear();
    }
    firstLaunch = false;
    if (!reused) {
        std::ofstream(keyFile, std::ios::binary) << key;
    }
    return true;
}

// The test's TEMP and TMP into the session, when they differ from what is there.
void PassSessionVariables(const std::map<std::string, std::string>& env) {
    std::map<std::string, const std::string*> changes;
    for (const char* name : SessionVariables) {
        auto given = env.find(name);
        auto there = g_inSession.find(name);
        if (given != env.end() && (there == g_inSession.end() || there->second != given->second)) {
            changes[name] = &given->second;
        } else if (given == env.end() && there != g_inSession.end()) {
            changes[name] = nullptr;
        }
    }
    if (changes.empty()) {
        return;
    }
    SetSessionEnvironment(changes);
    for (const auto& change : changes) {
        if (change.second) {
            g_inSession[change.first] = *change.second;
        } else {
            g_inSession.erase(change.first);
        }
    }
}

// The drive items of a map ("C=/;T=/tmp/x|LABEL") but C: (the prefix's
// system drive) and Z: (wine's view of the whole Linux tree, where the
// program itself lies), in the order of their letters.
std::vector<TDrive> ParseDrives(const std::string& map) {
    std::map<char, TDrive> drives;
    size_t start = 0;
    while (start <= map.size()) {
        size_t end = map.find(';', start);
        if (end == std::string::npos) {
            end = map.size();
        }
        std::string item = map.substr(start, end - start);
        start = end + 1;
        if (item.size() < 3 || item[1] != '=' || !std::isalpha(static_cast<unsigned char>(item[0]))) {
            continue;
        }
        TDrive drive;
        drive.letter = static_cast<char>(std::tolower(static_cast<unsigned char>(item[0])));
        if (drive.letter == 'c' || drive.letter == 'z') {
            continue;
        }
        drive.folder = item.substr(2);
        size_t bar = drive.folder.find('|');
        if (bar != std::string::npos) {
            drive.label = drive.folder.substr(bar + 1);
            drive.folder.erase(bar);
        }
        drives[drive.letter] = drive;
    }
    std::vector<TDrive> sorted;
    for (const auto& item : drives) {
        sorted.push_back(item.second);
    }
    return sorted;
}

// The drives as links of the prefix. Letters the map does not name lose their
// links, so a drive of an earlier test does not linger.
bool MapDrives(const std::vector<TDrive>& drives, std::string& error) {
    std::string devices = Variable("WINEPREFIX") + "/dosdevices";
    std::set<char> mapped;
    for (const TDrive& drive : drives) {
        std::string link = devices + "/" + drive.letter + ":";
        unlink(link.c_str());
        if (symlink(drive.folder.c_str(), link.c_str()) != 0) {
            error = "cannot link " + link + " to " + drive.folder;
            return false;
        }
        if (!drive.label.empty()) {
            // Where wine reads the label of a drive that is a folder.
            std::ofstream(drive.folder + "/.windows-label") << drive.label << "\n";
        }
        mapped.insert(drive.letter);
    }
    for (char letter = 'a'; letter <= 'y'; ++letter) {
        if (letter != 'c' && !mapped.count(letter)) {
            std::string link = devices + "/" + letter + ":";
            unlink(link.c_str());
        }
    }
    return true;
}

// Starts bin/NAME.exe of the Windows build under wine for bin/NAME.
bool StartUnderWine(qvhost::ScriptedHost::Options& options) {
    std::string name = options.program.substr(options.program.rfind('/') + 1);
    std::string exe = Variable("QV_WINDOWS_BUILD") + "/bin/" + name + ".exe";
    if (!IsFile(exe)) {
        ADD_FAILURE() << "the Windows leg starts programs of the Windows build only; there is no " << exe << " for "
                      << options.program;
        return false;
    }
    if (Variable("WINEPREFIX").empty()) {
        ADD_FAILURE() << "the Windows leg needs WINEPREFIX, a prefix of its own";
        return false;
    }
    auto map = options.env.find("QUORVANE_DRIVES");
    std::vector<TDrive> drives = ParseDrives(map != options.env.end() ? map->second : Variable("QUORVANE_DRIVES"));
    std::string error;
    if (!EnsureSession(drives, error) || !MapDrives(drives, error)) {
        ADD_FAILURE() << error;
        return false;
    }
    PassSessionVariables(options.env);
    options.args.insert(options.args.begin(), exe);
    options.program = Wine();
    if (options.env.find("WINEDEBUG") == options.env.end() && Variable("WINEDEBUG").empty()) {
        options.env["WINEDEBUG"] = "-all";
    }
    CountInWindowsLeg(true);
    return true;
}

// Installed when the test program loads, so that every host it makes is adapted.
[[maybe_unused]] const bool g_installed = InstallWindowsLeg();

}  // namespace

bool OnWindowsLeg() {
    return !Variable("QV_WINDOWS_BUILD").empty();
}

void CountInWindowsLeg(bool in) {
    if (OnWindowsLeg()) {
        ::testing::Test::RecordProperty("leg", in ? "windows" : "linux");
    }
}

void SetWineUserValue(const std::string& key, const std::string& name, const std::string* value) {
    SetUserValues(key, {{name, value}});
}

bool GetWineUserValue(const std::string& key, const std::string& name, std::string& value) {
    std::string file = Variable("WINEPREFIX") + "/qv-export.reg";
    unlink(file.c_str());
    std::string windows = "Z:" + file;
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    RunQuietly({Wine(), "regedit", "/E", windows, "HKEY_CURRENT_USER\\" + key});
    std::string bytes = ReadText(file);
    unlink(file.c_str());
    // Regedit writes UTF-16 with a byte-order mark; the names and values
    // looked for here are ASCII.
    std::string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xff &&
        static_cast<unsigned char>(bytes[1]) == 0xfe) {
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += bytes[i + 1] == 0 ? bytes[i] : '?';
        }
    } else {
        text = bytes;
    }
    std::string start = "\n\"" + name + "\"=\"";
    size_t at = text.find(start);
    if (at == std::string::npos) {
        return false;
    }
    value.clear();
    for (size_t i = at + start.size(); i < text.size() && text[i] != '"'; i++) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            i++;
        }
        value += text[i];
    }
    return true;
}

bool InstallWindowsLeg() {
    if (!OnWindowsLeg()) {
        return false;
    }
    qvhost::ScriptedHost::SetLaunchAdapter(StartUnderWine);
    return true;
}

}  // namespace qvtest
