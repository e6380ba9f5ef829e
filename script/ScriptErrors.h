// The exceptions that stop a script: EParserError for text that does not fit
// the language, ERunError for a failure while it runs. Both carry a copy of
// the token where they arose; their text is "file(line): message at col n".
// An ERunError made without a token has no position yet: the runner gives it
// the token it was at when it caught it.
#pragma once

#include "base/io/EError.h"
#include "script/Token.h"

class EScriptError : public EError {
public:
    Westring GetText() const override;
    const CToken& Token() const { return m_token; }
    bool HasPosition() const { return m_token.kind != TokenEnd || m_token.file != nullptr; }
    void SetToken(const CToken& token);
    const Westring& Message() const { return m_message; }

protected:
    EScriptError(const CToken* token, const Westring& message);

private:
    CToken m_token;
    // The file's name, kept with the error: the error may outlive the
    // script whose name table the token points into.
    Westring m_fileName;
};

class EParserError : public EScriptError {
public:
    EParserError(const CToken& token, const Westring& message) : EScriptError(&token, message) {}
};

class ERunError : public EScriptError {
public:
    explicit ERunError(const CToken* token, const Westring& message) : EScriptError(token, message) {}
};
