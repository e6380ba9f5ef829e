// What the shell folder's unit tests share: wide texts, a PATH of their own
// and a crafted program file.
#pragma once

#include "app/settings/Config.h"
#include "base/os/Environment.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"
#include "tests/support/TempDir.h"

#include <string>

namespace shelltest {

inline Westring Wide(const qvtest::WString& text) {
    std::u16string units(text.begin(), text.end());
    units.push_back(0);
    return Westring(reinterpret_cast<const WCHAR*>(units.data()));
}

inline std::string Narrow(const Westring& text) {
    Estring utf8;
    text.ToUtf8(utf8);
    return utf8.Data();
}

// The bytes of a Windows console program's headers: enough for the kind test.
inline std::string ConsoleProgramBytes() {
    std::string bytes(64 + 264, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[60] = 64;
    bytes[64] = 'P';
    bytes[65] = 'E';
    bytes[64 + 92] = 3;
    return bytes;
}

// PATH of the top level and "PathAppend" set for one test, put back after it.
class CSearchPathScope {
public:
    explicit CSearchPathScope(const Westring& path) {
        const Estring* old = TopEnvironment().Get(Estring("PATH"));
        hadPath = old != nullptr;
        if (hadPath) {
            saved = *old;
        }
        savedAppend = Config.PathAppend;
        Estring utf8;
        path.ToUtf8(utf8);
        TopEnvironment().Set(Estring("PATH"), utf8);
        Config.PathAppend.Clear();
    }
    ~CSearchPathScope() {
        TopEnvironment().Set(Estring("PATH"), hadPath ? saved.Data() : nullptr);
        Config.PathAppend = savedAppend;
    }

private:
    bool hadPath;
    Estring saved;
    Westring savedAppend;
};

}  // namespace shelltest
