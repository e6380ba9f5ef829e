#include "base/strings/StringCollection.h"

#include <gtest/gtest.h>

#include "base/strings/StringStore.h"

namespace {

template <class Set>
std::string Joined(Set& set) {
    std::string text;
    for (int i = 0; i < set.Count(); ++i) {
        if (i > 0)
            text += '|';
        text += Estring(*set.At(i)).Data();
    }
    return text;
}

TEST(StringCollections, FileNamesAreUniqueWithoutRegardToCase) {
    FnStringCollection names;
    EXPECT_EQ(1, names.InsertCopy(Westring("README.TXT")));
    EXPECT_EQ(0, names.InsertCopy(Westring("Readme.txt")));
    EXPECT_EQ(1, names.Count());
    EXPECT_STREQ("README.TXT", Estring(*names.At(0)).Data());

    names.allowDuplicates = true;
    EXPECT_EQ(1, names.InsertCopy(Westring("Readme.txt")));
    EXPECT_EQ(2, names.Count());
}

TEST(StringCollections, WestringsSortWithoutRegardToCase) {
    WestringCollection set;
    const char* words[] = {"b\xC3\xA9ta", "Alpha", "gamma",
                           "\xC3\x89"
                           "clair",
                           "BETA"};
    int inserted = 0;
    for (const char* w : words)
        inserted += set.InsertCopy(Westring(w));
    EXPECT_EQ(5, inserted);
    EXPECT_EQ(
        "Alpha|BETA|b\xC3\xA9ta|gamma|\xC3\x89"
        "clair",
        Joined(set));
    EXPECT_EQ(0, set.InsertCopy(Westring("\xC3\xA9"
                                         "CLAIR")));  // É and é are one letter
    Westring key("ALPHA");
    EXPECT_NE(nullptr, set.Find(&key));
}

TEST(StringCollections, WordsFollowTheCaseFlag) {
    WordCollection exact(true);
    EXPECT_EQ(1, exact.InsertCopy(Westring("If")));
    EXPECT_EQ(1, exact.InsertCopy(Westring("if")));
    EXPECT_EQ("If|if", Joined(exact));

    WordCollection loose(false);
    EXPECT_EQ(1, loose.InsertCopy(Westring("If")));
    EXPECT_EQ(0, loose.InsertCopy(Westring("if")));
}

TEST(StringCollections, InsertCommaListSplitsQuotedFields) {
    StringCollection set;
    Estring list("a,\"b,c\",A");
    EXPECT_EQ(2, set.InsertCommaList(list));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ("a|b,c", Joined(set));

    Estring more("Zeta,\\065lpha,b,C");
    EXPECT_EQ(4, set.InsertCommaList(more));
    EXPECT_EQ("a|Alpha|b|b,c|C|Zeta", Joined(set));
    Estring again("ZETA,alpha");
    EXPECT_EQ(0, set.InsertCommaList(again));
    EXPECT_EQ(6, set.Count());
}

TEST(StringStores, AddFieldsSplitsAtTheSeparator) {
    struct {
        const char* text;
        char separator;
        char quote;
        const char* fields;  // joined by '|'
        int count;
    } cases[] = {
        {"a,\"b,c\",,\"d\"\"e\"", ',', '"', "a|b,c||d\"e", 4},
        {"", ',', '"', "", 1},
        {"x;y;", ';', '"', "x|y|", 3},
        {"'p q' r", ' ', '\'', "p q|r", 2},
        {"\"a,b\"", ',', 0, "\"a|b\"", 2},
    };
    for (const auto& c : cases) {
        EstringStore store;
        EXPECT_EQ(c.count, store.AddFields(c.text, c.separator, c.quote)) << c.text;
        EXPECT_EQ(c.count, store.Count()) << c.text;
        EXPECT_EQ(c.fields, Joined(store)) << c.text;
    }
}

TEST(StringStores, JoinWithCommas) {
    EstringStore list;
    EXPECT_STREQ("", JoinWithCommas(list).Data());
    list.Add(new Estring("x"));
    list.Add(new Estring("y"));
    EXPECT_STREQ("x,y", JoinWithCommas(list).Data());
    list.Add(new Estring(""));
    EXPECT_STREQ("x,y,", JoinWithCommas(list).Data());
}

TEST(StringStores, KeepInsertionOrderAndOwnTheirStrings) {
    WestringStore lines;
    lines.Add(new Westring("second"));
    lines.InsertAt(new Westring("first"), 0);
    lines.Add(new Westring("third"));
    EXPECT_EQ("first|second|third", Joined(lines));
    lines.Seek(1);
    lines.DeleteCurrent();
    EXPECT_EQ("first|third", Joined(lines));
}

}  // namespace
