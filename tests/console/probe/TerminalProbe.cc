// A program that plays a child's output through the terminal emulator, for the
// end-to-end test of the emulator under the scripted host:
//   qv_terminal_probe FILE CHUNK [REPLYFILE]
// It feeds FILE's bytes in CHUNK-byte pieces to an emulator on its console,
// with the default colours (light grey on black) and the scroll-back on: a
// scroll-back of its own takes the rows the emulator hands it, as the
// program's does. The emulator's replies go to REPLYFILE (none without it).
// Then it waits for a key: 's' shows the number of rows the scroll-back took
// and the first of them and waits again; any other key ends it with exit code
// 0. Paths are Windows paths (C:\...).
#include <cstdlib>
#include <string>
#include <vector>

#include "base/strings/CellString.h"
#include "base/strings/Utf16String.h"
#include "base/strings/Westring.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "console/TerminalEmulator.h"
#include "platform/win32.h"

namespace {

std::vector<std::string> ScrollBack;

void AppendRow(int row) {
    CellString cells;
    Console->CopyRect(cells, 0, row, ScreenColumns, 1);
    std::u32string wide;
    for (int i = 0; i < cells.Length(); ++i) {
        wide += cells.Data()[i].character;
    }
    ScrollBack.push_back(Estring(Westring(wide.c_str())).Data());
}

bool ReadWholeFile(const char* path, std::vector<char>& bytes) {
    Utf16String wide{Westring(path)};
    HANDLE file = CreateFileW(wide.Data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    CloseHandle(file);
    return true;
}

int OpenReplyFile(const char* path) {
    Utf16String wide{Westring(path)};
    HANDLE file = CreateFileW(wide.Data(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        return 0;
    }
    return fd;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || atoi(argv[2]) < 1) {
        return 2;
    }
    InitLocalConsole();
    Console = new CConsole;
    Console->GetScreenSize(ScreenColumns, ScreenRows);
    TerminalHooks.scrollBackOn = [] { return true; };
    TerminalHooks.appendScrollBackRow = AppendRow;
    std::vector<char> bytes;
    if (!ReadWholeFile(argv[1], bytes)) {
        Console->WriteText(0, 0, "cannot read the file", 0x4F);
        return 2;
    }
    const int chunk = atoi(argv[2]);
    const int replies = argc > 3 ? OpenReplyFile(argv[3]) : 0;
    {
        TerminalEmulator emulator(*Console, replies);
        for (size_t at = 0; at < bytes.size(); at += chunk) {
            size_t n = bytes.size() - at < static_cast<size_t>(chunk) ? bytes.size() - at : chunk;
            emulator.Write(bytes.data() + at, static_cast<int>(n));
        }
        if (replies > 0) {
            _close(replies);
        }
        for (;;) {
            int key = ReadInputEvent(nullptr, -1);
            if (key == 's') {
                Estring line;
                std::string first = ScrollBack.empty() ? std::string() : ScrollBack[0].substr(0, 20);
                line.Format("scroll-back %d, first: %s", static_cast<int>(ScrollBack.size()), first.c_str());
                Console->WriteText(0, ScreenRows - 1, line.Data(), 0x07);
                continue;
            }
            if (key != 0 && key != KEY_MOUSE && key != KEY_RESIZED) {
                break;
            }
        }
    }
    return 0;
}
