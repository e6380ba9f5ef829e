// The expression evaluator of QVScript: one function per precedence level,
// computing values while it parses; with the skip counter above 0 each level
// consumes the same tokens and returns an empty handle. Then the type rules:
// truth, conversion, promotion, arithmetic, comparison and value text.
#include <climits>
#include <cstring>
#include <cmath>
#include <utility>

#include "base/io/StreamWrite.h"
#include "base/strings/FormatReal.h"
#include "script/QVScript.h"
#include "script/values/ScriptValue.h"
#include "script/values/ScriptVariable.h"
#include "script/values/ValueHeap.h"

namespace {

bool IsAssignmentOperator(int kind) {
    return kind == TokenAssign || kind == TokenPlusAssign || kind == TokenMinusAssign || kind == TokenStarAssign ||
           kind == TokenSlashAssign;
}

// The arithmetic operator a compound assignment applies.
int ArithmeticOf(int kind) {
    switch (kind) {
    case TokenPlusAssign: return TokenPlus;
    case TokenMinusAssign: return TokenMinus;
    case TokenStarAssign: return TokenStar;
    case TokenSlashAssign: return TokenSlash;
    default: return kind;
    }
}

// Integer arithmetic wraps like the machine's, without undefined behaviour.
int64_t WrapAdd(int64_t a, int64_t b) {
    return int64_t(uint64_t(a) + uint64_t(b));
}
int64_t WrapSub(int64_t a, int64_t b) {
    return int64_t(uint64_t(a) - uint64_t(b));
}
int64_t WrapMul(int64_t a, int64_t b) {
    return int64_t(uint64_t(a) * uint64_t(b));
}

// The precedence of the two-operand operators, lowest first; 0 for any other token.
int BinaryLevel(int kind) {
    switch (kind) {
    case TokenOr: return QVScript::LevelOr;
    case TokenAnd: return QVScript::LevelAnd;
    case TokenEqual:
    case TokenNotEqual: return QVScript::LevelEquality;
    case TokenLess:
    case TokenGreater:
    case TokenLessEqual:
    case TokenGreaterEqual: return QVScript::LevelRelational;
    case TokenPlus:
    case TokenMinus: return QVScript::LevelAdditive;
    case TokenStar:
    case TokenSlash:
    case TokenPercent: return QVScript::LevelMultiplicative;
    case TokenCaret: return QVScript::LevelPower;
    default: return 0;
    }
}

Estring RealText(double value) {
    return FormatReal(value, 20, -1, false).Trim();
}

}  // namespace

ValueHandle QVScript::NewValue(CScriptValue* value, CToken* token) {
    value->SetSourceToken(token);
    return ValueHandle(value);
}

ValueHandle QVScript::EvalExpressionList() {
    ValueHandle value = EvalExpression();
    while (Current()->kind == TokenComma) {
        Advance();
        value = EvalExpression();
    }
    return value;
}

ValueHandle QVScript::EvalCondition() {
    Expect(TokenOpenParen);
    ValueHandle value = EvalExpressionList();
    Expect(TokenCloseParen);
    return value;
}

ValueHandle QVScript::EvalExpression() {
    CheckScriptNesting();
    if (Current()->IsKeyword(KeywordFunc))
        return EvalFunctionLiteral();
    return EvalAssignment();
}

ValueHandle QVScript::EvalFunctionLiteral() {
    CToken* start = Current();
    Advance();
    uint32_t index = uint32_t(TokenCursor());
    {
        m_skip++;
        ParseParameterList();
        ExecBlock();
        m_skip--;
    }
    if (m_skip > 0)
        return ValueHandle();
    CScriptValue* value = CScriptValue::OfType(ScriptFunc);
    ValueHandle handle = NewValue(value, start);
    value->SetFunction(index, CurrentScope());
    return handle;
}

