#include "base/containers/ObjectList.h"
#include "base/containers/TObjectList.h"

#include <gtest/gtest.h>

namespace {

// A list of n items whose pointers are the addresses of values[0..n-1].
class ObjectListTest : public ::testing::Test {
protected:
    void Fill(int n) {
        for (int i = 0; i < n; i++)
            list.Add(&values[i]);
    }
    int ValueAt(int index) const { return *static_cast<int*>(list.At(index)); }

    int values[40] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                      20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39};
    ObjectList list;
};

TEST_F(ObjectListTest, EmptyListAnswersNull) {
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 10);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.At(0), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.Cursor(), -1);
    EXPECT_EQ(list.Current(), nullptr);
}

TEST_F(ObjectListTest, GrowsByThirteenTenths) {
    // Capacity after each Add: 10 for the first ten, then 13 at the 11th and
    // 16 at the 14th, 20 at the 17th, 26 at the 21st.
    const struct {
        int adds;
        int capacity;
    } cases[] = {{10, 10}, {11, 13}, {13, 13}, {14, 16}, {16, 16}, {17, 20}, {21, 26}, {27, 33}};
    int added = 0;
    for (const auto& c : cases) {
        while (added < c.adds)
            list.Add(&values[added++]);
        EXPECT_EQ(list.Capacity(), c.capacity) << c.adds << " adds";
    }
    for (int i = 0; i < added; i++)
        EXPECT_EQ(ValueAt(i), i);
    EXPECT_EQ(list.Cursor(), added - 1);
}

TEST_F(ObjectListTest, InsertAtCursor) {
    Fill(3);
    list.Seek(0);
    list.Insert(&values[10]);
    EXPECT_EQ(ValueAt(0), 10);
    EXPECT_EQ(ValueAt(1), 0);
    EXPECT_EQ(list.Cursor(), 0);

    // Past the end: appended, cursor on the new last item.
    list.Seek(99);
    list.Insert(&values[11]);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(ValueAt(4), 11);
    EXPECT_EQ(list.Cursor(), 4);

    list.InsertAt(&values[12], 2);
    EXPECT_EQ(list.Cursor(), 2);
    const int expected[] = {10, 0, 12, 1, 2, 11};
    ASSERT_EQ(list.Count(), 6);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(ValueAt(i), expected[i]);
}

TEST_F(ObjectListTest, InsertGrowsAFullList) {
    Fill(10);
    list.Seek(5);
    list.Insert(&values[30]);
    EXPECT_EQ(list.Capacity(), 13);
    EXPECT_EQ(list.Count(), 11);
    EXPECT_EQ(ValueAt(5), 30);
    EXPECT_EQ(ValueAt(6), 5);
    EXPECT_EQ(ValueAt(10), 9);
}

TEST_F(ObjectListTest, CursorMovesOffBothEnds) {
    Fill(3);
    EXPECT_EQ(list.Last(), &values[2]);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Cursor(), 3);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.First(), &values[0]);
    EXPECT_EQ(list.Prev(), nullptr);
    EXPECT_EQ(list.Cursor(), -1);
    EXPECT_EQ(list.Next(), &values[0]);
    EXPECT_EQ(list.Next(), &values[1]);
    EXPECT_EQ(list.Current(), &values[1]);
    // Seek moves the cursor even out of range; At never moves it.
    EXPECT_EQ(list.Seek(7), nullptr);
    EXPECT_EQ(list.Cursor(), 7);
    EXPECT_EQ(list.At(2), &values[2]);
    EXPECT_EQ(list.At(-1), nullptr);
    EXPECT_EQ(list.Cursor(), 7);
}

TEST_F(ObjectListTest, NullItemsAreStored) {
    list.Add(nullptr);
    list.Add(&values[1]);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0), nullptr);
    EXPECT_EQ(list.RemoveAt(0), nullptr);
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(ObjectListTest, RemoveAtKeepsCursorAndOrder) {
    Fill(5);
    list.Seek(1);
    EXPECT_EQ(list.RemoveAt(2), &values[2]);
    EXPECT_EQ(list.Cursor(), 1);
    EXPECT_EQ(list.RemoveAt(3), &values[4]);  // the last one
    EXPECT_EQ(list.RemoveAt(3), nullptr);     // at count: nothing
    EXPECT_EQ(list.RemoveAt(-1), nullptr);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(ValueAt(0), 0);
    EXPECT_EQ(ValueAt(1), 1);
    EXPECT_EQ(ValueAt(2), 3);
    EXPECT_EQ(list.RemoveCurrent(), &values[1]);
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(ObjectListTest, RemoveRange) {
    const struct {
        int index;
        int n;
        int removed;
        int firstLeftBehind;
    } cases[] = {
        {2, 100, 3, -1},  // cut to the end
        {5, 1, 0, -1},    // index at count
        {-1, 2, 0, 0},   {1, 0, 0, 1}, {1, -3, 0, 1}, {1, 2, 2, 3}, {0, 5, 5, -1},
    };
    for (const auto& c : cases) {
        ObjectList l;
        for (int i = 0; i < 5; i++)
            l.Add(&values[i]);
        l.Seek(4);
        EXPECT_EQ(l.RemoveRange(c.index, c.n), c.removed) << c.index << "," << c.n;
        EXPECT_EQ(l.Count(), 5 - c.removed);
        EXPECT_EQ(l.Cursor(), 4);
        if (c.firstLeftBehind >= 0) {
            int at = c.index < 0 ? 0 : c.index;
            EXPECT_EQ(l.At(at), &values[c.firstLeftBehind]) << c.index << "," << c.n;
        }
    }
}

TEST_F(ObjectListTest, RemoveAllKeepsTheArray) {
    Fill(12);
    list.RemoveAll();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 13);
    EXPECT_EQ(list.First(), nullptr);
}

TEST(TObjectListTest, TypedFace) {
    double a = 1.5, b = 2.5;
    TObjectList<double> list;
    list.Add(&a);
    list.Add(&b);
    EXPECT_EQ(*list.First(), 1.5);
    EXPECT_EQ(*list.Next(), 2.5);
    EXPECT_EQ(list.RemoveAt(0), &a);
    EXPECT_EQ(list.Count(), 1);
}

}  // namespace
