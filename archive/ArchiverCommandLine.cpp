#include "archive/ArchiverCommandLine.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "app/panels/PanelTags.h"
#include "app/settings/DataFiles.h"
#include "archive/ArchiveMembers.h"
#include "base/io/StdFile.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/QuoteFileName.h"
#include "base/strings/Utf16String.h"
#include "platform/SystemTraits.h"
#include "platform/win32.h"
#include "shell/CommandExecution.h"
#include "shell/ProgramSearch.h"
#include "shell/TempFiles.h"
#include "ui/MessageBox.h"

TArchiverRunner ArchiverRunner = ExecuteCommandLine;

namespace {

// The form in which the started program must be given a path.
Westring ProgramArgumentPath(const Westring& path) {
    Utf16String wide(path);
    DWORD n = GetProgramArgumentPathW(wide.Data(), nullptr, 0);
    if (n == 0)
        return path;
    std::vector<WCHAR> buffer(n + 1);
    DWORD got = GetProgramArgumentPathW(wide.Data(), buffer.data(), n + 1);
    if (got == 0 || got > n)
        return path;
    return Westring(buffer.data());
}

// The definition's text in words: blanks outside double quotes separate
// them, and the quotes go.
std::vector<Westring> SplitDefinitionWords(const Westring& text) {
    std::vector<Westring> words;
    Westring word;
    bool quoted = false;
    bool any = false;
    for (int i = 0; i < text.Length(); i++) {
        char32_t c = text[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (any)
                words.push_back(StripQuotes(word));
            word.Clear();
            any = false;
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        word.AppendChar(c);
        any = true;
    }
    if (any)
        words.push_back(StripQuotes(word));
    return words;
}

// One word of the finished line in its two forms: as the program reads it
// (`argument`), and as this system names the file (`local`, what a
// redirection opens). `mayRedirect`: the word begins with the definition's
// own text, so a leading "<" or ">" is an operator.
struct TLineWord {
    Westring argument;
    Westring local;
    bool mayRedirect;
    bool definitionOnly;  // nothing put in: the definition's own word
    int own;              // units of `local` before the first thing put in
};

// A word of the definition itself is quoted only where the line's splitting
// needs it; a word that holds a name or a path always goes through the
// argument rules.
Westring QuoteLineWord(const TLineWord& word) {
    if (word.definitionOnly && !word.argument.IsEmpty()) {
        bool plain = true;
        for (int i = 0; i < word.argument.Length() && plain; i++) {
            char32_t c = word.argument[i];
            plain = c > ' ' && c != '"' && c != '<' && c != '>' && c != '|';
        }
        if (plain)
            return word.argument;
    }
    return QuoteArgument(word.argument);
}

void AppendName(std::vector<TLineWord>& line, const TArchiverWord& name, bool startWord) {
    Westring argument = name.fromDefinition ? name.text : ProgramArgumentPath(name.text);
    if (startWord || line.empty()) {
        line.push_back({argument, name.text, name.fromDefinition, name.fromDefinition,
                        name.fromDefinition ? name.text.Length() : 0});
    } else {
        // A word that begins with what was put in is no operator, whatever
        // its first character.
        TLineWord& word = line.back();
        if (word.local.IsEmpty())
            word.mayRedirect = name.fromDefinition;
        if (name.fromDefinition && word.own == word.local.Length())
            word.own += name.text.Length();
        word.argument += argument;
        word.local += name.text;
        word.definitionOnly = word.definitionOnly && name.fromDefinition;
    }
}

// The names into the line: the first joins the word being built when
// `joinFirst`, the others start words of their own unless joined to the word
// before (a list switch and its list file).
void AppendNames(std::vector<TLineWord>& line, const TArchiverWords& names, bool joinFirst) {
    for (size_t i = 0; i < names.size(); i++)
        AppendName(line, names[i], i == 0 ? !joinFirst : !names[i].joined);
}

// The same file: both made full paths, then compared exactly (names that
// differ only in case are other files here).
bool NormalizedEquals(const Westring& a, const Westring& b) {
    Westring x = a;
    Westring y = b;
    if (NormalizePath(x) != 0 || NormalizePath(y) != 0)
        return a.EqualsExact(b);
    return x.EqualsExact(y);
}

bool IsRedirection(const TLineWord& word) {
    return word.mayRedirect && word.local.Length() > 0 && (word.local[0] == '<' || word.local[0] == '>');
}

}  // namespace

Westring BuildArchiverCommandLine(const Westring& command, const Westring& archivePath, const TArchiverWords& names,
                                  Westring* temporaryTarget) {
    if (temporaryTarget)
        temporaryTarget->Clear();
    const Westring archiveArgument = ProgramArgumentPath(archivePath);
    std::vector<TLineWord> line;
    bool usedArchive = false;
    bool usedNames = false;
    const std::vector<Westring> definition = SplitDefinitionWords(command);
    // An empty definition runs nothing (never the archive itself).
    if (definition.empty())
        return Westring();
    for (const Westring& word : definition) {
        line.push_back({Westring(), Westring(), true, true, 0});
        for (int i = 0; i < word.Length(); i++) {
            char32_t c = word[i];
            char32_t next = i + 1 < word.Length() ? word[i + 1] : 0;
            if (c == '%' && next == 'a') {
                if (line.back().local.IsEmpty())
                    line.back().mayRedirect = false;
                line.back().argument += archiveArgument;
                line.back().local += archivePath;
                line.back().definitionOnly = false;
                usedArchive = true;
                i++;
            } else if (c == '%' && next == 'f' && !usedNames) {
                usedNames = true;
                i++;
                AppendNames(line, names, true);
                // What follows the placeholder stays with the last name.
            } else {
                TLineWord& last = line.back();
                if (last.own == last.local.Length())
                    last.own++;
                last.argument.AppendChar(c);
                last.local.AppendChar(c);
            }
        }
        if (line.back().local.IsEmpty())
            line.pop_back();  // a word that was only an empty placeholder
    }
    if (!usedArchive)
        line.push_back({archiveArgument, archivePath, false, false, 0});
    if (!usedNames)
        AppendNames(line, names, false);
    if (line.empty())
        return Westring();

    Westring text = QuoteLineWord(line[0]);
    for (size_t i = 1; i < line.size(); i++) {
        const TLineWord& word = line[i];
        if (!IsRedirection(word)) {
            text += Westring(" ") + QuoteLineWord(word);
            continue;
        }
        int n = 1;
        if (word.own > 1 && word.local[1] == word.local[0])
            n = 2;  // ">>" appends (the definition's own two characters)
        Westring operatorText = word.local.Left(n);
        Westring target = word.local.Mid(n, 0);
        if (target.IsEmpty() && i + 1 < line.size())
            target = line[++i].local;
        if (operatorText[0] == '>' && temporaryTarget && NormalizedEquals(target, archivePath)) {
            // Writing the archive while the archiver may still read it would
            // destroy it: the output goes beside it and replaces it afterwards.
            Westring folder = ExtractDirectory(archivePath);
            if (MakeTempFileName(*temporaryTarget, &folder) == 0)
                target = *temporaryTarget;
        }
        text += Westring(" ") + operatorText + Westring(" ") + QuoteArgument(target);
    }
    return text;
}

bool ResolveArchiverProgram(Westring& command, int& unzipFlag) {
    unzipFlag = 0;
    int blank = command.Find(' ');
    Westring program = blank < 0 ? command : command.Left(blank);
    Westring rest = blank < 0 ? Westring() : command.Mid(blank, 0);
    Westring ownFolder = ExtractDirectory(GetProgramPath());
    Westring found;
    if (program.IsEmpty() || !FindProgramOnPath(StripQuotes(program), found, &ownFolder))
        return false;
    command = QuoteArgument(found) + rest;
    Westring name = ExtractFileName(found);
    if (name.Length() > 4 && name.Right(4).EqualsNoCase(Westring(".exe")))
        name = name.DropRight(4);
    unzipFlag = name.EqualsNoCase(Westring("unzip")) ? 1 : 0;
    return true;
}

bool BuildArchiverName(const entry* item, const Westring& baseDirectory, const Estring& dirSpec, bool realFile,
                       std::vector<Westring>& words, const TArchiverNameRules& rules, bool inList) {
    Westring path = baseDirectory + Westring(item->name);
    if (!ArchiverCanTakeName(rules, path, realFile, inList))
        return false;
    if (realFile && baseDirectory.IsEmpty() && path.Length() > 0 && path[0] == '-')
        path = Westring(".\\") + path;  // a name, never an option
    path = ArchiverLiteralName(rules, path, !realFile);
    if ((item->attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        words.push_back(path);
        return true;
    }
    // The dir spec's words, each "!" standing for the directory.
    Westring word;
    bool any = false;
    for (int i = 0; i < dirSpec.Length(); i++) {
        char c = dirSpec[i];
        if (c == ' ') {
            if (any)
                words.push_back(word);
            word.Clear();
            any = false;
        } else if (c == '!') {
            word += path;
            any = true;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return true;
}

void AddArchiverNameWords(TArchiverWords& names, const std::vector<Westring>& words, const Westring& command) {
    if (names.empty() && !words.empty()) {
        const TArchiverNameRules& rules = FindArchiverNameRules(command);
        for (const Westring& word : ArchiverLiteralSwitchWords(rules, false))
            names.push_back({word, true});
        if (rules.endOfOptions)
            names.push_back({Westring("--"), true});
    }
    for (const Westring& word : words)
        names.push_back({word, false});
}

int ArchiverSide(const CArchive* archive) {
    if (Panels != nullptr && archive != nullptr && Panels[1].archive == archive)
        return 1;
    return 0;
}

int ExpandArchiverCommand(const Westring& command, const Westring& archivePath, const TArchiverWords& names, int side) {
    Westring temporary;
    Westring line = BuildArchiverCommandLine(command, archivePath, names, &temporary);
    if (line.IsEmpty())
        return -1;
    int result = ArchiverRunner(line, side, CommandKeepDirectory | CommandReportNotFound | CommandNoInterpreter);
    if (!temporary.IsEmpty()) {
        Utf16String from(temporary);
        Utf16String to(archivePath);
        if (result != 0 || !MoveFileExW(from.Data(), to.Data(), MOVEFILE_REPLACE_EXISTING)) {
            if (result == 0)
                result = int(GetLastError());
            DeleteFileOrLink(temporary);
        }
    }
    return result;
}

namespace {

// The list file's line for a name: as the program reads a relative name, with
// slashes for the archivers that want them; without a line end where the
// program reads lists of NUL-ended names (which may hold any other character).
Estring ListFileLine(const Westring& name, bool slashes, bool nul) {
    Westring line = ProgramArgumentPath(name);
    if (slashes)
        line.ReplaceAll(Westring("\\"), Westring("/"));
    if (!nul)
        line += Westring(slashes || ProgramsReadSlashNames ? "\n" : "\r\n");
    return ToEstring(line);
}

}  // namespace

TArchiverWords ArchiverListSwitchWords(const Estring& listSwitch, const Westring& listFile,
                                       const TArchiverNameRules& rules) {
    TArchiverWords words;
    for (const Westring& word : ArchiverLiteralSwitchWords(rules, true))
        words.push_back({word, true});
    const size_t own = words.size();
    Westring text(listSwitch.Data());
    for (const Westring& word : SplitDefinitionWords(text))
        words.push_back({word, true});
    bool endsInBlank = text.Length() > 0 && (text[text.Length() - 1] == ' ' || text[text.Length() - 1] == '\t');
    words.push_back({listFile, false, !endsInBlank && words.size() > own});
    return words;
}

int RunArchiverCommand(const Estring& commandText, const Westring& archivePath, const Westring& baseDirectoryIn,
                       CPanel* panel, const TArchiverSettings& settings, int mode) {
    const Estring& listSwitch = mode == 1 ? settings.ExtractListfileSwitch : settings.CompressListfileSwitch;
    const Estring& dirSpec = mode == 1 ? settings.ExtractDirSpec : settings.CompressDirSpec;
    Westring command(commandText.Data());
    int unzipFlag = 0;
    ResolveArchiverProgram(command, unzipFlag);
    const TArchiverNameRules& rules = FindArchiverNameRules(command);
    Westring baseDirectory = baseDirectoryIn;
    if (settings.slashFlag)
        baseDirectory.ReplaceAll(Westring("\\"), Westring("/"));
    const bool realFiles = panel->archive == nullptr;
    const bool tagged = panel->taggedCount > 0;
    const bool inList = tagged && !listSwitch.IsEmpty();

    // The entries given to the archiver with the words naming each, every
    // member named as it was stored (under a leading dot and separator when
    // its own entry says so). One name the program cannot take safely stops
    // the whole run before anything is done.
    std::vector<std::pair<entry*, std::vector<Westring>>> given;
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (tagged ? !item->tagged : item != panel->CursorEntry())
            continue;
        Westring base = baseDirectory;
        if (!realFiles && ArchiveMemberDotted(panel->archive, panel->archive->currentDirectory, Westring(item->name),
                                              (item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
            base = Westring(settings.slashFlag ? "./" : ".\\") + base;
        std::vector<Westring> words;
        if (!BuildArchiverName(item, base, dirSpec, realFiles, words, rules, inList)) {
            ArchiveErrorReporter(Westring(ArchiverRefusedNameMessage), base + Westring(item->name), MessageBoxOk);
            return -1;
        }
        given.emplace_back(item, std::move(words));
    }
    if (given.empty())
        return -1;
    const int side = PanelSide(panel);
    const int ok = unzipFlag;
    auto handedOver = [&](entry* item) {
        if (tagged)
            PanelSetEntryTag(panel, item, -1);
        item->processed = tagged ? 1 : item->processed;
    };

    if (!tagged) {
        TArchiverWords names;
        AddArchiverNameWords(names, given[0].second, command);
        int code = ExpandArchiverCommand(command, archivePath, names, side);
        return code <= ok && code >= 0 ? 0 : code;
    }

    if (inList) {
        Westring listFile;
        if (MakeTempFileName(listFile) != 0)
            return -1;
        {
            StdFile file(listFile, StdFile::ModeWrite, StdFile::ShareRead);
            if (file.LastError() != 0) {
                DeleteFileOrLink(listFile);
                return -1;
            }
            for (auto& one : given) {
                for (const Westring& word : one.second) {
                    Estring line = ListFileLine(word, settings.slashFlag != 0, rules.nulList);
                    file.Write(line.Data(), uint32_t(line.Length()));
                    if (rules.nulList)
                        file.Write("", 1);
                }
                handedOver(one.first);
            }
            file.Close();
        }
        int code =
            ExpandArchiverCommand(command, archivePath, ArchiverListSwitchWords(listSwitch, listFile, rules), side);
        DeleteFileOrLink(listFile);
        return code <= ok && code >= 0 ? 0 : code;
    }

    // Names on the command line, in batches that keep each line short.
    const int commandLength = command.Length() + 1 + QuoteArgument(ProgramArgumentPath(archivePath)).Length();
    TArchiverWords names;
    int collected = 0;
    int code = 0;
    bool failed = false;
    auto runBatch = [&]() {
        if (names.empty() || failed)
            return;
        code = ExpandArchiverCommand(command, archivePath, names, side);
        failed = code > ok || code < 0;
        names.clear();
        collected = 0;
    };
    for (auto& one : given) {
        int length = 0;
        for (const Westring& word : one.second)
            length += 1 + QuoteArgument(ProgramArgumentPath(word)).Length();
        if (commandLength + collected + length > ArchiverBatchLength && !names.empty())
            runBatch();
        if (failed)
            break;
        AddArchiverNameWords(names, one.second, command);
        collected += length;
        handedOver(one.first);
    }
    runBatch();
    return failed ? code : 0;
}
