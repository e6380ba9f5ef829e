#include "app/panels/PanelNavigation.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelFormat.h"
#include "app/panels/PanelWindow.h"
#include "app/panels/PanelArchive.h"
#include "base/io/DirScanner.h"
#include "base/os/FileAttributes.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/Volumes.h"
#include "base/strings/Str32.h"
#include "base/strings/StringStore.h"
#include "base/os/PathNormalizer.h"
#include "ui/Win.h"

namespace {

// The side SwitchActivePanel made active last; -1 so that the first call acts.
int LastActiveSide = -1;

// Entry rows of a panel window.
int EntryRows() {
    return Config.PanelHeight > 0 ? Config.PanelHeight : 1;
}

bool IsBriefStyle(const CPanel* panel) {
    return panel->viewStyle == VIEW_BRIEF || panel->viewStyle == VIEW_BRIEFWIDE;
}

bool CanDraw(const CPanel* panel) {
    return panel->window != nullptr && !panel->window->IsHidden();
}

// Draws one entry row after a scroll by one: a single entry in the one-column
// styles; in brief and briefwide the whole row across the columns, blank with
// the column rules, then the entry of each column's slot in that row.
void DrawScrolledRow(CPanel* panel, int row) {
    const int rows = EntryRows();
    if (!IsBriefStyle(panel)) {
        const int index = panel->topIndex + row;
        if (index < panel->entryCount)
            DrawPanelEntryLine(0, row, panel, index, 0, NoNameScroll);
        return;
    }
    const int columns = panel->viewStyle == VIEW_BRIEF ? 3 : 2;
    const uint8_t attribute = ColourOf(ColourPanel);
    CellString blank(RepeatChar32(' ', panel->window->ClientWidth()).Data(), attribute);
    for (int c = 1; c < columns; c++) {
        const int x = GetPanelColumnPosition(c * rows, panel->viewStyle).x;
        if (x > 0 && x <= blank.Length())
            blank.Data()[x - 1].character = BoxSingleVertical;
    }
    panel->window->WriteAttrString(0, row, blank);
    for (int c = columns - 1; c >= 0; c--) {
        const int index = panel->topIndex + c * rows + row;
        if (index < panel->entryCount) {
            const TPanelSlot slot = GetPanelColumnPosition(c * rows + row, panel->viewStyle);
            DrawPanelEntryLine(slot.x, slot.row, panel, index, 0, NoNameScroll);
        }
    }
}

void ScrollEntryArea(CPanel* panel, int lines) {
    panel->window->Scroll(0, 0, panel->window->ClientWidth(), EntryRows(), lines);
}

// The directory names of a path, in order.
void SplitComponents(const Westring& rest, WestringStore& components) {
    Westring part;
    for (int i = 0; i <= rest.Length(); i++) {
        const char32_t c = i < rest.Length() ? rest[i] : 0;
        if (c == '\\' || c == 0) {
            if (!part.IsEmpty())
                components.Add(new Westring(part));
            part.Clear();
        } else {
            part.AppendChar(c);
        }
    }
}

Westring JoinPath(const Westring& directory, const Westring& name) {
    if (!directory.IsEmpty() && directory[directory.Length() - 1] == '\\')
        return directory + name;
    return directory + U"\\" + name;
}

// The longest leading part of the target, cut back at backslashes, that the
// panel's path begins with and that ends there at a backslash or at the end
// of the path; spelled as in the panel's path. Empty when they share nothing.
Westring SharedStart(const Westring& target, const Westring& current) {
    Westring cut = target;
    while (!cut.IsEmpty()) {
        const int n = cut.Length();
        if (n <= current.Length() && Str32CompareNoCaseN(current.Data(), cut.Data(), n) == 0 &&
            (n == current.Length() || current[n] == '\\' || cut[n - 1] == '\\'))
            return current.Left(n);
        const int slash = cut.FindLast('\\');
        if (slash < 0)
            break;
        cut = cut.Left(slash);
    }
    return Westring();
}

bool StartsWithNoCase(const Westring& text, const Westring& prefix) {
    return text.Length() >= prefix.Length() && Str32CompareNoCaseN(text.Data(), prefix.Data(), prefix.Length()) == 0;
}

// Closes, innermost first, the archive levels that the path no longer lies
// in or whose archive file has gone.
void CloseStaleArchives(CPanel* panel, const Westring& path) {
    while (panel->archive != nullptr) {
        if (StartsWithNoCase(path, GetArchiveDisplayPath(panel->archive)) && FileExists(panel->archive->filePath))
            return;
        CArchive* outer = panel->archive->parent;
        panel->archive->parent = nullptr;
        delete panel->archive;
        panel->archive = outer;
    }
}

// Opens a file on disk as an archive, which becomes the panel's archive.
// False when no reader takes it.
bool OpenPanelArchive(CPanel* panel, const Westring& path) {
    CArchive* opened = OpenArchive(path, panel->archive);
    if (opened->status != 0) {
        opened->parent = nullptr;  // the panel keeps its archive
        delete opened;
        return false;
    }
    panel->archive = opened;
    return true;
}

// A path inside an archive: no leading backslash.
Westring JoinInside(const Westring& inside, const Westring& name) {
    return inside.IsEmpty() ? name : inside + U"\\" + name;
}

// Adds one component of a path inside the panel's archive: a directory of the
// archive as it is; an entry of that name as a nested archive. False when a
// nested archive cannot be opened.
bool EnterArchiveComponent(CPanel* panel, Westring& built, const Westring& name) {
    const Westring display = GetArchiveDisplayPath(panel->archive);
    Westring inside = built.Length() > display.Length() ? built.Mid(display.Length() + 1, 0) : Westring();
    if (ArchiveFindFirst(panel->archive, JoinInside(inside, name), nullptr) == 0) {
        built = JoinPath(built, name);
        return true;
    }
    entry* item = nullptr;
    for (DWORD status = ArchiveFindFirst(panel->archive, inside, &item); status == 0;
         status = ArchiveFindNext(panel->archive, &item)) {
        const bool match = Str32CompareNoCase(item->name, name.Data()) == 0;
        entry::Free(item);
        item = nullptr;
        if (match) {
            // A nested archive is read from a copy of the member outside the
            // archive, which the archive commands make.
            Westring local = ArchiveMemberHooks.entryFile
                                 ? ArchiveMemberHooks.entryFile(panel->archive, JoinInside(inside, name))
                                 : Westring();
            if (local.IsEmpty() || !OpenPanelArchive(panel, local))
                return false;
            built = JoinPath(built, name);
            return true;
        }
    }
    built = JoinPath(built, name);
    return true;
}

bool HasWildcard(const Westring& name) {
    return name.Find('*') >= 0 || name.Find('?') >= 0;
}

template <class T>
void SwapValues(T& a, T& b) {
    T saved = a;
    a = b;
    b = saved;
}

// Exchanges the items of two owning collections of one kind; they stay in
// their order, and none is copied or freed.
template <class C>
void ExchangeItems(C& a, C& b) {
    const int countA = a.Count();
    const int countB = b.Count();
    auto** held = new decltype(a.At(0))[countA > 0 ? countA : 1];
    for (int i = 0; i < countA; i++)
        held[i] = a.At(i);
    a.RemoveAll();
    for (int i = 0; i < countB; i++)
        a.Add(b.At(i));
    b.RemoveAll();
    for (int i = 0; i < countA; i++)
        b.Add(held[i]);
    delete[] held;
}

template <int N>
void SwapTexts(char32_t (&a)[N], char32_t (&b)[N]) {
    for (int i = 0; i < N; i++)
        SwapValues(a[i], b[i]);
}

}  // namespace

