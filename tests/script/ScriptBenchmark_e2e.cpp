// The driver of tests/script/bench_script_loop.sh: runs a script with -s in
// the program under the scripted host, from the start to the exit, and prints
// "quorvane <seconds> <exit code>"; the screen must show QV_BENCH_EXPECT. Disabled:
// the benchmark script runs it by name in an optimised build.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tests/support/ProgramTest.h"

namespace qvtest {
namespace {

class ScriptBenchmark : public ProgramTest {};

TEST_F(ScriptBenchmark, DISABLED_RunWithTheOption) {
    const char* script = std::getenv("QV_BENCH_SCRIPT");
    const char* expect = std::getenv("QV_BENCH_EXPECT");
    if (script == nullptr || expect == nullptr) {
        GTEST_SKIP() << "set QV_BENCH_SCRIPT to the script's path and QV_BENCH_EXPECT to what it prints";
    }
    ScriptedHost::Options options = Options({"-s", "B:\\bench.qvs"});
    std::string folder = script;
    std::string name = folder.substr(folder.rfind('/') + 1);
    folder.erase(folder.rfind('/'));
    ASSERT_EQ("bench.qvs", name) << "the benchmark's script is named bench.qvs";
    options.env["QUORVANE_DRIVES"] = "C=/;T=" + Root() + ";B=" + folder;
    auto begin = std::chrono::steady_clock::now();
    ScriptedHost& run = Launch(options);
    int code = run.WaitExit(600000);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("quorvane %.3f %d\n", seconds, code);
    EXPECT_EQ(0, code) << run.ScreenText();
    EXPECT_GE(RowOf(run.Snapshot(), expect), 0) << run.ScreenText();
}

}  // namespace
}  // namespace qvtest
