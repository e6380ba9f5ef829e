#include "viewedit/UnsavableCharacters.h"

#include <gtest/gtest.h>

#include "base/io/TextFile.h"

namespace {

TEST(UnsavableCharactersTest, CountsWhatTheEncodingCannotHold) {
    struct TCase {
        const char* name;
        int encoding;
        UINT codePage;
        const char32_t* text;
        int64_t count;
    };
    const TCase cases[] = {
        {"1252 holds e acute and the euro sign", CTextFile::EncodingCodePage, 1252, U"caf\u00E9 \u20AC x", 0},
        {"Cyrillic in 1252", CTextFile::EncodingCodePage, 1252, U"\u041F\u0440\u0438 ok \u0436", 4},
        {"437 has no euro sign", CTextFile::EncodingCodePage, 437, U"\u00E9\u20AC\u20AC", 2},
        {"a look-alike is lost too", CTextFile::EncodingCodePage, 1252, U"\u0101", 1},
        {"past the first plane", CTextFile::EncodingCodePage, 1252, U"a\U0001F600b", 1},
        {"UTF-8 as a code page", CTextFile::EncodingCodePage, CP_UTF8, U"\u0436\U0001F600", 0},
        {"UTF-8", CTextFile::EncodingUtf8, 1252, U"\u0436\U0001F600", 0},
        {"UTF-16", CTextFile::EncodingUtf16LE, 1252, U"\u0436", 0},
    };
    for (const TCase& c : cases) {
        CUnsavableCharacters check(c.encoding, c.codePage);
        int n = 0;
        while (c.text[n])
            n++;
        // Twice: the second count comes from what the first one learnt.
        EXPECT_EQ(check.Count(c.text, n), c.count) << c.name;
        EXPECT_EQ(check.Count(c.text, n), c.count) << c.name << ", again";
        EXPECT_EQ(check.CanLose(), c.encoding == CTextFile::EncodingCodePage && c.codePage != CP_UTF8) << c.name;
    }
}

}  // namespace
