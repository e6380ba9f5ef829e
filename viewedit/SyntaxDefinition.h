// CSyntaxDefinition: the colouring rules for one file, gathered from every
// section of the definition file whose mask matches it, and LoadSyntaxFile,
// which reads them (see SyntaxDefinition.cpp for the file's format).
#pragma once

#include <cstdint>
#include <vector>

#include "base/containers/ObjectStore.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"
#include "viewedit/SyntaxElements.h"
#include "viewedit/SyntaxRules.h"

class CSyntaxDefinition {
public:
    CSyntaxDefinition();
    CSyntaxDefinition(const CSyntaxDefinition&) = delete;
    CSyntaxDefinition& operator=(const CSyntaxDefinition&) = delete;

    // Back to the state of construction: the "File Viewer" colour and the
    // default word characters only.
    void Clear();
    // The first element of that name (without regard to case), or null.
    CSyntaxElement* FindElement(const Estring& name) const;
    // The colour text of a class, empty when the class is unknown.
    Estring ColourClass(const Estring& name) const;
    // Keeps the first colour text given for a name.
    void AddColourClass(const Estring& name, const Estring& colour);

    uint8_t defaultAttribute;
    TObjectStoreAbstract<CWordChars> wordChars;  // [0] is the default set
    TObjectStoreAbstract<SyntaxWordList> wordLists;
    TObjectStoreAbstract<SyntaxSymbolList> symbolLists;
    TObjectStoreAbstract<SyntaxNumber> numbers;
    TObjectStoreAbstract<CSyntaxElement> elements;
    TObjectStoreAbstract<CSyntaxStateChange> stateChanges;
    char32_t escape;

private:
    struct TColourClass {
        Estring name;
        Estring colour;
    };
    std::vector<TColourClass> colourClasses;
};

// How a file that cannot be opened is reported: the system error and the path.
typedef void (*TSyntaxErrorReporter)(uint32_t error, const Westring& path);
// The message box.
void ReportSyntaxFileError(uint32_t error, const Westring& path);

// Reads the definition file for the named file into the definition; true when
// at least one section matched. A missing main file is silent.
bool LoadSyntaxFile(CSyntaxDefinition& definition, const Westring& path, const Westring& name,
                    TSyntaxErrorReporter report = ReportSyntaxFileError);
