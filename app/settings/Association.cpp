#include "app/settings/Association.h"

#include "base/mask/MaskExpression.h"

AssociationSet FileAssociations;
AssociationSet ViewerAssociations;
AssociationSet EditorAssociations;
AssociationSet FileColourRules;
AssociationSet DirectoryColourRules;

int (*AssociationChooser)(CAssociationList& list, Westring& command) = nullptr;

Estring Association::FormatIniLine() const {
    Estring line(mask);
    line += continueFlag ? ":: " : ": ";
    line += Estring(command);
    return line;
}

bool Association::MatchesName(const Westring& name) const {
    return MatchMaskName(mask, name) == 1;
}

bool Association::MatchesEntry(const entry* item) const {
    return MatchMask(mask, Westring("."), item) == 1;
}

void AssociationSet::Add(const Westring& mask, const Westring& command, bool continueFlag) {
    Association* item = new Association;
    item->mask = mask;
    item->command = command;
    item->continueFlag = continueFlag ? 1 : 0;
    TObjectStore<Association>::Add(item);
}

bool AssociationSet::FindFirstMatch(const Westring& name, Westring& command) const {
    for (int i = 0; i < Count(); i++) {
        const Association* record = At(i);
        if (record->MatchesName(name)) {
            command = record->command;
            return true;
        }
    }
    return false;
}

void AssociationSet::CollectMatches(const entry* item, CAssociationList& list) const {
    for (int i = 0; i < Count(); i++) {
        Association* record = At(i);
        if (!record->MatchesEntry(item)) {
            continue;
        }
        // The first match always joins; a later one only with the continue
        // flag, and the first that lacks it ends the walk unlisted.
        if (list.Count() == 0) {
            list.Add(record);
            if (!record->continueFlag) {
                return;
            }
        } else if (record->continueFlag) {
            list.Add(record);
        } else {
            return;
        }
    }
}

int AssociationSet::ChooseCommand(const entry* item, Westring& command) const {
    CAssociationList list;
    CollectMatches(item, list);
    if (list.Count() == 0) {
        return 0;
    }
    if (list.Count() == 1) {
        command = list.At(0)->command;
        return 1;
    }
    if (AssociationChooser == nullptr) {
        return -1;
    }
    return AssociationChooser(list, command);
}

int AssociationSet::GetCommand(const entry* item, Estring& command) const {
    Westring chosen;
    int result = ChooseCommand(item, chosen);
    if (result > 0) {
        command = Estring(chosen);
    }
    return result;
}
