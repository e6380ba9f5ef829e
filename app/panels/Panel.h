// CPanel: the whole state of one of the two file panels, and the operations
// that read a panel's directory and tell where it stands.
//
// A panel shows a directory on a drive, a share, the network root ("\\"), a
// server's share list ("\\server"), or a directory inside an open archive. Two
// panels live for the whole run, left (side 0) and right (side 1); `main`
// allocates the pair into `Panels` and keeps the active side in `ActiveSide`.
// The entries are malloc'd `entry` records the panel owns; everything else
// that reaches the screen is drawn from these fields (PanelDraw.h).
#pragma once

#include <cstdint>

#include "app/panels/LinkTargetCache.h"
#include "app/panels/PosStack.h"
#include "base/io/Entry.h"
#include "base/strings/StringCollection.h"
#include "base/strings/Westring.h"

class Win;
class CTree;
class CArchive;

// Sort modes; 5 to 8 are 0 to 3 reversed, 4 and 9 keep the read order.
enum {
    SORT_NAME = 0,
    SORT_EXTENSION = 1,
    SORT_TIME = 2,
    SORT_SIZE = 3,
    SORT_UNSORTED = 4,
    SORT_REVERSED = 5,  // added to a key's mode
    SORT_UNSORTED2 = 9,
};

// Panel types.
enum { PANEL_FILES = 0, PANEL_INFO = 1 };

// View styles.
enum {
    VIEW_BRIEF = 0,
    VIEW_FULL = 1,
    VIEW_WIDE = 2,
    VIEW_BRIEFWIDE = 3,
    VIEW_UNIX = 4,
    VIEW_TREE = 5,
    VIEW_TREE_CHOOSER = 6,  // the tree chooser's 70-column lines
};

// Width kinds.
enum { WIDTH_HALF = 0, WIDTH_FORCEDHALF = 1, WIDTH_FULL = 2 };

// Entry sort classes: ".." first, then directories, hidden files, other files.
enum : char {
    SORTCLASS_PARENT = '1',
    SORTCLASS_DIRECTORY = 'A',
    SORTCLASS_HIDDEN = 'B',
    SORTCLASS_FILE = 'C',
};

class CPanel {
public:
    static constexpr int PathUnits = 512;  // path buffers, terminator included
    static constexpr int FileSystemNameUnits = 30;
    static constexpr int VolumeLabelUnits = 80;
    static constexpr int InitialEntryCapacity = 4096;

    CPanel();
    ~CPanel();
    CPanel(const CPanel&) = delete;
    CPanel& operator=(const CPanel&) = delete;

    // The cursor entry, or null when the panel has no entries (or the cursor
    // stands outside them).
    entry* CursorEntry() const;
    int CursorIndex() const { return topIndex + cursorRow; }
    // Frees every entry and forgets the tags.
    void FreeEntries();

    char32_t path[PathUnits];          // the directory shown
    char32_t shownPath[PathUnits];     // the directory of the last completed change
    char32_t previousPath[PathUnits];  // the directory shown before the last change
    int32_t cursorRow;                 // from the first visible slot
    int32_t topIndex;                  // index of the first visible entry
    // The view last seen in shownPath (kept by the main loop) and carried to
    // previousPath by a directory change, so going back restores it.
    int32_t shownTopIndex;
    int32_t shownCursorRow;
    int32_t previousTopIndex;
    int32_t previousCursorRow;
    uint8_t isOn;
    uint8_t needsReread;  // a read was asked for while off or INFO
    uint8_t readDone;     // set by every read, cleared by every redraw
    uint8_t startHidden;  // hidden by the user
    Win* window;          // null while none exists
    CPosStack positions;
    entry** entries;  // owned; each freed with entry::Free
    int32_t entryCapacity;
    // Goes up whenever the entry records are freed (a read, a tree fill), so
    // that a holder of an entry pointer can tell it no longer points at one.
    uint32_t entriesGeneration;
    int32_t entryCount;
    int32_t taggedCount;
    int64_t taggedBytes;
    char32_t searchText[PathUnits];  // the quick-search text, empty when none runs
    int32_t sortMode;
    int32_t panelType;
    int32_t viewStyle;
    int32_t widthKind;
    Westring filter;      // a file-mask expression; "*" shows all
    int32_t linesInView;  // entry slots visible
    char32_t fileSystemName[FileSystemNameUnits];
    uint32_t volumeSerial;  // 0 when unknown or on a network drive
    char32_t volumeLabel[VolumeLabelUnits];
    Westring mountPoint;                   // shown by the information page
    int32_t driveError;                    // 0, or the error that made the drive unreadable
    CTree* tree;                           // the directory tree attached, or null
    uint8_t treeRescan;                    // tree view: rescan the tree at the next fill
    CArchive* archive;                     // innermost open archive, or null
    int32_t nameScrollOffset;              // cells of the cursor name scrolled out of view
    int32_t dirInfoRow;                    // where the information page shows "dirinfo"
    FnStringCollection subdirectoryNames;  // every subdirectory of the last read
    CLinkTargetCache linkTargets;
};

// The pair of panels (left = 0, right = 1), allocated by `main`, and the side
// that is active.
extern CPanel* Panels;
extern int ActiveSide;

// Copies a path into one of a panel's fixed buffers; false, leaving the buffer
// as it was, when it would not fit.
bool CopyPanelText(char32_t* buffer, int units, const Westring& text);
template <int N>
bool CopyPanelText(char32_t (&buffer)[N], const Westring& text) {
    return CopyPanelText(buffer, N, text);
}
// Makes `path` the panel's directory; a path that does not fit is refused
// with the system's "filename too long" message and false.
bool SetPanelPath(CPanel* panel, const Westring& path);

// (Re)reads the panel's directory into its entries. A panel that is off or
// shows the information page is only marked for a later read.
void ReadPanelDirectory(CPanel* panel);
// Reads the directory as a shown file list would, whatever the panel shows
// (off, the information page, brief or tree), and keeps what it shows: the
// start-up's first read and a script's look at a hidden panel.
void ReadPanelAsFileList(CPanel* panel);
// The reads of the program's start-up, between the two calls: a panel may
// take the listing the other has just read of the same directory, and Ctrl-C
// in one read stops the reads after it (each keeps what it has). Given the two
// panels in the order they will be read, the second one's drive directory,
// when it is another than the first one's, is read ahead while the first one
// is read and drawn.
void BeginStartupReads(const CPanel* first = nullptr, const CPanel* second = nullptr);
void EndStartupReads();
// Reads both panels (a panel that is off is only marked).
void RereadBothPanels();
// Doubles the entry array.
void GrowEntryArray(CPanel* panel);
// Appends to the entry array, growing it when full; false (the record freed)
// when memory is short.
bool AppendEntry(CPanel* panel, entry* item);
// Attaches the tree that belongs to the panel's drive or archive.
void RefreshPanelTree(CPanel* panel);
// The panel's directory on disk: inside an archive the folder of the
// outermost archive file; "X:" becomes "X:\".
Westring GetPanelDirectory(const CPanel* panel);
// Saves the panel's tree; true when it has none.
bool SavePanelTree(CPanel* panel);
// Screen columns for a full-width panel, else half of them.
int GetPanelWidth(const CPanel* panel);
bool IsPanelVisible(const CPanel* panel);
// The side (0 or 1) of a panel of the pair.
int PanelSide(const CPanel* panel);
inline CPanel* OtherPanel(const CPanel* panel) {
    return &Panels[1 - PanelSide(panel)];
}
