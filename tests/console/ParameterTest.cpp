#include "console/ParameterList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Parses one record given as bytes; the list gets what it decoded.
bool Parse(CParameterList& list, const std::string& bytes, uint32_t& consumed) {
    const uint8_t* cursor = reinterpret_cast<const uint8_t*>(bytes.data());
    uint32_t remaining = static_cast<uint32_t>(bytes.size());
    bool ok = ParseParameter(list, cursor, remaining);
    consumed = static_cast<uint32_t>(bytes.size()) - remaining;
    return ok;
}

std::string B(std::initializer_list<int> v) {
    std::string s;
    for (int x : v) {
        s += static_cast<char>(x);
    }
    return s;
}

TEST(Parameters, RecordsDecodeByTypeAndLength) {
    struct Case {
        const char* what;
        std::string bytes;
        bool accepted;
        int added;  // parameters added
    };
    const Case cases[] = {
        {"integer of 2 bytes", B({0, 0, 2, 0, 0x34, 0x12}), true, 1},
        {"integer of 0 bytes", B({0, 0, 0, 0}), true, 1},
        {"integer of 6 bytes", B({0, 0, 6, 0, 1, 2, 3, 4, 5, 6}), true, 0},
        {"attribute of 2 bytes", B({3, 0, 2, 0, 1, 2}), true, 0},
        {"cells with all attributes", B({4, 0, 5, 0, 'A', 'B', 0, 0x1F, 0x70}), true, 1},
        {"cells missing an attribute", B({4, 0, 4, 0, 'A', 'B', 0, 0x1F}), true, 0},
        {"cells without NUL", B({4, 0, 2, 0, 'A', 'B'}), true, 0},
        {"type 5", B({5, 0, 0, 0}), false, 0},
        {"length past the end", B({1, 0, 9, 0, 'a'}), false, 0},
        {"short head", B({1, 0, 9}), false, 0},
    };
    for (const Case& c : cases) {
        CParameterList list;
        uint32_t consumed = 0;
        EXPECT_EQ(Parse(list, c.bytes, consumed), c.accepted) << c.what;
        EXPECT_EQ(list.Count(), c.added) << c.what;
        EXPECT_EQ(consumed, c.accepted ? c.bytes.size() : 0u) << c.what;
    }
}

TEST(Parameters, ValuesAndTheirKinds) {
    CParameterList list;
    uint32_t consumed = 0;
    Parse(list, B({0, 0, 2, 0, 0x34, 0x12}), consumed);
    Parse(list, B({1, 0, 4, 0, 'a', 'b', 0, 'c'}), consumed);
    Parse(list, B({2, 0, 4, 0, 0xE2, 0x82, 0xAC, 0xFF}), consumed);
    Parse(list, B({3, 0, 1, 0, 0x4E}), consumed);
    Parse(list, B({4, 0, 6, 0, 0xC3, 0xA9, 'x', 0, 0x1F, 0x2F}), consumed);
    ASSERT_EQ(list.Count(), 5);

    int32_t number = 0;
    EXPECT_TRUE(GetIntegerParameter(list.At(0), number));
    EXPECT_EQ(number, 0x1234);
    Estring narrow;
    EXPECT_TRUE(GetStringParameter(list.At(1), narrow));
    EXPECT_STREQ(narrow.Data(), "ab");  // up to the NUL
    Westring wide;
    EXPECT_TRUE(GetUnicodeStringParameter(list.At(2), wide));
    EXPECT_TRUE(wide.EqualsExact(Westring(U"\u20AC\u00FF")));  // an invalid byte stands for itself
    uint8_t attribute = 0;
    EXPECT_TRUE(GetAttributeParameter(list.At(3), attribute));
    EXPECT_EQ(attribute, 0x4E);
    CellString cells;
    EXPECT_TRUE(GetCellStringParameter(list.At(4), cells));
    ASSERT_EQ(cells.Length(), 2);
    EXPECT_EQ(cells.Data()[0].character, 0xE9u);
    EXPECT_EQ(cells.Data()[0].attribute, 0x1F);
    EXPECT_EQ(cells.Data()[1].character, U'x');
    EXPECT_EQ(cells.Data()[1].attribute, 0x2F);

    // The wrong kind leaves the out-value alone.
    number = 99;
    EXPECT_FALSE(GetIntegerParameter(list.At(3), number));
    EXPECT_EQ(number, 99);
    EXPECT_FALSE(GetAttributeParameter(list.At(0), attribute));
    EXPECT_EQ(attribute, 0x4E);
    EXPECT_FALSE(GetStringParameter(list.At(2), narrow));
    EXPECT_FALSE(GetUnicodeStringParameter(list.At(1), wide));
    EXPECT_FALSE(GetCellStringParameter(nullptr, cells));
}

}  // namespace
