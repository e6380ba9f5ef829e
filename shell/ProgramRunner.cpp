#include "shell/ProgramRunner.h"

#include <atomic>

#include "app/settings/Config.h"
#include "base/mask/MaskExpression.h"
#include "base/os/Environment.h"
#include "base/os/SystemError.h"
#include "base/os/Threads.h"
#include "base/strings/Estring.h"
#include "console/Console.h"
#include "console/TerminalEmulator.h"
#include "fileops/FileErrors.h"
#include "ui/ConsoleControl.h"
#include "ui/MessageBox.h"
#include "base/strings/QuoteFileName.h"
#include "base/strings/Utf16String.h"
#include "shell/CommandMacros.h"
#include "shell/ProgramArguments.h"
#include "shell/ProgramSearch.h"

#include <cstdint>
#include <cstring>
#include <mutex>

TProgramRunnerHooks ProgramRunnerHooks = {nullptr, nullptr, nullptr};
int CommandRunState = 0;

namespace {

// The pseudo console of the child that runs, for a new screen size that
// arrives on the key feeder's thread.
std::mutex RunningConsoleLock;
HPCON RunningConsole = nullptr;

void SetRunningConsole(HPCON console) {
    std::lock_guard<std::mutex> guard(RunningConsoleLock);
    RunningConsole = console;
}

}  // namespace

void ResizeRunningProgram(int columns, int rows) {
    std::lock_guard<std::mutex> guard(RunningConsoleLock);
    if (RunningConsole != nullptr && columns > 0 && rows > 0 && columns < 0x8000 && rows < 0x8000) {
        COORD size = {static_cast<SHORT>(columns), static_cast<SHORT>(rows)};
        ResizePseudoConsole(RunningConsole, size);
    }
}

void SplitProgramPart(Westring& command, Westring& program, Westring& rest) {
    int end = command.FindUnquoted(' ');
    if (end < 0) {
        int slash = command.FindUnquoted('/');
        if (slash > 0) {
            // A switch written against the name becomes an argument.
            command = command.Left(slash) + Westring(" ") + command.Mid(slash, command.Length());
            end = slash;
        }
    }
    if (end < 0) {
        program = command;
        rest.Clear();
        return;
    }
    program = command.Left(end);
    rest = command.Mid(end, command.Length()).Trim();
}

Westring GetCommandInterpreter() {
    WCHAR value[1024];
    DWORD n = GetEnvironmentVariableW(W32TEXT("COMSPEC"), value, 1024);
    if (n == 0 || n >= 1024) {
        return Westring("C:\\COMMAND.COM");
    }
    return Westring(value);
}

bool InterpreterTakesSlashC(const Westring& interpreter) {
    Westring name = interpreter.Mid(interpreter.FindLast('\\') + 1, interpreter.Length());
    return name.EqualsNoCase(Westring("cmd.exe")) || name.EqualsNoCase(Westring("command.com"));
}

