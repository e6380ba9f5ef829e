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

// Names and values are UTF-8.
class Environment : public TSortedCollection<KeyedValue, KeyedValue> {
public:
    explicit Environment(Environment* parent = nullptr) : parent(parent), block(nullptr) {}
    ~Environment() override;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // Sets a variable of this level (the name takes the letter case given
    // now); a null value removes it.
    void Set(const Estring& name, const char* value);
    void Set(const Estring& name, const Estring& value) { Set(name, value.Data()); }
    // The value of this level, else of the nearest parent that has the name;
    // null when none has it.
    const Estring* Get(const Estring& name);
    // Copies the variables of the root, then of each level down to this one,
    // into `target`: a lower level overrides its parents.
    void MergeInto(Environment& target);
    // The environment block of a child program (UTF-16: NAME=VALUE texts, each
    // ending in a zero, sorted without regard to case, then one more zero) for
    // this level and its parents. PATH gets ";" and `pathAppend` added;
    // variables with an empty value, and names beginning with "=" (the
    // per-drive directories), are left out. Kept until this level changes.
    const WCHAR* BuildBlock(const Estring& pathAppend);
    // Removes every variable of this level.
    void Clear();

    using TSortedCollection<KeyedValue, KeyedValue>::Count;
    using TSortedCollection<KeyedValue, KeyedValue>::At;

protected:
    const KeyedValue* KeyOf(const KeyedValue* item) override { return item; }
    int CompareKeys(const KeyedValue* a, const KeyedValue* b) override;

private:
    void DropBlock();

    Environment* parent;
    WCHAR* block;  // the cached block, or null
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

// Replaces each %NAME% (a name of letters, digits and "_", the closing "%"
// optional) by its value in the top level; a name without a value, or with an
// empty one, stays as written. Inserted values are not expanded again.
void ExpandPercentVariables(Westring& text);
