// The viewer's key loop and its commands.
#include <cstdlib>

#include "ui/Clock.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "ui/FunctionKeyBar.h"
#include "ui/MessageBox.h"
#include "base/io/StdFile.h"
#include "base/os/SystemError.h"
#include "base/strings/ConsoleCodePage.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "app/settings/FieldKinds.h"
#include "console/ScreenSize.h"
#include "base/os/PathNormalizer.h"
#include "platform/win32.h"
#include "ui/Dialog.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "ui/ModalLoop.h"
#include "viewedit/FileStatusStore.h"
#include "viewedit/FormatSelectDlg.h"
#include "viewedit/ParseHex.h"
#include "viewedit/Viewer.h"
#include "viewedit/ViewerEditor.h"
#include "viewedit/ViewerSearchState.h"

namespace {

const int FollowTickMs = 200;

// The keys a press or hold in the text area repeats, by direction: -8 -4 -2
// -1 0 1 2 4 8 (second button: double steps).
const int MouseDirectionKeys[9] = {KEY_CTRL_LEFT, KEY_LEFT, KEY_PGUP,  KEY_UP,        0,
                                   KEY_DOWN,      KEY_PGDN, KEY_RIGHT, KEY_CTRL_RIGHT};

}  // namespace

void CViewer::SetKeyBarLabels() {
    if (!FunctionKeyBar)
        return;
    const char* labels[10] = {"1Help",   Config.ViewerWrap ? "2UnWrap" : "2Wrap",
                              "3",       hexMode ? "4ASCII" : "4Hex",
                              "5",       "6",
                              "7Search", "8Home",
                              "9End",    "10Quit"};
    if (followWindow)
        followWindow->SetHidden(true);
    FunctionKeyBar->SetLabels(labels);
    if (followWindow)
        followWindow->SetHidden(false);
}

uint32_t CViewer::OpenForView(const Westring& path) {
    ResetView();
    name = path;
    if (NormalizePath(name) != 0)
        name = path;
    SetKeepNul(false);
    uint32_t error = CTextFile::Open(path, StdFile::ModeRead, StdFile::ShareReadWrite);
    if (error != 0)
        return error;
    SetGrowing(true);
    SetCodePage(ViewerCodePage != 0 ? ViewerCodePage : GetTextCodePage());
    stateStore.Reset();
    return 0;
}

int CViewer::Run(const Westring& path, int64_t startOffset, int highlightLength) {
    hexMode = false;
    SetKeyBarLabels();
    uint32_t error = OpenForView(path);
    if (error != 0) {
        ShowMessageBox(FormatSystemError(error), path, 0);
        return KEY_ESC;
    }
    syntaxPath = SyntaxDefinitionPath();
    syntax.Load(syntaxPath, name);
    stateStore.Reset();

    const int32_t savedClock = Config.Clock;
    Config.Clock = 0;
    CloseClockWindow();
    window->Clear();
    SetKeyBarLabels();

    int64_t lineCount = -1;
    bool fromRecord = false;
    if (HISTREC* record = FileStatusStore.FindRecord(name)) {
        if (startOffset < 0) {
            startOffset = record->viewerPosition;
            fromRecord = startOffset >= 0;
            if (startOffset < 0)
                lineCount = record->topLine;
        }
        if (record->encoding != EncodingUnknown) {
            SetEncoding(record->encoding);
            if (record->encoding == EncodingCodePage)
                SetCodePage(record->codePage);
        }
    }

    if (startOffset < 0 || startOffset >= Size()) {
        int64_t top = 0;
        for (int64_t i = 0; i < lineCount; i++) {
            int64_t next = NextLineStart(top);
            if (next >= Size())
                break;
            top = next;
        }
        LoadTopLine(top);
        Redraw();
    } else {
        int64_t ls = LineStartBefore(startOffset);
        int64_t top = NextLineStart(ls) == startOffset ? startOffset : ls;
        if (fromRecord) {
            LoadTopLine(top);
            Redraw();
            lastMatch = -1;
        } else {
            lastMatch = top;
            ShowPosition(lastMatch, startOffset - top, highlightLength);
        }
    }

    ended = false;
    CModalLoop loop;
    int result = 0;
    int repeatKey = 0;
    int repeatWait = 0;
    while (result == 0) {
        Console->SetCursorShape(0);
        DrawStatusLine();
        TInputEvent event = {};
        int timeout = repeatKey ? 0 : followMode ? FollowTickMs : -1;
        int key = loop.Read(event, timeout);
        if (repeatKey) {
            if (key == 0) {
                key = repeatKey;
                DispatchKey(key, event);
                Sleep(DWORD((Config.ScrollDelay > 0 ? Config.ScrollDelay : 0) + repeatWait));
                repeatWait = 0;
                continue;
            }
            if (key != KEY_MOUSE || event.action >= TInputEvent::ActionRelease1)
                repeatKey = 0;
        }
        if (key == 0) {
            if (followMode)
                GoToEnd();
            continue;
        }
        if (key == KEY_MOUSE) {
            HandleMouse(event, repeatKey, repeatWait);
            if (mouseBarKey < 0) {
                key = -mouseBarKey;
                mouseBarKey = 0;
            } else {
                continue;
            }
        }
        result = DispatchKey(key, event);
    }

    StopFollowMode();
    HISTREC* record = FileStatusStore.FindOrAdd(name);
    stateStore.Reset();
    record->viewerPosition = topOffset;
    record->encoding = Encoding();
    record->codePage = static_cast<int32_t>(CodePage());
    record->fileSize = Size();
    TTimestamp time;
    if (GetModifyTime(time) == 0)
        record->fileTime = time;
    Config.Clock = savedClock;
    Close();
    return result;
}

