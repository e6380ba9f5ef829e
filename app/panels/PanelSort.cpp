#include "app/panels/PanelSort.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "base/strings/CaseTable.h"
#include "base/strings/NameCompare.h"
#include "base/os/Threads.h"
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
    uint32_t extension : 24;  // offset into name
    uint32_t sortClass : 8;   // the entry's, kept here so that most comparisons touch only the keys
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

// The order of the sort: total, as ties fall to the place before the sort, so
// that sorting parts apart and merging them gives the order a single sort gives.
template <int Key, bool Natural, class Unit>
struct TKeyOrder {
    int direction;
    bool operator()(const TSortKey<Unit>& a, const TSortKey<Unit>& b) const {
        // The class is never reversed: ".." and directories lead in both directions.
        if (a.sortClass != b.sortClass)
            return a.sortClass < b.sortClass;
        int order = CompareKeys<Key, Natural>(a, b) * direction;
        return order ? order < 0 : a.index < b.index;
    }
};

// Below this many entries one thread sorts; above it the keys are split into
// parts sorted side by side and then merged.
const int SplitSortFrom = 16384;
const int MostSortParts = 4;

template <class Key, class Order>
struct TSortPart {
    Key* first;
    Key* last;
    Order order;
    static unsigned __stdcall Run(void* argument) {
        TSortPart* part = static_cast<TSortPart*>(argument);
        std::sort(part->first, part->last, part->order);
        return 0;
    }
};

int SortParts(int count) {
    if (count < SplitSortFrom)
        return 1;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    int cores = int(system.dwNumberOfProcessors);
    return cores < 2 ? 1 : std::min(cores, MostSortParts);
}

// Sorts the keys and puts the entries in their order.
template <int Key, bool Natural, class Unit>
void SortKeys(TSortKey<Unit>* keys, int count, int direction, entry** entries) {
    typedef TSortKey<Unit> TKey;
    typedef TKeyOrder<Key, Natural, Unit> TOrder;
    TOrder order{direction};
    int parts = SortParts(count);
    if (parts == 1) {
        std::sort(keys, keys + count, order);
        for (int i = 0; i < count; i++)
            entries[i] = keys[i].item;
        return;
    }
    std::vector<TSortPart<TKey, TOrder>> shares(static_cast<size_t>(parts));
    std::vector<HANDLE> threads(static_cast<size_t>(parts), nullptr);
    std::vector<int> bounds(static_cast<size_t>(parts) + 1);
    for (int i = 0; i <= parts; i++)
        bounds[size_t(i)] = int(int64_t(count) * i / parts);
    for (int i = 0; i < parts; i++) {
        shares[size_t(i)] = {keys + bounds[size_t(i)], keys + bounds[size_t(i) + 1], order};
        // The first part is this thread's; a part whose thread cannot start is sorted here too.
        if (i > 0)
            threads[size_t(i)] = StartThread(TSortPart<TKey, TOrder>::Run, &shares[size_t(i)]);
    }
    for (int i = 0; i < parts; i++) {
        if (threads[size_t(i)] == nullptr)
            TSortPart<TKey, TOrder>::Run(&shares[size_t(i)]);
    }
    for (HANDLE thread : threads) {
        if (thread != nullptr) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
    }
    // The parts are merged straight into the entry array: the head that
    // comes first of the few parts goes next.
    std::vector<TKey*> heads(static_cast<size_t>(parts));
    for (int i = 0; i < parts; i++)
        heads[size_t(i)] = keys + bounds[size_t(i)];
    for (int out = 0; out < count; out++) {
        int best = -1;
        for (int i = 0; i < parts; i++) {
            if (heads[size_t(i)] != keys + bounds[size_t(i) + 1] &&
                (best < 0 || order(*heads[size_t(i)], *heads[size_t(best)])))
                best = i;
        }
        entries[out] = heads[size_t(best)]->item;
        heads[size_t(best)]++;
    }
}

template <bool Natural, class Unit>
void SortKeysBy(int key, TSortKey<Unit>* keys, int count, int direction, entry** entries) {
    switch (key) {
    case SORT_NAME: return SortKeys<SORT_NAME, Natural>(keys, count, direction, entries);
    case SORT_EXTENSION: return SortKeys<SORT_EXTENSION, Natural>(keys, count, direction, entries);
    case SORT_TIME: return SortKeys<SORT_TIME, Natural>(keys, count, direction, entries);
    default: return SortKeys<SORT_SIZE, Natural>(keys, count, direction, entries);
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
        key.sortClass = uint8_t(entries[i]->sortClass);
        const Unit* dot = nullptr;
        for (const char32_t* in = entries[i]->name; *in; in++, out++) {
            *out = Unit(table.ToUpper(*in));
            if (*in == '.')
                dot = out;
        }
        *out = 0;
        // No name comes near 16M units; one that did would still sort
        // within itself.
        key.extension = uint32_t(std::min<ptrdiff_t>((dot ? dot + 1 : out) - key.name, 0xFFFFFF));
        out++;
    }
    int direction = mode < SORT_REVERSED ? 1 : -1;
    if (Config.NaturalSort)
        SortKeysBy<true>(mode % SORT_REVERSED, keys.data(), count, direction, entries);
    else
        SortKeysBy<false>(mode % SORT_REVERSED, keys.data(), count, direction, entries);
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
