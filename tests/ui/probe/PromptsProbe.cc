// A small program for the end-to-end tests of the prompts: it greets the
// scripted host like the real program, then shows one message box, progress
// window or help page chosen by its arguments, and ends on a key.
//
//   msgbox FLAGS         the message box; the answer is the exit code
//   progress-dir         a directory-read window: the count goes from 5 to
//                        1234 on the first key, the window goes on the second
//   progress-quick       a directory-read window deleted at once
//   progress-file        a file-read bar at half, until a key
//   help PATH ID         the help viewer on the file and section
//   help-none ID         the help viewer without a help file
#include <cstdlib>
#include <cstring>

#include "app/settings/Colours.h"
#include "ui/MessageBox.h"
#include "base/strings/LocaleCase.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/ScreenSize.h"
#include "ui/HelpFile.h"
#include "ui/HelpViewer.h"
#include "ui/ProgressIndicatorThread.h"

namespace {

// A line on the top row that the test waits for.
void Mark(const char* text) {
    Console->WriteText(0, 0, text, 0x07);
}

void WaitKey() {
    while (ReadInputEvent(nullptr, -1) == 0) {}
}

int DirProgress() {
    TProgressCount count(5);
    DirReadProgress* progress = new DirReadProgress(&count);
    Mark("begun");
    WaitKey();
    count = 1234;
    WaitKey();
    delete progress;
    Mark("ended");
    WaitKey();
    return 0;
}

int QuickProgress() {
    TProgressCount count(1);
    delete new DirReadProgress(&count, Westring("Quick scan:"));
    Mark("ended");
    WaitKey();
    return 0;
}

int FileProgress() {
    TProgressBytes done(1);
    TProgressBytes total(2);
    FileReadProgress progress(&done, &total, Estring("Reading file"));
    Mark("begun");
    WaitKey();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Console = new CConsole();
    Console->GetScreenSize(ScreenColumns, ScreenRows);
    ResetColours();
    InitCaseTables();
    const char* what = argc > 1 ? argv[1] : "";
    int result = 0;
    if (std::strcmp(what, "msgbox") == 0 && argc > 2) {
        result = static_cast<int>(ShowMessageBox(Westring("Copy the file over the older one that is already there?"),
                                                 Westring("C:\\Data\\Projects\\Quorvane\\notes.txt"),
                                                 static_cast<uint32_t>(std::atoi(argv[2]))));
    } else if (std::strcmp(what, "progress-dir") == 0) {
        result = DirProgress();
    } else if (std::strcmp(what, "progress-quick") == 0) {
        result = QuickProgress();
    } else if (std::strcmp(what, "progress-file") == 0) {
        result = FileProgress();
    } else if (std::strcmp(what, "help") == 0 && argc > 3) {
        LoadHelpFile(Westring(argv[2]));
        ShowHelp(std::atoi(argv[3]));
        Mark("closed");
        WaitKey();
    } else if (std::strcmp(what, "help-none") == 0 && argc > 2) {
        ShowHelp(std::atoi(argv[2]));
        Mark("closed");
        WaitKey();
    } else {
        result = 99;
    }
    return result;
}
