#include "archive/ArchiveDirectorySource.h"

#include "app/DirectorySource.h"
#include "app/Panel.h"
#include "archive/Archive.h"

namespace {

class CArchiveDirectorySource : public IDirectorySource {
public:
    CArchiveDirectorySource(CArchive* archive, const Westring& directory) : archive(archive), directory(directory) {}
    DWORD First(entry** item) override { return ArchiveFindFirst(archive, directory, item); }
    DWORD Next(entry** item) override { return ArchiveFindNext(archive, item); }

private:
    CArchive* archive;
    Westring directory;  // inside the archive, without a leading backslash
};

IDirectorySource* OpenArchiveDirectorySource(CPanel* panel, DWORD& error)
{
    error = 0;
    if (!panel->archive)
        return nullptr;
    Westring path(panel->path);
    Westring display = GetArchiveDisplayPath(panel->archive);
    Westring inside = path.Length() > display.Length() ? path.Mid(display.Length() + 1, 0) : Westring();
    return new CArchiveDirectorySource(panel->archive, inside);
}

}  // namespace

void InstallArchiveDirectorySource()
{
    AddDirectorySource(OpenArchiveDirectorySource);
}
