#include "base/os/Environment.h"

#include <gtest/gtest.h>

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
    for (int i = 0; i < process.Count(); i++) {
        EXPECT_NE('=', process.At(i)->name[0]);
    }
    SetEnvironmentVariableA("QUORVANE_TEST_VARIABLE", nullptr);
}

}  // namespace
