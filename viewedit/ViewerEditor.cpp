#include "viewedit/ViewerEditor.h"

#include "app/settings/Colours.h"
#include "shell/CommandMacros.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelNavigation.h"
#include "base/os/SystemError.h"
#include "base/strings/Utf16String.h"
#include "console/KeyCodes.h"
#include "base/os/PathNormalizer.h"
#include "platform/win32.h"
#include "ui/Win.h"
#include "viewedit/Viewer.h"

namespace {

const int NoMoreFilesMs = 500;

bool IsFileEntry(const entry* item) {
    return item && (item->attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The index of the nearest file entry from `index` in the direction, or -1.
int NearestFile(const CPanel* panel, int index, int step) {
    for (int i = index + step; i >= 0 && i < panel->entryCount; i += step) {
        if (IsFileEntry(panel->entries[i]))
            return i;
    }
    return -1;
}

void ShowNoMoreFiles() {
    const uint8_t attribute = ColourOf(ColourMessages);
    Win box(-1, -2, 18, 5, attribute, attribute, 0);
    box.WriteCentred(1, "No more files", attribute);
    Sleep(NoMoreFilesMs);
}

// A file viewed in follow mode may have grown: the entry shows it.
void RefreshEntry(entry* item, const Westring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Utf16String(path).Data(), GetFileExInfoStandard, &data))
        return;
    item->size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    item->time = TTimestamp::FromFileTime(data.ftLastWriteTime);
}

}  // namespace

void ViewFile(const Westring& path, int startLine) {
    CViewer viewer;
    viewer.Run(path, startLine, -1);
}

void ViewPanelFiles(CPanel* panel) {
    if (!panel || panel->entryCount == 0)
        return;
    int index = panel->CursorIndex();
    if (index < 0 || index >= panel->entryCount)
        return;
    Westring directory = GetPanelDirectory(panel);
    {
        CViewer viewer;
        for (;;) {
            entry* item = panel->entries[index];
            Westring path(item->name);
            if (panel->archive) {
                // A member is viewed as its extracted copy.
                if (GetArchiveEntryFileHook == nullptr || GetArchiveEntryFileHook(panel, path, path) != 0)
                    break;
            } else if (NormalizePath(path, directory.Data()) != 0) {
                path = AddTrailingBackslash(directory) + Westring(item->name);
            }
            // Only File Find sets a match; other entries carry no position.
            const bool matched = item->matchLength > 0 && item->matchOffset >= 0;
            int key = viewer.Run(path, matched ? item->matchOffset : -1, matched ? item->matchLength : -1);
            RefreshEntry(item, path);
            if (key != KEY_ALT_UP && key != KEY_ALT_DOWN)
                break;
            int next = NearestFile(panel, index, key == KEY_ALT_UP ? -1 : 1);
            if (next < 0) {
                ShowNoMoreFiles();
                continue;
            }
            index = next;
        }
    }
    MovePanelCursor(panel, index - panel->CursorIndex());
}
