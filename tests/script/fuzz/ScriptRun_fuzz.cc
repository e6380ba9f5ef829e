// Arbitrary scripts through the interpreter: each run ends, with output or an
// error, within a budget of statements and without waiting in sleep; no
// crash, no value left unfreed.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/io/StreamWrite.h"
#include "base/strings/LocaleCase.h"
#include "script/QVScript.h"
#include "script/values/ValueHeap.h"

namespace {

std::string Folder;

class CNullStream : public CStreamWriteBase {
public:
    bool Write(const char*, uint32_t) override { return true; }
    bool Close() override { return true; }
};

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/qv-script-run-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        abort();
    Folder = pattern;
    setenv("QUORVANE_DRIVES", ("T=" + Folder).c_str(), 1);
    InitCaseTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFile(Folder + "/t.qvs", data, size);
    WestringStore sources;
    sources.Add(new Westring("T:\\t.qvs"));
    WestringStore arguments;
    arguments.Add(new Westring("one"));
    arguments.Add(new Westring("<T:\\t.qvs"));
    {
        QVScript script(sources, new CNullStream());
        script.statementBudget = 5000;
        script.sleepLimitMs = 0;
        script.Run(arguments);
    }
    if (CurrentValueHeap().tracker.Count() != 0)
        abort();
    return 0;
}
