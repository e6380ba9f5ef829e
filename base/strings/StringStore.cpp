#include "base/strings/StringStore.h"

int EstringStore::AddFields(const char* text, char separator, char quote) {
    Estring field;
    bool quoted = false;
    int count = 1;
    for (const char* p = text;; ++p) {
        char c = *p;
        if (c == 0) {
            Add(new Estring(field));
            return count;
        }
        if (quote != 0 && c == quote) {
            if (!quoted) {
                quoted = true;
            } else if (p[1] == quote) {
                field += quote;
                ++p;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == separator && !quoted) {
            Add(new Estring(field));
            field.Clear();
            ++count;
            continue;
        }
        field += c;
    }
}

Estring JoinWithCommas(const EstringStore& list) {
    Estring joined;
    for (int i = 0; i < list.Count(); ++i) {
        if (i > 0)
            joined += ',';
        const Estring* item = list.At(i);
        if (item != nullptr)
            joined += *item;
    }
    return joined;
}
