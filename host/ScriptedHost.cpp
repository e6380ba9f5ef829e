#include "host/ScriptedHost.h"

#include "base/strings/Utf8Codec.h"
#include "host/HostPaths.h"
#include "host/TerminalKeys.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qvhost {

namespace {

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string DefaultProgram() {
    if (const char* dir = std::getenv("QV_BINARY_DIR")) {
        return std::string(dir) + "/bin/quorvane";
    }
    // Test executables sit in the build's tests folder, the program in its bin folder.
    return ProgramBesideSelf("../bin/quorvane");
}

ScriptedHost::LaunchAdapter& Adapter() {
    static ScriptedHost::LaunchAdapter adapter;
    return adapter;
}

}  // namespace

void ScriptedHost::SetLaunchAdapter(LaunchAdapter adapter) {
    Adapter() = std::move(adapter);
}

ScriptedHost::ScriptedHost(const Options& given) : m_model(given.columns, given.rows) {
    m_model.SetSizeFixed(given.sizeFixed);
    std::signal(SIGPIPE, SIG_IGN);
    Options options = given;
    if (options.program.empty()) {
        options.program = DefaultProgram();
    }
    if (Adapter() && !Adapter()(options)) {
        return;
    }
    const std::string& program = options.program;
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0) {
        return;
    }
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        std::string item = *e;
        std::string name = item.substr(0, item.find('='));
        if (options.env.find(name) == options.env.end()) {
            envStore.push_back(item);
        }
    }
    for (const auto& kv : options.env) {
        envStore.push_back(kv.first + "=" + kv.second);
    }
    std::vector<char*> envp;
    for (std::string& item : envStore) {
        envp.push_back(&item[0]);
    }
    envp.push_back(nullptr);
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    for (std::string& a : argStore) {
        argv.push_back(&a[0]);
    }
    argv.push_back(nullptr);

    // Opened before the fork: the child only duplicates descriptors.
    int errorFd = -1;
    if (!options.errorFile.empty()) {
        errorFd = open(options.errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        if (errorFd >= 0) {
            dup2(errorFd, 2);
        }
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    if (errorFd >= 0) {
        close(errorFd);
    }
    if (pid < 0) {
        close(in[1]);
        close(out[0]);
        return;
    }
    m_pid = pid;
    m_toChild = in[1];
    m_fromChild = out[0];
    m_lastRequestMs = NowMs();
    m_reader = std::thread([this] { ReaderLoop(); });
}

ScriptedHost::~ScriptedHost() {
    CloseInput();
    if (m_pid > 0 && WaitExit(5000) < 0) {
        kill(m_pid, SIGKILL);
        WaitExit(5000);
    }
    if (m_reader.joinable()) {
        m_reader.join();
    }
    if (m_fromChild >= 0) {
        close(m_fromChild);
    }
}

void ScriptedHost::ReaderLoop() {
    RequestDecoder decoder;
    uint8_t buf[65536];
    for (;;) {
        ssize_t got = read(m_fromChild, buf, sizeof buf);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        decoder.Feed(buf, static_cast<size_t>(got));
        Request request;
        std::string replies;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            while (decoder.Next(request)) {
                ++m_pendingCounts[request.opcode];
                std::string reply;
                if (m_model.Apply(request, reply)) {
                    replies += reply;
                }
                NoteWatchedTexts();
            }
            m_lastRequestMs = NowMs();
        }
        if (!replies.empty()) {
            Write(replies);
        }
        {
            // Counted once answered, so a wait for a request also waits for its reply.
            std::lock_guard<std::mutex> guard(m_lock);
            for (const auto& pending : m_pendingCounts) {
                m_requestCounts[pending.first] += pending.second;
            }
            m_pendingCounts.clear();
        }
        m_changed.notify_all();
        if (decoder.Broken()) {
            break;
        }
    }
    int status = 0;
    pid_t r;
    do {
        r = waitpid(m_pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_ended = true;
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    m_changed.notify_all();
}

void ScriptedHost::Write(const std::string& bytes) {
    std::lock_guard<std::mutex> guard(m_writeLock);
    if (m_toChild < 0) {
        return;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(m_toChild, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

void ScriptedHost::SendKey(int32_t code, int32_t ch, int32_t shift) {
    Write(EncodeEvent(kEventKey, code, shift, 0, 0, ch));
}

void ScriptedHost::SendText(const std::string& utf8) {
    for (char32_t ch : Utf8ToUtf32(utf8)) {
        SendKey(static_cast<int32_t>(ch), static_cast<int32_t>(ch));
    }
}

void ScriptedHost::SendMouse(int32_t kind, int32_t button, int32_t x, int32_t y, int32_t shift) {
    Write(EncodeEvent(kind, button, shift, x, y, 0));
}

bool ScriptedHost::PressKey(const std::string& name) {
    KeyEvent key = KeyFromName(name);
    if (key.code == 0) {
        return false;
    }
    SendKey(key.code, key.ch, key.shift);
    return true;
}

void ScriptedHost::Click(int x, int y, int button, int32_t shift) {
    SendMouse(kEventMousePress, button, x, y, shift);
    SendMouse(kEventMouseRelease, button, x, y, shift);
}

void ScriptedHost::DoubleClick(int x, int y) {
    SendMouse(kEventMouseDouble, 1, x, y);
}

void ScriptedHost::Wheel(int x, int y, int delta) {
    SendMouse(kEventMouseWheel, delta, x, y);
}

void ScriptedHost::SendResize(int columns, int rows) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_model.Resize(columns, rows);
    }
    Write(EncodeEvent(kEventResized, 0, 0, columns, rows, 0));
}

void ScriptedHost::CloseInput() {
    std::lock_guard<std::mutex> guard(m_writeLock);
    if (m_toChild >= 0) {
        close(m_toChild);
        m_toChild = -1;
    }
}

bool ScriptedHost::WaitFor(const std::function<bool(const ScreenModel&)>& condition, int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return condition(m_model); });
}

bool ScriptedHost::WaitForText(const std::string& utf8, int timeoutMs) {
    return WaitFor(
        [&](const ScreenModel& model) {
            for (int y = 0; y < model.Rows(); ++y) {
                if (model.RowText(y).find(utf8) != std::string::npos) {
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
}

bool ScriptedHost::WaitForTextGone(const std::string& utf8, int timeoutMs) {
    return WaitFor(
        [&](const ScreenModel& model) {
            for (int y = 0; y < model.Rows(); ++y) {
                if (model.RowText(y).find(utf8) != std::string::npos) {
                    return false;
                }
            }
            return true;
        },
        timeoutMs);
}

void ScriptedHost::NoteWatchedTexts() {
    for (auto& watched : m_watched) {
        if (watched.second) {
            continue;
        }
        for (int y = 0; y < m_model.Rows() && !watched.second; ++y) {
            watched.second = m_model.RowText(y).find(watched.first) != std::string::npos;
        }
    }
}

void ScriptedHost::WatchText(const std::string& utf8) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_watched[utf8] = false;
    NoteWatchedTexts();
}

bool ScriptedHost::WaitForSeen(const std::string& utf8, int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        auto it = m_watched.find(utf8);
        return it != m_watched.end() && it->second;
    });
}

bool ScriptedHost::WaitForRequests(uint16_t opcode, int count, int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        auto it = m_requestCounts.find(opcode);
        return it != m_requestCounts.end() && it->second >= count;
    });
}

