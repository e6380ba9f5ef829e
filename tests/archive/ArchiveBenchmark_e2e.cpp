// The archive benchmark's driver (tests/archive/bench_archive_listing.sh runs
// it): the program under the scripted host, for each archive named, timed
// from Ctrl+PgDn to its root listed (Enter on it), then from the Enter of F5
// on one member to that member out in the other panel's folder and the panels
// drawn again. Disabled in test runs; it prints its figures and asserts
// nothing about them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

class ArchiveBenchmark : public qvtest::ProgramTest {};

double Since(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

// QV_BENCH_FOLDER holds the archives (QV_BENCH_ARCHIVES, comma-separated, the
// only files there, names told apart by their letters) whose root holds the
// folder dir_0 with file_000.txt, file_001.txt ...; QV_BENCH_TARGET is an
// empty folder the members go to (and are removed from afterwards).
TEST_F(ArchiveBenchmark, DISABLED_EnterAndF5OfOneMember) {
    const char* folder = getenv("QV_BENCH_FOLDER");
    const char* target = getenv("QV_BENCH_TARGET");
    const char* archives = getenv("QV_BENCH_ARCHIVES");
    if (folder == nullptr || target == nullptr || archives == nullptr)
        GTEST_SKIP() << "set QV_BENCH_FOLDER, QV_BENCH_TARGET and QV_BENCH_ARCHIVES";
    ScriptedHost::Options options = Options({Ini("StickyAlt=off\r\n"), "-l", "B:\\", "-r", "D:\\"});
    options.env["QUORVANE_DRIVES"] = "C=/;T=" + Root() + ";B=" + folder + ";D=" + target;
    Launch(options);
    ASSERT_TRUE(KeyBarShown());
    std::string list = archives;
    size_t start = 0;
    int index = 0;
    while (start < list.size()) {
        size_t end = list.find(',', start);
        std::string name = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? list.size() : end + 1;
        ASSERT_TRUE(host->WaitForText(name));
        host->SendKey(KEY_HOME);
        for (char c : name) {
            if (c < 'a' || c > 'z')
                break;
            host->SendKey(KeyAltLetter(c), c, 1);
            host->WaitQuiet();
        }
        host->WaitQuiet();
        auto begin = std::chrono::steady_clock::now();
        host->SendKey(KEY_CTRL_PGDN);
        ASSERT_TRUE(host->WaitForText("B:\\" + name, 60000)) << host->ScreenText();
        double entered = Since(begin);
        ASSERT_TRUE(host->WaitQuiet());

        // Into dir_0, the cursor on file_00N.txt for the Nth archive, so that
        // the other panel lists a name it did not list before.
        const std::string member = "file_00" + std::to_string(index++) + ".txt";
        host->SendKey(KEY_HOME);
        host->SendKey(KEY_DOWN);
        host->SendKey(KEY_ENTER);
        ASSERT_TRUE(host->WaitForText("B:\\" + name + "\\dir_0")) << host->ScreenText();
        for (int i = 0; i < index; i++)
            host->SendKey(KEY_DOWN);
        ASSERT_TRUE(host->WaitQuiet());
        host->SendKey(KEY_F5);
        ASSERT_TRUE(Shows("Extract \"" + member + "\" to")) << host->ScreenText();
        const std::string out = std::string(target) + "/" + member;
        std::remove(out.c_str());
        begin = std::chrono::steady_clock::now();
        host->SendKey(KEY_ENTER);
        // Out when the other panel, drawn again, lists it.
        ASSERT_TRUE(host->WaitFor(
            [&](const ScreenModel& screen) {
                const int half = screen.Columns() / 2;
                for (int y = 1; y < screen.Rows() - 4; y++) {
                    if (screen.RowText(y, half, half).find(member) != std::string::npos)
                        return true;
                }
                return false;
            },
            60000))
            << host->ScreenText();
        double extracted = Since(begin);
        ASSERT_TRUE(host->WaitQuiet());
        printf("quorvane %s enter %.1f f5 %.1f\n", name.c_str(), entered, extracted);
        // Back out of the archive for the next one.
        host->SendKey(KEY_HOME);
        host->SendKey(KEY_ENTER);
        host->SendKey(KEY_HOME);
        host->SendKey(KEY_ENTER);
        ASSERT_TRUE(PromptIs("B:\\")) << host->ScreenText();
    }
}

}  // namespace
