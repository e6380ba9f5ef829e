// CScriptValue: the plain value of the script language. One class carries
// every type code; the code says which payload counts. Setting a payload
// changes the code and that field only. Lists and maps hold their elements
// through shared handles, so one element can sit in several containers.
// Plain values are carved from the run's value pool and recycled.
#pragma once

#include "base/containers/SortedCollection.h"
#include "script/values/AutoObjectStore.h"
#include "script/values/IScriptValue.h"

class CScriptValue;

// The order of map keys: by type code first, then by payload; lists, maps,
// functions and undefined keys of one type are all the same key; a real NaN
// sorts after every other real and equals another NaN.
int CompareScriptKeys(IScriptValue& a, IScriptValue& b);

class CScriptValue : public IScriptValue {
public:
    // One map item: a copy of the key, and the value's handle.
    class CMapItem;
    class CMap;

    CScriptValue();
    explicit CScriptValue(const Westring& text);
    explicit CScriptValue(const TTimestamp& time);
    explicit CScriptValue(bool value);
    explicit CScriptValue(int64_t value);
    // A value of that type: a list or map gets its empty store; other types
    // only the code (set the payload afterwards).
    static CScriptValue* OfType(int type);
    static CScriptValue* Real(double value);
    // A copy of any value (lists deep, maps sharing their item values).
    explicit CScriptValue(IScriptValue& source);
    ~CScriptValue() override;

    static void* operator new(size_t size);
    static void operator delete(void* memory);
    bool HoldsOtherValues() const override { return m_list || m_map || m_function; }

    int GetValueClass() const override { return ValueClassPlain; }
    int GetType() const override { return m_type; }
    const Westring& GetString() override { return m_string; }
    void SetString(const Westring& text) override;
    double GetReal() override { return m_scalar.real; }
    void SetReal(double value) override;
    int64_t GetInt() override { return m_scalar.integer; }
    void SetInt(int64_t value) override;
    const TTimestamp& GetTimestamp() override { return m_timestamp; }
    void SetTimestamp(const TTimestamp& value) override;
    bool GetBool() override { return m_scalar.logical != 0; }
    void SetBool(bool value) override;
    TAutoPtr<TFunctionRef> GetFunction() override { return m_function; }
    void SetFunction(uint32_t tokenIndex, CScriptVariableScope* scope) override;
    ValueHandle GetListItem(int index) override;
    ValueHandle GetListItemRef(const ValueHandle& self, int index, bool writeThrough) override;
    void AppendListItem(const ValueHandle& item) override;
    void InsertListItem(int index, const ValueHandle& item) override;
    ValueHandle* FindMapItem(const IScriptValue& key) override;
    ValueHandle GetMapItemRef(const ValueHandle& self, const IScriptValue& key, bool writeThrough) override;
    const IScriptValue& GetMapItemAt(int index) override;
    void SetMapItem(const IScriptValue& key, const ValueHandle& item) override;
    int GetCount() override;
    void Assign(IScriptValue& source) override;
    void Dump(IStreamWrite& out, int indent) override;
    CToken* GetSourceToken() override { return m_sourceToken; }
    void SetSourceToken(CToken* token) override { m_sourceToken = token; }
    void BeginIteration(int& cursor) override { cursor = -1; }
    ValueHandle IterateNext(int& cursor) override;
    bool AssignThrough(const ValueHandle&) override { return false; }
    bool IsSimpleType() override { return m_type >= ScriptBool && m_type <= ScriptString; }
    void DetachHandles() override;

    CScriptValue& operator=(IScriptValue& source) {
        Assign(source);
        return *this;
    }

private:
    void MakeList();
    void MakeMap();
    void AssignList(IScriptValue& source);
    void AssignMap(IScriptValue& source);

    int32_t m_type = ScriptUndefined;
    Westring m_string;
    TTimestamp m_timestamp;
    union {
        uint8_t logical;
        int64_t integer;
        double real;
    } m_scalar;
    CMap* m_map = nullptr;
    TAutoObjectStore<IScriptValue>* m_list = nullptr;
    TAutoPtr<TFunctionRef> m_function;
    CToken* m_sourceToken = nullptr;
};

class CScriptValue::CMapItem {
public:
    CMapItem(IScriptValue& key, const ValueHandle& value);
    CScriptValue key;
    ValueHandle value;
};

class CScriptValue::CMap : public TSortedCollectionAbstractKey<CMapItem, IScriptValue> {
public:
    using TSortedCollectionAbstractKey::At;
    using TSortedCollectionAbstractKey::Count;
    using TSortedCollectionAbstractKey::FreeAll;
    using TSortedCollectionAbstractKey::Insert;
    using TSortedCollectionAbstractKey::Search;

protected:
    const IScriptValue* KeyOf(const CMapItem* item) override { return &item->key; }
    int CompareKeys(const IScriptValue* a, const IScriptValue* b) override {
        return CompareScriptKeys(const_cast<IScriptValue&>(*a), const_cast<IScriptValue&>(*b));
    }
};
