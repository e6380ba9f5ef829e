// Sorted owning sets of strings. Each holds heap strings, keyed by the string
// itself, and refuses a string equal to one it holds unless duplicates are
// allowed; InsertCopy inserts a copy and tells whether it was taken.
//
// FnStringCollection: file names (without regard to case).
// WestringCollection: 32-bit texts (without regard to case).
// WordCollection: the keywords of a syntax definition, with or without case.
// StringCollection: 8-bit texts (without regard to case), also filled from a
//   comma-separated list with quotes and backslash escapes.
#pragma once

#include "base/containers/SortedCollection.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

class FnStringCollection : public TSortedCollection<Westring, Westring> {
public:
    int InsertCopy(const Westring& text);

protected:
    const Westring* KeyOf(const Westring* item) override { return item; }
    int CompareKeys(const Westring* a, const Westring* b) override;
};

class WestringCollection : public TSortedCollection<Westring, Westring> {
public:
    int InsertCopy(const Westring& text);

protected:
    const Westring* KeyOf(const Westring* item) override { return item; }
    int CompareKeys(const Westring* a, const Westring* b) override;
};

class WordCollection : public WestringCollection {
public:
    explicit WordCollection(bool caseSensitive = false) : caseSensitive(caseSensitive) {}

    // Set from the syntax definition before the set is filled; the order
    // depends on it.
    bool caseSensitive;

protected:
    int CompareKeys(const Westring* a, const Westring* b) override;
};

class StringCollection : public TSortedCollection<Estring, Estring> {
public:
    int InsertCopy(const Estring& text);
    // Takes the quoted fields off the front of the list until it is empty and
    // inserts a copy of each; returns how many were inserted.
    int InsertCommaList(Estring& list);

protected:
    const Estring* KeyOf(const Estring* item) override { return item; }
    int CompareKeys(const Estring* a, const Estring* b) override;
};
