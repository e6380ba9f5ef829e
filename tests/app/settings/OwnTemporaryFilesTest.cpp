// The program's own temporary files: their names carry the run that made
// them, and the sweep of a folder removes only a dead run's leftovers, never
// a user's file, a live process's file in the making or one written during
// this run.
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

// This run, as its names carry it.
TTemporaryOwner ThisRun() {
    TTemporaryOwner owner{0, 0};
    EXPECT_TRUE(ReadTemporaryOwner(ExtractFileName(CopyTemporaryName(Westring("T:\\dir"))), owner));
    return owner;
}

std::string Hex(unsigned long value) {
    char text[16];
    snprintf(text, sizeof text, "%08lx", value);
    return text;
}

TEST(OwnTemporaryFiles, NamesCarryTheRunAndOnlyTheirExactPatternsAreRead) {
    const TTemporaryOwner run = ThisRun();
    EXPECT_EQ(static_cast<unsigned long>(GetCurrentProcessId()), run.process);
    TTemporaryOwner replacing{0, 0};
    ASSERT_TRUE(ReadTemporaryOwner(ExtractFileName(ReplacingTemporaryName(Westring("T:\\a.txt"), 7)), replacing));
    EXPECT_EQ(run.process, replacing.process);
    EXPECT_EQ(run.stamp, replacing.stamp);
    EXPECT_EQ("T:\\dir\\.qv", Utf8(CopyTemporaryName(Westring("T:\\dir\\"))).substr(0, 10));
    EXPECT_FALSE(CopyTemporaryName(Westring("T:\\d")).EqualsExact(CopyTemporaryName(Westring("T:\\d"))));

    struct Case {
        const char* name;
        unsigned long process;  // 0: not one of ours
        unsigned long stamp;
    } cases[] = {
        {".qv00001a2b12345678000f.tmp", 0x1a2b, 0x12345678},
        {".qv7ffffff100000001ffff.tmp", 0x7ffffff1, 1},
        {"notes.txt.~qv00001a2b12345678.000", 0x1a2b, 0x12345678},
        {"a.~qv0000beef00000000.999", 0xbeef, 0},
        {".qv00001A2B12345678000f.tmp", 0, 0},      // the program writes lower-case hex
        {".qv00001a2b12345678000.tmp", 0, 0},       // a digit short
        {".qv00001a2b12345678000ff.tmp", 0, 0},     // one too many
        {".qv00001a2b12345678000f.tmp.bak", 0, 0},  // something after it
        {".qv00001a2b12345678000f.bak", 0, 0},      // another ending
        {".qv0000000012345678000f.tmp", 0, 0},      // no process 0
        {".qvreport0012345678000f.tmp", 0, 0},      // not hex
        {"report.tmp", 0, 0},
        {"notes.txt.~000", 0, 0},                     // another program's backup
        {".~qv00001a2b12345678.000", 0, 0},           // nothing before the mark
        {"notes.txt.~qv00001a2b12345678.00x", 0, 0},  // the counter is decimal
        {"notes.txt.~qv00001a2b12345678-000", 0, 0},
        {"notes.txt.~qv0001a2b12345678.000", 0, 0},
    };
    for (const Case& c : cases) {
        TTemporaryOwner owner{0, 0};
        bool read = ReadTemporaryOwner(Westring(c.name), owner);
        EXPECT_EQ(c.process != 0, read) << c.name;
        if (read) {
            EXPECT_EQ(c.process, owner.process) << c.name;
            EXPECT_EQ(c.stamp, owner.stamp) << c.name;
        }
    }
}

TEST(OwnTemporaryFiles, TheSweepTakesOnlyADeadRunsLeftoversFromBeforeThisRun) {
    TempDir dir;
    const TTimestamp longAgo = {0, 1000000000};
    const TTemporaryOwner run = ThisRun();
    const std::string own = Hex(run.process);
    const std::string earlier = Hex(run.stamp + 1);
    struct Case {
        std::string name;
        bool old;   // last written long before this run
        bool gone;  // the sweep removes it
    } cases[] = {
        // No process has this id (above Linux's largest and not a Windows one).
        {".qv7ffffff1000000010001.tmp", true, true},
        {"notes.txt.~qv7ffffff100000001.000", true, true},
        // An earlier process that had this run's id.
        {".qv" + own + earlier + "0001.tmp", true, true},
        // Written during this run: perhaps a live run's file in the making.
        {".qv7ffffff1000000010002.tmp", false, false},
        // This run's own.
        {".qv" + own + Hex(run.stamp) + "0001.tmp", true, false},
        {"notes.txt.~qv" + own + Hex(run.stamp) + ".000", true, false},
        // Names of the user's that look alike.
        {".qv7ffffff1.tmp", true, false},
        {"notes.txt.~000", true, false},
        {"report.tmp", true, false},
        // A live process (init), where there is one to name.
        {".qv00000001000000010001.tmp", true, false},
    };
    for (const Case& c : cases) {
        if (c.name == ".qv00000001000000010001.tmp" && RunningUnderWine()) {
            continue;  // wine's process ids are its own
        }
        WString path = dir.Join(WString(c.name.begin(), c.name.end()));
        ASSERT_TRUE(WriteFileBytes(path, "x")) << c.name;
        if (c.old) {
            ASSERT_EQ(0u, SetFileModifyTime(ToWestring(path), longAgo)) << c.name;
        }
    }
    // A folder of a dead run's name is not a file of ours.
    const WString folder = dir.Join(W(".qv7ffffff1000000010003.tmp"));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_EQ(0u, SetFileModifyTime(ToWestring(folder), longAgo));

    RemoveStaleTemporaryFiles(ToWestring(dir.Path()));
    for (const Case& c : cases) {
        if (c.name == ".qv00000001000000010001.tmp" && RunningUnderWine()) {
            continue;
        }
        WString path = dir.Join(WString(c.name.begin(), c.name.end()));
        bool there = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(!c.gone, there) << c.name;
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.c_str()));
}

}  // namespace
}  // namespace qvtest
