#include "archive/ArchiverNameRules.h"

#include "base/os/PathNormalizer.h"
#include "base/strings/QuoteFileName.h"

const char* const ArchiverRefusedNameMessage = "The archiver cannot be given this name safely";

namespace {

// What each program's own documentation offers. zip and unzip match members
// as patterns with "[...]" sets (and unzip reads "-x" and "-d" after the
// archive as switches, with no "--"); 7-Zip matches literally with -spd;
// GNU tar with --no-wildcards, and without --no-unquote it reads "\" escapes
// in names; its --null lists are read verbatim, never as options. arj (whose
// patterns take "[...]" sets too) and rar have no literal matching, and read
// "!list" or "@list" as list files.
const TArchiverNameRules KnownRules[] = {
    {"zip", "", "", true, true, false, false, "", ""},
    {"unzip", "", "", false, true, true, false, "", ""},
    {"7z 7za 7zr 7zz", "-spd", "", true, false, false, false, "", ""},
    {"tar", "--no-wildcards --no-unquote", "--null", true, false, false, true, "", ""},
    {"arj", "", "", true, false, false, false, "!", "*?["},
    {"rar", "", "", true, false, false, false, "@", "*?"},
    {"gzip bzip2 xz", "", "", true, false, false, false, "", ""},
};
// Any other program: nothing known, so nothing it might act on.
const TArchiverNameRules UnknownRules = {"", "", "", false, false, false, false, "-@!", "*?["};
// Names that only a redirection of the definition's own opens.
const TArchiverNameRules RedirectionRules = {"", "", "", false, false, false, false, "", ""};

bool Holds(const char* characters, char32_t c) {
    for (const char* p = characters; *p; p++) {
        if (char32_t(static_cast<unsigned char>(*p)) == c)
            return true;
    }
    return false;
}

std::vector<Westring> Words(const char* text) {
    std::vector<Westring> words;
    Westring all(text);
    Westring word;
    for (int i = 0; i <= all.Length(); i++) {
        if (i == all.Length() || all[i] == ' ') {
            if (!word.IsEmpty())
                words.push_back(word);
            word.Clear();
        } else {
            word.AppendChar(all[i]);
        }
    }
    return words;
}

}  // namespace

const TArchiverNameRules& FindArchiverNameRules(const Westring& resolvedCommand) {
    if (NamesAreRedirectionTarget(resolvedCommand))
        return RedirectionRules;
    int blank = resolvedCommand.FindUnquoted(' ');
    Westring program = StripQuotes(blank < 0 ? resolvedCommand : resolvedCommand.Left(blank));
    Westring name = ExtractFileName(program);
    if (name.Length() > 4 && name.Right(4).EqualsNoCase(Westring(".exe")))
        name = name.DropRight(4);
    for (const TArchiverNameRules& rules : KnownRules) {
        for (const Westring& known : Words(rules.programs)) {
            if (known.EqualsNoCase(name))
                return rules;
        }
    }
    return UnknownRules;
}

bool NamesAreRedirectionTarget(const Westring& command) {
    int at = command.Find(Westring("%f"));
    if (at < 0)
        return false;
    int i = at - 1;
    while (i >= 0 && (command[i] == ' ' || command[i] == '\t'))
        i--;
    return i >= 0 && (command[i] == '>' || command[i] == '<');
}

Westring ArchiverLiteralName(const TArchiverNameRules& rules, const Westring& name, bool member) {
    if (!member || !rules.escapePatterns)
        return name;
    Westring out;
    for (int i = 0; i < name.Length(); i++) {
        char32_t c = name[i];
        if (c == '[' || c == '*' || c == '?' || (c == '-' && i == 0 && rules.escapeLeadingDash)) {
            out.AppendChar('[');
            out.AppendChar(c);
            out.AppendChar(']');
        } else {
            out.AppendChar(c);
        }
    }
    return out;
}

bool ArchiverCanTakeName(const TArchiverNameRules& rules, const Westring& name, bool realFile, bool inList) {
    if (name.IsEmpty())
        return true;
    // A file of the disk goes as ".\name" where its first character could
    // act; a member has only its stored name.
    if (!realFile) {
        if (Holds(rules.refusedFirst, name[0]))
            return false;
        if (name[0] == '-' && !rules.endOfOptions && !rules.escapeLeadingDash)
            return false;
    }
    for (int i = 0; i < name.Length(); i++) {
        char32_t c = name[i];
        if (Holds(rules.refusedAnywhere, c))
            return false;
        // A line end would split the name in a list of lines.
        if (inList && !rules.nulList && (c == '\n' || c == '\r'))
            return false;
    }
    return true;
}

std::vector<Westring> ArchiverLiteralSwitchWords(const TArchiverNameRules& rules, bool forList) {
    std::vector<Westring> words = Words(rules.literalSwitches);
    if (forList) {
        for (const Westring& word : Words(rules.listSwitches))
            words.push_back(word);
    }
    return words;
}
