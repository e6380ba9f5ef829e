// CScriptTokenizer: reads a script's source files (and the files they
// include) into one list of tokens before anything runs, and owns the tables
// that give keywords, identifiers and string literals their numbers. The
// interpreter is built on it and walks the list with a cursor.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/io/TextFile.h"
#include "base/strings/StringStore.h"
#include "script/IdentifierSet.h"
#include "script/Token.h"

// One open source file.
struct TScriptFile {
    const Westring* name = nullptr;  // interned
    CTextFile file;
    int32_t line = 1;
    int32_t column = 0;
    bool newlinePending = false;
    uint32_t openError = 0;
};

// The open source files: the top is being read, the ones below include it.
class CScriptStack : public TObjectStore<TScriptFile> {
public:
    using TObjectStore::At;
    using TObjectStore::Count;
    using TObjectStore::RemoveAt;
    TScriptFile* Top() const { return Count() ? At(Count() - 1) : nullptr; }
    void Push(TScriptFile* file) { Add(file); }
    // Closes and deletes the top file.
    void Pop() { delete RemoveAt(Count() - 1); }
};

class CScriptTokenizer {
public:
    // The source files to read, in order; include directories come from the
    // ScriptPath setting.
    explicit CScriptTokenizer(const WestringStore& sources);
    ~CScriptTokenizer() = default;
    CScriptTokenizer(const CScriptTokenizer&) = delete;
    CScriptTokenizer& operator=(const CScriptTokenizer&) = delete;

    // Reads everything into the token list. Raises EParserError for text
    // that does not fit and EFileError for a source file that cannot be
    // opened.
    void TokenizeAll();
    // Moves to the next token; false (the current token becomes the end
    // token) past the last.
    bool NextToken() {
        m_tokenCursor++;
        if (m_tokenCursor >= 0 && m_tokenCursor < m_tokens.Count()) {
            m_currentToken = m_tokens.Item(m_tokenCursor);
            return true;
        }
        m_tokenCursor = m_tokens.Count();
        m_currentToken = &m_endToken;
        return false;
    }
    // The token after the current one, or the end token.
    CToken* PeekToken() {
        int next = m_tokenCursor + 1;
        return next >= 0 && next < m_tokens.Count() ? m_tokens.Item(next) : &m_endToken;
    }
    Westring IdentifierText(uint32_t number) { return m_identifiers.Text(number); }

    CToken* CurrentToken() const { return m_currentToken; }
    int TokenCursor() const { return m_tokenCursor; }
    // Moves the cursor to a token index (the end token outside the list).
    void SetTokenCursor(int index) {
        m_tokenCursor = index;
        m_currentToken = index >= 0 && index < m_tokens.Count() ? m_tokens.Item(index) : &m_endToken;
    }
    int TokenCount() const { return m_tokens.Count(); }
    CToken* TokenAt(int index) const { return m_tokens.At(index); }
    CToken* EndToken() { return &m_endToken; }

    CIdentifierSet& Identifiers() { return m_identifiers; }
    CStringSet& Keywords() { return m_keywords; }
    CIdentifierSet& StringLiterals() { return m_strings; }

private:
    class CTokenList : public TObjectStore<CToken> {
    public:
        using TObjectStore::At;
        using TObjectStore::Count;
        using TObjectStore::RemoveAt;
        // The token at an index inside the list, without the range test the
        // caller made: the interpreter moves over tokens all the time.
        CToken* Item(int index) const { return static_cast<CToken*>(m_items[index]); }
    };

    void Begin();
    bool OpenSourceFile(const Westring& name);
    bool ReadChar();
    bool ReadToken();
    void ReadStringLiteral(CToken* token);
    void ReadNumber(CToken* token);
    void ReadWord(CToken* token);
    void ReadDirective(CToken* token);
    void SkipLineComment();
    void SkipBlockComment(CToken* token);
    // Operators and punctuation; false when the character is none of them.
    bool ReadOperator(CToken* token);
    [[noreturn]] void Fail(const CToken& token, const char* message);
    Westring ResolveInclude(const Westring& name);

    int32_t m_quote = '"';
    CToken* m_currentToken = nullptr;
    TScriptFile* m_reader = nullptr;
    WestringStore m_sources;
    int m_sourceCursor = 0;
    CScriptStack m_includeStack;
    int32_t m_char = 0;
    int32_t m_previous = 0;
    CStringSet m_keywords;
    CIdentifierSet m_identifiers;
    CIdentifierSet m_strings;
    CTokenList m_tokens;
    int m_tokenCursor = -1;
    CToken m_endToken;
    CStringSet m_fileNames;
    WestringStore m_includeDirectories;
};
