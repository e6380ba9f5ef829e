#include "script/values/ScriptValue.h"

#include <cmath>

#include "base/io/StreamWrite.h"
#include "base/strings/FormatReal.h"
#include "script/values/ScriptVariable.h"
#include "script/values/ValueHeap.h"
#include "script/values/ValueReferences.h"

namespace {

// The lists being copied, outermost first, with their copies: an element
// that is one of them (a list that holds itself) is shared with its copy
// instead of being copied again.
struct TCopyStep {
    IScriptValue* source;
    CScriptValue* copy;
};
TObjectList<TCopyStep>& CopyPath() {
    static TObjectList<TCopyStep> path;
    return path;
}

class CCopyStepScope {
public:
    CCopyStepScope(IScriptValue* source, CScriptValue* copy) : step{source, copy} { CopyPath().Add(&step); }
    ~CCopyStepScope() { CopyPath().RemoveAt(CopyPath().Count() - 1); }

private:
    TCopyStep step;
};

CScriptValue* CopyInProgress(IScriptValue* source) {
    TObjectList<TCopyStep>& path = CopyPath();
    for (int i = 0; i < path.Count(); i++)
        if (path.At(i)->source == source)
            return path.At(i)->copy;
    return nullptr;
}

// The object a value stands for: an l-value's value, else the value itself.
IScriptValue* Identity(IScriptValue& value) {
    ValueHandle referenced = value.GetReferencedValue();
    return referenced ? referenced.Get() : &value;
}

// A handle never holds nothing inside a container: an empty one stores a new
// undefined value.
ValueHandle Storable(const ValueHandle& item) {
    ValueHandle handle(item);
    if (!handle)
        handle = new CScriptValue();
    ResolveValueHandle(handle);
    return handle;
}

void WriteLine(IStreamWrite& out, int indent, const Estring& text) {
    Estring line = RepeatChar(' ', 4 * indent) + text + "\n";
    out.Write(line.Data(), uint32_t(line.Length()));
}

// Dumps deeper than this (or of a list that holds itself) stop with "...".
const int DumpDepthLimit = 64;

}  // namespace

