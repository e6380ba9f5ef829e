#include "fileops/ChangeDate.h"

#include <cstdio>

#include "app/panels/Panel.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/os/FileTimes.h"
#include "base/os/PathDisplay.h"
#include "base/strings/Utf16String.h"
#include "fileops/CursorEntryPath.h"
#include "fileops/FileCommands.h"
#include "fileops/FileErrors.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace {

const int FirstYear = 1980;
const int LastYear = 2099;
const int NoHistory = 14;
const int TwelveHourClock = 12;

// The locale's order of the date fields: 0 month-day-year, 1 day-month-year,
// 2 year-month-day.
int LocaleDateOrder() {
    char buffer[8];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, buffer, sizeof buffer) > 0 && buffer[0] >= '0' &&
        buffer[0] <= '2') {
        return buffer[0] - '0';
    }
    return 0;
}

struct TDateFields {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
    int32_t pm;
};

void FillFromTime(const TTimestamp& time, TDateFields& fields) {
    TLocalDateTime local;
    time.ToLocalDateTime(local);
    fields.year = local.year;
    fields.month = local.month;
    fields.day = local.day;
    fields.hour = local.hour;
    fields.minute = local.minute;
    fields.second = local.second;
    fields.pm = 0;
    To12HourIfConfigured(fields.hour, fields.pm);
}

Westring FileCountText(int count) {
    char text[40];
    snprintf(text, sizeof text, "%d file%s", count, count == 1 ? "" : "s");
    return Westring(text);
}

// The last-write time the directory holds for the path now.
bool ReadModifyTime(const Westring& path, TTimestamp& time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Utf16String(path).Data(), GetFileExInfoStandard, &data)) {
        return false;
    }
    time = TTimestamp::FromFileTime(data.ftLastWriteTime);
    return true;
}

// Runs the dialog until a valid date is confirmed (true) or it is left.
bool AskDate(const Westring& subject, TDateFields& fields) {
    bool twelveHour = Config.TimeMode == TwelveHourClock;
    uint8_t colour = ColourOf(ColourMessages);
    Dialog dialog(-1, -3, 33, 12, colour);
    dialog.WriteText(1, 0, "Change date of", colour);
    dialog.WriteWide(1, 1, subject, colour);
    char hotKeys[Dialog::MaxElements] = {0};

    struct TField {
        const char* label;
        char hot;
        int32_t* value;
        int width;
    };
    TField day = {"Day", 'd', &fields.day, 2};
    TField month = {"Mon", 'm', &fields.month, 2};
    TField year = {"Year", 'y', &fields.year, 4};
    const TField* orders[3][3] = {{&month, &day, &year}, {&day, &month, &year}, {&year, &month, &day}};
    const TField hour = {"Hour", 'h', &fields.hour, 2};
    const TField minute = {"Min", 'i', &fields.minute, 2};
    const TField second = {"Sec", 's', &fields.second, 2};
    const TField* timeFields[3] = {&hour, &minute, &second};
    const TField* const* rows[2] = {orders[LocaleDateOrder()], timeFields};
    const int columns[3] = {6, 12, 18};
    int first = -1;
    for (int row = 0; row < 2; row++) {
        for (int i = 0; i < 3; i++) {
            const TField* field = rows[row][i];
            dialog.WriteText(columns[i], 3 + 3 * row, field->label, colour);
            int index = dialog.AddIntegerField(columns[i], 4 + 3 * row, 1, field->value, field->width, 0, NoHistory);
            if (index >= 0) {
                hotKeys[index] = field->hot;
                first = first < 0 ? index : first;
            }
        }
    }
    if (twelveHour) {
        int am = dialog.AddRadioButton(21, 6, 2, &fields.pm, 0, "AM");
        int pm = dialog.AddRadioButton(21, 7, 0, &fields.pm, 1, "PM");
        if (am >= 0 && pm >= 0) {
            hotKeys[am] = 'a';
            hotKeys[pm] = 'p';
        }
    }
    dialog.AddPushButton(2, 9, 1, 13, "OK");
    dialog.AddPushButton(10, 9, 0, 27, "Cancel");
    int now = dialog.AddPushButton(22, 9, 0, 'n', "Now");
    if (now >= 0) {
        hotKeys[now] = 'n';
    }
    dialog.SetHotKeys(hotKeys, dialog.Count());
    dialog.SetFocus(first);
    for (;;) {
        int key = dialog.Run();
        if (key == 'n') {
            FillFromTime(TTimestamp::Now(), fields);
            dialog.DrawElement(-1);
            continue;
        }
        if (key != 13) {
            return false;
        }
        if (IsValidDialogDate(fields.year, fields.month, fields.day, fields.hour, fields.minute, fields.second)) {
            return true;
        }
        ShowMessageBox(Westring("Invalid date"), Westring(), MessageBoxOk);
    }
}

}  // namespace

