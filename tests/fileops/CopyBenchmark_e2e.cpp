// The copy benchmark's driver (tests/fileops/bench_copy.sh runs it): F5 of a
// file or folder through the program under the scripted host, timed as a user
// meets it, from the Enter that starts the copy to the final screen (the copy
// window gone and the other panel showing the copy). Disabled in test runs; it
// prints its figures and asserts nothing about them.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

class CopyBenchmark : public qvtest::ProgramTest {};

// The size of a file, or the number of entries of a folder; -1 when missing.
long long Amount(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        return -1;
    }
    if (!S_ISDIR(st.st_mode)) {
        return st.st_size;
    }
    long long count = 0;
    if (DIR* d = opendir(path.c_str())) {
        while (readdir(d) != nullptr) {
            count++;
        }
        closedir(d);
    }
    return count;
}

TEST_F(CopyBenchmark, DISABLED_F5OfEachFolder) {
    const char* source = getenv("QV_BENCH_SOURCE");
    const char* target = getenv("QV_BENCH_TARGET");
    const char* folders = getenv("QV_BENCH_FOLDERS");
    if (source == nullptr || target == nullptr || folders == nullptr) {
        GTEST_SKIP() << "set QV_BENCH_SOURCE, QV_BENCH_TARGET and QV_BENCH_FOLDERS";
    }
    ScriptedHost::Options options = Options({Ini("StickyAlt=off\r\n"), "-l", "B:\\", "-r", "D:\\"});
    options.env["QUORVANE_DRIVES"] = "C=/;T=" + Root() + ";B=" + source + ";D=" + target;
    Launch(options);
    ASSERT_TRUE(KeyBarShown());
    std::string list = folders;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(',', start);
        std::string folder = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? list.size() : end + 1;
        ASSERT_TRUE(host->WaitForText(folder));
        host->SendKey(KEY_HOME);
        for (char c : folder) {
            if (c < 'a' || c > 'z') {
                break;
            }
            host->SendKey(KeyAltLetter(c), c, 1);
            host->WaitQuiet();
        }
        host->SendKey(KEY_F5);
        ASSERT_TRUE(Shows("Copy \"" + folder + "\" to")) << host->ScreenText();
        std::string from = std::string(source) + "/" + folder;
        std::string made = std::string(target) + "/" + folder;
        long long wanted = Amount(from);
        auto begin = std::chrono::steady_clock::now();
        host->SendKey(KEY_ENTER);
        // Done when the target holds as much as the source (bytes of a file,
        // entries of a folder), the copy window has gone again and the other
        // panel, read again, shows what arrived. A message that directory
        // sizes are not there yet is answered as it comes, so that no fixed
        // wait is timed.
        bool done = false;
        while (!done) {
            bool asked = false;
            ASSERT_TRUE(host->WaitFor(
                [&](const ScreenModel& screen) {
                    bool shown = false;
                    for (int y = 0; y < screen.Rows(); y++) {
                        std::string row = screen.RowText(y, 0, screen.Columns());
                        if (row.find("is not available yet") != std::string::npos) {
                            asked = true;
                            return true;
                        }
                        if (row.find("Copying") != std::string::npos) {
                            return false;
                        }
                        int half = screen.Columns() / 2;
                        shown =
                            shown || screen.RowText(y, half, screen.Columns() - half).find(folder) != std::string::npos;
                    }
                    return shown && Amount(made) == wanted;
                },
                3600 * 1000))
                << host->ScreenText();
            if (asked) {
                host->SendKey(KEY_ENTER);
                ASSERT_TRUE(host->WaitForTextGone("is not available yet")) << host->ScreenText();
            } else {
                done = true;
            }
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        printf("quorvane %s %.3f\n", folder.c_str(), seconds);
    }
}

}  // namespace
