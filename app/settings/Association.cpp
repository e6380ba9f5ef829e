#include "app/settings/Association.h"

AssociationSet FileAssociations;
AssociationSet ViewerAssociations;
AssociationSet EditorAssociations;
AssociationSet FileColourRules;
AssociationSet DirectoryColourRules;

Estring Association::FormatIniLine() const {
    Estring line(mask);
    line += continueFlag ? ":: " : ": ";
    line += Estring(command);
    return line;
}

void AssociationSet::Add(const Westring& mask, const Westring& command, bool continueFlag) {
    Association* item = new Association;
    item->mask = mask;
    item->command = command;
    item->continueFlag = continueFlag ? 1 : 0;
    TObjectStore<Association>::Add(item);
}
