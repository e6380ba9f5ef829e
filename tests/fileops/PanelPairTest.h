// The fixture of the end-to-end tests that work between the two panels
// (compare, synchronise): the left panel on T:\work, the right one on U:, the
// folder "right", and files written with the last-write times a test needs.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/ProgramTest.h"

namespace qvtest {

class PanelPairTest : public ProgramTest {
protected:
    // One file with its contents and last-write time.
    struct TTimedFile {
        std::string name;
        std::string bytes;
        time_t seconds;
        long nanoseconds;
    };

    void SetUp() override {
        ProgramTest::SetUp();
        MakeFolder("right");
        MapDrive('U', "right");
    }

    void WriteAt(const std::string& name, const std::string& bytes, time_t seconds, long nanoseconds = 0) {
        Write(name, bytes);
        struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
        ASSERT_EQ(0, utimensat(AT_FDCWD, PathOf(name).c_str(), times, 0)) << name;
    }
    void WriteAll(const std::vector<TTimedFile>& files) {
        for (const TTimedFile& f : files) {
            WriteAt(f.name, f.bytes, f.seconds, f.nanoseconds);
        }
    }

    // Starts the program on the pair with the "[General Options]" lines.
    void StartPair(const std::string& ini = "", const std::string& left = "T:\\work",
                   const std::string& right = "U:\\") {
        Launch(Options({Ini("StickyAlt=off\r\n" + ini), "-l", left, "-r", right}));
        ASSERT_TRUE(host->Started());
        ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    }
};

}  // namespace qvtest
