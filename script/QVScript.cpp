#include "script/QVScript.h"

#include "base/io/StreamWrite.h"
#include "console/Console.h"
#include "console/StreamWriteConsole.h"
#include "script/values/ScriptValue.h"
#include "script/values/ScriptVariable.h"
#include "script/values/ValueHeap.h"
#include "ui/ConsoleControl.h"

// The scopes of a run: the stack of the calls of functions defined with
// `func`, the scope current now (a function value runs in the scope it was
// made in), and the registry of every scope made, which the end of the run
// frees.
class QVScript::CScopeStack {
public:
    CScopeStack() { Push(); }
    ~CScopeStack() { FreeAll(); }

    CScriptVariableScope* current = nullptr;

    void Push() {
        CScriptVariableScope* scope = new CScriptVariableScope(&registry);
        scope->AddRef();
        stack.Add(scope);
        current = scope;
    }
    void Pop() {
        if (stack.Count() <= 1)
            throw ERunError(nullptr, Westring("Attempt to exit non-existant scope"));
        CScriptVariableScope* scope = stack.RemoveAt(stack.Count() - 1);
        current = stack.At(stack.Count() - 1);
        scope->ReleaseRef();
    }
    // Frees every variable of every scope, then the scopes; a scope that a
    // value left alive holds goes when that value is freed.
    void FreeAll() {
        TObjectList<CScriptVariableScope> pinned;
        for (int i = 0; i < registry.Count(); i++) {
            pinned.Add(registry.At(i));
            registry.At(i)->AddRef();
        }
        for (int i = 0; i < pinned.Count(); i++)
            pinned.At(i)->FreeVariables();
        while (stack.Count() > 0)
            stack.RemoveAt(stack.Count() - 1)->ReleaseRef();
        current = nullptr;
        for (int i = 0; i < pinned.Count(); i++)
            pinned.At(i)->ReleaseRef();
    }
    // Deletes what the registry still holds (nothing, unless values were
    // kept past the end of the run).
    void DeleteRemaining() {
        while (registry.Count() > 0)
            delete registry.At(registry.Count() - 1);
    }

    TObjectList<CScriptVariableScope> stack;
    TObjectList<CScriptVariableScope> registry;
};

// The functions defined with `func`: identifier number -> token index of the
// parameter list's "(". The first definition reached stays.
struct TFunctionTableEntry {
    uint32_t identifier;
    uint32_t tokenIndex;
};

class QVScript::CFunctionTable : public TSortedCollection<TFunctionTableEntry, uint32_t> {
public:
    void Define(uint32_t identifier, uint32_t tokenIndex) {
        if (Find(&identifier))
            return;
        Insert(new TFunctionTableEntry{identifier, tokenIndex});
    }
    TFunctionTableEntry* Lookup(uint32_t identifier) { return Find(&identifier); }

protected:
    const uint32_t* KeyOf(const TFunctionTableEntry* entry) override { return &entry->identifier; }
    int CompareKeys(const uint32_t* a, const uint32_t* b) override { return *a < *b ? -1 : (*a > *b ? 1 : 0); }
};

namespace {

// Type keywords of parameter lists and the type code each asks for.
int TypeOfKeyword(uint32_t keyword) {
    switch (keyword) {
    case KeywordBool: return ScriptBool;
    case KeywordInt: return ScriptInt;
    case KeywordTimestamp: return ScriptTimestamp;
    case KeywordReal: return ScriptReal;
    case KeywordString: return ScriptString;
    case KeywordFunc: return ScriptFunc;
    case KeywordList: return ScriptList;
    case KeywordMap: return ScriptMap;
    default: return -1;
    }
}

// Keeps the skip counter raised for a parse without effect.
class CSkipScope {
public:
    explicit CSkipScope(int32_t& skip) : m_skip(skip) { m_skip++; }
    ~CSkipScope() { m_skip--; }
    CSkipScope(const CSkipScope&) = delete;
    CSkipScope& operator=(const CSkipScope&) = delete;

private:
    int32_t& m_skip;
};

}  // namespace

QVScript::QVScript(const WestringStore& sources, IStreamWrite* output)
    : CScriptTokenizer(sources), m_scopes(new CScopeStack()), m_functions(new CFunctionTable()), m_output(output) {
    RegisterBuiltins();
    m_argsIdentifier = Identifiers().Intern(Westring("args"));
    m_stdinIdentifier = Identifiers().Intern(Westring("stdin"));
    if (!m_output)
        m_output = new CStreamWriteConsole(Console);
}

QVScript::~QVScript() {
    m_return.Release();
    delete m_functions;
    delete m_scopes;
    if (m_output)
        m_output->Close();
    delete m_output;
}

