#include "base/strings/SemicolonList.h"

void SplitSemicolonList(Westring& list, WestringStore& store) {
    const int n = list.Length();
    int start = 0;
    while (start < n) {
        int end = start;
        while (end < n && list[end] != ';')
            end++;
        // Mid takes a count of 0 as "the rest": an empty entry is made as such.
        store.Add(end > start ? new Westring(list.Mid(start, end - start)) : new Westring());
        start = end + 1;
    }
    list.Clear();
}

Westring JoinSemicolonList(const WestringStore& store) {
    Westring joined;
    for (int i = 0; i < store.Count(); i++) {
        const Westring* item = store.At(i);
        if (item == nullptr || item->IsEmpty())
            continue;
        if (!joined.IsEmpty())
            joined += ';';
        joined += *item;
    }
    return joined;
}
