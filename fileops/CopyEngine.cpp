#include "fileops/CopyEngine.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/settings/Colours.h"
#include "app/settings/OwnTemporaryFiles.h"
#include "base/io/StdFile.h"
#include "base/os/FileAttributes.h"
#include "base/os/FileIdentity.h"
#include "base/os/FilePrimitives.h"
#include "base/os/FileTimes.h"
#include "base/os/Links.h"
#include "base/os/PathDisplay.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/Utf16String.h"
#include "console/ScreenSize.h"
#include "fileops/CopyProgressWindow.h"
#include "fileops/DeleteWorkers.h"
#include "fileops/Descriptions.h"
#include "fileops/DirectoryListing.h"
#include "fileops/FileErrors.h"
#include "fileops/FileOpAnswers.h"
#include "ui/ConsoleControl.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"
#include "ui/Win.h"

bool CopyClearsReadOnly = false;
bool CopyLowerCasesNames = false;

namespace {

const DWORD AttrReadOnly = 0x1;
const DWORD AttrDirectory = 0x10;
const DWORD AttrReparse = 0x400;
const DWORD CopyBufferSize = 0x10000;
const int ErrorEncryptionFailed = 6000;
const int RenameInterrupted = -2;
const int ErrorSectorNotFound = 27;
const DWORD ErrorOpenFailed = 110;

// The "Copying" / "Moving" window, kept across the items of one operation.
Win* CopyingWindow = nullptr;

// Identities of the directories being copied right now, outermost first: a
// dereferenced link to one of them is copied as a link, so a tree holding a
// link to itself ends.
std::vector<TFileIdentity> ActiveTrees;

struct TSourceData {
    DWORD attributes;
    FILETIME creation;
    FILETIME access;
    FILETIME write;
    uint64_t size;
};

// The source's attributes, times and size, by name: names may hold '*' and
// '?', which a search would take as wildcards. With `follow` a link answers
// for what it points to.
DWORD ReadSourceData(const Westring& path, bool follow, TSourceData& data) {
    Utf16String wide(path);
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExW(wide.Data(), GetFileExInfoStandard, &info)) {
        return GetLastError();
    }
    data.attributes = info.dwFileAttributes;
    data.creation = info.ftCreationTime;
    data.access = info.ftLastAccessTime;
    data.write = info.ftLastWriteTime;
    data.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (follow && (data.attributes & AttrReparse) != 0) {
        HANDLE handle = CreateFileW(wide.Data(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return GetLastError();
        }
        BY_HANDLE_FILE_INFORMATION target;
        BOOL ok = GetFileInformationByHandle(handle, &target);
        DWORD error = ok ? 0 : GetLastError();
        CloseHandle(handle);
        if (!ok) {
            return error;
        }
        data.attributes = target.dwFileAttributes & ~AttrReparse;
        data.creation = target.ftCreationTime;
        data.access = target.ftLastAccessTime;
        data.write = target.ftLastWriteTime;
        data.size = (static_cast<uint64_t>(target.nFileSizeHigh) << 32) | target.nFileSizeLow;
    }
    return 0;
}

Westring DirectoryPart(const Westring& path) {
    int slash = path.FindLast('\\');
    return slash < 0 ? Westring() : path.Left(slash + 1);
}

// A new name for a temporary file beside the destination: a dot name, so it
// stays out of sight, that nothing else uses (the creation that takes it
// refuses an existing file, and the caller then asks again).
Westring TemporaryName(const Westring& destination) {
    return CopyTemporaryName(DirectoryPart(destination));
}

bool IsNameTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

void RemoveTemporary(const Westring& temp) {
    Utf16String wide(temp);
    SetFileAttributesW(wide.Data(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.Data());
}

// Puts the finished temporary file in the destination's place in one rename:
// replacing only when the user allowed it. A read-only destination gives up
// its bit for the rename and takes it back when the rename fails. 0 or the
// error (80 when the name was taken meanwhile).
DWORD PutInPlace(const Westring& temp, const Westring& destination, bool overwrite) {
    Utf16String from(temp);
    Utf16String to(destination);
    if (!overwrite) {
        if (MoveFileW(from.Data(), to.Data())) {
            return 0;
        }
        DWORD error = GetLastError();
        return IsNameTaken(error) ? ERROR_FILE_EXISTS : error;
    }
    DWORD old = GetFileAttributesW(to.Data());
    bool cleared = old != INVALID_FILE_ATTRIBUTES && (old & AttrReadOnly) != 0 && (old & AttrDirectory) == 0;
    if (cleared) {
        SetFileAttributesW(to.Data(), old & ~AttrReadOnly);
    }
    if (MoveFileExW(from.Data(), to.Data(), MOVEFILE_REPLACE_EXISTING)) {
        return 0;
    }
    DWORD error = GetLastError();
    if (cleared) {
        SetFileAttributesW(to.Data(), old);
    }
    return error;
}

// Gives the copy the source's attributes; bits the target's file system
// cannot keep are dropped, which does not fail the copy.
void TakeAttributes(const Westring& path, DWORD attributes) {
    Utf16String wide(path);
    DWORD wanted = attributes & ~(AttrDirectory | AttrReparse);
    if (wanted == 0) {
        wanted = FILE_ATTRIBUTE_NORMAL;
    }
    if (!SetFileAttributesW(wide.Data(), wanted)) {
        SetFileAttributesW(wide.Data(), (wanted & AttrReadOnly) ? AttrReadOnly : FILE_ATTRIBUTE_NORMAL);
    }
}

void StopProgress(CCopyProgressWindow* progress) {
    if (progress != nullptr) {
        progress->Stop();
    }
}

void StartProgress(CCopyProgressWindow* progress) {
    if (progress != nullptr) {
        progress->Start();
    }
}

// Asks ReportFileError with the progress stopped; true to retry. The code
// becomes -1 when the user cancelled.
bool AskRetry(int& code, const Westring& source, const Westring* destination, uint32_t options,
              CCopyProgressWindow* progress) {
    StopProgress(progress);
    int stop = 0;
    ReportFileError(code, stop, source.Data(), destination != nullptr ? destination->Data() : nullptr, options);
    if (stop == 0) {
        StartProgress(progress);
    }
    return stop == 0;
}

struct TCallbackState {
    CCopyProgressWindow* progress;
    int64_t seen;
    BOOL cancel;
};

// A source another program writes to: it opens while others may only read
// fails with a sharing violation, and opens while others may write.
bool IsOpenForWriting(const Westring& source) {
    StdFile probe;
    if (probe.Open(source, StdFile::ModeRead, StdFile::ShareRead) != ERROR_SHARING_VIOLATION) {
        return false;
    }
    return probe.Open(source, StdFile::ModeRead, StdFile::ShareReadWrite) == 0;
}

// The own copy loop: source into `target` (a new temporary file, or a device
// written as it is). 0, -1, 0x10001 or the error; a temporary file is left to
// the caller to remove.
int CopyWithOwnLoop(const Westring& source, const Westring& target, bool device, const TSourceData& data,
                    CCopyProgressWindow* progress, uint32_t options) {
    Utf16String from(source);
    Utf16String to(target);
    bool sharedOpen = (options & CopyOptionOpenForWriting) != 0;
    HANDLE in =
        CreateFileW(from.Data(), GENERIC_READ, sharedOpen ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION && !sharedOpen) {
        in = CreateFileW(from.Data(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (in != INVALID_HANDLE_VALUE) {
            CloseHandle(in);
            return CopyResultOpenForWriting;
        }
    }
    if (in == INVALID_HANDLE_VALUE) {
        return static_cast<int>(GetLastError());
    }
    DWORD createAttributes = data.attributes & ~(AttrReadOnly | AttrDirectory | AttrReparse | FILE_ATTRIBUTE_HIDDEN);
    HANDLE out =
        device
            ? CreateFileW(to.Data(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
            : CreateFileW(to.Data(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                          (createAttributes ? createAttributes : FILE_ATTRIBUTE_NORMAL) | FILE_FLAG_SEQUENTIAL_SCAN,
                          nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        CloseHandle(in);
        return error == ErrorOpenFailed ? ERROR_ACCESS_DENIED : static_cast<int>(error);
    }
    int result = 0;
    if (!device) {
        // Claiming the whole size first finds a full disk before any data
        // is written and keeps the file in one piece.
        LARGE_INTEGER size;
        size.QuadPart = static_cast<LONGLONG>(data.size);
        LARGE_INTEGER start;
        start.QuadPart = 0;
        if (!SetFilePointerEx(out, size, nullptr, FILE_BEGIN) || !SetEndOfFile(out) ||
            !SetFilePointerEx(out, start, nullptr, FILE_BEGIN)) {
            result = static_cast<int>(GetLastError());
        }
    }
    std::vector<unsigned char> buffer(result == 0 ? CopyBufferSize : 0);
    int readFailures = 0;
    while (result == 0) {
        DWORD got = 0;
        if (!ReadFile(in, buffer.data(), CopyBufferSize, &got, nullptr)) {
            int error = static_cast<int>(GetLastError());
            if (error != ERROR_CRC && error != ErrorSectorNotFound) {
                result = error;
                break;
            }
            if (++readFailures < 3) {
                continue;
            }
            int code = error;
            if (!AskRetry(code, source, nullptr, options, progress)) {
                result = code == -1 ? CopyResultStop : error;
                break;
            }
            readFailures = 0;
            continue;
        }
        readFailures = 0;
        if (got == 0) {
            break;
        }
        for (DWORD put = 0; put < got;) {
            DWORD written = 0;
            if (!WriteFile(out, buffer.data() + put, got - put, &written, nullptr)) {
                result = static_cast<int>(GetLastError());
                break;
            }
            put += written;
        }
        if (result != 0) {
            break;
        }
        if (progress != nullptr) {
            progress->AddBytes(got);
        }
        if (UserAbortState == UserAbortRequested || PollEscapeKey()) {
            result = CopyResultStop;
        }
    }
    if (!device) {
        // The file ends where the data ended (a source that shrank), and
        // takes the source's times when everything went.
        SetEndOfFile(out);
        if (result == 0 && !SetFileTime(out, &data.creation, &data.access, &data.write)) {
            result = static_cast<int>(GetLastError());
        }
    }
    CloseHandle(in);
    if (!CloseHandle(out) && result == 0) {
        result = static_cast<int>(GetLastError());
    }
    return result;
}

// The platform's routine, into a new temporary file. 0, -1 or the error.
int CopyWithPlatform(const Westring& source, const Westring& temp, CCopyProgressWindow* progress, uint32_t options,
                     bool& retry) {
    Utf16String from(source);
    Utf16String to(temp);
    TCallbackState state{progress, 0, FALSE};
    int64_t before = progress != nullptr ? progress->bytesDone.load() : 0;
    DWORD flags = COPY_FILE_FAIL_IF_EXISTS | ((options & CopyOptionAllowDecrypted) ? 0x8 : 0);
    retry = false;
    if (CopyFileExEntry()(from.Data(), to.Data(), &CopyProgressRoutine, &state, &state.cancel, flags)) {
        return 0;
    }
    DWORD error = GetLastError();
    if (progress != nullptr) {
        progress->bytesDone = before;
    }
    if (state.cancel) {
        return CopyResultStop;
    }
    if (IsNameTaken(error)) {
        return static_cast<int>(error);
    }
    RemoveTemporary(temp);
    if (error == ERROR_CRC || error == ErrorSectorNotFound) {
        int code = static_cast<int>(error);
        retry = AskRetry(code, source, nullptr, options, progress);
        return code == -1 ? CopyResultStop : static_cast<int>(error);
    }
    return static_cast<int>(error);
}

// One file: into a temporary file beside the destination, then in place.
// `known` is the destination's attributes as the caller has just read them
// (INVALID_FILE_ATTRIBUTES when there is none), null when not read: a small
// file costs little more than its own copy, so nothing is asked twice.
int CopyFileData(const Westring& source, const Westring& destination, const TSourceData& data, bool overwrite,
                 bool move, CCopyProgressWindow* progress, StdFile& descriptions, uint32_t options,
                 const DWORD* known) {
    DWORD old = INVALID_FILE_ATTRIBUTES;
    if (known != nullptr) {
        old = *known;
    } else if (ReadFileAttributes(destination, old) != 0) {
        old = INVALID_FILE_ATTRIBUTES;
    }
    if (old != INVALID_FILE_ATTRIBUTES) {
        // Only an existing name can be a device, which is written as it is.
        if ((old & AttrDirectory) == 0 && IsCharacterDevice(destination)) {
            return CopyWithOwnLoop(source, destination, true, data, progress, options);
        }
        bool self = IsSameFile(source, destination);
        if (self || !overwrite || (old & AttrDirectory) != 0) {
            return self || (old & AttrDirectory) != 0 ? ERROR_ACCESS_DENIED : ERROR_FILE_EXISTS;
        }
    }
    if ((options & CopyOptionOpenForWriting) == 0 && IsOpenForWriting(source)) {
        return CopyResultOpenForWriting;
    }
    RemoveStaleTemporaryFiles(DirectoryPart(destination));
    bool platform = CopyFileExEntry() != nullptr;
    Westring temp;
    int result = 0;
    for (int attempt = 0; attempt < 1000; attempt++) {
        temp = TemporaryName(destination);
        bool retry = false;
        if (platform) {
            result = CopyWithPlatform(source, temp, progress, options, retry);
        } else {
            result = CopyWithOwnLoop(source, temp, false, data, progress, options);
            if (result != 0 && !IsNameTaken(static_cast<DWORD>(result))) {
                RemoveTemporary(temp);
            }
        }
        if (result > 0 && IsNameTaken(static_cast<DWORD>(result))) {
            continue;  // someone else's file has that name: take another
        }
        if (!retry) {
            break;
        }
    }
    if (result != 0) {
        return result;
    }
    DWORD placed = PutInPlace(temp, destination, overwrite);
    if (placed != 0) {
        RemoveTemporary(temp);
        return static_cast<int>(placed);
    }
    // The platform's routine carries the source's attributes over; they are
    // written again only where they differ from what it gave: a read-only
    // bit dropped, or a hidden bit the new name may not imply.
    bool carried = platform && !CopyClearsReadOnly && (data.attributes & FILE_ATTRIBUTE_HIDDEN) == 0;
    if (!carried) {
        TakeAttributes(destination, CopyClearsReadOnly ? data.attributes & ~AttrReadOnly : data.attributes);
    }
    CopyDescription(source, destination, descriptions);
    if (!move) {
        return 0;
    }
    int deleted = DeleteOneFile(source, DeleteQuietly, progress);
    // The source stays when its deletion was skipped: the move did not happen.
    return deleted == 1 ? 0 : deleted < 0 ? CopyResultStop : CopyResultDeclined;
}

// A link copied as a link.
int CopyLink(const Westring& source, const Westring& destination, const TSourceData& data, bool overwrite, bool move,
             StdFile& descriptions) {
    Westring target = GetLinkTarget(source);
    if (target.IsEmpty()) {
        DWORD error = GetLastError();
        return error != 0 ? static_cast<int>(error) : ERROR_FILE_NOT_FOUND;
    }
    if (!overwrite && FileExists(destination)) {
        return ERROR_FILE_EXISTS;
    }
    Westring temp;
    DWORD error = 0;
    for (int attempt = 0; attempt < 1000; attempt++) {
        temp = TemporaryName(destination);
        error = CreateLink(temp, target, (data.attributes & AttrDirectory) != 0);
        if (!IsNameTaken(error)) {
            break;
        }
    }
    if (error != 0) {
        return static_cast<int>(error);
    }
    error = PutInPlace(temp, destination, overwrite);
    if (error != 0) {
        DeleteLink(temp);
        return static_cast<int>(error);
    }
    CopyDescription(source, destination, descriptions);
    if (move) {
        if (DeleteLink(source) != 0) {
            return CopyResultDeclined;
        }
        RemoveDescription(source, &descriptions);
    }
    return 0;
}

bool IsDescriptionFile(const Westring& name) {
    return name.EqualsNoCase(Westring("descript.ion"));
}

struct TActiveTree {
    explicit TActiveTree(const TFileIdentity& id) { ActiveTrees.push_back(id); }
    ~TActiveTree() { ActiveTrees.pop_back(); }
};

bool IsActiveTree(const TFileIdentity& id) {
    for (const TFileIdentity& tree : ActiveTrees) {
        if (tree == id) {
            return true;
        }
    }
    return false;
}

// The merge question for an existing destination directory: 0 merge, or the
// result to return.
int AskMerge(const Westring& source, const Westring& destination, CCopyProgressWindow* progress) {
    if (FileOpAnswers.mergeAll || source.Find('\\') >= 0) {
        return 0;
    }
    StopProgress(progress);
    unsigned key = ShowMessageBox(Westring("Directory already exists, merge with source?"), destination,
                                  MessageBoxOkCancelSkipAll);
    StartProgress(progress);
    switch (key) {
    case 'y': return 0;
    case 'a': FileOpAnswers.mergeAll = true; return 0;
    case 's': return CopyResultDeclined;
    case 27: return CopyResultStop;
    default: return static_cast<int>(key);
    }
}

// The description file of a listing: its exact name first; a spelling in
// another case only when the system opened it as the description file.
int DescriptionFileIndex(const std::vector<TListedItem>& items, const StdFile& opened) {
    int loose = -1;
    for (size_t i = 0; i < items.size(); i++) {
        if (items[i].name.EqualsExact(Westring("descript.ion"))) {
            return static_cast<int>(i);
        }
        if (loose < 0 && IsDescriptionFile(items[i].name)) {
            loose = static_cast<int>(i);
        }
    }
    return opened.IsOpen() ? loose : -1;
}

void SetDirectoryTime(const Westring& path, const FILETIME& write) {
    Utf16String wide(path);
    HANDLE handle = CreateFileW(wide.Data(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        SetFileTime(handle, nullptr, nullptr, &write);
        CloseHandle(handle);
    }
}

int CopyTree(const Westring& sourceGiven, const Westring& destinationGiven, const TSourceData& data, bool move,
             CCopyProgressWindow* progress, StdFile& descriptions, uint32_t options) {
    Westring source = sourceGiven;
    Westring destination = destinationGiven;
    if (NormalizePath(source, nullptr) != 0) {
        StopProgressAndShowMessage(progress, Westring("Invalid Path"), sourceGiven);
        return CopyResultStop;
    }
    if (NormalizePath(destination, nullptr) != 0) {
        StopProgressAndShowMessage(progress, Westring("Invalid Path"), destinationGiven);
        return CopyResultStop;
    }
    TFileIdentity identity;
    DWORD known = GetFileIdentity(source, identity);
    if (known == 0 && PathLiesInside(identity, destination)) {
        StopProgressAndShowMessage(progress, Westring("Directory cannot be copied into itself"), source);
        return CopyResultStop;
    }
    Utf16String wideDestination(destination);
    if (CreateDirectoryW(wideDestination.Data(), nullptr)) {
        NoteFreshDirectory(destination);
        CopyDescription(source, destination, descriptions);
    } else {
        DWORD error = GetLastError();
        DWORD attributes = 0;
        if (ReadFileAttributes(destination, attributes) != 0) {
            return static_cast<int>(error);
        }
        if ((attributes & AttrDirectory) == 0) {
            return ERROR_FILE_EXISTS;
        }
        int merge = AskMerge(sourceGiven, destination, progress);
        if (merge != 0) {
            return merge;
        }
    }
    StdFile entryDescriptions;
    OpenDescriptionFile(AddTrailingBackslash(source) + Westring("*"), nullptr, entryDescriptions, false, false);
    CHeldDescriptionFile held(entryDescriptions);
    std::vector<TListedItem> items;
    ListDirectoryItems(source, items);
    int descriptionIndex = DescriptionFileIndex(items, entryDescriptions);
    int failures = 0;
    int result = 0;
    {
        TActiveTree active(identity);
        for (size_t i = 0; i < items.size(); i++) {
            if (static_cast<int>(i) == descriptionIndex) {
                continue;
            }
            const TListedItem& item = items[i];
            Westring name = item.name;
            if (CopyLowerCasesNames && (item.attributes & AttrDirectory) == 0) {
                name = name.ToLower();
            }
            Westring from = AddTrailingBackslash(source) + item.name;
            Westring to = AddTrailingBackslash(destination) + name;
            int r = move ? MoveOneFile(from, to, 1, 1, progress, entryDescriptions, false)
                         : CopyOneFile(from, to, 1, 1, progress, entryDescriptions, options);
            if (r > 0) {
                failures++;
            } else if (r < 0) {
                result = r;
                break;
            }
            if (PollEscapeKey()) {
                result = CopyResultStop;
                break;
            }
        }
    }
    entryDescriptions.Close();
    if (move && failures == 0 && result == 0) {
        // Every entry went, and with it its description line; what the
        // description file still holds speaks of files that are not there.
        if (descriptionIndex >= 0) {
            DeleteFileOrLink(AddTrailingBackslash(source) + items[descriptionIndex].name);
        }
        int removed = DeleteOneDirectory(source, progress);
        if (removed != 1) {
            result = removed < 0 ? CopyResultStop : CopyResultDeclined;
        }
    }
    SetDirectoryTime(destination, data.write);
    TakeAttributes(destination, CopyClearsReadOnly ? data.attributes & ~AttrReadOnly : data.attributes);
    // A tree with an item not copied is not done: it stays tagged.
    if (result == 0 && failures > 0) {
        result = CopyResultDeclined;
    }
    return result;
}

// The "Copying" or "Moving" window, wide enough for the lines; an existing
// one is kept when it is wide enough already.
void PrepareCopyingWindow(const char* verb, const Westring& source, const Westring& destination, const Westring& count,
                          CCopyProgressWindow* progress) {
    int w = 44;
    w = source.Length() > w ? source.Length() : w;
    w = destination.Length() > w ? destination.Length() : w;
    w = count.Length() > w ? count.Length() : w;
    w += (w & 1) + 2;
    if (CopyingWindow != nullptr && CopyingWindow->ClientWidth() >= w) {
        return;
    }
    StopProgress(progress);
    delete CopyingWindow;
    uint8_t colour = ColourOf(ColourMessages);
    CopyingWindow = new Win(-1, -4, w + 2, 9, colour, colour, 0);
    CopyingWindow->WriteCentred(0, verb, colour);
    CopyingWindow->WriteCentred(2, "to", colour);
    if (progress != nullptr) {
        progress->SetWindow(CopyingWindow);
    }
}

Westring CountText(int index, int count) {
    char text[48];
    snprintf(text, sizeof text, "(%d of %d)", index, count);
    return Westring(text);
}

bool IsLater(const TTimestamp& a, const TTimestamp& b) {
    return a.seconds != b.seconds ? a.seconds > b.seconds : a.nanoseconds > b.nanoseconds;
}

// The answer to "File already exists, Overwrite?" (the remembered one when
// there is one): 1 overwrite, 2 look at the times again ("All Older"), 0 skip,
// -1 cancel.
int AskOverwrite(const Westring& destination, bool offerAllOlder) {
    if (FileOpAnswers.overwrite == OverwriteAll) {
        return 1;
    }
    if (FileOpAnswers.overwrite == OverwriteNone) {
        return 0;
    }
    unsigned key = ShowMessageBox(Westring("File already exists, Overwrite?"), destination,
                                  offerAllOlder ? MessageBoxOkCancelSkipAllOlder : MessageBoxOkCancelSkipAll);
    switch (key) {
    case 'y': return 1;
    case 'a': FileOpAnswers.overwrite = OverwriteAll; return 1;
    case 'e': FileOpAnswers.overwrite = OverwriteNone; return 0;
    case 'd': FileOpAnswers.overwrite = OverwriteAllOlder; return 2;
    case 27: return -1;
    default: return 0;
    }
}

// The question before a read-only destination is replaced; 1 go on, else
// the result to return.
int ConfirmReplacingReadOnly(const Westring& destination) {
    DWORD attributes = 0;
    if (ReadFileAttributes(destination, attributes) != 0 || (attributes & AttrReadOnly) == 0) {
        return 1;
    }
    int answer = ConfirmReadOnlyFile(destination);
    return answer == 1 ? 1 : answer < 0 ? CopyResultStop : CopyResultDeclined;
}

// "File cannot overwrite itself"; the code, or -1 on Esc.
int RefuseSelfCopy(const Westring& source, int code) {
    unsigned key = ShowMessageBox(Westring("File cannot overwrite itself"), source, MessageBoxOkCancel);
    return key == 27 ? CopyResultStop : code;
}

// The questions of an item the copy refused for the open-for-writing or the
// encryption rule: 1 retry with the option, else the result.
int AskEachAnswer(const char* question, const Westring& source, int& answer, int code) {
    if (answer == AnswerNone) {
        return code;
    }
    for (;;) {
        unsigned key = ShowMessageBox(Westring(question), source, MessageBoxOkCancelSkipAll);
        switch (key) {
        case 'y': return 1;
        case 'a': answer = AnswerAll; return 1;
        case 'e': answer = AnswerNone; return code;
        case 's': return code;
        case 27: return CopyResultStop;
        default: break;
        }
    }
}

}  // namespace

TCopyFileEx& CopyFileExEntry() {
    static TCopyFileEx entry = [] {
        HMODULE kernel = GetModuleHandleA("KERNEL32");
        FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "CopyFileExW") : nullptr;
        TCopyFileEx routine = nullptr;
        // The address is the routine's, whatever type the lookup gives it.
        static_assert(sizeof routine == sizeof found, "function pointers of one size");
        memcpy(&routine, &found, sizeof routine);
        return routine;
    }();
    return entry;
}

DWORD CALLBACK CopyProgressRoutine(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER streamTransferred,
                                   DWORD streamNumber, DWORD reason, HANDLE, HANDLE, LPVOID data) {
    TCallbackState* state = static_cast<TCallbackState*>(data);
    if (reason == CALLBACK_STREAM_SWITCH) {
        state->seen = 0;
    }
    if (streamNumber == 1) {
        int64_t delta = streamTransferred.QuadPart - state->seen;
        state->seen = streamTransferred.QuadPart;
        if (state->progress != nullptr && delta != 0) {
            state->progress->AddBytes(delta);
        }
    }
    if (PollEscapeKey() || UserAbortState == UserAbortRequested) {
        state->cancel = TRUE;
    }
    return PROGRESS_CONTINUE;
}

void DeleteCopyingWindow() {
    delete CopyingWindow;
    CopyingWindow = nullptr;
}

namespace {

// CopyFileOrTree with what the caller knows of the destination (see
// CopyFileData).
int CopyItem(const Westring& source, const Westring& destination, bool overwrite, bool move,
             CCopyProgressWindow* progress, StdFile& descriptions, uint32_t options, const DWORD* known) {
    CUserAbortScope abortScope(UserAbortPolling);
    MarkProgressRedraw(progress);
    TSourceData data;
    bool dereference = (options & CopyOptionDereference) != 0;
    DWORD error = ReadSourceData(source, dereference, data);
    if (error != 0) {
        return static_cast<int>(error);
    }
    if ((data.attributes & AttrReparse) == 0 && dereference) {
        // A followed link to a directory being copied stays a link.
        TSourceData own;
        TFileIdentity id;
        if (ReadSourceData(source, false, own) == 0 && (own.attributes & AttrReparse) != 0 &&
            GetFileIdentity(source, id) == 0 && IsActiveTree(id)) {
            return CopyLink(source, destination, own, overwrite, move, descriptions);
        }
    }
    if (CopyClearsReadOnly) {
        data.attributes &= ~AttrReadOnly;
    }
    if ((data.attributes & AttrReparse) != 0) {
        return CopyLink(source, destination, data, overwrite, move, descriptions);
    }
    if ((data.attributes & AttrDirectory) != 0) {
        return CopyTree(source, destination, data, move, progress, descriptions, options);
    }
    return CopyFileData(source, destination, data, overwrite, move, progress, descriptions, options, known);
}

}  // namespace

int CopyFileOrTree(const Westring& source, const Westring& destination, bool overwrite, bool move,
                   CCopyProgressWindow* progress, StdFile& descriptions, uint32_t options) {
    return CopyItem(source, destination, overwrite, move, progress, descriptions, options, nullptr);
}

int CopyOneFile(const Westring& source, const Westring& destination, int index, int count,
                CCopyProgressWindow* progress, StdFile& descriptions, uint32_t options) {
    CUserAbortScope abortScope(UserAbortPolling);
    Westring shownSource = ShortenedPathForDisplay(source, ScreenColumns - 10);
    Westring shownDestination = ShortenedPathForDisplay(destination, ScreenColumns - 10);
    Westring count_ = CountText(index, count);
    PrepareCopyingWindow("Copying", shownSource, shownDestination, count_, progress);
    if (progress != nullptr) {
        progress->SetNames(shownSource, shownDestination, count > 1 ? count_ : Westring());
    }
    DWORD destinationAttributes = 0;
    bool destinationExists = ReadFileAttributes(destination, destinationAttributes) == 0;
    bool destinationIsDirectory = destinationExists && (destinationAttributes & AttrDirectory) != 0;
    bool permitted = FileOpAnswers.overwrite == OverwriteAll;
    if (FileOpAnswers.openForWrite == AnswerAll) {
        options |= CopyOptionOpenForWriting;
    }
    if (FileOpAnswers.encryption == AnswerAll) {
        options |= CopyOptionAllowDecrypted;
    }
    bool readOnlyAsked = false;
    // What was read of the destination above holds for the first attempt
    // only: a question or a retry may find it changed.
    bool fresh = true;
    for (;;) {
        if (destinationExists && !destinationIsDirectory && !permitted &&
            FileOpAnswers.overwrite == OverwriteAllOlder) {
            TTimestamp from;
            TTimestamp to;
            if (GetFileModifyTime(source, from) == 0 && GetFileModifyTime(destination, to) == 0) {
                if (!IsLater(from, to)) {
                    return 0;
                }
                permitted = true;
            }
        }
        if (permitted && destinationExists && !destinationIsDirectory && !readOnlyAsked &&
            !IsSameFile(source, destination)) {
            readOnlyAsked = true;
            fresh = false;
            StopProgress(progress);
            int go = ConfirmReplacingReadOnly(destination);
            if (go != 1) {
                return go;
            }
        }
        if (progress != nullptr) {
            if (progress->Window() != CopyingWindow) {
                progress->SetWindow(CopyingWindow);
            }
            progress->Start();
        }
        DWORD known = destinationExists ? destinationAttributes : INVALID_FILE_ATTRIBUTES;
        int r =
            CopyItem(source, destination, permitted, false, progress, descriptions, options, fresh ? &known : nullptr);
        fresh = false;
        if (r == 0) {
            return 0;
        }
        StopProgress(progress);
        if (r == ERROR_CRC || r == ErrorSectorNotFound || r == CopyResultDeclined) {
            return r;
        }
        if (r == CopyResultStop || r == RenameInterrupted) {
            return CopyResultStop;
        }
        if (r == ErrorEncryptionFailed) {
            int go =
                AskEachAnswer("Cannot encrypt destination file, copy anyway?", source, FileOpAnswers.encryption, r);
            if (go != 1) {
                return go;
            }
            options |= CopyOptionAllowDecrypted;
            continue;
        }
        if (r == CopyResultOpenForWriting) {
            int go = AskEachAnswer("File is open for writing, copy anyway?", source, FileOpAnswers.openForWrite, r);
            if (go != 1) {
                return go;
            }
            options |= CopyOptionOpenForWriting;
            continue;
        }
        if ((r == ERROR_ACCESS_DENIED || r == ERROR_FILE_EXISTS) && IsSameFile(source, destination)) {
            return RefuseSelfCopy(source, r);
        }
        destinationExists = ReadFileAttributes(destination, destinationAttributes) == 0;
        destinationIsDirectory = destinationExists && (destinationAttributes & AttrDirectory) != 0;
        if ((r == ERROR_ACCESS_DENIED || r == ERROR_FILE_EXISTS) && destinationExists && !destinationIsDirectory &&
            !permitted) {
            int answer = AskOverwrite(destination, true);
            if (answer < 0) {
                return CopyResultStop;
            }
            if (answer == 0) {
                return r;
            }
            permitted = answer == 1;
            continue;
        }
        int code = r;
        int stop = 0;
        ReportFileError(code, stop, source.Data(), destination.Data(), options);
        if (stop != 0) {
            return code;
        }
    }
}

int MoveOneFile(const Westring& source, const Westring& destination, int index, int count,
                CCopyProgressWindow* progress, StdFile& descriptions, bool renameFirst) {
    CUserAbortScope abortScope(UserAbortPolling);
    Westring shownSource = source.Right(ScreenColumns - 10);
    Westring shownDestination = destination.Right(ScreenColumns - 10);
    Westring count_ = CountText(index, count);
    if (progress != nullptr) {
        PrepareCopyingWindow("Moving", shownSource, shownDestination, count_, progress);
        progress->SetNames(shownSource, shownDestination, count > 1 ? count_ : Westring());
    }
    bool destinationExisted = FileExists(destination);
    bool permitted = FileOpAnswers.overwrite == OverwriteAll;
    for (;;) {
        int r = 0;
        if (renameFirst) {
            Utf16String from(source);
            Utf16String to(destination);
            BOOL moved = permitted && destinationExisted && !IsSameFile(source, destination)
                             ? MoveFileExW(from.Data(), to.Data(), MOVEFILE_REPLACE_EXISTING)
                             : MoveFileW(from.Data(), to.Data());
            r = moved ? 0 : static_cast<int>(GetLastError());
            if (UserAbortState == UserAbortRequested) {
                r = RenameInterrupted;
            }
            if (moved) {
                MoveDescription(source, destination, descriptions);
            }
        } else {
            if (progress != nullptr) {
                if (progress->Window() != CopyingWindow) {
                    progress->SetWindow(CopyingWindow);
                }
                progress->Start();
            }
            r = CopyFileOrTree(source, destination, permitted, true, progress, descriptions, 0);
            if (r != 0) {
                StopProgress(progress);
            }
        }
        if (r == 0 || r == ERROR_CRC || r == ErrorSectorNotFound || r == CopyResultDeclined) {
            return r;
        }
        if (r == CopyResultStop || r == RenameInterrupted) {
            return CopyResultStop;
        }
        if (r == ERROR_ACCESS_DENIED || r == ERROR_FILE_EXISTS || r == ERROR_ALREADY_EXISTS) {
            if (IsSameFile(source, destination)) {
                return RefuseSelfCopy(source, r);
            }
            DWORD sourceAttributes = 0;
            DWORD destinationAttributes = 0;
            bool destinationExists = ReadFileAttributes(destination, destinationAttributes) == 0;
            if (destinationExisted && destinationExists && ReadFileAttributes(source, sourceAttributes) == 0) {
                bool bothDirectories = (sourceAttributes & destinationAttributes & AttrDirectory) != 0 &&
                                       ((sourceAttributes | destinationAttributes) & AttrReparse) == 0;
                if (bothDirectories) {
                    // Merge entry by entry; done only when every entry moved
                    // and the source directory is gone.
                    StdFile entryDescriptions;
                    OpenDescriptionFile(AddTrailingBackslash(source) + Westring("*"), nullptr, entryDescriptions, false,
                                        false);
                    CHeldDescriptionFile held(entryDescriptions);
                    std::vector<TListedItem> items;
                    ListDirectoryItems(source, items);
                    int descriptionIndex = DescriptionFileIndex(items, entryDescriptions);
                    int failures = 0;
                    for (size_t i = 0; i < items.size(); i++) {
                        if (static_cast<int>(i) == descriptionIndex) {
                            continue;
                        }
                        int m = MoveOneFile(AddTrailingBackslash(source) + items[i].name,
                                            AddTrailingBackslash(destination) + items[i].name, 1, 1, progress,
                                            entryDescriptions, renameFirst);
                        if (m < 0) {
                            return CopyResultStop;
                        }
                        failures += m > 0 ? 1 : 0;
                    }
                    entryDescriptions.Close();
                    if (failures > 0) {
                        return CopyResultDeclined;
                    }
                    if (descriptionIndex >= 0) {
                        DeleteFileOrLink(AddTrailingBackslash(source) + items[descriptionIndex].name);
                    }
                    for (;;) {
                        int code = static_cast<int>(RemoveEmptyDirectory(source));
                        if (code == 0) {
                            RemoveDescription(source, &descriptions);
                            return 0;
                        }
                        if (code == ERROR_ACCESS_DENIED) {
                            return CopyResultDeclined;
                        }
                        int stop = 0;
                        ReportFileError(code, stop, source.Data(), nullptr, 0);
                        if (stop != 0) {
                            return code == -1 ? CopyResultStop : CopyResultDeclined;
                        }
                    }
                }
                // Once overwriting was allowed, a refusal is reported below.
                if (!permitted) {
                    int answer = AskOverwrite(destination, false);
                    if (answer < 0) {
                        return CopyResultStop;
                    }
                    if (answer == 0) {
                        return r;
                    }
                    int go = ConfirmReplacingReadOnly(destination);
                    if (go != 1) {
                        return go;
                    }
                    permitted = true;
                    continue;
                }
            }
        }
        int code = r;
        int stop = 0;
        ReportFileError(code, stop, source.Data(), destination.Data(), 0);
        if (stop != 0) {
            return code == -1 ? CopyResultStop : code;
        }
    }
}
