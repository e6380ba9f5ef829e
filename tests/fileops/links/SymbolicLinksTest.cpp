// Relative link targets: shared leading folders, names that differ only in
// case, and targets on another drive or share.
#include <gtest/gtest.h>

#include <string>

#include "fileops/links/SymbolicLinks.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(RelativeLinkTarget, FromTheLinksDirectory) {
    struct Case {
        const char* linkDirectory;
        const char* target;
        const char* want;
    } cases[] = {
        {"C:\\A\\B", "C:\\A\\C\\y", "..\\C\\y"},
        {"C:\\A", "C:\\A\\y", "y"},
        {"C:\\A\\B\\C", "C:\\y", "..\\..\\..\\y"},
        {"C:\\", "C:\\A\\y", "A\\y"},
        {"C:\\A\\B", "C:\\A\\B", "."},
        // Src and src are two directories: nothing below C:\A is shared.
        {"C:\\A\\Src", "C:\\A\\src\\y", "..\\src\\y"},
        {"C:\\a\\B", "C:\\A\\C\\y", "..\\..\\A\\C\\y"},
        // Another drive or share: no relative way, the target as it is.
        {"C:\\A\\B", "D:\\A\\y", "D:\\A\\y"},
        {"\\\\srv\\one\\dir", "\\\\srv\\two\\y", "\\\\srv\\two\\y"},
        {"\\\\srv\\one\\dir", "\\\\srv\\one\\y", "..\\y"},
        {"C:\\A", "\\\\srv\\one\\y", "\\\\srv\\one\\y"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.want, Utf8(RelativeLinkTarget(Westring(c.linkDirectory), Westring(c.target))))
            << c.linkDirectory << " -> " << c.target;
    }
}

}  // namespace
