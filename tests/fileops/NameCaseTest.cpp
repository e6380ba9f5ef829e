// Case conversion of names: each mode, and the split into base and extension.
#include <gtest/gtest.h>

#include "fileops/NameCase.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(NameCase, EachModeOnNamesWithAndWithoutDots) {
    struct Case {
        const char* name;
        char nameMode;
        char extensionMode;
        const char* want;
    } cases[] = {
        {"MY DOCUMENT.TXT", 'm', 'l', "My Document.txt"},
        {"ReadMe.Txt", 'l', 'l', "readme.txt"},
        {"ReadMe.Txt", 'u', 'u', "README.TXT"},
        {"ReadMe.Txt", 'n', 'u', "ReadMe.TXT"},
        {"ReadMe.Txt", 'u', 'n', "README.Txt"},
        {"Makefile", 'u', 'l', "MAKEFILE"},  // no dot: all of it is the name
        {"MAKEFILE", 'm', 'u', "Makefile"},
        {"archive.tar.GZ", 'u', 'l', "ARCHIVE.TAR.gz"},  // the last dot splits
        {".profile", 'u', 'u', ".PROFILE"},              // a leading dot: all extension
        {"name.", 'u', 'l', "NAME."},
        {"o'brien's file.TXT", 'm', 'l', "O'Brien's File.txt"},
        {"\xc3\xa9t\xc3\xa9.TXT", 'u', 'l', "\xc3\x89T\xc3\x89.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.want, Utf8(ConvertFileNameCase(Westring(c.name), c.nameMode, c.extensionMode))) << c.name;
    }
}

TEST(NameCase, UnknownModeLeavesTheText) {
    EXPECT_EQ("MiXeD", Utf8(ConvertNameCase(Westring("MiXeD"), 'x')));
    EXPECT_EQ("mixed", Utf8(ConvertNameCase(Westring("MiXeD"), 'l')));
    EXPECT_EQ("Mixed", Utf8(ConvertNameCase(Westring("MiXeD"), 'm')));
}

}  // namespace
