#include "ui/MessageBox.h"

#include "app/settings/Colours.h"
#include "base/os/PathDisplay.h"
#include "console/ScreenSize.h"
#include "ui/Dialog.h"

namespace {

struct TMessageBoxButtons {
    const TButtonDef* buttons;
    const char* hotLetters;  // per button, 0 for none
    int hotLetterCount;
    int minimumWidth;
};

const TButtonDef OkButtons[] = {{'y', "_OK"}, {0, nullptr}};
const TButtonDef OkCancelButtons[] = {{'y', "_OK"}, {KEY_ESC, "Cancel"}, {0, nullptr}};
const TButtonDef SkipAllButtons[] = {{'y', "_OK"}, {KEY_ESC, "Cancel"}, {'s', "Skip"},
                                     {'a', "All"}, {'e', "None"},       {0, nullptr}};
const TButtonDef RetryButtons[] = {{'r', "Retry"}, {'s', "Skip"}, {KEY_ESC, "Cancel"}, {0, nullptr}};
const TButtonDef AllOlderButtons[] = {{'y', "_OK"},  {KEY_ESC, "Cancel"}, {'s', "Skip"}, {'a', "All"},
                                      {'e', "None"}, {'d', "All Older"},  {0, nullptr}};

// Cancel has no hot letter: it answers Esc.
const char OkHotLetters[] = {'o', 0, 's', 'a', 'e', 'd'};

const TMessageBoxButtons ButtonSets[] = {
    {OkButtons, OkHotLetters, 6, 8}, {OkCancelButtons, OkHotLetters, 6, 20}, {SkipAllButtons, OkHotLetters, 6, 50},
    {RetryButtons, "rs", 2, 33},     {AllOlderButtons, OkHotLetters, 6, 61},
};
const int ButtonSetCount = sizeof ButtonSets / sizeof ButtonSets[0];

// A set number without buttons still gets a sensible box.
const int NoButtonsMinimumWidth = 8;

}  // namespace

void WrapMessageText(const Westring& text, int columns, WestringStore& lines) {
    lines.FreeAll();
    int room = columns - 7;
    if (room < 1) {
        room = 1;
    }
    Westring rest(text);
    while (rest.Length() > room && lines.Count() < MessageBoxMaxLines - 1) {
        int blank = -1;
        for (int i = room - 1; i >= 1; i--) {
            if (rest[i] == ' ') {
                blank = i;
                break;
            }
        }
        if (blank > 0) {
            lines.Add(new Westring(rest.Left(blank)));
            rest = rest.Mid(blank + 1, 0);
            if (rest.IsEmpty()) {
                break;  // the blank ended the text
            }
        } else {
            // One word longer than a line: break it where the line ends.
            lines.Add(new Westring(rest.Left(room)));
            rest = rest.Mid(room, 0);
        }
    }
    if (rest.Length() > room) {
        rest = rest.Left(room);  // the last line the box has room for
    }
    if (!rest.IsEmpty() || lines.Count() == 0) {
        lines.Add(new Westring(rest));
    }
}

unsigned ShowMessageBox(const Westring& text, const Westring& path, uint32_t flags) {
    WestringStore lines;
    WrapMessageText(text, ScreenColumns, lines);
    Westring shownPath = ShortenedPathForDisplay(path, ScreenColumns - 8);

    int set = static_cast<int>(flags & MessageBoxButtonMask);
    const TMessageBoxButtons* buttons = set < ButtonSetCount ? &ButtonSets[set] : nullptr;
    int width = buttons ? buttons->minimumWidth : NoButtonsMinimumWidth;
    if (shownPath.Length() > width) {
        width = shownPath.Length();
    }
    for (int i = 0; i < lines.Count(); i++) {
        if (lines.At(i)->Length() > width) {
            width = lines.At(i)->Length();
        }
    }
    int lineCount = lines.Count();
    EColourSlot colour = (flags & MessageBoxNormal) ? ColourMessages : ColourErrors;

    Dialog dialog(-1, -3, (width + 1) / 2 * 2 + 4, lineCount + 4, ColourOf(colour));
    for (int i = 0; i < lineCount; i++) {
        dialog.WriteWideCentredDefault(i, *lines.At(i));
    }
    dialog.WriteWideCentredDefault(lineCount, shownPath);
    if (buttons) {
        dialog.SetHotKeys(buttons->hotLetters, buttons->hotLetterCount);
        dialog.AddButtonRow(-1, lineCount + 1, 1, buttons->buttons);
    }

    int code = dialog.Run();
    if (code == KEY_ENTER) {
        return 'y';
    }
    if (code < 0) {
        return 32;
    }
    return static_cast<unsigned>(code);
}
