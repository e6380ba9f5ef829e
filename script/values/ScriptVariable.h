// CScriptVariable: a named variable, and CScriptVariableScope, the variables
// of one scope by identifier number.
//
// A variable holds its value through a handle, and a handle to itself (its
// self handle): every handle to the variable the interpreter makes is a copy
// of that one, so that a variable a caller still holds outlives its scope.
// A variable is an l-value: operations on it go to the value it holds.
//
// Scopes are counted: the interpreter's scope stack holds them while they
// are current or below, and every function value bound to one holds it, so
// that a function made inside a call can still run after the call returned.
// The interpreter keeps every scope it made in its registry, and frees them
// all at the end of the run, cycles included.
#pragma once

#include "base/containers/SortedCollection.h"
#include "base/containers/TObjectList.h"
#include "script/values/IScriptValue.h"

class CScriptVariable : public IScriptValue {
public:
    // A variable holding the value handle as given (not copied or resolved).
    CScriptVariable(uint32_t identifier, const ValueHandle& value);
    ~CScriptVariable() override;

    uint32_t Identifier() const { return m_identifier; }
    const uint32_t* IdentifierField() const { return &m_identifier; }
    // The handle whose object is this variable; copies of it keep it alive.
    ValueHandle& Self() { return m_self; }
    const ValueHandle& Value() const { return m_value; }

    int GetValueClass() const override { return ValueClassVariable; }
    int GetType() const override { return m_value->GetType(); }
    const Westring& GetString() override { return m_value->GetString(); }
    void SetString(const Westring& text) override { m_value->SetString(text); }
    double GetReal() override { return m_value->GetReal(); }
    void SetReal(double value) override { m_value->SetReal(value); }
    int64_t GetInt() override { return m_value->GetInt(); }
    void SetInt(int64_t value) override { m_value->SetInt(value); }
    const TTimestamp& GetTimestamp() override { return m_value->GetTimestamp(); }
    void SetTimestamp(const TTimestamp& value) override { m_value->SetTimestamp(value); }
    bool GetBool() override { return m_value->GetBool(); }
    void SetBool(bool value) override { m_value->SetBool(value); }
    TAutoPtr<TFunctionRef> GetFunction() override { return m_value->GetFunction(); }
    void SetFunction(uint32_t tokenIndex, CScriptVariableScope* scope) override {
        m_value->SetFunction(tokenIndex, scope);
    }
    ValueHandle GetListItem(int index) override { return m_value->GetListItem(index); }
    ValueHandle GetListItemRef(const ValueHandle&, int index, bool) override {
        return m_value->GetListItemRef(m_value, index, true);
    }
    void AppendListItem(const ValueHandle& item) override { m_value->AppendListItem(ValueHandle(item)); }
    void InsertListItem(int index, const ValueHandle& item) override {
        m_value->InsertListItem(index, ValueHandle(item));
    }
    ValueHandle* FindMapItem(const IScriptValue& key) override { return m_value->FindMapItem(key); }
    ValueHandle GetMapItemRef(const ValueHandle&, const IScriptValue& key, bool) override {
        return m_value->GetMapItemRef(m_value, key, true);
    }
    const IScriptValue& GetMapItemAt(int index) override { return m_value->GetMapItemAt(index); }
    void SetMapItem(const IScriptValue& key, const ValueHandle& item) override {
        m_value->SetMapItem(key, ValueHandle(item));
    }
    int GetCount() override { return m_value->GetCount(); }
    void Assign(IScriptValue& source) override { m_value->Assign(source); }
    void Dump(IStreamWrite& out, int indent) override;
    CToken* GetSourceToken() override { return m_value->GetSourceToken(); }
    void SetSourceToken(CToken* token) override { m_value->SetSourceToken(token); }
    void BeginIteration(int& cursor) override { m_value->BeginIteration(cursor); }
    ValueHandle IterateNext(int& cursor) override { return m_value->IterateNext(cursor); }
    bool AssignThrough(const ValueHandle& value) override;
    bool IsSimpleType() override { return m_value->IsSimpleType(); }
    ValueHandle GetReferencedValue() override { return m_value; }
    void DetachHandles() override;

private:
    ValueHandle m_value;
    ValueHandle m_self;
    uint32_t m_identifier;
};

class CScriptVariableScope : public TSortedCollection<CScriptVariable, uint32_t> {
public:
    // The scope enters the registry and leaves it when it is deleted.
    explicit CScriptVariableScope(TObjectList<CScriptVariableScope>* registry);
    ~CScriptVariableScope() override;

    // The variable of that identifier, made (holding a new undefined value)
    // when there is none.
    CScriptVariable* GetVariable(uint32_t identifier);
    CScriptVariable* FindVariable(uint32_t identifier);
    // Assigns through the variable when there is one; otherwise a new
    // variable holds the handle's value as given.
    void SetVariable(uint32_t identifier, const ValueHandle& value);
    // Frees every variable (a variable still held by a handle lives on).
    void FreeVariables();
    using TSortedCollection::At;
    using TSortedCollection::Count;

    // Holders: the scope stack and the function values bound to it. The
    // scope is deleted when the last holder lets go.
    void AddRef() { m_holders++; }
    void ReleaseRef();

protected:
    void FreeItem(void* item) override;
    const uint32_t* KeyOf(const CScriptVariable* variable) override { return variable->IdentifierField(); }
    int CompareKeys(const uint32_t* a, const uint32_t* b) override { return *a < *b ? -1 : (*a > *b ? 1 : 0); }

private:
    // The variables found last, by the low bits of their identifier: a loop
    // names the same few variables over and over.
    struct TRecent {
        uint32_t identifier;
        CScriptVariable* variable;
    };
    static const uint32_t RecentSlots = 8;
    CScriptVariable* Lookup(uint32_t identifier);

    TObjectList<CScriptVariableScope>* m_registry;
    int m_holders = 0;
    TRecent m_recent[RecentSlots] = {};
};
