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
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Variables a program started from Linux takes from the wine session's
// registry: wine keeps TEMP and TMP of the Linux environment from it, and the
// session's volatile environment names APPDATA (the profile's folder), over
// the value it was given. Values in the volatile environment come last, so a
// test's own TEMP or TMP is put there, and removed when a later test has none.
const char* const SessionVariables[] = {"TEMP", "TMP"};
std::map<std::string, std::string> g_inSession;  // what this test program put there

// Sets (or, for a value of nullptr, removes) values of the session's volatile
// environment, through one run of regedit.
void SetSessionEnvironment(const std::map<std::string, const std::string*>& values) {
    std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Volatile Environment]\r\n";
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

// Once per test program: a wine server that stays for the whole run, and a
// session whose environment leaves APPDATA, TEMP and TMP to the test.
void PrepareSession() {
    static bool prepared = false;
    if (prepared) {
        return;
    }
    prepared = true;
    RunQuietly({WineServer(), "-p"});
    std::map<std::string, const std::string*> none = {{"APPDATA", nullptr}};
    for (const char* name : SessionVariables) {
        none[name] = nullptr;
    }
    SetSessionEnvironment(none);
    g_inSession.clear();
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

// The drive items of a map ("C=/;T=/tmp/x|LABEL") as links of the prefix.
// Letters the map does not name lose their links, so a drive of an earlier
// test does not linger; C: (the prefix's system drive) and Z: (wine's view of
// the whole Linux tree, where the program itself lies) stay.
bool MapDrives(const std::string& map, std::string& error) {
    std::string devices = Variable("WINEPREFIX") + "/dosdevices";
    std::set<char> mapped;
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
        char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(item[0])));
        if (letter == 'c' || letter == 'z') {
            continue;
        }
        std::string folder = item.substr(2);
        std::string label;
        size_t bar = folder.find('|');
        if (bar != std::string::npos) {
            label = folder.substr(bar + 1);
            folder.erase(bar);
        }
        std::string link = devices + "/" + letter + ":";
        unlink(link.c_str());
        if (symlink(folder.c_str(), link.c_str()) != 0) {
            error = "cannot link " + link + " to " + folder;
            return false;
        }
        if (!label.empty()) {
            // Where wine reads the label of a drive that is a folder.
            std::ofstream(folder + "/.windows-label") << label << "\n";
        }
        mapped.insert(letter);
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
    auto drives = options.env.find("QUORVANE_DRIVES");
    std::string error;
    if (!MapDrives(drives != options.env.end() ? drives->second : Variable("QUORVANE_DRIVES"), error)) {
        ADD_FAILURE() << error;
        return false;
    }
    PrepareSession();
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

bool OnWindowsLeg() { return !Variable("QV_WINDOWS_BUILD").empty(); }

void CountInWindowsLeg(bool in) {
    if (OnWindowsLeg()) {
        ::testing::Test::RecordProperty("leg", in ? "windows" : "linux");
    }
}

bool InstallWindowsLeg() {
    if (!OnWindowsLeg()) {
        return false;
    }
    qvhost::ScriptedHost::SetLaunchAdapter(StartUnderWine);
    return true;
}

}  // namespace qvtest
