// TCONFIG: the one configuration record of the program.
//
// Every setting of the ini file's "[General Options]" section is bound to one
// field here through the key table of the ini reader (IniKeyTable), which also
// gives the defaults. The fields carry the names of their ini keys, so a key
// found in a user's ini file leads straight to its field. Fields that no key
// binds (the panel height, the font) are noted; the live screen size is
// ScreenColumns and ScreenRows of console/ScreenSize.h. Switches are bytes
// holding 0 or 1.
#pragma once

#include <cstdint>

#include "app/settings/Colours.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

struct TCONFIG {
    Westring IniFilePath;  // the ini file named on the command line, empty when none
    int32_t Lines;
    int32_t Columns;
    int32_t PanelHeight;  // entry rows of a panel, see UpdatePanelHeight
    Westring Viewer;
    Westring Viewer2;
    Westring Editor;
    Westring Editor2;
    Westring Left;
    Westring Right;
    uint8_t NumLock;
    int32_t MouSpeed;
    Westring Background;
    uint8_t Hidden;
    int32_t Clock;
    int32_t TimeMode;  // 12 or 24
    int32_t Saver;
    int32_t ScrollDelay;
    int32_t LeftSort;
    int32_t RightSort;
    int32_t LeftStyle;
    int32_t RightStyle;
    int32_t LeftType;
    int32_t RightType;
    int32_t LeftWidth;
    int32_t RightWidth;
    uint8_t FullScreen;
    int32_t HalfScreenConsoleLines;
    Westring LeftFilter;
    Westring RightFilter;
    uint8_t PathPrompt;
    uint8_t Colours[ColourSlotCount];  // console attributes by EColourSlot
    uint32_t Confirmations;            // a set bit switches a confirmation off
    Westring TreeDir;
    int32_t CodePage;
    uint8_t LeftShowing;
    uint8_t RightShowing;
    uint8_t AutoSave;
    uint8_t StickyAlt;
    uint8_t TagDirs;
    uint8_t PMClip;
    Westring CaseFilter;
    uint8_t Shadows;
    uint8_t ThousandSep;
    uint8_t AutoIndent;
    uint8_t OverStrike;
    uint8_t CtrlRDriveChng;
    uint8_t FFRootSearch;
    uint8_t FFRecurse;
    uint8_t FFCase;
    uint8_t FFWholeWord;
    uint8_t FFMultiDrive;
    uint8_t FFFollowLinks;
    int32_t FFDepth;
    Estring FFDriveList;
    uint8_t EscPanelSwitch;
    uint8_t WaitDOS;
    char CmdChar;
    uint8_t SizeCountPause;
    uint8_t BriefWordRight;
    uint8_t RetainCount;
    uint8_t ViewerWrap;
    Westring PathAppend;
    Estring CaseMod;
    uint8_t CaseModRecurse;
    uint8_t CaseModDirs;
    uint8_t CaseModFiles;
    char StartupSide;  // 'L' or 'R'
    uint8_t DisableInvert;
    int32_t TabWidth;
    int32_t IndentWidth;
    int32_t CMPTime;
    int32_t CMPSize;
    uint8_t CMPContents;
    uint8_t CMPUnmatched;
    Westring CMPMask;
    Estring TranslateCP;
    uint8_t KeepExtVisible;
    int32_t MaxHist;
    int32_t MaxFieldHist;
    uint8_t ExpandedTrees;
    int32_t FontSize;  // no key binds the font
    Estring FontName;
    uint8_t ConsoleScrollback;
    int32_t TextCodePage;
    uint8_t RelativeLinks;
    uint8_t SyncCopyMissing;
    uint8_t SyncUpdateOlder;
    uint8_t SyncRevertNewer;
    uint8_t SyncDeleteExtra;
    uint8_t SyncUpdateSmaller;
    uint8_t SyncUpdateLarger;
    Westring SyncDirFilter;
    Westring SyncFilter;
    Westring ConnectRemote;
    uint8_t NaturalSort;
    Westring ScriptPath;
    uint8_t PauseAfterRun;

    // Every string empty, every number zero; LoadConfiguration sets the
    // defaults. Copies are whole copies (the configuration dialog restores
    // one on Cancel).
    TCONFIG();
};

// The live configuration.
extern TCONFIG Config;

// The bits of TCONFIG::Confirmations: a set bit turns that confirmation off.
enum EConfirmationBit : uint32_t {
    ConfirmDeleteFileOff = 1u << 0,      // a file or an empty directory
    ConfirmDeleteTaggedOff = 1u << 1,    // the tagged files
    ConfirmDeleteNonEmptyOff = 1u << 2,  // a directory that holds files
    ConfirmQuitOff = 1u << 3,
    ConfirmTypedYesOff = 1u << 4,  // OK, Cancel and All instead of typing "YES"
};
constexpr int ConfirmationCount = 5;