ValueHandle QVScript::EvalAssignment() {
    CToken* leftStart = Current();
    ValueHandle left = EvalConditional();
    int op = Current()->kind;
    if (!IsAssignmentOperator(op))
        return left;
    CToken* opToken = Current();
    Advance();
    CToken* rightStart = Current();
    ValueHandle right = EvalExpression();
    if (m_skip > 0)
        return ValueHandle();
    if (right->GetType() == ScriptUndefined) {
        if (right->GetValueClass() == ValueClassVariable) {
            uint32_t identifier = static_cast<CScriptVariable*>(right.Get())->Identifier();
            RunError(rightStart, Westring("Undefined variable '") + IdentifierText(identifier) + Westring("'"));
        }
        RunError(Current(), Westring("Unexpected undefined value"));
    }
    if (op == TokenAssign) {
        if (!left->AssignThrough(right))
            RunError(leftStart, Westring("Invalid assignment left hand side"));
        return right;
    }
    if (op == TokenPlusAssign && left->GetType() == ScriptList) {
        left->AppendListItem(right);
        return left;
    }
    int64_t integer;
    if (left->GetType() == ScriptInt && right->GetType() == ScriptInt &&
        IntegerArithmetic(ArithmeticOf(op), left->GetInt(), right->GetInt(), opToken, integer)) {
        // Nothing to promote: the result goes straight into the left value.
        left->SetInt(integer);
        return left;
    }
    ValueHandle copy(new CScriptValue(*left));
    ValueHandle result = Arithmetic(ArithmeticOf(op), copy, right, opToken, Current(), false);
    if (!result)
        return left;
    switch (result->GetType()) {
    case ScriptInt: left->SetInt(result->GetInt()); break;
    case ScriptReal: left->SetReal(result->GetReal()); break;
    case ScriptString: left->SetString(result->GetString()); break;
    case ScriptTimestamp: left->SetTimestamp(result->GetTimestamp()); break;
    default: break;
    }
    return left;
}

ValueHandle QVScript::EvalConditional() {
    ValueHandle condition = EvalBinary(LevelOr);
    if (Current()->kind != TokenQuestion)
        return condition;
    Advance();
    if (m_skip == 0 && ToLogical(*condition)) {
        ValueHandle value = EvalBinary(LevelOr);
        Expect(TokenColon);
        m_skip++;
        EvalExpression();
        m_skip--;
        return value;
    }
    m_skip++;
    EvalBinary(LevelOr);
    m_skip--;
    Expect(TokenColon);
    return EvalExpression();
}

ValueHandle QVScript::EvalBinary(int level) {
    ValueHandle left = EvalUnary();
    // After an operator of a level that takes at most one, only operators of
    // lower levels may follow; the caller reports any other.
    int highest = LevelPower;
    for (;;) {
        int opLevel = BinaryLevel(Current()->kind);
        if (opLevel == 0 || opLevel < level || opLevel > highest)
            return left;
        CToken* op = Current();
        Advance();
        if (opLevel == LevelOr || opLevel == LevelAnd)
            left = EvalLogical(std::move(left), op, opLevel);
        else {
            ValueHandle right = EvalBinary(opLevel + 1);
            if (m_skip == 0)
                left = ApplyBinary(op, left, right);
        }
        highest =
            opLevel == LevelEquality || opLevel == LevelRelational || opLevel == LevelPower ? opLevel - 1 : opLevel;
    }
}

ValueHandle QVScript::EvalLogical(ValueHandle left, CToken* op, int level) {
    if (m_skip > 0) {
        EvalBinary(level + 1);
        return left;
    }
    if (ToLogical(*left) == (level == LevelOr)) {
        // Settled: the rest of the level is parsed only, and its value is the
        // left operand itself.
        m_skip++;
        EvalBinary(level + 1);
        m_skip--;
        return left;
    }
    ValueHandle right = EvalBinary(level + 1);
    if (!left->IsSimpleType() || !right->IsSimpleType())
        RunError(op, Westring("Simple type required"));
    return NewValue(new CScriptValue(ToLogical(*right)), op);
}

ValueHandle QVScript::ApplyBinary(CToken* op, const ValueHandle& left, const ValueHandle& right) {
    bool equal, greater, result;
    switch (op->kind) {
    case TokenEqual:
    case TokenNotEqual:
        Compare(left, right, op, equal, greater);
        return NewValue(new CScriptValue(op->kind == TokenEqual ? equal : !equal), op);
    case TokenLess:
    case TokenLessEqual:
        // a < b is b > a.
        Compare(right, left, op, equal, greater);
        result = greater;
        if (op->kind == TokenLessEqual && !result) {
            Compare(left, right, op, equal, greater);
            result = equal;
        }
        return NewValue(new CScriptValue(result), op);
    case TokenGreater:
    case TokenGreaterEqual:
        Compare(left, right, op, equal, greater);
        return NewValue(new CScriptValue(greater || (op->kind == TokenGreaterEqual && equal)), op);
    default: return Arithmetic(op->kind, left, right, op, Current(), true);
    }
}