void CViewer::HandleMouse(const TInputEvent& event, int& repeatKey, int& repeatWait) {
    const int columns = ScreenColumns;
    const int rows = ScreenRows;
    if (event.y == rows - 1) {
        repeatKey = 0;
        if (event.action == TInputEvent::ActionPress1 || event.action == TInputEvent::ActionPress2) {
            mouseBarKey = FunctionKeyFromBarSlot(event.x, columns, event.action, event.shiftState);
        } else if (event.action == TInputEvent::ActionRelease1 || event.action == TInputEvent::ActionRelease2) {
            int key = FunctionKeyFromBarSlot(event.x, columns, event.action, event.shiftState);
            // Acted on by the loop: a negative value hands the key over.
            mouseBarKey = key == mouseBarKey && key > 0 ? -key : 0;
        }
        return;
    }
    if (event.y < 1 || event.y > height)
        return;
    if (event.action == TInputEvent::ActionWheel) {
        for (int i = 0; i < 3; i++) {
            if (event.button < 0) {
                if (EndOnScreen())
                    break;
                ScrollDown();
            } else {
                if (topOffset == 0 && topPiece == 0)
                    break;
                ScrollUp();
            }
        }
        return;
    }
    if (event.action > TInputEvent::ActionDouble1) {
        repeatKey = 0;
        return;
    }
    const int t = rows / 3, u = columns / 3;
    int direction = 0;
    if (event.y > 2 * t)
        direction = 1;
    else if (event.y < t)
        direction = -1;
    else if (event.x < u)
        direction = -4;
    else if (event.x > 2 * u)
        direction = 4;
    bool second = event.action == TInputEvent::ActionPress2 || event.action == TInputEvent::ActionMove2;
    if (second)
        direction *= 2;
    static const int steps[9] = {-8, -4, -2, -1, 0, 1, 2, 4, 8};
    repeatKey = 0;
    for (int i = 0; i < 9; i++) {
        if (steps[i] == direction)
            repeatKey = MouseDirectionKeys[i];
    }
    if (repeatKey && event.action == TInputEvent::ActionPress2)
        repeatWait = 200;
}

void CViewer::GoHome() {
    LoadTopLine(0);
    leftColumn = 0;
    Redraw();
    lastMatch = -1;
}

void CViewer::StepBackRows(int n) {
    const bool wrap = Wrapping();
    for (int i = 0; i < n; i++) {
        if (!hexMode && topPiece > 0) {
            topPiece -= width;
            if (topPiece < 0)
                topPiece = 0;
        } else if (topOffset <= ByteOrderMarkLength()) {
            break;
        } else {
            LoadTopLine(LineStartBefore(topOffset));
            if (!hexMode)
                topPiece = wrap ? LastPieceOffset(topLength) : 0;
        }
    }
}

void CViewer::GoToEnd() {
    bool grew = FileGrew();
    if (!grew && bottomEndOffset >= Size() && (EndOnScreen() ? followMode : bottomShown >= bottomLength))
        return;
    topOffset = Size();
    topPiece = 0;
    topLength = 0;
    topCells.SetLength(0);
    StepBackRows(height);
    if (topPiece == 0 && topOffset >= Size())
        LoadTopLine(topOffset);
    Redraw();
    lastMatch = -1;
}

void CViewer::ToggleWrap() {
    Config.ViewerWrap = Config.ViewerWrap ? 0 : 1;
    leftColumn = 0;
    SetKeyBarLabels();
    if (topOffset != 0 && !hexMode)
        topOffset = NextLineStart(LineStartBefore(topOffset));
    LoadTopLine(topOffset);
    Redraw();
}

void CViewer::ToggleHex() {
    hexMode = !hexMode;
    if (!hexMode && topOffset != 0) {
        uint32_t before = ByteAt(topOffset - 1);
        if (before != '\r' && before != '\n')
            topOffset = LineStartBefore(topOffset);
    }
    SetKeyBarLabels();
    leftColumn = 0;
    LoadTopLine(topOffset);
    Redraw();
}

