// Requests with coordinates and counts far off the screen, as a broken or
// hostile program may send them: each is clipped to the screen, in arithmetic
// that cannot overflow, and touches only the cells that are on it.
#include "host/HostFrames.h"
#include "host/ScreenModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace qvhost;

namespace {

Param Int(int32_t v) {
    Param p;
    p.value = v;
    return p;
}

Param Attr(int32_t v) {
    Param p;
    p.type = kParamAttr;
    p.value = v;
    return p;
}

Param Text(const std::u32string& text) {
    Param p;
    p.type = kParamText32;
    p.text = text;
    return p;
}

Param Cells(const std::u32string& chars) {
    Param p;
    p.type = kParamCells;
    for (char32_t c : chars) {
        p.cells.push_back(Cell{c, 0x1F});
    }
    return p;
}

Request Make(uint16_t opcode, std::vector<Param> params) {
    Request r;
    r.opcode = opcode;
    r.params = std::move(params);
    return r;
}

enum : uint16_t { kFill = 8, kScrollUp = 9, kScrollDown = 10, kWrite = 15, kRepeat = 16, kAttrs = 17, kRect = 19 };

}  // namespace

TEST(ScreenModelClipping, RequestsFarOffTheScreenTouchOnlyItsCells) {
    struct Case {
        const char* what;
        Request request;
        // The 10 x 4 screen afterwards; it starts as rows of dots. Cells a fill
        // or a scroll blanked are spaces; '#' marks cells whose attribute became
        // 0x1F without their character changing.
        const char* rows[4];
    };
    const Case cases[] = {
        {"fill 98275342 x 99",
         Make(kFill, {Int(0), Int(0), Int(98275342), Int(99), Attr(0x1F)}),
         {"          ", "          ", "          ", "          "}},
        {"fill from far above-left",
         Make(kFill, {Int(-5), Int(-5), Int(98275342), Int(7), Attr(0x1F)}),
         {"          ", "          ", "..........", ".........."}},
        {"fill that starts past INT_MAX's edge",
         Make(kFill, {Int(INT_MAX - 1), Int(0), Int(10), Int(10), Attr(0x1F)}),
         {"..........", "..........", "..........", ".........."}},
        {"fill whose end is INT_MIN + INT_MAX",
         Make(kFill, {Int(INT_MIN), Int(INT_MIN), Int(INT_MAX), Int(INT_MAX), Attr(0x1F)}),
         {"..........", "..........", "..........", ".........."}},
        {"fill of INT_MAX columns from column 2",
         Make(kFill, {Int(2), Int(1), Int(INT_MAX), Int(1), Attr(0x1F)}),
         {"..........", "..        ", "..........", ".........."}},
        {"fill of a negative size",
         Make(kFill, {Int(3), Int(1), Int(-4), Int(INT_MIN), Attr(0x1F)}),
         {"..........", "..........", "..........", ".........."}},
        {"repeat two billion times",
         Make(kRepeat, {Int(3), Int(2), Int(2000000000), Cells(U"z")}),
         {"..........", "..........", "...zzzzzzz", ".........."}},
        {"repeat from INT_MIN",
         Make(kRepeat, {Int(INT_MIN), Int(0), Int(INT_MAX), Cells(U"z")}),
         {"..........", "..........", "..........", ".........."}},
        {"repeat on a row below the screen",
         Make(kRepeat, {Int(0), Int(INT_MAX), Int(5), Cells(U"z")}),
         {"..........", "..........", "..........", ".........."}},
        {"attributes for a billion cells",
         Make(kAttrs, {Int(-1000000000), Int(3), Int(2000000000), Attr(0x1F)}),
         {"..........", "..........", "..........", "##########"}},
        {"text written from INT_MAX - 1",
         Make(kWrite, {Int(INT_MAX - 1), Int(0), Text(U"abc"), Attr(0x1F)}),
         {"..........", "..........", "..........", ".........."}},
        {"text written from column -2",
         Make(kWrite, {Int(-2), Int(0), Text(U"abcdef"), Attr(0x1F)}),
         {"cdef......", "..........", "..........", ".........."}},
        {"cells written from INT_MIN",
         Make(kWrite, {Int(INT_MIN), Int(1), Cells(U"abc")}),
         {"..........", "..........", "..........", ".........."}},
        {"rectangle at INT_MAX, INT_MAX",
         Make(kRect, {Int(INT_MAX), Int(INT_MAX), Int(2), Int(2), Cells(U"ABCD")}),
         {"..........", "..........", "..........", ".........."}},
        {"rectangle hanging over the top-left corner",
         Make(kRect, {Int(-1), Int(-1), Int(2), Int(2), Cells(U"ABCD")}),
         {"D.........", "..........", "..........", ".........."}},
        {"rectangle taller than its cells",
         Make(kRect, {Int(8), Int(2), Int(2), Int(INT_MAX), Cells(U"ABCD")}),
         {"..........", "..........", "........AB", "........CD"}},
        {"rectangle of width INT_MAX",
         Make(kRect, {Int(0), Int(0), Int(INT_MAX), Int(2), Cells(U"ABCD")}),
         {"..........", "..........", "..........", ".........."}},
        {"scroll by INT_MAX lines",
         Make(kScrollUp, {Int(0), Int(1), Int(10), Int(2), Int(INT_MAX), Attr(0x1F)}),
         {"..........", "          ", "          ", ".........."}},
        {"scroll down a region reaching INT_MAX",
         Make(kScrollDown, {Int(5), Int(2), Int(INT_MAX), Int(INT_MAX), Int(1), Attr(0x1F)}),
         {"..........", "..........", ".....     ", ".........."}},
        {"scroll a region starting at INT_MIN",
         Make(kScrollUp, {Int(INT_MIN), Int(INT_MIN), Int(5), Int(5), Int(1), Attr(0x1F)}),
         {"..........", "..........", "..........", ".........."}},
    };
    for (const Case& c : cases) {
        ScreenModel model(10, 4);
        std::string reply;
        for (int y = 0; y < 4; ++y) {
            model.Apply(Make(kWrite, {Int(0), Int(y), Text(U".........."), Attr(0x07)}), reply);
        }
        model.Apply(c.request, reply);
        for (int y = 0; y < 4; ++y) {
            std::string shown = model.RowText(y);
            std::vector<uint8_t> attrs = model.RowAttributes(y);
            for (size_t x = 0; x < shown.size(); ++x) {
                if (shown[x] == '.' && attrs[x] == 0x1F) {
                    shown[x] = '#';
                }
            }
            EXPECT_EQ(shown, c.rows[y]) << c.what << ", row " << y;
        }
    }
}