ValueHandle QVScript::EvalUnary() {
    CToken* op = Current();
    if (op->kind == TokenNot) {
        Advance();
        ValueHandle value = EvalPostfix();
        if (m_skip > 0)
            return ValueHandle();
        return NewValue(new CScriptValue(!ToLogical(*value)), op);
    }
    if (op->kind == TokenMinus) {
        Advance();
        ValueHandle value = EvalPostfix();
        if (m_skip > 0)
            return ValueHandle();
        if (value->GetType() == ScriptInt)
            return NewValue(new CScriptValue(WrapSub(0, value->GetInt())), op);
        if (value->GetType() == ScriptReal)
            return NewValue(CScriptValue::Real(-value->GetReal()), op);
        RunError(op, Westring("Invalid operator for type"));
    }
    return EvalPostfix();
}

ValueHandle QVScript::EvalPostfix() {
    ValueHandle base = EvalPrimary();
    while (Current()->kind == TokenOpenBracket || Current()->kind == TokenDot) {
        CToken* op = Current();
        Advance();
        CToken* keyToken = Current();
        ValueHandle key;
        if (op->kind == TokenOpenBracket) {
            key = EvalExpression();
            Expect(TokenCloseBracket);
        } else {
            if (Current()->kind != TokenIdentifier)
                RunError(Current(), Westring("Identifier expected"));
            if (m_skip == 0)
                key = NewValue(new CScriptValue(IdentifierText(Current()->number)), Current());
            Advance();
        }
        if (m_skip > 0)
            continue;
        int type = base->GetType();
        if (type == ScriptList) {
            if (key->GetType() != ScriptInt)
                RunError(keyToken, Westring("List index must be an integer"));
            int64_t index = key->GetInt();
            // Checked on the full value: a narrowed index would reach another
            // element.
            if (index < 0 || index > INT_MAX)
                throw ERunError(nullptr, Westring("List index out of range"));
            base = base->GetListItemRef(base, int(index), false);
        } else if (type == ScriptMap || type == ScriptUndefined) {
            base = base->GetMapItemRef(base, *key, false);
        } else {
            RunError(op, Westring("Subscript operator can only be used on list or map types"));
        }
    }
    return base;
}

ValueHandle QVScript::EvalPrimary() {
    CToken* token = Current();
    switch (token->kind) {
    case TokenString:
        Advance();
        if (m_skip > 0)
            return ValueHandle();
        return NewValue(new CScriptValue(static_cast<const CIdentifier*>(token->record)->text), token);
    case TokenInteger:
        Advance();
        if (m_skip > 0)
            return ValueHandle();
        return NewValue(new CScriptValue(token->integer), token);
    case TokenReal:
        Advance();
        if (m_skip > 0)
            return ValueHandle();
        return NewValue(CScriptValue::Real(token->real), token);
    case TokenKeyword:
        if (token->number != KeywordTrue && token->number != KeywordFalse)
            throw EParserError(*token, Westring("Unexpected keyword"));
        Advance();
        if (m_skip > 0)
            return ValueHandle();
        return NewValue(new CScriptValue(token->number == KeywordTrue), token);
    case TokenOpenBrace: {
        Advance();
        ValueHandle map;
        if (m_skip == 0)
            map = NewValue(CScriptValue::OfType(ScriptMap), token);
        if (Current()->kind != TokenCloseBrace) {
            for (;;) {
                ValueHandle key = EvalExpression();
                Expect(TokenColon);
                ValueHandle value = EvalExpression();
                if (m_skip == 0)
                    map->SetMapItem(*key, value);
                if (Current()->kind != TokenComma)
                    break;
                Advance();
            }
        }
        Expect(TokenCloseBrace);
        return map;
    }
    case TokenOpenBracket: {
        Advance();
        ValueHandle list;
        if (m_skip == 0)
            list = NewValue(CScriptValue::OfType(ScriptList), token);
        if (Current()->kind != TokenCloseBracket) {
            for (;;) {
                ValueHandle value = EvalExpression();
                if (m_skip == 0)
                    list->AppendListItem(value);
                if (Current()->kind != TokenComma)
                    break;
                Advance();
            }
        }
        Expect(TokenCloseBracket);
        return list;
    }
    case TokenIdentifier:
        if (PeekToken()->kind == TokenOpenParen)
            return EvalCall();
        return EvalVariable();
    case TokenIncrement:
    case TokenDecrement: return EvalVariable();
    case TokenOpenParen: {
        Advance();
        ValueHandle value = EvalExpression();
        Expect(TokenCloseParen);
        return value;
    }
    default: throw EParserError(*token, Westring("Expression expected"));
    }
}

