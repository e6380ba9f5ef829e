// TObjectList<T>: a typed, non-owning list of T pointers with a cursor. The
// items are never deleted by the list.
#pragma once

#include "base/containers/ObjectList.h"
#include "base/containers/TypedList.h"

template <class T>
class TObjectList : public TTypedList<T, ObjectList> {};
