#include "fileops/find/EntryListBox.h"

#include <cstdio>

#include "app/settings/Config.h"
#include "base/os/PathDisplay.h"
#include "base/strings/DateText.h"
#include "base/strings/NumberFormat.h"
#include "base/strings/Timestamp.h"
#include "console/ScreenSize.h"

namespace {

const uint16_t AttributeHidden = 0x2;
const uint16_t AttributeDirectory = 0x10;
const int SizeColumns = 10;
// The columns a row spends besides its path and the date text: the size,
// the blanks around the date and time, the time and the hidden mark.
const int RowOverhead = 26;
const int ErrorColumns = 28;

}  // namespace

Westring FormatFoundEntry(const entry* item, int screenColumns) {
    Westring path(item->name);
    if (item->matchOffset == -3) {
        ShortenPathForDisplay(path, screenColumns - RowOverhead - 8);
        return Westring("Error opening").Pad(ErrorColumns) + path;
    }
    Westring row;
    if (item->attributes & AttributeDirectory) {
        row = Westring(U"\u25BASUBDIR\u25C4").LPad(SizeColumns);
    } else {
        char32_t size[32];
        FormatNumberToWidth64(static_cast<int64_t>(item->size), size, SizeColumns);
        row = Westring(size).LPad(SizeColumns);
    }
    TLocalDateTime local;
    item->time.ToLocalDateTime(local);
    Estring date = FormatShortDate(local);
    char time[16];
    if (Config.TimeMode == 12) {
        int hour = local.hour % 12;
        snprintf(time, sizeof time, "%2d:%02d%c", hour == 0 ? 12 : hour, local.minute, local.hour < 12 ? 'a' : 'p');
    } else {
        snprintf(time, sizeof time, "%3d:%02d", local.hour, local.minute);
    }
    char dateAndTime[64];
    snprintf(dateAndTime, sizeof dateAndTime, " %8s %6s ", date.Data(), time);
    row += Westring(dateAndTime);
    row.AppendChar((item->attributes & AttributeHidden) ? U'\u2591' : U' ');
    ShortenPathForDisplay(path, screenColumns - RowOverhead - date.Length());
    row += path;
    return row;
}

EntryListBox::EntryListBox(Dialog& owner, int x, int y, int width, int rows, FFEntryStore& store, CMutex& listLock,
                           int32_t* selection, int exitSetting)
    : ListBoxBase(owner, x, y, width, rows, store.Count(), selection, exitSetting), store(store), listLock(listLock) {}

void EntryListBox::DrawItem(int row, int item, uint8_t attribute) {
    Westring text;
    listLock.Lock();
    if (item >= 0 && item < store.Count() && item < count)
        text = FormatFoundEntry(store.At(item), ScreenColumns);
    listLock.Unlock();
    Owner().WriteWide(X(), Y() + row, Fit(text), attribute);
}

bool EntryListBox::HandleEvent(TDialogEvent& event) {
    if (event.kind != TDialogEvent::KindListCount)
        return ListBoxBase::HandleEvent(event);
    // While a search runs entries only come at the end: just their rows are
    // drawn, with the cursor bar, and every row when the view moved. An entry
    // taken out moves the ones after it up: every row is drawn then.
    const int before = count;
    count = event.key < 0 ? 0 : event.key;
    if (count < before)
        lastTop = -1;
    ClearSearch();
    if (event.x >= 0 || top + cursorRow >= count)
        *selection = event.x >= 0 && event.x < count ? event.x : count - 1;
    else
        StoreSelection();
    const int drawnTop = lastTop;
    Draw();
    if (lastTop != drawnTop)
        return true;
    for (int item = before > top ? before : top; item < count && item < top + rows; item++) {
        if (item - top != cursorRow)
            DrawRow(item - top);
    }
    return true;
}
