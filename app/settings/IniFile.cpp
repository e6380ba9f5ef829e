#include "app/settings/IniFile.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/DataFiles.h"
#include "app/settings/IniKeys.h"
#include "app/settings/ReplacingFile.h"
#include "app/settings/StoredPaths.h"
#include "app/settings/ArchiverSettings.h"
#include "base/mask/MaskExpression.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/os/SystemError.h"
#include "base/strings/MatchWildcardNarrow.h"
#include "base/strings/Utf16String.h"
#include "console/ScreenSize.h"
#include "app/settings/Association.h"
#include "base/os/Environment.h"

const char* const IniSectionTable[IniSectionCount] = {
    "[Archiver:ZIP]",        "[Archiver:RAR]",    "[Archiver:LHARC]",    "[Archiver:ARJ]",
    "[Archiver:ACE]",        "[Archiver:HA]",     "[Archiver:GZIP]",     "[Archiver:TAR]",
    "[Archiver:7ZIP]",       "[Archiver:BZIP2]",  "[Archiver:XZ]",       "[Archiver:TAR/GZIP]",
    "[Archiver:TAR/BZIP2]",  "[Archiver:TAR/XZ]", "[Associations]",      "[Viewer Associations]",
    "[Editor Associations]", "[Colours]",         "[Directory Colours]", "[Environment]",
    "[General Options]",
};

namespace {

// The association set that each ":" section fills.
AssociationSet* AssociationSetOf(int section) {
    switch (section) {
    case IniSectionViewerAssociations: return &ViewerAssociations;
    case IniSectionEditorAssociations: return &EditorAssociations;
    case IniSectionColours: return &FileColourRules;
    case IniSectionDirectoryColours: return &DirectoryColourRules;
    default: return &FileAssociations;
    }
}

// The archiver commands by key name, in the order the writer writes them.
struct TArchiverKey {
    const char* name;
    Estring TArchiverSettings::*command;
    bool skipWhenEmpty;
};
const TArchiverKey ArchiverKeys[] = {
    {"Compress", &TArchiverSettings::Compress, false},
    {"CompressUpdate", &TArchiverSettings::CompressUpdate, true},
    {"CompressListfileSwitch", &TArchiverSettings::CompressListfileSwitch, false},
    {"Extract", &TArchiverSettings::Extract, false},
    {"ExtractListfileSwitch", &TArchiverSettings::ExtractListfileSwitch, false},
    {"Delete", &TArchiverSettings::Delete, false},
    {"CompressDirSpec", &TArchiverSettings::CompressDirSpec, false},
    {"ExtractDirSpec", &TArchiverSettings::ExtractDirSpec, false},
};

char* Trim(char* text) {
    while (*text && std::isspace(static_cast<unsigned char>(*text))) {
        text++;
    }
    size_t n = std::strlen(text);
    while (n > 0 && std::isspace(static_cast<unsigned char>(text[n - 1]))) {
        text[--n] = 0;
    }
    return text;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    size_t n = std::strlen(prefix);
    return std::strlen(text) >= n && Estring(text).Left(static_cast<int>(n)) == prefix;
}

}  // namespace

CIniReader::CIniReader(const Westring& fileName, bool skipGeneral, IIniMessages& messages)
    : section(IniSectionGeneral), lineNumber(0), fileName(fileName), skipGeneral(skipGeneral), messages(messages) {}

void CIniReader::ReadIniFile(char* raw) {
    lineNumber++;
    char* line = Trim(raw);
    if (line[0] == '[') {
        for (int i = 0; i < IniSectionCount; i++) {
            if (std::strcmp(line, IniSectionTable[i]) == 0) {
                section = i;
                return;
            }
        }
    }
    char* equals = std::strchr(line, '=');
    char* colon = std::strchr(line, ':');
    if (section < IniSectionAssociations || section == IniSectionEnvironment) {
        if (equals) {
            ReadAssignment(line, equals);
        }
    } else if (section != IniSectionGeneral) {
        if (colon) {
            ReadAssociation(line, colon);
        }
    } else if (equals && (!colon || equals < colon)) {
        ReadAssignment(line, equals);
    } else if (colon) {
        ReadAssociation(line, colon);
    }
}

