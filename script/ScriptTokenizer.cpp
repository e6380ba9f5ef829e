#include "script/ScriptTokenizer.h"

#include "app/settings/Config.h"
#include "base/io/EError.h"
#include "base/os/FileAttributes.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/Utf8Codec.h"
#include "script/ScriptErrors.h"

namespace {

const char* const KeywordTexts[KeywordCount] = {"bool",   "break",  "do",        "else", "false", "for",
                                                "func",   "if",     "int",       "list", "map",   "real",
                                                "return", "string", "timestamp", "true", "while"};

const char* const KindNames[TokenKindCount] = {
    "Keyword", "Identifier", "String", "Integer", "Real", "'('",  "')'",  "'{'",  "'}'",  "','",
    "'*'",     "'/'",        "';'",    "'='",     "'?'",  "':'",  "'+'",  "'-'",  "'*'",  "'%'",
    "'^'",     "'!'",        "'=='",   "'!='",    "'<'",  "'>'",  "'<='", "'>='", "'&'",  "'|'",
    "'++'",    "'--'",       "'['",    "']'",     "'=>'", "'+='", "'-='", "'*='", "'/='", "'.'"};

// Identifiers are made of ASCII letters, digits and '_' only: no classifier
// of the C runtime sees a code point of the script.
bool IsWordStart(int32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsWordChar(int32_t c) {
    return IsWordStart(c) || (c >= '0' && c <= '9');
}

bool IsDigit(int32_t c) {
    return c >= '0' && c <= '9';
}

bool IsAbsolute(const Westring& name) {
    return HasDrivePrefix(name) || (name.Length() > 0 && (name[0] == '\\' || name[0] == '/'));
}

}  // namespace

const char* TokenKindName(int kind) {
    return kind >= 0 && kind < TokenKindCount ? KindNames[kind] : "";
}

CScriptTokenizer::CScriptTokenizer(const WestringStore& sources) : m_sources(sources) {
    for (int i = 0; i < KeywordCount; i++)
        m_keywords.Add(Westring(KeywordTexts[i]));
    const Westring& path = Config.ScriptPath;
    int start = 0;
    while (start <= path.Length()) {
        int end = start;
        while (end < path.Length() && path[end] != ';')
            end++;
        if (end > start)
            m_includeDirectories.Add(new Westring(path.Mid(start, end - start)));
        start = end + 1;
    }
    m_endToken.kind = TokenEnd;
}

void CScriptTokenizer::Fail(const CToken& token, const char* message) {
    throw EParserError(token, Westring(message));
}

void CScriptTokenizer::Begin() {
    m_tokenCursor = -1;
    m_currentToken = nullptr;
    m_char = 0;
    m_previous = 0;
    m_sourceCursor = 0;
    if (m_sources.Count() == 0)
        return;
    const Westring* name = m_fileNames.Add(*m_sources.At(0));
    TScriptFile* file = new TScriptFile();
    file->name = name;
    m_includeStack.Push(file);
    m_reader = file;
    m_endToken.file = name;
    m_endToken.line = 1;
    m_endToken.column = 0;
    file->openError = file->file.Open(*name, StdFile::ModeRead, StdFile::ShareWrite);
    if (file->openError != 0)
        throw EFileError(file->file, Westring("Unable to open source file"));
    ReadChar();
}

bool CScriptTokenizer::OpenSourceFile(const Westring& name) {
    if (m_fileNames.Lookup(name))
        return true;
    const Westring* interned = m_fileNames.Add(name);
    TScriptFile* file = new TScriptFile();
    file->name = interned;
    m_includeStack.Push(file);
    m_reader = file;
    m_previous = 0;
    file->openError = file->file.Open(*interned, StdFile::ModeRead, StdFile::ShareWrite);
    return file->openError == 0;
}

bool CScriptTokenizer::ReadChar() {
    if (!m_reader)
        return false;
    m_previous = m_char;
    for (;;) {
        uint32_t code = m_reader->openError == 0 ? m_reader->file.ReadChar() : CTextFile::NoChar;
        m_char = code == CTextFile::NoChar ? -1 : int32_t(code & 0x7fffffff);
        while (m_char < 0) {
            if (m_reader->openError != 0)
                return false;  // a list file that failed to open: reported by TokenizeAll
            m_endToken.file = m_reader->name;
            m_endToken.line = m_reader->line;
            m_endToken.column = m_reader->column;
            m_includeStack.Pop();
            m_reader = m_includeStack.Top();
            if (!m_reader) {
                m_sourceCursor++;
                if (m_sourceCursor >= m_sources.Count())
                    return false;
                if (!OpenSourceFile(*m_sources.At(m_sourceCursor)))
                    return false;
                if (!m_reader)
                    return false;
            }
            code = m_reader->file.ReadChar();
            m_char = code == CTextFile::NoChar ? -1 : int32_t(code & 0x7fffffff);
        }
        if (m_char != 13)
            break;
    }
    if (m_reader->newlinePending) {
        m_reader->line++;
        m_reader->column = 0;
        m_reader->newlinePending = false;
    }
    if (m_previous == '\t')
        m_reader->column = ((m_reader->column - 1) | 7) + 2;
    else
        m_reader->column++;
    if (m_char == 10)
        m_reader->newlinePending = true;
    return true;
}

void CScriptTokenizer::TokenizeAll() {
    Begin();
    while (ReadToken()) {}
    if (m_reader && m_reader->openError != 0)
        throw EFileError(m_reader->file, Westring("Unable to open source file"));
}

bool CScriptTokenizer::ReadToken() {
    CToken* token = nullptr;
    for (;;) {
        while (m_char == ' ' || m_char == '\t' || m_char == 13 || m_char == 10) {
            if (!ReadChar())
                break;
        }
        if (m_char < 0 || !m_reader) {
            if (token)
                delete m_tokens.RemoveAt(m_tokens.Count() - 1);
            return false;
        }
        if (!token) {
            token = new CToken();
            m_tokens.Add(token);
        }
        token->kind = TokenEnd;
        token->file = m_reader->name;
        token->line = m_reader->line;
        token->column = m_reader->column;

        int32_t c = m_char;
        if (c == m_quote) {
            ReadStringLiteral(token);
            return true;
        }
        if (c == '/') {
            ReadChar();
            if (m_char == '/') {
                SkipLineComment();
                continue;
            }
            if (m_char == '*') {
                SkipBlockComment(token);
                continue;
            }
            if (m_char == '=') {
                token->kind = TokenSlashAssign;
                ReadChar();
            } else {
                token->kind = TokenSlash;
            }
            return true;
        }
        if (IsDigit(c)) {
            ReadNumber(token);
            return true;
        }
        if (IsWordStart(c)) {
            ReadWord(token);
            return true;
        }
        if (c == '#') {
            ReadDirective(token);
            continue;
        }
        if (ReadOperator(token))
            return true;
        char utf8[8];
        int n = EncodeUtf8(char32_t(c), utf8);
        utf8[n] = 0;
        Westring message = Westring("Unexpected symbol '") + Westring(utf8) + Westring("'");
        throw EParserError(*token, message);
    }
}

bool CScriptTokenizer::ReadOperator(CToken* token) {
    struct TOperator {
        char first;
        int single;
        char second[3];
        int doubled[3];
    };
    static const TOperator Operators[] = {
        {'!', TokenNot, {'=', 0, 0}, {TokenNotEqual}},
        {'%', TokenPercent, {0}, {0}},
        {'&', TokenAnd, {'&', 0, 0}, {TokenAnd}},
        {'(', TokenOpenParen, {0}, {0}},
        {')', TokenCloseParen, {0}, {0}},
        {'*', TokenStar, {'=', 0, 0}, {TokenStarAssign}},
        {'+', TokenPlus, {'+', '=', 0}, {TokenIncrement, TokenPlusAssign}},
        {',', TokenComma, {0}, {0}},
        {'-', TokenMinus, {'-', '=', 0}, {TokenDecrement, TokenMinusAssign}},
        {'.', TokenDot, {0}, {0}},
        {':', TokenColon, {0}, {0}},
        {';', TokenSemicolon, {0}, {0}},
        {'<', TokenLess, {'=', 0, 0}, {TokenLessEqual}},
        {'=', TokenAssign, {'=', '>', 0}, {TokenEqual, TokenArrow}},
        {'>', TokenGreater, {'=', 0, 0}, {TokenGreaterEqual}},
        {'?', TokenQuestion, {0}, {0}},
        {'[', TokenOpenBracket, {0}, {0}},
        {']', TokenCloseBracket, {0}, {0}},
        {'^', TokenCaret, {0}, {0}},
        {'{', TokenOpenBrace, {0}, {0}},
        {'|', TokenOr, {'|', 0, 0}, {TokenOr}},
        {'}', TokenCloseBrace, {0}, {0}},
    };
    for (const TOperator& op : Operators) {
        if (m_char != op.first)
            continue;
        token->kind = op.single;
        ReadChar();
        for (int i = 0; i < 3 && op.second[i]; i++) {
            if (m_char == op.second[i]) {
                token->kind = op.doubled[i];
                ReadChar();
                break;
            }
        }
        return true;
    }
    return false;
}

void CScriptTokenizer::ReadStringLiteral(CToken* token) {
    token->kind = TokenString;
    Westring text;
    bool more = ReadChar();
    for (;;) {
        if (!more || m_char < 0)
            Fail(*token, "Unterminated literal string");
        if (m_char == m_quote) {
            // A closing quote at the very end of the input ends the literal.
            more = ReadChar();
            if (more && m_char == m_quote) {
                text.AppendChar(char32_t(m_quote));
                more = ReadChar();
                continue;
            }
            break;
        }
        if (m_char == '\\') {
            more = ReadChar();
            if (!more || m_char < 0)
                Fail(*token, "Unterminated literal string");
            char32_t c = char32_t(m_char);
            if (c == 'n')
                c = 10;
            else if (c == 't')
                c = 9;
            else if (c == 'r')
                c = 13;
            text.AppendChar(c);
        } else {
            text.AppendChar(char32_t(m_char));
        }
        more = ReadChar();
    }
    token->number = m_strings.Intern(text);
    token->record = m_strings.Lookup(text);
}

void CScriptTokenizer::ReadNumber(CToken* token) {
    token->kind = TokenInteger;
    uint64_t value = 0;
    // Wraps like the machine's integers, without undefined behaviour.
    while (IsDigit(m_char)) {
        value = value * 10 + uint64_t(m_char - '0');
        if (!ReadChar())
            break;
    }
    token->integer = int64_t(value);
    if (m_char != '.')
        return;
    token->kind = TokenReal;
    double real = double(int64_t(value));
    double scale = 1.0;
    ReadChar();
    while (IsDigit(m_char)) {
        scale *= 10.0;
        real += double(m_char - '0') / scale;
        if (!ReadChar())
            break;
    }
    token->real = real;
}

void CScriptTokenizer::ReadWord(CToken* token) {
    Westring word;
    while (IsWordChar(m_char)) {
        word.AppendChar(char32_t(m_char));
        if (!ReadChar())
            break;
    }
    int keyword = m_keywords.IndexOf(word);
    if (keyword >= 0) {
        token->kind = TokenKeyword;
        token->number = uint32_t(keyword);
        token->record = m_keywords.At(keyword);
        return;
    }
    token->kind = TokenIdentifier;
    token->number = m_identifiers.Intern(word);
    token->record = m_identifiers.Lookup(word);
}

void CScriptTokenizer::ReadDirective(CToken* token) {
    CToken at = *token;
    Westring word;
    if (ReadChar() && m_char >= 0) {
        word.AppendChar(char32_t(m_char));
        while (ReadChar() && IsWordChar(m_char))
            word.AppendChar(char32_t(m_char));
    }
    if (!word.EqualsExact(Westring("include")))
        Fail(at, "Unrecognised preprocessor instruction");
    // The name is read here rather than as a token of its own, so that a run
    // of directives cannot recurse.
    while (m_char == ' ' || m_char == '\t' || m_char == 13 || m_char == 10) {
        if (!ReadChar())
            break;
    }
    if (m_char < 0 || !m_reader)
        Fail(m_endToken, "String expected");
    CToken nameAt;
    nameAt.file = m_reader->name;
    nameAt.line = m_reader->line;
    nameAt.column = m_reader->column;
    if (m_char != m_quote)
        Fail(nameAt, "String expected");
    ReadStringLiteral(&nameAt);
    Westring name = static_cast<const CIdentifier*>(nameAt.record)->text;
    Westring path = ResolveInclude(name);
    if (path.IsEmpty())
        Fail(nameAt, "Include file not found");
    if (!OpenSourceFile(path)) {
        m_includeStack.Pop();
        m_reader = m_includeStack.Top();
        Fail(nameAt, "Include file not found");
    }
    // The character after the name's closing quote goes with the directive;
    // reading goes on in the included file (or after the directive when the
    // file was read already).
    ReadChar();
}

Westring CScriptTokenizer::ResolveInclude(const Westring& name) {
    if (name.IsEmpty())
        return Westring();
    if (IsAbsolute(name)) {
        Westring path(name);
        NormalizePath(path);
        return FileExists(path) ? path : Westring();
    }
    Westring directory = m_reader ? ExtractDirectory(*m_reader->name) : Westring();
    Westring path = AddTrailingBackslash(directory) + name;
    NormalizePath(path);
    if (FileExists(path))
        return path;
    for (int i = 0; i < m_includeDirectories.Count(); i++) {
        path = AddTrailingBackslash(*m_includeDirectories.At(i)) + name;
        NormalizePath(path);
        if (FileExists(path))
            return path;
    }
    return Westring();
}

void CScriptTokenizer::SkipLineComment() {
    while (m_char != 10) {
        if (!ReadChar())
            return;
    }
}

void CScriptTokenizer::SkipBlockComment(CToken* token) {
    // Comments nest; the depth is a counter, so no input can recurse.
    int depth = 1;
    bool more = ReadChar();
    while (depth > 0) {
        if (!more || m_char < 0)
            Fail(*token, "Unterminated comment");
        if (m_char == '/') {
            more = ReadChar();
            if (more && m_char == '*') {
                depth++;
                more = ReadChar();
            }
            continue;
        }
        if (m_char == '*') {
            more = ReadChar();
            if (more && m_char == '/') {
                depth--;
                more = ReadChar();
            }
            continue;
        }
        more = ReadChar();
    }
}
