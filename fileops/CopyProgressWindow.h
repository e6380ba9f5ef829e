// CCopyProgressWindow: what a copy or move shows while it runs (which file goes
// where, the item's number, a bar of the bytes done against the whole
// operation, time taken, bytes per second and time left), redrawn by a thread
// of its own every 100 ms while something changed, so that the copy never
// waits for the screen. Time spent in prompts is not counted.
//
// The copy adds to the counters on its own thread; the counters are atomic and
// the name lines change hands as one record through an atomic exchange, so the
// redraw thread never reads a half-written value and a copy of many small
// files never waits for it or wakes it. Stop joins the thread before any
// prompt is drawn.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/os/CEvent.h"
#include "base/os/CWinHandle.h"
#include "base/strings/Westring.h"

class Win;

class CCopyProgressWindow {
public:
    CCopyProgressWindow();
    ~CCopyProgressWindow();
    CCopyProgressWindow(const CCopyProgressWindow&) = delete;
    CCopyProgressWindow& operator=(const CCopyProgressWindow&) = delete;

    void StartTiming();
    // Ends a pause and runs the redraw thread unless it runs already.
    void Start();
    // Stops and joins the redraw thread (it draws once more), then pauses.
    void Stop();
    void Pause();
    void Resume();
    double ElapsedSeconds() const;

    // The three name lines (display forms); empty keeps a line as drawn.
    // Takes no lock and wakes nothing: the redraw thread takes the latest
    // lines on its next turn.
    void SetNames(const Westring& source, const Westring& destination, const Westring& count);
    void SetWindow(Win* window);
    Win* Window() const { return window.load(); }
    void AddBytes(int64_t n) {
        bytesDone += n;
        redraw = true;
    }

    std::atomic<int64_t> bytesDone;
    std::atomic<int64_t> bytesTotal;
    std::atomic<bool> redraw;

private:
    friend void DrawCopyProgress(CCopyProgressWindow* progress);
    static unsigned __stdcall RedrawLoop(void* self);
    // Drawing's records of what is on the screen, dropped (drawing's thread).
    void ForgetDrawn();

    struct TNameLines {
        Westring source;
        Westring destination;
        Westring count;
    };
    // Lines handed over by SetNames and not yet taken by a drawing; each
    // side deletes the record it takes out of the slot.
    std::atomic<TNameLines*> pendingNames;
    // The lines being shown: drawing's own.
    TNameLines names;
    std::atomic<Win*> window;
    // Set by SetWindow: the drawing forgets what it drew into the old window.
    std::atomic<bool> forgetDrawn;
    double startTime;
    double pauseStart;
    double pausedTotal;
    CWinHandle thread;
    CEvent stopEvent;
    bool running;
    int lastBarFilled;
    int lastBarWidth;
    Westring lastStatsLine;
    Westring lastSourceLine;
    Westring lastDestinationLine;
    Westring lastCountLine;
};

// Sets the redraw flag; nothing for a null window.
void MarkProgressRedraw(CCopyProgressWindow* progress);
// Draws what changed into the progress window's Win (nothing without one).
void DrawCopyProgress(CCopyProgressWindow* progress);
// "m:ss" below an hour, "h:mm:ss" from one hour.
Westring FormatElapsedTime(int64_t seconds);
// The statistics line for the figures: "Time: ...  BPS: ...  ETA: ...";
// the time left never goes below 0, also when more bytes came than counted.
Westring FormatCopyStatistics(double elapsed, int64_t bytesDone, int64_t bytesTotal);
// Cells of the bar filled for the figures, never more than the width.
int CopyBarFilled(int width, int64_t bytesDone, int64_t bytesTotal);

// Stops the progress window (when given) so that nothing draws over the
// message, then shows it with OK. Returns the message box's answer.
unsigned StopProgressAndShowMessage(CCopyProgressWindow* progress, const Westring& text, const Westring& path);
