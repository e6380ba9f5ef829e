// Not a test: the timing of a panel of 100,000 files (read, every sort mode,
// every entry line formatted), run by bench_panel_100k.sh. Disabled so that
// the normal test runs pass over it; it asserts no time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "app/panels/PanelFormat.h"
#include "app/panels/PanelSort.h"
#include "console/ScreenSize.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(PanelBenchmark, DISABLED_ReadSortAndFormat100000Files) {
    const int files = 100000;
    qvtest::TempDir dir;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < files; i++) {
        char name[32];
        snprintf(name, sizeof name, "file%06d.%s", (i * 7919) % files, i % 3 ? "txt" : "dat");
        HANDLE file = CreateFileW(dir.Join(qvtest::W(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, name, DWORD(i % 17), &written, nullptr);
        CloseHandle(file);
    }
    printf("create %d files: %.0f ms\n", files, MillisecondsSince(start));

    ScreenColumns = 160;
    Config.PanelHeight = 40;
    Config.Hidden = 1;
    ResetColours();
    LayoutPanelColumns(80);
    CPanel panel;
    panel.isOn = 1;
    panel.filter = Westring("*");
    ASSERT_TRUE(SetPanelPath(&panel, Westring(reinterpret_cast<const WCHAR*>(dir.Path().c_str()))));

    start = Clock::now();
    ReadPanelDirectory(&panel);
    printf("read (sorted by name): %.0f ms, %d entries\n", MillisecondsSince(start), panel.entryCount);
    ASSERT_EQ(panel.entryCount, files + 1);

    CopyPanelText(panel.shownPath, Westring(panel.path));
    start = Clock::now();
    ReadPanelDirectory(&panel);
    printf("re-read: %.0f ms\n", MillisecondsSince(start));

    for (int mode = 0; mode < 10; mode++) {
        start = Clock::now();
        panel.sortMode = mode;
        SortPanel(&panel);
        printf("sort mode %d: %.0f ms\n", mode, MillisecondsSince(start));
    }
    for (int style = VIEW_BRIEF; style <= VIEW_BRIEFWIDE; style++) {
        start = Clock::now();
        size_t cells = 0;
        for (int i = 0; i < panel.entryCount; i++)
            cells += size_t(FormatEntryInStyle(&panel, i, 0, NoNameScroll, style).Length());
        printf("format every line, style %d: %.0f ms (%zu cells)\n", style, MillisecondsSince(start), cells);
    }
}

}  // namespace