bool ScriptedHost::WaitQuiet(int quietMs, int timeoutMs) {
    long long deadline = NowMs() + timeoutMs;
    std::unique_lock<std::mutex> guard(m_lock);
    while (!m_ended && NowMs() - m_lastRequestMs < quietMs) {
        if (NowMs() >= deadline) {
            return false;
        }
        m_changed.wait_for(guard, std::chrono::milliseconds(quietMs / 4 + 1));
    }
    return true;
}

int ScriptedHost::WaitExit(int timeoutMs) {
    std::unique_lock<std::mutex> guard(m_lock);
    if (!m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return m_ended; })) {
        return -1;
    }
    return m_exitCode;
}

ScreenModel ScriptedHost::Snapshot() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_model;
}

std::string ScriptedHost::ScreenText() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::string text;
    for (int y = 0; y < m_model.Rows(); ++y) {
        text += m_model.RowText(y);
        text += '\n';
    }
    return text;
}

}  // namespace qvhost

namespace qvhost {

std::string ScriptedHost::RowText(int y) {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_model.RowText(y);
}

std::vector<uint8_t> ScriptedHost::RowAttributes(int y) {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_model.RowAttributes(y);
}

std::string ScriptedHost::Dump() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_model.Dump();
}

int ScriptedHost::RequestCount(uint16_t opcode) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_requestCounts.find(opcode);
    return it == m_requestCounts.end() ? 0 : it->second;
}

}  // namespace qvhost