namespace {

int InterpreterRoad() {
    return InterpreterTakesSlashC(GetCommandInterpreter()) ? CommandRoadCmd : CommandRoadShell;
}

bool IsInterpreterKind(int kind) {
    return kind == ProgramKindNotProgram || kind == ProgramKindBatch || kind == ProgramKindDos;
}

bool IsNameStart(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The line holds what only a POSIX shell carries out: lists ("&&", "||",
// ";", "&"), command substitution, variables, wildcards, "~" at a word's
// start, a here-document. The redirections the runner does itself ("<",
// ">", ">>", "2>", "2>&1", ">&") are not among them. Quoted stretches (by
// the C runtime's rules) are passed over.
bool HoldsShellSyntax(const Westring& line) {
    const int n = line.Length();
    for (char32_t c : {U';', U'`', U'*', U'?', U'[', U'&', U'$', U'~', U'<'}) {
        for (int i = FindOutsideArgumentQuotes(line, c); i >= 0; i = FindOutsideArgumentQuotes(line, c, i + 1)) {
            char32_t before = i > 0 ? line[i - 1] : ' ';
            char32_t after = i + 1 < n ? line[i + 1] : 0;
            bool shell = true;
            if (c == '&') {
                shell = before != '>';
            } else if (c == '$') {
                shell = IsNameStart(after) || (after != 0 && Westring("{(?#@*!$-").Find(after) >= 0);
            } else if (c == '~') {
                shell = before == ' ' || before == '\t';
            } else if (c == '<') {
                shell = after == '<';
            }
            if (shell) {
                return true;
            }
        }
    }
    return false;
}

// The last line a macro expansion made, and the road its names were quoted
// for: that road is the one the line takes, whatever the names hold.
struct TExpandedLine {
    Westring text;
    int road = CommandRoadDirect;
    bool known = false;
};
TExpandedLine LastExpandedLine;

}  // namespace

void NoteExpandedCommand(const Westring& line, int road) {
    LastExpandedLine.text = line.Trim();
    LastExpandedLine.road = road;
    LastExpandedLine.known = true;
}

int GetCommandRoad(const Westring& commandText, int flags) {
    Westring command = commandText.Trim();
    if ((flags & RunNoInterpreter) == 0 && command.Length() > 0 && command[0] == '#') {
        return InterpreterRoad();
    }
    Westring program, rest;
    SplitProgramPart(command, program, rest);
    if (program.Length() > 0 && program[0] == '$') {
        if (program.EqualsExact(Westring("$view")) || program.EqualsExact(Westring("$edit"))) {
            return CommandRoadInternal;
        }
    }
    if (MatchMaskName(Westring("*.qvs"), program)) {
        return CommandRoadInternal;
    }
    if (program.Length() >= 2 && program[0] == '"' && program[program.Length() - 1] == '"') {
        program = program.Mid(1, program.Length() - 2);
    }
    if (flags & RunNoInterpreter) {
        return CommandRoadDirect;
    }
    // A program part that is itself put in by a macro names the file to run.
    char32_t macro = MacroCharacter();
    for (int i = 0; i < program.Length(); i++) {
        if (program[i] == macro) {
            return CommandRoadDirect;
        }
    }
    const int interpreter = InterpreterRoad();
    if (FindOutsideArgumentQuotes(command, '|') > 0 || (interpreter == CommandRoadShell && HoldsShellSyntax(command))) {
        return interpreter;
    }
    Westring found;
    if (FindProgramOnPath(program, found) && !IsInterpreterKind(GetProgramKindByExtension(found))) {
        return CommandRoadDirect;
    }
    return interpreter;
}

Westring QuoteNameForRoad(const Westring& name, int road) {
    switch (road) {
    case CommandRoadShell: return QuoteForShell(name);
    case CommandRoadCmd:
    case CommandRoadInternal: return QuoteForCmd(name);
    default: return QuoteArgument(name);
    }
}

namespace {

// The handles of one start: what the redirections opened and the pseudo
// console with its pipes. Everything here is closed once, by its owner.
struct TChildStreams {
    HANDLE opened[3] = {nullptr, nullptr, nullptr};  // by redirection: input, output, error
    HANDLE keysWrite = nullptr;                      // the console's input, our end
    HANDLE outputRead = nullptr;                     // the console's output, our end
    HPCON console = nullptr;
    int keysFd = -1;  // keysWrite as a descriptor, once attached

    void CloseRedirections() {
        for (int i = 0; i < 3; i++) {
            if (opened[i] == nullptr) {
                continue;
            }
            // "2>&1" gives two streams one handle: closed once.
            for (int j = i + 1; j < 3; j++) {
                if (opened[j] == opened[i]) {
                    opened[j] = nullptr;
                }
            }
            CloseHandle(opened[i]);
            opened[i] = nullptr;
        }
    }
};

bool MakePseudoConsole(TChildStreams& streams) {
    HANDLE inputRead = nullptr, outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &streams.keysWrite, nullptr, 0)) {
        return false;
    }
    if (!CreatePipe(&streams.outputRead, &outputWrite, nullptr, 0)) {
        DWORD error = GetLastError();
        CloseHandle(inputRead);
        CloseHandle(streams.keysWrite);
        streams.keysWrite = nullptr;
        SetLastError(error);
        return false;
    }
    int columns = 80, rows = 25;
    if (Console != nullptr) {
        Console->GetScreenSize(columns, rows);
    }
    COORD size = {static_cast<SHORT>(columns), static_cast<SHORT>(rows)};
    HRESULT made = CreatePseudoConsole(size, inputRead, outputWrite, 0, &streams.console);
    // The console keeps its own copies of its ends.
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    if (made != S_OK) {
        CloseHandle(streams.keysWrite);
        CloseHandle(streams.outputRead);
        streams.keysWrite = streams.outputRead = nullptr;
        streams.console = nullptr;
        SetLastError(ERROR_GEN_FAILURE);
        return false;
    }
    return true;
}

// The first "<" or ">" outside quotes; `output` says which.
int FindRedirection(const Westring& arguments, bool& output) {
    int in = FindOutsideArgumentQuotes(arguments, '<');
    int out = FindOutsideArgumentQuotes(arguments, '>');
    if (in < 0 && out < 0) {
        return -1;
    }
    output = out >= 0 && (in < 0 || out < in);
    return output ? out : in;
}

}  // namespace