void MovePanelCursor(CPanel* panel, int lines) {
    if (!panel->isOn || panel->panelType != PANEL_FILES)
        return;
    panel->cursorRow += lines;
    if (panel->topIndex + panel->cursorRow >= panel->entryCount)
        panel->cursorRow = panel->entryCount - panel->topIndex - 1;
    const int row = panel->cursorRow;
    if (row >= 0 && row < panel->linesInView)
        return;
    if (row < 0 && panel->topIndex == 0) {
        panel->cursorRow = 0;
        return;
    }
    const int distance = row < 0 ? row : row - panel->linesInView + 1;
    const bool draw = CanDraw(panel);
    if (distance == 1) {
        panel->cursorRow -= 1;
        panel->topIndex += 1;
        if (draw) {
            ScrollEntryArea(panel, 1);
            DrawScrolledRow(panel, EntryRows() - 1);
        }
    } else if (distance == -1) {
        panel->cursorRow += 1;
        panel->topIndex -= 1;
        if (draw) {
            ScrollEntryArea(panel, -1);
            DrawScrolledRow(panel, 0);
        }
    } else {
        panel->cursorRow -= distance;
        panel->topIndex += distance;
        if (panel->topIndex < 0)
            panel->topIndex = 0;
        RedrawPanel(panel);
    }
    if (draw)
        DrawScrollBar(panel);
}

