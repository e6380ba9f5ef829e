// Tells whether the Windows build of a test runs under wine, for the few
// checks where wine is known to answer differently from Windows.
#pragma once

#include "platform/win32.h"

namespace qvtest {

inline bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace qvtest
