#include "shell/ProgramArguments.h"

#include "base/strings/QuoteFileName.h"
#include "base/strings/Utf16String.h"
#include "platform/win32.h"

#include <vector>

namespace {

bool IsLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSeparator(char32_t c) {
    return c == '\\' || c == '/';
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t';
}

bool IsShellWildcard(char32_t c) {
    return c == '*' || c == '?' || c == '[';
}

// The end of the shell word that begins at `i`: quotes and escapes are
// stepped over, blanks and the shell's operator characters end it.
int ShellWordEnd(const Westring& line, int i) {
    int n = line.Length();
    while (i < n && !IsBlank(line[i]) && Westring("|&;<>()\n").Find(line[i]) < 0) {
        char32_t c = line[i];
        if (c == '\\') {
            i += 2;
        } else if (c == '\'') {
            int close = line.FindFrom(Westring("'"), i + 1);
            i = close < 0 ? n : close + 1;
        } else if (c == '"') {
            i++;
            while (i < n && line[i] != '"') {
                i += line[i] == '\\' ? 2 : 1;
            }
            i++;
        } else {
            i++;
        }
    }
    return i < n ? i : n;
}

// A typed path for the shell: the part before the first wildcard in its
// program form and quoted, the wildcards left outside the quotes.
Westring ShellPathWord(const Westring& word) {
    int wildcard = -1;
    for (int i = 0; i < word.Length() && wildcard < 0; i++) {
        if (IsShellWildcard(word[i])) {
            wildcard = i;
        }
    }
    if (wildcard < 0) {
        Westring path = ProgramArgumentPath(word);
        return path.EqualsExact(word) ? word : QuoteForShell(path);
    }
    int directoryEnd = wildcard;
    while (directoryEnd > 0 && !IsSeparator(word[directoryEnd - 1])) {
        directoryEnd--;
    }
    Westring directory = ProgramArgumentPath(word.Left(directoryEnd));
    if (directory.EqualsExact(word.Left(directoryEnd))) {
        return word;
    }
    Westring out = QuoteForShell(directory);
    Westring run;
    for (int i = directoryEnd; i < word.Length(); i++) {
        char32_t c = word[i] == '\\' ? '/' : word[i];
        if (IsShellWildcard(c)) {
            if (!run.IsEmpty()) {
                out += QuoteForShell(run);
                run.Clear();
            }
            out.AppendChar(c);
        } else {
            run.AppendChar(c);
        }
    }
    if (!run.IsEmpty()) {
        out += QuoteForShell(run);
    }
    return out;
}

}  // namespace

bool IsAbsolutePathWord(const Westring& word) {
    if (word.Length() >= 3 && IsLetter(word[0]) && word[1] == ':' && IsSeparator(word[2])) {
        return true;
    }
    // "\\server\...", not the device and long-path forms "\\.\", "\\?\".
    return word.Length() >= 3 && word[0] == '\\' && word[1] == '\\' && !IsSeparator(word[2]) && word[2] != '.' &&
           word[2] != '?';
}

Westring ProgramArgumentPath(const Westring& path) {
    if (!IsAbsolutePathWord(path)) {
        return path;
    }
    Utf16String wide(path);
    DWORD n = GetProgramArgumentPathW(wide.Data(), nullptr, 0);
    if (n == 0) {
        return path;
    }
    std::vector<WCHAR> buffer(n + 1);
    DWORD got = GetProgramArgumentPathW(wide.Data(), buffer.data(), n + 1);
    if (got == 0 || got > n) {
        return path;
    }
    Westring out(buffer.data());
    // A folder keeps its closing separator: text written after it (a name
    // that followed a folder macro) stays inside that folder.
    if (IsSeparator(path[path.Length() - 1]) && !out.IsEmpty() && !IsSeparator(out[out.Length() - 1])) {
        out.AppendChar('/');
    }
    return out;
}

Westring TranslateDirectArguments(const Westring& arguments) {
    // Split as the program will split it, after a stand-in for its name.
    int count = 0;
    Utf16String line(Westring("x ") + arguments);
    LPWSTR* words = CommandLineToArgvW(line.Data(), &count);
    if (words == nullptr) {
        return arguments;
    }
    Westring out;
    bool changed = false;
    for (int i = 1; i < count; i++) {
        Westring word(words[i]);
        Westring path = ProgramArgumentPath(word);
        changed = changed || !path.EqualsExact(word);
        if (i > 1) {
            out.AppendChar(' ');
        }
        out += QuoteArgument(path);
    }
    LocalFree(words);
    // Written anew only when a path changed: the program gets the same
    // words either way, and a line without paths stays as it was typed.
    return changed ? out : arguments;
}

Westring TranslateShellLine(const Westring& line) {
    Westring out;
    int i = 0;
    while (i < line.Length()) {
        if (IsBlank(line[i]) || Westring("|&;<>()\n").Find(line[i]) >= 0) {
            out.AppendChar(line[i++]);
            continue;
        }
        int end = ShellWordEnd(line, i);
        Westring word = line.Mid(i, end - i);
        bool plain = true;
        for (int k = 0; k < word.Length() && plain; k++) {
            plain = Westring("'\"$`").Find(word[k]) < 0;
        }
        out += plain && IsAbsolutePathWord(word) ? ShellPathWord(word) : word;
        i = end;
    }
    return out;
}
