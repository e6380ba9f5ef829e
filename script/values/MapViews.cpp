#include "script/values/MapViews.h"

#include "script/values/ScriptValue.h"

CMapKeysValue::CMapKeysValue(const ValueHandle& map) : CScriptValueMin("map keys"), m_map(map) {}

ValueHandle CMapKeysValue::GetListItem(int index) {
    IScriptValue& key = const_cast<IScriptValue&>(m_map->GetMapItemAt(index));
    return ValueHandle(new CScriptValue(key));
}

ValueHandle CMapKeysValue::IterateNext(int& cursor) {
    cursor++;
    if (cursor >= GetCount())
        return ValueHandle();
    return GetListItem(cursor);
}

CMapValuesValue::CMapValuesValue(const ValueHandle& map) : CScriptValueMin("map values"), m_map(map) {}

ValueHandle CMapValuesValue::GetListItem(int index) {
    const IScriptValue& key = m_map->GetMapItemAt(index);
    ValueHandle* item = m_map->FindMapItem(key);
    return item ? *item : ValueHandle(new CScriptValue());
}

ValueHandle CMapValuesValue::GetListItemRef(const ValueHandle&, int index, bool writeThrough) {
    const IScriptValue& key = m_map->GetMapItemAt(index);
    return m_map->GetMapItemRef(m_map, key, writeThrough);
}

ValueHandle CMapValuesValue::IterateNext(int& cursor) {
    cursor++;
    if (cursor >= GetCount())
        return ValueHandle();
    return GetListItemRef(m_map, cursor, false);
}