ValueHandle QVScript::EvalVariable() {
    int prefix = 0;
    CToken* name = Current();
    if (name->kind == TokenIncrement || name->kind == TokenDecrement) {
        prefix = name->kind == TokenIncrement ? 1 : -1;
        Advance();
        name = Current();
    }
    Expect(TokenIdentifier);
    int postfix = 0;
    CToken* after = Current();
    if (after->kind == TokenIncrement || after->kind == TokenDecrement) {
        postfix = after->kind == TokenIncrement ? 1 : -1;
        Advance();
    }
    if (m_skip > 0)
        return ValueHandle();
    CScriptVariable* variable = GetVariable(name->number);
    if (prefix == 0 && postfix == 0)
        return ValueHandle(variable->Self());
    int type = variable->GetType();
    if (type == ScriptUndefined)
        RunError(name, Westring("Undefined variable"));
    if (type != ScriptInt && type != ScriptReal) {
        RunError(name, Westring("Invalid type for ") +
                           Westring((prefix != 0 ? prefix : postfix) > 0 ? "increment" : "decrement") +
                           Westring(" operator"));
    }
    if (prefix != 0)
        StepNumber(*variable, prefix);
    if (postfix == 0)
        return ValueHandle(variable->Self());
    ValueHandle before = NewValue(
        type == ScriptInt ? new CScriptValue(variable->GetInt()) : CScriptValue::Real(variable->GetReal()), name);
    StepNumber(*variable, postfix);
    return before;
}

void QVScript::StepNumber(IScriptValue& variable, int by) {
    if (variable.GetType() == ScriptInt)
        variable.SetInt(WrapAdd(variable.GetInt(), by));
    else
        variable.SetReal(variable.GetReal() + by);
}

bool QVScript::ToLogical(IScriptValue& value) {
    switch (value.GetType()) {
    case ScriptBool: return value.GetBool();
    case ScriptInt: return value.GetInt() != 0;
    case ScriptReal: return value.GetReal() != 0.0;
    case ScriptString: return !value.GetString().IsEmpty();
    case ScriptUndefined: RunError(Current(), Westring("Undefined variable"));
    default: RunError(Current(), Westring("Invalid type for logical value"));
    }
}

ValueHandle QVScript::ConvertValue(IScriptValue& value, int type) {
    int from = value.GetType();
    CToken* token = value.GetSourceToken();
    if (from == ScriptUndefined && value.GetValueClass() == ValueClassReference) {
        if (token && token->kind == TokenIdentifier)
            RunError(token, Westring("Undefined variable '") + IdentifierText(token->number) + Westring("'"));
        RunError(token ? token : Current(), Westring("Undefined value"));
    }
    CScriptValue* result = new CScriptValue();
    ValueHandle handle = NewValue(result, token);
    if (from == type && from != ScriptUndefined) {
        result->Assign(value);
        return handle;
    }
    switch (type) {
    case ScriptInt:
        if (from == ScriptBool)
            result->SetInt(value.GetBool() ? 1 : 0);
        break;
    case ScriptTimestamp:
        if (from == ScriptInt)
            result->SetTimestamp(TTimestamp(uint32_t(uint64_t(value.GetInt())), 0));
        break;
    case ScriptReal:
        if (from == ScriptBool)
            result->SetReal(value.GetBool() ? 1.0 : 0.0);
        else if (from == ScriptInt)
            result->SetReal(double(value.GetInt()));
        else if (from == ScriptTimestamp)
            result->SetReal(double(value.GetTimestamp().seconds) + double(value.GetTimestamp().nanoseconds) / 1e9);
        break;
    case ScriptString:
        if (from == ScriptBool)
            result->SetString(Westring(value.GetBool() ? "true" : "false"));
        else if (from == ScriptInt)
            result->SetString(Westring(Int64ToEstring(value.GetInt())));
        else if (from == ScriptTimestamp)
            result->SetString(Westring(value.GetTimestamp().Format().Data()));
        else if (from == ScriptReal)
            result->SetString(Westring(RealText(value.GetReal())));
        break;
    default: break;
    }
    return handle;
}

