// Archiver command lines from arbitrary definitions and names (the ini file's
// text and the names of files and members): the line is built, and split back
// by the argument rules every name is found whole in one argument.
//
// Input: lines; the first is the definition, the second the archive path,
// every further one a name (one beginning with byte 1 a word of a list
// switch).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "archive/ArchiverCommandLine.h"
#include "base/strings/Utf16String.h"
#include "platform/win32.h"

namespace {

// Text of valid UTF-8 only: other bytes would not reach a program as text.
// The decoder takes the old five- and six-byte forms and code points past
// U+10FFFF too, which no name in UTF-16 can hold; they are left out.
bool Text(const std::string& bytes, Westring& text) {
    if (text.AssignUtf8(bytes.c_str()) != 1)
        return false;
    for (int i = 0; i < text.Length(); i++) {
        char32_t c = text[i];
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
    }
    return true;
}

Westring ArgumentForm(const Westring& path) {
    Utf16String wide(path);
    DWORD n = GetProgramArgumentPathW(wide.Data(), nullptr, 0);
    if (n == 0)
        return path;
    std::vector<WCHAR> buffer(n + 1);
    if (GetProgramArgumentPathW(wide.Data(), buffer.data(), n + 1) == 0)
        return path;
    return Westring(buffer.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; i++) {
        if (data[i] == '\n')
            lines.emplace_back();
        else if (data[i] != 0)
            lines.back() += char(data[i]);
    }
    if (lines.size() < 2)
        return 0;
    // The program word is split by its own, simpler rule (no escapes): it is
    // a program's path, which holds neither quotes nor placeholders.
    // Blanks before it do not make it empty.
    const size_t start = lines[0].find_first_not_of(" \t");
    const std::string program = start == std::string::npos
                                    ? std::string()
                                    : lines[0].substr(start, lines[0].find_first_of(" \t", start) - start);
    if (program.find_first_of("\"%") != std::string::npos)
        return 0;
    TArchiverWords names;
    for (size_t i = 2; i < lines.size(); i++) {
        bool definition = !lines[i].empty() && lines[i][0] == 1;
        Westring text;
        if (!Text(definition ? lines[i].substr(1) : lines[i], text))
            return 0;
        names.push_back({text, definition});
    }
    Westring command;
    Westring archive;
    if (!Text(lines[0], command) || !Text(lines[1], archive))
        return 0;
    Westring line = BuildArchiverCommandLine(command, archive, names);
    if (line.IsEmpty())
        return 0;
    int count = 0;
    Utf16String wide(line);
    LPWSTR* words = CommandLineToArgvW(wide.Data(), &count);
    if (words == nullptr)
        return 0;
    std::vector<Westring> arguments;
    for (int i = 0; i < count; i++)
        arguments.push_back(Westring(words[i]));
    LocalFree(words);
    for (const TArchiverWord& name : names) {
        if (name.fromDefinition || name.text.IsEmpty())
            continue;
        Westring asArgument = ArgumentForm(name.text);
        bool found = false;
        for (const Westring& argument : arguments)
            found = found || argument.Find(asArgument) >= 0 || argument.Find(name.text) >= 0;
        if (!found)
            abort();
    }
    return 0;
}
