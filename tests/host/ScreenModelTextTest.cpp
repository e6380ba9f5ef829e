// The text a terminal keeps of a script run: the rows without their
// trailing blanks, the blank rows at the end dropped, inner blank rows kept.
#include "host/HostFrames.h"
#include "host/ScreenModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qvhost;

namespace {

Request WriteAt(int x, int y, const std::u32string& text) {
    Request r;
    r.opcode = 15;  // write text at a position
    Param px, py, pt, pa;
    px.value = x;
    py.value = y;
    pt.type = kParamText32;
    pt.text = text;
    pa.type = kParamAttr;
    pa.value = 7;
    r.params = {px, py, pt, pa};
    return r;
}

}  // namespace

TEST(ScreenModelText, RowsWithoutTrailingBlanksAndBlankRowsAtTheEnd) {
    ScreenModel model(12, 6);
    std::string reply;
    EXPECT_EQ("", model.TextRows());
    model.Apply(WriteAt(0, 0, U"hello  "), reply);
    model.Apply(WriteAt(2, 2, U"w\u00f6rld"), reply);
    EXPECT_EQ("hello\n\n  w\xc3\xb6rld\n", model.TextRows());
}
