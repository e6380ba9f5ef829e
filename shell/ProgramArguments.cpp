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

// One word of an argument text: where it stands and what the program gets.
struct TArgumentWord {
    int start;
    int end;
    Westring value;
};

// The words as the C runtime splits them: blanks outside quotes separate;
// 2n backslashes and a quote give n backslashes and a quote that opens or
// closes, 2n+1 give n and a literal quote; a doubled quote inside quotes is
// one literal quote; other backslashes are literal.
std::vector<TArgumentWord> SplitArgumentWords(const Westring& text) {
    std::vector<TArgumentWord> words;
    int n = text.Length();
    int i = 0;
    for (;;) {
        while (i < n && IsBlank(text[i])) {
            i++;
        }
        if (i >= n) {
            break;
        }
        TArgumentWord word = {i, i, Westring()};
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(text[i]))) {
            int backslashes = 0;
            while (i < n && text[i] == '\\') {
                backslashes++;
                i++;
            }
            if (i < n && text[i] == '"') {
                for (int k = 0; k < backslashes / 2; k++) {
                    word.value.AppendChar('\\');
                }
                if (backslashes % 2 == 1) {
                    word.value.AppendChar('"');
                } else if (quoted && i + 1 < n && text[i + 1] == '"') {
                    word.value.AppendChar('"');
                    i++;
                } else {
                    quoted = !quoted;
                }
                i++;
                continue;
            }
            for (int k = 0; k < backslashes; k++) {
                word.value.AppendChar('\\');
            }
            if (i < n && (quoted || !IsBlank(text[i]))) {
                word.value.AppendChar(text[i++]);
            }
        }
        word.end = i;
        words.push_back(word);
    }
    return words;
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
    Westring out = arguments;
    std::vector<TArgumentWord> words = SplitArgumentWords(arguments);
    // From the last word back, so that the places of the others hold.
    for (auto word = words.rbegin(); word != words.rend(); ++word) {
        Westring path = ProgramArgumentPath(word->value);
        if (!path.EqualsExact(word->value)) {
            out = out.Left(word->start) + QuoteArgument(path) + out.Mid(word->end, out.Length());
        }
    }
    return out;
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
