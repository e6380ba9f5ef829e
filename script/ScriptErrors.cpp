#include "script/ScriptErrors.h"

EScriptError::EScriptError(const CToken* token, const Westring& message) : EError(message) {
    if (token)
        m_token = *token;
}

Westring EScriptError::GetText() const {
    Westring text;
    if (m_token.file)
        text = *m_token.file;
    text += Westring(Estring().Format("(%d): ", m_token.line));
    text += m_message;
    text += Westring(Estring().Format(" at col %d", m_token.column));
    return text;
}
