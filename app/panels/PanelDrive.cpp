#include "app/panels/PanelDrive.h"

#include "app/settings/Colours.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelNavigation.h"
#include "base/os/CurrentDirectory.h"
#include "base/strings/Utf16String.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "app/panels/PanelDirectoryChange.h"
#include "ui/ModalLoop.h"
#include "ui/Win.h"

namespace {

const int FullBlockCursor = 100;

// The drive's current directory, made the process's current directory; when
// that directory has gone, the drive's root. 0 or the Windows error.
DWORD EnterDriveDirectory(char32_t letter, Westring& directory) {
    const WCHAR drive[3] = {WCHAR(letter), ':', 0};
    WCHAR buffer[MAX_PATH + 1];
    const DWORD n = GetFullPathNameW(drive, MAX_PATH + 1, buffer, nullptr);
    if (n == 0 || n > MAX_PATH)
        return n == 0 ? GetLastError() : DWORD(ERROR_FILENAME_EXCED_RANGE);
    directory = Westring(buffer);
    DWORD error = ChangeDirectory(directory);
    if (error == ERROR_PATH_NOT_FOUND) {
        directory = directory.Left(3);
        error = ChangeDirectory(directory);
    }
    return error;
}

char32_t FirstUpper(const char32_t* path) {
    const char32_t c = path[0];
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

}  // namespace

int DriveRetryPrompt(int drive) {
    const uint8_t errors = ColourOf(ColourErrors);
    Win window(-1, -3, 48, 4, errors, errors, 0);
    window.WriteCentred(0, "Error reading drive. Press ENTER to retry,", errors);
    window.WriteCentred(1, "ESC to abort or a new drive letter:", errors);
    const char letter[2] = {drive == NetworkDrive ? '\\' : char('A' + drive - 1), 0};
    window.WriteText(41, 1, letter, ColourOf(ColourInputFields));
    window.GotoXY(41, 1);
    const int savedShape = Console != nullptr ? Console->GetCursorShape() : 0;
    if (Console != nullptr)
        Console->SetCursorShape(FullBlockCursor);
    int answer = 0;
    CModalLoop loop;
    while (answer == 0) {
        TInputEvent event = TInputEvent();
        const int key = loop.Read(event, -1);
        if (key == KEY_ESC || key == KEY_CLOSED)
            answer = -1;
        else if (key >= 'a' && key <= 'z')
            answer = key - 'a' + 1;
        else if (key >= 'A' && key <= 'Z')
            answer = key - 'A' + 1;
        else if (key == '\\')
            answer = NetworkDrive;
        else if (key == KEY_ENTER)
            answer = drive;
    }
    if (Console != nullptr)
        Console->SetCursorShape(savedShape);
    return answer;
}

int ChangePanelDrive(int side, int drive, int mode) {
    CPanel* panel = &Panels[side];
    Westring directory;
    while (drive != NetworkDrive) {
        if (drive >= 1 && drive <= 26 && EnterDriveDirectory(char32_t('A' + drive - 1), directory) == 0)
            break;
        drive = DriveRetryPrompt(drive);
        if (drive < 0)
            return -1;
    }
    if (drive == NetworkDrive)
        directory = Westring(U"\\\\");
    if (FirstUpper(directory.Data()) != FirstUpper(panel->path) || panel->panelType == PANEL_INFO) {
        panel->taggedCount = 0;
        panel->cursorRow = 0;
        panel->topIndex = 0;
        panel->panelType = PANEL_FILES;
    }
    if (panel->viewStyle == VIEW_TREE)
        panel->viewStyle = OtherPanel(panel)->viewStyle;
    if (!SetPanelPath(panel, directory))
        return -1;
    if (mode == 0 || mode == 1)
        ChangePanelDirectory(Panels, side, Westring(), false, -1, 0);
    if (mode == 0 && !panel->isOn)
        TogglePanel(side);
    return 0;
}

int ChangePanelDrive(CPanel* panel, int drive, int mode) {
    return ChangePanelDrive(PanelSide(panel), drive, mode) != 0;
}
