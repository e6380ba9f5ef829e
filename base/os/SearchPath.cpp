#include "base/os/SearchPath.h"

#include "base/os/Environment.h"

namespace {

void AddElements(WestringStore& list, const Westring& text) {
    int start = 0;
    while (start <= text.Length()) {
        int end = start;
        while (end < text.Length() && text[end] != ';') {
            end++;
        }
        if (end > start) {
            list.Add(new Westring(text.Mid(start, end - start)));
        }
        start = end + 1;
    }
}

}  // namespace

void BuildSearchPathList(WestringStore& list, const Westring& pathAppend) {
    list.Add(new Westring("."));
    const Estring* path = TopEnvironment().Get(Estring("PATH"));
    if (path != nullptr) {
        AddElements(list, Westring(path->Data()));
    }
    AddElements(list, pathAppend);
}
