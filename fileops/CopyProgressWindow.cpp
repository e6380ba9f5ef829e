#include "fileops/CopyProgressWindow.h"

#include <cstdio>

#include "base/os/SystemHelpers.h"
#include "base/os/Threads.h"
#include "base/strings/NumberFormat.h"
#include "ui/MessageBox.h"
#include "ui/Win.h"

namespace {

const int FrameWidth = 1;
const int BarRow = 5;
const int StatsRow = 6;

Westring NumberText(int64_t value) {
    char32_t text[64];
    FormatNumberToWidth(value > 0xFFFFFFFFLL ? 0xFFFFFFFFu : static_cast<uint32_t>(value < 0 ? 0 : value), text, 7);
    return Westring(text);
}

// The text centred in a field: half the free room before it (rounded down),
// the rest after it.
Westring Centred(const Westring& text, int field) {
    int free = field - text.Length();
    if (free <= 0) {
        return text.Left(field > 0 ? field : 0);
    }
    return RepeatChar32(' ', free / 2) + text + RepeatChar32(' ', free - free / 2);
}

}  // namespace

CCopyProgressWindow::CCopyProgressWindow()
    : bytesDone(0), bytesTotal(0), redraw(true), pendingNames(nullptr), window(nullptr), forgetDrawn(false),
      startTime(0), pauseStart(0), pausedTotal(0), running(false), lastBarFilled(-1), lastBarWidth(-1) {}

CCopyProgressWindow::~CCopyProgressWindow() {
    Stop();
    delete pendingNames.exchange(nullptr);
}

void CCopyProgressWindow::StartTiming() {
    startTime = GetSystemTimeSeconds();
}

void CCopyProgressWindow::Start() {
    Resume();
    if (running) {
        return;
    }
    stopEvent.Reset();
    HANDLE handle = StartThread(&CCopyProgressWindow::RedrawLoop, this);
    if (handle != nullptr) {
        thread.Reset(handle);
        running = true;
    }
}

void CCopyProgressWindow::Stop() {
    if (running) {
        stopEvent.Set();
        thread.WaitAndClose();
        running = false;
    }
    Pause();
}

void CCopyProgressWindow::Pause() {
    if (pauseStart == 0) {
        pauseStart = GetSystemTimeSeconds();
    }
}

void CCopyProgressWindow::Resume() {
    if (pauseStart != 0) {
        pausedTotal += GetSystemTimeSeconds() - pauseStart;
        pauseStart = 0;
    }
}

double CCopyProgressWindow::ElapsedSeconds() const {
    double now = pauseStart != 0 ? pauseStart : GetSystemTimeSeconds();
    return now - startTime - pausedTotal;
}

void CCopyProgressWindow::SetNames(const Westring& source, const Westring& destination, const Westring& count) {
    // Lines no drawing took are simply replaced by the newer ones.
    delete pendingNames.exchange(new TNameLines{source, destination, count});
    redraw = true;
}

void CCopyProgressWindow::SetWindow(Win* win) {
    // A new window shows nothing yet: everything is drawn again. The drawing
    // forgets its own records, so that this thread never writes what the
    // redraw thread may be reading.
    window = win;
    forgetDrawn = true;
    redraw = true;
}

void CCopyProgressWindow::ForgetDrawn() {
    lastBarFilled = -1;
    lastBarWidth = -1;
    lastStatsLine.Clear();
    lastSourceLine.Clear();
    lastDestinationLine.Clear();
    lastCountLine.Clear();
}

unsigned __stdcall CCopyProgressWindow::RedrawLoop(void* self) {
    CCopyProgressWindow* progress = static_cast<CCopyProgressWindow*>(self);
    for (;;) {
        DWORD wait = progress->stopEvent.Wait(100);
        if (wait != WAIT_TIMEOUT) {
            DrawCopyProgress(progress);
            return 0;
        }
        if (progress->redraw.exchange(false)) {
            DrawCopyProgress(progress);
        }
    }
}

