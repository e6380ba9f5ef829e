// A small program on the console client for the end-to-end tests: it greets
// the host with its screen size, then shows every input event it reads as a
// line of text, so a test can check the codes on the host's screen: event n
// on row 1 + (n - 1) % 20, so that quick events do not hide one another.
//   w  writes the same text twice (the second write must send nothing)
//   c  puts text on the host's clipboard and reads it back
//   g  writes control characters, which the screen shows as glyphs
//   t  sets a title that carries escape sequences
//   u  writes wide, combining and zero-width characters between bars
//   q  ends with exit code 0
// When the host closes the input it reads once more, shows both codes and
// ends with exit code 3.
#include "console/Console.h"
#include "console/InputEvent.h"

namespace {

int g_count = 0;

void Show(const Estring& text) {
    Console->WriteText(0, 1 + (g_count - 1) % 20, text.Pad(70).Data(), 0x07);
}

}  // namespace

int main() {
    InitLocalConsole();
    Console = new CConsole;
    int columns = 0, rows = 0;
    Console->GetScreenSize(columns, rows);
    Estring line;
    line.Format("ready %dx%d", columns, rows);
    Console->WriteText(0, 0, line.Data(), 0x1F);
    Console->SetTitle(Westring("probe"));
    for (;;) {
        TInputEvent in{};
        int code = ReadInputEvent(&in, -1);
        ++g_count;
        if (code == KEY_CLOSED) {
            int again = ReadInputEvent(&in, -1);
            line.Format("%d: closed, then %X", g_count, again);
            Show(line);
            return 3;
        }
        if (code == KEY_MOUSE) {
            line.Format("%d: mouse action %d at %d,%d shift %d button %d", g_count, in.action, in.x, in.y,
                        in.shiftState, in.button);
        } else if (code == KEY_RESIZED) {
            bool accepted = Console->SetScreenSize(in.x, in.y);
            line.Format("%d: resized %dx%d accepted %d", g_count, in.x, in.y, accepted ? 1 : 0);
        } else {
            line.Format("%d: key %X char %X shift %d", g_count, code, in.character, in.shiftState);
        }
        Show(line);
        if (code == 'w') {
            Console->WriteText(0, 23, "same text", 0x07);
            Console->WriteText(0, 23, "same text", 0x07);
        } else if (code == 'c') {
            Westring text;
            Console->SetClipboardText(Westring(U"clip \u20AC"));
            if (Console->GetClipboardText(text)) {
                Westring shown("clipboard: ");
                shown += text;
                Console->WriteWideText(0, 24, shown, 0x07);
            }
        } else if (code == 'g') {
            Console->WriteText(0, 25, "\x01\x1F\x7F", 0x07);
        } else if (code == 't') {
            Console->SetTitle(Westring(U"evil\a\x1b[2J\x1b[5;5HPWNED"));
        } else if (code == 'u') {
            Console->WriteWideText(0, 26, Westring(U"[\u65E5\u672C\u8A9E|\U0001F600|e\u0301|\u200B]"), 0x07);
        } else if (code == 'q') {
            return 0;
        }
    }
}
