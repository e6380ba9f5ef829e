#include "viewedit/SyntaxHighlighter.h"

#include "app/settings/Config.h"
#include "app/settings/DataFiles.h"

Westring SyntaxDefinitionPath() {
    Westring path = DataFilePath(DataFileSyntax, DataFileUserFolder);
    if (DataFileExists(path))
        return path;
    path = DataFilePath(DataFileSyntax, DataFileProgramFolder);
    if (DataFileExists(path) || Config.IniFilePath.IsEmpty())
        return path;
    // An ini file named on the command line gives the user's files its own
    // name; the file that comes with the program keeps the program's.
    const Westring& program = GetProgramPath();
    Westring name = ExtractFileName(program);
    const int dot = name.FindLast('.');
    if (dot > 0)
        name = name.Left(dot);
    return AddTrailingBackslash(ExtractDirectory(program)) + name + Westring("syntax.ini");
}

void CContextStack::Copy(const CContextStack& other) {
    RemoveAll();
    for (int i = 0; i < other.Count(); i++)
        Add(other.At(i));
}

void AppendViewChar(CellString& out, char32_t c, uint8_t attribute) {
    if (c == 7 || c == 8) {
        out += TCell{' ', attribute};
    } else if (c == '\t') {
        int tab = Config.TabWidth > 0 ? Config.TabWidth : 8;
        do {
            out += TCell{' ', attribute};
        } while (out.Length() % tab != 0);
    } else {
        out += TCell{c, attribute};
    }
}

bool CSyntaxHighlighter::Load(const Westring& definitionPath, const Westring& name, TSyntaxErrorReporter report) {
    stack.Clear();
    definition.Clear();
    loaded = LoadSyntaxFile(definition, definitionPath, name, report);
    return loaded;
}

CWordChars* CSyntaxHighlighter::WordCharsFor(CSyntaxElement* element) {
    if (!element)
        return definition.wordChars.At(0);
    if (!element->wordCharsResolved) {
        element->wordChars = nullptr;
        for (int i = 0; i < definition.wordChars.Count(); i++) {
            CWordChars* set = definition.wordChars.At(i);
            if (set->context.AppliesIn(element)) {
                element->wordChars = set;
                break;
            }
        }
        if (!element->wordChars)
            element->wordChars = definition.wordChars.At(0);
        element->wordCharsResolved = true;
    }
    return element->wordChars;
}

void CSyntaxHighlighter::RunStateChange(CSyntaxStateChange& change) {
    if (!change.targetResolved) {
        change.target = change.targetName.IsEmpty() ? nullptr : definition.FindElement(change.targetName);
        change.targetResolved = true;
    }
    switch (change.action) {
    case CSyntaxStateChange::ActionPush:
        if (change.target)
            stack.Push(change.target);
        break;
    case CSyntaxStateChange::ActionPop: stack.Pop(); break;
    default:
        stack.Pop();
        if (change.target)
            stack.Push(change.target);
        break;
    }
}

void CSyntaxHighlighter::ColourLine(const char32_t* line, CellString& out) {
    out.SetLength(0);
    out.SetDefaultAttribute(definition.defaultAttribute);
    if (!loaded) {
        for (const char32_t* p = line; *p; p++)
            AppendViewChar(out, *p, definition.defaultAttribute);
        return;
    }
    const char32_t* p = line;
    while (*p) {
        CSyntaxElement* current = stack.Top();
        int length = 0;

        if (current && current->EndsAt(p, length)) {
            for (int i = 0; i < length; i++)
                AppendViewChar(out, p[i], current->attribute);
            p += length;
            stack.Pop();
            continue;
        }

        CSyntaxElement* started = nullptr;
        for (int i = 0; i < definition.elements.Count(); i++) {
            CSyntaxElement* element = definition.elements.At(i);
            if (element->StartsAt(p, current, length) && length > 0) {
                started = element;
                break;
            }
        }
        if (started) {
            for (int i = 0; i < length; i++)
                AppendViewChar(out, p[i], started->attribute);
            p += length;
            stack.Push(started);
            continue;
        }

        CSyntaxStateChange* change = nullptr;
        for (int i = 0; i < definition.stateChanges.Count(); i++) {
            CSyntaxStateChange* candidate = definition.stateChanges.At(i);
            if (candidate->context.AppliesIn(current) && SyntaxTextAt(p, candidate->text, candidate->caseSensitive)) {
                change = candidate;
                break;
            }
        }
        if (change) {
            RunStateChange(*change);
            int n = change->text.Length();
            for (int i = 0; i < n; i++)
                AppendViewChar(out, p[i], change->attribute);
            p += n;
            continue;
        }

        uint8_t colour = current ? current->attribute : definition.defaultAttribute;
        CWordChars* wordChars = WordCharsFor(current);
        if (wordChars->IsWordChar(*p)) {
            const char32_t* end = p;
            while (*end && wordChars->IsWordChar(*end))
                end++;
            if (*p >= '0' && *p <= '9') {
                for (int i = 0; i < definition.numbers.Count(); i++) {
                    SyntaxNumber* number = definition.numbers.At(i);
                    if (number->context.AppliesIn(current))
                        colour = number->attribute;
                }
            } else {
                Westring word;
                word.Assign(p, int(end - p));
                for (int i = 0; i < definition.wordLists.Count(); i++) {
                    SyntaxWordList* words = definition.wordLists.At(i);
                    if (words->context.AppliesIn(current) && words->Contains(word)) {
                        colour = words->attribute;
                        break;
                    }
                }
            }
            for (; p < end; p++)
                AppendViewChar(out, *p, colour);
            continue;
        }

        if (current && current->wordOnly) {
            stack.Pop();
            current = stack.Top();
        }
        for (int i = 0; i < definition.symbolLists.Count(); i++) {
            SyntaxSymbolList* symbols = definition.symbolLists.At(i);
            if (symbols->context.AppliesIn(current) && symbols->Holds(*p))
                colour = symbols->attribute;
        }
        if (current && current->escape != 0 && *p == current->escape && p[1] != 0) {
            AppendViewChar(out, p[0], colour);
            AppendViewChar(out, p[1], colour);
            p += 2;
            continue;
        }
        AppendViewChar(out, *p, colour);
        p++;
    }
    while (CSyntaxElement* top = stack.Top()) {
        if (!top->endsAtLineEnd && !top->wordOnly)
            break;
        stack.Pop();
    }
}
