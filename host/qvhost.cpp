// qvhost: the console host for terminals. It starts quorvane (found beside
// itself) with its standard input and output on pipes, owns the terminal
// through ncursesw, paints the screen the program describes and turns the
// terminal's keys, mouse and resizes into the program's input events.
#include "base/strings/Utf8Codec.h"
#include "host/HostFrames.h"
#include "host/HostPaths.h"
#include "host/ProgramOutput.h"
#include "host/ScreenModel.h"
#include "host/ShellExitFile.h"
#include "host/TerminalInput.h"
#include "host/TerminalKeys.h"
#include "host/TerminalScreen.h"
#include "platform/posix/Paths.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <curses.h>
#include <chrono>
#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace qvhost;

pid_t g_child = -1;

bool WriteAll(int fd, const char* bytes, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    return WriteAll(fd, bytes.data(), bytes.size());
}

// Windows console colours in the order of the attribute's four bits, as curses colour numbers.
const short kCursesColour[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN,  COLOR_CYAN,
                                COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

class Painter {
public:
    void Init() {
        m_colour = has_colors();
        if (!m_colour) {
            return;
        }
        start_color();
        m_bright = COLORS >= 16;
        m_fullPairs = COLOR_PAIRS > 256;
    }

    attr_t AttrFor(uint8_t attribute, short& pair) {
        pair = 0;
        if (!m_colour) {
            return (attribute & 0x70) ? A_REVERSE : A_NORMAL;
        }
        int fg = attribute & 0x0F;
        int bg = (attribute >> 4) & 0x0F;
        attr_t extra = A_NORMAL;
        if (!m_bright) {
            if (fg & 8)
                extra |= A_BOLD;
            fg &= 7;
            bg &= 7;
        }
        int index = m_fullPairs ? (bg << 4 | fg) : ((bg & 7) << 3 | (fg & 7));
        pair = static_cast<short>(index + 1);
        if (!m_made[index]) {
            init_pair(pair, Colour(fg), Colour(bg));
            m_made[index] = true;
        }
        return extra;
    }

    void Paint(ScreenModel& model) {
        std::vector<bool> dirty = model.TakeDirtyRows();
        int rows, cols;
        getmaxyx(stdscr, rows, cols);
        const TerminalLayout layout = LayoutOnTerminal(model.Columns(), model.Rows(), cols, rows);
        const bool relaid = layout.columns != m_layout.columns || layout.rows != m_layout.rows ||
                            layout.noticeRow != m_layout.noticeRow;
        if (relaid) {
            erase();
        }
        for (int y = 0; y < layout.rows; ++y) {
            if (!dirty[y] && !relaid) {
                continue;
            }
            for (int x = 0; x < layout.columns; ++x) {
                const Cell& cell = model.At(x, y);
                PutCell(y, x, TerminalGlyph(cell.ch), cell.attr, rows, cols);
            }
        }
        if (layout.noticeRow >= 0) {
            const std::u32string notice = SizeNotice(model.Columns(), model.Rows(), cols, rows);
            for (int x = 0; x < cols; ++x) {
                PutCell(layout.noticeRow, x, x < static_cast<int>(notice.size()) ? notice[x] : U' ', 0x4F, rows, cols);
            }
        }
        m_layout = layout;
        if (model.TakeTitleChanged()) {
            // Nothing of the program's title can end the title sequence or
            // start one of its own.
            std::string title = TerminalTitle(model.Title());
            std::printf("\033]0;%s\007", title.c_str());
            std::fflush(stdout);
        }
        const bool cursorShown = model.CursorX() < layout.columns && model.CursorY() < layout.rows;
        curs_set(model.CursorSize() > 0 && cursorShown ? 1 : 0);
        move(cursorShown ? model.CursorY() : rows - 1, cursorShown ? model.CursorX() : 0);
        refresh();
    }

private:
    short Colour(int c) const { return static_cast<short>(kCursesColour[c & 7] + ((c & 8) ? 8 : 0)); }

    // One terminal column; `shown` is already a one-column character.
    void PutCell(int y, int x, char32_t shown, uint8_t attribute, int rows, int cols) {
        short pair;
        attr_t attr = AttrFor(attribute, pair);
        wchar_t text[2] = {static_cast<wchar_t>(shown), 0};
        cchar_t cc;
        setcchar(&cc, text, attr, pair, nullptr);
        // The bottom-right cell cannot be written with a moving cursor.
        if (y == rows - 1 && x == cols - 1) {
            mvins_wch(y, x, &cc);
        } else {
            mvadd_wch(y, x, &cc);
        }
    }

    TerminalLayout m_layout;

    bool m_colour = false;
    bool m_bright = false;
    bool m_fullPairs = false;
    bool m_made[256] = {};
};

// Keys that qvhost teaches the terminal library: the lead-in of SGR mouse
// reports, whose rest it reads itself, the xterm forms of modified keys,
// numbered from kFirstSequenceKey in the order of ModifiedKeySequences, and
// the extended key reports, from kFirstExtendedKey in the order of
// ExtendedKeySequences.
constexpr int kSgrMouseKey = 0x1FFF;
constexpr int kFirstSequenceKey = 0x2000;
constexpr int kFirstExtendedKey = 0x3000;

void DefineKeys() {
    // Home and End come in several dialects (tmux and screen send the vt220
    // ones); those the terminal description lacks would otherwise arrive as
    // Alt+[ followed by their characters.
    static const struct {
        const char* sequence;
        int key;
    } kAlternateKeys[] = {
        {"\033[1~", KEY_HOME}, {"\033[7~", KEY_HOME}, {"\033[H", KEY_HOME}, {"\033OH", KEY_HOME},
        {"\033[4~", KEY_END},  {"\033[8~", KEY_END},  {"\033[F", KEY_END},  {"\033OF", KEY_END},
    };
    for (const auto& alt : kAlternateKeys) {
        if (key_defined(alt.sequence) == 0) {
            define_key(alt.sequence, alt.key);
        }
    }
    // qvhost asks for SGR mouse reports itself, so it reads them whatever the
    // terminal description says the mouse sends.
    define_key("\033[<", kSgrMouseKey);
    for (const auto& [sequences, first] : {std::make_pair(&ModifiedKeySequences(), kFirstSequenceKey),
                                           std::make_pair(&ExtendedKeySequences(), kFirstExtendedKey)}) {
        for (size_t i = 0; i < sequences->size(); ++i) {
            define_key((*sequences)[i].c_str(), first + static_cast<int>(i));
        }
    }
}

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The rest of an SGR mouse report after its lead-in: digits and semicolons up
// to M or m. Whatever else arrives first is handed back to the terminal library.
std::string ReadMouseReport() {
    std::string report;
    timeout(50);
    for (size_t n = 0; n < 24; ++n) {
        wint_t ch;
        int kind = get_wch(&ch);
        if (kind == ERR) {
            break;
        }
        if (kind == KEY_CODE_YES || !((ch >= '0' && ch <= '9') || ch == ';' || ch == 'M' || ch == 'm')) {
            if (kind == KEY_CODE_YES) {
                ungetch(static_cast<int>(ch));
            } else {
                unget_wch(static_cast<wchar_t>(ch));
            }
            break;
        }
        report += static_cast<char>(ch);
        if (ch == 'M' || ch == 'm') {
            break;
        }
    }
    nodelay(stdscr, TRUE);
    return report;
}

// A key the terminal library decoded; `extraShift` for an Escape before it.
KeyEvent TerminalKey(int code, int32_t extraShift) {
    for (const auto& [sequences, first] : {std::make_pair(&ModifiedKeySequences(), kFirstSequenceKey),
                                           std::make_pair(&ExtendedKeySequences(), kFirstExtendedKey)}) {
        if (code >= first && code < first + static_cast<int>(sequences->size())) {
            return KeyFromSequence((*sequences)[code - first], extraShift);
        }
    }
    const char* name = keyname(code);
    return KeyFromTerminalKey(code, name ? name : "", extraShift);
}

// Reads everything the terminal has ready and turns it into event frames.
std::string ReadTerminalInput(ScreenModel& model, TerminalInput& input) {
    wint_t ch;
    int kind;
    while ((kind = get_wch(&ch)) != ERR) {
        int32_t alt = 0;
        if (kind == OK && ch == 27) {
            // Escape followed at once by a key is how terminals send Alt+key.
            wint_t next;
            int nextKind = get_wch(&next);
            if (nextKind != ERR) {
                alt = kShiftAlt;
                kind = nextKind;
                ch = next;
            }
        }
        if (kind == KEY_CODE_YES) {
            if (ch == KEY_RESIZE) {
                // The model takes the terminal's size at once: the program may
                // only ask for the size the terminal has (or its least one).
                int rows, cols;
                getmaxyx(stdscr, rows, cols);
                model.SetTerminalSize(cols, rows);
                clearok(stdscr, TRUE);
                input.Resized(cols, rows);
                continue;
            }
            if (ch == kSgrMouseKey) {
                input.MouseReport(ReadMouseReport(), NowMs());
                continue;
            }
            input.Key(TerminalKey(static_cast<int>(ch), alt));
            continue;
        }
        input.Key(KeyFromChar(static_cast<char32_t>(ch), alt != 0));
    }
    return input.Take();
}

// The program's standard error goes to a pipe of its own: under the
// full-screen terminal it would be lost, so qvhost keeps it and prints it
// once the terminal is back.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& args, int& toChild, int& fromChild,
                   int& errorsFromChild) {
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        return -1;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        execv(program.c_str(), argv.data());
        std::fprintf(stderr, "qvhost: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    toChild = in[1];
    fromChild = out[0];
    errorsFromChild = err[0];
    return pid;
}

// What the program wrote on its standard error, up to a bound: a program
// that floods it must not fill qvhost's memory.
class ErrorText {
public:
    static constexpr size_t kMaxBytes = 256u << 10;

    // False once the program closed its standard error.
    bool Read(int fd) {
        char buf[4096];
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) {
            return true;
        }
        if (n <= 0) {
            return false;
        }
        if (m_text.size() < kMaxBytes) {
            m_text.append(buf, std::min(static_cast<size_t>(n), kMaxBytes - m_text.size()));
        } else {
            m_dropped = true;
        }
        return true;
    }
    void Print() const {
        std::fwrite(m_text.data(), 1, m_text.size(), stderr);
        if (m_dropped) {
            std::fprintf(stderr, "%sqvhost: the rest of the program's error output was dropped\n",
                         !m_text.empty() && m_text.back() != '\n' ? "\n" : "");
        }
        std::fflush(stderr);
    }

private:
    std::string m_text;
    bool m_dropped = false;
};

