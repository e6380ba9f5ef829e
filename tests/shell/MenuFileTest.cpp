#include "shell/MenuFile.h"

#include "base/strings/Str32.h"
#include "console/KeyCodes.h"
#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using qvtest::TempDir;
using qvtest::W;
using shelltest::Narrow;
using shelltest::Wide;

std::vector<std::string> Reported;
void Report(const Westring& path) {
    Reported.push_back(Narrow(ExtractFileName(path)));
}

// The menu as text: "KEY|title|line;line" per entry, a submenu in brackets.
std::string Describe(const MenuStore& store) {
    std::string out;
    for (int i = 0; i < store.Count(); i++) {
        const MenuEntry* item = store.At(i);
        out += (i ? " " : "") + Narrow(item->keyText) + "|" + Narrow(item->title) + "|";
        for (int j = 0; j < item->commands.Count(); j++) {
            out += (j ? ";" : "") + Narrow(*item->commands.At(j));
        }
        if (item->submenu != nullptr) {
            out += "[" + Describe(*item->submenu) + "]";
        }
    }
    return out;
}

class MenuFileTest : public ::testing::Test {
protected:
    void SetUp() override { Reported.clear(); }
    Westring Put(const std::string& name, const std::string& text) {
        EXPECT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), text));
        return Wide(dir.Join(W(name)));
    }
    std::string ReadMenu(const std::string& text, const entry* cursor = nullptr) {
        Westring path = Put("menu.mnu", text);
        TMenuReadContext context;
        context.cursorEntry = cursor;
        context.panelDirectory = Wide(dir.Path());
        context.reportInclude = Report;
        store.FreeAll();
        store.longestKey = 0;
        EXPECT_TRUE(ReadMenuFileAt(store, path, context));
        EXPECT_EQ(0, context.reading.Count());
        return Describe(store);
    }
    TempDir dir;
    MenuStore store;
};

TEST(MenuHotKeyTest, KeyTextsGiveTheirCodes) {
    struct Case {
        const char* key;
        int32_t code;
    } cases[] = {
        {"x", 'X'},           {"7", '7'},        {"F1", KEY_F1},   {"F10", KEY_F10},  {"F12", 0x10086},
        {"CF2", KEY_CTRL_F2}, {"CF12", 0x1008A}, {"SF3", 0x30056}, {"SF11", 0x30087}, {"AF10", KEY_ALT_F10},
        {"AF11", 0x1008B},    {"QF5", 5},        {"cF4", 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.code, MenuHotKey(Westring(c.key))) << c.key;
    }
}

TEST_F(MenuFileTest, EveryLineKind) {
    std::string text =
        "// a comment: with a colon\r\n"
        "A: First entry\r\n"
        "  echo one  \r\n"
        "\r\n"
        "\techo two\r\n"
        "no colon here\r\n"
        "   echo three\r\n"  // the entry is still current after an ignored line
        "f1: lower-case f is no key\r\n"
        "   echo lost\r\n"  // no current entry after an ignored key
        "AB: two letters\r\n"
        "F12: Twelve\r\n"
        "SF3 : Shift three\r\n"
        "S: Sub menu\r\n"
        "{\r\n"
        "x: inner\r\n"
        "  echo in\r\n"
        "}\r\n"
        "   echo after brace\r\n"  // no current entry after a submenu
        "D: Done\r\n"
        "  echo d\r\n"
        " {\r\n"  // a block after an entry with lines: read and dropped
        "y: dropped\r\n"
        "}\r\n"
        "}\r\n"  // ends the file at the top level
        "E: never read\r\n";
    EXPECT_EQ(
        "A|First entry|echo one;echo two;echo three F12|Twelve| SF3|Shift three| S|Sub menu|[X|inner|echo in] "
        "D|Done|echo d",
        ReadMenu(text));
    EXPECT_EQ(3, store.longestKey);
    EXPECT_EQ(0x10086, store.At(1)->hotKey);
    EXPECT_EQ(0x30056, store.At(2)->hotKey);
}

TEST_F(MenuFileTest, MaskedEntriesNeedAMatchingCursorEntry) {
    const char* text = "B @*.c: Build\r\n  make\r\nC: Clean\r\n";
    Put("main.c", "int x;");
    Put("notes.txt", "");
    auto make = [](const char* name) {
        Westring wide(name);
        entry* item = entry::Allocate(wide.Length());
        Mem32Copy(item->name, wide.Data(), wide.Length() + 1);
        return item;
    };
    entry* source = make("main.c");
    entry* notes = make("notes.txt");
    EXPECT_EQ("B|Build|make C|Clean|", ReadMenu(text, source));
    EXPECT_EQ("C|Clean|", ReadMenu(text, notes));
    EXPECT_EQ("C|Clean|", ReadMenu(text, nullptr));
    entry::Free(source);
    entry::Free(notes);
}

TEST_F(MenuFileTest, IncludesReadInPlaceAndNeverLoop) {
    qvtest::WriteFileBytes(dir.Join(W("sub")), "");
    Put("more.mnu", "M: More\r\n  echo m\r\n}\r\nZ: after the brace of the include\r\n");
    Put("loop.mnu", "L: Loop\r\n!include menu.mnu\r\n");
    std::string text =
        "A: Before\r\n"
        "!include more.mnu\r\n"
        "  echo lost\r\n"  // no current entry after an include
        "!include missing.mnu\r\n"
        "!include menu.mnu\r\n"  // itself
        "!include loop.mnu\r\n"  // itself again, through another file
        "!includeX.mnu\r\n"
        "B: After\r\n";
    EXPECT_EQ("A|Before| M|More|echo m L|Loop| B|After|", ReadMenu(text));
    EXPECT_EQ((std::vector<std::string>{"missing.mnu", "menu.mnu", "menu.mnu"}), Reported);
}

TEST_F(MenuFileTest, DeepBracesAndUnclosedSubmenusEndCleanly) {
    std::string text = "A: Top\r\n";
    for (int i = 0; i < 200000; i++) {
        text += "{\r\n";
    }
    text += "K: deep\r\n";
    EXPECT_EQ("A|Top|[]", ReadMenu(text));
    EXPECT_EQ("A|Top|[B|Inner|]", ReadMenu("A: Top\r\n{\r\nB: Inner\r\n"));
}

}  // namespace
