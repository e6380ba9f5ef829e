#include "app/settings/Config.h"

#include <cstring>

TCONFIG Config;

TCONFIG::TCONFIG()
    : Lines(0), Columns(0), PanelHeight(0), NumLock(0), MouSpeed(0), Hidden(0), Clock(0), TimeMode(0), Saver(0),
      ScrollDelay(0), LeftSort(0), RightSort(0), LeftStyle(0), RightStyle(0), LeftType(0), RightType(0), LeftWidth(0),
      RightWidth(0), FullScreen(0), HalfScreenConsoleLines(0), PathPrompt(0), Confirmations(0), CodePage(0),
      LeftShowing(0), RightShowing(0), AutoSave(0), StickyAlt(0), TagDirs(0), PMClip(0), Shadows(0), ThousandSep(0),
      AutoIndent(0), OverStrike(0), CtrlRDriveChng(0), FFRootSearch(0), FFRecurse(0), FFCase(0), FFWholeWord(0),
      FFMultiDrive(0), FFFollowLinks(0), FFDepth(0), EscPanelSwitch(0), WaitDOS(0), CmdChar(0), SizeCountPause(0),
      BriefWordRight(0), RetainCount(0), ViewerWrap(0), CaseModRecurse(0), CaseModDirs(0), CaseModFiles(0),
      StartupSide(0), DisableInvert(0), TabWidth(0), IndentWidth(0), CMPTime(0), CMPSize(0), CMPContents(0),
      CMPUnmatched(0), KeepExtVisible(0), MaxHist(0), MaxFieldHist(0), ExpandedTrees(0), FontSize(0),
      ConsoleScrollback(0), TextCodePage(0), RelativeLinks(0), SyncCopyMissing(0), SyncUpdateOlder(0),
      SyncRevertNewer(0), SyncDeleteExtra(0), SyncUpdateSmaller(0), SyncUpdateLarger(0), NaturalSort(0),
      PauseAfterRun(0) {
    std::memset(Colours, 0, sizeof(Colours));
}
