// The builtin functions by number: the order of this table numbers them
// (alphabetical, except that moveFile follows putClip), and the interpreter
// interns their names first, so that an identifier number below the count
// is the row of its builtin.
#include "script/QVScript.h"
#include "script/values/ScriptValue.h"

const QVScript::TBuiltinRow QVScript::BuiltinTable[QVScript::BuiltinCount] = {
    {"askConfirm", &QVScript::BuiltinAskConfirm},
    {"cd", &QVScript::BuiltinCd},
    {"colour", &QVScript::BuiltinColour},
    {"contains", &QVScript::BuiltinContains},
    {"containsNc", &QVScript::BuiltinContainsNc},
    {"copy", &QVScript::BuiltinCopy},
    {"copyFile", &QVScript::BuiltinCopyFile},
    {"createText", &QVScript::BuiltinCreateText},
    {"deleteFile", &QVScript::BuiltinDeleteFile},
    {"edit", &QVScript::BuiltinEdit},
    {"endsWith", &QVScript::BuiltinEndsWith},
    {"expandTimestamp", &QVScript::BuiltinExpandTimestamp},
    {"files", &QVScript::BuiltinFiles},
    {"fileFind", &QVScript::BuiltinFileFind},
    {"free", &QVScript::BuiltinFree},
    {"getClip", &QVScript::BuiltinGetClip},
    {"getCurrentDir", &QVScript::BuiltinGetCurrentDir},
    {"getEnvVar", &QVScript::BuiltinGetEnvVar},
    {"getMessage", &QVScript::BuiltinGetMessage},
    {"getStoredPath", &QVScript::BuiltinGetStoredPath},
    {"keys", &QVScript::BuiltinKeys},
    {"left", &QVScript::BuiltinLeft},
    {"len", &QVScript::BuiltinLen},
    {"lowerCase", &QVScript::BuiltinLowerCase},
    {"lpad", &QVScript::BuiltinLPad},
    {"ltrim", &QVScript::BuiltinLTrim},
    {"mid", &QVScript::BuiltinMid},
    {"mixedCase", &QVScript::BuiltinMixedCase},
    {"now", &QVScript::BuiltinNow},
    {"openText", &QVScript::BuiltinOpenText},
    {"pad", &QVScript::BuiltinPad},
    {"pos", &QVScript::BuiltinPos},
    {"posNc", &QVScript::BuiltinPosNc},
    {"print", &QVScript::BuiltinPrint},
    {"println", &QVScript::BuiltinPrintln},
    {"putClip", &QVScript::BuiltinPutClip},
    {"moveFile", &QVScript::BuiltinMoveFile},
    {"right", &QVScript::BuiltinRight},
    {"rtrim", &QVScript::BuiltinRTrim},
    {"run", &QVScript::BuiltinRun},
    {"saveSetup", &QVScript::BuiltinSaveSetup},
    {"setEnvVar", &QVScript::BuiltinSetEnvVar},
    {"setStoredPath", &QVScript::BuiltinSetStoredPath},
    {"sleep", &QVScript::BuiltinSleep},
    {"startsWith", &QVScript::BuiltinStartsWith},
    {"subst", &QVScript::BuiltinSubst},
    {"synchronize", &QVScript::BuiltinSynchronize},
    {"tag", &QVScript::BuiltinTag},
    {"trim", &QVScript::BuiltinTrim},
    {"typeOf", &QVScript::BuiltinTypeOf},
    {"untag", &QVScript::BuiltinUntag},
    {"upperCase", &QVScript::BuiltinUpperCase},
    {"values", &QVScript::BuiltinValues},
    {"view", &QVScript::BuiltinView},
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
