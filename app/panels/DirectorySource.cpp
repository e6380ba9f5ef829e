#include "app/panels/DirectorySource.h"

#include <memory>
#include <vector>

#include "app/panels/DirectoryPrefetch.h"
#include "app/panels/EntryStore.h"
#include "app/panels/NetworkBrowsing.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "base/io/DirScanner.h"
#include "base/strings/Str32.h"
#include "base/strings/StringStore.h"
#include "base/os/PathNormalizer.h"

namespace {

std::vector<TDirectorySourceOpener>& Openers() {
    static std::vector<TDirectorySourceOpener> openers;
    return openers;
}

std::unique_ptr<CPrefetchedListing> DiskPrefetch;

// A directory on a drive (or a share) through the system's directory search.
class CDiskSource : public IDirectorySource {
public:
    explicit CDiskSource(const Westring& path) : scanner(path) {}
    DWORD First(entry** item) override {
        return scanner.FindFirst(Westring(U"*"), CDirScanner::ScanEverything | CDirScanner::ScanSeparateRecords, item);
    }
    DWORD Next(entry** item) override { return scanner.FindNext(item); }

private:
    CDirScanner scanner;
};

// A directory inside the archive the panel has open, as its readers list it.
class CArchiveSource : public IDirectorySource {
public:
    CArchiveSource(CArchive* archive, const Westring& directory) : archive(archive), directory(directory) {}
    DWORD First(entry** item) override { return ArchiveFindFirst(archive, directory, item); }
    DWORD Next(entry** item) override { return ArchiveFindNext(archive, item); }

private:
    CArchive* archive;
    Westring directory;  // inside the archive, without a leading backslash
};

IDirectorySource* OpenArchiveSource(CPanel* panel, DWORD& error) {
    error = 0;
    if (!panel->archive)
        return nullptr;
    Westring path(panel->path);
    Westring display = GetArchiveDisplayPath(panel->archive);
    Westring inside = path.Length() > display.Length() ? path.Mid(display.Length() + 1, 0) : Westring();
    return new CArchiveSource(panel->archive, inside);
}

// The network root (its servers) or a server (its shares, after ".."): a
// list of directories taken whole when the source opens.
class CNetworkSource : public IDirectorySource {
public:
    DWORD First(entry** item) override {
        next = 0;
        return Next(item);
    }
    DWORD Next(entry** item) override {
        if (next >= names.Count())
            return ERROR_NO_MORE_FILES;
        const Westring& name = *names.At(next++);
        entry* made = MakeEntry(name.Data(), FILE_ATTRIBUTE_DIRECTORY, 0);
        if (!made)
            return ERROR_NOT_ENOUGH_MEMORY;
        bool parent = name.Length() == 2 && name[0] == '.' && name[1] == '.';
        made->sortClass = parent ? SORTCLASS_PARENT : SORTCLASS_DIRECTORY;
        *item = made;
        return 0;
    }
    bool Complete() const override { return true; }

    WestringStore names;

private:
    int next = 0;
};

// Serves "\\" and "\\server"; a deeper UNC path, or a view with nothing in
// it, is read as a directory.
IDirectorySource* OpenNetworkSource(CPanel* panel, DWORD& error) {
    error = 0;
    Westring path(panel->path);
    if (!IsUncPath(path))
        return nullptr;
    bool networkRoot = path.Length() == 2;
    if (!networkRoot && Str32FindChar(panel->path + 2, '\\'))
        return nullptr;
    CNetworkSource* source = new CNetworkSource;
    if (networkRoot) {
        error = EnumNetworkServers(source->names);
    } else {
        source->names.Add(new Westring(U".."));
        error = EnumServerShares(source->names, Westring(panel->path + 2));
    }
    int count = source->names.Count();
    if (error || count == 0 || (!networkRoot && count == 1)) {
        delete source;
        return nullptr;
    }
    return source;
}

}  // namespace

void AddDirectorySource(TDirectorySourceOpener opener) {
    std::vector<TDirectorySourceOpener>& openers = Openers();
    for (TDirectorySourceOpener known : openers)
        if (known == opener)
            return;
    openers.insert(openers.begin(), opener);
}

IDirectorySource* OpenDirectorySource(CPanel* panel, DWORD& error) {
    error = 0;
    for (TDirectorySourceOpener opener : Openers()) {
        if (IDirectorySource* source = opener(panel, error))
            return source;
        if (error)
            return nullptr;
    }
    if (IDirectorySource* source = OpenArchiveSource(panel, error))
        return source;
    if (IDirectorySource* source = OpenNetworkSource(panel, error))
        return source;
    if (error)
        return nullptr;
    if (DiskPrefetch && Str32Compare(DiskPrefetch->Path().Data(), panel->path) == 0)
        return DiskPrefetch.release();
    return new CDiskSource(Westring(panel->path));
}

void PrefetchDiskDirectory(const Westring& path) {
    DiskPrefetch.reset();
    DiskPrefetch.reset(new CPrefetchedListing(path));
}

void DropDiskPrefetch() {
    DiskPrefetch.reset();
}
