// Arbitrary script sources through the tokenizer: it must end with a token
// list or an error, never crash or hang. The input is also the file it
// includes, so that include chains are tried.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/io/EError.h"
#include "base/strings/LocaleCase.h"
#include "script/ScriptTokenizer.h"

namespace {

std::string Folder;

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/qv-script-tokens-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        abort();
    Folder = pattern;
    // Only the fuzzer's folder is a drive: includes cannot reach other files.
    setenv("QUORVANE_DRIVES", ("T=" + Folder).c_str(), 1);
    InitCaseTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFile(Folder + "/t.qvs", data, size);
    WriteFile(Folder + "/a.qvs", data, size);
    WestringStore sources;
    sources.Add(new Westring("T:\\t.qvs"));
    CScriptTokenizer tokenizer(sources);
    try {
        tokenizer.TokenizeAll();
    } catch (const EError& error) {
        error.GetText();
        return 0;
    }
    // Every token names a file and a position on it.
    for (int i = 0; i < tokenizer.TokenCount(); i++) {
        const CToken* token = tokenizer.TokenAt(i);
        if (!token->file || token->line < 1 || token->column < 1 || token->kind < 0 || token->kind >= TokenKindCount)
            abort();
        if (token->kind == TokenIdentifier)
            tokenizer.IdentifierText(token->number);
    }
    return 0;
}
