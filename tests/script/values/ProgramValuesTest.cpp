// The values over program objects on the classes directly: type and class
// codes, the invalid-operation error of each with its label, find results
// kept alive by their items, and return codes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "app/panels/Panel.h"
#include "base/strings/Str32.h"
#include "script/values/PanelEntryValues.h"
#include "script/values/ReturnCodeValue.h"
#include "script/values/ScriptValue.h"
#include "script/values/ValueHeap.h"

namespace qvtest {
namespace {

entry* NewEntry(const char32_t* name, uint64_t size) {
    int length = Str32Length(name);
    entry* item = entry::Allocate(length);
    memcpy(item->name, name, sizeof(char32_t) * (length + 1));
    item->size = size;
    item->matchOffset = -1;
    item->sortClass = SORTCLASS_FILE;
    return item;
}

// Found entries that count how many result sets are alive.
class CCountedFound : public CFoundEntries {
public:
    explicit CCountedFound(int& alive) : m_alive(alive) {
        m_alive++;
        m_items.Add(NewEntry(U"C:\\x\\one.dat", 3));
        m_items.Add(NewEntry(U"C:\\y\\two.dat", 4));
    }
    ~CCountedFound() override { m_alive--; }
    int Count() override { return m_items.Count(); }
    entry* At(int index) override { return m_items.At(index); }

private:
    int& m_alive;
    TObjectStore<entry> m_items;
};

std::string ErrorOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const ERunError& error) {
        Estring utf8;
        error.Message().ToUtf8(utf8);
        return utf8.Data();
    }
    return "(no error)";
}

class ProgramValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppendEntry(&panel, NewEntry(U"a.txt", 7));
        AppendEntry(&panel, NewEntry(U"b.dat", 5));
    }
    CPanel panel;
    CValueHeapScope heap;
};

