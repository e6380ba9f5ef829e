#include "ui/ListBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/ui/UiConsole.h"

namespace {

using qvtest::UiConsole;

class ListBoxTest : public UiConsole {
protected:
    void Fill(std::initializer_list<const char*> words) {
        items.FreeAll();
        for (const char* w : words) {
            items.Add(new Westring(w));
        }
    }
    void FillNumbers(int n) {
        items.FreeAll();
        for (int i = 0; i < n; ++i) {
            Estring text;
            text.Format("item %d", i);
            items.Add(new Westring(text));
        }
    }
    WestringStore items;
};

TEST_F(ListBoxTest, ConstructionClampsTheSelectionAndShowsIt) {
    struct {
        int count, rows, selection;
        int expected, top, cursorRow;
    } cases[] = {
        {10, 6, 20, 9, 4, 5},
        {0, 6, 3, -1, 0, 0},
        {10, 6, 8, 8, 3, 5},
        {10, 6, 2, 2, 0, 2},
    };
    for (const auto& c : cases) {
        FillNumbers(c.count);
        Dialog d(0, 0, 30, 10, 0x70);
        int32_t selection = c.selection;
        int i = d.AddListBoxWestring(0, 0, 1, 20, c.rows, items, &selection, 0);
        ListBoxBase* list = static_cast<ListBoxBase*>(d.Element(i));
        EXPECT_EQ(selection, c.expected);
        EXPECT_EQ(list->Top(), c.top);
        EXPECT_EQ(list->CursorRow(), c.cursorRow);
        d.DrawElement(i);
        if (c.count == 0) {
            EXPECT_EQ(selection, -1);
            EXPECT_EQ(AttrAt(1, 1), ColourOf(ColourMenu));
        }
    }
}

// Records the search text, the selection and the bottom frame line after
// every event.
class SearchDialog : public Dialog {
public:
    explicit SearchDialog(std::function<std::string()> frameLine) : Dialog(0, 0, 30, 8, 0x70), frame(frameLine) {}
    ListBoxBase* list = nullptr;
    std::vector<std::string> texts;
    std::vector<int> selections;
    std::vector<std::string> frames;

protected:
    void OnEventHandled() override {
        Estring text(list->SearchText());
        texts.push_back(text.Data());
        selections.push_back(list->Top() + list->CursorRow());
        frames.push_back(frame());
    }

private:
    std::function<std::string()> frame;
};

TEST_F(ListBoxTest, IncrementalSearchIgnoresCaseAndKeepsTheTextOnAMiss) {
    Fill({"apple", "Dog", "door"});
    SearchDialog d([this] { return Row(8); });
    int32_t selection = 0;
    int i = d.AddListBoxWestring(0, 0, 1, 20, 4, items, &selection, 0);
    d.list = static_cast<ListBoxBase*>(d.Element(i));
    Type("doox");
    Key(KEY_HOME);  // any other key ends the search
    Key(KEY_ESC);
    d.Run();
    EXPECT_EQ(d.texts, (std::vector<std::string>{"d", "do", "doo", "doo", "", ""}));
    EXPECT_EQ(d.selections, (std::vector<int>{1, 1, 2, 2, 0, 0}));
    // The search text shows on the bottom frame line, and goes with the search.
    EXPECT_NE(d.frames[1].find(" do "), std::string::npos);
    EXPECT_EQ(d.frames[4].find("d"), std::string::npos);

    d.SetListBoxSearch(i, Westring("DO"));
    EXPECT_EQ(selection, 1);
    EXPECT_TRUE(d.list->SearchText().EqualsExact(Westring("DO")));
}

TEST_F(ListBoxTest, MovingKeys) {
    struct {
        int key;
        int from;
        int expected;
    } cases[] = {
        {KEY_DOWN, 0, 1},   {KEY_DOWN, 19, 19}, {KEY_UP, 0, 0},   {KEY_UP, 7, 6},    {KEY_PGDN, 2, 8},
        {KEY_PGDN, 15, 19}, {KEY_PGUP, 14, 8},  {KEY_PGUP, 3, 0}, {KEY_HOME, 12, 0}, {KEY_END, 3, 19},
    };
    FillNumbers(20);
    for (const auto& c : cases) {
        Dialog d(0, 0, 30, 10, 0x70);
        int32_t selection = c.from;
        d.AddListBoxWestring(0, 0, 1, 20, 6, items, &selection, 0);
        Key(c.key);
        Key(KEY_ESC);
        d.Run();
        EXPECT_EQ(selection, c.expected) << std::hex << c.key << " from " << std::dec << c.from;
    }
}

TEST_F(ListBoxTest, ExitSettingsForKeysAndTheMouse) {
    Fill({"one", "two", "three"});
    struct {
        const char* what;
        int exitSetting;
        std::vector<std::vector<int>> events;
        int expected;
        int selection;
    } cases[] = {
        {"a menu ends on Right with Right", -1, {{0, KEY_RIGHT, 0, 0, 0, 0}}, KEY_RIGHT, 0},
        {"a menu ends on a letter", -1, {{0, 'x', 0, 0, 0, 'x'}}, 'x', 0},
        {"a menu ends on a click on an item", -1, {{1, 1, 0, 1, 2, 0}, {2, 1, 0, 1, 2, 0}}, 13, 1},
        {"Enter gives the exit setting", 77, {{0, 13, 0, 0, 0, 13}}, 77, 0},
        {"Enter without one the default", 0, {{0, 13, 0, 0, 0, 13}}, 13, 0},
        {"a double click chooses", 77, {{4, 1, 0, 1, 3, 0}}, 77, 2},
        {"a press past the last item goes to it", 0, {{1, 1, 0, 1, 5, 0}, {0, 27, 0, 0, 0, 27}}, 27, 2},
        {"holding below the list goes to its last filled row", 0, {{1, 1, 0, 1, 6, 0}}, 0, 2},
    };
    for (const auto& c : cases) {
        Dialog d(0, 0, 30, 8, 0x70);
        int32_t selection = 0;
        d.AddListBoxWestring(0, 0, 1, 20, 5, items, &selection, c.exitSetting);
        for (const auto& e : c.events) {
            Feed(qvtest::Event({e[0], e[1], e[2], e[3], e[4], e[5]}));
        }
        if (c.expected == 0) {
            Key(KEY_ESC);
            d.Run();
        } else {
            EXPECT_EQ(d.Run(), c.expected) << c.what;
        }
        EXPECT_EQ(selection, c.selection) << c.what;
    }
}

TEST_F(ListBoxTest, ColourSelectorStepsTheAttributeInPlace) {
    const char* names[] = {"Panel", "Menu"};
    uint8_t attributes[] = {0x1B, 0xF0};
    Dialog d(0, 0, 30, 8, 0x70);
    int32_t selection = 1;
    d.AddColourSelector(1, 0, 1, 20, 4, names, attributes, 2, &selection, 0);
    EXPECT_EQ(AttrAt(2, 1), 0x1B);
    Type("b");  // background wraps from 15 to 0
    Type("F");  // foreground wraps from 0 to 15
    Type("ff");
    Key(KEY_ESC);
    d.Run();
    EXPECT_EQ(attributes[1], 0x01);
    EXPECT_EQ(attributes[0], 0x1B);
    EXPECT_EQ(AttrAt(2, 2), 0x01);
    EXPECT_EQ(Row(2, 1, 1), ">");
    EXPECT_EQ(Row(2, 22, 1), "<");
    EXPECT_EQ(Row(1, 1, 1), " ");
}

}  // namespace
