// Helpers shared by the tests of files and system wrappers: system paths of a
// temporary folder, and telling whether the tests run under wine.
#pragma once

#include "base/strings/Westring.h"
#include "platform/win32.h"
#include "tests/support/TempDir.h"

namespace qvtest {

inline Westring ToWestring(const WString& text) {
    return Westring(text.c_str());
}

// A file or folder in the temporary folder, as the system's own path type.
inline Westring PathIn(const TempDir& dir, const char* name) {
    return ToWestring(dir.Join(W(name)));
}

// Wine exports its version from its ntdll; Windows and the POSIX layer do not.
inline bool RunsUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace qvtest
