#include "app/settings/IniKeys.h"

#include "base/strings/Westring.h"
#include "platform/win32.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#define FIELD(name) [](TCONFIG& c) -> void* { return &c.name; }

const TIniKey IniKeyTable[] = {
    {"AutoIndent", IniSwitch, FIELD(AutoIndent), "off"},
    {"AutoSave", IniSwitch, FIELD(AutoSave), "off"},
    {"Background", IniUtf8, FIELD(Background), "start"},
    {"BriefWordRight", IniSwitch, FIELD(BriefWordRight), "on"},
    {"CaseFilter", IniUtf8, FIELD(CaseFilter), "CDFS NETWARE"},
    {"CaseMod", IniText, FIELD(CaseMod), "ll"},
    {"CaseModRecurse", IniSwitch, FIELD(CaseModRecurse), "off"},
    {"CaseModDirs", IniSwitch, FIELD(CaseModDirs), "on"},
    {"CaseModFiles", IniSwitch, FIELD(CaseModFiles), "on"},
    {"Clock", IniSwitch, FIELD(Clock), "off"},
    {"CmdChar", IniChar, FIELD(CmdChar), "!"},
    {"CMPContents", IniSwitch, FIELD(CMPContents), "off"},
    {"CMPMask", IniUtf8, FIELD(CMPMask), "*"},
    {"CMPSize", IniNumber, FIELD(CMPSize), "0"},
    {"CMPTime", IniNumber, FIELD(CMPTime), "1"},
    {"CMPUnmatched", IniSwitch, FIELD(CMPUnmatched), "on"},
    {"CodePage", IniNumber, FIELD(CodePage), "0"},
    {"Confirmations", IniNumber, FIELD(Confirmations), "0"},
    {"ConnectRemote", IniUtf8, FIELD(ConnectRemote), "ssh %h re-vavare"},
    {"ConsoleScrollback", IniSwitch, FIELD(ConsoleScrollback), "off"},
    {"CtrlRDriveChng", IniSwitch, FIELD(CtrlRDriveChng), "off"},
    {"DisableInvert", IniSwitch, FIELD(DisableInvert), "off"},
    {"Editor", IniUtf8, FIELD(Editor), ""},
    {"Editor2", IniUtf8, FIELD(Editor2), "notepad"},
    {"EscPanelSwitch", IniSwitch, FIELD(EscPanelSwitch), "off"},
    {"ExpandedTrees", IniSwitch, FIELD(ExpandedTrees), "on"},
    {"FFRootSearch", IniSwitch, FIELD(FFRootSearch), "on"},
    {"FFRecurse", IniSwitch, FIELD(FFRecurse), "on"},
    {"FFCase", IniSwitch, FIELD(FFCase), "off"},
    {"FFWholeWord", IniSwitch, FIELD(FFWholeWord), "off"},
    {"FFMultiDrive", IniSwitch, FIELD(FFMultiDrive), "off"},
    {"FFDepth", IniNumber, FIELD(FFDepth), "0"},
    {"FFDriveList", IniText, FIELD(FFDriveList), ""},
    {"FFFollowLinks", IniSwitch, FIELD(FFFollowLinks), "off"},
    {"FullScreen", IniSwitch, FIELD(FullScreen), "on"},
    {"Manual", IniText, nullptr, nullptr},
    {"HalfScreenConsoleLines", IniNumber, FIELD(HalfScreenConsoleLines), "-2"},
    {"Hidden", IniSwitch, FIELD(Hidden), "off"},
    {"IndentWidth", IniNumber, FIELD(IndentWidth), "1"},
    {"KeepExtVisible", IniSwitch, FIELD(KeepExtVisible), "on"},
    {"Left", IniUtf8, FIELD(Left), ""},
    {"Right", IniUtf8, FIELD(Right), ""},
    {"LeftFilter", IniUtf8, FIELD(LeftFilter), "*"},
    {"RightFilter", IniUtf8, FIELD(RightFilter), "*"},
    {"LeftSort", IniSort, FIELD(LeftSort), "name"},
    {"RightSort", IniSort, FIELD(RightSort), "name"},
    {"LeftStyle", IniStyle, FIELD(LeftStyle), "full"},
    {"RightStyle", IniStyle, FIELD(RightStyle), "full"},
    {"LeftShowing", IniSwitch, FIELD(LeftShowing), "on"},
    {"RightShowing", IniSwitch, FIELD(RightShowing), "on"},
    {"LeftType", IniPanelType, FIELD(LeftType), "files"},
    {"RightType", IniPanelType, FIELD(RightType), "files"},
    {"LeftWidth", IniWidth, FIELD(LeftWidth), "half"},
    {"RightWidth", IniWidth, FIELD(RightWidth), "half"},
    {"Lines", IniNumber, FIELD(Lines), "0"},
    {"Columns", IniNumber, FIELD(Columns), "0"},
    {"MaxHist", IniNumber, FIELD(MaxHist), "500"},
    {"MaxFieldHist", IniNumber, FIELD(MaxFieldHist), "20"},
    {"MouSpeed", IniNumber, FIELD(MouSpeed), "8"},
    {"NaturalSort", IniSwitch, FIELD(NaturalSort), "off"},
    {"NumLock", IniSwitch, FIELD(NumLock), "off"},
    {"OverStrike", IniSwitch, FIELD(OverStrike), "off"},
    {"PathAppend", IniUtf8, FIELD(PathAppend), ""},
    {"PathPrompt", IniSwitch, FIELD(PathPrompt), "on"},
    {"PauseAfterRun", IniSwitch, FIELD(PauseAfterRun), "off"},
    {"PMClip", IniSwitch, FIELD(PMClip), "on"},
    {"RelativeLinks", IniSwitch, FIELD(RelativeLinks), "off"},
    {"RetainCount", IniSwitch, FIELD(RetainCount), "off"},
    {"Saver", IniNumber, FIELD(Saver), "0"},
    {"ScriptPath", IniUtf8, FIELD(ScriptPath), ""},
    {"ScrollDelay", IniNumber, FIELD(ScrollDelay), "10"},
    {"Shadows", IniSwitch, FIELD(Shadows), "on"},
    {"SizeCountPause", IniSwitch, FIELD(SizeCountPause), "off"},
    {"StartupSide", IniChar, FIELD(StartupSide), "L"},
    {"StickyAlt", IniSwitch, FIELD(StickyAlt), "on"},
    {"SyncCopyMissing", IniSwitch, FIELD(SyncCopyMissing), "on"},
    {"SyncDeleteExtra", IniSwitch, FIELD(SyncDeleteExtra), "off"},
    {"SyncDirFilter", IniUtf8, FIELD(SyncDirFilter), "*"},
    {"SyncFilter", IniUtf8, FIELD(SyncFilter), "*"},
    {"SyncUpdateLarger", IniSwitch, FIELD(SyncUpdateLarger), "off"},
    {"SyncRevertNewer", IniSwitch, FIELD(SyncRevertNewer), "off"},
    {"SyncUpdateOlder", IniSwitch, FIELD(SyncUpdateOlder), "on"},
    {"SyncUpdateSmaller", IniSwitch, FIELD(SyncUpdateSmaller), "off"},
    {"TabWidth", IniNumber, FIELD(TabWidth), "8"},
    {"TagDirs", IniSwitch, FIELD(TagDirs), "off"},
    {"TextCodePage", IniNumber, FIELD(TextCodePage), "0"},
    {"TimeMode", IniTimeMode, FIELD(TimeMode), "12"},
    {"ThousandSep", IniSwitch, FIELD(ThousandSep), "off"},
    {"TranslateCP", IniText, FIELD(TranslateCP), ""},
    {"TreeDir", IniUtf8, FIELD(TreeDir), ""},
    {"Use132", IniText, nullptr, nullptr},
    {"Viewer", IniUtf8, FIELD(Viewer), ""},
    {"Viewer2", IniUtf8, FIELD(Viewer2), "list"},
    {"ViewerWrap", IniSwitch, FIELD(ViewerWrap), "on"},
    {"WaitDOS", IniSwitch, FIELD(WaitDOS), "off"},
    {"Colours", IniColours, FIELD(Colours), nullptr},  // ResetColours gives the defaults
};

