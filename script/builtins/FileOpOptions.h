// The option words of the file builtins: a script answers the questions of
// copy and move in advance by naming the answers in a list. Only the list's
// string elements count, compared without regard to case; other elements and
// unknown words are passed over.
#pragma once

class IScriptValue;

// copyFile and moveFile: sets the remembered answers from the words found
// anywhere in the list ("Overwrite" before "NoOverwrite" before
// "OverwriteOlder" whatever their order; "DeleteReadOnly", "DeleteTree",
// "ReadWritten"). A null list sets nothing.
void ApplyFileOpOptions(IScriptValue* options);

// copy: the words in list order, a later one overriding an earlier one
// ("OverwriteAll", "OverwriteNone", "OverwriteAllOlder"), and the copy
// command's flags ("DerefSymLinks" follows links).
int ApplyCopyOptions(IScriptValue* options);

// synchronize: the six switches of a run, each on exactly when its word is
// in the list, as bits in this order.
enum {
    SyncWordCopyMissing = 1,
    SyncWordUpdateOlder = 2,
    SyncWordRevertNewer = 4,
    SyncWordDeleteExtra = 8,
    SyncWordUpdateSmaller = 16,
    SyncWordUpdateLarger = 32
};
int ReadSyncOptionWords(IScriptValue* options);
