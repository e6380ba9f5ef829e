// CMapKeysValue and CMapValuesValue: a map's keys, and its values, seen as
// lists (what the builtins keys and values give). Both hold the map.
#pragma once

#include "script/values/IScriptValue.h"

class CMapKeysValue : public CScriptValueMin {
public:
    explicit CMapKeysValue(const ValueHandle& map);

    int GetValueClass() const override { return ValueClassMapKeys; }
    int GetType() const override { return ScriptList; }
    int GetCount() override { return m_map->GetCount(); }
    // A copy of the key at the index.
    ValueHandle GetListItem(int index) override;
    ValueHandle GetListItemRef(const ValueHandle&, int index, bool) override { return GetListItem(index); }
    void BeginIteration(int& cursor) override { cursor = -1; }
    ValueHandle IterateNext(int& cursor) override;
    void DetachHandles() override { m_map.Forget(); }

private:
    ValueHandle m_map;
};

class CMapValuesValue : public CScriptValueMin {
public:
    explicit CMapValuesValue(const ValueHandle& map);

    int GetValueClass() const override { return ValueClassMapValues; }
    int GetType() const override { return ScriptList; }
    int GetCount() override { return m_map->GetCount(); }
    // The value stored under the key at the index, shared.
    ValueHandle GetListItem(int index) override;
    // The map's reference to that item (write-through when asked).
    ValueHandle GetListItemRef(const ValueHandle& self, int index, bool writeThrough) override;
    void BeginIteration(int& cursor) override { cursor = -1; }
    ValueHandle IterateNext(int& cursor) override;
    void DetachHandles() override { m_map.Forget(); }

private:
    ValueHandle m_map;
};