void ApplyRedirection(Westring& arguments, int position, bool output, STARTUPINFOW& start, HANDLE opened[3]) {
    int cut = position;
    int word = position + 1;
    bool append = false;
    // Which stream: 0 input, 1 output, 2 error, 3 output and error.
    int stream = output ? 1 : 0;
    if (output) {
        if (word < arguments.Length() && arguments[word] == '>') {
            append = true;
            word++;
        }
        char32_t before = position > 0 ? arguments[position - 1] : 0;
        if ((before == '1' || before == '2') && (position < 3 || arguments[position - 2] == ' ')) {
            cut = position - 1;
            stream = before == '1' ? 1 : 2;
        } else if (word < arguments.Length() && arguments[word] == '&' &&
                   !(word + 1 < arguments.Length() && (arguments[word + 1] == '1' || arguments[word + 1] == '2') &&
                     (word + 2 >= arguments.Length() || arguments[word + 2] == ' '))) {
            stream = 3;
            word++;
        }
    }
    while (word < arguments.Length() && arguments[word] == ' ') {
        word++;
    }
    int end = FindOutsideArgumentQuotes(arguments.Mid(word, arguments.Length()), ' ');
    end = end < 0 ? arguments.Length() : word + end;
    Westring target = arguments.Mid(word, end - word);
    arguments =
        (arguments.Left(cut).TrimRight() + Westring(" ") + arguments.Mid(end, arguments.Length()).TrimLeft()).Trim();

    if (target.EqualsExact(Westring("&1")) || target.EqualsExact(Westring("&2"))) {
        if (stream == 2 && target[1] == '1') {
            start.hStdError = start.hStdOutput;
        } else if (stream == 1 && target[1] == '2') {
            start.hStdOutput = start.hStdError;
        }
        return;
    }
    Westring path = StripQuotes(target);
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
    HANDLE file = CreateFileW(Utf16String(path).Data(), output ? GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                              !output  ? OPEN_EXISTING
                              : append ? OPEN_ALWAYS
                                       : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowMessageBox(Westring("Error: ") + FormatSystemError(GetLastError()), path, MessageBoxOk);
        return;
    }
    if (append) {
        SetFilePointer(file, 0, nullptr, FILE_END);
    }
    // A stream redirected twice keeps the later file; the earlier one is
    // closed now, unless another stream still uses it.
    auto take = [&](int index, HANDLE& slot) {
        HANDLE old = opened[index];
        opened[index] = file;
        slot = file;
        if (old != nullptr && old != opened[0] && old != opened[1] && old != opened[2]) {
            CloseHandle(old);
        }
    };
    switch (stream) {
    case 0: take(0, start.hStdInput); break;
    case 1: take(1, start.hStdOutput); break;
    case 2: take(2, start.hStdError); break;
    default:
        take(1, start.hStdOutput);
        take(2, start.hStdError);
        break;
    }
}

