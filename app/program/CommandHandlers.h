// The commands the dispatch table names, grouped by what they act on: the
// panel cursor and directory, the command line, the function keys, the
// control keys and the menu command codes.
#pragma once

#include "app/program/CommandDispatch.h"

// Panel cursor and navigation.
int CmdCursorUp(TCommand& c);
int CmdCursorDown(TCommand& c);
int CmdCursorHome(TCommand& c);
int CmdCursorEnd(TCommand& c);
int CmdPageUp(TCommand& c);
int CmdPageDown(TCommand& c);
int CmdLeft(TCommand& c);
int CmdRight(TCommand& c);
int CmdInsert(TCommand& c);
int CmdAltUpDown(TCommand& c);
int CmdParentDirectory(TCommand& c);
int CmdEnterEntry(TCommand& c);
int CmdHomeDirectory(TCommand& c);
int CmdRootOrHistory(TCommand& c);
int CmdGoToLinkTarget(TCommand& c);

// Command line.
int CmdLineLeft(TCommand& c);
int CmdLineRight(TCommand& c);
int CmdWordLeft(TCommand& c);
int CmdWordRight(TCommand& c);
int CmdDeleteWordRight(TCommand& c);
int CmdDeleteWordLeft(TCommand& c);
int CmdBackspace(TCommand& c);
int CmdDelete(TCommand& c);
int CmdLineHome(TCommand& c);
int CmdLineEnd(TCommand& c);
int CmdHistoryPrevious(TCommand& c);
int CmdHistoryNext(TCommand& c);
int CmdInsertEntryName(TCommand& c);
int CmdInsertEntryPath(TCommand& c);
int CmdEscape(TCommand& c);
int CmdInsertDirectory(TCommand& c);
int CmdCopyLine(TCommand& c);
int CmdPasteLine(TCommand& c);
int CmdComplete(TCommand& c);
int CmdEnter(TCommand& c);

// Function keys.
int CmdHelp(TCommand& c);
int CmdUserMenu(TCommand& c);
int CmdView(TCommand& c);
int CmdEdit(TCommand& c);
int CmdCopyMove(TCommand& c);
int CmdMakeDirectory(TCommand& c);
int CmdDeleteFiles(TCommand& c);
int CmdQuit(TCommand& c);
int CmdTogglePanel(TCommand& c);
int CmdDriveMenu(TCommand& c);
int CmdStoredPaths(TCommand& c);
int CmdMakeObjects(TCommand& c);
int CmdFind(TCommand& c);
int CmdCommandHistory(TCommand& c);
int CmdToggleLines(TCommand& c);
int CmdTreeChooser(TCommand& c);
int CmdManual(TCommand& c);
int CmdViewEditTyped(TCommand& c);
int CmdCopyMoveModes(TCommand& c);
int CmdMakeArchive(TCommand& c);
int CmdDeleteTyped(TCommand& c);
int CmdSaveSettings(TCommand& c);
int CmdFullWidth(TCommand& c);
int CmdSymbolicLinks(TCommand& c);
int CmdSynchronize(TCommand& c);
int CmdViewStyleKey(TCommand& c);
int CmdDirectoryHistory(TCommand& c);
int CmdToggleColumns(TCommand& c);
int CmdNetwork(TCommand& c);

// Control keys.
int CmdAttributes(TCommand& c);
int CmdScrollBack(TCommand& c);
int CmdChangeCase(TCommand& c);
int CmdToggleHidden(TCommand& c);
int CmdSwitchPanels(TCommand& c);
int CmdCompare(TCommand& c);
int CmdInfoPage(TCommand& c);
int CmdPanelsOnOff(TCommand& c);
int CmdOtherPanelOnOff(TCommand& c);
int CmdDirectorySizes(TCommand& c);
int CmdReread(TCommand& c);
int CmdSelectGroup(TCommand& c);
int CmdSwapPanels(TCommand& c);
int CmdOpenInBrowser(TCommand& c);
int CmdUnselectGroup(TCommand& c);
int CmdPreviousDirectory(TCommand& c);
int CmdEjectLoad(TCommand& c);
int CmdSearchBackspace(TCommand& c);
int CmdRestoreSelection(TCommand& c);
int CmdTagAll(TCommand& c);
int CmdUntagAll(TCommand& c);
int CmdFileInformation(TCommand& c);

// Menu command codes.
int CmdMenuInfo(TCommand& c);
int CmdMenuSort(TCommand& c);
int CmdMenuReverse(TCommand& c);
int CmdMenuViewStyle(TCommand& c);
int CmdMenuFilter(TCommand& c);
int CmdMenuReread(TCommand& c);
int CmdFileDate(TCommand& c);
int CmdEditAssociations(TCommand& c);
int CmdEditUserMenu(TCommand& c);
int CmdConfiguration(TCommand& c);
int CmdColours(TCommand& c);
int CmdPathPrompt(TCommand& c);
int CmdFullScreen(TCommand& c);
int CmdClock(TCommand& c);
int CmdTagDirectories(TCommand& c);
int CmdConfirmations(TCommand& c);
int CmdThousandSeparator(TCommand& c);
int CmdRetainCount(TCommand& c);

// Panel state operations the commands share.
void SetPanelSortMode(CPanel* panel, int mode);
void SetPanelViewStyle(CPanel* panel, int style);
void TogglePanelsOnOff();
// Re-reads a panel in place keeping its tags (the panel at `side`).
void RereadPanelInPlace(int side);
// Resolves a panel to a path and re-reads it with the view at the top; false
// when the path cannot be reached.
bool GoToDirectory(CPanel* panel, const Westring& path);
