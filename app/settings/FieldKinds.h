// Input-field kinds: every dialog input field names the kind whose input
// history and presets it shares with the other fields of that kind.
#pragma once

enum EFieldKind {
    FieldKindHistorySearch = 0,   // search text of the command-history picker
    FieldKindCompareMask = 1,     // directory compare mask; synchroniser file filter
    FieldKindFindFiles = 2,       // file find: files to find
    FieldKindFindText = 3,        // file find: text to search for; search and replace
    FieldKindSelectMask = 4,      // select and unselect files by mask
    FieldKindSearchText = 5,      // viewer and editor: search text
    FieldKindReplaceText = 6,     // editor: replacement text
    FieldKindPanelFilter = 7,     // panel filter
    FieldKindTranslateCP = 8,     // code page translation list
    FieldKindArchiveName = 9,     // name of an archive to make
    FieldKindDestination = 10,    // destination of copy, move and links
    FieldKindFileName = 11,       // file names typed into prompts
    FieldKindSyncDirFilter = 12,  // synchroniser directory filter
    FieldKindCount = 13,          // kinds 0 .. FieldKindCount - 1 keep a history
    FieldKindNoHistory = 14       // a field that keeps no history
};

// True for a kind that keeps a history and presets.
inline bool IsHistoryFieldKind(int kind) {
    return kind >= 0 && kind < FieldKindCount;
}
