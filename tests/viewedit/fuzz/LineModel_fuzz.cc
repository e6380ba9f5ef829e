// The viewer's line model on arbitrary bytes: every line start reached going
// backwards from the end is one that reading forwards reaches, and both ways
// meet the same starts, as code-page text and as UTF-8.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/strings/LocaleCase.h"
#include "viewedit/Viewer.h"

namespace {

std::string Folder;

std::vector<int64_t> Forward(CViewer& viewer) {
    std::vector<int64_t> starts;
    int64_t offset = viewer.ByteOrderMarkLength();
    while (offset < viewer.Size()) {
        starts.push_back(offset);
        int64_t next = viewer.NextLineStart(offset);
        if (next <= offset)
            abort();
        offset = next;
    }
    return starts;
}

std::vector<int64_t> Backward(CViewer& viewer) {
    std::vector<int64_t> starts;
    int64_t offset = viewer.Size();
    while (offset > viewer.ByteOrderMarkLength()) {
        int64_t before = viewer.LineStartBefore(offset);
        if (before >= offset)
            abort();
        starts.insert(starts.begin(), before);
        offset = before;
    }
    return starts;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/qv-lines-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        abort();
    Folder = pattern;
    setenv("QUORVANE_DRIVES", ("T=" + Folder).c_str(), 1);
    InitCaseTables();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fopen((Folder + "/lines.txt").c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);
    const int encodings[] = {CTextFile::EncodingCodePage, CTextFile::EncodingUtf8};
    for (int encoding : encodings) {
        CViewer viewer;
        if (viewer.OpenForView(Westring("T:\\lines.txt")) != 0)
            abort();
        viewer.SetEncoding(encoding);
        if (Forward(viewer) != Backward(viewer))
            abort();
    }
    return 0;
}
