// The definition file is 8-bit text of sections. A header "[label:masks]"
// starts a section whose rules count when the file-mask expression matches
// the file being coloured; "[Colour Classes]" names colours. Rule lines read
// key(contexts)/options:class:value; "!include " reads another file in place,
// and a line ending in "\" continues on the next one.
#include "viewedit/SyntaxDefinition.h"

#include "app/settings/Colours.h"
#include "ui/MessageBox.h"
#include "base/mask/MaskExpression.h"
#include "base/os/SystemError.h"
#include "base/strings/Utf16String.h"
#include "base/os/PathNormalizer.h"
#include "platform/win32.h"
#include "viewedit/IniStack.h"

CSyntaxDefinition::CSyntaxDefinition() : defaultAttribute(0), escape(0) {
    Clear();
}

void CSyntaxDefinition::Clear() {
    defaultAttribute = ColourOf(ColourFileViewer);
    wordChars.FreeAll();
    wordLists.FreeAll();
    symbolLists.FreeAll();
    numbers.FreeAll();
    stateChanges.FreeAll();
    elements.FreeAll();
    escape = 0;
    colourClasses.clear();
    wordChars.Add(new CWordChars);
}

CSyntaxElement* CSyntaxDefinition::FindElement(const Estring& name) const {
    for (int i = 0; i < elements.Count(); i++) {
        CSyntaxElement* element = elements.At(i);
        if (element->name == name)
            return element;
    }
    return nullptr;
}

Estring CSyntaxDefinition::ColourClass(const Estring& name) const {
    for (const TColourClass& c : colourClasses) {
        if (c.name == name)
            return c.colour;
    }
    return Estring();
}

void CSyntaxDefinition::AddColourClass(const Estring& name, const Estring& colour) {
    for (const TColourClass& c : colourClasses) {
        if (c.name == name)
            return;
    }
    colourClasses.push_back({name, colour});
}

void ReportSyntaxFileError(uint32_t error, const Westring& path) {
    ShowMessageBox(FormatSystemError(error), path, 0);
}

namespace {

bool StartsWithNoCase(const Estring& text, const char* prefix) {
    int n = 0;
    while (prefix[n])
        n++;
    return text.Length() >= n && text.Left(n) == prefix;
}

// Splits at the first occurrence of the byte: false (and `before` the whole
// text) when there is none.
bool SplitAt(const Estring& text, char separator, Estring& before, Estring& after) {
    int at = text.Find(separator);
    if (at < 0) {
        before = text;
        after.Clear();
        return false;
    }
    before = text.Left(at);
    after = text.Mid(at + 1, 0);
    return true;
}

// The fields of a state change: ":" separates, "\" takes the next byte as it is.
void SplitEscapedFields(const Estring& value, Estring* fields, int room, int& count) {
    count = 0;
    Estring field;
    for (int i = 0; i < value.Length(); i++) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.Length()) {
            field += value[++i];
        } else if (c == ':') {
            if (count < room)
                fields[count] = field.Trim();
            count++;
            field.Clear();
        } else {
            field += c;
        }
    }
    if (count < room)
        fields[count] = field.Trim();
    count++;
}

bool HasOption(const Estring& options, char letter) {
    return options.Find(letter) >= 0;
}

// Whether a section header's masks take the file: its directory entry when it
// exists, else its name alone with size 0 and the current time. A mask that
// does not parse takes every file.
bool HeaderMatches(const Westring& masks, const Westring& name) {
    Westring fileName = ExtractFileName(name);
    Westring directory = ExtractDirectory(name);
    entry* item = entry::Allocate(fileName.Length());
    if (!item)
        return false;
    for (int i = 0; i < fileName.Length(); i++)
        item->name[i] = fileName[i];
    item->matchOffset = -1;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(Utf16String(name).Data(), GetFileExInfoStandard, &data)) {
        item->attributes = static_cast<uint16_t>(data.dwFileAttributes);
        item->size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        item->time = TTimestamp::FromFileTime(data.ftLastWriteTime);
    } else {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        item->time = TTimestamp::FromFileTime(now);
    }
    MaskExpression expression;
    int result = expression.Match(masks, directory, item);
    entry::Free(item);
    return result != 0;
}

