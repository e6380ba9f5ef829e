#include "app/settings/HistoryFile.h"

#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/settings/Config.h"
#include "app/settings/DataFiles.h"
#include "app/settings/Histories.h"
#include "app/settings/ReplacingFile.h"
#include "base/io/StdFile.h"
#include "base/strings/CaseTable.h"
#include "base/strings/Utf16String.h"

namespace {

// Texts may hold the separator or line ends; they go into the file as the
// escape character and a letter. Files written before never hold the escape
// character, so they read as they always did.
const char32_t HistoryEscape = 0x1A;

struct TEscape {
    char32_t unit;
    char32_t letter;
};
const TEscape HistoryEscapes[] = {
    {HistoryEscape, 'e'},
    {HistorySeparator, 's'},
    {'\r', 'r'},
    {'\n', 'n'},
};

Westring PerUserPath() {
    return DataFilePath(DataFileHistory, DataFileUserFolder);
}

int AtLeastOne(int limit) {
    return limit < 1 ? 1 : limit;
}

// Reads every line of a history file; false when it cannot be opened.
bool ReadLines(const Westring& path, WestringStore& lines) {
    StdFile file;
    if (file.Open(path, StdFile::ModeRead, StdFile::ShareRead) != 0) {
        return false;
    }
    char buffer[4096];
    while (file.ReadLine(buffer, sizeof(buffer)) == 0) {
        Westring* line = new Westring;
        line->AssignUtf8(buffer);
        lines.Add(line);
    }
    return true;
}

// Rewrites the per-user file with the stores, each input history cut to its
// newest entries; the stores keep all of theirs.
void RewriteFromStores() {
    Westring path = PerUserPath();
    CReplacingFile file(path, path + Westring("!!!"));
    if (file.Open() != 0) {
        return;
    }
    for (int i = 0; i < CommandHistory.Count(); i++) {
        file.WriteLine(Estring(EscapeHistoryText(*CommandHistory.At(i))));
    }
    int keep = AtLeastOne(Config.MaxFieldHist);
    for (int kind = 0; kind < FieldKindCount; kind++) {
        WestringStore& history = InputHistories[kind];
        int first = history.Count() > keep ? history.Count() - keep : 0;
        for (int i = first; i < history.Count(); i++) {
            file.WriteLine(Estring(HistoryKindLine(kind, EscapeHistoryText(*history.At(i)))));
        }
        for (int i = 0; i < FieldPresets[kind].Count(); i++) {
            file.WriteLine(Estring(HistoryPresetLine(*FieldPresets[kind].At(i), kind)));
        }
    }
    file.Commit();
}

}  // namespace

int CCommandCollection::CompareKeys(const Westring* a, const Westring* b) {
    const char32_t* p = a->Data();
    const char32_t* q = b->Data();
    while (*p && *p == *q) {
        p++;
        q++;
    }
    return *p < *q ? -1 : (*p > *q ? 1 : 0);
}

bool CCommandCollection::InsertOnce(const Westring& command) {
    int index;
    if (Search(&command, index) == 0) {
        return false;
    }
    Insert(new Westring(command));
    return true;
}

Westring HistoryKindLine(int kind, const Westring& rest) {
    Estring prefix;
    prefix.Format("%d", kind);
    Westring line(prefix.Data());
    line.AppendChar(HistorySeparator);
    return line + rest;
}

Westring HistoryPresetLine(const TFieldPresetValue& preset, int kind) {
    Westring rest = EscapeHistoryText(preset.label);
    rest.AppendChar(HistorySeparator);
    return HistoryKindLine(kind, rest + EscapeHistoryText(preset.value));
}

Westring EscapeHistoryText(const Westring& text) {
    Westring out;
    for (int i = 0; i < text.Length(); i++) {
        char32_t unit = text[i];
        bool escaped = false;
        for (const TEscape& row : HistoryEscapes) {
            if (row.unit == unit) {
                out.AppendChar(HistoryEscape);
                out.AppendChar(row.letter);
                escaped = true;
                break;
            }
        }
        if (!escaped) {
            out.AppendChar(unit);
        }
    }
    return out;
}

Westring UnescapeHistoryText(const Westring& field) {
    Westring out;
    for (int i = 0; i < field.Length(); i++) {
        char32_t unit = field[i];
        if (unit == HistoryEscape && i + 1 < field.Length()) {
            for (const TEscape& row : HistoryEscapes) {
                if (row.letter == field[i + 1]) {
                    unit = row.unit;
                    i++;
                    break;
                }
            }
        }
        out.AppendChar(unit);
    }
    return out;
}

void AppendHistoryLine(const Westring& line) {
    StdFile file;
    if (file.Open(PerUserPath(), StdFile::ModeWrite | StdFile::ModeCreate | StdFile::ModeKeep, StdFile::ShareRead) ==
        0) {
        file.WriteLine(Estring(line).Data());
        file.Close();
    }
}

