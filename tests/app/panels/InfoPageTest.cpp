// The figures of the information page: the room a panel's files take on the
// volume and the compression of an archive.
#include "app/panels/InfoPage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/app/panels/PanelTestSupport.h"
#include "tests/app/panels/TestPanelPair.h"

namespace {

using paneltest::Fill;

const uint16_t Dir = FILE_ATTRIBUTE_DIRECTORY;

TEST(InfoPage, FileSpaceRoundsEachFileUpToWholeClusters) {
    paneltest::TestPanelPair pair;
    const struct {
        std::vector<paneltest::TEntrySpec> entries;
        uint64_t cluster;
        uint64_t space;
    } cases[] = {
        {{{"a", 0, 1, 0}}, 4096, 4096},
        {{{"a", 0, 4096, 0}}, 4096, 4096},
        {{{"a", 0, 4097, 0}}, 4096, 8192},
        {{{"a", 0, 1, 0}, {"b", 0, 4096, 0}, {"c", 0, 4097, 0}}, 4096, 16384},
        // Empty files take a cluster each.
        {{{"a", 0, 0, 0}, {"b", 0, 0, 0}, {"c", 0, 0, 0}}, 4096, 12288},
        // Directories, ".." among them, add nothing.
        {{{"..", Dir, 0, 0}, {"sub", Dir, 4096, 0}, {"deeper", Dir, 0, 0}}, 4096, 0},
        {{{"sub", Dir, 0, 0}, {"a", 0, 10, 0}}, 512, 512},
        // A volume that reports no cluster size counts each file at its size.
        {{{"a", 0, 1, 0}, {"b", 0, 4097, 0}, {"c", 0, 0, 0}}, 0, 4098},
        {{}, 4096, 0},
        // Sizes beyond 32 bits.
        {{{"big", 0, 0x100000001ull, 0}}, 4096, 0x100001000ull},
    };
    for (const auto& c : cases) {
        Fill(pair[0], c.entries);
        EXPECT_EQ(InfoPageFileSpace(&pair[0], c.cluster), c.space) << paneltest::Names(pair[0]) << " at " << c.cluster;
    }
    pair[0].FreeEntries();
}

TEST(InfoPage, CompressionIsCutToWholeTenths) {
    const struct {
        int64_t unpacked;
        int64_t packed;
        const char* text;
    } cases[] = {
        {1000, 333, "66.7%"},
        {0, 0, "0%"},
        {0, 500, "0%"},
        {1000, 1000, "0.0%"},
        {3, 2, "33.3%"},
        {2000, 1, "99.9%"},
        {1000, 2000, "-100.0%"},
        {INT64_MAX, 0, "100.0%"},
        {INT64_MAX, INT64_MAX / 2, "50.0%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(InfoPageCompressionText(c.unpacked, c.packed).Data()), c.text)
            << c.unpacked << " " << c.packed;
    }
}

}  // namespace
