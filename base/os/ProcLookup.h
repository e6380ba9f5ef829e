// Functions a library may or may not export, looked up at run time.
#pragma once

#include "platform/win32.h"

// The export as a function of type F, or null. The detour through a plain
// function pointer is the one cast between function types that is allowed
// without a warning.
template <class F>
F LookupProc(HMODULE library, LPCSTR name) {
    return library ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(library, name))) : nullptr;
}
