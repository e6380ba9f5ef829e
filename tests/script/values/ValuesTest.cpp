// Value handles, the value heap (serial numbers, recycling, the registry of
// a run), key order and copying, on the value classes directly.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "script/values/ScriptValue.h"
#include "script/values/ScriptVariable.h"
#include "script/values/ValueHeap.h"
#include "script/values/ValueReferences.h"
#include "tests/script/ScriptFixture.h"

namespace qvtest {
namespace {

TEST(ValueHandleTest, TheLastHandleOfARingDeletesTheObject) {
    CValueHeapScope scope;
    CValueTracker& tracker = scope.Heap().tracker;
    ValueHandle first(new CScriptValue(int64_t(1)));
    {
        ValueHandle second(first);
        EXPECT_EQ(1, tracker.Count());
        first.Release();
        EXPECT_EQ(1, tracker.Count());
        EXPECT_EQ(1, second->GetInt());
    }
    EXPECT_EQ(0, tracker.Count());

    // Assigning an object to a handle that was alone deletes the old one;
    // one that shared it leaves it to the others.
    ValueHandle a(new CScriptValue(int64_t(1)));
    a = new CScriptValue(int64_t(2));
    EXPECT_EQ(1, tracker.Count());
    ValueHandle b(a);
    a = new CScriptValue(int64_t(3));
    EXPECT_EQ(2, tracker.Count());
    EXPECT_EQ(2, b->GetInt());
    b = a;
    EXPECT_EQ(1, tracker.Count());
    b = b;
    EXPECT_EQ(3, b->GetInt());
}

TEST(ValueHandleTest, AMovedHandleTakesThePlaceOfTheOneItCameFrom) {
    CValueHeapScope scope;
    CValueTracker& tracker = scope.Heap().tracker;
    ValueHandle a(new CScriptValue(int64_t(1)));
    ValueHandle b(a);
    ValueHandle c(std::move(a));  // in a's place, in a ring of three
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), c.Get());
    b.Release();
    EXPECT_EQ(1, tracker.Count());
    EXPECT_TRUE(c.IsLastHandle());

    // Moved onto a handle of another object: that object goes.
    ValueHandle d(new CScriptValue(int64_t(2)));
    ValueHandle e(d);
    d = std::move(c);
    EXPECT_FALSE(c);
    EXPECT_EQ(1, d->GetInt());
    EXPECT_EQ(2, e->GetInt());
    e.Release();
    EXPECT_EQ(1, tracker.Count());
    // Moved onto a handle of the same ring: the value stays, once.
    ValueHandle f(d);
    f = std::move(d);
    EXPECT_FALSE(d);
    EXPECT_TRUE(f.IsLastHandle());
    EXPECT_EQ(1, f->GetInt());
    f.Release();
    EXPECT_EQ(0, tracker.Count());
}

TEST(ValueHeapTest, SerialNumbersStartAtOneAndMemoryIsReusedLastInFirstOut) {
    CValueHeapScope scope;
    ValueHandle a(new CScriptValue(int64_t(1)));
    ValueHandle b(new CScriptValue(int64_t(2)));
    EXPECT_EQ(1u, a->Serial());
    EXPECT_EQ(2u, b->Serial());
    IScriptValue* first = a.Get();
    IScriptValue* second = b.Get();
    a.Release();
    b.Release();
    ValueHandle c(new CScriptValue(int64_t(3)));
    ValueHandle d(new CScriptValue(int64_t(4)));
    EXPECT_EQ(second, c.Get());
    EXPECT_EQ(first, d.Get());
    EXPECT_EQ(3u, c->Serial());
}

TEST(ValueHeapTest, ANestedHeapKeepsItsOwnRegistry) {
    CValueHeapScope outer;
    ValueHandle kept(new CScriptValue(int64_t(1)));
    {
        CValueHeapScope inner;
        ValueHandle list(CScriptValue::OfType(ScriptList));
        list->AppendListItem(list);  // a cycle the inner heap frees
        EXPECT_EQ(1u, list->Serial());
        list.Release();
        EXPECT_EQ(1, inner.Heap().tracker.Count());
        CMemoryStream report;
        inner.Heap().ListLeakedValues(report);
        EXPECT_EQ("Variable 1\n", report.text_);
    }
    EXPECT_EQ(1, outer.Heap().tracker.Count());
    EXPECT_EQ(1, kept->GetInt());
}

TEST(ValueHeapTest, LeakedValuesThatHoldEachOtherAreFreedOnce) {
    CValueHeapScope scope;
    {
        ValueHandle a(CScriptValue::OfType(ScriptList));
        ValueHandle b(CScriptValue::OfType(ScriptMap));
        a->AppendListItem(b);
        CScriptValue key(Westring("k"));
        b->SetMapItem(key, a);
        a->AppendListItem(a);
    }
    EXPECT_EQ(3, scope.Heap().tracker.Count());  // the list, the map and its key
    scope.Heap().FreeLeakedValues();
    EXPECT_EQ(0, scope.Heap().tracker.Count());
    EXPECT_EQ(0, scope.Heap().liveAllocations);
}

TEST(ValueHeapTest, AValueFreedTwiceIsReportedNotThrown) {
    CValueHeapScope scope;
    CMemoryStream report;
    scope.Heap().reportStream = &report;
    ValueHandle value(new CScriptValue(int64_t(1)));
    // As if it had been freed already: it is no longer registered.
    ASSERT_TRUE(scope.Heap().tracker.Unregister(value.Get()));
    value.Release();
    EXPECT_EQ("Double delete detected for ScriptVariable 1\n", report.text_);
    scope.Heap().reportStream = nullptr;
}

