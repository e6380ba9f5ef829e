// The merge of the two sorted trees into the plan.
//
// Both lists are ordered by path without regard to case, so every spelling of
// one path forms a run on each side. Within a run the items pair exactly
// first, then without case, and only under the target directory that the
// source item's own directory went to: on a system that tells Src from src
// both are kept, and nothing is planned over or away from the other.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/strings/Str32.h"
#include "fileops/TimestampResolution.h"
#include "fileops/sync/DirectoryContents.h"
#include "fileops/sync/SyncOperationList.h"
#include "fileops/sync/SyncOptions.h"
#include "ui/ConsoleControl.h"
#include "ui/EscapePoll.h"
#include "ui/ProgressIndicatorThread.h"

namespace {

typedef CSynchronizer::TDirectoryItem TItem;
typedef CSynchronizer::TSyncOperation TOp;

std::u32string Key(const Westring& text) {
    return std::u32string(text.Data(), static_cast<size_t>(text.Length()));
}

Westring ParentOf(const Westring& path) {
    int slash = path.FindLast('\\');
    return slash < 0 ? Westring() : path.Left(slash);
}

Westring NameOf(const Westring& path) {
    int slash = path.FindLast('\\');
    return slash < 0 ? path : path.Mid(slash + 1, 0);
}

class CTreeMerge {
public:
    CTreeMerge(CSynchronizer::CSyncOperationList& plan, const CSynchronizer::TSyncOptions& options, int resolution)
        : plan(plan), options(options), resolution(resolution) {}

    // One run of spellings of the same path: source items [s, s + ns),
    // target items [t, t + nt).
    void MergeRun(TItem* const* s, int ns, TItem* const* t, int nt);

private:
    // Where a source path lands in the target: below the target's spelling
    // of its directory.
    Westring TargetPathOf(const Westring& sourcePath) const {
        Westring parent = ParentOf(sourcePath);
        if (parent.IsEmpty()) {
            return sourcePath;
        }
        auto it = directories.find(Key(parent));
        return it == directories.end() ? sourcePath
                                       : Westring(it->second.c_str()) + Westring("\\") + NameOf(sourcePath);
    }
    void Missing(const TItem& s, const Westring& targetPath);
    void Extra(const TItem& t);
    void BothFiles(const TItem& s, const TItem& t);
    // A source directory's contents go below `targetPath`.
    void MapDirectory(const TItem& s, const Westring& targetPath) {
        if (!targetPath.EqualsExact(s.path)) {
            directories[Key(s.path)] = Key(targetPath);
        }
    }