int CompareScriptKeys(IScriptValue& a, IScriptValue& b) {
    int ta = a.GetType();
    int tb = b.GetType();
    if (ta != tb)
        return ta - tb;
    switch (ta) {
    case ScriptBool: return int(a.GetBool()) - int(b.GetBool());
    case ScriptInt: {
        int64_t x = a.GetInt();
        int64_t y = b.GetInt();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case ScriptTimestamp: {
        const TTimestamp& x = a.GetTimestamp();
        const TTimestamp& y = b.GetTimestamp();
        uint64_t kx = (uint64_t(x.seconds) << 32) | x.nanoseconds;
        uint64_t ky = (uint64_t(y.seconds) << 32) | y.nanoseconds;
        return kx < ky ? -1 : (kx > ky ? 1 : 0);
    }
    case ScriptReal: {
        double x = a.GetReal();
        double y = b.GetReal();
        bool nx = std::isnan(x);
        bool ny = std::isnan(y);
        if (nx || ny)
            return int(nx) - int(ny);
        return x > y ? 1 : (y > x ? -1 : 0);
    }
    case ScriptString: return Str32Compare(a.GetString().Data(), b.GetString().Data());
    default: return 0;
    }
}

CScriptValue::CScriptValue() {
    m_scalar.integer = 0;
}

CScriptValue::CScriptValue(const Westring& text) : m_type(ScriptString), m_string(text) {
    m_scalar.integer = 0;
}

CScriptValue::CScriptValue(const TTimestamp& time) : m_type(ScriptTimestamp), m_timestamp(time) {
    m_scalar.integer = 0;
}

CScriptValue::CScriptValue(bool value) : m_type(ScriptBool) {
    m_scalar.integer = 0;
    m_scalar.logical = value ? 1 : 0;
}

CScriptValue::CScriptValue(int64_t value) : m_type(ScriptInt) {
    m_scalar.integer = value;
}

CScriptValue::CScriptValue(IScriptValue& source) {
    m_scalar.integer = 0;
    Assign(source);
}

CScriptValue* CScriptValue::OfType(int type) {
    CScriptValue* value = new CScriptValue();
    value->m_type = type;
    if (type == ScriptList)
        value->MakeList();
    else if (type == ScriptMap)
        value->MakeMap();
    return value;
}

CScriptValue* CScriptValue::Real(double number) {
    CScriptValue* value = new CScriptValue();
    value->SetReal(number);
    return value;
}

CScriptValue::~CScriptValue() {
    m_function.Release();
    delete m_list;
    delete m_map;
}

void* CScriptValue::operator new(size_t size) {
    return CurrentValueHeap().AllocateScriptValue(size);
}

void CScriptValue::operator delete(void* memory) {
    if (!memory)
        return;
    // The heap that gave the memory sits in the piece's header.
    CValueHeap* heap = *(static_cast<CValueHeap**>(memory) - 2);
    heap->RecycleScriptValue(static_cast<char*>(memory) - 2 * sizeof(void*));
}

void CScriptValue::SetString(const Westring& text) {
    m_type = ScriptString;
    m_string = text;
}

void CScriptValue::SetReal(double value) {
    m_type = ScriptReal;
    m_scalar.real = value;
}

void CScriptValue::SetInt(int64_t value) {
    m_type = ScriptInt;
    m_scalar.integer = value;
}

void CScriptValue::SetTimestamp(const TTimestamp& value) {
    m_type = ScriptTimestamp;
    m_timestamp = value;
}

void CScriptValue::SetBool(bool value) {
    m_type = ScriptBool;
    m_scalar.integer = 0;
    m_scalar.logical = value ? 1 : 0;
}

void CScriptValue::SetFunction(uint32_t tokenIndex, CScriptVariableScope* scope) {
    m_function = new TFunctionRef(tokenIndex, scope);
}

void CScriptValue::MakeList() {
    if (!m_list)
        m_list = new TAutoObjectStore<IScriptValue>();
}

void CScriptValue::MakeMap() {
    if (!m_map)
        m_map = new CMap();
}

ValueHandle CScriptValue::GetListItem(int index) {
    if (m_type != ScriptList || !m_list || index < 0 || index >= m_list->Count())
        throw ERunError(nullptr, Westring("List index out of range"));
    return *m_list->CellAt(index);
}

ValueHandle CScriptValue::GetListItemRef(const ValueHandle& self, int index, bool writeThrough) {
    if (m_type != ScriptList || !m_list || index < 0 || index >= m_list->Count())
        throw ERunError(nullptr, Westring("List index out of range"));
    ValueHandle* cell = m_list->CellAt(index);
    CToken* token = (*cell)->GetSourceToken();
    if (writeThrough)
        return ValueHandle(new CScriptValueReference(self, cell, token));
    return ValueHandle(new CScriptValueTempReference(*cell, token));
}

void CScriptValue::AppendListItem(const ValueHandle& item) {
    m_type = ScriptList;
    ValueHandle handle = Storable(item);
    MakeList();
    m_list->Add(handle);
}

void CScriptValue::InsertListItem(int index, const ValueHandle& item) {
    m_type = ScriptList;
    ValueHandle handle = Storable(item);
    MakeList();
    // A negative index inserts at the front.
    m_list->InsertAt(index < 0 ? 0 : index, handle);
}

ValueHandle* CScriptValue::FindMapItem(const IScriptValue& key) {
    m_type = ScriptMap;
    MakeMap();
    int index;
    if (m_map->Search(&key, index) != 0)
        return nullptr;
    return &m_map->At(index)->value;
}

ValueHandle CScriptValue::GetMapItemRef(const ValueHandle& self, const IScriptValue& key, bool writeThrough) {
    ValueHandle* cell = FindMapItem(key);
    if (!cell)
        return ValueHandle(new CScriptValueUndefMapItem(self, const_cast<IScriptValue&>(key)));
    if (writeThrough)
        return ValueHandle(new CScriptValueReference(self, cell, m_sourceToken));
    return ValueHandle(new CScriptValueTempReference(*cell, m_sourceToken));
}

const IScriptValue& CScriptValue::GetMapItemAt(int index) {
    if (m_type != ScriptMap || !m_map || index < 0 || index >= m_map->Count())
        throw ERunError(nullptr, Westring("Map key index out of range"));
    return m_map->At(index)->key;
}

void CScriptValue::SetMapItem(const IScriptValue& key, const ValueHandle& item) {
    m_type = ScriptMap;
    MakeMap();
    int index;
    bool found = m_map->Search(&key, index) == 0;
    ValueHandle handle = Storable(item);
    if (found) {
        m_map->At(index)->value = handle;
        return;
    }
    m_map->Insert(new CMapItem(const_cast<IScriptValue&>(key), handle));
}

int CScriptValue::GetCount() {
    if (m_type == ScriptMap)
        return m_map ? m_map->Count() : 0;
    if (m_type == ScriptList)
        return m_list ? m_list->Count() : 0;
    return 0;
}

void CScriptValue::Assign(IScriptValue& source) {
    int type = source.GetType();
    switch (type) {
    case ScriptBool: SetBool(source.GetBool()); break;
    case ScriptInt: SetInt(source.GetInt()); break;
    case ScriptTimestamp: SetTimestamp(source.GetTimestamp()); break;
    case ScriptReal: SetReal(source.GetReal()); break;
    case ScriptString: SetString(source.GetString()); break;
    case ScriptFunc:
        m_type = ScriptFunc;
        m_function = source.GetFunction();
        break;
    case ScriptList: AssignList(source); break;
    case ScriptMap: AssignMap(source); break;
    default: m_type = type; break;
    }
}

void CScriptValue::AssignList(IScriptValue& source) {
    CheckScriptNesting();
    IScriptValue* identity = Identity(source);
    if (identity == this)
        return;
    // Elements are read before this list is emptied: the source may share
    // them with it.
    int count = source.GetCount();
    TAutoObjectStore<IScriptValue> copies;
    {
        CCopyStepScope step(identity, this);
        for (int i = 0; i < count; i++) {
            ValueHandle element = source.GetListItem(i);
            CScriptValue* inProgress = CopyInProgress(Identity(*element));
            if (inProgress) {
                // Shared with the copy being made: needs a handle to it,
                // which only the copy's holder has; an undefined value
                // stands in and is replaced below.
                copies.Add(ValueHandle());
                continue;
            }
            copies.Add(ValueHandle(new CScriptValue(*element)));
        }
    }
    m_type = ScriptList;
    MakeList();
    m_list->ReleaseAll();
    for (int i = 0; i < copies.Count(); i++) {
        ValueHandle* cell = copies.CellAt(i);
        if (*cell)
            m_list->Add(*cell);
        else
            m_list->Add(ValueHandle(OfType(ScriptList)));
    }
}

void CScriptValue::AssignMap(IScriptValue& source) {
    IScriptValue* identity = Identity(source);
    if (identity == this)
        return;
    CMap* items = new CMap();
    try {
        int count = source.GetCount();
        for (int i = 0; i < count; i++) {
            IScriptValue& key = const_cast<IScriptValue&>(source.GetMapItemAt(i));
            ValueHandle* value = source.FindMapItem(key);
            items->Insert(new CMapItem(key, value ? *value : ValueHandle(new CScriptValue())));
        }
    } catch (...) {
        delete items;
        throw;
    }
    m_type = ScriptMap;
    delete m_map;
    m_map = items;
}

void CScriptValue::Dump(IStreamWrite& out, int indent) {
    Estring header = Estring(ScriptKindLabel(m_type)) + " = ";
    if (indent > DumpDepthLimit) {
        WriteLine(out, indent, "...");
        return;
    }
    switch (m_type) {
    case ScriptBool: WriteLine(out, indent, header + (GetBool() ? "true" : "false")); break;
    case ScriptInt: WriteLine(out, indent, header + Int64ToEstring(m_scalar.integer)); break;
    case ScriptReal: WriteLine(out, indent, header + FormatReal(m_scalar.real, 20, -1, false)); break;
    case ScriptString: {
        Estring text;
        m_string.ToUtf8(text);
        WriteLine(out, indent, header + "\"" + text + "\"");
        break;
    }
    case ScriptList:
        WriteLine(out, 0, header);
        for (int i = 0; i < GetCount(); i++)
            (*m_list->CellAt(i))->Dump(out, indent + 1);
        break;
    case ScriptMap:
        WriteLine(out, 0, header);
        for (int i = 0; i < GetCount(); i++) {
            m_map->At(i)->key.Dump(out, indent + 1);
            m_map->At(i)->value->Dump(out, indent + 1);
        }
        break;
    default: WriteLine(out, indent, header); break;
    }
}

ValueHandle CScriptValue::IterateNext(int& cursor) {
    cursor++;
    if (m_type == ScriptMap && m_map && cursor < m_map->Count()) {
        CMapItem* item = m_map->At(cursor);
        ValueHandle pair(OfType(ScriptList));
        pair->AppendListItem(ValueHandle(new CScriptValue(static_cast<IScriptValue&>(item->key))));
        pair->AppendListItem(item->value);
        return pair;
    }
    if (m_type == ScriptList && m_list && cursor < m_list->Count())
        return *m_list->CellAt(cursor);
    return ValueHandle();
}

void CScriptValue::DetachHandles() {
    if (m_list)
        m_list->ForgetAll();
    if (m_map) {
        for (int i = 0; i < m_map->Count(); i++)
            m_map->At(i)->value.Forget();
    }
}

CScriptValue::CMapItem::CMapItem(IScriptValue& key, const ValueHandle& value) : key(key), value(value) {
    this->key.MarkEmbedded();
}
