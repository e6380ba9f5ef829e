// The terminal emulator's throughput: 10 MB of a child's output (text lines,
// colours, cursor moves, erasing, a full-screen program's redraws) through an
// emulator on a console whose requests a host thread applies to its screen
// model, beside `cat` of the same file through a pseudo-terminal. Prints the
// figures and the ratio; asserts none. Run by tests/console/bench_terminal_10mb.sh.
#include "console/TerminalEmulator.h"
#include "tests/console/ConsoleOnScreenModel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string ChildOutput(size_t size) {
    std::string out;
    out.reserve(size + 4096);
    unsigned line = 0;
    while (out.size() < size) {
        ++line;
        if (line % 500 == 0) {
            // A full-screen program draws a frame and leaves.
            out += "\x1b[?1049h\x1b[H\x1b[2J";
            for (int row = 1; row <= 24; ++row) {
                out += "\x1b[" + std::to_string(row) + ";1H\x1b[44;37m row " + std::to_string(row) +
                       " \x1b(0qqqqqqqqqqqqqqqq\x1b(B\x1b[K\x1b[0m";
            }
            out += "\x1b[?1049l";
            continue;
        }
        out += "\x1b[01;34mdirectory_" + std::to_string(line) + "\x1b[0m  file_" + std::to_string(line) +
               ".txt  \x1b[01;32mscript.sh\x1b[0m  some plain words to make the line longer, " +
               std::to_string(line * 7919u) + "\r\n";
    }
    return out;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class TerminalBenchmark : public qvtest::ConsoleOnScreenModel {};

TEST_F(TerminalBenchmark, DISABLED_TenMegabytesOfOutput) {
    StartConsole(80, 25);
    const std::string output = ChildOutput(10u << 20);
    const double megabytes = output.size() / 1048576.0;
    Sync();
    const int before = TotalRequests();
    auto start = std::chrono::steady_clock::now();
    {
        TerminalEmulator emulator(*console, 0);
        for (size_t at = 0; at < output.size(); at += 1024) {
            size_t n = std::min<size_t>(1024, output.size() - at);
            emulator.Write(output.data() + at, static_cast<int>(n));
        }
    }
    Sync();
    const double emulatorSeconds = Seconds(start);
    const int requests = TotalRequests() - before - 1;

    std::filesystem::path file = std::filesystem::temp_directory_path() / "qv_terminal_bench_output";
    std::ofstream(file, std::ios::binary) << output;
    start = std::chrono::steady_clock::now();
    std::string command = "script -qc 'cat " + file.string() + "' /dev/null > /dev/null";
    int status = std::system(command.c_str());
    const double catSeconds = Seconds(start);
    std::filesystem::remove(file);

    printf("output: %.1f MB in 1024-byte chunks\n", megabytes);
    printf("emulator on the console: %.2f s, %.1f MB/s, %d requests (%.1f per KB)\n", emulatorSeconds,
           megabytes / emulatorSeconds, requests, requests / (output.size() / 1024.0));
    printf("cat through a pseudo-terminal (script -qc): %.2f s, %.1f MB/s%s\n", catSeconds, megabytes / catSeconds,
           status == 0 ? "" : " (script failed)");
    printf("ratio emulator / cat time: %.2f\n", emulatorSeconds / catSeconds);
}

}  // namespace
