#include "base/os/Environment.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EnvironmentTest, LevelsFallBackToTheirParents) {
    Environment root;
    Environment middle(&root);
    Environment top(&middle);
    root.Set(Estring("Path"), "root-path");
    EXPECT_STREQ("root-path", top.Get(Estring("PATH"))->Data());

    top.Set(Estring("PATH"), "");
    EXPECT_STREQ("", top.Get(Estring("path"))->Data());
    EXPECT_EQ(nullptr, top.Get(Estring("unset")));

    // One variable whatever the letter case; the name takes the latest case.
    top.Set(Estring("path"), "top-path");
    EXPECT_EQ(1, top.Count());
    EXPECT_STREQ("path", top.At(0)->name.Data());
    EXPECT_STREQ("top-path", top.Get(Estring("Path"))->Data());

    top.Set(Estring("PATH"), nullptr);
    EXPECT_EQ(0, top.Count());
    EXPECT_STREQ("root-path", top.Get(Estring("PATH"))->Data());
}

TEST(EnvironmentTest, ProcessLevelHoldsTheProcessVariables) {
    SetEnvironmentVariableA("QUORVANE_TEST_VARIABLE", "value=with=equals");
    ProcessEnvironment process;
    const Estring* value = process.Get(Estring("quorvane_test_variable"));
    ASSERT_NE(nullptr, value);
    EXPECT_STREQ("value=with=equals", value->Data());
    // The only names beginning with "=" are the drives' own "=X:" entries.
    for (int i = 0; i < process.Count(); i++) {
        const Estring& name = process.At(i)->name;
        if (name[0] == '=') {
            EXPECT_EQ(3, name.Length()) << name.Data();
            EXPECT_EQ(':', name[2]) << name.Data();
        }
    }
    SetEnvironmentVariableA("QUORVANE_TEST_VARIABLE", nullptr);
}

// The block as "NAME=VALUE" lines, in order.
std::string BlockText(const WCHAR* block) {
    std::string text;
    for (const WCHAR* entry = block; *entry != 0;) {
        Westring line(entry);
        Estring utf8;
        line.ToUtf8(utf8);
        text += std::string(utf8.Data()) + "\n";
        while (*entry != 0) {
            entry++;
        }
        entry++;
    }
    return text;
}

TEST(EnvironmentTest, BlockMergesTheLevelsAndLeavesOutEmptyAndDriveEntries) {
    Environment root;
    Environment middle(&root);
    Environment top(&middle);
    root.Set(Estring("Zeta"), "root");
    root.Set(Estring("HIDDEN"), "from root");
    root.Set(Estring("Path"), "C:\\bin");
    middle.Set(Estring("zeta"), "ini");
    middle.Set(Estring("Alpha"), "\xc3\xa9t\xc3\xa9");
    top.Set(Estring("hidden"), "");
    top.Set(Estring("=C:"), "C:\\work");
    EXPECT_EQ("Alpha=\xc3\xa9t\xc3\xa9\nPath=C:\\bin;more\nzeta=ini\n", BlockText(top.BuildBlock(Estring("more"))));
    // The block stays until the level changes.
    EXPECT_EQ(top.BuildBlock(Estring("other")), top.BuildBlock(Estring("other")));
    top.Set(Estring("Beta"), "2");
    EXPECT_EQ("Alpha=\xc3\xa9t\xc3\xa9\nBeta=2\nPath=C:\\bin;x\nzeta=ini\n", BlockText(top.BuildBlock(Estring("x"))));

    // PATH ends in ";" even without an appended list, and is made when absent.
    Environment bare;
    EXPECT_EQ("PATH=;\n", BlockText(bare.BuildBlock(Estring(""))));
    EXPECT_EQ("PATH=;d\n", BlockText(Environment().BuildBlock(Estring("d"))));
}

TEST(EnvironmentTest, PercentReferencesTakeTheTopLevelsValues) {
    TopEnvironment().Set(Estring("QV_PCT"), "value");
    TopEnvironment().Set(Estring("QV_EMPTY"), "");
    TopEnvironment().Set(Estring("QV_SELF"), "%QV_PCT%");
    struct {
        const char* text;
        const char* expanded;
    } const cases[] = {
        {"%QV_PCT%", "value"},
        {"%qv_pct%\\dir", "value\\dir"},
        {"%QV_PCT\\dir", "value\\dir"},
        {"a%QV_PCT%%QV_PCT%b", "avaluevalueb"},
        {"%QV_UNKNOWN%", "%QV_UNKNOWN%"},
        {"%QV_EMPTY%x", "%QV_EMPTY%x"},
        {"100%", "100%"},
        {"%%QV_PCT%", "%value"},
        {"%QV_SELF%", "%QV_PCT%"},
    };
    for (const auto& c : cases) {
        Westring text(c.text);
        ExpandPercentVariables(text);
        Estring utf8;
        text.ToUtf8(utf8);
        EXPECT_STREQ(c.expanded, utf8.Data()) << c.text;
    }
    for (const char* name : {"QV_PCT", "QV_EMPTY", "QV_SELF"}) {
        TopEnvironment().Set(Estring(name), nullptr);
    }
}

TEST(EnvironmentTest, ProcessLevelRecordsTheDrivesCurrentDirectories) {
    ProcessEnvironment process;
    const Estring* drive = process.Get(Estring("=C:"));
    ASSERT_NE(nullptr, drive);
    EXPECT_EQ('C', (*drive)[0]);
    EXPECT_EQ(':', (*drive)[1]);
}

}  // namespace
