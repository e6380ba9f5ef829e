#include "shell/MenuFile.h"

#include <cstdlib>
#include <vector>

#include "base/mask/MaskExpression.h"
#include "base/os/PathNormalizer.h"
#include "console/KeyCodes.h"
#include "ui/MessageBox.h"

MenuEntry::~MenuEntry() {
    delete submenu;
}

namespace {

// The function-key groups of the menu file: the letter before "F", and the
// codes of F1 and F11 of the group (F11 and up do not follow F10).
struct TFunctionKeyGroup {
    char32_t letter;
    int32_t f1;
    int32_t f11;
};
const TFunctionKeyGroup FunctionKeyGroups[] = {
    {'C', KEY_CTRL_F1, KEY_EXTENDED + 0x89},
    {'S', KEY_SHIFT_F1, KEY_SHIFTED + KEY_EXTENDED + 0x87},
    {'A', KEY_ALT_F1, KEY_EXTENDED + 0x8B},
};

// The number after the "F", read as the C library reads it; kept within a
// range where the key codes cannot overflow.
int FunctionNumber(const Westring& key, int start) {
    Estring digits;
    for (int i = start; i < key.Length() && key[i] > 0 && key[i] < 128; i++) {
        digits += static_cast<char>(key[i]);
    }
    long n = std::strtol(digits.Data(), nullptr, 10);
    return static_cast<int>(n < -100000 ? -100000 : (n > 100000 ? 100000 : n));
}

int32_t GroupCode(int32_t f1, int32_t f11, int n) {
    return n <= 10 ? f1 - 1 + n : f11 - 11 + n;
}

bool IsLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void ShowIncludeFailure(const Westring& path) {
    ShowMessageBox(Westring("Unable to open included menu"), path, MessageBoxOk);
}

bool StartsWith(const Westring& line, const char* prefix) {
    int i = 0;
    for (; prefix[i] != 0; i++) {
        if (i >= line.Length() || line[i] != static_cast<char32_t>(prefix[i])) {
            return false;
        }
    }
    return true;
}

// One open submenu while reading: its store, and whether it is kept.
struct TOpenMenu {
    MenuStore* store;
    bool kept;           // it became an entry's submenu; else it is dropped at its "}"
    MenuEntry* current;  // the entry new command lines join
};

void Close(TOpenMenu& menu) {
    if (!menu.kept) {
        delete menu.store;
    }
}

}  // namespace

int32_t MenuHotKey(const Westring& key) {
    int length = key.Length();
    if (length == 1) {
        char32_t c = key[0];
        return static_cast<int32_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    if (key[0] == 'F' && (length == 2 || length == 3)) {
        return GroupCode(KEY_F1, KEY_F11, FunctionNumber(key, 1));
    }
    if ((length == 3 || length == 4) && IsLetter(key[0]) && key[1] == 'F') {
        int n = FunctionNumber(key, 2);
        for (const TFunctionKeyGroup& group : FunctionKeyGroups) {
            if (key[0] == group.letter) {
                return GroupCode(group.f1, group.f11, n);
            }
        }
        return n;
    }
    return 0;
}

namespace {

// A key part that makes no entry.
bool IsKeyAccepted(const Westring& key) {
    int length = key.Length();
    if (length == 1) {
        return true;
    }
    if (length == 0 || length > 4) {
        return false;
    }
    if (key[0] == 'F' && (length == 2 || length == 3)) {
        return true;
    }
    return (length == 3 || length == 4) && IsLetter(key[0]) && key[1] == 'F';
}

}  // namespace

void ReadMenuFile(MenuStore& top, CTextFile& file, const Westring& path, TMenuReadContext& context) {
    // Submenus are kept on a stack of their own rather than the call stack, so
    // that a file of nothing but "{" lines cannot exhaust it.
    std::vector<TOpenMenu> open;
    open.push_back({&top, true, nullptr});
    for (;;) {
        int64_t length = 0;
        const char32_t* text = file.ReadLine(length);
        if (text == nullptr) {
            break;
        }
        Westring line(text);
        Westring trimmed = line.Trim();
        TOpenMenu& menu = open.back();
        if (trimmed.EqualsExact(Westring("{"))) {
            MenuStore* sub = new MenuStore;
            bool kept = menu.current != nullptr && menu.current->commands.Count() == 0;
            if (kept) {
                menu.current->submenu = sub;
            }
            menu.current = nullptr;
            open.push_back({sub, kept, nullptr});
            continue;
        }
        if (trimmed.EqualsExact(Westring("}"))) {
            if (open.size() == 1) {
                break;
            }
            Close(open.back());
            open.pop_back();
            open.back().current = nullptr;
            continue;
        }
        if (StartsWith(line, "!include ")) {
            Westring included = line.Mid(9, line.Length()).Trim();
            Westring directory = ExtractDirectory(path);
            bool sound = !included.IsEmpty() && NormalizePath(included, directory.Data()) == 0;
            bool alreadyReading = false;
            for (int i = 0; sound && i < context.reading.Count(); i++) {
                alreadyReading = alreadyReading || context.reading.At(i)->EqualsNoCase(included);
            }
            if (!sound || alreadyReading || !ReadMenuFileAt(*menu.store, included, context)) {
                (context.reportInclude != nullptr ? context.reportInclude : ShowIncludeFailure)(included);
            }
            open.back().current = nullptr;
            continue;
        }
        if (StartsWith(line, "//")) {
            continue;
        }
        if (line.Length() > 0 && (line[0] == ' ' || line[0] == '\t')) {
            if (menu.current != nullptr && !trimmed.IsEmpty()) {
                menu.current->commands.Add(new Westring(trimmed));
            }
            continue;
        }
        int colon = line.Length() > 1 ? line.Mid(1, line.Length()).Find(':') : -1;
        if (colon < 0) {
            continue;
        }
        colon++;
        Westring keyPart = line.Left(colon);
        Westring title = line.Mid(colon + 1, line.Length()).Trim();
        int at = keyPart.Find('@');
        Westring mask;
        if (at >= 0) {
            mask = keyPart.Mid(at + 1, keyPart.Length()).Trim();
            keyPart = keyPart.Left(at);
        }
        Westring key = keyPart.Trim();
        menu.current = nullptr;
        if (!IsKeyAccepted(key)) {
            continue;
        }
        // An entry for some files only: left out without a matching entry under the cursor.
        if (at >= 0 &&
            (context.cursorEntry == nullptr || MatchMask(mask, context.panelDirectory, context.cursorEntry) != 1)) {
            continue;
        }
        MenuEntry* item = new MenuEntry;
        item->hotKey = MenuHotKey(key);
        item->keyText = key.ToUpper();
        item->title = title;
        menu.store->Add(item);
        if (item->keyText.Length() > menu.store->longestKey) {
            menu.store->longestKey = item->keyText.Length();
        }
        menu.current = item;
    }
    while (open.size() > 1) {
        Close(open.back());
        open.pop_back();
    }
}

bool ReadMenuFileAt(MenuStore& store, const Westring& path, TMenuReadContext& context) {
    CTextFile file;
    if (file.Open(path, CRandomFile::ModeRead) != 0) {
        return false;
    }
    context.reading.Add(new Westring(path));
    ReadMenuFile(store, file, path, context);
    delete context.reading.RemoveAt(context.reading.Count() - 1);
    file.Close();
    return true;
}
