#include "base/os/ShellOpen.h"
#include "base/os/ProcLookup.h"

#include "base/strings/Utf16String.h"

bool ShellOpen(const Westring& path) {
    HINSTANCE result =
        ShellExecuteW(nullptr, W32TEXT("open"), Utf16String(path).Data(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<intptr_t>(result) > 32;
}

namespace {

// The help viewer's entry point, exported by ordinal only.
typedef HWND(WINAPI* THtmlHelpW)(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);
const UINT HelpDisplayContents = 1;
const WORD HtmlHelpOrdinal = 15;

// Loaded on first use and kept for the run; null when the system has none.
THtmlHelpW HtmlHelpEntry() {
    static THtmlHelpW entry = []() -> THtmlHelpW {
        HMODULE library = LoadLibraryA("hhctrl.ocx");
        if (library == nullptr) {
            return nullptr;
        }
        LPCSTR byOrdinal = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(HtmlHelpOrdinal));
        return LookupProc<THtmlHelpW>(library, byOrdinal);
    }();
    return entry;
}

}  // namespace

void ShowHtmlHelp(const Westring& file) {
    THtmlHelpW entry = HtmlHelpEntry();
    if (entry != nullptr) {
        entry(nullptr, Utf16String(file).Data(), HelpDisplayContents, 0);
    }
}
