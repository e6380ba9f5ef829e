#include "base/containers/ObjectStore.h"

#include "tests/base/containers/Tracked.h"

#include <gtest/gtest.h>

#include <vector>

using qvtest::TTracked;

namespace {

typedef TObjectStore<TTracked> TrackedStore;

// A store that keeps a store's shape without owning its items: its deletion is
// empty, and it empties itself before the owning base destructor runs.
class BorrowingStore : public TObjectStore<TTracked> {
public:
    ~BorrowingStore() override { FreeAll(); }

protected:
    void DeleteItem(TTracked*) override {}
};

class ObjectStoreTest : public ::testing::Test {
protected:
    void Fill(TrackedStore& store, int n) {
        for (int i = 0; i < n; i++)
            store.Add(new TTracked(i, &deleted));
    }
    std::vector<int> deleted;
};

TEST_F(ObjectStoreTest, DestructorDeletesEveryItem) {
    {
        TrackedStore store;
        Fill(store, 12);
        store.Add(nullptr);
    }
    EXPECT_EQ(deleted.size(), 12u);
}

TEST_F(ObjectStoreTest, NonOwningOverrideDeletesNothing) {
    TTracked a(1, &deleted), b(2, &deleted);
    {
        BorrowingStore store;
        store.Add(&a);
        store.Add(&b);
        store.FreeAll();
        EXPECT_EQ(store.Count(), 0);
        store.Add(&a);
    }
    EXPECT_TRUE(deleted.empty());
}

TEST_F(ObjectStoreTest, RemovalHandsItemsBack) {
    TrackedStore store;
    Fill(store, 5);
    store.Seek(1);
    TTracked* one = store.RemoveCurrent();
    TTracked* four = store.RemoveAt(3);
    TTracked* rest[] = {store.At(0), store.At(1), store.At(2)};
    EXPECT_EQ(store.RemoveRange(0, 100), 3);
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(deleted.empty());
    EXPECT_EQ(one->value, 1);
    EXPECT_EQ(four->value, 4);
    delete one;
    delete four;
    for (TTracked* item : rest)
        delete item;
    EXPECT_EQ(deleted, (std::vector<int>{1, 4, 0, 2, 3}));
}

TEST_F(ObjectStoreTest, FreeAllDeletesInOrderAndLeavesCursorAtOldCount) {
    TrackedStore store;
    store.FreeAll();
    EXPECT_EQ(store.Cursor(), 0);
    Fill(store, 4);
    store.FreeAll();
    EXPECT_EQ(deleted, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.Cursor(), 4);
    EXPECT_EQ(store.Capacity(), 10);
}

TEST_F(ObjectStoreTest, DeleteCurrent) {
    TrackedStore store;
    Fill(store, 3);
    store.Seek(1);
    store.DeleteCurrent();
    EXPECT_EQ(deleted, std::vector<int>{1});
    EXPECT_EQ(store.Current()->value, 2);  // the one that followed
    store.Seek(2);                         // at count: nothing
    store.DeleteCurrent();
    store.Seek(-1);
    store.DeleteCurrent();
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(deleted.size(), 1u);
}

TEST_F(ObjectStoreTest, CopyAssignmentReplacesItems) {
    TrackedStore source, target;
    Fill(source, 11);
    source.Add(nullptr);
    target.Add(new TTracked(100, &deleted));
    target.Add(new TTracked(101, &deleted));

    target = source;
    EXPECT_EQ(deleted, (std::vector<int>{100, 101}));
    ASSERT_EQ(target.Count(), 12);
    EXPECT_EQ(target.Capacity(), source.Capacity());
    for (int i = 0; i < 11; i++) {
        EXPECT_NE(target.At(i), source.At(i));
        EXPECT_EQ(target.At(i)->value, i);
    }
    EXPECT_EQ(target.At(11), nullptr);

    deleted.clear();
    TrackedStore& alias = target;
    target = alias;
    EXPECT_TRUE(deleted.empty());
    EXPECT_EQ(target.At(3)->value, 3);

    TrackedStore copy(source);
    EXPECT_EQ(copy.Count(), 12);
    EXPECT_NE(copy.At(0), source.At(0));
}

}  // namespace