void CViewer::ToggleSyntax() {
    if (!syntax.loaded)
        syntax.Load(syntaxPath, name);
    else
        syntax.loaded = false;
    stateStore.Reset();
    LoadTopLine(topOffset);
    Redraw();
}

void CViewer::TranslateNextCodePage() {
    if (Encoding() != EncodingCodePage)
        return;
    NextTranslateCodePage(ViewerCodePage);
    SetCodePage(ViewerCodePage != 0 ? ViewerCodePage : GetTextCodePage());
    stateStore.Reset();
    LoadTopLine(topOffset);
    Redraw();
}

void CViewer::SelectEncoding() {
    int32_t encoding = Encoding();
    int32_t codePage = static_cast<int32_t>(CodePage());
    uint8_t byteOrderMark = HasByteOrderMark() ? 1 : 0;
    {
        CFormatSelectDlg dialog("Select File Encoding", &encoding, &codePage, &byteOrderMark);
        if (dialog.Run() != 13)
            return;
    }
    SetEncoding(encoding);
    if (codePage > 0)
        SetCodePage(static_cast<UINT>(codePage));
    stateStore.Reset();
    LoadTopLine(topOffset);
    Redraw();
}

void CViewer::StartFollowMode() {
    if (followMode)
        return;
    {
        StdFile probe(name, StdFile::ModeRead, StdFile::ShareRead);
        probe.Close();
    }
    followMode = true;
    followWindow.reset(new Win(-1, ScreenRows - 1, 32, ScreenRows - 1, ColourOf(ColourErrors), -1, 1));
    followWindow->WriteCentred(0, "Follow Mode ON - ESC to cancel", ColourOf(ColourErrors));
}

void CViewer::StopFollowMode() {
    followMode = false;
    followWindow.reset();
}

void CViewer::GotoLine() {
    const uint8_t attribute = ColourOf(ColourMessages);
    int32_t n = 0;
    {
        Dialog dialog(-1, -4, 27, 5, attribute);
        dialog.WriteCentred(-1, " Goto Line ", attribute);
        dialog.AddStaticText(1, 1, "Line to go to:", attribute);
        dialog.AddIntegerField(16, 1, 1, &n, 8, 1, FieldKindNoHistory);
        if (dialog.Run() == 27)
            return;
    }
    if (n <= 1) {
        if (Size() == 0) {
            ShowMessageBox(Westring("Only 1 lines in this file"), Westring(), 0);
            return;
        }
        GoHome();
        return;
    }
    int64_t offset = hexMode ? 0 : ByteOrderMarkLength();
    int64_t lines = 0;
    for (int32_t i = 1; i < n; i++) {
        offset = NextLineStart(offset);
        if (offset >= Size()) {
            Estring text;
            text.Format("Only %lld lines in this file", static_cast<long long>(lines + 1));
            ShowMessageBox(Westring(text.Data()), Westring(), 0);
            return;
        }
        lines++;
    }
    LoadTopLine(offset);
    Redraw();
    lastMatch = -1;
}

void CViewer::GotoOffset() {
    const uint8_t attribute = ColourOf(ColourMessages);
    Westring text;
    {
        Dialog dialog(-1, -4, 35, 5, attribute);
        dialog.WriteCentred(-1, " Goto Offset ", attribute);
        dialog.AddStaticText(1, 1, "Offset to go to: 0x", attribute);
        dialog.AddStringField(20, 1, 1, text, 12, 16, FieldKindNoHistory);
        if (dialog.Run() == 27)
            return;
    }
    Estring digits = text.Trim().ToLatin1();
    uint64_t value = ParseHex64(digits.Data());
    if (value >= uint64_t(Size())) {
        Estring message;
        message.Format("Only %lld bytes in this file", static_cast<long long>(Size()));
        ShowMessageBox(Westring(message.Data()), Westring(), 0);
        return;
    }
    int64_t offset = static_cast<int64_t>(value);
    if (hexMode) {
        topOffset = offset;
        nextLineOffset = NextLineStart(offset);
        Redraw();
        lastMatch = -1;
        return;
    }
    int64_t ls = LineStartBefore(offset);
    int64_t column = 0;
    if (NextLineStart(ls) == offset) {
        lastMatch = offset;
    } else {
        lastMatch = ls;
        column = offset - ls;
    }
    ShowPosition(lastMatch, column, 1);
}

