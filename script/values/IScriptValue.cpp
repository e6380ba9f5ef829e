#include "script/values/IScriptValue.h"

#include "base/io/StreamWrite.h"
#include "script/values/ScriptVariable.h"
#include "script/values/ValueHeap.h"

namespace {

const char* const TypeNames[] = {"undefined", "bool", "int", "timestamp", "real", "string", "func", "list", "map"};
const char* const KindLabels[] = {"Undefined", "Logical",  "Integer", "Timestamp", "Real",
                                  "String",    "Function", "List",    "Map"};

}  // namespace

const char* ScriptTypeName(int type) {
    return type >= 0 && type <= ScriptMap ? TypeNames[type] : "";
}

const char* ScriptKindLabel(int type) {
    return type >= 0 && type <= ScriptMap ? KindLabels[type] : "";
}

TFunctionRef::TFunctionRef(uint32_t tokenIndex, CScriptVariableScope* scope) : tokenIndex(tokenIndex), scope(scope) {
    if (scope)
        scope->AddRef();
}

TFunctionRef::~TFunctionRef() {
    if (scope)
        scope->ReleaseRef();
}

void AutoPtrDispose(TFunctionRef* binding) {
    delete binding;
}

IScriptValue::IScriptValue() {
    CValueHeap& heap = CurrentValueHeap();
    m_heap = &heap;
    m_serial = ++heap.serialCounter;
    heap.tracker.Register(this);
}

IScriptValue::~IScriptValue() {
    if (!m_heap->tracker.Unregister(this) && m_heap->reportStream) {
        Estring text;
        text.Format("Double delete detected for ScriptVariable %u\n", m_serial);
        m_heap->reportStream->Write(text.Data(), uint32_t(text.Length()));
    }
}

CScriptValueMin::CScriptValueMin(const char* label)
    : m_invalid(nullptr, Westring("Invalid operation for ") + Westring(label)) {}

void CScriptValueMin::Invalid() const {
    throw m_invalid;
}

const Westring& CScriptValueMin::GetString() {
    Invalid();
}
void CScriptValueMin::SetString(const Westring&) {
    Invalid();
}
double CScriptValueMin::GetReal() {
    Invalid();
}
void CScriptValueMin::SetReal(double) {
    Invalid();
}
int64_t CScriptValueMin::GetInt() {
    Invalid();
}
void CScriptValueMin::SetInt(int64_t) {
    Invalid();
}
const TTimestamp& CScriptValueMin::GetTimestamp() {
    Invalid();
}
void CScriptValueMin::SetTimestamp(const TTimestamp&) {
    Invalid();
}
bool CScriptValueMin::GetBool() {
    Invalid();
}
void CScriptValueMin::SetBool(bool) {
    Invalid();
}
TAutoPtr<TFunctionRef> CScriptValueMin::GetFunction() {
    Invalid();
}
void CScriptValueMin::SetFunction(uint32_t, CScriptVariableScope*) {
    Invalid();
}
ValueHandle CScriptValueMin::GetListItem(int) {
    Invalid();
}
ValueHandle CScriptValueMin::GetListItemRef(const ValueHandle&, int, bool) {
    Invalid();
}
void CScriptValueMin::AppendListItem(const ValueHandle&) {
    Invalid();
}
void CScriptValueMin::InsertListItem(int, const ValueHandle&) {
    Invalid();
}
ValueHandle* CScriptValueMin::FindMapItem(const IScriptValue&) {
    Invalid();
}
ValueHandle CScriptValueMin::GetMapItemRef(const ValueHandle&, const IScriptValue&, bool) {
    Invalid();
}
const IScriptValue& CScriptValueMin::GetMapItemAt(int) {
    Invalid();
}
void CScriptValueMin::SetMapItem(const IScriptValue&, const ValueHandle&) {
    Invalid();
}
int CScriptValueMin::GetCount() {
    Invalid();
}
void CScriptValueMin::Assign(IScriptValue&) {
    Invalid();
}
void CScriptValueMin::Dump(IStreamWrite&, int) {}
void CScriptValueMin::BeginIteration(int&) {
    Invalid();
}
ValueHandle CScriptValueMin::IterateNext(int&) {
    Invalid();
}
bool CScriptValueMin::AssignThrough(const ValueHandle&) {
    return false;
}