// For -x FILE: the program writes its batch record into a file of qvhost's,
// in drive form, which qvhost turns into FILE's shell script at the end.
// False when no drive maps a folder for it.
bool MakeRecordFile(std::string& posix, std::string& drivePath) {
    std::vector<std::string> folders;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
        folders.push_back(tmp);
    }
    folders.push_back("/tmp");
    if (const char* home = std::getenv("HOME"); home && *home) {
        folders.push_back(home);
    }
    for (const std::string& folder : folders) {
        w32::WString windows;
        std::string pattern = folder + "/qvhost-exit-XXXXXX";
        if (!w32::ToWindowsPath(folder, windows)) {
            continue;
        }
        int fd = mkstemp(&pattern[0]);
        if (fd < 0) {
            continue;
        }
        close(fd);
        w32::WString file;
        if (w32::ToWindowsPath(pattern, file)) {
            posix = pattern;
            drivePath = w32::Utf8(file);
            return true;
        }
        unlink(pattern.c_str());
    }
    return false;
}

// The terminal's character set is UTF-8, as the program's console text is;
// under a locale of another one the terminal library could show none of it.
void UseUtf8Locale() {
    std::setlocale(LC_ALL, "");
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr || std::strcmp(codeset, "UTF-8") != 0) {
        if (!std::setlocale(LC_CTYPE, "C.UTF-8")) {
            std::setlocale(LC_CTYPE, "en_US.UTF-8");
        }
    }
}

