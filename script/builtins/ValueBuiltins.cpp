// The builtins over values, numbers and times, and the output builtins.
#include "platform/win32.h"
#include "script/QVScript.h"
#include "script/values/MapViews.h"
#include "script/values/ScriptValue.h"
#include "ui/ConsoleControl.h"

ValueHandle QVScript::BuiltinLen(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    IScriptValue& value = **args.CellAt(0);
    int64_t length = 0;
    int type = value.GetType();
    if (type == ScriptString)
        length = value.GetString().Length();
    else if (type == ScriptList || type == ScriptMap)
        length = value.GetCount();
    return ValueHandle(new CScriptValue(length));
}

ValueHandle QVScript::BuiltinTypeOf(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return ValueHandle(new CScriptValue(Westring(ScriptTypeName((*args.CellAt(0))->GetType()))));
}

ValueHandle QVScript::BuiltinKeys(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return ValueHandle(new CMapKeysValue(GetArgument(args, ScriptMap, 0)));
}

ValueHandle QVScript::BuiltinValues(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return ValueHandle(new CMapValuesValue(GetArgument(args, ScriptMap, 0)));
}

ValueHandle QVScript::BuiltinFree(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    (*args.CellAt(0))->AssignThrough(ValueHandle(new CScriptValue()));
    return ValueHandle(new CScriptValue());
}

ValueHandle QVScript::BuiltinNow(TArgumentStore& args) {
    CheckArgCount(args.Count(), 0);
    return ValueHandle(new CScriptValue(TTimestamp::Now()));
}

ValueHandle QVScript::BuiltinExpandTimestamp(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    TLocalDateTime local;
    GetArgument(args, ScriptTimestamp, 0)->GetTimestamp().ToLocalDateTime(local);
    struct {
        const char* key;
        int32_t value;
    } const items[] = {{"year", local.year},
                       {"month", local.month},
                       {"day", local.day},
                       {"hour", local.hour},
                       {"minute", local.minute},
                       {"second", local.second},
                       {"nanosecond", local.nanoseconds},
                       {"weekday", local.dayOfWeek}};
    ValueHandle map(CScriptValue::OfType(ScriptMap));
    for (const auto& item : items) {
        CScriptValue key{Westring(item.key)};
        map->SetMapItem(key, ValueHandle(new CScriptValue(int64_t(item.value))));
    }
    return map;
}

ValueHandle QVScript::BuiltinSleep(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    double milliseconds = GetArgument(args, ScriptReal, 0)->GetReal() * 1000.0;
    // A negative or not-a-number time does not wait.
    if (!(milliseconds > 0.0))
        return ValueHandle(new CScriptValue());
    if (sleepLimitMs >= 0 && milliseconds > double(sleepLimitMs))
        milliseconds = double(sleepLimitMs);
    if (milliseconds > 4294967294.0)
        milliseconds = 4294967294.0;
    // In slices, so that a break request ends the wait.
    DWORD left = DWORD(milliseconds);
    while (left > 0 && UserAbortState != UserAbortRequested) {
        DWORD slice = left < 100 ? left : 100;
        Sleep(slice);
        left -= slice;
    }
    return ValueHandle(new CScriptValue());
}

ValueHandle QVScript::BuiltinPrint(TArgumentStore& args) {
    for (int i = 0; i < args.Count(); i++)
        WriteValue(**args.CellAt(i));
    return ValueHandle(new CScriptValue());
}

ValueHandle QVScript::BuiltinPrintln(TArgumentStore& args) {
    BuiltinPrint(args);
    Write("\r\n");
    return ValueHandle(new CScriptValue());
}

ValueHandle QVScript::BuiltinGetMessage(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return ValueHandle(new CScriptValue(GetArgument(args, ScriptBool, 0)->GetString()));
}
