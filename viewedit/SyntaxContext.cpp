#include "viewedit/SyntaxContext.h"

#include "base/strings/CodePageMap.h"
#include "viewedit/SyntaxElements.h"

void CSyntaxContext::SetList(const Estring& list) {
    names.FreeAll();
    topLevel = false;
    everywhere = false;
    Estring rest = list;
    if (rest.Trim().IsEmpty()) {
        topLevel = true;
        return;
    }
    while (!rest.IsEmpty()) {
        Estring name = TakeQuotedField(rest).Trim();
        if (name.IsEmpty())
            topLevel = true;
        else if (name == "*")
            everywhere = true;
        names.InsertCopy(name);
    }
}

bool CSyntaxContext::AppliesIn(const CSyntaxElement* current) const {
    if (everywhere)
        return true;
    if (!current)
        return topLevel;
    return names.Find(&current->name) != nullptr;
}
