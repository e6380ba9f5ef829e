// qvhost: the console host for terminals. It starts quorvane (found beside
// itself) with its standard input and output on pipes, owns the terminal
// through ncursesw, paints the screen the program describes and turns the
// terminal's keys, mouse and resizes into the program's input events.
#include "base/strings/Utf8Codec.h"
#include "host/HostFrames.h"
#include "host/HostPaths.h"
#include "host/ScreenModel.h"
#include "host/TerminalKeys.h"
#include "console/ConsoleGlyphs.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <curses.h>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace qvhost;

pid_t g_child = -1;

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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

// Windows console colours in the order of the attribute's four bits, as curses colour numbers.
const short kCursesColour[8] = {COLOR_BLACK, COLOR_BLUE, COLOR_GREEN, COLOR_CYAN,
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
            if (fg & 8) extra |= A_BOLD;
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
        for (int y = 0; y < model.Rows() && y < rows; ++y) {
            if (!dirty[y]) {
                continue;
            }
            for (int x = 0; x < model.Columns() && x < cols; ++x) {
                const Cell& cell = model.At(x, y);
                short pair;
                attr_t attr = AttrFor(cell.attr, pair);
                // Control characters never reach the terminal raw.
                char32_t shown = ConsoleGlyphs::MapGlyph(cell.ch);
                wchar_t text[2] = {static_cast<wchar_t>(shown == 0 ? U' ' : shown), 0};
                cchar_t cc;
                setcchar(&cc, text, attr, pair, nullptr);
                // The bottom-right cell cannot be written with a moving cursor.
                if (y == rows - 1 && x == cols - 1) {
                    mvins_wch(y, x, &cc);
                } else {
                    mvadd_wch(y, x, &cc);
                }
            }
        }
        if (model.TakeTitleChanged()) {
            std::string title = Utf32ToUtf8(model.Title());
            std::printf("\033]0;%s\007", title.c_str());
            std::fflush(stdout);
        }
        curs_set(model.CursorSize() > 0 ? 1 : 0);
        move(model.CursorY() < rows ? model.CursorY() : rows - 1, model.CursorX() < cols ? model.CursorX() : cols - 1);
        refresh();
    }

private:
    short Colour(int c) const { return static_cast<short>(kCursesColour[c & 7] + ((c & 8) ? 8 : 0)); }

    bool m_colour = false;
    bool m_bright = false;
    bool m_fullPairs = false;
    bool m_made[256] = {};
};

std::string MouseEvent(const MEVENT& m) {
    struct Row {
        mmask_t mask;
        int32_t kind;
        int32_t button;
    };
    static const Row rows[] = {
        {BUTTON1_PRESSED, kEventMousePress, 1},         {BUTTON3_PRESSED, kEventMousePress, 2},
        {BUTTON1_RELEASED, kEventMouseRelease, 1},      {BUTTON3_RELEASED, kEventMouseRelease, 2},
        {BUTTON1_CLICKED, kEventMouseRelease, 1},       {BUTTON3_CLICKED, kEventMouseRelease, 2},
        {BUTTON1_DOUBLE_CLICKED, kEventMouseDouble, 1}, {BUTTON3_DOUBLE_CLICKED, kEventMouseDouble, 2},
        {BUTTON4_PRESSED, kEventMouseWheel, 120},
#ifdef BUTTON5_PRESSED
        {BUTTON5_PRESSED, kEventMouseWheel, -120},
#endif
        {REPORT_MOUSE_POSITION, kEventMouseMove, 1},
    };
    int32_t shift = 0;
    if (m.bstate & BUTTON_SHIFT) shift |= kShiftShift;
    if (m.bstate & BUTTON_CTRL) shift |= kShiftCtrl;
    if (m.bstate & BUTTON_ALT) shift |= kShiftAlt;
    for (const Row& row : rows) {
        if (m.bstate & row.mask) {
            return EncodeEvent(row.kind, row.button, shift, m.x, m.y, 0);
        }
    }
    return std::string();
}

