#include "base/strings/ConsoleCodePage.h"

UINT ConsoleOutputCodePage = CP_UTF8;
int TextCodePageSetting = 0;

Estring ToEstring(const Westring& text) {
    return Estring(text, ConsoleOutputCodePage);
}

Estring ToEstring(const Estring& text) {
    return text;
}

Westring ToWestring(const Estring& text) {
    Westring out;
    out.AssignCodePage(text.Data(), ConsoleOutputCodePage);
    return out;
}

Westring ToWestring(const Westring& text) {
    return text;
}

Westring ToWestring(const char32_t* text) {
    return Westring(text);
}

UINT GetTextCodePage() {
    return TextCodePageSetting != 0 ? (UINT)TextCodePageSetting : GetACP();
}
