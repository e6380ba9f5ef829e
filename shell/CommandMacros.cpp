#include "shell/CommandMacros.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "base/io/StdFile.h"
#include "base/os/Environment.h"
#include "base/os/FileAttributes.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Estring.h"
#include "base/strings/QuoteFileName.h"
#include "console/Console.h"
#include "console/KeyCodes.h"
#include "platform/SystemTraits.h"
#include "shell/ProgramArguments.h"
#include "shell/ProgramRunner.h"
#include "shell/TempFiles.h"
#include "ui/Dialog.h"

#include <vector>

int (*GetArchiveEntryFileHook)(CPanel* panel, const Westring& name, Westring& localPath) = nullptr;

char32_t MacroCharacter() {
    return Config.CmdChar != 0 ? static_cast<unsigned char>(Config.CmdChar) : U'!';
}

void AppendFileMacro(Westring& command) {
    char32_t macro = MacroCharacter();
    if (command.Find(macro) >= 0) {
        return;
    }
    if (!command.IsEmpty()) {
        command.AppendChar(' ');
    }
    command.AppendChar(macro);
}

namespace {

// The "l" macro stops adding names before the command would pass this length.
constexpr int ListMacroLimit = 1000;

CPanel* PanelOf(int side) {
    return Panels != nullptr ? &Panels[side & 1] : nullptr;
}

Westring CursorName(CPanel* panel) {
    entry* current = panel != nullptr ? panel->CursorEntry() : nullptr;
    return current != nullptr ? Westring(current->name) : Westring();
}

Westring DirectoryOf(CPanel* panel) {
    return panel != nullptr ? GetPanelDirectory(panel) : Westring();
}

Westring WithBackslash(const Westring& directory) {
    if (directory.IsEmpty() || directory[directory.Length() - 1] == '\\') {
        return directory;
    }
    return directory + Westring("\\");
}

Westring FullPathIn(CPanel* panel, const Westring& name) {
    Westring path = name;
    Westring directory = DirectoryOf(panel);
    if (NormalizePath(path, directory.IsEmpty() ? nullptr : directory.Data()) != 0) {
        return WithBackslash(directory) + name;
    }
    return path;
}

Westring WithoutExtension(const Westring& name) {
    int point = name.FindLast('.');
    int separator = name.FindLast('\\');
    if (point > 0 && point > separator + 1) {
        return name.Left(point);
    }
    return name;
}

// The input prompt; false on Escape.
bool AskInput(const Westring& title, Westring& answer) {
    int columns = 80, rows = 25;
    if (Console != nullptr) {
        Console->GetScreenSize(columns, rows);
    }
    Westring shown = title.Length() > columns - 8 ? title.Left(columns - 8) : title;
    int fieldWidth = shown.Length() > 20 ? shown.Length() : 20;
    const uint8_t attribute = ColourOf(ColourMessages);
    int cursorX = 0, cursorY = 0;
    if (Console != nullptr) {
        Console->GetCursorPos(cursorX, cursorY);
    }
    Dialog dialog(-1, -2, fieldWidth + 4, 5, attribute);
    Estring utf8;
    shown.ToUtf8(utf8);
    dialog.AddStaticText((fieldWidth + 2 - shown.Length()) / 2, 0, utf8.Data(), attribute);
    answer.Clear();
    dialog.AddStringField(1, 2, 1, answer, fieldWidth, 512, FieldKindNoHistory);
    int result = dialog.Run();
    if (Console != nullptr) {
        Console->SetCursorPos(cursorX, cursorY);
    }
    return result != KEY_ESC;
}

// The name in its short 8.3 form when the "~" modifier asks for it; a bare
// name keeps only its last part.
Westring Shortened(const Westring& path, bool shortNames, bool isPath) {
    if (!shortNames || path.IsEmpty()) {
        return path;
    }
    Westring shortForm = GetShortName(path);
    return isPath ? shortForm : shortForm.Mid(shortForm.FindLast('\\') + 1, shortForm.Length());
}

class CMacroExpander {
public:
    CMacroExpander(const Westring& text, const Westring* fileName, int side, int mode, TPromptAnswers* answers)
        : text(text), given(fileName != nullptr ? *fileName : Westring()), side(side), mode(mode),
          road(mode == MacroModeProbe ? CommandRoadDirect : GetCommandRoad(text)), M(MacroCharacter()),
          answers(answers) {}

