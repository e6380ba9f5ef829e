#include "app/settings/Histories.h"

#include "app/settings/HistoryFile.h"

WestringStore CommandHistory;
WestringStore DirectoryHistory;
WestringStore InputHistories[FieldKindCount];
CFieldPresets FieldPresets[FieldKindCount];
Westring HistorySearchText;

void AddCommandHistory(const char32_t* command, bool noFile, CCommandCollection* loading) {
    while (*command == ' ' || *command == '\t') {
        command++;
    }
    if (!*command) {
        return;
    }
    Westring text(command);
    if (!loading || !loading->InsertOnce(text)) {
        for (int i = CommandHistory.Count() - 1; i >= 0; i--) {
            if (CommandHistory.At(i)->EqualsExact(text)) {
                delete CommandHistory.RemoveAt(i);
            }
        }
    }
    CommandHistory.Add(new Westring(text));
    if (!noFile) {
        AppendHistoryLine(EscapeHistoryText(text));
    }
}

void AddInputHistory(const Westring& text, int kind, bool noFile) {
    if (!IsHistoryFieldKind(kind)) {
        return;
    }
    WestringStore& history = InputHistories[kind];
    for (int i = history.Count() - 1; i >= 0; i--) {
        if (history.At(i)->EqualsNoCase(text)) {
            delete history.RemoveAt(i);
        }
    }
    history.Add(new Westring(text));
    if (!noFile) {
        AppendHistoryLine(HistoryKindLine(kind, EscapeHistoryText(text)));
    }
}

void AddFieldPreset(const Westring& label, const Westring& value, int kind, bool noFile) {
    if (!IsHistoryFieldKind(kind)) {
        return;
    }
    TFieldPresetValue* preset = new TFieldPresetValue;
    preset->label = label;
    preset->value = value;
    FieldPresets[kind].Add(preset);
    if (!noFile) {
        AppendHistoryLine(HistoryPresetLine(*preset, kind));
    }
}

void RemoveFieldPresetLine(const TFieldPresetValue& preset, int kind) {
    if (IsHistoryFieldKind(kind)) {
        RewriteHistoryWithout(HistoryPresetLine(preset, kind));
    }
}

void AddDirectoryHistory(const Westring& directory) {
    for (int i = DirectoryHistory.Count() - 1; i >= 0; i--) {
        if (*DirectoryHistory.At(i) == directory) {
            delete DirectoryHistory.RemoveAt(i);
        }
    }
    DirectoryHistory.Add(new Westring(directory));
    while (DirectoryHistory.Count() > MaxDirectoryHistory) {
        delete DirectoryHistory.RemoveAt(0);
    }
}