void QVScript::PromoteOperands(ValueHandle& a, ValueHandle& b) {
    int ta = a->GetType();
    int tb = b->GetType();
    if (ta == tb)
        return;
    if (ta < tb)
        a = ConvertValue(*a, tb);
    else
        b = ConvertValue(*b, ta);
}

void QVScript::Compare(const ValueHandle& left, const ValueHandle& right, CToken* opToken, bool& equal, bool& greater) {
    equal = greater = false;
    if (!left->IsSimpleType())
        RunError(opToken, Westring("Simple type required"));
    if (left->GetType() == ScriptInt && right->GetType() == ScriptInt) {
        // Nothing to promote.
        int64_t x = left->GetInt(), y = right->GetInt();
        equal = x == y;
        greater = x > y;
        return;
    }
    ValueHandle a(left);
    ValueHandle b(right);
    PromoteOperands(a, b);
    int type = a->GetType();
    if (type == ScriptUndefined)
        return;
    // A right operand that did not convert compares as the empty payload.
    bool same = b->GetType() == type;
    switch (type) {
    case ScriptBool: {
        int x = a->GetBool(), y = same ? b->GetBool() : 0;
        equal = x == y;
        greater = x > y;
        break;
    }
    case ScriptInt: {
        int64_t x = a->GetInt(), y = same ? b->GetInt() : 0;
        equal = x == y;
        greater = x > y;
        break;
    }
    case ScriptTimestamp: {
        TTimestamp x = a->GetTimestamp(), y = same ? b->GetTimestamp() : TTimestamp();
        equal = x == y;
        greater = x.seconds > y.seconds || (x.seconds == y.seconds && x.nanoseconds > y.nanoseconds);
        break;
    }
    case ScriptReal: {
        double x = a->GetReal(), y = same ? b->GetReal() : 0.0;
        equal = x == y;
        greater = x > y;
        break;
    }
    case ScriptString: {
        int c = same ? Str32Compare(a->GetString().Data(), b->GetString().Data())
                     : Str32Compare(a->GetString().Data(), U"");
        equal = c == 0;
        greater = c > 0;
        break;
    }
    default: break;
    }
}

bool QVScript::IntegerArithmetic(int op, int64_t x, int64_t y, CToken* opToken, int64_t& result) {
    switch (op) {
    case TokenPlus: result = WrapAdd(x, y); return true;
    case TokenMinus: result = WrapSub(x, y); return true;
    case TokenStar: result = WrapMul(x, y); return true;
    case TokenSlash:
    case TokenPercent:
        if (y == 0)
            RunError(opToken, Westring("Integer division by zero"));
        if (y == -1)  // the quotient of the least value by -1 wraps to itself
            result = op == TokenSlash ? WrapSub(0, x) : int64_t(0);
        else
            result = op == TokenSlash ? x / y : x % y;
        return true;
    default: return false;
    }
}

