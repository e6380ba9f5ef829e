// IScriptValue: the interface of every value a running script touches, and
// CScriptValueMin, the base of the values over other objects, whose default
// for each operation is the error "Invalid operation for <label>".
//
// The interpreter and the builtins never look at a concrete class: they ask
// a value for its type code (what the script sees) and its class code (which
// kind of object holds it), and call the operations below. Values are held
// through TAutoPtr<IScriptValue> handles (ValueHandle).
#pragma once

#include <cstdint>

#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"
#include "script/ScriptErrors.h"
#include "script/values/AutoPtr.h"

class CToken;
class CValueHeap;
class CScriptVariableScope;
class IStreamWrite;
class IScriptValue;

using ValueHandle = TAutoPtr<IScriptValue>;

// Type codes, as typeOf names them.
enum EScriptType {
    ScriptUndefined = 0,
    ScriptBool = 1,
    ScriptInt = 2,
    ScriptTimestamp = 3,
    ScriptReal = 4,
    ScriptString = 5,
    ScriptFunc = 6,
    ScriptList = 7,
    ScriptMap = 8
};

// Class codes: which kind of object holds a value.
enum EValueClass {
    ValueClassPlain = 0,
    ValueClassVariable = 1,
    ValueClassReference = 2,
    ValueClassTempReference = 3,
    ValueClassEntryList = 4,
    ValueClassPanelEntry = 5,
    ValueClassEntryTagged = 6,
    ValueClassTextFile = 7,
    ValueClassMapKeys = 8,
    ValueClassMapValues = 9,
    ValueClassUndefMapItem = 10,
    ValueClassReturnCode = 11
};

// "undefined", "bool", ... by type code; "" outside 0-8.
const char* ScriptTypeName(int type);
// "Undefined", "Logical", "Integer", ... by type code: the word texts use for
// a kind. A function is a "Function".
const char* ScriptKindLabel(int type);

// A function bound to the scope it was made in: the token index of its
// parameter list's "(" and the scope, which the binding keeps alive.
struct TFunctionRef {
    TFunctionRef(uint32_t tokenIndex, CScriptVariableScope* scope);
    ~TFunctionRef();
    TFunctionRef(const TFunctionRef&) = delete;
    TFunctionRef& operator=(const TFunctionRef&) = delete;

    uint32_t tokenIndex;
    CScriptVariableScope* scope;
};
void AutoPtrDispose(TFunctionRef* binding);

class IScriptValue {
public:
    // Numbers the value and enters it in the live-value registry of the
    // current run.
    IScriptValue();
    // Takes the value out of the registry; a value that is not there (freed
    // twice) is reported on the run's output, never thrown.
    virtual ~IScriptValue();
    IScriptValue(const IScriptValue&) = delete;
    IScriptValue& operator=(const IScriptValue&) = delete;

    virtual int GetValueClass() const = 0;
    virtual int GetType() const = 0;
    virtual const Westring& GetString() = 0;
    virtual void SetString(const Westring& text) = 0;
    virtual double GetReal() = 0;
    virtual void SetReal(double value) = 0;
    virtual int64_t GetInt() = 0;
    virtual void SetInt(int64_t value) = 0;
    virtual const TTimestamp& GetTimestamp() = 0;
    virtual void SetTimestamp(const TTimestamp& value) = 0;
    virtual bool GetBool() = 0;
    virtual void SetBool(bool value) = 0;
    virtual TAutoPtr<TFunctionRef> GetFunction() = 0;
    virtual void SetFunction(uint32_t tokenIndex, CScriptVariableScope* scope) = 0;
    virtual ValueHandle GetListItem(int index) = 0;
    // `self` is a handle to this value's container (what a reference into it
    // keeps alive); l-values pass on the handle of what they stand for.
    virtual ValueHandle GetListItemRef(const ValueHandle& self, int index, bool writeThrough) = 0;
    virtual void AppendListItem(const ValueHandle& item) = 0;
    virtual void InsertListItem(int index, const ValueHandle& item) = 0;
    virtual ValueHandle* FindMapItem(const IScriptValue& key) = 0;
    virtual ValueHandle GetMapItemRef(const ValueHandle& self, const IScriptValue& key, bool writeThrough) = 0;
    virtual const IScriptValue& GetMapItemAt(int index) = 0;
    virtual void SetMapItem(const IScriptValue& key, const ValueHandle& item) = 0;
    virtual int GetCount() = 0;
    virtual void Assign(IScriptValue& source) = 0;
    // Diagnostic listing to a stream the caller gives.
    virtual void Dump(IStreamWrite& out, int indent) = 0;
    virtual CToken* GetSourceToken() = 0;
    virtual void SetSourceToken(CToken* token) = 0;
    virtual void BeginIteration(int& cursor) = 0;
    virtual ValueHandle IterateNext(int& cursor) = 0;
    // Stores the value into what this l-value stands for; false when this is
    // no l-value (nothing stored).
    virtual bool AssignThrough(const ValueHandle& value) = 0;
    virtual bool IsSimpleType() {
        int t = GetType();
        return t >= ScriptBool && t <= ScriptString;
    }
    virtual ValueHandle GetReferencedValue() { return ValueHandle(); }
    ValueHandle GetNullHandle() { return ValueHandle(); }
    // End-of-run clean-up of values left alive: lets go of every handle this
    // value holds to other values without freeing them (they are freed one
    // by one afterwards).
    virtual void DetachHandles() {}
    // False when freeing this value frees no other value (a plain number or
    // text): it can go at once, with no nesting to put off.
    virtual bool HoldsOtherValues() const { return true; }

    uint32_t Serial() const { return m_serial; }
    const uint32_t* SerialField() const { return &m_serial; }
    CValueHeap* Heap() const { return m_heap; }
    // Part of another object (a map item's key): freed with its owner only.
    bool IsEmbedded() const { return m_embedded; }
    void MarkEmbedded() { m_embedded = true; }

private:
    friend class CValueTracker;
    uint32_t m_serial;
    bool m_embedded = false;
    bool m_registered = false;
    CValueHeap* m_heap;
    // The neighbours in the registry's list.
    IScriptValue* m_livePrev = nullptr;
    IScriptValue* m_liveNext = nullptr;
};

// Gives the deletion of a value to the value heap (which defers nested
// deletions, so that releasing a deeply nested list does not recurse).
void ReleaseScriptValue(IScriptValue* value);
inline void AutoPtrDispose(IScriptValue* value) {
    ReleaseScriptValue(value);
}

// The base of values over other objects: every operation a class does not
// offer fails with "Invalid operation for " and the class's label.
class CScriptValueMin : public IScriptValue {
public:
    explicit CScriptValueMin(const char* label);

    const Westring& GetString() override;
    void SetString(const Westring& text) override;
    double GetReal() override;
    void SetReal(double value) override;
    int64_t GetInt() override;
    void SetInt(int64_t value) override;
    const TTimestamp& GetTimestamp() override;
    void SetTimestamp(const TTimestamp& value) override;
    bool GetBool() override;
    void SetBool(bool value) override;
    TAutoPtr<TFunctionRef> GetFunction() override;
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
    void BeginIteration(int& cursor) override;
    ValueHandle IterateNext(int& cursor) override;
    bool AssignThrough(const ValueHandle& value) override;

protected:
    [[noreturn]] void Invalid() const;

private:
    ERunError m_invalid;
    CToken* m_sourceToken = nullptr;
};
