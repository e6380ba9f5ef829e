// The program's own temporary files: their names carry the process, and the
// sweep of a folder removes only a dead run's leftovers, never a user's file,
// a live process's file in the making or one written during this run.
#include "app/settings/OwnTemporaryFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/os/FileTimes.h"
#include "tests/app/settings/ConfigTestSupport.h"
#include "tests/platform/RunningUnderWine.h"

namespace qvtest {
namespace {

std::string Utf8(const Westring& text) {
    Estring bytes;
    text.ToUtf8(bytes);
    return bytes.Data();
}

TEST(OwnTemporaryFiles, NamesCarryTheProcessAndOnlyTheirExactPatternsAreRead) {
    const unsigned long own = GetCurrentProcessId();
    // Both kinds of names made here give back this process.
    EXPECT_EQ(own, OwnTemporaryFileProcess(ExtractFileName(CopyTemporaryName(Westring("T:\\dir")))));
    EXPECT_EQ(own, OwnTemporaryFileProcess(ExtractFileName(ReplacingTemporaryName(Westring("T:\\a.txt"), 7))));
    EXPECT_EQ("T:\\dir\\", Utf8(CopyTemporaryName(Westring("T:\\dir\\"))).substr(0, 7));
    EXPECT_FALSE(CopyTemporaryName(Westring("T:\\d")).EqualsExact(CopyTemporaryName(Westring("T:\\d"))));

    struct Case {
        const char* name;
        unsigned long process;  // 0: not one of ours
    } cases[] = {
        {".qv00001a2b0001.tmp", 0x1a2b},
        {".qv7ffffff1ffff.tmp", 0x7ffffff1},
        {"notes.txt.~qv00001a2b.000", 0x1a2b},
        {"a.~qv0000beef.999", 0xbeef},
        {".qv00001A2B0001.tmp", 0},        // the program writes lower-case hex
        {".qv00001a2b001.tmp", 0},         // a digit short
        {".qv00001a2b00011.tmp", 0},       // one too many
        {".qv00001a2b0001.tmp.bak", 0},    // something after it
        {".qv00001a2b0001.bak", 0},        // another ending
        {".qv000000000001.tmp", 0},        // no process 0
        {".qvreport0001.tmp", 0},          // not hex
        {"report.tmp", 0},
        {"notes.txt.~000", 0},             // another program's backup
        {".~qv00001a2b.000", 0},           // nothing before the mark
        {"notes.txt.~qv00001a2b.00x", 0},  // the counter is decimal
        {"notes.txt.~qv00001a2b-000", 0},
        {"notes.txt.~qv0001a2b.000", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.process, OwnTemporaryFileProcess(Westring(c.name))) << c.name;
    }
}

TEST(OwnTemporaryFiles, TheSweepTakesOnlyADeadRunsLeftoversFromBeforeThisRun) {
    TempDir dir;
    const TTimestamp longAgo = {0, 1000000000};
    char own[64];
    snprintf(own, sizeof own, ".qv%08lx0001.tmp", static_cast<unsigned long>(GetCurrentProcessId()));
    struct Case {
        std::string name;
        bool old;   // last written long before this run
        bool gone;  // the sweep removes it
    } cases[] = {
        // No process has this id (above Linux's largest and not a Windows one).
        {".qv7ffffff10001.tmp", true, true},
        {"notes.txt.~qv7ffffff1.000", true, true},
        // Written during this run: perhaps a live run's file in the making.
        {".qv7ffffff10002.tmp", false, false},
        // This process's own.
        {own, true, false},
        // Names of the user's that look alike.
        {".qv7ffffff1.tmp", true, false},
        {"notes.txt.~000", true, false},
        {"report.tmp", true, false},
        // A live process (init), where there is one to name.
        {".qv000000010001.tmp", true, false},
    };
    for (const Case& c : cases) {
        if (c.name == ".qv000000010001.tmp" && RunningUnderWine()) {
            continue;  // wine's process ids are its own
        }
        WString path = dir.Join(WString(c.name.begin(), c.name.end()));
        ASSERT_TRUE(WriteFileBytes(path, "x")) << c.name;
        if (c.old) {
            ASSERT_EQ(0u, SetFileModifyTime(ToWestring(path), longAgo)) << c.name;
        }
    }
    // A folder of a dead run's name is not a file of ours.
    ASSERT_TRUE(CreateDirectoryW(dir.Join(W(".qv7ffffff10003.tmp")).c_str(), nullptr));
    ASSERT_EQ(0u, SetFileModifyTime(ToWestring(dir.Join(W(".qv7ffffff10003.tmp"))), longAgo));

    RemoveStaleTemporaryFiles(ToWestring(dir.Path()));
    for (const Case& c : cases) {
        WString path = dir.Join(WString(c.name.begin(), c.name.end()));
        bool there = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (c.name == ".qv000000010001.tmp" && RunningUnderWine()) {
            continue;
        }
        EXPECT_EQ(!c.gone, there) << c.name;
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.Join(W(".qv7ffffff10003.tmp")).c_str()));
}

}  // namespace
}  // namespace qvtest