const int IniKeyCount = sizeof(IniKeyTable) / sizeof(IniKeyTable[0]);

namespace {

// The keyword vocabularies; reading matches the first `readable` words,
// writing takes the word at the value's index.
struct TKeywords {
    const char* const* words;
    int count;
    int readable;
    int unknown;  // what an unknown word reads as
};

const char* const SortWords[] = {"name",  "extension",  "time",  "size",  "unsorted",
                                 "rname", "rextension", "rtime", "rsize", "unsorted"};
const char* const StyleWords[] = {"brief", "full", "wide", "briefwide", "unix", "tree"};
const char* const PanelTypeWords[] = {"files", "info"};
const char* const WidthWords[] = {"half", "forcedhalf", "full"};

const TKeywords SortKeywords = {SortWords, 10, 9, 0};
// A tree view is written "tree" but read back as "full": the tree is built
// anew from the directory, not restored.
const TKeywords StyleKeywords = {StyleWords, 6, 5, 1};
const TKeywords PanelTypeKeywords = {PanelTypeWords, 2, 2, 0};
const TKeywords WidthKeywords = {WidthWords, 3, 3, 0};

int ParseKeyword(const TKeywords& table, const char* text) {
    for (int i = 0; i < table.readable; i++) {
        if (Estring(text) == table.words[i]) {
            return i;
        }
    }
    return table.unknown;
}

const char* KeywordOf(const TKeywords& table, int value) {
    return value >= 0 && value < table.count ? table.words[value] : table.words[table.unknown];
}

const TKeywords* KeywordsOf(EIniValueKind kind) {
    switch (kind) {
    case IniSort: return &SortKeywords;
    case IniStyle: return &StyleKeywords;
    case IniPanelType: return &PanelTypeKeywords;
    case IniWidth: return &WidthKeywords;
    default: return nullptr;
    }
}

void ReadColours(const char* value, uint8_t* slots) {
    const char* p = value;
    for (int slot = 0; slot < ColourSlotCount && *p; slot++) {
        slots[slot] = static_cast<uint8_t>(std::atoi(p));
        while (*p && *p != ' ') {
            p++;
        }
        while (*p == ' ') {
            p++;
        }
    }
}

}  // namespace