TEST(ValueHeapTest, ADeeplyNestedListIsReleasedWithoutRecursion) {
    CValueHeapScope scope;
    {
        ValueHandle list(CScriptValue::OfType(ScriptList));
        for (int i = 0; i < 100000; i++) {
            ValueHandle outer(CScriptValue::OfType(ScriptList));
            outer->AppendListItem(list);
            list = outer;
        }
    }
    EXPECT_EQ(0, scope.Heap().tracker.Count());
}

TEST(MapKeyOrderTest, TypesThenPayloads) {
    CValueHeapScope scope;
    double nan = std::nan("");
    CScriptValue n1;
    n1.SetReal(nan);
    CScriptValue n2;
    n2.SetReal(nan);
    CScriptValue one;
    one.SetReal(1.0);
    CScriptValue big;
    big.SetReal(1e300);
    EXPECT_EQ(0, CompareScriptKeys(n1, n2));
    EXPECT_GT(CompareScriptKeys(n1, big), 0);
    EXPECT_LT(CompareScriptKeys(one, n1), 0);
    EXPECT_LT(CompareScriptKeys(one, big), 0);

    CScriptValue zero(int64_t(0));
    CScriptValue wide(int64_t(4294967296LL));
    CScriptValue text(Westring("1"));
    EXPECT_LT(CompareScriptKeys(zero, wide), 0);
    EXPECT_LT(CompareScriptKeys(wide, one), 0);  // int before real
    EXPECT_LT(CompareScriptKeys(one, text), 0);  // real before string

    ValueHandle map(CScriptValue::OfType(ScriptMap));
    map->SetMapItem(n1, ValueHandle(new CScriptValue(int64_t(1))));
    map->SetMapItem(one, ValueHandle(new CScriptValue(int64_t(2))));
    map->SetMapItem(n2, ValueHandle(new CScriptValue(int64_t(3))));
    ASSERT_EQ(2, map->GetCount());
    EXPECT_TRUE(std::isnan(const_cast<IScriptValue&>(map->GetMapItemAt(1)).GetReal()));
    EXPECT_EQ(3, (*map->FindMapItem(n1))->GetInt());
}

TEST(CopyTest, ListsAreCopiedDeeplyMapsShareTheirValues) {
    CValueHeapScope scope;
    ValueHandle inner(CScriptValue::OfType(ScriptList));
    inner->AppendListItem(ValueHandle(new CScriptValue(int64_t(1))));
    ValueHandle list(CScriptValue::OfType(ScriptList));
    list->AppendListItem(inner);
    ValueHandle copy(new CScriptValue(*list));
    copy->GetListItem(0)->GetListItem(0)->SetInt(5);
    EXPECT_EQ(1, inner->GetListItem(0)->GetInt());

    ValueHandle map(CScriptValue::OfType(ScriptMap));
    CScriptValue key(Westring("a"));
    map->SetMapItem(key, inner);
    ValueHandle mapCopy(new CScriptValue(*map));
    (*mapCopy->FindMapItem(key))->GetListItem(0)->SetInt(7);
    EXPECT_EQ(7, inner->GetListItem(0)->GetInt());

    // A list that holds itself is copied to an end.
    list->AppendListItem(list);
    ValueHandle cyclic(new CScriptValue(*list));
    EXPECT_EQ(2, cyclic->GetCount());
    list->DetachHandles();
}

TEST(ReferenceTest, WritesThroughAndKeepsItsContainer) {
    CValueHeapScope scope;
    ValueHandle element(new CScriptValue(int64_t(1)));
    ValueHandle a(CScriptValue::OfType(ScriptList));
    ValueHandle b(CScriptValue::OfType(ScriptList));
    a->AppendListItem(element);
    b->AppendListItem(element);
    ValueHandle ref = a->GetListItemRef(a, 0, true);
    a.Release();  // the reference holds the list
    EXPECT_TRUE(ref->AssignThrough(ValueHandle(new CScriptValue(int64_t(9)))));
    EXPECT_EQ(9, b->GetListItem(0)->GetInt());
    ValueHandle temp = b->GetListItemRef(b, 0, false);
    EXPECT_FALSE(temp->AssignThrough(ValueHandle(new CScriptValue(int64_t(3)))));
    EXPECT_EQ(9, b->GetListItem(0)->GetInt());

    // A pending item makes the missing maps on assignment.
    ValueHandle m(CScriptValue::OfType(ScriptMap));
    CScriptValue ka(Westring("a"));
    CScriptValue kb(Westring("b"));
    ValueHandle pendingA = m->GetMapItemRef(m, ka, false);
    ValueHandle pendingB = pendingA->GetMapItemRef(pendingA, kb, false);
    EXPECT_EQ(ScriptUndefined, pendingB->GetType());
    EXPECT_THROW(pendingB->GetString(), ERunError);
    EXPECT_TRUE(pendingB->AssignThrough(ValueHandle(new CScriptValue(int64_t(1)))));
    ASSERT_EQ(1, m->GetCount());
    EXPECT_EQ(1, (*(*m->FindMapItem(ka))->FindMapItem(kb))->GetInt());
}

}  // namespace
}  // namespace qvtest
