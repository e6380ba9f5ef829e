#include "base/containers/SortedCollection.h"

#include "tests/base/containers/Tracked.h"

#include <gtest/gtest.h>

#include <vector>

using qvtest::TTracked;

namespace {

// Items keyed by their value; every comparison is counted.
class TrackedSet : public TSortedCollection<TTracked, int> {
public:
    int compares = 0;

protected:
    const int* KeyOf(const TTracked* item) override { return &item->value; }
    int CompareKeys(const int* a, const int* b) override {
        compares++;
        return *a < *b ? -1 : *a > *b ? 1 : 0;
    }
};

class SortedCollectionTest : public ::testing::Test {
protected:
    TTracked* Make(int value) { return new TTracked(value, &deleted); }
    void InsertAll(TrackedSet& set, const std::vector<int>& values) {
        for (int v : values)
            ASSERT_EQ(set.Insert(Make(v)), 1) << v;
    }
    static std::vector<int> Values(TrackedSet& set) {
        std::vector<int> out;
        for (int i = 0; i < set.Count(); i++)
            out.push_back(set.At(i)->value);
        return out;
    }
    std::vector<int> deleted;
};

TEST_F(SortedCollectionTest, SearchOnEmptyAndInsertInOrder) {
    TrackedSet set;
    int index = 99;
    int key = 5;
    EXPECT_EQ(set.Search(&key, index), -1);
    EXPECT_EQ(index, 0);
    InsertAll(set, {5, 1, 9, 3, 7, 0, 10});
    EXPECT_EQ(Values(set), (std::vector<int>{0, 1, 3, 5, 7, 9, 10}));
    EXPECT_EQ(set.Current()->value, 10);  // the cursor stays on the new item

    const struct {
        int key;
        int result;
        int index;
    } cases[] = {{0, 0, 0}, {10, 0, 6}, {5, 0, 3}, {-4, -1, 0}, {4, -1, 3}, {11, -1, 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(set.Search(&c.key, index), c.result) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
}

TEST_F(SortedCollectionTest, DuplicatesRefusedUnlessAllowed) {
    TrackedSet set;
    InsertAll(set, {1, 2, 3});
    TTracked* dup = Make(2);
    EXPECT_EQ(set.Insert(dup), 0);
    EXPECT_EQ(set.Count(), 3);
    EXPECT_TRUE(deleted.empty());  // the caller still owns it
    set.allowDuplicates = true;
    set.Seek(0);
    EXPECT_EQ(set.Insert(dup), 1);
    // Placed before the equal item that the search met.
    EXPECT_EQ(set.Cursor(), 1);
    EXPECT_EQ(set.At(1), dup);
    EXPECT_EQ(Values(set), (std::vector<int>{1, 2, 2, 3}));
}

TEST_F(SortedCollectionTest, AppendUnsortedThenSort) {
    TrackedSet set;
    set.appendUnsorted = true;
    const std::vector<int> arrival = {8, 3, 3, 9, 1, 7, 2, 6, 5, 4, 0, 11, 10};
    InsertAll(set, arrival);
    EXPECT_EQ(Values(set), arrival);
    set.appendUnsorted = false;
    set.Sort();
    EXPECT_EQ(Values(set), (std::vector<int>{0, 1, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST_F(SortedCollectionTest, QuickSortOfTwo) {
    const struct {
        int a;
        int b;
        int first;
    } cases[] = {{2, 1, 1}, {1, 2, 1}, {4, 4, 4}};
    for (const auto& c : cases) {
        TrackedSet set;
        set.appendUnsorted = true;
        TTracked* a = Make(c.a);
        set.Insert(a);
        set.Insert(Make(c.b));
        set.compares = 0;
        set.QuickSort(0, 1);
        EXPECT_EQ(set.compares, 1);
        EXPECT_EQ(set.At(0)->value, c.first);
        if (c.a == c.b) {
            EXPECT_EQ(set.At(0), a);  // equal items stay put
        }
    }
}

TEST_F(SortedCollectionTest, SortHandlesAdverseOrders) {
    // Sorted, reversed, all equal, organ pipe and a pseudo-random mix, each
    // large enough that unbounded recursion would show.
    const int n = 6000;
    for (int pattern = 0; pattern < 5; pattern++) {
        TrackedSet set;
        set.appendUnsorted = true;
        unsigned seed = 12345;
        for (int i = 0; i < n; i++) {
            int v = pattern == 0   ? i
                    : pattern == 1 ? n - i
                    : pattern == 2 ? 7
                    : pattern == 3 ? (i < n / 2 ? i : n - i)
                                   : static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) % 1000;
            set.Insert(new TTracked(v, nullptr));
        }
        set.Sort();
        for (int i = 1; i < n; i++)
            ASSERT_LE(set.At(i - 1)->value, set.At(i)->value) << "pattern " << pattern << " at " << i;
    }
}

TEST_F(SortedCollectionTest, FindFamily) {
    TrackedSet set;
    InsertAll(set, {10, 20, 30});
    const struct {
        int key;
        int exact;
        int ge;
        int le;
    } cases[] = {// -1: null expected
                 {20, 20, 20, 20},
                 {25, -1, 30, 20},
                 {5, -1, 10, -1},
                 {35, -1, -1, 30},
                 {10, 10, 10, 10}};
    for (const auto& c : cases) {
        const int expected[] = {c.exact, c.ge, c.le};
        for (int op = 0; op < 3; op++) {
            set.Seek(-5);
            TTracked* found = op == 0   ? set.Find(&c.key)
                              : op == 1 ? set.FindGreaterOrEqual(&c.key)
                                        : set.FindLessOrEqual(&c.key);
            if (expected[op] < 0) {
                EXPECT_EQ(found, nullptr) << c.key << " op " << op;
                EXPECT_EQ(set.Cursor(), -5);
            } else {
                ASSERT_NE(found, nullptr) << c.key << " op " << op;
                EXPECT_EQ(found->value, expected[op]);
                EXPECT_EQ(set.Current(), found);
            }
        }
    }
}

TEST_F(SortedCollectionTest, DeletionAndRemoval) {
    {
        TrackedSet set;
        InsertAll(set, {1, 2, 3, 4});
        set.Seek(4);
        set.DeleteCurrent();  // cursor at count: nothing
        EXPECT_TRUE(deleted.empty());
        set.Seek(1);
        set.DeleteCurrent();
        EXPECT_EQ(deleted, std::vector<int>{2});
        int key = 3;
        ASSERT_NE(set.Find(&key), nullptr);
        TTracked* three = set.RemoveCurrent();
        EXPECT_EQ(Values(set), (std::vector<int>{1, 4}));
        delete three;
        set.FreeAll();
        EXPECT_EQ(deleted, (std::vector<int>{2, 3, 1, 4}));
        EXPECT_EQ(set.Count(), 0);
        InsertAll(set, {8, 9});
    }
    EXPECT_EQ(deleted, (std::vector<int>{2, 3, 1, 4, 8, 9}));
}

// A non-owning sorted list over borrowed keys.
class IntList : public TSortedObjectList<int, int> {
protected:
    const int* KeyOf(const int* item) override { return item; }
    int CompareKeys(const int* a, const int* b) override { return *a - *b; }
};

TEST(TSortedObjectListTest, DoesNotOwn) {
    int values[] = {3, 1, 2};
    IntList list;
    for (int& v : values)
        EXPECT_EQ(list.Insert(&v), 1);
    EXPECT_EQ(list.Insert(&values[0]), 0);
    EXPECT_EQ(*list.First(), 1);
    EXPECT_EQ(*list.Last(), 3);
}

}  // namespace