TEST_F(ProgramValuesTest, CodesAndLabelsOfEachKind) {
    int alive = 0;
    TAutoPtr<CFoundEntries> found(new CCountedFound(alive));
    ValueHandle entries(new CPanelEntryListValue(&panel));
    ValueHandle results(new CFileFindEntryListValue(found));
    ValueHandle item = entries->GetListItem(0);
    ValueHandle tagged = *item->FindMapItem(CScriptValue(Westring("tagged")));
    ValueHandle code(new CReturnCodeValue(0));
    struct {
        IScriptValue* value;
        int type;
        int valueClass;
        const char* error;
    } const rows[] = {
        {entries.Get(), ScriptList, ValueClassEntryList, "Invalid operation for panel entry list"},
        {results.Get(), ScriptList, ValueClassEntryList, "Invalid operation for file find entry list"},
        {item.Get(), ScriptMap, ValueClassPanelEntry, "Invalid operation for panel entry"},
        {tagged.Get(), ScriptBool, ValueClassEntryTagged, "Invalid operation for File Tagged Flag"},
        {code.Get(), ScriptBool, ValueClassReturnCode, "Invalid operation for return code"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        EXPECT_EQ(row.type, row.value->GetType());
        EXPECT_EQ(row.valueClass, row.value->GetValueClass());
        EXPECT_EQ(row.error, ErrorOf([&] { row.value->AppendListItem(ValueHandle(new CScriptValue())); }));
        EXPECT_EQ(row.error, ErrorOf([&] { row.value->SetReal(1.0); }));
    }
    EXPECT_EQ("Invalid operation for panel entry",
              ErrorOf([&] { item->SetMapItem(CScriptValue(Westring("name")), code); }));
    EXPECT_EQ("Invalid operation for panel entry list", ErrorOf([&] { entries->GetString(); }));
}

TEST_F(ProgramValuesTest, EntryMembersAreCachedAndKeyedExactly) {
    ValueHandle list(new CPanelEntryListValue(&panel));
    ValueHandle item = list->GetListItem(1);
    EXPECT_EQ(4, item->GetCount());
    const char* keys[] = {"name", "size", "mtime", "tagged"};
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(const_cast<IScriptValue&>(item->GetMapItemAt(i)).GetString().EqualsExact(Westring(keys[i])));
    ValueHandle* size = item->FindMapItem(CScriptValue(Westring("size")));
    EXPECT_EQ(5, (*size)->GetInt());
    EXPECT_EQ(size->Get(), item->FindMapItem(CScriptValue(Westring("size")))->Get());
    EXPECT_EQ(ScriptUndefined, (*item->FindMapItem(CScriptValue(Westring("Size"))))->GetType());
    EXPECT_EQ(ScriptUndefined, (*item->FindMapItem(CScriptValue(int64_t(0))))->GetType());
    // Each call makes a new entry value.
    EXPECT_NE(item.Get(), list->GetListItem(1).Get());
    EXPECT_EQ("List index out of range", ErrorOf([&] { list->GetListItem(2); }));
}

TEST_F(ProgramValuesTest, TaggedWritesThroughThePanelWhileItHoldsTheEntry) {
    ValueHandle item = ValueHandle(new CPanelEntryListValue(&panel))->GetListItem(1);
    ValueHandle tagged = *item->FindMapItem(CScriptValue(Westring("tagged")));
    EXPECT_FALSE(tagged->AssignThrough(ValueHandle(new CScriptValue(int64_t(1)))));
    EXPECT_EQ(0, panel.taggedCount);
    EXPECT_TRUE(tagged->AssignThrough(ValueHandle(new CScriptValue(true))));
    EXPECT_TRUE(tagged->GetBool());
    EXPECT_EQ(1, panel.taggedCount);
    EXPECT_EQ(5, panel.taggedBytes);
    // Setting it again changes no count.
    tagged->SetBool(true);
    EXPECT_EQ(1, panel.taggedCount);

    // The panel frees its records: the value answers from its copy (taken
    // untagged) and tags nothing any more.
    panel.FreeEntries();
    AppendEntry(&panel, NewEntry(U"c.bin", 9));
    EXPECT_FALSE(tagged->GetBool());
    EXPECT_EQ(5, (*item->FindMapItem(CScriptValue(Westring("size"))))->GetInt());
    EXPECT_TRUE((*item->FindMapItem(CScriptValue(Westring("name"))))->GetString().EqualsExact(Westring("b.dat")));
    tagged->SetBool(true);
    EXPECT_EQ(0, panel.taggedCount);
    EXPECT_EQ(0, panel.entries[0]->tagged);
}

TEST_F(ProgramValuesTest, AFindItemKeepsTheResultsAlive) {
    int alive = 0;
    ValueHandle item;
    {
        TAutoPtr<CFoundEntries> found(new CCountedFound(alive));
        ValueHandle list(new CFileFindEntryListValue(found));
        found.Release();
        EXPECT_EQ(2, list->GetCount());
        int cursor = 0;
        list->BeginIteration(cursor);
        ValueHandle first = list->IterateNext(cursor);
        item = list->IterateNext(cursor);
        EXPECT_TRUE(list->IterateNext(cursor).IsEmpty());
        EXPECT_EQ("List index out of range", ErrorOf([&] { list->GetListItem(-1); }));
    }
    EXPECT_EQ(1, alive);
    EXPECT_TRUE(
        (*item->FindMapItem(CScriptValue(Westring("name"))))->GetString().EqualsExact(Westring("C:\\y\\two.dat")));
    // A find result belongs to no panel: its tag does not change.
    ValueHandle tagged = *item->FindMapItem(CScriptValue(Westring("tagged")));
    EXPECT_TRUE(tagged->AssignThrough(ValueHandle(new CScriptValue(true))));
    EXPECT_FALSE(tagged->GetBool());
    item.Release();
    tagged.Release();
    EXPECT_EQ(0, alive);
}

TEST_F(ProgramValuesTest, ReturnCodes) {
    ValueHandle ok(new CReturnCodeValue(0));
    EXPECT_TRUE(ok->GetBool());
    EXPECT_EQ(0, ok->GetInt());
    EXPECT_TRUE(ok->GetString().IsEmpty());
    EXPECT_FALSE(ok->IsSimpleType());
    ValueHandle missing(new CReturnCodeValue(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(missing->GetBool());
    EXPECT_EQ(2, missing->GetInt());
    EXPECT_FALSE(missing->GetString().IsEmpty());
    // The code is signed.
    EXPECT_EQ(-1, ValueHandle(new CReturnCodeValue(-1, Westring("x")))->GetInt());
}

}  // namespace
}  // namespace qvtest
