#include "script/values/ReturnCodeValue.h"

#include "base/os/SystemError.h"
#include "platform/win32.h"

CReturnCodeValue::CReturnCodeValue(int32_t code)
    : CReturnCodeValue(code, code != 0 ? FormatSystemError(DWORD(code)) : Westring()) {}

CReturnCodeValue::CReturnCodeValue(int32_t code, const Westring& message)
    : CScriptValueMin("return code"), m_code(code), m_message(message) {}
