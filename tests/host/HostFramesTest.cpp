#include "host/HostFrames.h"
#include "host/ScreenModel.h"

#include <gtest/gtest.h>

#include <string>

using namespace qvhost;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) {
        s += static_cast<char>(v);
    }
    return s;
}

void Feed(RequestDecoder& d, const std::string& bytes) {
    d.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(HostFrames, DecodesRequestsFedByteByByte) {
    // SetCursorPos(3, 1) followed by a cell string ('A',0x1F) ('B',0x70) written at 0,0.
    std::string cursor = Bytes({0xBF, 0xFB, 0x04, 0x00, 0x02, 0x00, 0, 0, 4, 0, 3, 0, 0, 0, 0, 0, 4, 0, 1, 0, 0, 0});
    std::string cells = Bytes({0xBF, 0xFB, 15, 0, 3, 0, 0, 0, 4, 0, 0,    0,    0,    0,    0,   0,
                               4,    0,    0,  0, 0, 0, 4, 0, 5, 0, 0x41, 0x42, 0x00, 0x1F, 0x70});
    RequestDecoder d;
    Request r;
    std::string all = cursor + cells;
    int decoded = 0;
    for (char c : all) {
        Feed(d, std::string(1, c));
        while (d.Next(r)) {
            ++decoded;
            if (decoded == 1) {
                EXPECT_EQ(r.opcode, 4);
                EXPECT_EQ(r.Int(0), 3);
                EXPECT_EQ(r.Int(1), 1);
            } else {
                EXPECT_EQ(r.opcode, 15);
                const std::vector<Cell>* c2 = r.Cells(2);
                ASSERT_NE(c2, nullptr);
                ASSERT_EQ(c2->size(), 2u);
                EXPECT_EQ((*c2)[0].ch, U'A');
                EXPECT_EQ((*c2)[0].attr, 0x1F);
                EXPECT_EQ((*c2)[1].ch, U'B');
                EXPECT_EQ((*c2)[1].attr, 0x70);
            }
        }
    }
    EXPECT_EQ(decoded, 2);
    EXPECT_FALSE(d.Broken());
}

TEST(HostFrames, BadMagicBreaksTheStream) {
    RequestDecoder d;
    Feed(d, Bytes({0xDF, 0xFD, 0x00, 0x00, 0x00, 0x00}));
    Request r;
    EXPECT_FALSE(d.Next(r));
    EXPECT_TRUE(d.Broken());
}

TEST(HostFrames, EventAndReplyEncoding) {
    std::string ev = EncodeEvent(kEventResized, 0, 0, 120, 40, 0);
    ASSERT_EQ(ev.size(), 4u + 6 * 8);
    EXPECT_EQ(ev.substr(0, 4), Bytes({0xDF, 0xFD, 6, 0}));
    EXPECT_EQ(ev.substr(4 + 3 * 8, 8), Bytes({0, 0, 4, 0, 120, 0, 0, 0}));
    std::u32string text = U"\u20AC";
    std::string reply = EncodeReply({1}, &text);
    EXPECT_EQ(reply, Bytes({0xBF, 0xFB, 2, 0, 0, 0, 4, 0, 1, 0, 0, 0, 2, 0, 3, 0, 0xE2, 0x82, 0xAC}));
}

TEST(ScreenModel, DrawingRequestsChangeTheCells) {
    ScreenModel model(10, 3);
    std::string reply;
    Request fill;
    fill.opcode = 8;
    for (int v : {0, 0, 10, 3}) {
        Param p;
        p.value = v;
        fill.params.push_back(p);
    }
    Param attr;
    attr.type = kParamAttr;
    attr.value = 0x1F;
    fill.params.push_back(attr);
    EXPECT_FALSE(model.Apply(fill, reply));
    EXPECT_EQ(model.At(9, 2).attr, 0x1F);

    Request write;
    write.opcode = 15;
    Param x, y, text;
    x.value = 8;
    y.value = 1;
    text.type = kParamText32;
    text.text = U"abc";  // runs off the right edge: clipped, not wrapped
    write.params = {x, y, text, attr};
    model.Apply(write, reply);
    EXPECT_EQ(model.RowText(1), "        ab");
    EXPECT_EQ(model.RowText(2), "          ");

    Request size;
    size.opcode = 6;
    ASSERT_TRUE(model.Apply(size, reply));
    EXPECT_EQ(reply, EncodeReply({10, 3}));
}

TEST(ScreenModel, TeletypeOutputScrollsTheWholeScreen) {
    ScreenModel model(4, 2);
    Request tty;
    tty.opcode = 22;
    Param text;
    text.type = kParamText8;
    text.text = U"ab\r\ncd\nef";
    tty.params.push_back(text);
    std::string reply;
    model.Apply(tty, reply);
    EXPECT_EQ(model.RowText(0), "cd  ");
    // A line feed also returns the carriage, as console output does.
    EXPECT_EQ(model.RowText(1), "ef  ");
}

TEST(ScreenModel, SizeRequestsFollowTheHostsRule) {
    ScreenModel model(80, 25);
    Request set;
    set.opcode = 7;
    Param c, r;
    c.value = 100;
    r.value = 30;
    set.params = {c, r};
    std::string reply;
    model.SetSizeFixed(true);
    ASSERT_TRUE(model.Apply(set, reply));
    EXPECT_EQ(reply, EncodeReply({0}));
    EXPECT_EQ(model.Columns(), 80);
    model.SetSizeFixed(false);
    model.Apply(set, reply);
    EXPECT_EQ(reply, EncodeReply({1}));
    EXPECT_EQ(model.Columns(), 100);
    EXPECT_EQ(model.Rows(), 30);
}

namespace {

Param IntParam(int32_t v) {
    Param p;
    p.value = v;
    return p;
}

Param TextParam(ParamType type, const std::u32string& text) {
    Param p;
    p.type = type;
    p.text = text;
    return p;
}

Param AttrParam(int32_t v) {
    Param p;
    p.type = kParamAttr;
    p.value = v;
    return p;
}

Param CellsParam(std::vector<Cell> cells) {
    Param p;
    p.type = kParamCells;
    p.cells = std::move(cells);
    return p;
}

Request Make(uint16_t opcode, std::vector<Param> params) {
    Request r;
    r.opcode = opcode;
    r.params = std::move(params);
    return r;
}

}  // namespace

TEST(ScreenModel, OnlyTheFourWaitingRequestsAreAnswered) {
    for (uint16_t opcode = 0; opcode <= 30; ++opcode) {
        ScreenModel model(10, 3);
        std::string reply;
        bool answered = model.Apply(Make(opcode, {IntParam(20), IntParam(5)}), reply);
        bool waits = opcode == 0 || opcode == 6 || opcode == 7 || opcode == 21;
        EXPECT_EQ(answered, waits) << opcode;
    }
}

TEST(ScreenModel, ControlCharactersShowAsTheProgramsGlyphs) {
    struct Case {
        const char* what;
        Request request;
        char32_t shown;
    };
    const Case cases[] = {
        {"text32 1", Make(15, {IntParam(0), IntParam(0), TextParam(kParamText32, U"\x01"), AttrParam(7)}), 0x263A},
        {"text32 127", Make(15, {IntParam(0), IntParam(0), TextParam(kParamText32, U"\x7F"), AttrParam(7)}), 0x2302},
        {"text8 0x1F", Make(15, {IntParam(0), IntParam(0), TextParam(kParamText8, U"\x1F"), AttrParam(7)}), 0x25BC},
        {"text8 0x80 in 1252", Make(15, {IntParam(0), IntParam(0), TextParam(kParamText8, U"\x80"), AttrParam(7)}),
         0x20AC},
        {"text8 0x81 undefined", Make(15, {IntParam(0), IntParam(0), TextParam(kParamText8, U"\x81"), AttrParam(7)}),
         0x2302},
        {"cells 0x9F", Make(15, {IntParam(0), IntParam(0), CellsParam({{0x9F, 7}})}), 0x2302},
        {"repeat 2", Make(16, {IntParam(0), IntParam(0), IntParam(1), CellsParam({{2, 7}})}), 0x263B},
        {"repeat 127", Make(16, {IntParam(0), IntParam(0), IntParam(1), CellsParam({{0x7F, 7}})}), 0x7F},
        {"rectangle 1", Make(19, {IntParam(0), IntParam(0), IntParam(1), IntParam(1), CellsParam({{1, 7}})}), 1},
    };
    for (const Case& c : cases) {
        ScreenModel model(4, 1);
        std::string reply;
        model.Apply(c.request, reply);
        EXPECT_EQ(model.At(0, 0).ch, c.shown) << c.what;
    }
}

TEST(ScreenModel, CodePageOfNarrowTexts) {
    ScreenModel model(4, 1);
    std::string reply;
    model.Apply(Make(5, {IntParam(65001)}), reply);
    model.Apply(Make(15, {IntParam(0), IntParam(0), TextParam(kParamText8, U"\xC3\xA9x"), AttrParam(7)}), reply);
    EXPECT_EQ(model.RowText(0), "\xC3\xA9x  ");
}

TEST(ScreenModel, TeletypeTabsMoveWithoutPaintingAndLinesWrap) {
    ScreenModel model(10, 2);
    std::string reply;
    model.Apply(Make(14, {AttrParam(0x1E)}), reply);
    model.Apply(Make(22, {TextParam(kParamText8, U"a\tb12\xE2\x82\xAC")}), reply);
    EXPECT_EQ(model.RowText(0), "a       b1");
    EXPECT_EQ(model.At(1, 0).attr, 0x07);
    EXPECT_EQ(model.At(8, 0).attr, 0x1E);
    EXPECT_EQ(model.RowText(1), "2\xE2\x82\xAC        ");  // wrapped, UTF-8 decoded
}

TEST(HostFrames, ShortCellRecordsAreDropped) {
    // Two characters but one attribute byte.
    std::string frame = Bytes(
        {0xBF, 0xFB, 15, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 4, 0, 4, 0, 0x41, 0x42, 0x00, 0x1F});
    RequestDecoder d;
    Feed(d, frame);
    Request r;
    ASSERT_TRUE(d.Next(r));
    EXPECT_EQ(r.params.size(), 2u);
    EXPECT_EQ(r.Cells(2), nullptr);
}
