#include "base/strings/StringCollection.h"

#include "base/strings/CodePageMap.h"

namespace {

// Inserts a heap copy; a refused copy is the caller's to delete, so it goes here.
template <class Set, class Text>
int InsertCopyInto(Set& set, const Text& text) {
    Text* copy = new Text(text);
    if (set.Insert(copy))
        return 1;
    delete copy;
    return 0;
}

}  // namespace

int FnStringCollection::InsertCopy(const Westring& text) {
    return InsertCopyInto(*this, text);
}

int FnStringCollection::CompareKeys(const Westring* a, const Westring* b) {
    return Str32CompareNoCase(a->Data(), b->Data());
}

int WestringCollection::InsertCopy(const Westring& text) {
    return InsertCopyInto(*this, text);
}

int WestringCollection::CompareKeys(const Westring* a, const Westring* b) {
    return Str32CompareNoCase(a->Data(), b->Data());
}

int WordCollection::CompareKeys(const Westring* a, const Westring* b) {
    return caseSensitive ? Str32Compare(a->Data(), b->Data()) : Str32CompareNoCase(a->Data(), b->Data());
}

int StringCollection::InsertCopy(const Estring& text) {
    return InsertCopyInto(*this, text);
}

int StringCollection::InsertCommaList(Estring& list) {
    int inserted = 0;
    while (!list.IsEmpty())
        inserted += InsertCopy(TakeQuotedField(list));
    return inserted;
}

int StringCollection::CompareKeys(const Estring* a, const Estring* b) {
    // Estring's relational operators compare without regard to case.
    if (*a == *b)
        return 0;
    return *a < *b ? -1 : 1;
}
