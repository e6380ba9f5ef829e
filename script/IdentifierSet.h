// The interning tables of a loaded script. CIdentifierSet numbers texts in
// order of first interning (identifiers, and separately string literals);
// CStringSet is a sorted set of texts (the keywords, numbered by their place,
// and the names of the source files read). All compare case-sensitively.
#pragma once

#include <cstdint>

#include "base/containers/SortedCollection.h"
#include "base/strings/Westring.h"

struct CIdentifier {
    CIdentifier(const Westring& text, uint32_t number) : text(text), number(number) {}
    Westring text;
    uint32_t number;
};

class CIdentifierSet : public TSortedCollection<CIdentifier, Westring> {
public:
    // The number of the text, given a new one (the next in order) when the
    // text is not there yet.
    uint32_t Intern(const Westring& text);
    // The record of the text, or null.
    CIdentifier* Lookup(const Westring& text) { return Find(&text); }
    // The text of a number, "**unknown**" when no record has it.
    Westring Text(uint32_t number);
    using TSortedCollection::Count;

protected:
    const Westring* KeyOf(const CIdentifier* item) override { return &item->text; }
    int CompareKeys(const Westring* a, const Westring* b) override { return Str32Compare(a->Data(), b->Data()); }

private:
    int32_t m_lastNumber = -1;
};

class CStringSet : public TSortedCollection<Westring, Westring> {
public:
    // The item equal to the text, inserted as a copy when missing.
    const Westring* Add(const Westring& text);
    // The index of the text, or -1.
    int IndexOf(const Westring& text);
    const Westring* Lookup(const Westring& text) { return Find(&text); }
    using TSortedCollection::At;
    using TSortedCollection::Count;

protected:
    const Westring* KeyOf(const Westring* item) override { return item; }
    int CompareKeys(const Westring* a, const Westring* b) override { return Str32Compare(a->Data(), b->Data()); }
};
