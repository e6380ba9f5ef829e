#include "base/os/Environment.h"

#include "base/strings/Utf16String.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

#include <string>

namespace {

// Letters, digits and "_", judged by the low byte as the names of the chain
// are 8-bit.
bool IsNameUnit(char32_t c) {
    unsigned char low = static_cast<unsigned char>(c & 0xff);
    return low == '_' || (low >= '0' && low <= '9') || (low >= 'a' && low <= 'z') || (low >= 'A' && low <= 'Z');
}

}  // namespace

int Environment::CompareKeys(const KeyedValue* a, const KeyedValue* b) {
    // Estring compares without regard to case.
    if (a->name < b->name) {
        return -1;
    }
    return a->name > b->name ? 1 : 0;
}

Environment::~Environment() {
    DropBlock();
    FreeAll();
}

void Environment::DropBlock() {
    delete[] block;
    block = nullptr;
}

void Environment::Clear() {
    FreeAll();
    DropBlock();
}

void Environment::Set(const Estring& name, const char* value) {
    DropBlock();
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

void Environment::MergeInto(Environment& target) {
    if (parent != nullptr) {
        parent->MergeInto(target);
    }
    for (int i = 0; i < Count(); i++) {
        target.Set(At(i)->name, At(i)->value);
    }
}

const WCHAR* Environment::BuildBlock(const Estring& pathAppend) {
    if (block != nullptr) {
        return block;
    }
    Environment merged;
    MergeInto(merged);
    // PATH keeps the letter case of the level that set it.
    KeyedValue key;
    key.name = "PATH";
    KeyedValue* path = merged.Find(&key);
    Estring fullPath = (path != nullptr ? path->value : Estring()) + ";" + pathAppend;
    merged.Set(path != nullptr ? path->name : key.name, fullPath);

    Utf16String text;
    std::u16string units;
    for (int i = 0; i < merged.Count(); i++) {
        const KeyedValue* variable = merged.At(i);
        if (variable->value.IsEmpty() || variable->name.IsEmpty() || variable->name[0] == '=') {
            continue;
        }
        Westring line;
        line.AssignUtf8((variable->name + "=" + variable->value).Data());
        Utf16String wide(line);
        units.append(reinterpret_cast<const char16_t*>(wide.Data()), wide.Units());
        units.push_back(0);
    }
    units.push_back(0);
    block = new WCHAR[units.size()];
    for (size_t i = 0; i < units.size(); i++) {
        block[i] = static_cast<WCHAR>(units[i]);
    }
    return block;
}

ProcessEnvironment::ProcessEnvironment() {
    LPWSTR strings = GetEnvironmentStringsW();
    for (const WCHAR* entry = strings; entry != nullptr && *entry != 0;) {
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
    if (strings != nullptr) {
        FreeEnvironmentStringsW(strings);
    }
    // Each fixed drive's current directory, so that a child started later
    // resolves "X:name" as this process would.
    DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; letter++) {
        if ((drives & (1u << letter)) == 0) {
            continue;
        }
        WCHAR root[] = {WCHAR('A' + letter), ':', '\\', 0};
        UINT type = GetDriveTypeW(root);
        if (type == DRIVE_REMOVABLE || type == DRIVE_REMOTE) {
            continue;
        }
        WCHAR relative[] = {WCHAR('A' + letter), ':', '.', 0};
        WCHAR full[300];
        DWORD n = GetFullPathNameW(relative, 300, full, nullptr);
        if (n > 0 && n < 300) {
            char name[] = {'=', char('A' + letter), ':', 0};
            Set(Estring(name), Estring(Westring(full)));
        }
    }
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
        if (text[i] != '%') {
            result.AppendChar(text[i++]);
            continue;
        }
        int end = i + 1;
        while (end < text.Length() && IsNameUnit(text[end])) {
            end++;
        }
        const Estring* value = nullptr;
        if (end > i + 1) {
            value = TopEnvironment().Get(Estring(text.Mid(i + 1, end - i - 1)));
        }
        if (value == nullptr || value->IsEmpty()) {
            result.AppendChar('%');
            i++;
            continue;
        }
        Westring wide;
        wide.AssignUtf8(value->Data());
        result += wide;
        i = end < text.Length() && text[end] == '%' ? end + 1 : end;
    }
    text = result;
}
