#include "archive/ArchiveMembers.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "app/settings/ArchiverSettings.h"
#include "archive/ArchiveCommands.h"
#include "archive/ArchiverCommandLine.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"
#include "base/os/FileTimes.h"
#include "base/os/PathNormalizer.h"
#include "base/os/SystemError.h"
#include "base/strings/Estring.h"
#include "fileops/DeleteCommands.h"
#include "fileops/DeleteWorkers.h"
#include "fileops/FileOpAnswers.h"
#include "shell/CommandMacros.h"
#include "shell/TempFiles.h"
#include "ui/MessageBox.h"

namespace {

Westring JoinInside(const Westring& directory, const Westring& name) {
    return directory.IsEmpty() ? name : directory + Westring("\\") + name;
}

Westring WithSlashes(const Westring& path) {
    Westring out = path;
    out.ReplaceAll(Westring("\\"), Westring("/"));
    return out;
}

Westring CodeText(int code) {
    Estring text;
    text.Format(" (%d)", code);
    return Westring(text);
}

const char* const UnwritableMemberMessage = "This member's name cannot be a file name here";

// The code of a member command that did not run because the program could not
// be given the member's name safely (which has been said).
const int RefusedName = -2;

// Runs a member command (extract or update) of the archive in `folder`: the
// command with its program found, the member as its one name. The exit code.
// `extracting`: the name is matched among the members (an update names the
// copy in the folder, a file the program takes by its own name).
int RunMemberCommand(CArchive* archive, const Estring& definition, const Westring& member, const Westring& folder,
                     int& unzipFlag, bool extracting) {
    const TArchiverSettings& settings = ArchiverSettings[archive->archiverIndex];
    Westring name = settings.slashFlag ? WithSlashes(member) : member;
    Westring command(definition.Data());
    ResolveArchiverProgram(command, unzipFlag);
    const TArchiverNameRules& rules = FindArchiverNameRules(command);
    if (!ArchiverCanTakeName(rules, name, false, false)) {
        ReportArchiveError(archive, Westring(ArchiverRefusedNameMessage), member, MessageBoxOk);
        return RefusedName;
    }
    name = ArchiverLiteralName(rules, name, extracting);
    TArchiverWords names;
    AddArchiverNameWords(names, std::vector<Westring>{name}, command);
    Westring kept = GetDriveCurrentDirectoryWide(folder.Length() > 0 ? folder[0] : 0);
    if (ChangeDirectory(folder) != 0)
        return -1;
    int code = ExpandArchiverCommand(command, archive->filePath, names, ArchiverSide(archive));
    if (!kept.IsEmpty())
        ChangeDirectory(kept);
    return code;
}

// A path inside the archive whose every component the file-name rules allow.
bool WritableName(const Westring& path) {
    for (int i = 0; i < path.Length(); i++) {
        char32_t c = path[i];
        if (c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*')
            return false;
        bool ends = i + 1 == path.Length() || path[i + 1] == '\\';
        if (ends && (c == '.' || c == ' ')) {
            // "." and ".." are the readers' own business, not a name.
            bool dots = c == '.' && (i == 0 || path[i - 1] == '\\' ||
                                     (path[i - 1] == '.' && (i == 1 || path[i - 2] == '\\')));
            if (!dots)
                return false;
        }
    }
    return true;
}

bool CopyExists(const Westring& path) {
    DWORD attributes = 0;
    return ReadFileAttributes(path, attributes) == 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool ArchiveMembersWritable(CArchive* archive, const Westring& pathInside, bool isDirectory) {
    Westring bad;
    if (!WritableName(pathInside)) {
        bad = pathInside;
    } else if (isDirectory) {
        for (int i = 0; i < archive->entries.Count() && bad.IsEmpty(); i++) {
            const TArchiveEntry* member = archive->entries.At(i);
            Westring full = JoinInside(Westring(member->directory), Westring(member->name));
            if (IsSameOrSubPath(pathInside, Westring(member->directory)) && !WritableName(full))
                bad = full;
        }
    }
    if (bad.IsEmpty())
        return true;
    ReportArchiveError(archive, Westring(UnwritableMemberMessage), bad, MessageBoxOk);
    return false;
}

bool MakeTemporaryFolder(Westring& folder, const Westring* parent) {
    for (int attempt = 0; attempt < 100; attempt++) {
        Westring name;
        if (MakeTempFileName(name, parent) != 0)
            return false;
        // The free name is taken as a folder.
        DeleteFileOrLink(name);
        if (MakeDirectory(name) == 0) {
            folder = name;
            return true;
        }
    }
    return false;
}

void RemoveTemporaryFolder(const Westring& folder) {
    TFileOpAnswers saved = FileOpAnswers;
    FileOpAnswers.readOnly = AnswerAll;
    FileOpAnswers.treeAll = true;
    DeleteOneDirectory(folder, nullptr);
    FileOpAnswers = saved;
}

bool ArchiveMemberDotted(CArchive* archive, const Westring& directory, const Westring& name, bool isDirectory) {
    if (!isDirectory) {
        const TArchiveEntry* member = ArchiveFindEntry(archive, directory, name);
        return member != nullptr && member->dotted != 0;
    }
    // A folder has no member of its own as a rule: the first member below it
    // tells how its members were stored.
    const Westring savedDirectory = archive->currentDirectory;
    const Westring savedSubdirectory = archive->lastSubdirectory;
    const int savedPosition = archive->findPosition;
    const uint8_t savedDotted = archive->findDotted;
    bool dotted = ArchiveFindFirst(archive, JoinInside(directory, name), nullptr) == 0 && archive->findDotted != 0;
    archive->currentDirectory = savedDirectory;
    archive->lastSubdirectory = savedSubdirectory;
    archive->findPosition = savedPosition;
    archive->findDotted = savedDotted;
    return dotted;
}

Westring ExtractFromArchive(CArchive* archive, const Westring& entryPath, const Westring& destination) {
    const Westring local = AddTrailingBackslash(destination) + entryPath;
    Westring normal = local;
    Westring folder = destination;
    // A stored path must not lead out of the folder it is extracted into.
    bool inside = NormalizePath(normal) == 0 && NormalizePath(folder) == 0 && IsSameOrSubPath(folder, normal) &&
                  !normal.EqualsNoCase(folder);
    int unzipFlag = 0;
    int code = -1;
    if (inside)
        code = RunMemberCommand(archive, ArchiverSettings[archive->archiverIndex].Extract, entryPath, destination,
                                unzipFlag, true);
    if (code >= 0 && code <= unzipFlag)
        return local;
    if (code == RefusedName) {
        archive->lastExtracted.Clear();
        return Westring();
    }
    ReportArchiveError(archive, Westring("An error occurred extracting"),
                       entryPath + Westring(" to ") + destination + CodeText(code), MessageBoxOk);
    archive->lastExtracted.Clear();
    return Westring();
}

int UpdateArchive(CArchive* archive) {
    if (archive->lastExtracted.IsEmpty())
        return 1;
    const Westring copy = AddTrailingBackslash(archive->temporaryFolder) + archive->lastExtracted;
    TTimestamp now;
    DWORD error = GetFileModifyTime(copy, now);
    if (error != 0) {
        ReportArchiveError(archive, Westring("Error reading file time stamp"), FormatSystemError(error), MessageBoxOk);
        return 0;
    }
    if (now == archive->extractedTime)
        return 1;
    const TArchiverSettings& settings = ArchiverSettings[archive->archiverIndex];
    const Estring& command = settings.CompressUpdate.IsEmpty() ? settings.Compress : settings.CompressUpdate;
    int unzipFlag = 0;
    int code = RunMemberCommand(archive, command, archive->lastExtracted, archive->temporaryFolder, unzipFlag, false);
    if (code == RefusedName)
        return 0;
    if (code >= 0 && code <= unzipFlag) {
        archive->extractedTime = now;  // put back: the same copy is not put back again
        return 1;
    }
    ReportArchiveError(archive, Westring("An error occurred updating"),
                       archive->lastExtracted + Westring(" to ") + archive->filePath + CodeText(code), MessageBoxOk);
    return 0;
}

void ReleaseArchiveMember(CArchive* archive) {
    if (archive->temporaryFolder.IsEmpty())
        return;
    const Westring copy = AddTrailingBackslash(archive->temporaryFolder) + archive->lastExtracted;
    if (UpdateArchive(archive) == 0 && !archive->lastExtracted.IsEmpty() && CopyExists(copy)) {
        // The changed copy is all there is of the user's work: it stays.
        ReportArchiveError(archive, Westring("The changed file was kept in"), copy, MessageBoxOk);
    } else {
        RemoveTemporaryFolder(archive->temporaryFolder);
    }
    archive->temporaryFolder.Clear();
    archive->lastExtracted.Clear();
}

Westring GetArchiveMemberFile(CArchive* archive, const Westring& pathInside) {
    int cut = pathInside.FindLast('\\');
    Westring directory = cut < 0 ? Westring() : pathInside.Left(cut);
    Westring name = cut < 0 ? pathInside : pathInside.Mid(cut + 1, 0);
    Westring entryPath = pathInside;
    if (ArchiveMemberDotted(archive, directory, name, false))
        entryPath = Westring(".\\") + entryPath;
    if (!archive->temporaryFolder.IsEmpty() && archive->lastExtracted.EqualsExact(entryPath))
        return AddTrailingBackslash(archive->temporaryFolder) + entryPath;
    ReleaseArchiveMember(archive);
    if (!ArchiveMembersWritable(archive, pathInside, false))
        return Westring();
    Westring folder;
    if (!MakeTemporaryFolder(folder)) {
        ReportArchiveError(archive, Westring("Unable to create temporary directory"), GetTempDirectory(), MessageBoxOk);
        return Westring();
    }
    archive->temporaryFolder = folder;
    archive->lastExtracted = entryPath;
    Westring path = ExtractFromArchive(archive, entryPath, folder);
    if (path.IsEmpty())
        return path;
    if (GetFileModifyTime(path, archive->extractedTime) != 0) {
        ReportArchiveError(archive, Westring("An error occurred extracting"), entryPath + Westring(" to ") + folder,
                           MessageBoxOk);
        archive->lastExtracted.Clear();
        return Westring();
    }
    return path;
}

Westring GetArchiveEntryFile(CArchive* archive, const Westring& name) {
    if (name.Find('\\') >= 0)
        return GetArchiveMemberFile(archive, name);
    return GetArchiveMemberFile(archive, JoinInside(archive->currentDirectory, name));
}

void DeleteFromArchive(CPanel* panel) {
    CArchive* archive = panel->archive;
    if (archive == nullptr)
        return;
    const TArchiverSettings& settings = ArchiverSettings[archive->archiverIndex];
    if (settings.Delete.IsEmpty()) {
        Estring text;
        text.Format("Deleting from %s not supported", GetArchiverName(archive->archiverIndex).Data());
        ShowMessageBox(Westring(text), Westring(), MessageBoxOk);
        return;
    }
    Westring base = archive->currentDirectory.IsEmpty() ? Westring() : archive->currentDirectory + Westring("\\");
    RunArchiverCommand(settings.Delete, archive->filePath, base, panel, settings, 0);
    ReloadPanelArchive(panel);
}

void InstallArchiveMemberHooks() {
    ArchiveMemberHooks.release = ReleaseArchiveMember;
    // F8 and the delete commands reach the members through the archiver.
    DeleteFromArchiveHook = DeleteFromArchive;
    ArchiveMemberHooks.entryFile = GetArchiveMemberFile;
    GetArchiveEntryFileHook = [](CPanel* panel, const Westring& name, Westring& localPath) {
        if (panel == nullptr || panel->archive == nullptr)
            return -1;
        localPath = GetArchiveEntryFile(panel->archive, name);
        return localPath.IsEmpty() ? -1 : 0;
    };
}
