// Services main and the panels call around start-up and screen layout: the
// panel height, the locale's date and number formats, the console title and
// the optional system functions looked up at run time.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

// Short-date order of the user's locale: 0 month-day-year, 1 day-month-year,
// 2 year-month-day.
extern int DateOrder;
// The date separator, 0 when the locale has none.
extern char DateSeparator;
// printf format of a date with its three numbers in the locale's order, always
// eight characters wide ("%02d/%02d/%02d" for a slash).
extern Estring DateFormat;

// The text main keeps for restoring the title at shut-down.
extern Westring ConsoleExitTitle;

// Found in KERNEL32 at start-up; null when the system lacks them.
typedef BOOL(WINAPI* TCopyFileExW)(LPCWSTR, LPCWSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
typedef BOOLEAN(WINAPI* TCreateSymbolicLinkW)(LPCWSTR, LPCWSTR, DWORD);
extern TCopyFileExW CopyFileExWFunction;
extern TCreateSymbolicLinkW CreateSymbolicLinkWFunction;
void LoadOptionalKernelFunctions();

// The panel height for the screen rows, by "FullScreen" and
// "HalfScreenConsoleLines".
int ComputePanelHeight(int rows);
// Config.PanelHeight for the console's size, then the idle output region.
void UpdatePanelHeight();

// The console code page, the locale's date order, separators and Alt-key
// mask, the date format, then the case tables.
void InitLocaleSettings();
// The date format for an order and a separator (0 for none).
Estring MakeDateFormat(int order, char separator);

// Null: the program's own title; the exit title: that text alone; any other
// text: "Quorvane: " and the text.
void UpdateConsoleTitle(const Westring* text);
Westring ConsoleTitleFor(const Westring* text);

// Called when the "NumLock" setting is on; there is nothing to do.
void ApplyNumLockSetting();