// What the child wrote goes to the terminal the console shows it in.
static void ShowChildOutput(const char* bytes, DWORD count) {
    TerminalEmulator* terminal = Console != nullptr ? Console->AttachedTerminal() : nullptr;
    if (terminal != nullptr) {
        terminal->Write(bytes, static_cast<int>(count));
    }
}

bool ReadChildOutputChunk(HANDLE output, char* buffer, int size, bool* moved) {
    if (moved != nullptr) {
        *moved = false;
    }
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr)) {
            return false;  // the pipe is closed
        }
        if (available == 0) {
            return true;
        }
        DWORD got = 0;
        DWORD wanted = available < static_cast<DWORD>(size - 1) ? available : static_cast<DWORD>(size - 1);
        if (!ReadFile(output, buffer, wanted, &got, nullptr) || got == 0) {
            return false;
        }
        buffer[got] = 0;
        ShowChildOutput(buffer, got);
        if (moved != nullptr) {
            *moved = true;
        }
    }
}

// How long the pipe must stay empty after the console has closed before the
// output counts as complete although the pipe has not reported its end.
const DWORD OutputQuietMs = 250;

struct TOutputDrain {
    HANDLE output;
    std::atomic<bool> consoleClosed{false};
};

// Shows the child's output until its pipe ends, or, once the console has
// closed, until the pipe has stayed empty a while. Everything the console
// wrote is in the pipe when it has closed; the end of the pipe is not waited
// for alone, as wine at times never reports it to a reader that waits.
static unsigned __stdcall DrainChildOutput(void* argument) {
    TOutputDrain* drain = static_cast<TOutputDrain*>(argument);
    char buffer[1025];
    bool quiet = false;
    DWORD quietSince = 0;
    for (;;) {
        bool moved = false;
        if (!ReadChildOutputChunk(drain->output, buffer, sizeof buffer, &moved)) {
            break;  // the pipe has ended
        }
        if (moved) {
            quiet = false;
        } else if (drain->consoleClosed.load()) {
            if (!quiet) {
                quiet = true;
                quietSince = GetTickCount();
            } else if (GetTickCount() - quietSince >= OutputQuietMs) {
                break;
            }
        }
        Sleep(5);
    }
    return 0;
}

void PumpChildOutput(HANDLE output, HANDLE process, HPCON console) {
    char buffer[1025];
    // While the child runs, its output is shown as it comes.
    for (;;) {
        if (!ReadChildOutputChunk(output, buffer, sizeof buffer)) {
            break;
        }
        if (WaitForSingleObject(process, 15) != WAIT_TIMEOUT) {
            break;
        }
    }
    // What it wrote last is still on its way: the console passes it on when
    // it closes. Closing the console waits for the console to end, and the
    // console may first have to write its last screen into a full pipe, so
    // the pipe is read on a thread of its own while the console closes.
    ReadChildOutputChunk(output, buffer, sizeof buffer);
    SetRunningConsole(nullptr);
    TOutputDrain drain;
    drain.output = output;
    HANDLE reader = StartThread(DrainChildOutput, &drain);
    if (console != nullptr) {
        ClosePseudoConsole(console);
    }
    drain.consoleClosed.store(true);
    if (reader != nullptr) {
        WaitForSingleObject(reader, INFINITE);
        CloseHandle(reader);
    } else {
        DrainChildOutput(&drain);
    }
    if (Console != nullptr) {
        Console->Flush();
    }
}