void QVScript::RegisterBuiltins() {
    for (int i = 0; i < BuiltinCount; i++)
        Identifiers().Intern(Westring(BuiltinTable[i].name));
}

void QVScript::RunError(CToken* token, const Westring& message) {
    throw ERunError(token, message);
}

void QVScript::JumpTo(int index) {
    SetTokenCursor(index);
    m_end = index >= TokenCount();
}

void QVScript::Advance() {
    if (!NextToken())
        m_end = true;
}

void QVScript::Expect(int kind) {
    if (Current()->kind != kind)
        throw EParserError(*Current(), Westring(TokenKindName(kind)) + Westring(" expected"));
    Advance();
}

void QVScript::ExpectKeyword(int keyword) {
    if (!Current()->IsKeyword(keyword)) {
        throw EParserError(*Current(), Westring("'") + *Keywords().At(keyword) + Westring("' expected"));
    }
    Advance();
}

void QVScript::FreeAllScopes() {
    m_scopes->FreeAll();
}

void QVScript::DeleteRemainingScopes() {
    m_scopes->DeleteRemaining();
}

CScriptVariableScope* QVScript::CurrentScope() const {
    return m_scopes->current;
}

CScriptVariable* QVScript::GetVariable(uint32_t identifier) {
    return m_scopes->current->GetVariable(identifier);
}

void QVScript::DeclareVariable(uint32_t identifier, const ValueHandle& value) {
    m_scopes->current->SetVariable(identifier, value);
}

void QVScript::CheckUserBreak() {
    if (statementBudget >= 0 && statementBudget-- == 0)
        UserAbortState = UserAbortRequested;
    if (UserAbortState == UserAbortRequested)
        RunError(Current(), Westring("User Break"));
}

void QVScript::CheckArgCount(int count, int required) {
    if (count != required) {
        Estring text;
        text.Format("Incorrect number of arguments, %d required", required);
        RunError(Current(), Westring(text));
    }
}

void QVScript::CheckArgRange(int count, int minimum, int maximum) {
    if (count < minimum || count > maximum) {
        Estring text;
        text.Format("Incorrect number of arguments, %d to %d required", minimum, maximum);
        RunError(Current(), Westring(text));
    }
}

void QVScript::CheckTextLength(int64_t length, CToken* token) {
    if (length > MaxTextLength)
        RunError(token ? token : Current(), Westring("Text too long"));
}

int QVScript::ExecStatement() {
    CheckScriptNesting();
    CToken* token = Current();
    if (token->kind == TokenOpenBrace)
        return ExecBlock();
    if (token->IsKeyword(KeywordFunc)) {
        ExecFunctionDefinition();
        return SignalNone;
    }
    CheckUserBreak();
    if (token->kind == TokenKeyword) {
        int result;
        switch (token->number) {
        case KeywordIf: return ExecIf();
        case KeywordWhile:
        case KeywordDo:
        case KeywordFor:
            result = token->number == KeywordWhile ? ExecWhile() : token->number == KeywordDo ? ExecDo() : ExecFor();
            if (result == SignalBreak) {
                m_skip--;
                result = SignalNone;
            }
            return result;
        case KeywordReturn:
            Advance();
            if (Current()->kind != TokenSemicolon) {
                ValueHandle value = EvalExpression();
                if (m_skip == 0)
                    m_return = value;
            }
            Expect(TokenSemicolon);
            if (m_skip == 0) {
                m_skip = 1;
                return SignalReturn;
            }
            return SignalNone;
        case KeywordBreak:
            Advance();
            Expect(TokenSemicolon);
            if (m_skip == 0) {
                m_skip = 1;
                return SignalBreak;
            }
            return SignalNone;
        default: throw EParserError(*token, Westring("Unexpected keyword"));
        }
    }
    EvalExpressionList();
    Expect(TokenSemicolon);
    return SignalNone;
}

int QVScript::ExecBlock() {
    Expect(TokenOpenBrace);
    int result = SignalNone;
    while (Current()->kind != TokenCloseBrace) {
        if (Current()->kind == TokenEnd)
            Expect(TokenCloseBrace);
        if (m_skip == 0)
            result = ExecStatement();
        else
            ExecStatement();
    }
    Expect(TokenCloseBrace);
    return result;
}

