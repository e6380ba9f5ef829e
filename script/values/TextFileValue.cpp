#include "script/values/TextFileValue.h"

#include "script/QVScript.h"
#include "script/values/ScriptValue.h"

QVScript* CTextFileValue::converter = nullptr;

CTextFileValue::CTextFileValue(const Westring& path, bool rewrite)
    : CScriptValueMin("text file"), m_path(path), m_rewrite(rewrite) {
    m_openError = m_file.Open(path, rewrite ? 7 : 1, StdFile::ShareRead);
    if (m_openError != 0)
        return;
    m_open = true;
    if (rewrite)
        m_file.BeginRewrite();
    else
        m_file.DetectEncoding();
}

CTextFileValue::~CTextFileValue() {
    if (m_open && m_rewrite)
        m_file.EndRewrite();
    m_file.Close();
}

void CTextFileValue::BeginIteration(int& cursor) {
    cursor = 0;
    if (m_open)
        m_file.SetCharPosition(m_file.ByteOrderMarkLength());
}

ValueHandle CTextFileValue::IterateNext(int&) {
    // A file that did not open reads as empty.
    if (!m_open || m_rewrite)
        return ValueHandle();
    int64_t length = 0;
    const char32_t* line = m_file.ReadLine(length);
    if (!line)
        return ValueHandle();
    Westring text;
    text.Assign(line, int(length));
    return ValueHandle(new CScriptValue(text));
}

void CTextFileValue::AppendListItem(const ValueHandle& item) {
    if (!m_open || !m_rewrite)
        return;
    ValueHandle text(item);
    if (text->GetType() != ScriptString) {
        if (!converter)
            return;
        text = converter->ConvertValue(*text, ScriptString);
    }
    if (text->GetType() != ScriptString)
        return;
    m_file.WriteLine(text->GetString().Data(), CTextFile::LineEndCrLf);
}
