#include "base/os/SystemError.h"

#include "base/strings/Estring.h"

Westring FormatSystemError(DWORD code) {
    // From the system, no inserts, lines broken at 80 columns.
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | 80;
    const DWORD room = 1002;
    WCHAR message[room];
    DWORD n = FormatMessageW(flags, nullptr, code, 0, message, room, nullptr);
    if (n >= room) {
        n = room - 1;
    }
    Westring text;
    for (DWORD i = 0; i < n; i++) {
        WCHAR c = message[i];
        if (c == '\r' || c == '\n') {
            // A break next to a blank goes; any other becomes one.
            bool blankBefore = text.Length() > 0 && text[text.Length() - 1] == ' ';
            bool blankAfter = i + 1 < n && message[i + 1] == ' ';
            if (blankBefore || blankAfter) {
                continue;
            }
            c = ' ';
        }
        text.AppendChar(c);
    }
    // No blank left over from a final line break before the code.
    Estring code8 = " (" + IntToEstring(static_cast<int32_t>(code)) + ")";
    return text.TrimRight() + Westring(code8.Data());
}