int QVScript::ExecIf() {
    Advance();
    bool skipping = m_skip > 0;
    ValueHandle condition = EvalCondition();
    int result = SignalNone;
    bool taken = false;
    if (skipping) {
        ExecStatement();
    } else {
        taken = ToLogical(*condition);
        if (taken) {
            result = ExecStatement();
        } else {
            CSkipScope skip(m_skip);
            ExecStatement();
        }
    }
    if (Current()->IsKeyword(KeywordElse)) {
        Advance();
        if (skipping) {
            ExecStatement();
        } else if (taken) {
            // Raised by one and lowered again, so that a signal the taken
            // branch gave stays in force after the else branch.
            CSkipScope skip(m_skip);
            ExecStatement();
        } else {
            result = ExecStatement();
        }
    }
    return result;
}

int QVScript::StraySignal(int result) const {
    // A break inside a called function is not consumed by the call: it
    // leaves the body skipping, and the loop around the call takes it.
    return result == SignalNone && m_skip > 0 ? int(SignalBreak) : result;
}

int QVScript::ExecWhile() {
    Advance();
    if (m_skip > 0) {
        EvalCondition();
        ExecStatement();
        return SignalNone;
    }
    int conditionIndex = TokenCursor();
    for (;;) {
        JumpTo(conditionIndex);
        CheckUserBreak();
        ValueHandle condition = EvalCondition();
        if (!ToLogical(*condition)) {
            CSkipScope skip(m_skip);
            ExecStatement();
            return SignalNone;
        }
        int result = StraySignal(ExecStatement());
        if (result != SignalNone)
            return result;
    }
}

int QVScript::ExecDo() {
    Advance();
    int start = TokenCursor();
    if (m_skip > 0) {
        ExecStatement();
        ExpectKeyword(KeywordWhile);
        EvalCondition();
        Expect(TokenSemicolon);
        return SignalNone;
    }
    int result;
    for (;;) {
        JumpTo(start);
        CheckUserBreak();
        result = StraySignal(ExecStatement());
        ExpectKeyword(KeywordWhile);
        if (result != SignalNone) {
            CSkipScope skip(m_skip);
            EvalCondition();
            break;
        }
        ValueHandle condition = EvalCondition();
        if (!ToLogical(*condition))
            break;
    }
    Expect(TokenSemicolon);
    return result;
}

int QVScript::ExecFor() {
    Advance();
    Expect(TokenOpenParen);
    int headerIndex = TokenCursor();
    bool skipping = m_skip > 0;
    ValueHandle target;
    ValueHandle collection;
    bool overCollection = false;
    int conditionIndex = -1;
    int stepIndex = -1;
    if (Current()->kind != TokenSemicolon)
        target = EvalExpressionList();
    if (Current()->kind == TokenColon) {
        overCollection = true;
        Advance();
        collection = EvalExpressionList();
        Expect(TokenCloseParen);
    } else {
        if (Current()->kind != TokenSemicolon)
            RunError(Current(), Westring("Syntax error in for condition"));
        Advance();
        if (Current()->kind != TokenSemicolon) {
            conditionIndex = TokenCursor();
            CSkipScope skip(m_skip);
            EvalExpressionList();
        }
        Expect(TokenSemicolon);
        if (Current()->kind != TokenCloseParen) {
            stepIndex = TokenCursor();
            CSkipScope skip(m_skip);
            EvalExpressionList();
        }
        Expect(TokenCloseParen);
    }
    int bodyIndex = TokenCursor();
    if (skipping) {
        ExecStatement();
        return SignalNone;
    }
    if (!overCollection) {
        for (;;) {
            CheckUserBreak();
            bool go = true;
            if (conditionIndex >= 0) {
                JumpTo(conditionIndex);
                ValueHandle condition = EvalExpressionList();
                go = ToLogical(*condition);
            }
            JumpTo(bodyIndex);
            if (!go)
                break;
            int result = StraySignal(ExecStatement());
            if (result != SignalNone)
                return result;
            if (stepIndex >= 0) {
                JumpTo(stepIndex);
                EvalExpressionList();
            }
        }
    } else {
        int cursor = 0;
        collection->BeginIteration(cursor);
        for (;;) {
            CheckUserBreak();
            ValueHandle element = collection->IterateNext(cursor);
            if (!element)
                break;
            if (!target || !target->AssignThrough(element)) {
                JumpTo(headerIndex);
                RunError(Current(), Westring("Expression must be assignable for list iterator"));
            }
            JumpTo(bodyIndex);
            int result = StraySignal(ExecStatement());
            if (result != SignalNone)
                return result;
        }
    }
    // Past the body: parsed once without effect from its start.
    JumpTo(bodyIndex);
    CSkipScope skip(m_skip);
    ExecStatement();
    return SignalNone;
}

