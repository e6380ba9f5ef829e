#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/strings/PathParts.h"
#include "base/strings/SemicolonList.h"

namespace {

std::vector<std::string> Texts(const WestringStore& store) {
    std::vector<std::string> out;
    for (int i = 0; i < store.Count(); i++) {
        Estring utf8;
        store.At(i)->ToUtf8(utf8);
        out.push_back(utf8.Data());
    }
    return out;
}

TEST(CPathParts, SplitsAtBackslashes) {
    const struct {
        const char* path;
        std::vector<std::string> parts;
    } cases[] = {
        {"C:\\a\\b\\", {"C:", "a", "b"}},
        {"C:\\a\\b", {"C:", "a", "b"}},
        {"\\\\srv\\share\\x", {"", "srv", "share", "x"}},
        {"\\a", {"", "a"}},
        {"\\", {""}},
        {"C:", {"C:"}},
        {"C:\\", {"C:"}},
        {"a\\\\b", {"a", "b"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        CPathParts parts{Westring(c.path)};
        EXPECT_EQ(Texts(parts), c.parts) << c.path;
    }
}

TEST(CPathParts, CommonPrefixLengthCountsLeadingComponents) {
    const struct {
        const char* a;
        const char* b;
        int ignoringCase;
        int exact;
    } cases[] = {
        {"C:\\A\\b", "c:\\a\\c", 2, 0},
        {"C:\\a\\b", "C:\\a\\b", 3, 3},
        {"C:\\a\\b", "C:\\a\\b\\c\\d", 3, 3},
        {"C:\\Src", "C:\\src", 2, 1},
        {"C:\\a", "D:\\a", 0, 0},
        {"\\\\srv\\share", "\\\\SRV\\share\\x", 3, 1},
        {"\\\\srv\\share", "C:\\srv", 0, 0},
        {"", "C:\\a", 0, 0},
        {"C:\\a", "", 0, 0},
        {"", "", 0, 0},
        {"C:\\\u00e9t\u00e9", "C:\\\u00c9T\u00c9", 2, 1},
    };
    for (const auto& c : cases) {
        CPathParts a{Westring(c.a)};
        CPathParts b{Westring(c.b)};
        EXPECT_EQ(a.CommonPrefixLength(b), c.ignoringCase) << c.a << " | " << c.b;
        EXPECT_EQ(b.CommonPrefixLength(a), c.ignoringCase) << c.b << " | " << c.a;
        EXPECT_EQ(a.CommonPrefixLength(b, false), c.exact) << c.a << " | " << c.b;
    }
}

TEST(SemicolonList, SplitKeepsEmptyEntriesAndEmptiesTheList) {
    const struct {
        const char* list;
        std::vector<std::string> entries;
    } cases[] = {
        {"a;;b", {"a", "", "b"}},
        {"", {}},
        {";", {""}},
        {"a;", {"a"}},
        {";a", {"", "a"}},
        {"c:\\bin;d:\\tools", {"c:\\bin", "d:\\tools"}},
        {"one", {"one"}},
    };
    for (const auto& c : cases) {
        Westring list(c.list);
        WestringStore store;
        store.Add(new Westring("kept"));
        SplitSemicolonList(list, store);
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.entries.begin(), c.entries.end());
        EXPECT_EQ(Texts(store), expected) << c.list;
        EXPECT_TRUE(list.IsEmpty()) << c.list;
    }
}

TEST(SemicolonList, JoinDropsEmptyEntries) {
    const struct {
        std::vector<std::string> entries;
        const char* joined;
    } cases[] = {
        {{"c:\\bin", "", "d:\\tools"}, "c:\\bin;d:\\tools"},
        {{"", "a"}, "a"},
        {{"a", ""}, "a"},
        {{"", ""}, ""},
        {{}, ""},
        {{"x"}, "x"},
    };
    for (const auto& c : cases) {
        WestringStore store;
        for (const std::string& e : c.entries)
            store.Add(new Westring(e.c_str()));
        Estring utf8;
        JoinSemicolonList(store).ToUtf8(utf8);
        EXPECT_STREQ(utf8.Data(), c.joined);
    }
}

}  // namespace
