#include "base/strings/DateText.h"

#include "base/strings/Timestamp.h"
#include "platform/win32.h"

Estring FormatDate(int day, int month, int year) {
    SYSTEMTIME date = {};
    date.wYear = (WORD)year;
    date.wMonth = (WORD)month;
    date.wDay = (WORD)day;
    char buffer[100];
    buffer[0] = 0;
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buffer, sizeof buffer) == 0)
        buffer[0] = 0;
    return Estring(buffer);
}

Estring FormatShortDate(const TLocalDateTime& date) {
    // Every date of the process lines up with the widest usual date text.
    static const int width = FormatDate(31, 12, 1999).Length();
    return FormatDate(date.day, date.month, date.year).LPad(width);
}