TEST(ScreenModelClipping, AFrameAnnouncingMoreRecordsThanAnyRequestHasIsBroken) {
    // 65535 records would make the decoder wait for gigabytes.
    const uint8_t head[] = {0xBF, 0xFB, 15, 0, 0xFF, 0xFF, 0, 0, 4, 0};
    RequestDecoder decoder;
    decoder.Feed(head, sizeof head);
    Request r;
    EXPECT_FALSE(decoder.Next(r));
    EXPECT_TRUE(decoder.Broken());
}

TEST(ScreenModelClipping, ADecoderFedFramesInPiecesKeepsOnlyTheUnfinishedOne) {
    // A stream whose every read ends inside a frame: each request is decoded,
    // and the one left over is the only thing still buffered.
    const uint8_t frame[] = {0xBF, 0xFB, 0x04, 0x00, 0x02, 0x00, 0, 0, 4, 0, 3, 0, 0, 0, 0, 0, 4, 0, 1, 0, 0, 0};
    Request r;
    int decoded = 0;
    RequestDecoder split;
    split.Feed(frame, 5);
    for (int i = 0; i < 10000; ++i) {
        split.Feed(frame + 5, sizeof frame - 5);
        split.Feed(frame, 5);
        while (split.Next(r)) {
            ++decoded;
        }
    }
    EXPECT_FALSE(split.Broken());
    EXPECT_EQ(decoded, 10000);
    EXPECT_EQ(split.Buffered(), 5u);
    EXPECT_LE(split.Held(), 2 * sizeof frame);
}

TEST(ScreenModelClipping, ScrollsMoveTheRegionsRowsAndBlankWhatTheyUncover) {
    // A 6 x 5 screen of rows "aaaaaa" to "eeeeee"; blanks get attribute 0x1F.
    struct Case {
        const char* what;
        uint16_t opcode;
        int32_t x, y, w, h, lines;
        const char* rows[5];
    };
    const Case cases[] = {
        {"whole screen up one", kScrollUp, 0, 0, 6, 5, 1, {"bbbbbb", "cccccc", "dddddd", "eeeeee", "      "}},
        {"whole screen down two", kScrollDown, 0, 0, 6, 5, 2, {"      ", "      ", "aaaaaa", "bbbbbb", "cccccc"}},
        {"full-width band up", kScrollUp, 0, 1, 6, 3, 2, {"aaaaaa", "dddddd", "      ", "      ", "eeeeee"}},
        {"full-width band down", kScrollDown, 0, 1, 6, 3, 1, {"aaaaaa", "      ", "bbbbbb", "cccccc", "eeeeee"}},
        {"inner rectangle up", kScrollUp, 2, 1, 3, 3, 2, {"aaaaaa", "bbdddb", "cc   c", "dd   d", "eeeeee"}},
        {"inner rectangle down", kScrollDown, 1, 0, 4, 5, 2, {"a    a", "b    b", "caaaac", "dbbbbd", "ecccce"}},
        {"more lines than rows", kScrollUp, 0, 0, 6, 5, 7, {"      ", "      ", "      ", "      ", "      "}},
        {"no lines", kScrollDown, 0, 0, 6, 5, 0, {"aaaaaa", "bbbbbb", "cccccc", "dddddd", "eeeeee"}},
    };
    for (const Case& c : cases) {
        ScreenModel model(6, 5);
        std::string reply;
        for (int y = 0; y < 5; ++y) {
            model.Apply(Make(kWrite, {Int(0), Int(y), Text(std::u32string(6, U'a' + y)), Attr(0x07)}), reply);
        }
        model.TakeDirtyRows();
        model.Apply(Make(c.opcode, {Int(c.x), Int(c.y), Int(c.w), Int(c.h), Int(c.lines), Attr(0x1F)}), reply);
        std::vector<bool> dirty = model.TakeDirtyRows();
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(model.RowText(y), c.rows[y]) << c.what << ", row " << y;
            const std::vector<uint8_t> attrs = model.RowAttributes(y);
            for (int x = 0; x < 6; ++x) {
                const bool blank = model.RowText(y, x, 1) == " ";
                EXPECT_EQ(attrs[x], blank ? 0x1F : 0x07) << c.what << ", cell " << x << "," << y;
            }
            // Only the region's rows are painted again, and only when it moved.
            const bool inRegion = y >= c.y && y < c.y + c.h && c.lines > 0;
            EXPECT_EQ(dirty[y], inRegion) << c.what << ", row " << y;
        }
    }
}
