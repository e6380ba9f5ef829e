// The viewer never loads the whole file: viewing a large file, going to its
// end and back keeps the program's peak resident memory far below the file's
// size. Also the benchmark that tests/viewedit/bench_viewer_1g.sh runs.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "host/ScriptedHost.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

// Lines "line NNNNNNNNN ..." of 64 bytes each, `lines` of them.
void WriteLines(const std::string& path, int64_t lines) {
    std::ofstream out(path, std::ios::binary);
    std::string block;
    const int perBlock = 4096;
    char line[96];  // each line is 64 bytes; the room covers the widest number the format allows
    for (int64_t first = 0; first < lines; first += perBlock) {
        block.clear();
        for (int64_t i = first; i < first + perBlock && i < lines; i++) {
            snprintf(line, sizeof line, "line %09lld %-48s\n", static_cast<long long>(i), "of the generated text");
            block += line;
        }
        out << block;
    }
}

// Peak resident memory of a process in KiB (VmHWM), -1 when unknown.
long PeakResidentKiB(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long value = -1;
            status >> value;
            return value;
        }
        std::string rest;
        std::getline(status, rest);
    }
    return -1;
}

class ViewerMemoryTest : public qvtest::ProgramTest {
protected:
    ScriptedHost::Options Options(const std::string& file) const { return ProgramTest::Options({"-v", "T:\\" + file}); }
    static bool WaitForTop(ScriptedHost& host, const std::string& text, int timeoutMs = 60000) {
        return host.WaitFor([&](const ScreenModel& s) { return s.RowText(1).rfind(text, 0) == 0; }, timeoutMs);
    }
    static bool WaitForLastRow(ScriptedHost& host, const std::string& text, int timeoutMs = 60000) {
        return host.WaitFor([&](const ScreenModel& s) { return s.RowText(s.Rows() - 2).rfind(text, 0) == 0; },
                            timeoutMs);
    }
};

TEST_F(ViewerMemoryTest, EndAndHomeOfALargeFileKeepThePeakMemoryLow) {
    const int64_t lines = 4 * 1024 * 1024;  // 256 MiB
    WriteLines(root + "/large.txt", lines);
    ScriptedHost host(Options("large.txt"));
    ASSERT_TRUE(WaitForTop(host, "line 000000000")) << host.ScreenText();
    const long before = PeakResidentKiB(host.Pid());
    ASSERT_GT(before, 0);
    host.PressKey("End");
    char last[32];
    snprintf(last, sizeof last, "line %09lld", static_cast<long long>(lines - 1));
    ASSERT_TRUE(WaitForLastRow(host, last)) << host.ScreenText();
    host.PressKey("Home");
    ASSERT_TRUE(WaitForTop(host, "line 000000000")) << host.ScreenText();
    const long after = PeakResidentKiB(host.Pid());
    const long fileKiB = static_cast<long>(lines * 64 / 1024);
    EXPECT_LT(after - before, fileKiB / 20) << "peak before " << before << " KiB, after " << after << " KiB";
    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);
}

// Prints the time to the first screen and to the end of a 1 GiB file and the
// peak resident memory; tests/viewedit/bench_viewer_1g.sh compares them with
// less on the same file. QV_BENCH_FILE names the file (made when missing).
TEST_F(ViewerMemoryTest, DISABLED_Benchmark1GiB) {
    const int64_t lines = 16 * 1024 * 1024;  // 1 GiB
    const char* given = getenv("QV_BENCH_FILE");
    std::string path = given && *given ? given : root + "/large.txt";
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || info.st_size != lines * 64)
        WriteLines(path, lines);
    std::string link = root + "/bench.txt";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);

    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    ScriptedHost host(Options("bench.txt"));
    ASSERT_TRUE(WaitForTop(host, "line 000000000", 600000)) << host.ScreenText();
    double firstMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    start = Clock::now();
    host.PressKey("End");
    char last[32];
    snprintf(last, sizeof last, "line %09lld", static_cast<long long>(lines - 1));
    ASSERT_TRUE(WaitForLastRow(host, last, 600000)) << host.ScreenText();
    double endMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    long peak = PeakResidentKiB(host.Pid());
    host.PressKey("Esc");
    EXPECT_EQ(host.WaitExit(), 0);

    // F3 in the panel, as a user meets it: from the key to the first screen.
    // The panel holds the link alone, below "..".
    ASSERT_EQ(mkdir((root + "/view").c_str(), 0755), 0);
    ASSERT_EQ(symlink(path.c_str(), (root + "/view/bench.txt").c_str()), 0);
    ScriptedHost panels(ProgramTest::Options({"-l", "T:\\view", "-r", "T:\\view"}));
    ASSERT_TRUE(panels.WaitFor([](const qvhost::ScreenModel& s) {
        return s.RowText(s.Rows() - 1).find("10Quit") != std::string::npos &&
               s.Dump().find("bench.txt") != std::string::npos;
    })) << panels.ScreenText();
    panels.PressKey("Down");
    ASSERT_TRUE(panels.WaitQuiet(100, 3000));
    start = Clock::now();
    panels.PressKey("F3");
    const bool viewed = WaitForTop(panels, "line 000000000", 600000);
    double f3Ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    printf("BENCH quorvane first_screen_ms=%.1f end_ms=%.1f f3_first_screen_ms=%.1f peak_rss_kib=%ld file=%s\n",
           firstMs, endMs, viewed ? f3Ms : -1.0, peak, path.c_str());
}

}  // namespace
