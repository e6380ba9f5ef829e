// The system's own environment variables, kept in a chain of levels.
//
// Each level is a set of name/value pairs (names without regard to case) with
// a parent it falls back to: the process level (what the program was started
// with), the ini level (the "[Environment]" section) and the top level
// (variables set on the command line and the per-drive current directories
// "=X:"). Lookups go from a level up through its parents.
#pragma once

#include "base/containers/SortedCollection.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

// One variable; the name is the key.
struct KeyedValue {
    Estring name;
    Estring value;
};

class Environment : public TSortedCollection<KeyedValue, KeyedValue> {
public:
    explicit Environment(Environment* parent = nullptr) : parent(parent) {}
    ~Environment() override { FreeAll(); }

    // Sets a variable of this level (the name takes the letter case given
    // now); a null value removes it.
    void Set(const Estring& name, const char* value);
    void Set(const Estring& name, const Estring& value) { Set(name, value.Data()); }
    // The value of this level, else of the nearest parent that has the name;
    // null when none has it.
    const Estring* Get(const Estring& name);

    using TSortedCollection<KeyedValue, KeyedValue>::Count;
    using TSortedCollection<KeyedValue, KeyedValue>::At;

protected:
    const KeyedValue* KeyOf(const KeyedValue* item) override { return item; }
    int CompareKeys(const KeyedValue* a, const KeyedValue* b) override;

private:
    Environment* parent;
};

// The level the program was started with: every variable of the process
// environment except the system's own per-drive entries ("=X:").
class ProcessEnvironment : public Environment {
public:
    ProcessEnvironment();
};

// The levels of the chain, made on first use and kept for the whole run.
ProcessEnvironment& ProcessEnvironmentLevel();
Environment& IniEnvironment();
Environment& TopEnvironment();

// Replaces each %NAME% by the value the top level finds; unknown names stay as
// written.
void ExpandPercentVariables(Westring& text);
