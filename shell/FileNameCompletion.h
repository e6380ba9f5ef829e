// File-name completion of the word being typed on the command line: a word
// without '\' as a program from the current directory and PATH, a word with
// one as a name from its own directory. A unique or longer common beginning
// comes back at once; otherwise the user picks from a list.
#pragma once

#include <cstdint>

#include "base/io/Entry.h"
#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"

class CFileNameCompletion {
public:
    // The first word of a line: a program along PATH (a word without '\'),
    // else a name from the word's directory. True when the result holds
    // something to put in place of the word.
    bool Complete(const Westring& word, Westring& result);
    // A word with a directory part: a name from that directory.
    bool CompleteFromDirectory(const Westring& word, Westring& result);
    // True when the result is a whole name (one candidate, or one picked).
    bool SingleMatch() const { return complete != 0; }

    // Its steps: every fitting entry of a directory is a candidate, the
    // common beginning of the candidates shrinking as they come.
    void CompletionScanDirectory(const Westring& directory, Westring& common, bool programsOnly);
    void CompletionAddCandidate(const entry* item, Westring& common);
    // The list of candidates; true with the picked one in `result`.
    bool ChooseCompletion(Westring& result);

    const WestringStore& Candidates() const { return candidates; }

private:
    void Reset(const Westring& word);
    // The directory part and a name, with one backslash between them.
    Westring Join(const Westring& name) const;

    int32_t complete = 0;
    Westring directoryPart;
    Westring prefix;
    int32_t prefixLength = 0;
    WestringStore candidates;
    int32_t longest = 0;
};
