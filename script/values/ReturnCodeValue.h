// CReturnCodeValue: what the file builtins answer: true when the operation
// succeeded, its code as an integer and the system's message as its text.
// It is shared, not copied, when stored, so a script keeps the message.
#pragma once

#include <cstdint>

#include "script/values/IScriptValue.h"

class CReturnCodeValue : public CScriptValueMin {
public:
    // The message is the system's text for the code, "" for 0.
    explicit CReturnCodeValue(int32_t code);
    CReturnCodeValue(int32_t code, const Westring& message);

    int GetValueClass() const override { return ValueClassReturnCode; }
    int GetType() const override { return ScriptBool; }
    bool GetBool() override { return m_code == 0; }
    int64_t GetInt() override { return m_code; }
    const Westring& GetString() override { return m_message; }
    bool IsSimpleType() override { return false; }

private:
    int32_t m_code;
    Westring m_message;
};
