// Starts the program under the scripted host with both panels on one folder
// and prints, on one line, what the panel benchmark takes its medians from:
//   launch_ms    from the start until both panels show their entries
//   bytes writes what the program sent for that first screen (its own counts)
//   reread_ms    Ctrl-R until the last request of the re-read (with --reread)
//   peak_kb      the program's peak resident memory
// Usage: qv_panel_launch_bench FOLDER NAME-PREFIX FILE-COUNT [--reread]
// FOLDER is a POSIX directory; it is mapped as drive T: for the run.
#include "host/ScriptedHost.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

long long NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One field ("syscw", "VmHWM") of a /proc file of the process.
long long ProcField(int pid, const char* file, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::atoll(line.c_str() + field.size() + 1);
    }
    return -1;
}

// Both panels list at least `wanted` names of the folder's files.
bool BothPanelsDrawn(const ScreenModel& model, const std::string& prefix, int wanted) {
    int half = model.Columns() / 2;
    int left = 0, right = 0;
    for (int y = 0; y < model.Rows(); ++y) {
        std::string row = model.RowText(y);
        for (size_t at = row.find(prefix); at != std::string::npos; at = row.find(prefix, at + 1)) {
            // RowText is UTF-8: count the columns before the hit, not the bytes.
            int column = 0;
            for (size_t i = 0; i < at; ++i)
                column += (static_cast<unsigned char>(row[i]) & 0xC0) != 0x80;
            (column < half ? left : right)++;
        }
    }
    return left >= wanted && right >= wanted;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FOLDER NAME-PREFIX FILE-COUNT [--reread]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    std::string prefix = argv[2];
    int files = std::atoi(argv[3]);
    bool reread = argc > 4 && std::string(argv[4]) == "--reread";
    char appdata[] = "/tmp/qv-bench-appdata-XXXXXX";
    if (!mkdtemp(appdata))
        return 1;

    ScriptedHost::Options options;
    options.columns = 200;
    options.rows = 50;
    options.env["APPDATA"] = "A:\\";
    options.env["QUORVANE_DRIVES"] = std::string("C=/;A=") + appdata + ";T=" + folder;
    options.env["TZ"] = "UTC";
    options.args = {"-l", "T:\\", "-r", "T:\\"};
    int wanted = files < 20 ? files : 20;

    long long start = NowUs();
    ScriptedHost host(options);
    if (!host.Started())
        return 1;
    bool drawn = host.WaitFor([&](const ScreenModel& m) { return BothPanelsDrawn(m, prefix, wanted); }, 60000);
    long long launchUs = NowUs() - start;
    if (!drawn) {
        std::fprintf(stderr, "the panels were not drawn:\n%s\n", host.Dump().c_str());
        return 1;
    }
    host.WaitQuiet(300, 20000);
    long long bytes = ProcField(host.Pid(), "io", "wchar");
    long long writes = ProcField(host.Pid(), "io", "syscw");
    std::printf("launch_ms %.2f bytes %lld writes %lld", launchUs / 1000.0, bytes, writes);

    if (reread) {
        // A name that sorts before every other file shows that the re-read
        // is in and drawn.
        std::string added = folder + "/" + prefix + "+";
        std::FILE* file = std::fopen(added.c_str(), "w");
        if (!file)
            return 1;
        std::fclose(file);
        long long sent = NowUs();
        host.PressKey("Ctrl+R");
        bool shown = host.WaitForText(prefix + "+", 60000);
        long long rereadUs = NowUs() - sent;
        std::remove(added.c_str());
        if (!shown) {
            std::fprintf(stderr, "the re-read was not drawn:\n%s\n", host.Dump().c_str());
            return 1;
        }
        std::printf(" reread_ms %.2f", rereadUs / 1000.0);
    }
    std::printf(" peak_kb %lld\n", ProcField(host.Pid(), "status", "VmHWM"));
    host.CloseInput();
    host.WaitExit(5000);
    std::string remove = std::string("rm -rf '") + appdata + "'";
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}
