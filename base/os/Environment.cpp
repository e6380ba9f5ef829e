#include "base/os/Environment.h"

#include "base/strings/Westring.h"
#include "platform/win32.h"

int Environment::CompareKeys(const KeyedValue* a, const KeyedValue* b) {
    // Estring compares without regard to case.
    if (a->name < b->name) {
        return -1;
    }
    return a->name > b->name ? 1 : 0;
}

void Environment::Set(const Estring& name, const char* value) {
    KeyedValue key;
    key.name = name;
    KeyedValue* found = Find(&key);
    if (found == nullptr) {
        if (value != nullptr) {
            KeyedValue* item = new KeyedValue;
            item->name = name;
            item->value = value;
            Insert(item);
        }
    } else if (value != nullptr) {
        found->name = name;
        found->value = value;
    } else {
        DeleteCurrent();  // Find left the cursor on it
    }
}

const Estring* Environment::Get(const Estring& name) {
    KeyedValue key;
    key.name = name;
    for (Environment* level = this; level != nullptr; level = level->parent) {
        KeyedValue* found = level->Find(&key);
        if (found != nullptr) {
            return &found->value;
        }
    }
    return nullptr;
}

ProcessEnvironment::ProcessEnvironment() {
    LPWSTR block = GetEnvironmentStringsW();
    if (block == nullptr) {
        return;
    }
    for (const WCHAR* entry = block; *entry != 0;) {
        Estring text = Estring(Westring(entry));
        int length = 0;
        while (entry[length] != 0) {
            length++;
        }
        entry += length + 1;
        // An empty name is one of the system's own per-drive entries.
        int equals = text.Find('=');
        if (equals > 0) {
            Set(text.Left(equals), text.Mid(equals + 1, 0).Data());
        }
    }
    FreeEnvironmentStringsW(block);
}

ProcessEnvironment& ProcessEnvironmentLevel() {
    static ProcessEnvironment* level = new ProcessEnvironment;
    return *level;
}

Environment& IniEnvironment() {
    static Environment* level = new Environment(&ProcessEnvironmentLevel());
    return *level;
}

Environment& TopEnvironment() {
    static Environment* level = new Environment(&IniEnvironment());
    return *level;
}

void ExpandPercentVariables(Westring& text) {
    Westring result;
    int i = 0;
    while (i < text.Length()) {
        int close = text[i] == '%' ? text.FindFrom(Westring("%"), i + 1) : -1;
        if (close > i + 1) {
            Estring name(text.Mid(i + 1, close - i - 1));
            if (const Estring* value = TopEnvironment().Get(name)) {
                Westring wide;
                wide.AssignUtf8(value->Data());
                result += wide;
                i = close + 1;
                continue;
            }
        }
        result.AppendChar(text[i]);
        i++;
    }
    text = result;
}