void QVScript::ParseParameterList() {
    Expect(TokenOpenParen);
    if (Current()->kind == TokenCloseParen) {
        Advance();
        return;
    }
    for (;;) {
        if (Current()->kind == TokenKeyword) {
            if (TypeOfKeyword(Current()->number) < 0)
                RunError(Current(), Westring("Unexpected keyword: ") + *Keywords().At(int(Current()->number)));
            Advance();
        }
        Expect(TokenIdentifier);
        if (Current()->kind != TokenComma)
            break;
        Advance();
    }
    Expect(TokenCloseParen);
}

void QVScript::ExecFunctionDefinition() {
    ExpectKeyword(KeywordFunc);
    CToken* name = Current();
    Expect(TokenIdentifier);
    uint32_t index = uint32_t(TokenCursor());
    {
        CSkipScope skip(m_skip);
        ParseParameterList();
        ExecBlock();
    }
    m_functions->Define(name->number, index);
}

void QVScript::ParseArguments(TArgumentStore& args) {
    Expect(TokenOpenParen);
    if (Current()->kind != TokenCloseParen) {
        for (;;) {
            CToken* start = Current();
            ValueHandle value = EvalExpression();
            if (m_skip == 0) {
                if (!value)
                    value = new CScriptValue();
                value->SetSourceToken(start);
                args.Add(value);
            }
            if (Current()->kind != TokenComma)
                break;
            Advance();
        }
    }
    Expect(TokenCloseParen);
}

ValueHandle QVScript::CallBuiltin(uint32_t row, TArgumentStore& args) {
    m_builtinRow = row;
    const TBuiltinRow& builtin = BuiltinTable[row];
    ValueHandle result = (this->*builtin.handler)(args);
    if (!result)
        result = new CScriptValue();
    return result;
}

ValueHandle QVScript::EvalCall() {
    CToken* name = Current();
    uint32_t identifier = name->number;
    Advance();
    CToken* open = Current();
    if (identifier < uint32_t(BuiltinCount) || m_skip > 0) {
        TArgumentStore args;
        ParseArguments(args);
        if (m_skip > 0)
            return ValueHandle();
        return CallBuiltin(identifier, args);
    }
    TAutoPtr<TFunctionRef> binding;
    uint32_t tokenIndex;
    CScriptVariable* variable = m_scopes->current->FindVariable(identifier);
    if (variable) {
        if (variable->GetType() != ScriptFunc)
            RunError(name, Westring("Attempt to call a non function value"));
        // Held for the call: the function may drop the value it runs from.
        binding = variable->GetFunction();
        if (!binding)
            RunError(name, Westring("Attempt to call a non function value"));
        tokenIndex = binding->tokenIndex;
    } else {
        TFunctionTableEntry* entry = m_functions->Lookup(identifier);
        if (!entry)
            RunError(name, Westring("Unknown function"));
        tokenIndex = entry->tokenIndex;
    }
    TArgumentStore args;
    ParseArguments(args);
    CheckUserBreak();
    CheckScriptNesting();

    int saved = TokenCursor();
    CScriptVariableScope* savedScope = m_scopes->current;
    JumpTo(int(tokenIndex));
    if (binding)
        m_scopes->current = binding->scope;
    else
        m_scopes->Push();

    Expect(TokenOpenParen);
    int count = 0;
    if (Current()->kind != TokenCloseParen) {
        for (;;) {
            if (count >= args.Count())
                RunError(open, Westring("Incorrect number of parameters"));
            int type = -1;
            if (Current()->kind == TokenKeyword) {
                type = TypeOfKeyword(Current()->number);
                if (type < 0)
                    RunError(Current(), Westring("Unexpected keyword: ") + *Keywords().At(int(Current()->number)));
                Advance();
            }
            CToken* parameter = Current();
            Expect(TokenIdentifier);
            ValueHandle argument = *args.CellAt(count);
            if (type >= 0 && argument->GetType() != type) {
                CToken* at = argument->GetSourceToken();
                ValueHandle converted = ConvertValue(*argument, type);
                if (converted->GetType() != type)
                    RunError(at ? at : open, Westring("Type mismatch"));
                argument = converted;
            }
            DeclareVariable(parameter->number, argument);
            count++;
            if (Current()->kind != TokenComma)
                break;
            Advance();
        }
    }
    if (count != args.Count())
        RunError(Current(), Westring("Incorrect number of parameters"));
    Expect(TokenCloseParen);

    m_return.Release();
    int result = ExecBlock();
    if (result == SignalReturn)
        m_skip--;
    ValueHandle value = m_return ? m_return : ValueHandle(new CScriptValue());
    m_return.Release();
    JumpTo(saved);
    if (binding)
        m_scopes->current = savedScope;
    else
        m_scopes->Pop();
    return value;
}