void MarkProgressRedraw(CCopyProgressWindow* progress) {
    if (progress != nullptr) {
        progress->redraw = true;
    }
}

Westring FormatElapsedTime(int64_t seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    char text[48];
    if (seconds < 3600) {
        snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
    } else {
        snprintf(text, sizeof text, "%d:%02d:%02d", static_cast<int>(seconds / 3600),
                 static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    }
    return Westring(text);
}

Westring FormatCopyStatistics(double elapsed, int64_t bytesDone, int64_t bytesTotal) {
    int64_t bps = static_cast<int64_t>(static_cast<double>(bytesDone) / elapsed);
    int64_t left = bytesTotal > bytesDone ? bytesTotal - bytesDone : 0;
    int64_t eta = static_cast<int64_t>(elapsed / static_cast<double>(bytesDone) * static_cast<double>(left));
    return Westring("Time: ") + FormatElapsedTime(static_cast<int64_t>(elapsed)) + Westring("  BPS: ") +
           NumberText(bps).Pad(7) + Westring("  ETA: ") + FormatElapsedTime(eta);
}

int CopyBarFilled(int width, int64_t bytesDone, int64_t bytesTotal) {
    if (bytesTotal <= 0 || width <= 0 || bytesDone <= 0) {
        return 0;
    }
    if (bytesDone >= bytesTotal) {
        return width;
    }
    // width x done / total without overflowing for very large totals; the
    // bar is full only when everything is done.
    int filled =
        static_cast<int>(static_cast<double>(width) * static_cast<double>(bytesDone) / static_cast<double>(bytesTotal));
    return filled < width ? filled : width - 1;
}

void DrawCopyProgress(CCopyProgressWindow* progress) {
    Win* win = progress->window.load();
    if (win == nullptr) {
        return;
    }
    if (auto* fresh = progress->pendingNames.exchange(nullptr)) {
        progress->names = *fresh;
        delete fresh;
    }
    if (progress->forgetDrawn.exchange(false)) {
        progress->ForgetDrawn();
    }
    int64_t total = progress->bytesTotal;
    int64_t done = progress->bytesDone;
    int inner = win->ClientWidth();
    uint8_t attr = win->Attribute();
    if (total == 0) {
        progress->ForgetDrawn();
    } else {
        int width = inner - 3;
        int filled = CopyBarFilled(width, done, total);
        if (width > 0 && (filled != progress->lastBarFilled || width != progress->lastBarWidth)) {
            win->WriteWide(1, BarRow, RepeatChar32(0x2588, filled) + RepeatChar32(0x2591, width - filled), attr);
            progress->lastBarFilled = filled;
            progress->lastBarWidth = width;
        }
        if (progress->startTime != 0) {
            double elapsed = progress->ElapsedSeconds();
            if (elapsed > 0 && done > 0) {
                Westring line = FormatCopyStatistics(elapsed, done, total);
                if (!line.EqualsNoCase(progress->lastStatsLine)) {
                    win->WriteWide(1, StatsRow, line.Pad(inner - 2 * FrameWidth - 1), attr);
                    progress->lastStatsLine = line;
                }
            } else {
                progress->lastStatsLine.Clear();
            }
        }
    }
    struct {
        const Westring& text;
        Westring& last;
        int row;
    } lines[] = {{progress->names.source, progress->lastSourceLine, 1},
                 {progress->names.destination, progress->lastDestinationLine, 3},
                 {progress->names.count, progress->lastCountLine, 4}};
    for (auto& line : lines) {
        if (!line.text.IsEmpty() && !line.text.EqualsNoCase(line.last)) {
            win->WriteWide(0, line.row, Centred(line.text, inner - 2 * FrameWidth + 1), attr);
            line.last = line.text;
        }
    }
}

unsigned StopProgressAndShowMessage(CCopyProgressWindow* progress, const Westring& text, const Westring& path) {
    if (progress != nullptr) {
        progress->Stop();
    }
    return ShowMessageBox(text, path, MessageBoxOk);
}
