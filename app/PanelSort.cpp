#include "app/PanelSort.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/Config.h"
#include "app/Panel.h"
#include "base/strings/CaseTable.h"
#include "base/strings/NameCompare.h"
#include "base/strings/Str32.h"

namespace {

// An entry with its name folded once for the whole sort, and where the
// folded extension starts (the terminator when there is none).
struct TSortKey {
    entry* item;
    const char32_t* name;
    const char32_t* extension;
};

template <bool Natural>
inline int CompareFolded(const char32_t* a, const char32_t* b)
{
    return Natural ? NameNaturalCompareFolded(a, b) : NamePlainCompareFolded(a, b);
}

// The key order of a mode without its direction; ties of the key fall to the name.
template <int Key, bool Natural>
inline int CompareKeys(const TSortKey& a, const TSortKey& b)
{
    if (Key == SORT_EXTENSION) {
        int order = CompareFolded<Natural>(a.extension, b.extension);
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

// A stable merge sort keeps entries that compare equal (names that differ
// only in case) in the order they were read.
template <int Key, bool Natural>
void SortKeys(TSortKey* keys, int count, int direction)
{
    std::stable_sort(keys, keys + count, [direction](const TSortKey& a, const TSortKey& b) {
        // The class is never reversed: ".." and directories lead in both directions.
        if (a.item->sortClass != b.item->sortClass)
            return a.item->sortClass < b.item->sortClass;
        return CompareKeys<Key, Natural>(a, b) * direction < 0;
    });
}

template <bool Natural>
void SortKeysBy(int key, TSortKey* keys, int count, int direction)
{
    switch (key) {
    case SORT_NAME:
        return SortKeys<SORT_NAME, Natural>(keys, count, direction);
    case SORT_EXTENSION:
        return SortKeys<SORT_EXTENSION, Natural>(keys, count, direction);
    case SORT_TIME:
        return SortKeys<SORT_TIME, Natural>(keys, count, direction);
    default:
        return SortKeys<SORT_SIZE, Natural>(keys, count, direction);
    }
}

}  // namespace

int CompareNamesBySetting(const char32_t* a, const char32_t* b)
{
    return Config.NaturalSort ? NameNaturalCompare(a, b) : NamePlainCompare(a, b);
}

void SortEntryArray(entry** entries, int count, int mode)
{
    if (mode < 0 || mode > 9 || mode == SORT_UNSORTED || mode == SORT_UNSORTED2 || count < 2)
        return;
    int direction = mode < SORT_REVERSED ? 1 : -1;
    // Every name folded into one block.
    size_t units = 0;
    for (int i = 0; i < count; i++)
        units += size_t(Str32Length(entries[i]->name)) + 1;
    std::vector<char32_t> folded(units);
    std::vector<TSortKey> keys(static_cast<size_t>(count));
    const CCaseTable& table = CCaseTable::Instance();
    char32_t* out = folded.data();
    for (int i = 0; i < count; i++) {
        TSortKey& key = keys[size_t(i)];
        key.item = entries[i];
        key.name = out;
        const char32_t* dot = nullptr;
        for (const char32_t* in = entries[i]->name; *in; in++, out++) {
            *out = table.ToUpper(*in);
            if (*in == '.')
                dot = out;
        }
        *out = 0;
        key.extension = dot ? dot + 1 : out;
        out++;
    }
    if (Config.NaturalSort)
        SortKeysBy<true>(mode % SORT_REVERSED, keys.data(), count, direction);
    else
        SortKeysBy<false>(mode % SORT_REVERSED, keys.data(), count, direction);
    for (int i = 0; i < count; i++)
        entries[i] = keys[size_t(i)].item;
}

void SortPanel(CPanel* panel)
{
    SortEntryArray(panel->entries, panel->entryCount, panel->sortMode);
}

int CompareEntryNames(const entry* a, const entry* b)
{
    return Str32CompareNoCase(a->name, b->name);
}
