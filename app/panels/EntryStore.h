// EntryStore: an owning list of `entry` records (freed with entry::Free). A
// panel's re-read parks its tagged entries in one while the directory is read
// again, so that their tags can be given to the new entries of the same name.
#pragma once

#include "base/containers/ObjectStore.h"
#include "base/io/Entry.h"

class EntryStore : public TObjectStoreAbstract<entry> {};

// A new record of the given name, attributes and size, time 0, or null when
// memory is short.
entry* MakeEntry(const char32_t* name, uint16_t attributes, uint64_t size);
