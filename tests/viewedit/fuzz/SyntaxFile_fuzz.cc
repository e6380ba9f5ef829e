// Arbitrary definition files and lines: the loader and the colouring must
// neither crash nor loop. The input is a definition, then a line "====", then
// lines to colour (UTF-8).
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/strings/LocaleCase.h"
#include "viewedit/SyntaxHighlighter.h"

namespace {

std::string Folder;

void WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/qv-syntax-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        abort();
    Folder = pattern;
    // Only the fuzzer's folder is a drive: includes cannot reach other files.
    setenv("QUORVANE_DRIVES", ("T=" + Folder).c_str(), 1);
    InitCaseTables();
    ResetColours();
    Config.TabWidth = 4;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find("\n====\n");
    std::string definition = input.substr(0, split);
    std::string lines = split == std::string::npos ? "int x; /* a \"b\\\" */ c\tend" : input.substr(split + 6);
    WriteFile(Folder + "/syntax.ini", definition);
    WriteFile(Folder + "/more.ini", definition);

    CSyntaxHighlighter highlighter;
    highlighter.Load(Westring("T:\\syntax.ini"), Westring("T:\\file.c"), nullptr);
    highlighter.loaded = true;
    CellString cells;
    size_t start = 0;
    while (start <= lines.size()) {
        size_t end = lines.find('\n', start);
        if (end == std::string::npos)
            end = lines.size();
        Westring line(lines.substr(start, end - start).c_str());
        highlighter.ColourLine(line.Data(), cells);
        start = end + 1;
    }
    return 0;
}
