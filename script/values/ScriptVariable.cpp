#include "script/values/ScriptVariable.h"

#include "base/io/StreamWrite.h"
#include "script/values/ScriptValue.h"
#include "script/values/ValueReferences.h"

CScriptVariable::CScriptVariable(uint32_t identifier, const ValueHandle& value)
    : m_value(value), m_identifier(identifier) {
    if (!m_value)
        m_value = new CScriptValue();
    m_self = this;
}

CScriptVariable::~CScriptVariable() {
    // The scope cleared the self handle's object already; leave its ring.
    m_self.Forget();
    m_value.Release();
}

void CScriptVariable::Dump(IStreamWrite& out, int indent) {
    Estring line = RepeatChar(' ', 4 * indent) + "Variable:\n";
    out.Write(line.Data(), uint32_t(line.Length()));
    m_value->Dump(out, indent);
}

bool CScriptVariable::AssignThrough(const ValueHandle& value) {
    if (m_value->AssignThrough(ValueHandle(value)))
        return true;
    ValueHandle handle(value);
    if (!handle)
        handle = new CScriptValue();
    ResolveValueHandle(handle);
    m_value = handle;
    return true;
}

void CScriptVariable::DetachHandles() {
    m_self.Forget();
    m_value.Forget();
}

CScriptVariableScope::CScriptVariableScope(TObjectList<CScriptVariableScope>* registry) : m_registry(registry) {
    if (m_registry)
        m_registry->Add(this);
}

CScriptVariableScope::~CScriptVariableScope() {
    FreeVariables();
    if (m_registry) {
        for (int i = m_registry->Count() - 1; i >= 0; i--) {
            if (m_registry->At(i) == this) {
                m_registry->RemoveAt(i);
                break;
            }
        }
    }
}

void CScriptVariableScope::ReleaseRef() {
    if (--m_holders <= 0)
        delete this;
}

CScriptVariable* CScriptVariableScope::Lookup(uint32_t identifier) {
    TRecent& recent = m_recent[identifier % RecentSlots];
    if (recent.variable && recent.identifier == identifier)
        return recent.variable;
    CScriptVariable* variable = Find(&identifier);
    if (variable)
        recent = TRecent{identifier, variable};
    return variable;
}

void CScriptVariableScope::FreeVariables() {
    for (TRecent& recent : m_recent)
        recent.variable = nullptr;
    FreeAll();
}

CScriptVariable* CScriptVariableScope::FindVariable(uint32_t identifier) {
    return Lookup(identifier);
}

CScriptVariable* CScriptVariableScope::GetVariable(uint32_t identifier) {
    CScriptVariable* variable = Lookup(identifier);
    if (variable)
        return variable;
    variable = new CScriptVariable(identifier, ValueHandle(new CScriptValue()));
    Insert(variable);
    return variable;
}

void CScriptVariableScope::SetVariable(uint32_t identifier, const ValueHandle& value) {
    CScriptVariable* variable = Lookup(identifier);
    if (variable) {
        variable->AssignThrough(value);
        return;
    }
    Insert(new CScriptVariable(identifier, value));
}

void CScriptVariableScope::FreeItem(void* item) {
    CScriptVariable* variable = static_cast<CScriptVariable*>(item);
    ValueHandle& self = variable->Self();
    if (self.IsLastHandle()) {
        self.Forget();
        ReleaseScriptValue(variable);
    } else {
        // Handles the interpreter still holds keep the variable; the last of
        // them frees it.
        self.Forget();
    }
}