    CSynchronizer::CSyncOperationList& plan;
    const CSynchronizer::TSyncOptions& options;
    int resolution;
    // Source directories whose target spelling differs from their own.
    std::map<std::u32string, std::u32string> directories;
};

void CTreeMerge::Missing(const TItem& s, const Westring& targetPath) {
    if (s.IsDirectory()) {
        MapDirectory(s, targetPath);
        if (options.copyMissing) {
            plan.Add(TOp::MkDir, s.path, 0, &targetPath);
        }
    } else if (options.copyMissing) {
        plan.Add(TOp::Copy, s.path, s.size, &targetPath);
    }
}

void CTreeMerge::Extra(const TItem& t) {
    if (options.deleteExtra) {
        plan.Add(t.IsDirectory() ? TOp::DelDir : TOp::Delete, t.path, 0);
    }
}

void CTreeMerge::BothFiles(const TItem& s, const TItem& t) {
    int order = CompareTimestamps(RoundTimestamp(s.time, resolution), RoundTimestamp(t.time, resolution));
    int kind = -1;
    if (options.updateOld && order > 0) {
        kind = TOp::Update;
    } else if (options.updateSmaller && s.size > t.size) {
        kind = TOp::Update;
    } else if (options.updateLarger && s.size < t.size) {
        kind = TOp::Update;
    } else if (options.revertNew && order < 0) {
        kind = TOp::Revert;
    }
    if (kind >= 0) {
        // The copy writes onto the target item's own name.
        plan.Add(kind, s.path, s.size, &t.path);
    }
}

void CTreeMerge::MergeRun(TItem* const* s, int ns, TItem* const* t, int nt) {
    std::vector<Westring> targetPaths(ns);
    std::vector<int> partner(ns, -1);
    std::vector<bool> taken(nt, false);
    for (int i = 0; i < ns; i++) {
        targetPaths[i] = TargetPathOf(s[i]->path);
    }
    // Exact spellings first; then, in the same target directory, another
    // spelling of the same kind of item, then of either kind.
    for (int pass = 0; pass < 3; pass++) {
        for (int i = 0; i < ns; i++) {
            if (partner[i] >= 0) {
                continue;
            }
            for (int j = 0; j < nt; j++) {
                if (taken[j]) {
                    continue;
                }
                bool pairs = pass == 0 ? t[j]->path.EqualsExact(targetPaths[i])
                                       : ParentOf(t[j]->path).EqualsExact(ParentOf(targetPaths[i])) &&
                                             (pass == 2 || t[j]->IsDirectory() == s[i]->IsDirectory());
                if (pairs) {
                    partner[i] = j;
                    taken[j] = true;
                    break;
                }
            }
        }
    }
    for (int i = 0; i < ns; i++) {
        if (partner[i] < 0) {
            Missing(*s[i], targetPaths[i]);
            continue;
        }
        const TItem& source = *s[i];
        const TItem& target = *t[partner[i]];
        if (source.IsDirectory() && target.IsDirectory()) {
            MapDirectory(source, target.path);
        } else if (!source.IsDirectory() && !target.IsDirectory()) {
            BothFiles(source, target);
        } else {
            // A file where the other side has a directory: the target item
            // goes (when extras go) and the source item comes.
            Extra(target);
            Missing(source, targetPaths[i]);
        }
    }
    for (int j = 0; j < nt; j++) {
        if (!taken[j]) {
            Extra(*t[j]);
        }
    }
}

}  // namespace

bool CSynchronizer::CompareTrees(CSyncOperationList& plan, CDirectoryContents& source, CDirectoryContents& target,
                                 const TSyncOptions& options, std::atomic<uint32_t>* compared) {
    int resolution = source.resolution < target.resolution ? source.resolution : target.resolution;
    CTreeMerge merge(plan, options, resolution);
    int n = source.Count();
    int m = target.Count();
    int i = 0;
    int j = 0;
    for (;;) {
        if (UserAbortState == UserAbortRequested || PollEscapeKey()) {
            return false;
        }
        if (i >= n && j >= m) {
            break;
        }
        // The run of the path that sorts first on either side.
        const Westring& key =
            i < n && (j >= m || Str32CompareNoCase(source.At(i)->path.Data(), target.At(j)->path.Data()) <= 0)
                ? source.At(i)->path
                : target.At(j)->path;
        int endI = i;
        while (endI < n && Str32CompareNoCase(source.At(endI)->path.Data(), key.Data()) == 0) {
            endI++;
        }
        int endJ = j;
        while (endJ < m && Str32CompareNoCase(target.At(endJ)->path.Data(), key.Data()) == 0) {
            endJ++;
        }
        std::vector<TItem*> runS;
        std::vector<TItem*> runT;
        for (int k = i; k < endI; k++) {
            runS.push_back(source.At(k));
        }
        for (int k = j; k < endJ; k++) {
            runT.push_back(target.At(k));
        }
        merge.MergeRun(runS.data(), endI - i, runT.data(), endJ - j);
        if (compared != nullptr) {
            *compared += static_cast<uint32_t>(endI - i + endJ - j);
        }
        i = endI;
        j = endJ;
    }
    plan.Sort();
    return true;
}

bool CSynchronizer::CompareTrees(CSyncOperationList& plan, const TSyncOptions& options) {
    plan.Clear();
    CDirectoryContents source("Source", options.fileFilter, options.directoryFilter);
    CDirectoryContents target("Target", options.fileFilter, options.directoryFilter);
    if (ReadTree(source, options.source) != 0 || ReadTree(target, options.target) != 0) {
        return false;
    }
    TProgressCount compared(0);
    DirReadProgress progress(&compared, Westring("Comparing:"));
    return CompareTrees(plan, source, target, options, &compared);
}
