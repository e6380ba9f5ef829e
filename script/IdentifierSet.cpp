#include "script/IdentifierSet.h"

uint32_t CIdentifierSet::Intern(const Westring& text) {
    CIdentifier* found = Find(&text);
    if (found)
        return found->number;
    CIdentifier* record = new CIdentifier(text, uint32_t(++m_lastNumber));
    Insert(record);
    return record->number;
}

Westring CIdentifierSet::Text(uint32_t number) {
    for (int i = 0; i < Count(); i++) {
        if (At(i)->number == number)
            return At(i)->text;
    }
    return Westring("**unknown**");
}

const Westring* CStringSet::Add(const Westring& text) {
    Westring* found = Find(&text);
    if (found)
        return found;
    Westring* copy = new Westring(text);
    Insert(copy);
    return copy;
}

int CStringSet::IndexOf(const Westring& text) {
    int index;
    return Search(&text, index) == 0 ? index : -1;
}
