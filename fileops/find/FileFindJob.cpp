#include "fileops/find/FileFindJob.h"

#include <algorithm>

#include "base/io/DirScanner.h"
#include "base/strings/Str32.h"
#include "fileops/FileContainsText.h"
#include "fileops/find/FindReadAhead.h"
#include "fileops/find/SearchFileForText.h"
#include "ui/ConsoleControl.h"

namespace {

const uint16_t AttributeDirectory = 0x10;
const uint16_t AttributeReparsePoint = 0x400;
// Read-only, system, directory and archive; hidden is added by the setting.
// The roots of virtual file systems are passed by: a walk from C:\ on
// Linux would otherwise read /proc without end.
const DWORD WalkAttributeMask = 0x35 | CDirScanner::ScanNoVirtualRoots;
const DWORD HiddenAttribute = 0x2;

Westring JoinPath(const Westring& directory, const char32_t* name) {
    Westring path = AddTrailingBackslash(directory);
    path += Westring(name);
    return path;
}

bool IsDotName(const char32_t* name) {
    return name[0] == U'.' && (name[1] == 0 || (name[1] == U'.' && name[2] == 0));
}

// With links followed, a directory is entered once whatever the road to it:
// false when one of the same identity was entered before (a link back to an
// ancestor, or two links onto one directory).
bool FirstEntry(TFileFindJob& job, const Westring& directory) {
    TFileIdentity identity;
    if (GetFileIdentity(directory, identity) != 0)
        return true;
    auto less = [](const TFileIdentity& a, const TFileIdentity& b) {
        return a.volume != b.volume ? a.volume < b.volume : a.index < b.index;
    };
    auto at = std::lower_bound(job.entered.begin(), job.entered.end(), identity, less);
    if (at != job.entered.end() && *at == identity)
        return false;
    job.entered.insert(at, identity);
    return true;
}

// The root of the start directory's drive: "C:\", or for a network path the
// share itself ("\\server\share\"), whose first three characters name no
// directory.
Westring DriveRootOf(const Westring& directory) {
    if (directory.Length() >= 2 && directory[0] == U'\\' && directory[1] == U'\\') {
        int slashes = 0;
        for (int i = 2; i < directory.Length(); i++) {
            if (directory[i] == U'\\' && ++slashes == 2)
                return directory.Left(i + 1);
        }
        return AddTrailingBackslash(directory);
    }
    return directory.Left(3);
}

}  // namespace

int CFindDirectorySet::CompareKeys(const Westring* a, const Westring* b) {
    int order = Str32CompareNoCase(a->Data(), b->Data());
    return order != 0 ? order : Str32Compare(a->Data(), b->Data());
}

TFileFindJob::TFileFindJob(IFileFinderUI* ui, const Westring* masks, const Westring* text,
                           const Westring* startDirectory, const TCONFIG* config)
    : ui(ui), masks(masks), text(text), startDirectory(startDirectory), config(config), stop(0), prefixLength(0) {}

void BuildFindRoots(TFileFindJob& job) {
    job.pending.FreeAll();
    job.roots.FreeAll();
    job.entered.clear();
    const TCONFIG& config = *job.config;
    if (config.FFMultiDrive) {
        const Estring& drives = config.FFDriveList;
        for (int i = 0; i < drives.Length(); i++) {
            Westring root;
            root.AppendChar(static_cast<unsigned char>(drives[i]));
            root += Westring(":\\");
            job.roots.Add(new Westring(root));
        }
        job.startPrefix = Westring();
    } else if (config.FFRootSearch) {
        job.startPrefix = DriveRootOf(*job.startDirectory);
        job.roots.Add(new Westring(job.startPrefix));
    } else {
        job.startPrefix = *job.startDirectory;
        job.roots.Add(new Westring(job.startPrefix));
    }
    job.prefixLength = job.startPrefix.IsEmpty() ? 0 : AddTrailingBackslash(job.startPrefix).Length();
}