int DaysInMonth(int month, int year) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: return 31;
    case 2: return year % 4 == 0 ? 29 : 28;
    default: return 30;
    }
}

bool IsValidDialogDate(int year, int month, int day, int hour, int minute, int second) {
    return year >= FirstYear && year <= LastYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(month, year) && hour >= 0 && hour <= 23 && minute >= 0 && minute < 60 && second >= 0 &&
           second < 60;
}

void To12Hour(int32_t& hour, int32_t& pm) {
    pm = hour > 11 ? 1 : 0;
    if (hour > 12) {
        hour -= 12;
    } else if (hour == 0) {
        hour = 12;
    }
}

void To12HourIfConfigured(int32_t& hour, int32_t& pm) {
    if (Config.TimeMode == TwelveHourClock) {
        To12Hour(hour, pm);
    }
}

int32_t From12Hour(int32_t hour, int32_t pm) {
    if (pm != 0 && hour >= 1 && hour <= 11) {
        return hour + 12;
    }
    if (pm == 0 && hour == 12) {
        return 0;
    }
    return hour;
}

bool SetEntryModifyTime(const Westring& path, const TTimestamp& time) {
    for (;;) {
        DWORD error = SetFileModifyTime(path, time);
        if (error == 0) {
            return false;
        }
        int code = static_cast<int>(error);
        int stop = 0;
        ReportFileError(code, stop, path.Data(), nullptr, 0);
        if (stop != 0) {
            return code < 0;
        }
    }
}

void ChangeDateDialog(CPanel* panel) {
    if (panel->entryCount == 0 || panel->panelType == PANEL_INFO) {
        return;
    }
    int tagged = panel->viewStyle == VIEW_TREE ? 0 : panel->taggedCount;
    Westring path = tagged == 0 ? CursorEntryPath(panel) : Westring();
    if (tagged == 0 && (path.IsEmpty() || ExtractFileName(path).EqualsExact(Westring("..")))) {
        return;
    }
    TDateFields fields;
    TTimestamp initial = TTimestamp::Now();
    if (tagged == 0) {
        ReadModifyTime(path, initial);
    }
    FillFromTime(initial, fields);
    Westring subject = tagged > 0 ? FileCountText(tagged) : ShortenedPathForDisplay(ExtractFileName(path), 26);
    if (!AskDate(subject, fields)) {
        return;
    }
    TLocalDateTime local = {};
    local.year = fields.year;
    local.month = fields.month;
    local.day = fields.day;
    local.hour = Config.TimeMode == TwelveHourClock ? From12Hour(fields.hour, fields.pm) : fields.hour;
    local.minute = fields.minute;
    local.second = fields.second;
    TTimestamp time = TTimestamp::FromLocalDateTime(local);
    if (tagged == 0) {
        SetEntryModifyTime(path, time);
    } else {
        Westring directory = AddTrailingBackslash(GetPanelDirectory(panel));
        for (int i = 0; i < panel->entryCount; i++) {
            entry* item = panel->entries[i];
            if (item->tagged && SetEntryModifyTime(directory + Westring(item->name), time)) {
                break;
            }
        }
    }
    RereadBothPanels();
}
