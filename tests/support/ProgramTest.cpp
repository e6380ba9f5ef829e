#include "tests/support/ProgramTest.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "console/ConsoleProtocol.h"
#include "host/HostPaths.h"

namespace qvtest {

namespace {

// A name below the folder in Windows form.
WString Below(const TempDir& folder, const std::string& name) {
    std::string windows = name;
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return folder.Join(W(windows));
}

}  // namespace

void ProgramTest::SetUp() {
    CountInWindowsLeg(true);
    folder.reset(new TempDir());
    ASSERT_FALSE(folder->Path().empty()) << "no temporary folder";
    root = qvhost::LocalPathOf(std::u16string(folder->Path().begin(), folder->Path().end()));
    ASSERT_FALSE(root.empty()) << "the temporary folder lies on no drive";
    drives = {"T=" + root};
    MakeFolder("appdata");
    MakeFolder("work");
}

void ProgramTest::TearDown() {
    // The program ends before its folder goes.
    host.reset();
    folder.reset();
}

void ProgramTest::MapDrive(char letter, const std::string& folderName, const std::string& label) {
    std::string item = std::string(1, letter) + "=" + root + (folderName.empty() ? "" : "/" + folderName);
    if (!label.empty()) {
        item += "|" + label;
    }
    for (std::string& drive : drives) {
        if (drive[0] == letter) {
            drive = item;
            return;
        }
    }
    drives.push_back(item);
}

std::string ProgramTest::DriveMap() const {
    std::string map = "C=/";
    for (const std::string& drive : drives) {
        map += ";" + drive;
    }
    return map;
}

qvhost::ScriptedHost::Options ProgramTest::Options(const std::vector<std::string>& args) const {
    ScriptedHost::Options options;
    options.env["APPDATA"] = appData;
    options.env["QUORVANE_DRIVES"] = DriveMap();
    options.env["TZ"] = "UTC";
    options.args = args;
    return options;
}

qvhost::ScriptedHost::Options ProgramTest::ProbeOptions(const std::string& name,
                                                        const std::vector<std::string>& args) const {
    ScriptedHost::Options options = Options(args);
    const char* build = std::getenv("QV_BINARY_DIR");
    options.program = std::string(build ? build : ".") + "/bin/" + name;
    return options;
}

qvhost::ScriptedHost& ProgramTest::Launch(const ScriptedHost::Options& options) {
    host.reset();
    host.reset(new ScriptedHost(options));
    EXPECT_TRUE(host->Started()) << "could not start " << options.program;
    // Under wine a program may take well over the usual wait to reach its
    // first request while many tests start at once; what a test then waits
    // for is the program's own answer, not wine's start.
    if (OnWindowsLeg())
        host->WaitForRequests(ConsoleOpInit, 1, WindowsStartMs);
    return *host;
}

void ProgramTest::Start(const std::string& iniLines, const std::map<std::string, std::string>& env) {
    std::vector<std::string> args = {"-l", "T:\\work", "-r", "T:\\work"};
    if (!iniLines.empty()) {
        args.push_back(Ini(iniLines));
    }
    ScriptedHost::Options options = Options(args);
    for (const auto& item : env) {
        options.env[item.first] = item.second;
    }
    Launch(options);
    ASSERT_TRUE(host->Started());
    ASSERT_TRUE(KeyBarShown(ScriptedHost::DefaultTimeoutMs)) << host->ScreenText();
}

std::string ProgramTest::Ini(const std::string& lines) {
    Write("test.ini", "[General Options]\r\n" + lines);
    return "T:\\test.ini";
}

void ProgramTest::Write(const std::string& name, const std::string& bytes) const {
    ASSERT_TRUE(WriteFileBytes(Below(*folder, name), bytes)) << name;
}

std::string ProgramTest::Read(const std::string& name) const {
    return ReadFileBytes(Below(*folder, name));
}

bool ProgramTest::Exists(const std::string& name) const {
    return GetFileAttributesW(Below(*folder, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ProgramTest::MakeFolder(const std::string& name) const {
    ASSERT_TRUE(CreateDirectoryW(Below(*folder, name).c_str(), nullptr)) << name;
}

bool ProgramTest::Shows(const std::string& text, int timeoutMs) {
    return host->WaitForText(text, timeoutMs);
}

bool ProgramTest::Gone(const std::string& text, int timeoutMs) {
    return host->WaitForTextGone(text, timeoutMs);
}

bool ProgramTest::KeyBarShown(int timeoutMs) {
    return host->WaitFor(
        [](const ScreenModel& s) {
            return s.RowText(s.Rows() - 1).find("10Quit") != std::string::npos &&
                   s.RowText(s.Rows() - 2).find(">") != std::string::npos;
        },
        timeoutMs);
}

bool ProgramTest::PromptIs(const std::string& directory, int timeoutMs) {
    return host->WaitFor([&](const ScreenModel& s) { return s.RowText(s.Rows() - 2).rfind(directory + ">", 0) == 0; },
                         timeoutMs);
}

bool ProgramTest::Eventually(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string ProgramTest::SystemMessage(int code, const std::string& windowsText) {
    std::string suffix = " (" + std::to_string(code) + ")";
    return OnWindowsLeg() ? suffix : windowsText + suffix;
}

int ProgramTest::RowOf(const ScreenModel& screen, const std::string& text) {
    for (int y = 0; y < screen.Rows(); y++) {
        if (screen.RowText(y).find(text) != std::string::npos) {
            return y;
        }
    }
    return -1;
}

}  // namespace qvtest