void CIniReader::ReadAssignment(char* line, char* separator) {
    *separator = 0;
    char* key = Trim(line);
    char* value = Trim(separator + 1);
    if (section < IniSectionAssociations) {
        for (const TArchiverKey& row : ArchiverKeys) {
            if (Estring(key) == row.name) {
                ArchiverSettings[section].*row.command = value;
                return;
            }
        }
        return;
    }
    if (section == IniSectionEnvironment) {
        Westring expanded(value);
        ExpandPercentVariables(expanded);
        Estring utf8;
        expanded.ToUtf8(utf8);
        IniEnvironment().Set(Estring(key), utf8);
        return;
    }
    if (skipGeneral) {
        return;
    }
    if (const TIniKey* row = FindIniKey(key)) {
        ReadIniValue(*row, value, Config);
        return;
    }
    if (MatchWildcardNarrow("d[0-9]", key)) {
        StoredPaths[key[1] - '0'].AssignUtf8(value);
        return;
    }
    Estring text;
    text.Format("Bad directive (%s) in %s, line %d", key, Estring(ExtractFileName(fileName)).Data(), lineNumber);
    messages.Show(Westring(text.Data()), Westring());
}

void CIniReader::ReadAssociation(char* line, char* separator) {
    if (StartsWithNoCase(line, "[Archiver")) {
        return;
    }
    bool continueFlag = false;
    *separator = 0;
    char* value = separator + 1;
    if (*value == ':' && section != IniSectionColours && section != IniSectionDirectoryColours) {
        continueFlag = true;
        value++;
    }
    Westring mask(Trim(line));
    MaskExpression check;
    if (!check.CheckSyntax(mask)) {
        messages.Show(Westring("Error in association"), mask + Westring(":") + check.ErrorMessage());
        return;
    }
    AssociationSetOf(section)->Add(mask, Westring(Trim(value)), continueFlag);
}

namespace {

Westring WithLastThree(const Westring& path, const char* replacement) {
    return path.DropRight(3) + Westring(replacement);
}

void WriteAssociationSection(AssociationSet& set, int section, CReplacingFile& file) {
    file.WriteLine(IniSectionTable[section]);
    for (Association* item = set.First(); item; item = set.Next()) {
        file.WriteLine(item->FormatIniLine());
    }
    file.WriteLine("");
}

void ReadWholeFile(bool skipGeneral, IIniMessages& messages) {
    StdFile file;
    DWORD error = OpenIniFile(file, IniOpenRead);
    if (error != 0) {
        // A missing file leaves the defaults; other failures are worth a word.
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != 110) {
            messages.Show(FormatSystemError(error), DataFilePath(DataFileIni, DataFileUserFolder));
        }
        return;
    }
    CIniReader reader(file.Path(), skipGeneral, messages);
    char line[4096];
    while (file.ReadLine(line, sizeof(line)) == 0) {
        reader.ReadIniFile(line);
    }
}

}  // namespace

void (*BeforeIniWrite)() = nullptr;

Westring GetIniFilePath(int flags) {
    if (!Config.IniFilePath.IsEmpty() && ((flags & IniPathForWriting) || DataFileExists(Config.IniFilePath))) {
        return Config.IniFilePath;
    }
    Westring beside = DataFilePath(DataFileIni, DataFileProgramFolder);
    if (DataFileExists(beside)) {
        return beside;
    }
    return DataFilePath(DataFileIni, DataFileUserFolder);
}

DWORD OpenIniFile(StdFile& file, int flags) {
    if (flags == IniOpenRead) {
        return file.Open(GetIniFilePath(0), StdFile::ModeRead, StdFile::ShareRead);
    }
    return file.Open(WithLastThree(GetIniFilePath(IniPathForWriting), "!!!"), StdFile::ModeWrite | StdFile::ModeCreate,
                     StdFile::ShareRead);
}

