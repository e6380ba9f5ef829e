#include "shell/ProgramRunner.h"

#include "base/mask/MaskExpression.h"
#include "base/strings/QuoteFileName.h"
#include "base/strings/Utf16String.h"
#include "shell/CommandMacros.h"
#include "shell/ProgramSearch.h"

TProgramRunnerHooks ProgramRunnerHooks = {nullptr, nullptr, nullptr};
int CommandRunState = 0;

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

int InterpreterRoad() { return InterpreterTakesSlashC(GetCommandInterpreter()) ? CommandRoadCmd : CommandRoadShell; }

bool IsInterpreterKind(int kind) {
    return kind == ProgramKindNotProgram || kind == ProgramKindBatch || kind == ProgramKindDos;
}

}  // namespace

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
    Westring found;
    if (FindProgramOnPath(program, found) && !IsInterpreterKind(GetProgramKindByExtension(found)) &&
        FindOutsideArgumentQuotes(command, '|') <= 0) {
        return CommandRoadDirect;
    }
    return InterpreterRoad();
}

Westring QuoteNameForRoad(const Westring& name, int road) {
    switch (road) {
    case CommandRoadShell:
        return QuoteForShell(name);
    case CommandRoadCmd:
    case CommandRoadInternal:
        return QuoteForCmd(name);
    default:
        return QuoteArgument(name);
    }
}
