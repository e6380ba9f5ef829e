#include "fileops/MacroChar.h"

#include "app/settings/Config.h"

Westring EscapeMacroChar(const Westring& name) {
    char32_t macro = static_cast<unsigned char>(Config.CmdChar);
    Westring escaped;
    for (int i = 0; i < name.Length(); i++) {
        escaped.AppendChar(name[i]);
        if (macro != 0 && name[i] == macro) {
            escaped.AppendChar(macro);
        }
    }
    return escaped;
}