int ParseSortKeyword(const char* text) {
    return ParseKeyword(SortKeywords, text);
}
int ParseStyleKeyword(const char* text) {
    return ParseKeyword(StyleKeywords, text);
}
int ParsePanelTypeKeyword(const char* text) {
    return ParseKeyword(PanelTypeKeywords, text);
}
int ParseWidthKeyword(const char* text) {
    return ParseKeyword(WidthKeywords, text);
}

const TIniKey* FindIniKey(const char* name) {
    for (int i = 0; i < IniKeyCount; i++) {
        if (Estring(name) == IniKeyTable[i].name) {
            return &IniKeyTable[i];
        }
    }
    return nullptr;
}

void ReadIniValue(const TIniKey& key, const char* value, TCONFIG& config) {
    if (!key.field) {
        return;
    }
    void* field = key.field(config);
    switch (key.kind) {
    case IniText: *static_cast<Estring*>(field) = value; break;
    case IniUtf8: static_cast<Westring*>(field)->AssignUtf8(value); break;
    case IniNumber: *static_cast<int32_t*>(field) = std::atoi(value); break;
    case IniSwitch: *static_cast<uint8_t*>(field) = Estring(value) == "on" ? 1 : 0; break;
    case IniChar: *static_cast<char*>(field) = value[0]; break;
    case IniTimeMode: *static_cast<int32_t*>(field) = std::strcmp(value, "24") == 0 ? 24 : 12; break;
    case IniSort:
    case IniStyle:
    case IniPanelType:
    case IniWidth: *static_cast<int32_t*>(field) = ParseKeyword(*KeywordsOf(key.kind), value); break;
    case IniColours: ReadColours(value, static_cast<uint8_t*>(field)); break;
    }
}

Estring FormatIniValue(const TIniKey& key, TCONFIG& config) {
    Estring text;
    if (!key.field) {
        return text;
    }
    void* field = key.field(config);
    switch (key.kind) {
    case IniText: text = *static_cast<Estring*>(field); break;
    case IniUtf8: text = Estring(*static_cast<Westring*>(field)); break;
    case IniNumber:
    case IniTimeMode: text.Format("%d", *static_cast<int32_t*>(field)); break;
    case IniSwitch: text = *static_cast<uint8_t*>(field) ? "on" : "off"; break;
    case IniChar:
        if (char c = *static_cast<char*>(field)) {
            text += c;
        }
        break;
    case IniSort:
    case IniStyle:
    case IniPanelType:
    case IniWidth: text = KeywordOf(*KeywordsOf(key.kind), *static_cast<int32_t*>(field)); break;
    case IniColours: {
        const uint8_t* slots = static_cast<uint8_t*>(field);
        for (int slot = 0; slot < ColourSlotCount; slot++) {
            Estring number;
            number.Format("%d ", slots[slot]);
            text += number;
        }
        break;
    }
    }
    return text;
}

namespace {

// Where the command interpreter is a POSIX shell, the programs the defaults
// name are those such a system has, and a background run is the shell's own.
const struct {
    const char* name;
    const char* value;
} PosixShellDefaults[] = {
    {"Viewer2", "less"},
    {"Editor2", "vi"},
    {"Background", "#nohup ! </dev/null >/dev/null 2>&1 &"},
};

bool InterpreterIsPosixShell() {
    WCHAR value[1024];
    DWORD n = GetEnvironmentVariableW(W32TEXT("COMSPEC"), value, 1024);
    if (n == 0 || n >= 1024) {
        return false;
    }
    Westring path(value);
    Westring name = path.Mid(path.FindLast('\\') + 1, path.Length());
    return !name.EqualsNoCase(Westring("cmd.exe")) && !name.EqualsNoCase(Westring("command.com"));
}

}  // namespace

void SetIniDefaults(TCONFIG& config) {
    for (int i = 0; i < IniKeyCount; i++) {
        if (IniKeyTable[i].defaultValue) {
            ReadIniValue(IniKeyTable[i], IniKeyTable[i].defaultValue, config);
        }
    }
    if (InterpreterIsPosixShell()) {
        for (const auto& item : PosixShellDefaults) {
            if (const TIniKey* key = FindIniKey(item.name)) {
                ReadIniValue(*key, item.value, config);
            }
        }
    }
}