class CSyntaxLoader {
public:
    CSyntaxLoader(CSyntaxDefinition& definition) : def(definition) {}
    void AddRule(const Estring& line);

private:
    uint8_t Attribute(const Estring& className) const;
    void SetElementOptions(CSyntaxElement& element, const Estring& options, const Estring& list);

    CSyntaxDefinition& def;
};

uint8_t CSyntaxLoader::Attribute(const Estring& className) const {
    Estring colour = def.ColourClass(className);
    if (colour.IsEmpty())
        colour = className;
    return static_cast<uint8_t>(ParseColourSpec(colour, ColourOf(ColourFileViewer)) & 0xFF);
}

void CSyntaxLoader::SetElementOptions(CSyntaxElement& element, const Estring& options, const Estring& list) {
    element.context.SetList(list);
    if (HasOption(options, 'l'))
        element.endsAtLineEnd = true;
    if (HasOption(options, 'w'))
        element.wordOnly = true;
}

void CSyntaxLoader::AddRule(const Estring& line) {
    Estring keyPart, rest;
    if (!SplitAt(line, ':', keyPart, rest))
        return;
    keyPart = keyPart.Trim();
    Estring className, value;
    SplitAt(rest, ':', className, value);
    className = className.Trim();
    value = value.Trim();
    Estring key, options;
    SplitAt(keyPart, '/', key, options);
    key = key.Trim();
    options = options.Trim();
    Estring list;
    int open = key.Find('(');
    if (open >= 0 && key.Length() > 0 && key[key.Length() - 1] == ')') {
        list = key.Mid(open + 1, key.Length() - open - 2);
        if (open + 1 >= key.Length() - 1)
            list.Clear();
        key = key.Left(open).Trim();
    }
    const bool caseSensitive = !HasOption(options, 'i');

    if (key == "wordchars") {
        Estring characters = rest.Trim();
        if (list.IsEmpty() && def.wordChars.Count() > 0) {
            def.wordChars.At(0)->Add(characters);
        } else {
            CWordChars* set = new CWordChars;
            set->context.SetList(list);
            set->Add(characters);
            def.wordChars.Add(set);
        }
    } else if (key == "words") {
        SyntaxWordList* words = new SyntaxWordList(caseSensitive);
        words->attribute = Attribute(className);
        words->context.SetList(list);
        int i = 0;
        while (i < value.Length()) {
            while (i < value.Length() && (value[i] == ' ' || value[i] == '\t'))
                i++;
            int start = i;
            while (i < value.Length() && value[i] != ' ' && value[i] != '\t')
                i++;
            if (i > start)
                words->InsertCopy(Westring(value.Mid(start, i - start).Data()));
        }
        def.wordLists.Add(words);
    } else if (key == "symbols") {
        SyntaxSymbolList* symbols = new SyntaxSymbolList;
        symbols->attribute = Attribute(className);
        symbols->context.SetList(list);
        for (int i = 0; i < value.Length(); i++)
            symbols->flags[static_cast<unsigned char>(value[i])] = 1;
        def.symbolLists.Add(symbols);
    } else if (key == "linecomment") {
        if (value.IsEmpty())
            return;
        CSyntaxLineComment* comment = new CSyntaxLineComment;
        comment->name = "linecomment";
        comment->attribute = Attribute(className);
        comment->context.SetList(list);
        comment->start = Westring(value);
        comment->caseSensitive = caseSensitive;
        comment->escape = def.escape;
        def.elements.Add(comment);
    } else if (key == "blockcomment" || key == "state") {
        Estring name = "blockcomment";
        Estring texts = value;
        if (key == "state") {
            Estring after;
            if (!SplitAt(value, ':', name, after))
                return;
            name = name.Trim();
            texts = after;
        }
        Estring start, end;
        SplitAt(texts, ':', start, end);
        start = start.Trim();
        end = end.Trim();
        if (start.IsEmpty() || name.IsEmpty())
            return;
        CSyntaxBlock* block = new CSyntaxBlock;
        block->name = name;
        block->attribute = Attribute(className);
        SetElementOptions(*block, options, list);
        block->start = Westring(start.Data());
        block->end = Westring(end.Data());
        block->caseSensitive = caseSensitive;
        block->escape = def.escape;
        def.elements.Add(block);
    } else if (key == "string") {
        Estring fields[3];
        int count = 0;
        Estring remaining = value;
        while (count < 3) {
            Estring part, after;
            bool more = SplitAt(remaining, ':', part, after);
            fields[count++] = part.Trim();
            if (!more)
                break;
            remaining = after;
        }
        if (count < 2 || fields[0].IsEmpty() || fields[1].IsEmpty())
            return;
        Westring opening(fields[0].Data()), closing(fields[1].Data()), escapeText(fields[2].Data());
        CSyntaxLiteralString* string = new CSyntaxLiteralString;
        string->name = "string";
        string->attribute = Attribute(className);
        string->context.SetList(list);
        string->opening = opening[0];
        string->closing = closing[0];
        string->escape = count >= 3 && !escapeText.IsEmpty() ? escapeText[0] : def.escape;
        def.elements.Add(string);
    } else if (key == "number") {
        SyntaxNumber* number = new SyntaxNumber;
        number->attribute = Attribute(className);
        number->context.SetList(list);
        def.numbers.Add(number);
    } else if (key == "escape") {
        Westring text(rest.Trim().Data());
        def.escape = text.IsEmpty() ? 0 : text[0];
    } else if (key == "statechange") {
        Estring fields[3];
        int count = 0;
        SplitEscapedFields(value, fields, 3, count);
        // An empty text would match everywhere without advancing.
        if (count < 2 || fields[0].IsEmpty() || fields[1].IsEmpty())
            return;
        CSyntaxStateChange* change = new CSyntaxStateChange;
        change->attribute = Attribute(className);
        change->context.SetList(list);
        change->text = Westring(fields[0]);
        change->action = fields[1] == "pop"    ? CSyntaxStateChange::ActionPop
                         : fields[1] == "push" ? CSyntaxStateChange::ActionPush
                                               : CSyntaxStateChange::ActionSwitch;
        if (count >= 3)
            change->targetName = fields[2];
        change->caseSensitive = caseSensitive;
        def.stateChanges.Add(change);
    }
}

}  // namespace

