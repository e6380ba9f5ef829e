#include "viewedit/FileStatusStore.h"

#include <gtest/gtest.h>

#include "base/strings/LocaleCase.h"

namespace {

UndoItem Item(int n) {
    UndoItem item;
    item.text = Estring("change ") + IntToEstring(n);
    item.positionLine = n;
    item.id = NextUndoItemId();
    return item;
}

TEST(UndoStackTest, KeepsTheNewestThousandRecords) {
    TUndoStack stack;
    for (int i = 0; i < 1005; i++)
        stack.PushLimited(Item(i));
    EXPECT_EQ(stack.Count(), TUndoStack::MaxRecords);
    EXPECT_EQ(stack.At(0)->positionLine, 5);
    UndoItem top;
    EXPECT_EQ(stack.Peek(top), 0u);
    EXPECT_EQ(top.positionLine, 1004);
    EXPECT_EQ(std::string(top.text.Data()), "change 1004");
    EXPECT_EQ(stack.Pop(), 0u);
    EXPECT_EQ(stack.Newest()->positionLine, 1003);
}

TEST(UndoStackTest, EmptyStackAnswersWithAllBitsAndCopiesAreDeep) {
    TUndoStack stack;
    UndoItem item = Item(7);
    EXPECT_EQ(stack.Pop(), ~0u);
    EXPECT_EQ(stack.Peek(item), ~0u);
    EXPECT_EQ(item.positionLine, 7);
    stack.PushLimited(item);
    TUndoStack copy;
    copy = stack;
    stack.Pop();
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.At(0)->id, item.id);
    EXPECT_EQ(std::string(copy.At(0)->text.Data()), "change 7");
}

TEST(FileStatusStoreTest, FindsByNameAndKeepsTwoSpellingsApart) {
    InitCaseTables();
    CFileStatusStore store;
    HISTREC* lower = store.FindOrAdd(Westring("C:\\dir\\file.txt"));
    lower->viewerPosition = 100;
    EXPECT_EQ(lower->encoding, 6);
    EXPECT_EQ(lower->bookmarks[9].index, -1);
    // Another spelling reads the record when it has none of its own ...
    EXPECT_EQ(store.FindRecord(Westring("C:\\DIR\\FILE.TXT")), lower);
    // ... but writing makes its own, and neither overwrites the other.
    HISTREC* upper = store.FindOrAdd(Westring("C:\\DIR\\FILE.TXT"));
    EXPECT_NE(upper, lower);
    upper->viewerPosition = 200;
    EXPECT_EQ(store.FindRecord(Westring("C:\\dir\\file.txt"))->viewerPosition, 100);
    EXPECT_EQ(store.FindRecord(Westring("C:\\DIR\\FILE.TXT"))->viewerPosition, 200);
    EXPECT_EQ(store.FindRecord(Westring("C:\\other.txt")), nullptr);
    EXPECT_EQ(store.FindOrAdd(Westring("C:\\dir\\file.txt")), lower);
    EXPECT_EQ(store.Count(), 2);
}

}  // namespace
