#include "app/panels/PosStack.h"

#include "app/panels/DeepCopy.h"
#include "base/strings/Str32.h"

CPosStack::CPosStack(const CPosStack& other) : TSortedCollection<TPanelPosition, Westring>() {
    *this = other;
}

CPosStack& CPosStack::operator=(const CPosStack& other) {
    return AssignDeepCopy<TPanelPosition>(*this, other);
}

int CPosStack::CompareKeys(const Westring* a, const Westring* b) {
    return Str32CompareNoCase(a->Data(), b->Data());
}