    int Run(Westring& out);

private:
    // Puts the pending piece into the result, quoted for the road or as it is.
    void Flush(bool quote) {
        if (pending.IsEmpty()) {
            return;
        }
        int start = result.Length();
        result += quote ? Quote(pending) : pending;
        inserted.push_back({start, result.Length()});
        pending.Clear();
    }
    // A line for the POSIX shell reaches programs of the system underneath
    // with their own form of paths; a program started directly gets it from
    // the runner, which reads its arguments word by word.
    Westring Quote(const Westring& name) {
        return QuoteNameForRoad(road == CommandRoadShell ? ProgramArgumentPath(name) : name, road);
    }
    // The answer of the next input prompt: the one a probe of the same
    // command got, else asked now. False on Escape.
    bool PromptAnswer(const Westring& title, Westring& answer);
    // The current file, as a path of the file system when the panel shows an
    // archive; false when it could not be taken out.
    bool LocalFile(CPanel* panel, const Westring& name, Westring& path);
    bool ListFile(CPanel* panel, bool shortNames);
    void AddTagged(CPanel* panel, bool fullPaths, bool limit, int restStart);
    void ReplaceEnvironmentReferences();
    bool IsInserted(int position) const {
        for (const auto& range : inserted) {
            if (position >= range.first && position < range.second) {
                return true;
            }
        }
        return false;
    }

    Westring text;
    Westring given;
    int side;
    int mode;
    int road;
    char32_t M;
    Westring result;
    Westring pending;
    std::vector<std::pair<int, int>> inserted;
    TPromptAnswers* answers;
    size_t answersTaken = 0;
};

bool CMacroExpander::PromptAnswer(const Westring& title, Westring& answer) {
    if (mode != MacroModeProbe && answers != nullptr && answersTaken < answers->size()) {
        answer = (*answers)[answersTaken++];
        return true;
    }
    if (!AskInput(title, answer)) {
        return false;
    }
    if (mode == MacroModeProbe && answers != nullptr) {
        answers->push_back(answer);
    }
    return true;
}

bool CMacroExpander::LocalFile(CPanel* panel, const Westring& name, Westring& path) {
    if (panel != nullptr && panel->archive != nullptr && name.Find('\\') < 0 && !name.IsEmpty()) {
        return GetArchiveEntryFileHook != nullptr && GetArchiveEntryFileHook(panel, name, path) == 0;
    }
    path = name;
    return true;
}

bool CMacroExpander::ListFile(CPanel* panel, bool shortNames) {
    Westring listPath;
    if (MakeTempFileName(listPath) != 0) {
        return false;
    }
    StdFile file(listPath, StdFile::ModeWrite);
    if (file.LastError() != 0) {
        return false;
    }
    auto writeName = [&](const Westring& name) {
        Westring shown = shortNames ? GetShortName(WithBackslash(DirectoryOf(panel)) + name) : name;
        if (shortNames) {
            shown = shown.Mid(shown.FindLast('\\') + 1, shown.Length());
        }
        // The system's own programs read one name a line, as it is, ended
        // by a line feed; elsewhere a name with a blank comes in quotes.
        Estring line(ProgramsReadSlashNames ? shown : QuoteFileName(shown), GetTextCodePage());
        file.Write(line.Data(), line.Length());
        if (ProgramsReadSlashNames) {
            file.Write("\n", 1);
        } else {
            file.Write("\r\n", 2);
        }
    };
    int written = 0;
    if (panel != nullptr && panel->taggedCount > 0) {
        for (int i = 0; i < panel->entryCount; i++) {
            if (panel->entries[i]->tagged) {
                writeName(Westring(panel->entries[i]->name));
                written++;
            }
        }
    }
    if (written == 0) {
        writeName(mode == MacroModeFile ? given : CursorName(panel));
    }
    file.Close();
    pending += listPath;
    return true;
}

void CMacroExpander::AddTagged(CPanel* panel, bool fullPaths, bool limit, int restStart) {
    Westring directory = WithBackslash(DirectoryOf(panel));
    int restLength = text.Length() - restStart;
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (!item->tagged) {
            continue;
        }
        Westring name(item->name);
        Westring piece = Westring(" ") + Quote(fullPaths ? directory + name : name);
        if (limit && result.Length() + pending.Length() + piece.Length() + restLength > ListMacroLimit) {
            break;  // the others stay tagged
        }
        pending += piece;
        if (limit) {
            item->tagged = 0;
            item->processed = 1;
            panel->taggedCount--;
        }
    }
}