void RewriteHistoryWithout(const Westring& line) {
    WestringStore lines;
    Westring path = PerUserPath();
    if (!ReadLines(path, lines)) {
        return;
    }
    CReplacingFile file(path, path + Westring("!!!"));
    if (file.Open() != 0) {
        return;
    }
    for (int i = 0; i < lines.Count(); i++) {
        if (!(*lines.At(i) == line)) {
            file.WriteLine(Estring(*lines.At(i)));
        }
    }
    file.Commit();
}

namespace {

// A text as a key of a hash set: unit for unit, or folded to upper case the
// way EqualsNoCase compares.
std::u32string HistoryKey(const Westring& text, bool ignoreCase) {
    std::u32string key(text.Data(), static_cast<size_t>(text.Length()));
    if (ignoreCase) {
        const CCaseTable& table = CCaseTable::Instance();
        for (char32_t& c : key) {
            c = table.ToUpper(c);
        }
    }
    return key;
}

// Appends texts read from the file, in file order, to a history: each text
// once, where it came last (an equal entry already in the history gives way
// too), as adding them one by one would leave them, in time linear in the
// number of lines.
void AppendLastOccurrences(WestringStore& history, std::vector<Westring>& texts, bool ignoreCase) {
    std::unordered_set<std::u32string> seen;
    std::vector<Westring*> kept;
    for (size_t i = texts.size(); i-- > 0;) {
        if (seen.insert(HistoryKey(texts[i], ignoreCase)).second) {
            kept.push_back(new Westring(texts[i]));
        }
    }
    if (history.Count() > 0) {
        std::vector<Westring*> older;
        for (int i = 0; i < history.Count(); i++) {
            Westring* entry = history.At(i);
            if (seen.count(HistoryKey(*entry, ignoreCase)) != 0) {
                delete entry;
            } else {
                older.push_back(entry);
            }
        }
        history.RemoveAll();
        for (Westring* entry : older) {
            history.Add(entry);
        }
    }
    for (size_t i = kept.size(); i-- > 0;) {
        history.Add(kept[i]);
    }
}

// Deletes the oldest entries beyond the limit, in one move.
void KeepNewest(WestringStore& history, int limit) {
    int excess = history.Count() - limit;
    if (excess <= 0) {
        return;
    }
    for (int i = 0; i < excess; i++) {
        delete history.At(i);
    }
    history.RemoveRange(0, excess);
}

}  // namespace

void LoadHistoryFile() {
    Westring path = PerUserPath();
    bool rewrite = false;
    if (!DataFileExists(path)) {
        path = DataFilePath(DataFileHistory, DataFileProgramFolder);
        rewrite = true;
    }
    WestringStore lines;
    if (!ReadLines(path, lines)) {
        return;
    }
    std::vector<Westring> commandTexts;
    std::vector<Westring> inputTexts[FieldKindCount];
    for (int i = 0; i < lines.Count(); i++) {
        const Westring& line = *lines.At(i);
        int first = line.Find(HistorySeparator);
        if (first != 1 && first != 2) {
            Westring command = UnescapeHistoryText(line);
            // As the command line takes a command: without leading blanks,
            // and an empty one not at all.
            int blanks = 0;
            while (blanks < command.Length() && (command[blanks] == ' ' || command[blanks] == '\t')) {
                blanks++;
            }
            if (blanks < command.Length()) {
                commandTexts.push_back(blanks == 0 ? command : command.Mid(blanks, 0));
            }
            continue;
        }
        int kind = std::atoi(Estring(line.Left(first)).Data());
        if (kind < 0 || kind >= FieldKindCount) {
            continue;
        }
        Westring rest = line.Mid(first + 1, 0);
        if (first + 1 >= line.Length()) {
            rest.Clear();
        }
        int second = rest.Find(HistorySeparator);
        if (second < 0) {
            if (IsHistoryFieldKind(kind)) {
                inputTexts[kind].push_back(UnescapeHistoryText(rest));
            }
        } else {
            Westring value = second + 1 < rest.Length() ? rest.Mid(second + 1, 0) : Westring();
            AddFieldPreset(UnescapeHistoryText(rest.Left(second)), UnescapeHistoryText(value), kind, true);
        }
    }
    const int commands = static_cast<int>(commandTexts.size());
    AppendLastOccurrences(CommandHistory, commandTexts, false);
    for (int kind = 0; kind < FieldKindCount; kind++) {
        AppendLastOccurrences(InputHistories[kind], inputTexts[kind], true);
    }
    int maxFieldHist = AtLeastOne(Config.MaxFieldHist);
    for (int kind = 0; kind < FieldKindCount; kind++) {
        if (InputHistories[kind].Count() > maxFieldHist) {
            rewrite = true;
        }
    }
    int maxHist = AtLeastOne(Config.MaxHist);
    if (commands <= maxHist && !rewrite) {
        return;
    }
    KeepNewest(CommandHistory, maxHist);
    RewriteFromStores();
}
