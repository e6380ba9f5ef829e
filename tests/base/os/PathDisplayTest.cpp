#include "base/os/PathDisplay.h"

#include <gtest/gtest.h>

#include <string>

#include "base/strings/Estring.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(PathDisplayTest, ShortensKeepingTheRootAndTheTail) {
    struct Case {
        const char* path;
        int width;
        const char* shown;
    } cases[] = {
        {"C:\\Program Files\\Tool\\bin\\run.exe", 20, "C:\\...ol\\bin\\run.exe"},
        {"C:\\Program Files\\Tool\\bin\\run.exe", 33, "C:\\Program Files\\Tool\\bin\\run.exe"},
        {"\\\\srv\\share\\a\\b\\c", 12, "\\\\...e\\a\\b\\c"},
        {"\\dir\\sub\\file.txt", 12, "\\dir\\....txt"},
        // No directory part, or no room beside the root: cut with a mark.
        {"abcdefghijklmnopqrstuvwxyz0123", 10, "abcdefghi\u25BA"},
        {"C:\\abcdefgh", 6, "C:\\ab\u25BA"},
        {"C:\\abcdefgh", 1, "\u25BA"},
        {"C:\\abcdefgh", 0, ""},
        {"C:\\abcdefgh", -5, ""},
    };
    for (const Case& c : cases) {
        Westring path(c.path);
        ShortenPathForDisplay(path, c.width);
        EXPECT_EQ(c.shown, Utf8(path)) << c.path << " to " << c.width;
        EXPECT_LE(path.Length(), c.width < 0 ? 0 : c.width);
    }
    Westring original("C:\\Program Files\\Tool\\bin\\run.exe");
    EXPECT_EQ("C:\\...ol\\bin\\run.exe", Utf8(ShortenedPathForDisplay(original, 20)));
    EXPECT_EQ(33, original.Length());
}

TEST(PathDisplayTest, AppendsOneBackslash) {
    struct Case {
        const char32_t* before;
        const char* after;
    } cases[] = {{U"", "\\"}, {U"C:", "C:\\"}, {U"C:\\", "C:\\"}, {U"C:\\dir", "C:\\dir\\"}};
    for (const Case& c : cases) {
        char32_t buffer[16] = {};
        for (int i = 0; c.before[i] != 0; i++) {
            buffer[i] = c.before[i];
        }
        AppendBackslashInPlace(buffer);
        EXPECT_EQ(c.after, Utf8(Westring(buffer)));
    }
}

TEST(PathDisplayTest, DotNamesAfterEitherSeparator) {
    struct Case {
        const char* path;
        const char* name;
        bool dots;
    } cases[] = {
        {"C:\\dir\\.", ".", true},      {"C:/dir/..", "..", true}, {"..", "..", true},
        {"C:\\dir\\...", "...", false}, {"C:\\dir\\", "", false},  {"a/b\\.c", ".c", false},
    };
    for (const Case& c : cases) {
        Westring path(c.path);
        EXPECT_EQ(c.dots, IsDotOrDotDotName(path)) << c.path;
        EXPECT_EQ(c.name, Utf8(path)) << c.path;
    }
}

}  // namespace
