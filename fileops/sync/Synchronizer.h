// CSynchronizer: makes a target directory tree agree with a source tree.
//
// A run reads both trees into sorted lists of paths relative to their roots,
// merges the lists into a plan of operations (delete, remove directory, make
// directory, copy, update, revert), shows the plan for confirmation and
// carries it out with the copy engine and the delete workers under the copy
// progress window. The record types and lists live in the scope of this
// class, each in a header of its own.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/strings/Westring.h"

class CSynchronizer {
public:
    struct TSyncOptions;
    struct TDirectoryItem;
    class CDirectoryContents;
    struct TSyncOperation;
    class CSyncOperationList;
    class CSynchronizeOptionsDlg;
    class COpListConfirmDlg;

    // Reads the tree below `root` into the contents, under a progress window.
    // 0 when complete, 1 when the user broke off (Esc or Ctrl-C).
    static int ReadTree(CDirectoryContents& contents, const Westring& root);
    // Reads the source tree, then the target tree, and merges them into the
    // plan. False when the user broke off (the plan may then be partial).
    static bool CompareTrees(CSyncOperationList& plan, const TSyncOptions& options);
    // The merge alone, over lists read already (sorted); `compared` (when
    // given) counts the items merged for a progress window.
    static bool CompareTrees(CSyncOperationList& plan, CDirectoryContents& source, CDirectoryContents& target,
                             const TSyncOptions& options, std::atomic<uint32_t>* compared = nullptr);
    // Compare, confirm, execute: 0 when any of them stopped or was declined,
    // else the execution's result. `executed` (when given) is set when the
    // plan was carried out, in full or in part.
    static int CompareConfirmExecute(CSyncOperationList& plan, const TSyncOptions& options, bool* executed = nullptr);
    // Carries out the plan in its order: 1 only when every operation
    // succeeded, 0 when one failed, was skipped or the run was stopped.
    static int ExecuteSyncPlan(CSyncOperationList& plan, const TSyncOptions& options);
    // True when one tree lies in the other or they are one: by their path
    // components (exactly), or by the identity of the directories, so that a
    // second drive letter or a link onto the same tree is found too.
    static bool TreesOverlap(const Westring& source, const Westring& target);
};

// The run of a script: the options record filled by the caller, no options
// dialog. Refuses overlapping trees with the message. Non-zero when the plan
// was carried out to the end with every operation done.
int SynchronizeDirectories(CSynchronizer::TSyncOptions& options);
