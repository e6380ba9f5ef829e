// The answers a user gave once for the rest of an operation ("All", "None",
// "All Older" ...), kept from one ResetFileOpAnswers to the next so that they
// hold for every later item of the same command, also inside trees.
#pragma once

enum EOverwriteAnswer { OverwriteAsk = 0, OverwriteAll = 1, OverwriteNone = 2, OverwriteAllOlder = 3 };
enum EEachAnswer { AnswerAsk = 0, AnswerAll = 1, AnswerNone = 2 };

struct TFileOpAnswers {
    int overwrite;     // EOverwriteAnswer
    int openForWrite;  // EEachAnswer: copy files others write to
    int encryption;    // EEachAnswer: copy without encryption
    bool mergeAll;     // merge every existing directory without asking
    int readOnly;      // EEachAnswer: delete read-only files and directories
    bool treeAll;      // delete non-empty directories without asking
    int treeDepth;     // tree deletions running inside each other
    bool noUndelete;   // the "No _Undelete" choice of the delete dialog
};

extern TFileOpAnswers FileOpAnswers;

// Clears every answer and empties the skip list; called before each
// user-level copy, move or delete and each file builtin of scripts.
void ResetFileOpAnswers();
