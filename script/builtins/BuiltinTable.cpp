// The builtin functions by number: the order of this table numbers them
// (alphabetical, except that moveFile follows putClip), and the interpreter
// interns their names first, so that an identifier number below the count
// is the row of its builtin.
#include "script/QVScript.h"
#include "script/values/ScriptValue.h"

const QVScript::TBuiltinRow QVScript::BuiltinTable[QVScript::BuiltinCount] = {
    {"askConfirm", &QVScript::BuiltinNotAvailable},
    {"cd", &QVScript::BuiltinNotAvailable},
    {"colour", &QVScript::BuiltinNotAvailable},
    {"contains", &QVScript::BuiltinContains},
    {"containsNc", &QVScript::BuiltinContainsNc},
    {"copy", &QVScript::BuiltinNotAvailable},
    {"copyFile", &QVScript::BuiltinNotAvailable},
    {"createText", &QVScript::BuiltinNotAvailable},
    {"deleteFile", &QVScript::BuiltinNotAvailable},
    {"edit", &QVScript::BuiltinNotAvailable},
    {"endsWith", &QVScript::BuiltinEndsWith},
    {"expandTimestamp", &QVScript::BuiltinExpandTimestamp},
    {"files", &QVScript::BuiltinNotAvailable},
    {"fileFind", &QVScript::BuiltinNotAvailable},
    {"free", &QVScript::BuiltinFree},
    {"getClip", &QVScript::BuiltinNotAvailable},
    {"getCurrentDir", &QVScript::BuiltinNotAvailable},
    {"getEnvVar", &QVScript::BuiltinNotAvailable},
    {"getMessage", &QVScript::BuiltinGetMessage},
    {"getStoredPath", &QVScript::BuiltinNotAvailable},
    {"keys", &QVScript::BuiltinKeys},
    {"left", &QVScript::BuiltinLeft},
    {"len", &QVScript::BuiltinLen},
    {"lowerCase", &QVScript::BuiltinLowerCase},
    {"lpad", &QVScript::BuiltinLPad},
    {"ltrim", &QVScript::BuiltinLTrim},
    {"mid", &QVScript::BuiltinMid},
    {"mixedCase", &QVScript::BuiltinMixedCase},
    {"now", &QVScript::BuiltinNow},
    {"openText", &QVScript::BuiltinNotAvailable},
    {"pad", &QVScript::BuiltinPad},
    {"pos", &QVScript::BuiltinPos},
    {"posNc", &QVScript::BuiltinPosNc},
    {"print", &QVScript::BuiltinPrint},
    {"println", &QVScript::BuiltinPrintln},
    {"putClip", &QVScript::BuiltinNotAvailable},
    {"moveFile", &QVScript::BuiltinNotAvailable},
    {"right", &QVScript::BuiltinRight},
    {"rtrim", &QVScript::BuiltinRTrim},
    {"run", &QVScript::BuiltinNotAvailable},
    {"saveSetup", &QVScript::BuiltinNotAvailable},
    {"setEnvVar", &QVScript::BuiltinNotAvailable},
    {"setStoredPath", &QVScript::BuiltinNotAvailable},
    {"sleep", &QVScript::BuiltinSleep},
    {"startsWith", &QVScript::BuiltinStartsWith},
    {"subst", &QVScript::BuiltinSubst},
    {"synchronize", &QVScript::BuiltinNotAvailable},
    {"tag", &QVScript::BuiltinNotAvailable},
    {"trim", &QVScript::BuiltinTrim},
    {"typeOf", &QVScript::BuiltinTypeOf},
    {"untag", &QVScript::BuiltinNotAvailable},
    {"upperCase", &QVScript::BuiltinUpperCase},
    {"values", &QVScript::BuiltinValues},
    {"view", &QVScript::BuiltinNotAvailable},
};

ValueHandle QVScript::GetArgument(TArgumentStore& args, int type, int index) {
    ValueHandle argument = *args.CellAt(index);
    if (argument->GetType() == type)
        return argument;
    CToken* token = argument->GetSourceToken();
    ValueHandle converted = ConvertValue(*argument, type);
    if (converted->GetType() != ScriptUndefined)
        return converted;
    Estring text;
    text.Format("%s compatible type required for argument %d", ScriptKindLabel(type), index + 1);
    RunError(token ? token : Current(), Westring(text));
}

ValueHandle QVScript::BuiltinNotAvailable(TArgumentStore&) {
    RunError(Current(), Westring(BuiltinTable[m_builtinRow].name) + Westring(" is not available yet"));
}
