#include "ui/Clipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const char* text) {
    WestringStore lines;
    lines.Add(new Westring("old"));
    SplitTextIntoLines(Westring(text), lines);
    std::vector<std::string> out;
    for (int i = 0; i < lines.Count(); i++) {
        Estring utf8;
        lines.At(i)->ToUtf8(utf8);
        out.push_back(utf8.Data());
    }
    return out;
}

TEST(ClipboardTest, SplitTextIntoLinesCutsAtLineFeedsDroppingTheirCarriageReturns) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"x\r\ny", {"x", "y"}},     {"x\n", {"x", ""}}, {"a\r\nb\n", {"a", "b", ""}},   {"", {""}},
        {"a\n\nb", {"a", "", "b"}}, {"\r\n", {"", ""}}, {"a\rb\r\r\n", {"a\rb\r", ""}},  // only the CR right before an LF goes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.lines, Lines(c.text)) << c.text;
    }
}

}  // namespace