void MovePanelCursorAndShow(CPanel* panel, int lines) {
    const int side = PanelSide(panel);
    DrawCursorBar(side, false);
    MovePanelCursor(panel, lines);
    DrawCursorBar(side, true);
}

void SetPanelCursorToName(CPanel* panel, const Westring& name) {
    int found = -1;
    for (int i = 0; i < panel->entryCount && found < 0; i++) {
        if (Str32CompareNoCase(panel->entries[i]->name, name.Data()) == 0)
            found = i;
    }
    if (found >= 0) {
        panel->cursorRow = found - panel->topIndex;
        if (panel->cursorRow < 0) {
            panel->topIndex = found;
            panel->cursorRow = 0;
        }
    } else if (panel->cursorRow < 0) {
        panel->topIndex += panel->cursorRow;
        panel->cursorRow = 0;
        if (panel->topIndex < 0)
            panel->topIndex = 0;
    }
    // Before the first redraw the view has no size yet; the redraw clamps.
    if (panel->linesInView > 0 && panel->cursorRow >= panel->linesInView) {
        panel->topIndex += panel->cursorRow - panel->linesInView + 1;
        panel->cursorRow = panel->linesInView - 1;
    }
}

void RememberPanelPosition(CPosStack& positions, const Westring& directory, uint32_t topIndex,
                           const Westring& cursorName) {
    TPanelPosition* known = positions.Find(&directory);
    if (known != nullptr) {
        known->topIndex = topIndex;
        known->cursorName = cursorName;
        return;
    }
    positions.Insert(new TPanelPosition{directory, topIndex, cursorName});
}

