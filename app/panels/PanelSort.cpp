#include "app/panels/PanelSort.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "base/strings/CaseTable.h"
#include "base/strings/NameCompare.h"
#include "base/strings/Str32.h"

namespace {

// An entry with its name folded once for the whole sort (16-bit units unless a
// folded character needs more), where the folded extension starts (the
// terminator when there is none), and its place before the sort, which
// settles ties so that entries equal by the order (names that differ only in
// case) keep the order they were read in.
template <class Unit>
struct TSortKey {
    const Unit* name;
    entry* item;
    uint32_t extension;  // offset into name
    uint32_t index;
};

template <bool Natural, class Unit>
inline int CompareFolded(const Unit* a, const Unit* b) {
    return Natural ? name_order::NaturalCompare(a, b, name_order::TAlreadyFolded())
                   : name_order::PlainCompare(a, b, name_order::TAlreadyFolded());
}

// The key order of a mode without its direction; ties of the key fall to the name.
template <int Key, bool Natural, class Unit>
inline int CompareKeys(const TSortKey<Unit>& a, const TSortKey<Unit>& b) {
    if (Key == SORT_EXTENSION) {
        int order = CompareFolded<Natural>(a.name + a.extension, b.name + b.extension);
        if (order)
            return order;
    } else if (Key == SORT_TIME) {
        const TTimestamp& ta = a.item->time;
        const TTimestamp& tb = b.item->time;
        if (ta.seconds != tb.seconds)
            return ta.seconds > tb.seconds ? -1 : 1;
        if (ta.nanoseconds != tb.nanoseconds)
            return ta.nanoseconds > tb.nanoseconds ? -1 : 1;
    } else if (Key == SORT_SIZE) {
        if (a.item->size != b.item->size)
            return a.item->size > b.item->size ? -1 : 1;
    }
    return CompareFolded<Natural>(a.name, b.name);
}

template <int Key, bool Natural, class Unit>
void SortKeys(TSortKey<Unit>* keys, int count, int direction) {
    std::sort(keys, keys + count, [direction](const TSortKey<Unit>& a, const TSortKey<Unit>& b) {
        // The class is never reversed: ".." and directories lead in both directions.
        if (a.item->sortClass != b.item->sortClass)
            return a.item->sortClass < b.item->sortClass;
        int order = CompareKeys<Key, Natural>(a, b) * direction;
        return order ? order < 0 : a.index < b.index;
    });
}

template <bool Natural, class Unit>
void SortKeysBy(int key, TSortKey<Unit>* keys, int count, int direction) {
    switch (key) {
    case SORT_NAME: return SortKeys<SORT_NAME, Natural>(keys, count, direction);
    case SORT_EXTENSION: return SortKeys<SORT_EXTENSION, Natural>(keys, count, direction);
    case SORT_TIME: return SortKeys<SORT_TIME, Natural>(keys, count, direction);
    default: return SortKeys<SORT_SIZE, Natural>(keys, count, direction);
    }
}

// Folds every name into one block of units, sorts the keys and puts the
// entries in their order.
template <class Unit>
void SortFolded(entry** entries, int count, int mode, size_t units) {
    std::vector<Unit> folded(units);
    std::vector<TSortKey<Unit>> keys(static_cast<size_t>(count));
    const CCaseTable& table = CCaseTable::Instance();
    Unit* out = folded.data();
    for (int i = 0; i < count; i++) {
        TSortKey<Unit>& key = keys[size_t(i)];
        key.item = entries[i];
        key.name = out;
        key.index = uint32_t(i);
        const Unit* dot = nullptr;
        for (const char32_t* in = entries[i]->name; *in; in++, out++) {
            *out = Unit(table.ToUpper(*in));
            if (*in == '.')
                dot = out;
        }
        *out = 0;
        key.extension = uint32_t((dot ? dot + 1 : out) - key.name);
        out++;
    }
    int direction = mode < SORT_REVERSED ? 1 : -1;
    if (Config.NaturalSort)
        SortKeysBy<true>(mode % SORT_REVERSED, keys.data(), count, direction);
    else
        SortKeysBy<false>(mode % SORT_REVERSED, keys.data(), count, direction);
    for (int i = 0; i < count; i++)
        entries[i] = keys[size_t(i)].item;
}

}  // namespace

int CompareNamesBySetting(const char32_t* a, const char32_t* b) {
    return Config.NaturalSort ? NameNaturalCompare(a, b) : NamePlainCompare(a, b);
}

void SortEntryArray(entry** entries, int count, int mode) {
    if (mode < 0 || mode > 9 || mode == SORT_UNSORTED || mode == SORT_UNSORTED2 || count < 2)
        return;
    // 16-bit units hold every folded name unless a name has a character
    // beyond them (folding keeps a character in its plane).
    size_t units = 0;
    bool wide = false;
    for (int i = 0; i < count; i++) {
        const char32_t* name = entries[i]->name;
        int length = 0;
        for (; name[length]; length++)
            wide = wide || name[length] >= 0x10000;
        units += size_t(length) + 1;
    }
    if (wide)
        SortFolded<char32_t>(entries, count, mode, units);
    else
        SortFolded<char16_t>(entries, count, mode, units);
}

void SortPanel(CPanel* panel) {
    SortEntryArray(panel->entries, panel->entryCount, panel->sortMode);
}

int CompareEntryNames(const entry* a, const entry* b) {
    return Str32CompareNoCase(a->name, b->name);
}
