// The l-values that reach into lists and maps, the pending map item, and the
// rule that decides on every store whether a value is copied or shared.
//
// CScriptValueReference writes through to a list element or map item: it
// points at the container's handle cell and holds the container, so that the
// cell lives as long as the reference. CScriptValueTempReference is a
// read-only view that keeps an element alive. CScriptValueUndefMapItem stands
// for a map item that does not exist yet; assigning to it creates it.
#pragma once

#include "script/values/IScriptValue.h"
#include "script/values/ScriptValue.h"

// Before a store: a variable or write-through reference becomes a fresh copy
// of its value when that is of a simple type, else the value it stands for
// (shared). Other values are stored as they are.
void ResolveValueHandle(ValueHandle& handle);

class CScriptValueReference : public IScriptValue {
public:
    CScriptValueReference(const ValueHandle& container, ValueHandle* cell, CToken* sourceToken);

    int GetValueClass() const override { return ValueClassReference; }
    int GetType() const override { return Target().GetType(); }
    const Westring& GetString() override { return Target().GetString(); }
    void SetString(const Westring& text) override { Target().SetString(text); }
    double GetReal() override { return Target().GetReal(); }
    void SetReal(double value) override { Target().SetReal(value); }
    int64_t GetInt() override { return Target().GetInt(); }
    void SetInt(int64_t value) override { Target().SetInt(value); }
    const TTimestamp& GetTimestamp() override { return Target().GetTimestamp(); }
    void SetTimestamp(const TTimestamp& value) override { Target().SetTimestamp(value); }
    bool GetBool() override { return Target().GetBool(); }
    void SetBool(bool value) override { Target().SetBool(value); }
    TAutoPtr<TFunctionRef> GetFunction() override { return Target().GetFunction(); }
    void SetFunction(uint32_t tokenIndex, CScriptVariableScope* scope) override {
        Target().SetFunction(tokenIndex, scope);
    }
    ValueHandle GetListItem(int index) override { return Target().GetListItem(index); }
    ValueHandle GetListItemRef(const ValueHandle&, int index, bool) override {
        return Target().GetListItemRef(*m_cell, index, true);
    }
    void AppendListItem(const ValueHandle& item) override { Target().AppendListItem(item); }
    void InsertListItem(int index, const ValueHandle& item) override { Target().InsertListItem(index, item); }
    ValueHandle* FindMapItem(const IScriptValue& key) override { return Target().FindMapItem(key); }
    ValueHandle GetMapItemRef(const ValueHandle&, const IScriptValue& key, bool) override {
        return Target().GetMapItemRef(*m_cell, key, true);
    }
    const IScriptValue& GetMapItemAt(int index) override { return Target().GetMapItemAt(index); }
    void SetMapItem(const IScriptValue& key, const ValueHandle& item) override { Target().SetMapItem(key, item); }
    int GetCount() override { return Target().GetCount(); }
    void Assign(IScriptValue& source) override { Target().Assign(source); }
    void Dump(IStreamWrite& out, int indent) override;
    CToken* GetSourceToken() override { return m_sourceToken; }
    void SetSourceToken(CToken* token) override { m_sourceToken = token; }
    void BeginIteration(int& cursor) override { Target().BeginIteration(cursor); }
    ValueHandle IterateNext(int& cursor) override { return Target().IterateNext(cursor); }
    bool AssignThrough(const ValueHandle& value) override;
    bool IsSimpleType() override { return Target().IsSimpleType(); }
    ValueHandle GetReferencedValue() override { return *m_cell; }
    void DetachHandles() override { m_container.Forget(); }

private:
    IScriptValue& Target() const;

    ValueHandle m_container;
    ValueHandle* m_cell;
    CToken* m_sourceToken;
};

class CScriptValueTempReference : public IScriptValue {
public:
    CScriptValueTempReference(const ValueHandle& value, CToken* sourceToken);

    int GetValueClass() const override { return ValueClassTempReference; }
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
    ValueHandle GetListItemRef(const ValueHandle&, int index, bool writeThrough) override {
        return m_value->GetListItemRef(m_value, index, writeThrough);
    }
    void AppendListItem(const ValueHandle& item) override { m_value->AppendListItem(item); }
    void InsertListItem(int index, const ValueHandle& item) override { m_value->InsertListItem(index, item); }
    ValueHandle* FindMapItem(const IScriptValue& key) override { return m_value->FindMapItem(key); }
    ValueHandle GetMapItemRef(const ValueHandle&, const IScriptValue& key, bool writeThrough) override {
        return m_value->GetMapItemRef(m_value, key, writeThrough);
    }
    const IScriptValue& GetMapItemAt(int index) override { return m_value->GetMapItemAt(index); }
    void SetMapItem(const IScriptValue& key, const ValueHandle& item) override { m_value->SetMapItem(key, item); }
    int GetCount() override { return m_value->GetCount(); }
    void Assign(IScriptValue& source) override { m_value->Assign(source); }
    void Dump(IStreamWrite& out, int indent) override;
    CToken* GetSourceToken() override { return m_sourceToken; }
    void SetSourceToken(CToken* token) override { m_sourceToken = token; }
    void BeginIteration(int& cursor) override { m_value->BeginIteration(cursor); }
    ValueHandle IterateNext(int& cursor) override { return m_value->IterateNext(cursor); }
    bool AssignThrough(const ValueHandle&) override { return false; }
    bool IsSimpleType() override { return m_value->IsSimpleType(); }
    ValueHandle GetReferencedValue() override { return m_value; }
    void DetachHandles() override { m_value.Forget(); }

private:
    ValueHandle m_value;
    CToken* m_sourceToken;
};

class CScriptValueUndefMapItem : public CScriptValueMin {
public:
    // `parent` is the map (or what stands for it) the item belongs in.
    CScriptValueUndefMapItem(const ValueHandle& parent, IScriptValue& key);

    int GetValueClass() const override { return ValueClassUndefMapItem; }
    int GetType() const override { return ScriptUndefined; }
    ValueHandle GetMapItemRef(const ValueHandle& self, const IScriptValue& key, bool writeThrough) override;
    void SetMapItem(const IScriptValue& key, const ValueHandle& item) override;
    bool AssignThrough(const ValueHandle& value) override;
    void DetachHandles() override { m_parent.Forget(); }

private:
    ValueHandle m_parent;
    CScriptValue m_key;
};