int RunProgram(const Westring& commandText, int flags) {
    Westring command = commandText.Trim();
    // The road was chosen on the line as written, before any macro put a name
    // into it: a name quoted for the shell may hold a quote that would hide
    // the line's own "|" from a second look.
    int road = CommandRoadDirect;
    if ((flags & RunNoInterpreter) == 0) {
        road = LastExpandedLine.known && LastExpandedLine.text.EqualsExact(command) ? LastExpandedLine.road
                                                                                      : GetCommandRoad(command, flags);
    }
    const bool roadIsInterpreter = road == CommandRoadShell || road == CommandRoadCmd;
    bool toInterpreter = false;
    if ((flags & RunNoInterpreter) == 0 && command.Length() > 0 && command[0] == '#') {
        command = command.Mid(1, command.Length()).Trim();
        toInterpreter = true;
    }
    // The text as typed goes to a POSIX shell, whose quoting then holds.
    const Westring typed = command;
    Westring program, rest;
    SplitProgramPart(command, program, rest);
    Westring plainArguments = StripQuotes(rest);

    if (!toInterpreter && program.EqualsExact(Westring("$view"))) {
        if (ProgramRunnerHooks.viewFile != nullptr) {
            ProgramRunnerHooks.viewFile(plainArguments);
        }
        return 0;
    }
    if (!toInterpreter && program.EqualsExact(Westring("$edit"))) {
        if (ProgramRunnerHooks.editFile != nullptr) {
            ProgramRunnerHooks.editFile(plainArguments);
        }
        return 0;
    }
    if (!toInterpreter && MatchMaskName(Westring("*.qvs"), program)) {
        WestringStore words;
        Westring remaining = plainArguments.TrimLeft();
        while (!remaining.IsEmpty()) {
            int blank = remaining.Find(' ');
            if (blank < 0) {
                words.Add(new Westring(remaining));
                break;
            }
            words.Add(new Westring(remaining.Left(blank)));
            remaining = remaining.Mid(blank + 1, remaining.Length()).TrimLeft();
        }
        if (ProgramRunnerHooks.runScript != nullptr) {
            ProgramRunnerHooks.runScript(StripQuotes(program), words);
        }
        if (CommandRunState == 1) {
            CommandRunState = 2;
        }
        return 0;
    }

    int kind = ProgramKindNotProgram;
    Westring found;
    if (!toInterpreter) {
        if (program.Length() >= 2 && program[0] == '"' && program[program.Length() - 1] == '"') {
            program = program.Mid(1, program.Length() - 2);
        }
        if (FindProgramOnPath(program, found)) {
            kind = GetProgramKindByExtension(found);
            toInterpreter = roadIsInterpreter;
        } else if (flags & RunReportNotFound) {
            ShowMessageBox(Westring("Program not found"), program, MessageBoxOk);
            return -1;
        }
        if (IsInterpreterKind(kind)) {
            toInterpreter = true;
        }
    }

    STARTUPINFOEXW startEx;
    std::memset(&startEx, 0, sizeof startEx);
    STARTUPINFOW& start = startEx.StartupInfo;
    start.cb = sizeof startEx;
    start.dwFlags = STARTF_USESTDHANDLES;
    TChildStreams streams;
    Westring application;
    Westring line;
    if (toInterpreter) {
        application = GetCommandInterpreter();
        found = application;
        if (InterpreterTakesSlashC(application)) {
            line = QuoteArgument(application) + Westring(" /c ") + command;
        } else {
            line = QuoteArgument(application) + Westring(" -c ") + QuoteArgument(TranslateShellLine(typed));
        }
        kind = ProgramKindConsole;
    } else {
        application = found;
        Westring arguments = rest;
        bool output = false;
        for (int position = FindRedirection(arguments, output); position >= 0;
             position = FindRedirection(arguments, output)) {
            ApplyRedirection(arguments, position, output, start, streams.opened);
        }
        line = QuoteArgument(found) + Westring(" ") + TranslateDirectArguments(arguments);
    }
    const bool waited = kind != ProgramKindWin16 && kind != ProgramKindWindowed;

    // A waited child runs on a pseudo console of its own; any other gets the
    // null device, never the program's own channel to its host.
    LPPROC_THREAD_ATTRIBUTE_LIST attributes = nullptr;
    char* attributeStorage = nullptr;
    if (waited) {
        if (!MakePseudoConsole(streams)) {
            ShowMessageBox(Westring("debug: CreatePipe() failed"), FormatSystemError(GetLastError()), MessageBoxOk);
        } else {
            SIZE_T bytes = 0;
            InitializeProcThreadAttributeList(nullptr, 1, 0, &bytes);
            attributeStorage = new char[bytes];
            attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeStorage);
            if (!InitializeProcThreadAttributeList(attributes, 1, 0, &bytes) ||
                !UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE, streams.console,
                                           sizeof streams.console, nullptr, nullptr)) {
                delete[] attributeStorage;
                attributeStorage = nullptr;
                attributes = nullptr;
            }
        }
    }
    startEx.lpAttributeList = attributes;

    const int foundAbortState = UserAbortState;
    int result = -1;
    for (;;) {
        UserAbortState = UserAbortPolling;
        if (Console != nullptr) {
            Console->FlushEvents();
        }
        SetConsoleCtrlHandler(nullptr, FALSE);
        Estring pathAppend;
        Config.PathAppend.ToUtf8(pathAppend);
        const WCHAR* block = TopEnvironment().BuildBlock(pathAppend);
        Utf16String applicationWide(application);
        Utf16String lineWide(line);
        PROCESS_INFORMATION info;
        std::memset(&info, 0, sizeof info);
        DWORD creation = CREATE_DEFAULT_ERROR_MODE | CREATE_UNICODE_ENVIRONMENT;
        if (attributes != nullptr) {
            creation |= EXTENDED_STARTUPINFO_PRESENT;
        }
        BOOL started = CreateProcessW(applicationWide.Data(), lineWide.Data(), nullptr, nullptr, TRUE, creation,
                                      const_cast<WCHAR*>(block), nullptr, &start, &info);
        if (!started) {
            int code = static_cast<int>(GetLastError());
            int stop = 1;
            ReportFileError(code, stop, found.Data(), nullptr, 0);
            if (stop == 0 && code >= 0) {
                continue;
            }
            result = -1;
            break;
        }
        ChildProcessGroup = info.dwProcessId;
        UserAbortState = UserAbortChildRunning;
        if (!waited) {
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
            result = 0;
            break;
        }
        if (streams.console != nullptr && Console != nullptr) {
            streams.keysFd = _open_osfhandle(reinterpret_cast<intptr_t>(streams.keysWrite), 0);
            if (streams.keysFd > 0) {
                streams.keysWrite = nullptr;  // the descriptor owns it now
            }
            Console->AttachTerminal(streams.keysFd);
        }
        if (streams.console != nullptr) {
            SetRunningConsole(streams.console);
            // The console is closed inside, once the child is done.
            HPCON console = streams.console;
            streams.console = nullptr;
            PumpChildOutput(streams.outputRead, info.hProcess, console);
        } else {
            DWORD waitedFor = WaitForSingleObject(info.hProcess, INFINITE);
            if (waitedFor == WAIT_FAILED && GetLastError() != ERROR_FILE_NOT_FOUND) {
                ShowMessageBox(Westring("Error waiting for child to exit"), FormatSystemError(GetLastError()),
                               MessageBoxOk);
            }
        }
        if (Console != nullptr && Console->AttachedTerminal() != nullptr) {
            Console->DetachTerminal();
        }
        DWORD exitCode = 0;
        if (GetExitCodeProcess(info.hProcess, &exitCode)) {
            result = static_cast<int>(exitCode);
            if (CommandRunState == 1) {
                CommandRunState = 2;
            }
        } else {
            Estring text;
            text.Format("Error %u getting exit code", static_cast<unsigned>(GetLastError()));
            ShowMessageBox(Westring(text), Westring(), MessageBoxOk);
            result = -1;
        }
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        break;
    }

    InstallConsoleCtrlHandler();
    if (UserAbortState == UserAbortRequested) {
        result = -1;
    }
    UserAbortState = foundAbortState;
    ChildProcessGroup = 0;
    if (streams.console != nullptr) {
        ClosePseudoConsole(streams.console);
    }
    if (streams.keysFd > 0) {
        _close(streams.keysFd);
    }
    if (streams.keysWrite != nullptr) {
        CloseHandle(streams.keysWrite);
    }
    if (streams.outputRead != nullptr) {
        CloseHandle(streams.outputRead);
    }
    if (attributes != nullptr) {
        DeleteProcThreadAttributeList(attributes);
    }
    delete[] attributeStorage;
    streams.CloseRedirections();
    return result;
}
