// Copying an owning collection of records item by item, so that two panels
// can exchange their position stores and link caches by value.
#pragma once

// Empties `to` and fills it with copies of the items of `from`.
template <class TItem, class TSet>
TSet& AssignDeepCopy(TSet& to, const TSet& from) {
    if (&to == &from)
        return to;
    to.FreeAll();
    for (int i = 0; i < from.Count(); i++)
        to.Insert(new TItem(*from.At(i)));
    return to;
}
