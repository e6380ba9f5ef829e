#include "fileops/find/FileFinder.h"

#include "fileops/FileCommands.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/panels/Panel.h"
#include "app/panels/PanelDirectoryChange.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelSort.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "base/mask/MaskExpression.h"
#include "base/os/PathDisplay.h"
#include "base/os/Threads.h"
#include "base/strings/NumberFormat.h"
#include "base/strings/StringStore.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "fileops/CopyCommand.h"
#include "fileops/DeleteWorkers.h"
#include "fileops/FileOpAnswers.h"
#include "base/strings/Utf16String.h"
#include "fileops/FileContainsText.h"
#include "fileops/find/EntryListBox.h"
#include "fileops/find/FileFindHooks.h"
#include "fileops/find/MultiFileReplace.h"
#include "fileops/find/SearchFileForText.h"
#include "ui/Clipboard.h"
#include "ui/ClipboardText.h"
#include "ui/ConsoleControl.h"
#include "ui/Dialog.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "ui/MessageBox.h"

int32_t FoundListCursor = 0;

namespace {

// Exit codes of the window's buttons.
const int CodeFind = 'f';
const int CodeGoTo = 'g';

const DWORD ProgressBlinkMs = 500;
const ULONGLONG DirectoryShowMs = 50;
// The result list follows the count at this pace at most: a search by name
// finds thousands of files a second, and drawing the list for each of them
// would cost more than the walk.
const ULONGLONG ListShowMs = 40;
const uint16_t AttributeDirectory = 0x10;
const uint16_t AttributeReparsePoint = 0x400;

// The keys that end the dialog's loop for the result loop to act on (a
// focused field or list takes the keys it uses first).
const int ResultKeys[] = {KEY_F1,      KEY_F3,      KEY_ALT_F3,       KEY_F4,           KEY_ALT_F4,       KEY_F5,
                          KEY_F6,      KEY_F8,      KEY_SHIFT_F8,     KEY_DELETE,       KEY_CTRL_F3,      KEY_CTRL_F4,
                          KEY_CTRL_F5, KEY_CTRL_F6, KEY_SHIFT_CTRL_F, KEY_SHIFT_CTRL_J, KEY_SHIFT_CTRL_A, KEY_CTRL_R};

// How the last search ended, for the summary of a reopened window.
bool LastSearchStopped = false;

class CLock {
public:
    explicit CLock(CMutex& mutex) : mutex(mutex) { mutex.Lock(); }
    ~CLock() { mutex.Unlock(); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

private:
    CMutex& mutex;
};

unsigned __stdcall WorkerThread(void* argument) {
    auto* finder = static_cast<FileFinder*>(argument);
    RestoreThreadPriority();
    // The window's thread reads the keys; Esc reaches the walk as its stop.
    SetSearchEscapePolling(false);
    RunFileFind(finder->job, FoundList);
    return 0;
}

struct TProgressArguments {
    FileFinder* finder;
};

unsigned __stdcall ProgressThread(void* argument);

Westring FoundPath(int index) {
    return index >= 0 && index < FoundList.Count() ? Westring(FoundList.At(index)->name) : Westring();
}

}  // namespace

FileFinder::FileFinder(CPanel* panel, bool reopen)
    : panel(panel), window(nullptr), cursor(0), listIndex(-1), masksIndex(-1), innerHeight(0), width(0), statusRow(0),
      follow(false), savedSaver(Config.Saver), shownCount(0),
      job(this, &LastFindMasks, &LastFindText, &startDirectory, &Config), running(false), lastDirectoryShown(0),
      lastListShown(0), lastStopped(false) {
    startDirectory = GetPanelDirectory(panel);
    masks = LastFindMasks;
    text = LastFindText;
    if (FindCodePage != 0) {
        char number[16];
        snprintf(number, sizeof number, "%u", FindCodePage);
        codePage = Westring(number);
    }
    driveList = Westring(Config.FFDriveList);
    Build(reopen);
}

FileFinder::~FileFinder() {
    StopFileFind(*this);
    delete window;
    Config.Saver = savedSaver;
}

void FileFinder::Build(bool reopen) {
    width = ScreenColumns - 4;
    const int height = ScreenRows - 4;
    innerHeight = height - 2;
    const int h = innerHeight;
    statusRow = h - 11;
    const uint8_t colour = ColourOf(ColourMenu);
    window = new Dialog(-1, 2, width, 2 + height - 1, colour);
    window->SetColour(DialogColourField, ColourOf(ColourCommandLine));
    window->WriteCentred(-1, " File Find ", colour);

    const bool previous = reopen && FoundList.Count() > 0;
    if (!previous) {
        FoundList.Empty();
        FoundListCursor = 0;
    }
    cursor = previous ? FoundListCursor : 0;
    const int innerWidth = window->ClientWidth();
    const int w = innerWidth >= 82 ? 34 : innerWidth - 48;

    listIndex = window->AddElement(
        new EntryListBox(*window, 0, 0, ScreenColumns - 6, h - 11, FoundList, listLock, &cursor, CodeGoTo), 1);
    window->WriteHotKeyText(1, h - 8, "File(s) to find:", "i", colour);
    window->WriteHotKeyText(39, h - 8, "Containing:", "t", colour);
    masksIndex = window->AddStringField(1, h - 7, 1, masks, 34, -1, FieldKindFindFiles);
    window->AddStringField(39, h - 7, 1, text, w, -1, FieldKindFindText);
    window->WriteHotKeyText(w + 41, h - 7, "CP", "p", colour);
    window->AddStringField(w + 43, h - 7, 1, codePage, 5, 5, FieldKindNoHistory);
    window->AddCheckBox(1, h - 5, 1, &Config.FFRootSearch, "Start at Root", 1);
    window->AddCheckBox(39, h - 5, 1, &Config.FFCase, "Case sensitive", 1);
    window->AddCheckBox(1, h - 4, 1, &Config.FFRecurse, "Scan subdirectories", 1);
    window->AddStaticText(27, h - 4, "Depth", colour);
    window->AddIntegerField(33, h - 4, 1, &Config.FFDepth, 2, 0, FieldKindNoHistory);
    window->AddCheckBox(39, h - 4, 1, &Config.FFWholeWord, "Whole Word", 1);
    window->AddCheckBox(1, h - 3, 1, &Config.FFMultiDrive, "Drives:", 1);
    window->AddStringField(14, h - 3, 1, driveList, 21, 26, FieldKindNoHistory);
    const int find = window->AddPushButton(7, h - 1, 1, CodeFind, "Find");
    window->AddPushButton(17, h - 1, 0, KEY_ESC, "Cancel");
    window->AddPushButton(29, h - 1, 0, KEY_F1, "Help");
    window->AddPushButton(39, h - 1, 0, CodeGoTo, "GoTo");
    window->AddPushButton(49, h - 1, 0, KEY_F3, "View");
    window->AddPushButton(59, h - 1, 0, KEY_F4, "Edit");
    window->SetDefaultButton(find);
    for (int key : ResultKeys)
        window->AddExitKey(key);
    // Alt and the letter: the list, the masks, the text and the code page.
    char letters[8] = {0, 'i', 't', 'p'};
    window->SetHotKeys(letters, 4);

    if (previous) {
        lastStopped = LastSearchStopped;
        shownCount = FoundList.Count();
        ShowSummary();
        window->SetFocus(listIndex);
    } else {
        window->SetFocus(masksIndex);
    }
}

void FileFinder::WriteStatus(int x, const Westring& line) {
    window->WriteWide(x, statusRow, line, window->Attribute());
}

void FileFinder::SendCount(int count, int target) {
    TDialogEvent event = {};
    event.kind = TDialogEvent::KindListCount;
    event.key = count;
    event.x = target;
    window->SendEvent(listIndex, event);
}

void FileFinder::ShowSummary() {
    int count;
    uint64_t total;
    {
        CLock hold(listLock);
        count = FoundList.Count();
        total = FoundList.TotalSize();
    }
    char32_t size[40];
    FormatNumberToWidth64(static_cast<int64_t>(total), size, 20);
    char head[32];
    snprintf(head, sizeof head, "%d", count);
    Westring line = Westring(lastStopped ? "Search Stopped:" : "Search Complete:").Pad(17);
    line += Westring(head);
    line += Westring(count == 1 ? " match uses " : " matches use ");
    line += Westring(size);
    line += Westring(" bytes");
    CLock hold(displayLock);
    WriteStatus(1, line.Pad(window->ClientWidth() - 1));
}

// ---- the engine's user interface (worker thread) ----

void FileFinder::EnterDirectory(const Westring& directory) {
    // A walk enters thousands of directories a second; the row shows where
    // it is, not every step, so that writing it never holds the walk back.
    const ULONGLONG now = GetTickCount64();
    if (now - lastDirectoryShown < DirectoryShowMs)
        return;
    if (displayLock.Lock(0) != 0)
        return;
    lastDirectoryShown = now;
    const int room = window->ClientWidth() - 12;
    WriteStatus(12, ShortenedPathForDisplay(directory, room).Pad(room));
    displayLock.Unlock();
}

void FileFinder::Tick() {
    if (FoundList.Count() == shownCount)
        return;
    const ULONGLONG now = GetTickCount64();
    if (now - lastListShown < ListShowMs)
        return;
    if (ShowNewResults())
        lastListShown = now;
}

bool FileFinder::ShowNewResults() {
    if (displayLock.Lock(0) != 0)
        return false;
    int count;
    {
        CLock hold(listLock);
        count = FoundList.Count();
    }
    if (count != shownCount) {
        int target = -1;
        if (follow) {
            if (shownCount == 0 || cursor == shownCount - 1)
                target = count > 0 ? count - 1 : 0;
            else
                follow = false;
        }
        SendCount(count, target);
        shownCount = count;
    }
    displayLock.Unlock();
    return true;
}

void FileFinder::LockResults() {
    listLock.Lock();
}

void FileFinder::UnlockResults() {
    listLock.Unlock();
}

void FileFinder::SearchDone(bool stopped) {
    stopEvent.Set();
    progress.WaitAndClose();
    stopEvent.Reset();
    // The walk is over: the keys refused while it ran work from here on.
    running = false;
    lastStopped = stopped;
    LastSearchStopped = stopped;
    {
        // The list first: once the summary shows, every row is drawn.
        CLock hold(displayLock);
        int count;
        {
            CLock list(listLock);
            count = FoundList.Count();
        }
        SendCount(count, follow && count > 0 ? count - 1 : -1);
        shownCount = count;
        ShowSummary();
    }
    Config.Saver = savedSaver;
}

namespace {

unsigned __stdcall ProgressThread(void* argument) {
    auto* finder = static_cast<FileFinder*>(argument);
    RaiseThreadPriority();
    Dialog* window = finder->window;
    {
        finder->displayLock.Lock();
        window->WriteWide(1, finder->statusRow, Westring().Pad(window->ClientWidth() - 1), window->Attribute());
        finder->displayLock.Unlock();
    }
    bool on = false;
    do {
        on = !on;
        if (finder->displayLock.Lock(ProgressBlinkMs) == 0) {
            window->WriteText(1, finder->statusRow, on ? "Searching:" : "          ", window->Attribute());
            finder->displayLock.Unlock();
        }
        // Entries found just before the walk went quiet (a long file, a
        // slow directory) would wait for its next tick to be listed.
        finder->ShowNewResults();
    } while (finder->stopEvent.Wait(ProgressBlinkMs) == WAIT_TIMEOUT);
    return 0;
}

}  // namespace

void StopFileFind(FileFinder& finder) {
    if (!finder.worker.IsValid())
        return;
    finder.job.stop = 1;
    finder.worker.WaitAndClose();
    UserAbortState = UserAbortIdle;
}

void RemoveFoundEntry(FileFinder& finder, int index, bool refresh) {
    int count;
    {
        CLock hold(finder.listLock);
        if (index >= 0 && index < FoundList.Count())
            FoundList.RemoveAt(index);
        count = FoundList.Count();
    }
    if (refresh) {
        finder.SendCount(count, -1);
        finder.shownCount = count;
    }
    finder.ShowSummary();
}

// ---- the window's thread ----

void FileFinder::StartSearch() {
    window->CommitAll();
    StopFileFind(*this);
    MaskExpression check;
    if (!check.CheckSyntax(LastFindMasks)) {
        ShowMessageBox(Westring("Error in search expression"), check.ErrorMessage(), MessageBoxOk);
        return;
    }
    {
        CLock hold(listLock);
        FoundList.Empty();
    }
    cursor = 0;
    SendCount(0, 0);
    follow = true;
    shownCount = 0;
    if (Console != nullptr)
        Console->SetCursorShape(0);
    window->SetFocus(listIndex);
    running = true;
    job.stop = 0;
    // Set before the walk starts: its helpers test files side by side and
    // leave the state alone only while it says an operation polls.
    UserAbortState = UserAbortPolling;
    progress.Reset(StartThread(ProgressThread, this));
    worker.Reset(StartThread(WorkerThread, this));
    if (!worker.IsValid()) {
        // No walk runs, so nothing would end the indicator.
        stopEvent.Set();
        progress.WaitAndClose();
        stopEvent.Reset();
        running = false;
        UserAbortState = UserAbortIdle;
        return;
    }
    Config.Saver = 0;
}

void FileFinder::RunResultLoop() {
    RaiseThreadPriority();
    for (bool open = true; open;) {
        const int code = window->Run();
        switch (code) {
        case CodeFind:
        case KEY_ENTER:
            window->CommitAll();
            if (masks.Trim().IsEmpty())
                break;
            LastFindMasks = masks;
            LastFindText = text;
            Config.FFDriveList = Estring(driveList);
            FindCodePage = static_cast<uint32_t>(strtoul(Estring(codePage).Data(), nullptr, 10));
            StartSearch();
            break;
        case KEY_ESC:
            if (worker.IsValid() && running)
                StopFileFind(*this);
            else
                open = false;
            break;
        case CodeGoTo:
            if (GoTo())
                open = false;
            break;
        case KEY_F3:
        case KEY_ALT_F3:
        case KEY_F4:
        case KEY_ALT_F4: ViewOrEdit(code); break;
        case KEY_F5:
        case KEY_F6: CopyOrMoveFound(code); break;
        case KEY_F8: DeleteCurrent(); break;
        case KEY_SHIFT_F8:
            if (!running)
                DeleteAll();
            break;
        case KEY_DELETE: RemoveFoundEntry(*this, cursor, true); break;
        case KEY_CTRL_F3:
        case KEY_CTRL_F4:
        case KEY_CTRL_F5:
        case KEY_CTRL_F6:
            if (!running)
                Sort(code - KEY_CTRL_F3);
            break;
        case KEY_SHIFT_CTRL_F:
        case KEY_SHIFT_CTRL_J:
        case KEY_SHIFT_CTRL_A: CopyToClipboard(code); break;
        case KEY_CTRL_R:
            if (!running && FoundList.Count() > 0 && !LastFindText.IsEmpty())
                MultiFileReplace(*this);
            break;
        case KEY_F1: {
            CLock hold(displayLock);
            ShowHelp(HelpTopicFileFind);
            break;
        }
        default: break;
        }
    }
    RestoreThreadPriority();
    StopFileFind(*this);
    FoundListCursor = cursor;
}

bool FileFinder::GoTo() {
    Westring path;
    {
        CLock hold(listLock);
        path = FoundPath(cursor);
    }
    if (path.IsEmpty())
        return false;
    StopFileFind(*this);
    FoundListCursor = cursor;
    delete window;
    window = nullptr;
    Westring directory = ExtractDirectory(path);
    if (directory.Length() == 2 && directory[1] == U':')
        directory += Westring("\\");
    if (!ResolvePanelPath(panel, directory))
        return true;
    // The path alone changes nothing on the screen: the panel lists the new
    // directory from its top before the cursor can find the file in it.
    panel->topIndex = 0;
    panel->cursorRow = 0;
    panel->panelType = PANEL_FILES;
    ChangePanelDirectory(Panels, PanelSide(panel), Westring(), false, -1, 0);
    SetPanelCursorToName(panel, ExtractFileName(path));
    return true;
}

namespace {

// A panel that is never shown, holding copies of the found entries (names are
// full paths) with the cursor on one of them: what the viewer and the copy
// command take their files from.
void FillPanelWithFound(CPanel& temporary, CMutex& listLock, int current) {
    CLock hold(listLock);
    for (int i = 0; i < FoundList.Count(); i++) {
        const entry* found = FoundList.At(i);
        int length = 0;
        while (found->name[length] != 0)
            length++;
        entry* copy = entry::Allocate(length);
        if (copy == nullptr)
            continue;
        memcpy(static_cast<void*>(copy), found, entry::EntryBytes(length));
        AppendEntry(&temporary, copy);
    }
    temporary.topIndex = current < 0 ? 0 : current;
    temporary.cursorRow = 0;
}

}  // namespace

void FileFinder::ViewOrEdit(int key) {
    const bool edit = key == KEY_F4 || key == KEY_ALT_F4;
    entry head = {};
    Westring path;
    {
        CLock hold(listLock);
        if (cursor < 0 || cursor >= FoundList.Count())
            return;
        head = *FoundList.At(cursor);
        path = FoundPath(cursor);
    }
    if (head.attributes & AttributeDirectory)
        return;
    CLock hold(displayLock);
    Westring command;
    if (FileFindHooks.commandFor != nullptr) {
        entry* named = entry::Allocate(path.Length());
        if (named == nullptr)
            return;
        memcpy(static_cast<void*>(named), &head, offsetof(entry, name));
        Westring name = ExtractFileName(path);
        memcpy(named->name, name.Data(), sizeof(char32_t) * size_t(name.Length()));
        named->name[name.Length()] = 0;
        const bool chosen = FileFindHooks.commandFor(named, key, command);
        entry::Free(named);
        if (!chosen)
            return;
    }
    if (!command.IsEmpty()) {
        if (FileFindHooks.runCommand != nullptr) {
            window->SetHidden(true);
            FileFindHooks.runCommand(command, path, PanelSide(panel));
            window->SetHidden(false);
        }
        return;
    }
    if (edit) {
        if (FileFindHooks.editFile != nullptr) {
            const bool matched = head.matchOffset >= 0 && head.matchLength > 0;
            FileFindHooks.editFile(path, matched ? head.matchOffset : -1, matched ? head.matchLength : 0);
        }
        return;
    }
    if (FileFindHooks.viewPanelFiles == nullptr)
        return;
    if (!LastFindText.IsEmpty() && FileFindHooks.setViewerSearch != nullptr)
        FileFindHooks.setViewerSearch(LastFindText, Config.FFCase != 0, Config.FFWholeWord != 0);
    CPanel temporary;
    FillPanelWithFound(temporary, listLock, cursor);
    FileFindHooks.viewPanelFiles(&temporary);
    const int viewed = temporary.CursorIndex();
    if (viewed >= 0 && viewed < temporary.entryCount)
        cursor = viewed;
    TDialogEvent redraw = {};
    redraw.kind = TDialogEvent::KindListRedraw;
    window->SendEvent(listIndex, redraw);
}

void FileFinder::CopyOrMoveFound(int key) {
    const bool move = key == KEY_F6;
    CLock hold(displayLock);
    CPanel temporary;
    FillPanelWithFound(temporary, listLock, cursor);
    if (temporary.entryCount == 0)
        return;
    for (int i = 0; i < temporary.entryCount; i++) {
        temporary.entries[i]->tagged = 1;
        temporary.taggedBytes += static_cast<int64_t>(temporary.entries[i]->size);
    }
    temporary.taggedCount = temporary.entryCount;
    temporary.panelType = PANEL_FILES;
    ResetFileOpAnswers();
    CopyMoveFiles(&temporary, OtherPanel(panel), move ? CopyCommandMove : 0, nullptr);
    if (!move)
        return;
    // What was moved is no longer where the list says.
    for (int i = 0;;) {
        Westring path;
        {
            CLock list(listLock);
            if (i >= FoundList.Count())
                break;
            path = FoundPath(i);
        }
        Utf16String wide(path);
        const bool gone = GetFileAttributesW(wide.Data()) == INVALID_FILE_ATTRIBUTES &&
                          (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
        if (gone)
            RemoveFoundEntry(*this, i, false);
        else
            i++;
    }
    int left;
    {
        CLock list(listLock);
        left = FoundList.Count();
    }
    SendCount(left, -1);
    shownCount = left;
}

void FileFinder::DeleteCurrent() {
    entry head = {};
    Westring path;
    {
        CLock hold(listLock);
        if (cursor < 0 || cursor >= FoundList.Count())
            return;
        head = *FoundList.At(cursor);
        path = FoundPath(cursor);
    }
    CLock hold(displayLock);
    if ((Config.Confirmations & ConfirmDeleteFileOff) == 0) {
        Westring shown = ShortenedPathForDisplay(path, 70);
        if (ShowMessageBox(Westring("Do you wish to delete"), shown, MessageBoxOkCancel) != 'y')
            return;
    }
    int result;
    if ((head.attributes & AttributeDirectory) && !(head.attributes & AttributeReparsePoint)) {
        result = DeleteOneDirectory(path, nullptr);
        SavePanelTree(panel);
    } else {
        result = DeleteOneFile(path, DeleteShowAndClose, nullptr);
    }
    if (result == 1)
        RemoveFoundEntry(*this, cursor, true);
}

void FileFinder::DeleteAll() {
    int count;
    {
        CLock hold(listLock);
        count = FoundList.Count();
    }
    if (count == 0)
        return;
    if ((Config.Confirmations & ConfirmDeleteTaggedOff) == 0) {
        const uint8_t colour = ColourOf(ColourErrors);
        Dialog ask(-1, -3, 36, 6, colour);
        ask.WriteCentred(0, "Are you sure you wish to delete", colour);
        char line[48];
        snprintf(line, sizeof line, "%d files?", count);
        ask.WriteCentred(1, line, colour);
        ask.AddOkCancelButtons(-1, 3, 1);
        if (ask.Run() != KEY_ENTER)
            return;
    }
    for (int i = 0;;) {
        entry head = {};
        Westring path;
        {
            CLock hold(listLock);
            if (i >= FoundList.Count())
                break;
            head = *FoundList.At(i);
            path = FoundPath(i);
        }
        int result;
        if ((head.attributes & AttributeDirectory) && !(head.attributes & AttributeReparsePoint))
            result = DeleteOneDirectory(path, nullptr);
        else
            result = DeleteOneFile(path, DeleteShowAndKeep, nullptr);
        if (result < 0)
            break;
        if (result == 1)
            RemoveFoundEntry(*this, i, false);
        else
            i++;
    }
    DeleteOneFile(Westring(), DeleteCloseWindow, nullptr);
    SavePanelTree(panel);
    int left;
    {
        CLock hold(listLock);
        left = FoundList.Count();
    }
    SendCount(left, -1);
    shownCount = left;
    TDialogEvent redraw = {};
    redraw.kind = TDialogEvent::KindListRedraw;
    window->SendEvent(listIndex, redraw);
}

void FileFinder::Sort(int mode) {
    {
        CLock hold(listLock);
        std::vector<entry*> items;
        for (int i = 0; i < FoundList.Count(); i++)
            items.push_back(FoundList.At(i));
        if (!items.empty())
            SortEntryArray(items.data(), static_cast<int>(items.size()), mode);
        FoundList.RemoveAll();
        for (entry* item : items)
            FoundList.Add(item);
    }
    cursor = 0;
    TDialogEvent redraw = {};
    redraw.kind = TDialogEvent::KindListRedraw;
    window->SendEvent(listIndex, redraw);
    SendCount(FoundList.Count(), 0);
}

void FileFinder::CopyToClipboard(int key) {
    if (key == KEY_SHIFT_CTRL_A) {
        WestringStore lines;
        {
            CLock hold(listLock);
            for (int i = 0; i < FoundList.Count(); i++)
                lines.Add(new Westring(FoundList.At(i)->name));
        }
        lines.Add(new Westring());
        PutClipboardLines(lines);
        return;
    }
    Westring path;
    {
        CLock hold(listLock);
        path = FoundPath(cursor);
    }
    if (path.IsEmpty())
        return;
    PutClipboardText(key == KEY_SHIFT_CTRL_F ? path : ExtractFileName(path));
}

void FileFindCommand(CPanel* panel, bool reopen) {
    FileFinder finder(panel, reopen);
    finder.RunResultLoop();
}