void LoadConfiguration(bool reloadOnly, IIniMessages& messages) {
    if (reloadOnly) {
        for (AssociationSet* set :
             {&FileAssociations, &ViewerAssociations, &EditorAssociations, &FileColourRules, &DirectoryColourRules}) {
            set->FreeAll();
        }
        IniEnvironment().Clear();
        ReadWholeFile(true, messages);
        return;
    }
    int rows = ScreenRows;
    int columns = ScreenColumns;
    int fontSize = Config.FontSize;
    Estring fontName = Config.FontName;
    SetIniDefaults(Config);
    ResetColours();
    Config.TreeDir.Clear();
    Config.PathAppend.Clear();
    Config.Confirmations = 0;
    Config.FontSize = 12;
    Config.FontName = "DejaVu Sans Mono";
    SetDefaultArchiverCommands();
    ReadWholeFile(false, messages);
    // A lower-case drive letter becomes upper case.
    for (Westring* start : {&Config.Left, &Config.Right}) {
        if (!start->IsEmpty()) {
            start->SetAt(0, (*start)[0] & ~0x20u);
        }
    }
    if (Config.MouSpeed < 1 || Config.MouSpeed > 1000) {
        Config.MouSpeed = 8;
    }
    int newRows = Config.Lines != 0 ? Config.Lines : rows;
    int newColumns = Config.Columns != 0 ? Config.Columns : columns;
    if (newRows > 250) {
        newRows = 25;
    }
    if (newRows != rows || newColumns != columns || Config.FontSize != fontSize || Config.FontName != fontName) {
        SetScreenSize(newRows, newColumns);
    }
    if (Config.TabWidth < 1 || Config.TabWidth > 8) {
        Config.TabWidth = 8;
    }
    Config.ConsoleScrollback = 1;
    TextCodePageSetting = Config.TextCodePage;
}

DWORD WriteIniFile(IIniMessages& messages) {
    LoadConfiguration(true, messages);
    if (Config.Lines != 0 && Config.Lines != ScreenRows) {
        Config.Lines = ScreenRows;
    }
    Westring temp = WithLastThree(GetIniFilePath(IniPathForWriting), "!!!");
    CReplacingFile file(WithLastThree(temp, "ini"), temp);
    DWORD error = file.Open();
    if (error == 0) {
        if (BeforeIniWrite) {
            BeforeIniWrite();
        }
        for (int section = IniSectionAssociations; section <= IniSectionDirectoryColours; section++) {
            WriteAssociationSection(*AssociationSetOf(section), section, file);
        }
        file.WriteLine(IniSectionTable[IniSectionEnvironment]);
        Environment& environment = IniEnvironment();
        for (int i = 0; i < environment.Count(); i++) {
            const KeyedValue* variable = environment.At(i);
            file.WriteLine(variable->name + "=" + variable->value);
        }
        file.WriteLine("");
        for (int index = 0; index < ArchiverCount; index++) {
            file.WriteLine("[Archiver:" + GetArchiverName(index) + "]");
            for (const TArchiverKey& row : ArchiverKeys) {
                const Estring& command = ArchiverSettings[index].*row.command;
                if (!row.skipWhenEmpty || !command.IsEmpty()) {
                    file.WriteLine(Estring(row.name) + "=" + command);
                }
            }
            file.WriteLine("");
        }
        file.WriteLine(IniSectionTable[IniSectionGeneral]);
        for (int i = 0; i < IniKeyCount; i++) {
            if (IniKeyTable[i].field) {
                file.WriteLine(Estring(IniKeyTable[i].name) + "=" + FormatIniValue(IniKeyTable[i], Config));
            }
        }
        file.WriteLine("");
        for (int slot = 0; slot < StoredPathCount; slot++) {
            if (!StoredPaths[slot].IsEmpty()) {
                Estring line;
                line.Format("d%d=", slot);
                file.WriteLine(line + Estring(StoredPaths[slot]));
            }
        }
        error = file.Commit();
    }
    if (error != 0) {
        messages.Show(FormatSystemError(error), file.FinalPath());
    }
    return error;
}
