#include "app/panels/DirectorySizes.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelSort.h"
#include "app/panels/PanelTree.h"
#include "app/panels/Tree.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/io/DirScanner.h"
#include "base/os/CEvent.h"
#include "base/os/CMutex.h"
#include "base/os/CWinHandle.h"
#include "base/os/PathDisplay.h"
#include "base/os/Threads.h"
#include "base/strings/NumberFormat.h"
#include "console/KeyCodes.h"
#include "ui/EscapePoll.h"
#include "ui/ModalLoop.h"
#include "ui/Win.h"

TDirScanCounters DirScanCounters;

namespace {

const int DisplayTextWidth = 50;
const int BoxWidth = 54;
const int BoxHeight = 8;
const int PathRow = 4;

CMutex& DisplayTextLock() {
    static CMutex lock;
    return lock;
}
Westring DisplayText;

struct TDisplayThreadParameter {
    Win* box;
    CEvent* stop;
};

Westring JoinPath(const Westring& directory, const Westring& name) {
    return AddTrailingBackslash(directory) + name;
}

// The line of the directory counts and the total, as the box shows them.
void DrawCounters(Win* box) {
    const uint8_t colour = box->Attribute();
    char32_t directories[NumberTextSize], files[NumberTextSize], full[NumberTextSize], brief[NumberTextSize];
    FormatNumberToWidth(DirScanCounters.directories, directories, 14);
    FormatNumberToWidth(DirScanCounters.files, files, 14);
    int64_t bytes = DirScanCounters.bytes;
    FormatNumberToWidth64(bytes, full, 30);
    FormatNumberToWidth64(bytes, brief, 6);
    Westring counts = Westring("Directories: ") + Westring(directories) + Westring("   Files: ") + Westring(files);
    Westring total = Westring("Total Size: ") + Westring(full);
    if (Str32Length(brief) != Str32Length(full))
        total = total + Westring(" (") + Westring(brief) + Westring(")");
    for (int row = 1; row <= 2; row++) {
        box->GotoXY(0, row);
        box->ClearToEol(colour);
    }
    box->WriteWideCentred(1, counts, colour);
    box->WriteWideCentred(2, total, colour);
    box->WriteWide(1, PathRow, GetDirScanText(), colour);
}

// The directories the command works on: the tagged ones, else the cursor's.
bool Chosen(const entry* item) {
    return IsDirectoryNotReparse(item) && item->sortClass != SORTCLASS_PARENT;
}

// Waits on the box for the user to read the totals.
void PauseOnTotals(Win& box) {
    const uint8_t colour = box.Attribute();
    box.GotoXY(0, PathRow);
    box.ClearToEol(colour);
    box.WriteCentred(BoxHeight - 3, "[ OK ]", ColourOf(ColourCommandLine));
    CModalLoop loop;
    for (;;) {
        TInputEvent event = TInputEvent();
        int key = loop.Read(event, -1);
        if (key == KEY_ENTER || key == KEY_ESC || key == KEY_CLOSED)
            return;
        if (key == KEY_MOUSE && event.action == TInputEvent::ActionRelease1)
            return;
    }
}

}  // namespace

void SetDirScanText(const Westring& text) {
    Westring shown = text;
    ShortenPathForDisplay(shown, DisplayTextWidth);
    shown = shown.Pad(DisplayTextWidth);
    DisplayTextLock().Lock();
    DisplayText = shown;
    DisplayTextLock().Unlock();
}

Westring GetDirScanText() {
    DisplayTextLock().Lock();
    Westring text = DisplayText;
    DisplayTextLock().Unlock();
    return text;
}

unsigned __stdcall DirScanDisplayThread(void* parameter) {
    TDisplayThreadParameter* p = static_cast<TDisplayThreadParameter*>(parameter);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    for (;;) {
        DWORD waited = p->stop->Wait(100);
        DrawCounters(p->box);
        if (waited != WAIT_TIMEOUT)
            return 0;
    }
}

