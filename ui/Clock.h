// The clock at the right end of the top row. It is drawn when its window is
// made, which the main loop arranges once per pass, so it shows the time of
// the last redraw; its separator blinks from one redraw to the next.
#pragma once

class Win;

// The clock's window; null while it is closed.
extern Win* ClockWindow;

// Makes and draws the window when the "Clock" setting is on and none exists.
void OpenClockWindow();
void DrawClock();
// Removes the window; whoever redraws the top row calls it first.
void CloseClockWindow();

// The clock text for a time: "%2d%c%02d" with the hour 0-23 for time mode 24,
// else "%2d%c%02d%c" with the hour 1-12 and 'a' or 'p'. The separator is ':'
// on even seconds and a blank on odd ones. `text` holds at least 8 bytes.
void FormatClockText(char* text, int hour, int minute, int second, int timeMode);
