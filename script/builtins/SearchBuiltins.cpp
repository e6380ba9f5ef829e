// The builtins that walk whole directory trees: a file find without its
// window, and the synchroniser without its options dialog.
#include "app/panels/Panel.h"
#include "app/settings/Config.h"
#include "fileops/FileOpAnswers.h"
#include "fileops/find/FFEntryStore.h"
#include "fileops/find/FileFindJob.h"
#include "fileops/sync/SyncOptions.h"
#include "fileops/sync/Synchronizer.h"
#include "script/QVScript.h"
#include "script/builtins/FileOpOptions.h"
#include "script/values/PanelEntryValues.h"
#include "script/values/ScriptValue.h"

namespace {

// The results of one find, held by its list value and the items taken from
// it.
class CFoundStore : public CFoundEntries {
public:
    int Count() override { return store.Count(); }
    entry* At(int index) override { return store.At(index); }
    FFEntryStore store;
};

}  // namespace

ValueHandle QVScript::BuiltinFileFind(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    Westring mask = GetArgument(args, ScriptString, 0)->GetString();
    ValueHandle options = GetArgument(args, ScriptMap, 1);
    ResetFileOpAnswers();
    // The search settings come from the options alone; the rest of the
    // configuration (the drives of a multi-drive search ...) stays the user's.
    TCONFIG config = Config;
    struct {
        const char* key;
        uint8_t TCONFIG::*setting;
        bool byDefault;
    } const switches[] = {
        {"startAtRoot", &TCONFIG::FFRootSearch, false},
        {"scanSubdirectories", &TCONFIG::FFRecurse, true},
        {"followDirectorySymlinks", &TCONFIG::FFFollowLinks, false},
        {"caseSensitive", &TCONFIG::FFCase, false},
        {"wholeWord", &TCONFIG::FFWholeWord, false},
    };
    for (const auto& row : switches) {
        ValueHandle* item = options->FindMapItem(CScriptValue(Westring(row.key)));
        config.*row.setting = item && *item ? ToLogical(**item) : row.byDefault;
    }
    ValueHandle* depth = options->FindMapItem(CScriptValue(Westring("depth")));
    config.FFDepth = depth && *depth && (*depth)->GetType() == ScriptInt ? int32_t((*depth)->GetInt()) : 0;
    ValueHandle* containing = options->FindMapItem(CScriptValue(Westring("containing")));
    Westring text =
        containing && *containing && (*containing)->GetType() == ScriptString ? (*containing)->GetString() : Westring();
    CFoundStore* results = new CFoundStore();
    TAutoPtr<CFoundEntries> found(results);
    DoFileFind(results->store, mask, text, Westring(Panels[ActiveSide].path), config);
    return ValueHandle(new CFileFindEntryListValue(found));
}

ValueHandle QVScript::BuiltinSynchronize(TArgumentStore& args) {
    CheckArgRange(args.Count(), 3, 5);
    CSynchronizer::TSyncOptions record;
    record.source = GetArgument(args, ScriptString, 0)->GetString();
    record.target = GetArgument(args, ScriptString, 1)->GetString();
    ValueHandle options = GetArgument(args, ScriptList, 2);
    record.fileFilter = args.Count() > 3 ? GetArgument(args, ScriptString, 3)->GetString() : Westring("*");
    record.directoryFilter = args.Count() > 4 ? GetArgument(args, ScriptString, 4)->GetString() : Westring("*");
    ResetFileOpAnswers();
    // The configured synchroniser settings play no part: only the words.
    int words = ReadSyncOptionWords(options.Get());
    record.copyMissing = (words & SyncWordCopyMissing) != 0;
    record.updateOld = (words & SyncWordUpdateOlder) != 0;
    record.revertNew = (words & SyncWordRevertNewer) != 0;
    record.deleteExtra = (words & SyncWordDeleteExtra) != 0;
    record.updateSmaller = (words & SyncWordUpdateSmaller) != 0;
    record.updateLarger = (words & SyncWordUpdateLarger) != 0;
    return ValueHandle(new CScriptValue(SynchronizeDirectories(record) != 0));
}
