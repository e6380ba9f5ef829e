// The command vocabulary of the main loop: every command by name, the one
// function that carries it out, and the key bindings (key codes and menu
// command codes) that select it, kept as data beside the commands. Menus and
// tests name a command; the bindings say which codes reach it.
#pragma once

struct TCommand;

// A command returns the redraw level it needs.
using TCommandHandler = int (*)(TCommand& command);

enum class ECommand {
    CursorUp,
    CursorDown,
    CursorHome,
    CursorEnd,
    PageUp,
    PageDown,
    Left,
    Right,
    Insert,
    AltUpDown,
    ParentDirectory,
    EnterEntry,
    HomeDirectory,
    RootOrHistory,
    GoToLinkTarget,
    LineLeft,
    LineRight,
    WordLeft,
    WordRight,
    DeleteWordRight,
    DeleteWordLeft,
    Backspace,
    Delete,
    LineHome,
    LineEnd,
    HistoryPrevious,
    HistoryNext,
    InsertEntryName,
    InsertEntryPath,
    Escape,
    InsertDirectory,
    CopyLine,
    PasteLine,
    Complete,
    Enter,
    Help,
    UserMenu,
    View,
    Edit,
    CopyMove,
    MakeDirectory,
    DeleteFiles,
    Quit,
    TogglePanel,
    DriveMenu,
    StoredPaths,
    MakeObjects,
    Find,
    CommandHistory,
    ToggleLines,
    TreeChooser,
    Manual,
    ViewEditTyped,
    CopyMoveModes,
    MakeArchive,
    DeleteTyped,
    SaveSettings,
    FullWidth,
    SymbolicLinks,
    Synchronize,
    ViewStyleKey,
    DirectoryHistory,
    ToggleColumns,
    Network,
    Attributes,
    ScrollBack,
    ChangeCase,
    ToggleHidden,
    SwitchPanels,
    Compare,
    InfoPage,
    PanelsOnOff,
    OtherPanelOnOff,
    DirectorySizes,
    Reread,
    SelectGroup,
    SwapPanels,
    OpenInBrowser,
    UnselectGroup,
    PreviousDirectory,
    EjectLoad,
    SearchBackspace,
    RestoreSelection,
    TagAll,
    UntagAll,
    FileInformation,
    MenuInfo,
    MenuSort,
    MenuReverse,
    MenuViewStyle,
    MenuFilter,
    MenuReread,
    FileDate,
    EditAssociations,
    EditUserMenu,
    Configuration,
    Colours,
    PathPrompt,
    FullScreen,
    Clock,
    TagDirectories,
    Confirmations,
    ThousandSeparator,
    RetainCount,
    Count
};

// One row of the command table, which lists every command once, in the order
// of ECommand.
struct TCommandRow {
    ECommand command;
    const char* name;
    TCommandHandler handler;
};

// One key binding: a key code or menu command code and the command it selects.
struct TKeyBinding {
    int code;
    ECommand command;
};

extern const TCommandRow CommandTable[];
extern const int CommandTableSize;
extern const TKeyBinding KeyBindings[];
extern const int KeyBindingCount;

// The codes the dispatch answers before the table: the keys that open the
// menu bar, and the grey keys and their menu codes on a file list.
extern const int MenuBarKeys[];
extern const int MenuBarKeyCount;
extern const int GreyKeyCodes[];
extern const int GreyKeyCodeCount;

// The command a code is bound to; false when it is bound to none.
bool FindBoundCommand(int code, ECommand& command);
// The row of a command.
const TCommandRow& CommandRow(ECommand command);
// The first code bound to a command (what a menu entry returns for it), 0
// when none is.
int CommandKey(ECommand command);
