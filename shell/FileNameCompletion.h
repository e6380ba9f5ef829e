// File-name completion of the word being typed on the command line.
#pragma once

#include "base/strings/Westring.h"

class CFileNameCompletion {
public:
    // The first word of a line: a program along PATH (a word without '\'),
    // else a name from the word's directory. True when a name was found.
    bool Complete(const Westring& word, Westring& result);
    // A later word: a name from the word's own directory.
    bool CompleteFromDirectory(const Westring& word, Westring& result);
    // True when the last completion found exactly one name.
    bool SingleMatch() const { return singleMatch; }

private:
    bool singleMatch = false;
};
