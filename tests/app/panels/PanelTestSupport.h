// Helpers of the panel tests: entries made by hand, a panel filled with them,
// and the names or cells of a panel as plain text.
#pragma once

#include <string>
#include <vector>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/panels/EntryStore.h"
#include "app/panels/Panel.h"
#include "base/strings/CellString.h"
#include "base/strings/Westring.h"

namespace paneltest {

struct TEntrySpec {
    const char* name;
    uint16_t attributes;
    uint64_t size;
    uint32_t seconds;
};

inline entry* Make(const TEntrySpec& spec) {
    Westring name(spec.name);
    entry* item = MakeEntry(name.Data(), spec.attributes, spec.size);
    item->time = TTimestamp(spec.seconds, 0);
    bool parent = std::string(spec.name) == "..";
    item->sortClass = parent                                         ? SORTCLASS_PARENT
                      : (spec.attributes & FILE_ATTRIBUTE_DIRECTORY) ? SORTCLASS_DIRECTORY
                      : (spec.attributes & FILE_ATTRIBUTE_HIDDEN)    ? SORTCLASS_HIDDEN
                                                                     : SORTCLASS_FILE;
    return item;
}

inline void Fill(CPanel& panel, const std::vector<TEntrySpec>& specs) {
    panel.FreeEntries();
    for (const TEntrySpec& spec : specs) {
        if (panel.entryCount >= panel.entryCapacity)
            GrowEntryArray(&panel);
        panel.entries[panel.entryCount++] = Make(spec);
    }
}

inline std::string Utf8(const char32_t* text) {
    Estring out;
    Westring(text).ToUtf8(out);
    return std::string(out.Data());
}

// The names in panel order, separated by blanks.
inline std::string Names(const CPanel& panel) {
    std::string out;
    for (int i = 0; i < panel.entryCount; i++) {
        if (i)
            out += ' ';
        out += Utf8(panel.entries[i]->name);
    }
    return out;
}

// The characters of the cells as UTF-8.
inline std::string Text(const CellString& cells) {
    Westring text;
    for (int i = 0; i < cells.Length(); i++)
        text.AppendChar(cells.Data()[i].character);
    return Utf8(text.Data());
}

}  // namespace paneltest