bool LoadSyntaxFile(CSyntaxDefinition& definition, const Westring& path, const Westring& name,
                    TSyntaxErrorReporter report) {
    CIniStack files;
    uint32_t error = files.Push(path);
    if (error != 0) {
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != 110 && report)
            report(error, path);
        return false;
    }
    Westring baseDirectory = ExtractDirectory(path);
    CSyntaxLoader loader(definition);
    bool anyMatched = false;
    bool matching = false;
    bool colourClasses = false;
    Estring line;
    while (files.ReadLine(line)) {
        line = line.Trim();
        while (line.Length() > 0 && line[line.Length() - 1] == '\\') {
            Estring next;
            if (!files.ReadLine(next))
                break;
            line = line.DropRight(1) + next;
        }
        if (line.Length() > 0 && line[0] == '[') {
            matching = false;
            colourClasses = false;
            if (line[line.Length() - 1] != ']' || line.Length() < 2)
                continue;
            Estring inner = line.Mid(1, line.Length() - 2);
            if (inner.Trim() == "Colour Classes") {
                colourClasses = true;
                continue;
            }
            Estring label, masks;
            if (!SplitAt(inner, ':', label, masks))
                continue;
            Westring maskText(masks.Trim().Data());
            if (HeaderMatches(maskText, name)) {
                matching = true;
                anyMatched = true;
            }
            continue;
        }
        if (StartsWithNoCase(line, "!include ")) {
            if (files.Count() > CIniStack::MaxDepth)
                continue;
            Westring included(line.Mid(9, 0).Trim().Data());
            if (included.IsEmpty())
                continue;
            if (NormalizePath(included, baseDirectory.Data()) != 0 || files.Holds(included))
                continue;
            uint32_t includeError = files.Push(included);
            if (includeError != 0 && report)
                report(includeError, included);
            continue;
        }
        if (colourClasses) {
            Estring className, colour;
            if (SplitAt(line, ':', className, colour))
                definition.AddColourClass(className.Trim(), colour.Trim());
            continue;
        }
        if (matching)
            loader.AddRule(line);
    }
    return anyMatched;
}
