#include "script/builtins/FileOpOptions.h"

#include "fileops/CopyCommand.h"
#include "fileops/FileOpAnswers.h"
#include "script/values/IScriptValue.h"

namespace {

// Calls `take` with each string element of the list, in order.
template <class F>
void ForEachWord(IScriptValue* options, F take) {
    if (!options)
        return;
    int cursor = 0;
    options->BeginIteration(cursor);
    for (ValueHandle item = options->IterateNext(cursor); item; item = options->IterateNext(cursor)) {
        if (item->GetType() == ScriptString)
            take(item->GetString());
    }
}

bool Is(const Westring& word, const char* name) {
    return word.EqualsNoCase(Westring(name));
}

}  // namespace

void ApplyFileOpOptions(IScriptValue* options) {
    bool overwrite = false, noOverwrite = false, older = false;
    ForEachWord(options, [&](const Westring& word) {
        if (Is(word, "Overwrite"))
            overwrite = true;
        else if (Is(word, "NoOverwrite"))
            noOverwrite = true;
        else if (Is(word, "OverwriteOlder"))
            older = true;
        else if (Is(word, "DeleteReadOnly"))
            FileOpAnswers.readOnly = AnswerAll;
        else if (Is(word, "DeleteTree"))
            FileOpAnswers.treeAll = true;
        else if (Is(word, "ReadWritten"))
            FileOpAnswers.openForWrite = AnswerAll;
    });
    if (overwrite)
        FileOpAnswers.overwrite = OverwriteAll;
    else if (noOverwrite)
        FileOpAnswers.overwrite = OverwriteNone;
    else if (older)
        FileOpAnswers.overwrite = OverwriteAllOlder;
}

int ApplyCopyOptions(IScriptValue* options) {
    int flags = 0;
    ForEachWord(options, [&](const Westring& word) {
        if (Is(word, "OverwriteAll"))
            FileOpAnswers.overwrite = OverwriteAll;
        else if (Is(word, "OverwriteNone"))
            FileOpAnswers.overwrite = OverwriteNone;
        else if (Is(word, "OverwriteAllOlder"))
            FileOpAnswers.overwrite = OverwriteAllOlder;
        else if (Is(word, "DerefSymLinks"))
            flags = CopyCommandDereference;
    });
    return flags;
}

int ReadSyncOptionWords(IScriptValue* options) {
    static const char* const names[] = {"CopyMissing", "UpdateOlder",   "RevertNewer",
                                        "DeleteExtra", "UpdateSmaller", "UpdateLarger"};
    int bits = 0;
    ForEachWord(options, [&](const Westring& word) {
        for (int i = 0; i < 6; i++)
            if (Is(word, names[i]))
                bits |= 1 << i;
    });
    return bits;
}