int CViewer::DispatchKey(int key, const TInputEvent& event) {
    const bool atStart = topOffset == 0 && topPiece == 0;
    switch (key) {
    case KEY_UP:
        if (!atStart)
            ScrollUp();
        break;
    case KEY_DOWN: ScrollDown(); break;
    case KEY_PGUP:
        if (!atStart) {
            StepBackRows(height - 1);
            Redraw();
            lastMatch = -1;
        }
        break;
    case KEY_PGDN:
    case ' ':
        if (EndOnScreen()) {
            if (FileGrew())
                Redraw();
        } else if (!(bottomEndOffset >= Size() && bottomShown >= bottomLength)) {
            PageDown();
        }
        break;
    case KEY_HOME:
    case KEY_F8:
    case KEY_CTRL_PGUP: GoHome(); break;
    case KEY_END:
    case KEY_F9:
    case KEY_CTRL_PGDN: GoToEnd(); break;
    case KEY_LEFT:
    case KEY_HOST_LEFT:
    case KEY_HOST_SHIFT_LEFT:
    case KEY_CTRL_LEFT: {
        int step = key == KEY_CTRL_LEFT ? 40 : 4;
        if (hexMode) {
            if (topOffset > 0) {
                topOffset -= key == KEY_CTRL_LEFT ? (topOffset < 16 ? topOffset : 16) : 1;
                Redraw();
            }
        } else if (!Wrapping() && leftColumn > 0) {
            leftColumn = leftColumn > step ? leftColumn - step : 0;
            Redraw();
        }
        break;
    }
    case KEY_RIGHT:
    case KEY_HOST_RIGHT:
    case KEY_HOST_SHIFT_RIGHT:
    case KEY_CTRL_RIGHT: {
        int step = key == KEY_CTRL_RIGHT ? 40 : 4;
        if (hexMode) {
            if (topOffset < Size()) {
                topOffset += key == KEY_CTRL_RIGHT ? 16 : 1;
                if (topOffset > Size())
                    topOffset = Size();
                Redraw();
            }
        } else if (!Wrapping()) {
            leftColumn += step;
            Redraw();
        }
        break;
    }
    case KEY_CTRL_L:
        LoadTopLine(topOffset);
        Redraw();
        break;
    case KEY_F1: ShowHelp(HelpTopicViewer); break;
    case KEY_F2:
        if (!hexMode)
            ToggleWrap();
        break;
    case KEY_F4: ToggleHex(); break;
    case KEY_F7:
    case '/':
    case '?':
    case KEY_SHIFT_F7:
    case KEY_ALT_F7: {
        if (key == '/')
            ViewerSearchOptions.reverse = 0;
        if (key == '?')
            ViewerSearchOptions.reverse = 1;
        if (key == KEY_ALT_F7)
            ViewerSearchOptions.reverse = !ViewerSearchOptions.reverse;
        const bool withDialog = key == KEY_F7 || key == '/' || key == '?';
        const bool fresh = lastMatch < 0;
        if (fresh)
            lastMatch = ViewerSearchOptions.reverse ? (EndOnScreen() ? Size() : bottomLineOffset) : topOffset;
        int mode = 0;
        if (withDialog)
            mode = fresh && lastMatch == topOffset ? 2 : 1;
        Search(ViewerSearchText, mode);
        if (key == KEY_ALT_F7)
            ViewerSearchOptions.reverse = !ViewerSearchOptions.reverse;
        break;
    }
    case KeyAltLetter('l'): GotoLine(); break;
    case KeyAltLetter('o'): GotoOffset(); break;
    case KeyAltLetter('e'): SelectEncoding(); break;
    case KeyAltLetter('c'):
        if (EditTranslateCodePages() == 0) {
            SetEncoding(EncodingCodePage);
            TranslateNextCodePage();
        }
        break;
    case KeyAltLetter('t'): TranslateNextCodePage(); break;
    case KeyAltLetter('h'): ToggleSyntax(); break;
    case KeyAltLetter('f'): StartFollowMode(); break;
    case KEY_SHIFT_F4:
    case KEY_ALT_F4: {
        StopFollowMode();
        int64_t top = topOffset;
        Close();
        EditFile(name, top > 0x7FFFFFFF ? 0x7FFFFFFF : int(top), 0);
        // Open again so that the file's state is kept as after any run.
        CTextFile::Open(name, StdFile::ModeRead, StdFile::ShareReadWrite);
        topOffset = top;
        return KEY_ESC;
    }
    case KEY_ESC:
        if (followMode) {
            StopFollowMode();
            break;
        }
        return KEY_ESC;
    case KEY_F3:
    case KEY_F10:
    case KEY_CLOSED: return KEY_ESC;
    case KEY_ALT_UP:
    case KEY_ALT_DOWN: return key;
    default:
        if (key >= KEY_ALT_1 && key <= KEY_ALT_8) {
            Config.TabWidth = key - KEY_ALT_1 + 1;
            stateStore.Reset();
            LoadTopLine(topOffset);
            Redraw();
        }
        break;
    }
    return 0;
}
