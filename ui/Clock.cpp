#include "ui/Clock.h"

#include <cstdio>
#include <ctime>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "console/Console.h"
#include "ui/Win.h"

Win* ClockWindow = nullptr;

void FormatClockText(char* text, int hour, int minute, int second, int timeMode) {
    char separator = (second % 2 == 0) ? ':' : ' ';
    if (timeMode == 24) {
        std::snprintf(text, 8, "%2d%c%02d", hour, separator, minute);
        return;
    }
    int shown = hour % 12 == 0 ? 12 : hour % 12;
    std::snprintf(text, 8, "%2d%c%02d%c", shown, separator, minute, hour < 12 ? 'a' : 'p');
}

void DrawClock() {
    if (ClockWindow == nullptr) {
        return;
    }
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return;
    }
    char text[8];
    FormatClockText(text, local->tm_hour, local->tm_min, local->tm_sec, Config.TimeMode);
    ClockWindow->WriteText(0, 0, text, ColourOf(ColourClock));
}

void OpenClockWindow() {
    if (!Config.Clock || ClockWindow != nullptr) {
        return;
    }
    int columns = 80, rows = 25;
    Console->GetScreenSize(columns, rows);
    int left = Config.TimeMode == 24 ? columns - 5 : columns - 6;
    ClockWindow = new Win(left, 0, columns - 1, 0, ColourOf(ColourClock), -1, 1);
    DrawClock();
}

void CloseClockWindow() {
    delete ClockWindow;
    ClockWindow = nullptr;
}
