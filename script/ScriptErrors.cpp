#include "script/ScriptErrors.h"

EScriptError::EScriptError(const CToken* token, const Westring& message) : EError(message) {
    if (token)
        SetToken(*token);
}

void EScriptError::SetToken(const CToken& token) {
    m_token = token;
    m_fileName = token.file ? *token.file : Westring();
}

Westring EScriptError::GetText() const {
    Westring text(m_fileName);
    text += Westring(Estring().Format("(%d): ", m_token.line));
    text += m_message;
    text += Westring(Estring().Format(" at col %d", m_token.column));
    return text;
}