// Reads every key the terminal has ready and turns each into an event frame.
std::string ReadTerminalInput(ScreenModel& model) {
    std::string out;
    wint_t ch;
    int kind;
    while ((kind = get_wch(&ch)) != ERR) {
        if (kind == KEY_CODE_YES) {
            if (ch == KEY_RESIZE) {
                // The model takes the terminal's size at once: the program may
                // only ask for the size the terminal has.
                int rows, cols;
                getmaxyx(stdscr, rows, cols);
                model.Resize(cols, rows);
                clearok(stdscr, TRUE);
                out += EncodeEvent(kEventResized, 0, 0, cols, rows, 0);
                continue;
            }
            if (ch == KEY_MOUSE) {
                MEVENT m;
                if (getmouse(&m) == OK) {
                    out += MouseEvent(m);
                }
                continue;
            }
            const char* name = keyname(static_cast<int>(ch));
            KeyEvent key = KeyFromTerminalKey(static_cast<int>(ch), name ? name : "");
            if (key.code != 0) {
                out += EncodeEvent(kEventKey, key.code, key.shift, 0, 0, key.ch);
            }
            continue;
        }
        bool alt = false;
        if (ch == 27) {
            // Escape followed at once by a key is how terminals send Alt+key.
            wint_t next;
            nodelay(stdscr, TRUE);
            if (get_wch(&next) == OK) {
                alt = true;
                ch = next;
            }
        }
        KeyEvent key = KeyFromChar(static_cast<char32_t>(ch), alt);
        out += EncodeEvent(kEventKey, key.code, key.shift, 0, 0, key.ch);
    }
    return out;
}

pid_t StartProgram(const std::string& program, char** args, int& toChild, int& fromChild) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        return -1;
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (char** a = args; *a; ++a) {
            argv.push_back(*a);
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        std::fprintf(stderr, "qvhost: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toChild = in[1];
    fromChild = out[0];
    return pid;
}

void ForwardSignal(int sig) {
    if (g_child > 0) {
        kill(g_child, sig);
    }
}

// Every way out leaves the terminal as it was found.
void RestoreTerminal() {
    if (!isendwin()) {
        // Mouse reporting off before the screen goes back.
        std::fputs("\033[?1006l\033[?1002l\033[?1000l", stdout);
        std::fflush(stdout);
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
    std::setlocale(LC_ALL, "");
    std::string program = ProgramBesideSelf("quorvane");
    SetDefaultAppData();

    int toChild = -1, fromChild = -1;
    std::signal(SIGPIPE, SIG_IGN);
    g_child = StartProgram(program, argv + 1, toChild, fromChild);
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
    mousemask(ALL_MOUSE_EVENTS | REPORT_MOUSE_POSITION, nullptr);
    mouseinterval(0);
    // SGR mouse reports: no limit on the column, and releases name their button.
    std::fputs("\033[?1006h", stdout);
    std::fflush(stdout);
    Painter painter;
    painter.Init();

    int rows, cols;
    getmaxyx(stdscr, rows, cols);
    ScreenModel model(cols, rows);
    model.SetSizeFixed(true);
    RequestDecoder decoder;
    bool inputOpen = true;

    for (;;) {
        pollfd fds[2] = {{fromChild, POLLIN, 0}, {0, POLLIN, 0}};
        int n = poll(fds, inputOpen ? 2 : 1, -1);
        if (n < 0 && errno != EINTR) {
            break;
        }
        if (n < 0) {
            // A signal, most likely SIGWINCH: curses reports the new size as a key.
            if (inputOpen) {
                std::string events = ReadTerminalInput(model);
                if (!events.empty() && !WriteAll(toChild, events)) {
                    inputOpen = false;
                }
                painter.Paint(model);
            }
            continue;
        }
        if (inputOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            std::string events = ReadTerminalInput(model);
            if (!events.empty() && !WriteAll(toChild, events)) {
                inputOpen = false;
            }
            if (fds[1].revents & (POLLHUP | POLLERR)) {
                // The terminal went away: closing the program's input is its close event.
                close(toChild);
                inputOpen = false;
            }
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            uint8_t buf[65536];
            ssize_t got = read(fromChild, buf, sizeof buf);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;  // the program ended
            }
            decoder.Feed(buf, static_cast<size_t>(got));
            Request request;
            while (decoder.Next(request)) {
                std::string reply;
                if (model.Apply(request, reply) && inputOpen) {
                    WriteAll(toChild, reply);
                }
            }
            if (decoder.Broken()) {
                break;
            }
            painter.Paint(model);
        }
    }

    RestoreTerminal();
    if (inputOpen) {
        close(toChild);
    }
    close(fromChild);
    int status = 0;
    while (waitpid(g_child, &status, 0) < 0 && errno == EINTR) {
    }
    if (decoder.Broken()) {
        std::fprintf(stderr, "qvhost: the program sent a malformed frame\n");
        return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
