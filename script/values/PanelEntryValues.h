// The values over directory entries: a panel's entries (what `files` gives),
// the entries a file find found (what `fileFind` gives), one entry seen as a
// map of "name", "size", "mtime" and "tagged", and that entry's tag seen as a
// bool that can be assigned.
//
// An entry value copies its entry when it is taken. The panel frees its
// records whenever it reads its directory again, so a value checks the
// panel's entry generation before it follows its pointer: after a re-read it
// answers from its copy, and its tag can no longer be changed.
#pragma once

#include <cstdint>

#include "base/io/Entry.h"
#include "script/values/IScriptValue.h"
#include "script/values/ScriptValue.h"

class CPanel;

// The entries of one file find, shared by its list value and every item
// taken from it, so that the last of them frees the results.
class CFoundEntries {
public:
    virtual ~CFoundEntries() = default;
    virtual int Count() = 0;
    virtual entry* At(int index) = 0;
};
inline void AutoPtrDispose(CFoundEntries* found) {
    delete found;
}

// Reads the panel's directory when it was marked for a read, also when the
// panel is not shown (a script run by -s never shows the panels).
void ReadPanelIfMarked(CPanel* panel);

class CPanelEntryListValue : public CScriptValueMin {
public:
    explicit CPanelEntryListValue(CPanel* panel);

    int GetValueClass() const override { return ValueClassEntryList; }
    int GetType() const override { return ScriptList; }
    int GetCount() override;
    ValueHandle GetListItem(int index) override;
    ValueHandle GetListItemRef(const ValueHandle&, int index, bool) override { return GetListItem(index); }
    void BeginIteration(int& cursor) override;
    ValueHandle IterateNext(int& cursor) override;

private:
    CPanel* m_panel;
};

class CFileFindEntryListValue : public CScriptValueMin {
public:
    explicit CFileFindEntryListValue(const TAutoPtr<CFoundEntries>& found);

    int GetValueClass() const override { return ValueClassEntryList; }
    int GetType() const override { return ScriptList; }
    int GetCount() override { return m_found->Count(); }
    ValueHandle GetListItem(int index) override;
    ValueHandle GetListItemRef(const ValueHandle&, int index, bool) override { return GetListItem(index); }
    void BeginIteration(int& cursor) override { cursor = 0; }
    ValueHandle IterateNext(int& cursor) override;

private:
    TAutoPtr<CFoundEntries> m_found;
};

// What an entry value and its tag value share: the copy of the entry and
// where the entry lives. Owned by a handle ring, freed with the last holder.
class CEntrySnapshot {
public:
    CEntrySnapshot(CPanel* panel, entry* item, const TAutoPtr<CFoundEntries>& found);
    ~CEntrySnapshot();
    CEntrySnapshot(const CEntrySnapshot&) = delete;
    CEntrySnapshot& operator=(const CEntrySnapshot&) = delete;

    // The panel's record while the panel still holds it, else null.
    entry* Live() const;
    // The record to read: the live one, else the copy.
    const entry& Current() const;
    CPanel* Panel() const { return m_panel; }

private:
    CPanel* m_panel;
    entry* m_item;
    uint32_t m_generation;
    entry* m_copy;
    TAutoPtr<CFoundEntries> m_found;
};
inline void AutoPtrDispose(CEntrySnapshot* snapshot) {
    delete snapshot;
}

class CPanelEntryValue : public CScriptValueMin {
public:
    // A null panel: a find result, which keeps the results alive.
    CPanelEntryValue(CPanel* panel, entry* item, const TAutoPtr<CFoundEntries>& found = TAutoPtr<CFoundEntries>());

    int GetValueClass() const override { return ValueClassPanelEntry; }
    int GetType() const override { return ScriptMap; }
    int GetCount() override { return 4; }
    const IScriptValue& GetMapItemAt(int index) override;
    ValueHandle* FindMapItem(const IScriptValue& key) override;
    ValueHandle GetMapItemRef(const ValueHandle&, const IScriptValue& key, bool) override;
    void DetachHandles() override;

private:
    TAutoPtr<CEntrySnapshot> m_snapshot;
    ValueHandle m_name;
    ValueHandle m_tagged;
    ValueHandle m_size;
    ValueHandle m_mtime;
    ValueHandle m_undefined;
    CScriptValue m_key;
};

class CEntryTaggedRefValue : public CScriptValueMin {
public:
    explicit CEntryTaggedRefValue(const TAutoPtr<CEntrySnapshot>& snapshot);

    int GetValueClass() const override { return ValueClassEntryTagged; }
    int GetType() const override { return ScriptBool; }
    bool GetBool() override;
    // Tags or untags through the panel, which keeps its counts; nothing for a
    // find result or an entry its panel no longer holds.
    void SetBool(bool value) override;
    bool AssignThrough(const ValueHandle& value) override;

private:
    TAutoPtr<CEntrySnapshot> m_snapshot;
};