int64_t ScanDirectorySizes(CPanel* panel, const Westring& name, Win* box) {
    if (panel->archive) {
        // The archive's listing is in memory: the path row shows the folder
        // asked for, and the counters take the archive scan's figures.
        SetDirScanText(JoinPath(GetArchiveDisplayPath(panel->archive), name));
        TArchiveScanCounters counters = {0, 0, 0};
        int64_t total = ScanArchiveSubtree(panel->archive, name, nullptr, panel->tree, counters);
        DirScanCounters.directories = DirScanCounters.directories + counters.directories;
        DirScanCounters.files = DirScanCounters.files + counters.files;
        DirScanCounters.bytes = DirScanCounters.bytes + counters.bytes;
        return total;
    }
    Westring directory = JoinPath(Westring(panel->path), name);
    SetDirScanText(directory);
    TREENODE* node = panel->tree ? panel->tree->FindNode(directory, false) : nullptr;
    if (!node) {
        Westring parent = directory.Left(directory.FindLast('\\'));
        Westring own = directory.Mid(parent.Length() + 1, directory.Length() - parent.Length() - 1);
        node = AddPanelTreeChild(panel, parent.Length() == 2 ? parent + Westring("\\") : parent, own);
    }
    int64_t total = 0;
    CDirScanner scanner(directory);
    entry* item = nullptr;
    if (scanner.FindFirst(Westring("*"), CDirScanner::ScanEverything | CDirScanner::ScanNoVirtualRoots, &item) == 0) {
        do {
            if (!item)
                continue;
            if (IsDirectoryNotReparse(item)) {
                if (Str32Compare(item->name, U".") == 0 || Str32Compare(item->name, U"..") == 0)
                    continue;
                int64_t below = ScanDirectorySizes(panel, JoinPath(name, Westring(item->name)), box);
                if (below < 0)
                    return -1;
                total += below;
                DirScanCounters.directories = DirScanCounters.directories + 1;
                continue;
            }
            // Files, and links of any kind, which add no bytes.
            DirScanCounters.files = DirScanCounters.files + 1;
            if (!(item->attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                total += int64_t(item->size);
                DirScanCounters.bytes = DirScanCounters.bytes + int64_t(item->size);
            }
        } while (scanner.FindNext(&item) == 0);
    }
    scanner.Close();
    if (node)
        node->size = total;
    if (PollEscapeKey())
        return -1;
    return total;
}

bool ComputeDirectorySizes(CPanel* panel, bool quiet) {
    if (panel->entryCount == 0 || panel->panelType == PANEL_INFO || panel->viewStyle == VIEW_TREE || !panel->isOn ||
        (panel->window && panel->window->IsHidden()))
        return true;
    bool tagged = panel->taggedCount > 0;
    bool any = false;
    for (int i = 0; i < panel->entryCount && !any; i++) {
        const entry* item = panel->entries[i];
        any = tagged ? item->tagged && Chosen(item) : i == panel->CursorIndex() && Chosen(item);
    }
    if (!any)
        return true;

    const uint8_t colour = ColourOf(ColourMessages);
    bool stopped = false;
    {
        Win box(-1, -2, BoxWidth, BoxHeight, colour, colour, Config.Shadows ? 0 : 1);
        box.WriteCentred(-1, " Reading Directories ", colour);
        DirScanCounters.directories = 0;
        DirScanCounters.files = 0;
        DirScanCounters.bytes = 0;
        SetDirScanText(Westring());
        CEvent stop;
        TDisplayThreadParameter parameter{&box, &stop};
        CWinHandle thread(StartThread(DirScanDisplayThread, &parameter));
        for (int i = 0; i < panel->entryCount && !stopped; i++) {
            entry* item = panel->entries[i];
            bool wanted = tagged ? item->tagged != 0 : i == panel->CursorIndex();
            if (!wanted || !Chosen(item))
                continue;
            int64_t size = ScanDirectorySizes(panel, Westring(item->name), &box);
            if (size < 0) {
                stopped = true;
                break;
            }
            item->sizeFromTree = 1;
            if (item->tagged)
                panel->taggedBytes += size - int64_t(item->size);
            item->size = uint64_t(size);
        }
        stop.Set();
        if (thread.IsValid())
            thread.WaitAndClose();
        else
            DrawCounters(&box);
        if (Config.SizeCountPause && !quiet)
            PauseOnTotals(box);
    }
    if (panel->tree && panel->tree->changed) {
        SavePanelTree(panel);
        if (CPanel* other = OppositeTreeView(panel)) {
            ShowPanelTree(other);
            if (IsPanelVisible(other))
                RedrawPanel(other);
        }
    }
    if (panel->sortMode == SORT_SIZE || panel->sortMode == SORT_SIZE + SORT_REVERSED) {
        Westring name = panel->CursorEntry() ? Westring(panel->CursorEntry()->name) : Westring();
        SortPanel(panel);
        SetPanelCursorToName(panel, name);
    }
    if (IsPanelVisible(panel))
        RedrawPanel(panel);
    return !stopped;
}
