// Not a test: the timing of a rescan, save and load of a large directory
// tree, run by bench_tree_100k.sh, which names the drive that holds the tree.
// Disabled so that the normal test runs pass over it; it asserts no time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/panels/Tree.h"
#include "app/settings/Config.h"
#include "console/Console.h"
#include "tests/console/ConsoleOnScreenModel.h"
#include "tests/support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class TreeBenchmark : public qvtest::ConsoleOnScreenModel {};

TEST_F(TreeBenchmark, DISABLED_RescanSaveAndLoadALargeTree) {
    const char* drive = getenv("QV_TREE_BENCH_DRIVE");
    if (!drive || !drive[0])
        GTEST_SKIP() << "QV_TREE_BENCH_DRIVE names the drive to scan";
    StartConsole();
    CConsole* savedConsole = Console;
    Console = console.get();
    TCONFIG saved = Config;
    qvtest::TempDir data;
    Config.TreeDir = Westring(reinterpret_cast<const WCHAR*>(data.Path().c_str()));

    CTree tree;
    tree.SetKey(drive[0], 1);
    tree.isPrivate = 0;
    Clock::time_point start = Clock::now();
    ASSERT_TRUE(tree.Rescan());
    printf("rescan_ms %.1f\n", MillisecondsSince(start));
    start = Clock::now();
    ASSERT_EQ(tree.Save(), 1);
    printf("save_ms %.1f\n", MillisecondsSince(start));
    CTree back;
    back.SetKey(drive[0], 1);
    start = Clock::now();
    back.Load();
    printf("load_ms %.1f\n", MillisecondsSince(start));
    int nodes = 0;
    for (TREENODE* node = back.root; node; node = node->NextInPreOrder(nullptr))
        nodes++;
    printf("directories %d\n", nodes - 1);

    Config = saved;
    Console = savedConsole;
}

}  // namespace