int ResolvePanelPath(CPanel* panel, const Westring& typedPath) {
    Westring target = typedPath;
    if (NormalizePath(target) != 0)
        return 0;
    Westring built = SharedStart(target, Westring(panel->path));
    if (IsUncPath(target) && built.EqualsExact(Westring(U"\\")))
        built = Westring(U"\\\\");
    CloseStaleArchives(panel, built);
    if (built.IsEmpty())
        built = IsRootPath(target) ? target : target.Left(2);
    if (HasDrivePrefix(built) && built.Length() == 2)
        built += '\\';

    WestringStore components;
    if (!(built == target))
        SplitComponents(target.Mid(built.Length(), 0), components);
    for (int i = 0; i < components.Count() && !(built == target); i++) {
        const Westring& name = *components.At(i);
        if (panel->archive != nullptr) {
            if (!EnterArchiveComponent(panel, built, name))
                return 0;
            continue;
        }
        // Neither the network root nor a server is a directory to look
        // into: a server is taken as named, a share when it can be reached.
        if (built.EqualsExact(Westring(U"\\\\"))) {
            built = built + name;
            continue;
        }
        if (IsUncPath(built) && built.FindFrom(Westring(U"\\"), 2) < 0) {
            Westring share = built + Westring(U"\\") + name;
            DWORD attributes = 0;
            if (ReadFileAttributes(share, attributes) != 0 || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                return 0;
            built = share;
            continue;
        }
        if (HasWildcard(name))
            return 0;
        CDirScanner scanner(built);
        entry* found = nullptr;
        if (scanner.FindFirst(name, CDirScanner::ScanEverything, &found) != 0 || found == nullptr)
            return 0;
        built = JoinPath(built, Westring(found->name));
        if ((found->attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !OpenPanelArchive(panel, built))
            return 0;
    }
    return SetPanelPath(panel, built) ? 1 : 0;
}

void TogglePanel(int side) {
    CPanel* panel = &Panels[side];
    CPanel* other = &Panels[1 - side];
    if (panel->isOn) {
        ClosePanelWindow(panel);
        if (other->widthKind == WIDTH_FORCEDHALF) {
            other->widthKind = WIDTH_FULL;
            if (other->isOn)
                OpenPanelWindow(other, 1 - side);
        } else {
            panel->startHidden = 1;
        }
        return;
    }
    if (other->widthKind == WIDTH_FULL) {
        other->widthKind = WIDTH_FORCEDHALF;
        if (other->isOn)
            OpenPanelWindow(other, 1 - side);
    }
    panel->isOn = 1;
    OpenPanelWindow(panel, side);
    // The windows came back with inactive frames: the next activation redraws them.
    LastActiveSide = -1;
}

void ResetActivePanelMemory() {
    LastActiveSide = -1;
}

void SwitchActivePanel(CPanel* panels, int side) {
    if (side == LastActiveSide)
        return;
    LastActiveSide = side;
    ActiveSide = side;
    for (int s = 0; s < 2; s++)
        DrawPanelFrame(Westring(panels[s].path), s == side, s == 1 && Config.Clock, &panels[s]);

    CPanel* checked = &panels[side];
    if (checked->panelType == PANEL_INFO || checked->viewStyle == VIEW_TREE)
        checked = &panels[1 - side];
    if (checked->driveError == 0 && checked->panelType == PANEL_FILES && !IsUncPath(Westring(checked->path))) {
        DWORD serial = 0;
        Westring label;
        const DWORD error = GetVolumeLabelAndSerial(checked->path[0], serial, label);
        if (error == ERROR_NOT_READY) {
            checked->driveError = ERROR_NOT_READY;
            ReadPanelDirectory(checked);
            RedrawPanel(checked);
            // So that the next check sees a change whatever disk comes.
            checked->volumeSerial = 0xFFFFFFFF;
        } else {
            checked->driveError = 0;
            if (serial != checked->volumeSerial || !label.EqualsNoCase(Westring(checked->volumeLabel))) {
                ReadPanelDirectory(checked);
                if (checked->panelType == PANEL_FILES)
                    RedrawPanel(checked);
            }
        }
    }
    ChangeDirectory(GetPanelDirectory(checked));
    Config.StartupSide = side == 0 ? 'L' : 'R';
}

void SwapPanels(CPanel* panels) {
    CPanel& a = panels[0];
    CPanel& b = panels[1];
    for (int side = 0; side < 2; side++) {
        delete panels[side].window;
        panels[side].window = nullptr;
    }
    SwapTexts(a.path, b.path);
    SwapTexts(a.shownPath, b.shownPath);
    SwapTexts(a.previousPath, b.previousPath);
    SwapValues(a.cursorRow, b.cursorRow);
    SwapValues(a.topIndex, b.topIndex);
    SwapValues(a.shownTopIndex, b.shownTopIndex);
    SwapValues(a.shownCursorRow, b.shownCursorRow);
    SwapValues(a.previousTopIndex, b.previousTopIndex);
    SwapValues(a.previousCursorRow, b.previousCursorRow);
    SwapValues(a.isOn, b.isOn);
    SwapValues(a.needsReread, b.needsReread);
    SwapValues(a.readDone, b.readDone);
    SwapValues(a.startHidden, b.startHidden);
    ExchangeItems(a.positions, b.positions);
    SwapValues(a.entries, b.entries);
    SwapValues(a.entryCapacity, b.entryCapacity);
    SwapValues(a.entryCount, b.entryCount);
    SwapValues(a.taggedCount, b.taggedCount);
    SwapValues(a.taggedBytes, b.taggedBytes);
    SwapTexts(a.searchText, b.searchText);
    SwapValues(a.sortMode, b.sortMode);
    SwapValues(a.panelType, b.panelType);
    SwapValues(a.viewStyle, b.viewStyle);
    SwapValues(a.widthKind, b.widthKind);
    SwapValues(a.filter, b.filter);
    SwapValues(a.linesInView, b.linesInView);
    SwapTexts(a.fileSystemName, b.fileSystemName);
    SwapValues(a.volumeSerial, b.volumeSerial);
    SwapTexts(a.volumeLabel, b.volumeLabel);
    SwapValues(a.mountPoint, b.mountPoint);
    SwapValues(a.driveError, b.driveError);
    SwapValues(a.tree, b.tree);
    SwapValues(a.archive, b.archive);
    SwapValues(a.nameScrollOffset, b.nameScrollOffset);
    SwapValues(a.dirInfoRow, b.dirInfoRow);
    ExchangeItems(a.subdirectoryNames, b.subdirectoryNames);
    ExchangeItems(a.linkTargets, b.linkTargets);
    for (int side = 0; side < 2; side++) {
        if (panels[side].isOn)
            OpenPanelWindow(&panels[side], side);
    }
    LastActiveSide = -1;
}
