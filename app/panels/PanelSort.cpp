#include "app/panels/PanelSort.h"

#include <cstdlib>

#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "base/strings/NameCompare.h"
#include "base/strings/Str32.h"

namespace {

// +1 for the ascending modes, -1 for the reversed ones; set before each sort.
int SortDirection = 1;

const char32_t* ExtensionOf(const char32_t* name)
{
    const char32_t* dot = Str32FindLastChar(name, '.');
    return dot ? dot + 1 : U"";
}

int CompareByName(const entry* a, const entry* b)
{
    return CompareNamesBySetting(a->name, b->name);
}

int CompareByExtension(const entry* a, const entry* b)
{
    int order = CompareNamesBySetting(ExtensionOf(a->name), ExtensionOf(b->name));
    return order ? order : CompareByName(a, b);
}

int CompareByTime(const entry* a, const entry* b)
{
    if (a->time.seconds != b->time.seconds)
        return a->time.seconds > b->time.seconds ? -1 : 1;
    if (a->time.nanoseconds != b->time.nanoseconds)
        return a->time.nanoseconds > b->time.nanoseconds ? -1 : 1;
    return CompareByName(a, b);
}

int CompareBySize(const entry* a, const entry* b)
{
    if (a->size != b->size)
        return a->size > b->size ? -1 : 1;
    return CompareByName(a, b);
}

typedef int (*TEntryKeyCompare)(const entry*, const entry*);

// By the key of a mode; modes 5 to 8 use the key of mode - 5.
const TEntryKeyCompare KeyCompares[4] = {CompareByName, CompareByExtension, CompareByTime, CompareBySize};

template <int Key>
int CompareEntries(const void* pa, const void* pb)
{
    const entry* a = *static_cast<entry* const*>(pa);
    const entry* b = *static_cast<entry* const*>(pb);
    // The class is never reversed: ".." and directories lead in both directions.
    if (a->sortClass != b->sortClass)
        return a->sortClass < b->sortClass ? -1 : 1;
    return KeyCompares[Key](a, b) * SortDirection;
}

typedef int (*TQsortCompare)(const void*, const void*);
const TQsortCompare ModeCompares[4] = {CompareEntries<0>, CompareEntries<1>, CompareEntries<2>, CompareEntries<3>};

}  // namespace

int CompareNamesBySetting(const char32_t* a, const char32_t* b)
{
    return Config.NaturalSort ? NameNaturalCompare(a, b) : NamePlainCompare(a, b);
}

void SortEntryArray(entry** entries, int count, int mode)
{
    if (mode < 0 || mode > 9 || mode == SORT_UNSORTED || mode == SORT_UNSORTED2 || count < 2)
        return;
    SortDirection = mode < SORT_REVERSED ? 1 : -1;
    qsort(entries, size_t(count), sizeof(entry*), ModeCompares[mode % SORT_REVERSED]);
}

void SortPanel(CPanel* panel)
{
    SortEntryArray(panel->entries, panel->entryCount, panel->sortMode);
}

int CompareEntryNames(const entry* a, const entry* b)
{
    return Str32CompareNoCase(a->name, b->name);
}
