// CSyntaxHighlighter: colours one line after another by a syntax definition.
// What carries from one line to the next is the stack of open elements
// (strings, block comments, states); callers that colour lines out of order
// save and restore it (CContextStack).
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/strings/CellString.h"
#include "base/strings/Westring.h"
#include "viewedit/SyntaxDefinition.h"

// Element pointers; the definition owns the elements.
class CContextStack : public TObjectStoreAbstract<CSyntaxElement> {
public:
    CContextStack() = default;
    ~CContextStack() override { RemoveAll(); }
    CContextStack(const CContextStack& other) : TObjectStoreAbstract<CSyntaxElement>() { Copy(other); }
    CContextStack& operator=(const CContextStack& other) {
        if (this != &other)
            Copy(other);
        return *this;
    }

    void Push(CSyntaxElement* element) { Add(element); }
    CSyntaxElement* Pop() { return Count() ? RemoveAt(Count() - 1) : nullptr; }
    CSyntaxElement* Top() const { return Count() ? At(Count() - 1) : nullptr; }
    void Clear() { RemoveAll(); }
    void Copy(const CContextStack& other);

protected:
    void DeleteItem(CSyntaxElement*) override {}
};

class CSyntaxHighlighter {
public:
    CSyntaxHighlighter() = default;
    CSyntaxHighlighter(const CSyntaxHighlighter&) = delete;
    CSyntaxHighlighter& operator=(const CSyntaxHighlighter&) = delete;

    // Empties the stack, rebuilds the definition from the file for the named
    // file, and answers whether a section matched (then lines are coloured).
    bool Load(const Westring& definitionPath, const Westring& name,
              TSyntaxErrorReporter report = ReportSyntaxFileError);
    // The line as cells in the definition's colours (tabs expanded, 7 and 8 as
    // blanks); the stack then holds what is open at its end.
    void ColourLine(const char32_t* line, CellString& out);

    CContextStack stack;
    CSyntaxDefinition definition;
    bool loaded = false;

private:
    CWordChars* WordCharsFor(CSyntaxElement* element);
    void RunStateChange(CSyntaxStateChange& change);
};

// The definition file the viewer and the editor read: the user's own in the
// data folder (or beside an ini file named on the command line, under its
// name), else the one that comes with the program, beside it.
Westring SyntaxDefinitionPath();

// Appends one character as a line shows it: 7 and 8 as a blank, a tab as
// blanks up to the next multiple of the tab width (at least one).
void AppendViewChar(CellString& out, char32_t c, uint8_t attribute);
