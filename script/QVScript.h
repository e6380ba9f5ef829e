// QVScript: the interpreter. It runs a script by walking its token list once,
// statement by statement, evaluating while it parses: there is no syntax
// tree. Untaken branches, loop exits and the rest of a function after
// `return` are parsed with the skip counter above zero, which turns every
// evaluation off; loops and calls move the token cursor back to remembered
// token indexes.
//
// Statements, scopes and calls are in QVScript.cpp, expressions and the type
// rules in QVScriptExpressions.cpp, running a whole script in QVScriptRun.cpp
// and the builtins under builtins/.
#pragma once

#include <cstdint>

#include "base/containers/SortedCollection.h"
#include "base/containers/TObjectList.h"
#include "base/strings/StringStore.h"
#include "script/ScriptTokenizer.h"
#include "script/values/AutoObjectStore.h"
#include "script/values/IScriptValue.h"

class IStreamWrite;
class CScriptVariable;
class CScriptVariableScope;
class CScriptValue;

// The argument values of a call, as evaluated: variables stay variables.
using TArgumentStore = TAutoObjectStore<IScriptValue>;

// Control signals: what executing a statement ended with.
enum EScriptSignal { SignalNone = 0, SignalReturn = 1, SignalBreak = 2 };

class QVScript : public CScriptTokenizer {
public:
    static const int BuiltinCount = 54;
    // The precedence levels of the two-operand operators, lowest first.
    enum { LevelOr = 1, LevelAnd, LevelEquality, LevelRelational, LevelAdditive, LevelMultiplicative, LevelPower };
    using TBuiltinHandler = ValueHandle (QVScript::*)(TArgumentStore& args);
    struct TBuiltinRow {
        const char* name;
        TBuiltinHandler handler;
    };
    // The 54 builtins in the order that numbers them.
    static const TBuiltinRow BuiltinTable[BuiltinCount];

    // `output` (owned) receives what the script prints; without one the
    // script writes to the console.
    explicit QVScript(const WestringStore& sources, IStreamWrite* output = nullptr);
    ~QVScript();

    // Runs the script with its argument words ("<" and ">" redirect);
    // always 1. Failed() then tells whether it ended with an error.
    int Run(const WestringStore& arguments);
    bool Failed() const { return m_failed; }

    // Seams for the fuzz targets: a number of statements after which the
    // run stops as if the user broke it (-1: no limit), and the longest wait
    // `sleep` may make, in milliseconds (-1: no limit).
    int64_t statementBudget = -1;
    int64_t sleepLimitMs = -1;
    // And the most bytes the run's values may take (0: no limit of its own),
    // so that a test can run out of memory where the system would not let it.
    size_t valueMemoryLimit = 0;

    // Statements.
    int ExecStatement();
    void Expect(int kind);
    void ExpectKeyword(int keyword);
    void Advance();
    CScriptVariable* GetVariable(uint32_t identifier);
    void DeclareVariable(uint32_t identifier, const ValueHandle& value);

    // Expressions and the type rules.
    ValueHandle EvalExpression();
    ValueHandle EvalExpressionList();
    ValueHandle EvalCondition();
    bool ToLogical(IScriptValue& value);
    void PromoteOperands(ValueHandle& a, ValueHandle& b);
    // A new value of the type converted from the value; undefined when the
    // pair does not convert.
    ValueHandle ConvertValue(IScriptValue& value, int type);

    // Output.
    void Write(const char* text);
    void Write(const Westring& text);
    void WriteValue(IScriptValue& value);
    IStreamWrite& Output() { return *m_output; }

    // The calling convention of the builtins.
    void RegisterBuiltins();
    void CheckArgCount(int count, int required);
    void CheckArgRange(int count, int minimum, int maximum);
    ValueHandle GetArgument(TArgumentStore& args, int type, int index);

    // Builtins over text, numbers, times and values.
    ValueHandle BuiltinLeft(TArgumentStore& args);
    ValueHandle BuiltinRight(TArgumentStore& args);
    ValueHandle BuiltinMid(TArgumentStore& args);
    ValueHandle BuiltinPad(TArgumentStore& args);
    ValueHandle BuiltinLPad(TArgumentStore& args);
    ValueHandle BuiltinSubst(TArgumentStore& args);
    ValueHandle BuiltinTrim(TArgumentStore& args);
    ValueHandle BuiltinLTrim(TArgumentStore& args);
    ValueHandle BuiltinRTrim(TArgumentStore& args);
    ValueHandle BuiltinUpperCase(TArgumentStore& args);
    ValueHandle BuiltinLowerCase(TArgumentStore& args);
    ValueHandle BuiltinMixedCase(TArgumentStore& args);
    ValueHandle BuiltinPos(TArgumentStore& args);
    ValueHandle BuiltinPosNc(TArgumentStore& args);
    ValueHandle BuiltinContains(TArgumentStore& args);
    ValueHandle BuiltinContainsNc(TArgumentStore& args);
    ValueHandle BuiltinStartsWith(TArgumentStore& args);
    ValueHandle BuiltinEndsWith(TArgumentStore& args);
    ValueHandle BuiltinLen(TArgumentStore& args);
    ValueHandle BuiltinTypeOf(TArgumentStore& args);
    ValueHandle BuiltinKeys(TArgumentStore& args);
    ValueHandle BuiltinValues(TArgumentStore& args);
    ValueHandle BuiltinFree(TArgumentStore& args);
    ValueHandle BuiltinNow(TArgumentStore& args);
    ValueHandle BuiltinExpandTimestamp(TArgumentStore& args);
    ValueHandle BuiltinSleep(TArgumentStore& args);
    ValueHandle BuiltinPrint(TArgumentStore& args);
    ValueHandle BuiltinPrintln(TArgumentStore& args);
    ValueHandle BuiltinGetMessage(TArgumentStore& args);

