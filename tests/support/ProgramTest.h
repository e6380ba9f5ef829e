// The fixture of every end-to-end test: the real program (or a probe program)
// under the scripted host, in a temporary folder of the test's own that the
// test's TempDir removes afterwards, with the folder mapped as drive T:, the
// data folder (APPDATA) at T:\appdata and TZ=UTC.
//
//   class CopyE2E : public qvtest::ProgramTest {};
//
//   TEST_F(CopyE2E, Something) {
//       Write("work/a.txt", "text");          // paths below Root(), '/' between names
//       Start();                              // both panels on T:\work, key bar drawn
//       host->PressKey("F5");
//       ASSERT_TRUE(Shows("Copy"));           // waits for the text, fails after a time
//       host->PressKey("Esc");
//       ASSERT_TRUE(Gone("Copy"));
//   }
//
// More: MapDrive('U', "right", "LABEL") adds a drive (call it before starting);
// Launch(Options({...})) starts with arguments of the test's own and returns
// the host; Launch(ProbeOptions("qv_ui_probe", {...})) starts a probe from the
// build's bin folder; Ini("Key=value\r\n") writes an ini file and gives its
// path for the arguments. Starting again ends the program started before.
// With QV_WINDOWS_BUILD set, the same tests start the Windows build of the
// program under wine (WindowsProgram.h); OnWindowsLeg() tells a test so, for
// a skip where wine lacks what it needs (with the reason in the message).
// Every wait of the host is time-limited: wait for what the test expects
// (a text, a request, the exit), not for a stretch of silence.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/ScriptedHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowsProgram.h"

namespace qvtest {

class ProgramTest : public ::testing::Test {
protected:
    using ScriptedHost = qvhost::ScriptedHost;
    using ScreenModel = qvhost::ScreenModel;

    // How long the fixture's own waits last.
    static const int WaitMs = 5000;
    // How long a program started under wine may take to its first request.
    static const int WindowsStartMs = 60000;

    void SetUp() override;
    void TearDown() override;

    // The test's folder as a local path (what the drive map names).
    const std::string& Root() const { return root; }
    // Maps a folder below Root() ("" for Root() itself; it need not exist) as a
    // drive of the programs started afterwards; a label names its volume.
    void MapDrive(char letter, const std::string& folder, const std::string& label = "");
    // The drive map the program sees: C: is /, then the mapped drives.
    std::string DriveMap() const;

    // Options for the program with the given arguments: the drive map, APPDATA
    // and TZ in its environment.
    ScriptedHost::Options Options(const std::vector<std::string>& args = {}) const;
    // Options for a probe program of the build's bin folder.
    ScriptedHost::Options ProbeOptions(const std::string& name, const std::vector<std::string>& args = {}) const;
    // Starts a program (ending the one started before) and returns its host.
    ScriptedHost& Launch(const ScriptedHost::Options& options);
    // Starts the program with both panels on T:\work, with the ini file of the
    // "[General Options]" lines when there are any, and waits for the key bar
    // and the prompt of the main loop's first pass.
    void Start(const std::string& iniLines = "", const std::map<std::string, std::string>& env = {});
    // Writes T:\test.ini with the "[General Options]" lines; its path.
    std::string Ini(const std::string& lines);

    // Files below Root(), named with '/' between folders.
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    void MakeFolder(const std::string& name) const;
    // The local path of a name below Root().
    std::string PathOf(const std::string& name) const { return root + "/" + name; }

    // Waits on the running program's screen.
    bool Shows(const std::string& text, int timeoutMs = WaitMs);
    bool Gone(const std::string& text, int timeoutMs = WaitMs);
    // The main loop's first pass is on the screen: the key bar and the prompt.
    bool KeyBarShown(int timeoutMs = WaitMs);
    // The command-line prompt names the directory (the active panel's).
    bool PromptIs(const std::string& directory, int timeoutMs = WaitMs);
    // Waits for a condition outside the screen (a file the program writes),
    // looking again every few milliseconds; true when it held in time.
    static bool Eventually(const std::function<bool()>& condition, int timeoutMs = WaitMs);
    // What the program shows for a system error: the system's text and the
    // code, "The system cannot find the path specified. (3)". Wine words its
    // texts its own way, so on the Windows leg only " (3)" is looked for.
    static std::string SystemMessage(int code, const std::string& windowsText);
    // The row of the screen that holds the text, -1 when none does.
    static int RowOf(const ScreenModel& screen, const std::string& text);

    // The folder lives longer than the program: it is declared first.
    std::unique_ptr<TempDir> folder;
    std::string root;
    // APPDATA of the programs started; the fixture makes Root()/appdata.
    std::string appData = "T:\\appdata";
    std::unique_ptr<ScriptedHost> host;

private:
    std::vector<std::string> drives;  // LETTER=DIRECTORY[|LABEL]
};

}  // namespace qvtest
