#include "ui/ProgressIndicatorThread.h"

#include "app/settings/Colours.h"
#include "base/strings/NumberFormat.h"
#include "base/os/Threads.h"

ProgressIndicatorThread::ProgressIndicatorThread() : window(nullptr) {}

ProgressIndicatorThread::~ProgressIndicatorThread() {
    Stop();
    delete window;
}

void ProgressIndicatorThread::Start() {
    thread.Reset(StartThread(&ProgressIndicatorThread::ThreadMain, this));
}

void ProgressIndicatorThread::Stop() {
    if (thread.IsValid()) {
        stopEvent.Set();
        thread.WaitAndClose();
    }
}

unsigned __stdcall ProgressIndicatorThread::ThreadMain(void* self) {
    static_cast<ProgressIndicatorThread*>(self)->Run();
    return 0;
}

void ProgressIndicatorThread::Run() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    DWORD wait = FirstUpdateDelay;
    while (stopEvent.Wait(wait) == WAIT_TIMEOUT) {
        Update();
        wait = UpdateInterval;
    }
}

DirReadProgress::DirReadProgress(const TProgressCount* counter)
    : DirReadProgress(counter, Westring("Reading directory:")) {}

DirReadProgress::DirReadProgress(const TProgressCount* counter, const Westring& title)
    : counter(counter), spinner(0), title(title) {
    Start();
}

DirReadProgress::~DirReadProgress() {
    Stop();
}

void DirReadProgress::Update() {
    static const char32_t spinnerChars[] = U"-\\|/";
    int titleLength = title.Length();
    if (window == nullptr) {
        window = new Dialog(-1, -3, titleLength + 17, 6, ColourOf(ColourMessages));
        window->WriteWideDefault(4, 1, title);
    }
    window->WriteWideDefault(titleLength + 5, 1, RepeatChar32(spinnerChars[spinner], 1));
    spinner = (spinner + 1) % 4;
    char32_t count[NumberTextSize];
    FormatNumberToWidth(counter->load(), count, 12);
    window->WriteWideDefault(4, 2, Westring("Files: ") + Westring(count));
}

FileReadProgress::FileReadProgress(const TProgressBytes* done, const TProgressBytes* total, const Estring& title)
    : done(done), total(total), ratio(0), title(title) {
    Start();
}

FileReadProgress::~FileReadProgress() {
    Stop();
}

void FileReadProgress::Update() {
    if (window == nullptr) {
        window = new Dialog(-1, -3, 40, 5, ColourOf(ColourMessages));
        window->WriteCentredDefault(0, title.Data());
        ratio = 0;
        window->AddProgressIndicator(1, 2, 36, &ratio);
    }
    int64_t all = total->load();
    if (all >= 1) {
        ratio = static_cast<float>(done->load()) / static_cast<float>(all);
        window->DrawElement(-1);
    }
}
