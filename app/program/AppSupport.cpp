#include "app/program/AppSupport.h"
#include "base/os/ProcLookup.h"

#include <cstdlib>

#include "app/settings/Config.h"
#include "app/program/MainLoop.h"
#include "base/strings/NumberFormat.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/LocaleCase.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/ScreenSize.h"

int DateOrder = 0;
char DateSeparator = '/';
Estring DateFormat("%02d/%02d/%02d");
Westring ConsoleExitTitle;
TCopyFileExW CopyFileExWFunction = nullptr;
TCreateSymbolicLinkW CreateSymbolicLinkWFunction = nullptr;

void LoadOptionalKernelFunctions() {
    CopyFileExWFunction = nullptr;
    CreateSymbolicLinkWFunction = nullptr;
    if (HMODULE kernel = LoadLibraryA("KERNEL32")) {
        CopyFileExWFunction = LookupProc<TCopyFileExW>(kernel, "CopyFileExW");
        CreateSymbolicLinkWFunction = LookupProc<TCreateSymbolicLinkW>(kernel, "CreateSymbolicLinkW");
    }
}

int ComputePanelHeight(int rows) {
    if (Config.FullScreen) {
        return rows - 6;
    }
    int h = Config.HalfScreenConsoleLines;
    int height = h < 0 ? rows + rows / h - 2 : rows - 6 - h;
    if (height >= rows - 5) {
        height = rows - 6;
    }
    return height < 4 ? 4 : height;
}

void UpdatePanelHeight() {
    int columns = ScreenColumns;
    int rows = ScreenRows;
    if (Console) {
        Console->GetScreenSize(columns, rows);
    }
    Config.PanelHeight = ComputePanelHeight(rows);
    if (Console) {
        SetIdleOutputRegion();
    }
}

Estring MakeDateFormat(int order, char separator) {
    Estring format;
    if (separator) {
        format.Format("%%02d%c%%02d%c%%02d", separator, separator);
    } else if (order == 2) {
        format = "%04d%02d%02d";
    } else {
        format = "%02d%02d%02d  ";
    }
    return format;
}

void InitLocaleSettings() {
    if (Config.CodePage != 0) {
        SetConsoleCP(static_cast<UINT>(Config.CodePage));
        SetConsoleOutputCP(static_cast<UINT>(Config.CodePage));
    }
    ConsoleOutputCodePage = GetConsoleOutputCP();
    char buffer[16];
    DateOrder = 0;
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, buffer, sizeof(buffer)) > 0) {
        DateOrder = buffer[0] - '0';
        if (DateOrder < 0 || DateOrder > 2) {
            DateOrder = 0;
        }
    }
    DateSeparator = '/';
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, buffer, sizeof(buffer)) > 0) {
        DateSeparator = buffer[0];
    }
    ThousandsSeparator = ',';
    WCHAR wide[16];
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, wide, 16) > 0) {
        ThousandsSeparator = static_cast<char32_t>(wide[0]);
    }
    // Either Alt key counts as Alt where the keyboard has no AltGr: English
    // of the US, Australia and New Zealand.
    AltKeyMask = LEFT_ALT_PRESSED;
    char layout[KL_NAMELENGTH];
    if (GetKeyboardLayoutNameA(layout)) {
        unsigned long id = std::strtoul(layout, nullptr, 16) & 0xFFFF;
        unsigned long sub = id >> 10;
        if ((id & 0xFF) == 9 && (sub == 1 || sub == 3 || sub == 5)) {
            AltKeyMask = LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED;
        }
    }
    DateFormat = MakeDateFormat(DateOrder, DateSeparator);
    InitCaseTables();
}

Westring ConsoleTitleFor(const Westring* text) {
    if (!text) {
        return Westring("Quorvane/W V2.50-dev");
    }
    if (!ConsoleExitTitle.IsEmpty() && text->EqualsExact(ConsoleExitTitle)) {
        return *text;
    }
    return Westring("Quorvane: ") + *text;
}

void UpdateConsoleTitle(const Westring* text) {
    if (Console) {
        Console->SetTitle(ConsoleTitleFor(text));
    }
}

void ApplyNumLockSetting() {}
