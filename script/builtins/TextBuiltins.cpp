// The builtins over text. Positions and lengths count 32-bit units; every
// number is checked on its full 64-bit value before it becomes a position.
#include "base/strings/MixedCase.h"
#include "script/QVScript.h"
#include "script/values/ScriptValue.h"

namespace {

ValueHandle Text(const Westring& text) {
    return ValueHandle(new CScriptValue(text));
}

ValueHandle Bool(bool value) {
    return ValueHandle(new CScriptValue(value));
}

// A count clamped to 0 .. limit.
int Clamp(int64_t value, int limit) {
    if (value < 0)
        return 0;
    return value > limit ? limit : int(value);
}

}  // namespace

ValueHandle QVScript::BuiltinLeft(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle n = GetArgument(args, ScriptInt, 1);
    const Westring& s = text->GetString();
    return Text(s.Left(Clamp(n->GetInt(), s.Length())));
}

ValueHandle QVScript::BuiltinRight(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle n = GetArgument(args, ScriptInt, 1);
    const Westring& s = text->GetString();
    int64_t count = n->GetInt();
    // A negative count, taken as an unsigned one, is more than the text has.
    if (count < 0 || count > s.Length())
        count = s.Length();
    return Text(s.Right(int(count)));
}

ValueHandle QVScript::BuiltinMid(TArgumentStore& args) {
    CheckArgRange(args.Count(), 2, 3);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle start = GetArgument(args, ScriptInt, 1);
    int64_t count = 0;
    if (args.Count() > 2)
        count = GetArgument(args, ScriptInt, 2)->GetInt();
    const Westring& s = text->GetString();
    int64_t from = start->GetInt();
    if (from < 0 || from >= s.Length())
        return Text(Westring());
    int64_t rest = s.Length() - from;
    if (count <= 0 || count > rest)
        count = rest;
    return Text(s.Mid(int(from), int(count)));
}

ValueHandle QVScript::BuiltinPad(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle width = GetArgument(args, ScriptInt, 1);
    int64_t n = width->GetInt();
    CheckTextLength(n, args.CellAt(1)->Get()->GetSourceToken());
    return Text(text->GetString().Pad(n < 0 ? 0 : int(n)));
}

ValueHandle QVScript::BuiltinLPad(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle width = GetArgument(args, ScriptInt, 1);
    int64_t n = width->GetInt();
    CheckTextLength(n, args.CellAt(1)->Get()->GetSourceToken());
    return Text(text->GetString().LPad(n < 0 ? 0 : int(n)));
}

ValueHandle QVScript::BuiltinSubst(TArgumentStore& args) {
    CheckArgCount(args.Count(), 3);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle from = GetArgument(args, ScriptString, 1);
    ValueHandle to = GetArgument(args, ScriptString, 2);
    Westring result(text->GetString());
    const Westring& search = from->GetString();
    const Westring& replacement = to->GetString();
    if (search.IsEmpty())
        return Text(result);
    if (replacement.Length() > search.Length()) {
        // The result's length is known before it is made.
        int64_t found = 0;
        for (int at = result.FindFrom(search, 0); at >= 0; at = result.FindFrom(search, at + search.Length()))
            found++;
        CheckTextLength(int64_t(result.Length()) + found * (replacement.Length() - search.Length()), Current());
    }
    result.ReplaceAll(search, replacement);
    return Text(result);
}

ValueHandle QVScript::BuiltinTrim(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return Text(GetArgument(args, ScriptString, 0)->GetString().Trim());
}

ValueHandle QVScript::BuiltinLTrim(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return Text(GetArgument(args, ScriptString, 0)->GetString().TrimLeft());
}

ValueHandle QVScript::BuiltinRTrim(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return Text(GetArgument(args, ScriptString, 0)->GetString().TrimRight());
}

ValueHandle QVScript::BuiltinUpperCase(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return Text(GetArgument(args, ScriptString, 0)->GetString().ToUpper());
}

ValueHandle QVScript::BuiltinLowerCase(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return Text(GetArgument(args, ScriptString, 0)->GetString().ToLower());
}

ValueHandle QVScript::BuiltinMixedCase(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Westring text(GetArgument(args, ScriptString, 0)->GetString());
    ToMixedCase(text);
    return Text(text);
}

ValueHandle QVScript::BuiltinPos(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle part = GetArgument(args, ScriptString, 1);
    return ValueHandle(new CScriptValue(int64_t(text->GetString().Find(part->GetString()))));
}

ValueHandle QVScript::BuiltinPosNc(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    ValueHandle text = GetArgument(args, ScriptString, 0);
    ValueHandle part = GetArgument(args, ScriptString, 1);
    return ValueHandle(new CScriptValue(int64_t(text->GetString().FindNoCase(part->GetString()))));
}

ValueHandle QVScript::BuiltinContains(TArgumentStore& args) {
    return Bool(BuiltinPos(args)->GetInt() >= 0);
}

ValueHandle QVScript::BuiltinContainsNc(TArgumentStore& args) {
    return Bool(BuiltinPosNc(args)->GetInt() >= 0);
}

ValueHandle QVScript::BuiltinStartsWith(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    const Westring& text = GetArgument(args, ScriptString, 0)->GetString();
    ValueHandle prefixValue = GetArgument(args, ScriptString, 1);
    const Westring& prefix = prefixValue->GetString();
    return Bool(prefix.Length() <= text.Length() && text.Left(prefix.Length()).EqualsExact(prefix));
}

ValueHandle QVScript::BuiltinEndsWith(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    ValueHandle textValue = GetArgument(args, ScriptString, 0);
    ValueHandle suffixValue = GetArgument(args, ScriptString, 1);
    const Westring& text = textValue->GetString();
    const Westring& suffix = suffixValue->GetString();
    return Bool(suffix.Length() <= text.Length() && text.Right(suffix.Length()).EqualsExact(suffix));
}