void ForwardSignal(int sig) {
    if (g_child > 0) {
        kill(g_child, sig);
    }
}

// Every way out leaves the terminal as it was found: also a fatal signal of
// qvhost's own, so the reports are switched off with plain writes.
void RestoreTerminal() {
    if (!isendwin()) {
        // Mouse reporting and the extended key reports off before the screen goes back.
        std::fflush(stdout);
        for (const char* off : {"\033[?1006l\033[?1002l\033[?1000l", kExtendedKeysOff}) {
            WriteAll(STDOUT_FILENO, off, std::strlen(off));
        }
        endwin();
    }
}

void FatalSignal(int sig) {
    RestoreTerminal();
    ForwardSignal(sig);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

int main(int argc, char** argv) {
    UseUtf8Locale();
    std::string program = ProgramBesideSelf("quorvane");
    SetDefaultAppData();

    HostArguments args = ReadHostArguments(std::vector<std::string>(argv + 1, argv + argc));
    std::string recordFile;
    if (args.exitFileIndex >= 0) {
        std::string drivePath;
        if (!MakeRecordFile(recordFile, drivePath)) {
            std::fprintf(stderr, "qvhost: -x %s: no drive of QUORVANE_DRIVES holds a folder for a temporary file\n",
                         args.exitFile.c_str());
            return 1;
        }
        args.program[args.exitFileIndex] = drivePath;
    }

    int toChild = -1, fromChild = -1, errorsFromChild = -1;
    std::signal(SIGPIPE, SIG_IGN);
    g_child = StartProgram(program, args.program, toChild, fromChild, errorsFromChild);
    if (g_child < 0) {
        std::fprintf(stderr, "qvhost: cannot start %s\n", program.c_str());
        return 1;
    }
    std::signal(SIGTERM, ForwardSignal);
    std::signal(SIGHUP, ForwardSignal);
    for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGQUIT}) {
        std::signal(sig, FatalSignal);
    }
    std::atexit(RestoreTerminal);

    setenv("ESCDELAY", "25", 0);
    initscr();
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    DefineKeys();
    // Button presses and releases, moves with a button held, in SGR reports:
    // no limit on the column, and releases name their button.
    // And the extended key reports where the terminal has them, so that Ctrl
    // with Tab, Enter, a digit or a letter is told from the plain keys.
    std::fputs("\033[?1000h\033[?1002h\033[?1006h", stdout);
    std::fputs(kExtendedKeysOn, stdout);
    std::fflush(stdout);
    Painter painter;
    painter.Init();

    int rows, cols;
    getmaxyx(stdscr, rows, cols);
    ScreenModel model(cols, rows);
    model.SetSizeFixed(true);
    ProgramOutput output;
    TerminalInput input;
    ErrorText errors;
    bool inputOpen = true;
    bool errorsOpen = true;
    bool broken = false;
    auto reply = [&](const std::string& frame) {
        if (inputOpen) {
            WriteAll(toChild, frame);
        }
    };

    for (;;) {
        pollfd fds[3] = {
            {fromChild, POLLIN, 0}, {errorsOpen ? errorsFromChild : -1, POLLIN, 0}, {inputOpen ? 0 : -1, POLLIN, 0}};
        int n = poll(fds, 3, -1);
        if (n < 0 && errno != EINTR) {
            break;
        }
        if (n < 0) {
            // A signal, most likely SIGWINCH: curses reports the new size as a key.
            if (inputOpen) {
                std::string events = ReadTerminalInput(model, input);
                if (!events.empty() && !WriteAll(toChild, events)) {
                    inputOpen = false;
                }
                painter.Paint(model);
            }
            continue;
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            errorsOpen = errors.Read(errorsFromChild);
        }
        if (inputOpen && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
            std::string events = ReadTerminalInput(model, input);
            if (!events.empty() && !WriteAll(toChild, events)) {
                inputOpen = false;
            }
            if (fds[2].revents & (POLLHUP | POLLERR)) {
                // The terminal went away: closing the program's input is its close event.
                close(toChild);
                inputOpen = false;
            }
            // A resize is painted at once, in the layout of the new size.
            painter.Paint(model);
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            ProgramOutput::Result result = output.Drain(fromChild, model, reply);
            if (result == ProgramOutput::kBroken) {
                broken = true;
                break;
            }
            if (result == ProgramOutput::kEnded) {
                break;  // the program ended
            }
            painter.Paint(model);
        }
    }

    RestoreTerminal();
    if (args.runsScript) {
        // What the script printed stays readable after the full screen is gone.
        std::fputs(model.TextRows().c_str(), stdout);
        std::fflush(stdout);
    }
    if (inputOpen) {
        close(toChild);
    }
    close(fromChild);
    int status = 0;
    while (waitpid(g_child, &status, 0) < 0 && errno == EINTR) {}
    // What the program still had to say on its standard error; a process it
    // left behind may hold the pipe open, so this waits only a moment.
    while (errorsOpen) {
        pollfd p = {errorsFromChild, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) {
            break;
        }
        errorsOpen = errors.Read(errorsFromChild);
    }
    close(errorsFromChild);
    errors.Print();
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (broken) {
        std::fprintf(stderr, "qvhost: the program sent a malformed frame\n");
        code = 1;
    }
    if (!recordFile.empty()) {
        std::string error;
        if (!WriteShellExitFile(recordFile, args.exitFile, error)) {
            std::fprintf(stderr, "qvhost: cannot write %s: %s\n", args.exitFile.c_str(), error.c_str());
            if (code == 0) {
                code = 1;
            }
        }
        unlink(recordFile.c_str());
    }
    return code;
}
