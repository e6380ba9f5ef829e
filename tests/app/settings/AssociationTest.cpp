// Which associations match a file, and which of them are offered together.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/settings/Association.h"

namespace {

struct EntryDeleter {
    void operator()(entry* item) const { std::free(item); }
};
using EntryPtr = std::unique_ptr<entry, EntryDeleter>;

EntryPtr FileEntry(const std::u32string& name, uint64_t size = 10) {
    entry* item = entry::Allocate(static_cast<int>(name.size()));
    for (size_t i = 0; i < name.size(); i++) {
        item->name[i] = name[i];
    }
    item->size = size;
    return EntryPtr(item);
}

std::string Narrow(const Westring& text) {
    Estring utf8;
    text.ToUtf8(utf8);
    return utf8.Data();
}

// What the chooser was offered, and what it answers.
std::vector<std::string> Offered;
int ChooserAnswer = 1;
int ChooserPick = 0;

int FakeChooser(CAssociationList& list, Westring& command) {
    Offered.clear();
    for (int i = 0; i < list.Count(); i++) {
        Offered.push_back(Narrow(list.At(i)->command));
    }
    if (ChooserAnswer > 0) {
        command = list.At(ChooserPick)->command;
    }
    return ChooserAnswer;
}

struct Line {
    const char* mask;
    const char* command;
    bool continued;
};

class AssociationTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = AssociationChooser;
        AssociationChooser = FakeChooser;
        Offered.clear();
        ChooserAnswer = 1;
        ChooserPick = 0;
    }
    void TearDown() override { AssociationChooser = saved; }
    void Fill(const std::vector<Line>& lines) {
        for (const Line& line : lines) {
            set.Add(Westring(line.mask), Westring(line.command), line.continued);
        }
    }
    AssociationSet set;
    int (*saved)(CAssociationList&, Westring&) = nullptr;
};

TEST_F(AssociationTest, ChooseCommandWalksOverTheContinueFlags) {
    struct Case {
        std::vector<Line> lines;
        const char32_t* name;
        int result;
        const char* command;               // taken directly or chosen (the first offered)
        std::vector<std::string> offered;  // empty: no choice was shown
    } cases[] = {
        // Two continued lines, then a plain one for everything.
        {{{"*.txt", "first", true}, {"*.txt", "second", true}, {"*", "plain", false}},
         U"a.txt",
         1,
         "first",
         {"first", "second"}},
        {{{"*.txt", "first", true}, {"*.txt", "second", true}, {"*", "plain", false}}, U"b.dat", 1, "plain", {}},
        // One continued match alone needs no choice.
        {{{"*.txt", "only", true}, {"*.c", "other", false}}, U"a.txt", 1, "only", {}},
        // A plain first match ends the walk: the continued one is never offered.
        {{{"*.txt", "plain", false}, {"*.txt", "later", true}}, U"a.txt", 1, "plain", {}},
        // A later plain match ends the walk and is not offered.
        {{{"*.txt", "one", true}, {"*", "stop", false}, {"*.txt", "never", true}}, U"a.txt", 1, "one", {}},
        // Later non-continued matches stop the list; continued ones after a gap of non-matches join.
        {{{"*.txt", "one", true}, {"*.c", "c", false}, {"*.txt", "two", true}}, U"x.TXT", 1, "one", {"one", "two"}},
        // Nothing matches.
        {{{"*.txt", "one", true}}, U"a.dat", 0, "", {}},
        // The whole mask language: alternatives, negation and a size function.
        {{{"*.{c,h}", "source", false}}, U"x.h", 1, "source", {}},
        {{{"!*.txt", "not text", false}}, U"x.h", 1, "not text", {}},
        {{{"* & %size>100", "big", false}, {"*", "small", false}}, U"x.bin", 1, "small", {}},
    };
    for (const Case& c : cases) {
        set.FreeAll();
        Fill(c.lines);
        Offered.clear();
        EntryPtr item = FileEntry(c.name);
        Westring command;
        SCOPED_TRACE(Narrow(Westring(c.name)) + " -> " + c.command);
        EXPECT_EQ(c.result, set.ChooseCommand(item.get(), command));
        EXPECT_EQ(c.command, Narrow(command));
        EXPECT_EQ(c.offered, Offered);
    }
}

TEST_F(AssociationTest, TheChoiceGivesThePickedCommandOrCancels) {
    Fill({{"*.txt", "first", true}, {"*.txt", "second ä", true}});
    EntryPtr item = FileEntry(U"a.txt");
    ChooserPick = 1;
    Estring command;
    ASSERT_EQ(1, set.GetCommand(item.get(), command));
    // The command keeps characters beyond Latin-1's reach as UTF-8.
    EXPECT_STREQ("second \xC3\xA4", command.Data());

    ChooserAnswer = -1;
    Estring untouched("before");
    EXPECT_EQ(-1, set.GetCommand(item.get(), untouched));
    EXPECT_STREQ("before", untouched.Data());

    // Without a chooser installed nothing is chosen.
    AssociationChooser = nullptr;
    Westring wide;
    EXPECT_EQ(-1, set.ChooseCommand(item.get(), wide));
}

TEST_F(AssociationTest, FindFirstMatchTakesTheFirstRecordForABareName) {
    Fill({{"*.log", "tail !", false}, {"*.log|*.txt", "less !", true}, {"*", "cat !", false}});
    struct Case {
        const char* name;
        bool found;
        const char* command;
    } cases[] = {{"app.LOG", true, "tail !"}, {"a.txt", true, "less !"}, {"noext", true, "cat !"}};
    for (const Case& c : cases) {
        Westring command;
        EXPECT_EQ(c.found, set.FindFirstMatch(Westring(c.name), command)) << c.name;
        EXPECT_EQ(c.command, Narrow(command)) << c.name;
    }
    AssociationSet empty;
    Westring command("kept");
    EXPECT_FALSE(empty.FindFirstMatch(Westring("a.log"), command));
    EXPECT_EQ("kept", Narrow(command));
}

}  // namespace
