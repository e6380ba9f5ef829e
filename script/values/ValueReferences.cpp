#include "script/values/ValueReferences.h"

#include "base/io/StreamWrite.h"

namespace {

void WriteLabel(IStreamWrite& out, int indent, const char* label) {
    Estring line = RepeatChar(' ', 4 * indent) + label + "\n";
    out.Write(line.Data(), uint32_t(line.Length()));
}

}  // namespace

void ResolveValueHandle(ValueHandle& handle) {
    if (!handle)
        return;
    int valueClass = handle->GetValueClass();
    if (valueClass != ValueClassVariable && valueClass != ValueClassReference)
        return;
    if (handle->IsSimpleType()) {
        handle = new CScriptValue(*handle);
        return;
    }
    ValueHandle referenced = handle->GetReferencedValue();
    if (referenced)
        handle = referenced;
}

CScriptValueReference::CScriptValueReference(const ValueHandle& container, ValueHandle* cell, CToken* sourceToken)
    : m_container(container), m_cell(cell), m_sourceToken(sourceToken) {}

IScriptValue& CScriptValueReference::Target() const {
    return **m_cell;
}

void CScriptValueReference::Dump(IStreamWrite& out, int indent) {
    WriteLabel(out, indent, "Reference:");
    Target().Dump(out, indent);
}

bool CScriptValueReference::AssignThrough(const ValueHandle& value) {
    ValueHandle handle(value);
    if (!handle)
        handle = new CScriptValue();
    if (handle->IsSimpleType()) {
        // Every container that shares the element sees the new value.
        Target().Assign(*handle);
        return true;
    }
    ResolveValueHandle(handle);
    *m_cell = handle;
    return true;
}

CScriptValueTempReference::CScriptValueTempReference(const ValueHandle& value, CToken* sourceToken)
    : m_value(value), m_sourceToken(sourceToken) {}

void CScriptValueTempReference::Dump(IStreamWrite& out, int indent) {
    WriteLabel(out, indent, "Temp Reference:");
    m_value->Dump(out, indent);
}

CScriptValueUndefMapItem::CScriptValueUndefMapItem(const ValueHandle& parent, IScriptValue& key)
    : CScriptValueMin("Undefined map item"), m_parent(parent), m_key(key) {
    m_key.MarkEmbedded();
}

ValueHandle CScriptValueUndefMapItem::GetMapItemRef(const ValueHandle& self, const IScriptValue& key, bool) {
    return ValueHandle(new CScriptValueUndefMapItem(self, const_cast<IScriptValue&>(key)));
}

void CScriptValueUndefMapItem::SetMapItem(const IScriptValue& key, const ValueHandle& item) {
    ValueHandle map(CScriptValue::OfType(ScriptMap));
    map->SetMapItem(key, item);
    m_parent->SetMapItem(m_key, map);
}

bool CScriptValueUndefMapItem::AssignThrough(const ValueHandle& value) {
    m_parent->SetMapItem(m_key, value);
    return true;
}
