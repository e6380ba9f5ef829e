// CTextFileValue: a text file seen as a list of lines: iterating reads it
// line by line, appending writes a line. Made by openText and createText,
// and for a script's redirected input.
#pragma once

#include "base/io/TextFile.h"
#include "script/values/IScriptValue.h"

class QVScript;

class CTextFileValue : public CScriptValueMin {
public:
    // Opens the file for reading, or for rewriting from its start.
    CTextFileValue(const Westring& path, bool rewrite);
    ~CTextFileValue() override;

    int GetValueClass() const override { return ValueClassTextFile; }
    int GetType() const override { return ScriptList; }
    bool IsOpen() const { return m_open; }
    // The system's error of a failed open, 0 when it opened.
    uint32_t OpenError() const { return m_openError; }
    const Westring& Path() const { return m_path; }
    void BeginIteration(int& cursor) override;
    ValueHandle IterateNext(int& cursor) override;
    // Writes the value's text as one line (a value that is not a string is
    // converted by the interpreter that is running).
    void AppendListItem(const ValueHandle& item) override;

    // The interpreter that converts appended values to text.
    static QVScript* converter;

private:
    Westring m_path;
    CTextFile m_file;
    bool m_rewrite;
    bool m_open = false;
    uint32_t m_openError = 0;
};