    // Builtins over panels, dialogs, the viewer and the editor.
    ValueHandle BuiltinAskConfirm(TArgumentStore& args);
    ValueHandle BuiltinCd(TArgumentStore& args);
    ValueHandle BuiltinColour(TArgumentStore& args);
    ValueHandle BuiltinView(TArgumentStore& args);
    ValueHandle BuiltinEdit(TArgumentStore& args);
    ValueHandle BuiltinFiles(TArgumentStore& args);
    ValueHandle BuiltinTag(TArgumentStore& args);
    ValueHandle BuiltinUntag(TArgumentStore& args);
    ValueHandle BuiltinGetCurrentDir(TArgumentStore& args);
    ValueHandle BuiltinGetStoredPath(TArgumentStore& args);
    ValueHandle BuiltinSetStoredPath(TArgumentStore& args);
    ValueHandle BuiltinGetEnvVar(TArgumentStore& args);
    ValueHandle BuiltinSetEnvVar(TArgumentStore& args);
    ValueHandle BuiltinGetClip(TArgumentStore& args);
    ValueHandle BuiltinPutClip(TArgumentStore& args);
    ValueHandle BuiltinRun(TArgumentStore& args);
    ValueHandle BuiltinSaveSetup(TArgumentStore& args);

    // Builtins over files.
    ValueHandle BuiltinCopy(TArgumentStore& args);
    ValueHandle BuiltinCopyFile(TArgumentStore& args);
    ValueHandle BuiltinMoveFile(TArgumentStore& args);
    ValueHandle BuiltinDeleteFile(TArgumentStore& args);
    ValueHandle BuiltinOpenText(TArgumentStore& args);
    ValueHandle BuiltinCreateText(TArgumentStore& args);
    ValueHandle BuiltinFileFind(TArgumentStore& args);
    ValueHandle BuiltinSynchronize(TArgumentStore& args);
    // The rows whose builtins are not built yet.
    ValueHandle BuiltinNotAvailable(TArgumentStore& args);

    // Texts longer than this many units are refused ("Text too long").
    static const int MaxTextLength = 1 << 24;
    // Raises "Text too long" at the token when the length is over the limit.
    void CheckTextLength(int64_t length, CToken* token);

private:
    class CScopeStack;
    class CFunctionTable;

    // Statements.
    int ExecBlock();
    int ExecIf();
    int ExecWhile();
    int ExecDo();
    int ExecFor();
    void ExecFunctionDefinition();
    void ParseParameterList();
    // The run stops at a break request (and when the statement budget is
    // used up): tested before each statement, loop iteration and call.
    void CheckUserBreak();
    // Moves the token cursor (loops and calls).
    void JumpTo(int index);
    int StraySignal(int result) const;
    CScriptVariableScope* CurrentScope() const;

    // Expressions.
    ValueHandle EvalFunctionLiteral();
    ValueHandle EvalAssignment();
    ValueHandle EvalConditional();
    // The two-operand levels, lowest first, in one loop: the operators of
    // `level` and above, over operands of the unary level. Equality,
    // relational and power take at most one operator each.
    ValueHandle EvalBinary(int level);
    // The and-level and or-level: the left operand's truth may settle it.
    ValueHandle EvalLogical(ValueHandle left, CToken* op, int level);
    ValueHandle ApplyBinary(CToken* op, const ValueHandle& left, const ValueHandle& right);
    ValueHandle EvalUnary();
    ValueHandle EvalPostfix();
    ValueHandle EvalPrimary();
    ValueHandle EvalVariable();
    // Adds the step (+1 or -1) to an int or real variable.
    void StepNumber(IScriptValue& variable, int by);
    ValueHandle EvalCall();
    void ParseArguments(TArgumentStore& args);
    ValueHandle CallBuiltin(uint32_t row, TArgumentStore& args);
    // The operator's result on promoted copies of the operands; an empty
    // handle for a combination no rule covers (raised as "Invalid operator
    // for types" when `strict`).
    ValueHandle Arithmetic(int op, const ValueHandle& left, const ValueHandle& right, CToken* opToken,
                           CToken* afterRight, bool strict);
    // The int result of an operator on two ints; false for an operator that
    // gives no int (^).
    bool IntegerArithmetic(int op, int64_t x, int64_t y, CToken* opToken, int64_t& result);
    // Whether left == right and left > right, by the comparison rules.
    void Compare(const ValueHandle& left, const ValueHandle& right, CToken* opToken, bool& equal, bool& greater);
    void WriteValueNested(IScriptValue& value, bool quoted, TObjectList<IScriptValue>& open);
    [[noreturn]] void RunError(CToken* token, const Westring& message);
    ValueHandle NewValue(CScriptValue* value, CToken* token);
    // The builtins' shared steps.
    ValueHandle TagByMask(TArgumentStore& args, int mode);
    ValueHandle RunViewerOrEditor(TArgumentStore& args, bool edit);
    // The stored-path slot the argument names; out of range raises the error
    // at the argument.
    int StoredPathSlot(TArgumentStore& args, int index);
    ValueHandle CopyOrMoveFile(TArgumentStore& args, bool move);

    // Running.
    void FreeAllScopes();
    void DeleteRemainingScopes();
    void ReportError(const EError& error);

    CToken* Current() const { return CurrentToken(); }
    bool m_end = false;
    int32_t m_skip = 0;
    uint32_t m_argsIdentifier;
    uint32_t m_stdinIdentifier;
    CScopeStack* m_scopes;
    CFunctionTable* m_functions;
    IStreamWrite* m_output;
    ValueHandle m_return;
    bool m_failed = false;
    uint32_t m_builtinRow = 0;
};
