// The viewer's search command: the dialog, where the search starts, and how a
// match is shown.
#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "ui/MessageBox.h"
#include "ui/Dialog.h"
#include "fileops/find/SearchFileForText.h"
#include "viewedit/Viewer.h"
#include "viewedit/ViewerSearchState.h"

namespace {

// Asks for the text and the options; false on Esc.
bool RunSearchDialog(Westring& text) {
    const uint8_t attribute = ColourOf(ColourMessages);
    Westring edited = text;
    Dialog dialog(-1, -3, 65, 7, attribute);
    dialog.WriteHotKeyText(1, 0, "Search for:", "s", attribute);
    dialog.AddStringField(1, 1, 1, edited, 40, -1, FieldKindSearchText);
    dialog.AddPushButton(10, 4, 1, 13, "_OK");
    dialog.AddPushButton(18, 4, 0, 27, "Cancel");
    dialog.AddCheckBox(43, 1, 1, &ViewerSearchOptions.caseSensitive, "Case Sensitive", 1);
    dialog.AddCheckBox(43, 2, 0, &ViewerSearchOptions.reverse, "Reverse", 1);
    dialog.AddCheckBox(43, 3, 0, &ViewerSearchOptions.wholeWord, "Whole Word", 1);
    // No hot letter for Cancel: "c" is the case check box.
    dialog.SetHotKeys("so\0crw", 6);
    if (dialog.Run() == 27)
        return false;
    text = edited;
    return true;
}

}  // namespace

// Backwards, the byte search takes a match whose last byte stands at the start
// at the latest, while the text search stops at the start and takes matches
// that end before it. From one character past the start both see the same
// matches; else a repeat from a match skips the one right before it.
int64_t CViewer::TextFindStart(int64_t start) {
    if (!ViewerSearchOptions.reverse)
        return start;
    SetCharPosition(start);
    if (ReadChar() == NoChar)
        return start;
    return CharPosition();
}

int CViewer::Search(Westring& text, int mode) {
    if (mode == 1 || mode == 2) {
        if (!RunSearchDialog(text))
            return -1;
    }
    if (text.IsEmpty())
        return -1;
    int64_t start = lastMatch;
    if (mode != 2) {
        SetCharPosition(lastMatch < 0 ? 0 : lastMatch);
        if (ViewerSearchOptions.reverse) {
            PrevChar();
        } else {
            for (int i = 0; i < text.Length(); i++) {
                if (ReadChar() == NoChar)
                    break;
            }
        }
        start = CharPosition();
        lastMatch = start;
    }
    if (start < 0)
        start = 0;
    if (start > Size())
        start = Size();

    int64_t found;
    {
        const uint8_t attribute = ColourOf(ColourMessages);
        Win searching(-1, 5, 16, 7, attribute, attribute, 0);
        searching.WriteText(1, 0, "Searching...", attribute);
        if (Encoding() == EncodingCodePage)
            found = SearchFileForText(*this, start, text, ViewerSearchOptions.reverse != 0,
                                      ViewerSearchOptions.caseSensitive != 0, ViewerSearchOptions.wholeWord != 0,
                                      CodePage());
        else
            found = Find(text, TextFindStart(start), ViewerSearchOptions.caseSensitive != 0,
                         ViewerSearchOptions.wholeWord != 0, ViewerSearchOptions.reverse != 0);
    }
    if (found == -2) {
        ShowMessageBox(Westring("String not found"), Westring(), 0);
        return -2;
    }
    if (found < 0)
        return -1;
    int64_t ls = LineStartBefore(found);
    int64_t column = 0;
    if (NextLineStart(ls) == found) {
        lastMatch = found;
    } else {
        lastMatch = ls;
        column = found - ls;
    }
    LoadTopLine(lastMatch);
    ShowPosition(lastMatch, column, -1);
    return int(column);
}