ValueHandle QVScript::Arithmetic(int op, const ValueHandle& left, const ValueHandle& right, CToken* opToken,
                                 CToken* afterRight, bool strict) {
    ValueHandle a(left);
    ValueHandle b(right);
    PromoteOperands(a, b);
    int type = a->GetType();
    bool same = b->GetType() == type;
    CScriptValue* result = nullptr;
    switch (type) {
    case ScriptInt: {
        int64_t x = a->GetInt(), y = same ? b->GetInt() : 0, integer;
        if (IntegerArithmetic(op, x, y, opToken, integer))
            result = new CScriptValue(integer);
        else if (op == TokenCaret)
            result = CScriptValue::Real(std::pow(double(x), double(y)));
        break;
    }
    case ScriptReal: {
        double x = a->GetReal(), y = same ? b->GetReal() : 0.0;
        switch (op) {
        case TokenPlus: result = CScriptValue::Real(x + y); break;
        case TokenMinus: result = CScriptValue::Real(x - y); break;
        case TokenStar: result = CScriptValue::Real(x * y); break;
        case TokenSlash:
            if (y == 0.0)
                RunError(opToken, Westring("Floating point division by zero"));
            result = CScriptValue::Real(x / y);
            break;
        case TokenPercent: RunError(afterRight, Westring("Invalid operation on reals"));
        case TokenCaret: result = CScriptValue::Real(std::pow(x, y)); break;
        }
        break;
    }
    case ScriptString: {
        switch (op) {
        case TokenPlus: {
            const Westring& x = a->GetString();
            Westring empty;
            const Westring& y = same ? b->GetString() : empty;
            CheckTextLength(int64_t(x.Length()) + y.Length(), opToken);
            result = new CScriptValue(x + y);
            break;
        }
        case TokenMinus:
        case TokenStar:
        case TokenSlash: RunError(opToken, Westring("Invalid operation on strings"));
        case TokenPercent: RunError(afterRight, Westring("Invalid operation on strings"));
        default: break;
        }
        break;
    }
    case ScriptTimestamp: {
        TTimestamp x = a->GetTimestamp(), y = same ? b->GetTimestamp() : TTimestamp();
        if (op == TokenPlus) {
            uint32_t nanoseconds = x.nanoseconds + y.nanoseconds;
            uint32_t seconds = x.seconds + y.seconds;
            if (nanoseconds >= 1000000000u) {
                nanoseconds -= 1000000000u;
                seconds++;
            }
            result = new CScriptValue(TTimestamp(seconds, nanoseconds));
        } else if (op == TokenMinus) {
            int64_t nanoseconds = int64_t(x.nanoseconds) - int64_t(y.nanoseconds);
            uint32_t seconds = x.seconds - y.seconds;
            if (nanoseconds < 0) {
                nanoseconds += 1000000000;
                seconds--;
            }
            result = new CScriptValue(TTimestamp(seconds, uint32_t(nanoseconds)));
        }
        break;
    }
    default: break;
    }
    if (!result) {
        if (strict)
            RunError(opToken, Westring("Invalid operator for types"));
        return ValueHandle();
    }
    return NewValue(result, opToken);
}

void QVScript::Write(const char* text) {
    m_output->Write(text, uint32_t(strlen(text)));
}

void QVScript::Write(const Westring& text) {
    Estring utf8;
    text.ToUtf8(utf8);
    m_output->Write(utf8.Data(), uint32_t(utf8.Length()));
}

void QVScript::WriteValue(IScriptValue& value) {
    TObjectList<IScriptValue> open;
    WriteValueNested(value, false, open);
}

void QVScript::WriteValueNested(IScriptValue& value, bool quoted, TObjectList<IScriptValue>& open) {
    int type = value.GetType();
    switch (type) {
    case ScriptBool: Write(value.GetBool() ? "true" : "false"); break;
    case ScriptInt: Write(Int64ToEstring(value.GetInt()).Data()); break;
    case ScriptTimestamp: Write(value.GetTimestamp().Format().Data()); break;
    case ScriptReal: Write(RealText(value.GetReal()).Data()); break;
    case ScriptString:
        if (quoted)
            Write("\"");
        Write(value.GetString());
        if (quoted)
            Write("\"");
        break;
    case ScriptList:
    case ScriptMap: {
        CheckScriptNesting();
        ValueHandle referenced = value.GetReferencedValue();
        IScriptValue* identity = referenced ? referenced.Get() : &value;
        for (int i = 0; i < open.Count(); i++) {
            if (open.At(i) == identity) {
                // A container that holds itself.
                Write(type == ScriptList ? "[...]" : "{...}");
                return;
            }
        }
        open.Add(identity);
        int count = value.GetCount();
        if (type == ScriptList) {
            Write("[");
            for (int i = 0; i < count; i++) {
                if (i > 0)
                    Write(",");
                ValueHandle element = value.GetListItem(i);
                WriteValueNested(*element, true, open);
            }
            Write("]");
        } else {
            Write("{");
            for (int i = 0; i < count; i++) {
                if (i > 0)
                    Write(",");
                IScriptValue& key = const_cast<IScriptValue&>(value.GetMapItemAt(i));
                WriteValueNested(key, true, open);
                Write(": ");
                ValueHandle* item = value.FindMapItem(key);
                if (item && *item)
                    WriteValueNested(**item, true, open);
            }
            Write("}");
        }
        open.RemoveAt(open.Count() - 1);
        break;
    }
    default: break;
    }
}