void CMacroExpander::ReplaceEnvironmentReferences() {
    Westring out;
    std::vector<std::pair<int, int>> kept;
    int i = 0;
    while (i < result.Length()) {
        if (result[i] != '%' || IsInserted(i)) {
            out.AppendChar(result[i++]);
            continue;
        }
        int end = i + 1;
        while (end < result.Length() && result[end] != ' ' && result[end] != '\t' && result[end] != '\\' &&
               result[end] != '%' && !IsInserted(end)) {
            end++;
        }
        const Estring* value = nullptr;
        if (end > i + 1) {
            value = TopEnvironment().Get(Estring(result.Mid(i + 1, end - i - 1).ToUpper()));
        }
        if (value == nullptr) {
            out.AppendChar(result[i++]);
            continue;
        }
        Westring wide;
        wide.AssignUtf8(value->Data());
        out += wide;
        i = end < result.Length() && result[end] == '%' && !IsInserted(end) ? end + 1 : end;
    }
    result = out;
}

int CMacroExpander::Run(Westring& out) {
    if (mode == MacroModeFile && text.Find(M) < 0) {
        AppendFileMacro(text);
        road = GetCommandRoad(text);
    }
    int code = 0;
    int i = 0;
    while (i < text.Length()) {
        if (text[i] != M) {
            Flush(true);
            result.AppendChar(text[i++]);
            continue;
        }
        int j = i + 1;
        bool shortNames = false;
        int selected = side;
        if (j < text.Length() && text[j] == '~') {
            shortNames = true;
            j++;
        }
        if (j < text.Length() && (text[j] == '<' || text[j] == '>')) {
            selected = text[j] == '<' ? 0 : 1;
            j++;
        }
        char32_t letter = j < text.Length() ? text[j] : 0;
        CPanel* panel = PanelOf(selected);
        CPanel* opposite = PanelOf(1 - selected);
        // Modifiers of "t" and "l" belong to the macro.
        int end = j + 1;
        bool full = false, noExtension = false;
        if (letter == 't') {
            if (end < text.Length() && text[end] == 'f') {
                full = true;
                end++;
            }
            if (end < text.Length() && text[end] == 'x') {
                noExtension = true;
                end++;
            }
        } else if (letter == 'l' && end < text.Length() && text[end] == 'f') {
            full = true;
            end++;
        }

        if (mode == MacroModeProbe && letter != 'i') {
            Flush(true);
            bool known = letter != 0 && Westring("flLpPsStxn@").Find(letter) >= 0;
            if (letter == M) {
                known = true;
            }
            if (letter == 't') {
                code = code < 0 ? code : 1;
            }
            int stop = known ? end : j;
            for (int k = i; k < stop; k++) {
                result.AppendChar(text[k]);
            }
            i = stop;
            continue;
        }

        // The current file of the selected panel.
        Westring current = mode == MacroModeFile && selected == side ? given : CursorName(panel);
        Westring local;
        switch (letter) {
        case 'f':
        case 'F': {
            CPanel* from = letter == 'f' ? panel : opposite;
            Westring name = letter == 'f' ? current : CursorName(opposite);
            if (!name.IsEmpty()) {
                if (!LocalFile(from, name, local)) {
                    return -1;
                }
                pending += Shortened(FullPathIn(from, local), shortNames, true);
            }
            break;
        }
        case 'l':
            if (mode == MacroModeCursor && panel != nullptr && panel->taggedCount > 0) {
                AddTagged(panel, full, true, end);
            } else if (!current.IsEmpty()) {
                pending += Quote(full ? FullPathIn(panel, current) : current);
            }
            Flush(false);
            break;
        case 'L':
            if (mode == MacroModeCursor && opposite != nullptr && opposite->taggedCount > 0) {
                AddTagged(opposite, true, false, end);
            }
            Flush(false);
            break;
        case 'p':
        case 'P': pending += DirectoryOf(letter == 'p' ? panel : opposite); break;
        case 's':
        case 'S': pending += WithBackslash(DirectoryOf(letter == 's' ? panel : opposite)); break;
        case 't': {
            Westring name = given;
            if (mode != MacroModeProbe && !name.IsEmpty()) {
                if (!LocalFile(panel, name, local)) {
                    return -1;
                }
                name = local;
            }
            if (full && !name.IsEmpty()) {
                name = FullPathIn(panel, name);
            }
            if (noExtension) {
                name = WithoutExtension(name);
            }
            pending += Shortened(name, shortNames, full);
            code = 1;
            break;
        }
        case 'x': pending += WithoutExtension(current); break;
        case 'n': break;
        case '@':
            if (!ListFile(panel, shortNames)) {
                return -1;
            }
            break;
        case 'i': {
            Westring title("?");
            int close = -1;
            if (end < text.Length() && text[end] == '"') {
                close = text.FindFrom(Westring("\""), end + 1);
            }
            if (close > end) {
                title = text.Mid(end + 1, close - end - 1);
                end = close + 1;
            }
            Westring answer;
            if (!PromptAnswer(title, answer)) {
                return -1;
            }
            pending += answer;
            break;
        }
        default:
            if (letter == M && letter != 0) {
                pending.AppendChar(M);
                Flush(false);
                break;
            }
            // The bare macro: the current file; the character after it is text.
            if (!LocalFile(panel, current, local)) {
                return -1;
            }
            pending += shortNames ? Shortened(FullPathIn(panel, local), true, false) : local;
            i = j;
            continue;
        }
        i = end;
    }
    Flush(true);
    if (mode != MacroModeProbe) {
        ReplaceEnvironmentReferences();
        NoteExpandedCommand(result, road);
    }
    out = result;
    return code;
}

}  // namespace

int ExpandCommandMacros(char32_t* buffer, const Westring* fileName, int side, int mode, TPromptAnswers* answers) {
    Westring text(buffer);
    int code = CMacroExpander(text, fileName, side, mode, answers).Run(text);
    if (code < 0) {
        return code;
    }
    if (text.Length() >= MacroBufferUnits) {
        return -1;  // would not fit: nothing runs
    }
    for (int i = 0; i < text.Length(); i++) {
        buffer[i] = text[i];
    }
    buffer[text.Length()] = 0;
    return code;
}

int ExpandCommandMacrosInString(Westring& command, const Westring& fileName, int side, int mode,
                                TPromptAnswers* answers) {
    Westring text = command;
    int code = CMacroExpander(text, fileName.IsEmpty() ? nullptr : &fileName, side, mode, answers).Run(text);
    if (code < 0 || text.Length() >= MacroBufferUnits) {
        return -1;
    }
    command = text;
    return code;
}
