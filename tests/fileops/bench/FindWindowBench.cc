// The file find benchmark's driver for the program itself: starts quorvane
// under the scripted host at 200x50 with the tree as drive T:, and times
// Alt+F7 through the search to the "Search Complete:" summary, as a user
// meets it.
//   qv_find_window_bench TREE MASKS [TEXT]
// prints "window_ms <ms> found <n>". TREE is a POSIX directory; the search
// starts at its root and is case-sensitive, as grep is by default.
#include "host/ScriptedHost.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

long long NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The count of the summary row ("Search Complete:  N matches use ..."), or -1.
int FoundCount(const ScreenModel& model) {
    const std::string head = "Search Complete:";
    for (int y = 0; y < model.Rows(); ++y) {
        std::string row = model.RowText(y);
        size_t at = row.find(head);
        if (at != std::string::npos)
            return std::atoi(row.c_str() + at + head.size());
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s TREE MASKS [TEXT]\n", argv[0]);
        return 2;
    }
    std::string tree = argv[1];
    std::string masks = argv[2];
    std::string text = argc == 4 ? argv[3] : "";
    char appdata[] = "/tmp/qv-find-bench-appdata-XXXXXX";
    if (!mkdtemp(appdata))
        return 1;
    {
        std::ofstream ini(std::string(appdata) + "/bench.ini", std::ios::binary);
        ini << "[General Options]\r\nFFRootSearch=on\r\nFFRecurse=on\r\nFFCase=on\r\nFFMultiDrive=off\r\n";
    }

    ScriptedHost::Options options;
    options.columns = 200;
    options.rows = 50;
    options.env["APPDATA"] = "A:\\";
    options.env["QUORVANE_DRIVES"] = std::string("C=/;A=") + appdata + ";T=" + tree;
    options.env["TZ"] = "UTC";
    options.args = {"A:\\bench.ini", "-l", "T:\\", "-r", "T:\\"};
    ScriptedHost host(options);
    if (!host.Started())
        return 1;
    bool ready = host.WaitForText("T:\\", 60000) && host.WaitQuiet(300, 60000);
    if (!ready) {
        std::fprintf(stderr, "the panels were not drawn:\n%s\n", host.Dump().c_str());
        return 1;
    }

    long long start = NowUs();
    host.PressKey("Alt+F7");
    if (!host.WaitForText("File(s) to find:", 60000)) {
        std::fprintf(stderr, "no File Find window:\n%s\n", host.Dump().c_str());
        return 1;
    }
    // A fresh data folder each run: the fields start empty or with the
    // default masks, which the first character typed replaces.
    host.SendText(masks);
    host.PressKey("Tab");
    host.SendText(text);
    host.PressKey("Enter");
    bool done = host.WaitFor([](const ScreenModel& m) { return FoundCount(m) >= 0; }, 3600 * 1000);
    long long spentUs = NowUs() - start;
    if (!done) {
        std::fprintf(stderr, "the search did not end:\n%s\n", host.Dump().c_str());
        return 1;
    }
    std::printf("window_ms %.2f found %d\n", spentUs / 1000.0, FoundCount(host.Snapshot()));
    host.CloseInput();
    host.WaitExit(5000);
    std::string remove = std::string("rm -rf '") + appdata + "'";
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}