int32_t FindDirDepth(const TFileFindJob& job, const Westring& directory) {
    Westring rest = directory.Length() > job.prefixLength ? directory.Mid(job.prefixLength, 0) : Westring();
    const int n = rest.Length();
    if (n > 0 && rest[n - 1] == U'\\' && !(n <= 3 && n >= 2 && rest[1] == U'\\'))
        rest = rest.Left(n - 1);
    if (rest.IsEmpty())
        return 1;
    int32_t depth = 1;
    for (int i = 0; i < rest.Length(); i++) {
        if (rest[i] == U'\\')
            depth++;
    }
    return depth;
}

void RunFileFind(TFileFindJob& job, FFEntryStore& store) {
    // stop is not cleared here: the one who starts the walk clears it before,
    // so that a stop asked for before the walk got going is not lost.
    BuildFindRoots(job);
    const TCONFIG& config = *job.config;
    const Westring& text = *job.text;
    const DWORD attributeMask = WalkAttributeMask | (config.Hidden ? HiddenAttribute : 0);
    const int16_t textLength = static_cast<int16_t>(text.Length() > 0x7FFF ? 0x7FFF : text.Length());
    CFindReadAhead ahead(job, attributeMask, job.helpers >= 0 ? job.helpers : CFindReadAhead::DefaultHelpers());
    std::vector<const Westring*> next;

    while ((job.roots.Count() > 0 || job.pending.Count() > 0) && job.stop == 0) {
        if (job.pending.Count() == 0)
            job.pending.Insert(job.roots.RemoveAt(0));
        Westring* taken = job.pending.RemoveAt(0);
        Westring current(*taken);
        delete taken;
        if (config.FFFollowLinks && !FirstEntry(job, current)) {
            ahead.Drop(current);
            continue;
        }
        job.ui->EnterDirectory(current);

        std::unique_ptr<TFindListing> listing = ahead.Take(current, SearchBreakRequestedNow);
        if (listing == nullptr) {
            job.stop = 1;
            break;
        }
        // A helper that ran short of memory left its listing unfinished.
        if (!listing->complete && job.stop == 0)
            listing = ListFindDirectory(job, current, attributeMask);
        for (const TFindListing::TItem& listed : listing->items) {
            if (job.stop != 0)
                break;
            const entry* item = listed.record;
            job.ui->Tick();
            const bool dots = IsDotName(item->name);
            const bool directory = (item->attributes & AttributeDirectory) != 0;
            const bool link = (item->attributes & AttributeReparsePoint) != 0;
            if (directory && !dots && config.FFRecurse && (!link || config.FFFollowLinks)) {
                Westring sub = JoinPath(current, item->name);
                if (config.FFDepth <= 0 || FindDirDepth(job, sub) <= config.FFDepth)
                    job.pending.InsertCopy(sub);
            }
            if (dots || listed.matched < 1)
                continue;
            int64_t result = FileTextNotFound;
            if (!text.IsEmpty()) {
                if (directory)
                    continue;
                result = listed.result;
                if (result == FileTextNotFound)
                    continue;
            }
            Westring path = JoinPath(current, item->name);
            job.ui->LockResults();
            entry* found = store.AddFound(*item, path);
            if (found != nullptr && (result >= 0 || result == FileTextUnreadable)) {
                found->matchOffset = result;
                found->matchLength = textLength;
            }
            job.ui->UnlockResults();
            if (result == FileTextBroken)
                job.stop = 1;
        }
        listing.reset();
        if (UserAbortState == UserAbortRequested || SearchBreakRequested())
            job.stop = 1;
        // The next directories in the order they will be taken go to the
        // helpers while this thread works on the one at the front.
        if (job.stop == 0 && ahead.HasRoom()) {
            next.clear();
            for (int i = 0; i < job.pending.Count() && next.size() < CFindReadAhead::MaxHelpers * 8; i++)
                next.push_back(job.pending.At(i));
            ahead.Ahead(next);
        }
    }
    job.ui->SearchDone(job.stop != 0);
}

void DoFileFind(FFEntryStore& store, const Westring& masks, const Westring& text, const Westring& startDirectory,
                const TCONFIG& config) {
    DummyUI ui;
    TFileFindJob job(&ui, &masks, &text, &startDirectory, &config);
    CUserAbortScope abortScope(UserAbortPolling);
    RunFileFind(job, store);
}
