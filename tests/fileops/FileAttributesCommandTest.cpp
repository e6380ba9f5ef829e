// The tagged entries' attributes from the three-state boxes.
#include <gtest/gtest.h>

#include <cstdint>

#include "fileops/FileAttributesCommand.h"

namespace {

TEST(AttributeBoxes, SetClearAndLeave) {
    // Boxes in the dialog's order: Read Only, Archive, Hidden, System, Compressed.
    struct Case {
        uint32_t old;
        uint8_t boxes[5];
        uint32_t want;
    } cases[] = {
        {0x21, {1, 1, 1, 1, 1}, 0x21},   // every box in the middle: nothing changes
        {0x01, {0, 1, 1, 1, 1}, 0x00},   // Read Only cleared
        {0x20, {2, 1, 2, 1, 1}, 0x23},   // Read Only and Hidden set, Archive kept
        {0x27, {1, 0, 1, 0, 1}, 0x03},   // Archive and System cleared
        {0x10, {1, 1, 1, 1, 2}, 0x810},  // Compressed set; the directory bit stays
        {0x811, {2, 2, 2, 2, 0}, 0x37},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.want, ApplyAttributeBoxes(c.old, c.boxes)) << std::hex << c.old;
    }
}

}  // namespace
