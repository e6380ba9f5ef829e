#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/strings/Utf8Codec.h"

namespace {

std::string Hex(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char b : bytes) {
        snprintf(buffer, sizeof buffer, "%02X ", b);
        out += buffer;
    }
    return out;
}

TEST(Utf8Codec, DecodesOneSequenceAtATime) {
    const struct {
        std::string bytes;
        char32_t code;
        int length;
        bool valid;
    } cases[] = {
        {"A", 0x41, 1, true},
        {std::string(1, '\0'), 0, 1, true},
        {"\x7F", 0x7F, 1, true},
        {"\xC2\x80", 0x80, 2, true},
        {"\xC3\xA9z", 0xE9, 2, true},
        {"\xDF\xBF", 0x7FF, 2, true},
        {"\xE0\xA0\x80", 0x800, 3, true},
        {"\xE2\x82\xAC", 0x20AC, 3, true},
        {"\xEF\xBF\xBF", 0xFFFF, 3, true},
        {"\xF0\x90\x80\x80", 0x10000, 4, true},
        {"\xF0\x9F\x98\x80", 0x1F600, 4, true},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4, true},
        // Encoded surrogates and overlong forms spell their values.
        {"\xED\xA0\x80", 0xD800, 3, true},
        {"\xED\xBF\xBF", 0xDFFF, 3, true},
        {"\xC0\x80", 0, 2, true},
        {"\xC1\x81", 0x41, 2, true},
        {"\xE0\x80\x80", 0, 3, true},
        {"\xF0\x80\x80\xAF", 0x2F, 4, true},
        // Beyond Unicode, the structure still holds.
        {"\xF7\xBF\xBF\xBF", 0x1FFFFF, 4, true},
        // Cut short: the lead byte alone is stray.
        {"\xC3", 0xC3, 1, false},
        {"\xE2\x82", 0xE2, 1, false},
        {"\xF0\x9F\x98", 0xF0, 1, false},
        {"\xE2\x82z", 0xE2, 1, false},
        {"\xC3(", 0xC3, 1, false},
        {"\xF0\x9F\x98z", 0xF0, 1, false},
        // Bytes that lead nothing.
        {"\x80", 0x80, 1, false},
        {"\xBF\x80", 0xBF, 1, false},
        {"\xF8\x88\x80\x80\x80", 0xF8, 1, false},
        {"\xFC\x84\x80\x80\x80\x80", 0xFC, 1, false},
        {"\xFE", 0xFE, 1, false},
        {"\xFF", 0xFF, 1, false},
    };
    for (const auto& c : cases) {
        TUtf8Step step = DecodeUtf8Step((const unsigned char*)c.bytes.data(), c.bytes.size());
        EXPECT_EQ(step.code, c.code) << Hex(c.bytes);
        EXPECT_EQ(step.length, c.length) << Hex(c.bytes);
        EXPECT_EQ(step.valid, c.valid) << Hex(c.bytes);
    }
}

// Over a zero-terminated text the decoder asks for no byte past the first
// one that does not continue the sequence, so it never reads past the end.
TEST(Utf8Codec, NeverAsksPastTheByteThatBreaksTheSequence) {
    const struct {
        const char* text;
        int lastAsked;
    } cases[] = {
        {"a", 0},        {"\xC3", 1}, {"\xE2\x82", 2}, {"\xF0\x9F\x98", 3}, {"\xF0\x9F\x98\x80", 3},
        {"\xF8\x88", 0}, {"\x80", 0},
    };
    for (const auto& c : cases) {
        int lastAsked = -1;
        DecodeUtf8Step([&](int k) {
            lastAsked = k > lastAsked ? k : lastAsked;
            return (long)(unsigned char)c.text[k];
        });
        EXPECT_EQ(lastAsked, c.lastAsked) << Hex(c.text);
    }
}

TEST(Utf8Codec, EncodesEveryLengthInUtf8AndUtf16) {
    const struct {
        char32_t code;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {0x41, "A", {0x41}},
        {0x7F, "\x7F", {0x7F}},
        {0x80, "\xC2\x80", {0x80}},
        {0x7FF, "\xDF\xBF", {0x7FF}},
        {0x800, "\xE0\xA0\x80", {0x800}},
        {0x20AC, "\xE2\x82\xAC", {0x20AC}},
        {0xD800, "\xED\xA0\x80", {0xD800}},
        {0xDFFF, "\xED\xBF\xBF", {0xDFFF}},
        {0xFFFF, "\xEF\xBF\xBF", {0xFFFF}},
        {0x10000, "\xF0\x90\x80\x80", {0xD800, 0xDC00}},
        {0x1F600, "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
        {0x10FFFF, "\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},
        // UTF-16 cannot hold it: the replacement character.
        {0x110000, "\xF4\x90\x80\x80", {0xFFFD}},
    };
    for (const auto& c : cases) {
        char bytes[4];
        int n = EncodeUtf8(c.code, bytes);
        EXPECT_EQ(std::string(bytes, n), c.utf8) << std::hex << c.code;
        EXPECT_EQ(n, Utf8Length(c.code)) << std::hex << c.code;
        char16_t units[2];
        int m = EncodeUtf16(c.code, units);
        EXPECT_EQ(std::u16string(units, m), c.utf16) << std::hex << c.code;
        EXPECT_EQ(m, Utf16Length(c.code)) << std::hex << c.code;
        // And back.
        TUtf8Step step = DecodeUtf8Step((const unsigned char*)bytes, n);
        EXPECT_TRUE(step.valid);
        EXPECT_EQ(step.code, c.code);
        EXPECT_EQ(step.length, n);
    }
}

TEST(Utf8Codec, WholeTextsKeepStrayBytesAndLoneSurrogates) {
    const struct {
        std::string utf8;
        std::u32string text;
    } decoded[] = {
        {"", U""},
        {"caf\xC3\xA9 \xE2\x82\xAC", U"caf\u00E9 \u20AC"},
        // A stray byte stands for its Latin-1 character, and the next byte
        // starts afresh.
        {"a\xE9t\xE9", U"a\u00E9t\u00E9"},
        {"\xE2\x82z", U"\u00E2\u0082z"},
        {"\xF0\x9F\x98\x80!", U"\U0001F600!"},
    };
    for (const auto& c : decoded)
        EXPECT_EQ(Utf8ToUtf32(c.utf8), c.text) << Hex(c.utf8);

    EXPECT_EQ(Utf32ToUtf8(U"a\u00E9\U0001F600"), "a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\xF0\x9F\x98\x80z"), (std::u16string{'a', 0xD83D, 0xDE00, 'z'}));
    EXPECT_EQ(Utf8ToUtf16("\xFF"), std::u16string(1, 0xFF));

    const struct {
        std::u16string units;
        std::string utf8;
    } encoded[] = {
        {{'a', 0xD83D, 0xDE00, 'z'}, "a\xF0\x9F\x98\x80z"},
        {{'A', 0xD800, 'B'},
         "A\xED\xA0\x80"
         "B"},
        {{0xDC00, 0xD800}, "\xED\xB0\x80\xED\xA0\x80"},
        {{0xD83D}, "\xED\xA0\xBD"},
    };
    for (const auto& c : encoded)
        EXPECT_EQ(Utf16ToUtf8(c.units), c.utf8);
    EXPECT_EQ(JoinSurrogates(0xDBFF, 0xDFFF), 0x10FFFFu);
}

}  // namespace
