// TAutoObjectStore<T>: the element store of a script list: an array of
// handle cells, each a TAutoPtr<T>. Cells are carved from chunks the store
// owns and never move, so a reference into a list can point at its cell;
// emptying the store releases every cell's handle but keeps their memory
// until the store goes. Chunks grow with the list (8 cells, then doubling),
// so that a small list costs little.
#pragma once

#include <cstdlib>
#include <new>

#include "base/containers/TObjectList.h"
#include "script/values/AutoPtr.h"

template <class T>
class TAutoObjectStore {
public:
    using Cell = TAutoPtr<T>;

    TAutoObjectStore() = default;
    ~TAutoObjectStore() {
        ReleaseAll();
        for (int i = 0; i < m_chunks.Count(); i++)
            std::free(m_chunks.At(i));
    }
    TAutoObjectStore(const TAutoObjectStore&) = delete;
    TAutoObjectStore& operator=(const TAutoObjectStore&) = delete;

    int Count() const { return m_cells.Count(); }
    Cell* CellAt(int index) const { return m_cells.At(index); }

    // A new cell sharing the handle's object (empty for an empty handle),
    // appended, or inserted before `index` when that is inside the list.
    Cell* Add(const Cell& handle) { return Place(handle, Count()); }
    Cell* InsertAt(int index, const Cell& handle) { return Place(handle, index); }

    // Releases every cell (an object goes with its last handle) and empties
    // the array; the cells' memory stays with the store.
    void ReleaseAll() {
        // Cells leave the array first: releasing one may run code that looks
        // at this list again.
        int n = m_cells.Count();
        Cell** cells = n ? static_cast<Cell**>(std::malloc(sizeof(Cell*) * size_t(n))) : nullptr;
        if (n && !cells)
            throw std::bad_alloc();
        for (int i = 0; i < n; i++)
            cells[i] = m_cells.At(i);
        m_cells.RemoveAll();
        for (int i = 0; i < n; i++)
            cells[i]->~Cell();
        std::free(cells);
    }
    // Lets go of every cell's object without releasing it (end-of-run
    // clean-up of values that hold each other).
    void ForgetAll() {
        for (int i = 0; i < m_cells.Count(); i++)
            m_cells.At(i)->Forget();
    }

private:
    Cell* Place(const Cell& handle, int index) {
        if (m_used == m_room) {
            int room = m_room == 0 ? 8 : m_room * 2;
            if (room > 65536)
                room = 65536;
            void* chunk = std::malloc(sizeof(Cell) * size_t(room));
            if (!chunk)
                throw std::bad_alloc();
            m_chunks.Add(chunk);
            m_chunk = static_cast<char*>(chunk);
            m_room = room;
            m_used = 0;
        }
        Cell* cell = new (m_chunk + sizeof(Cell) * size_t(m_used)) Cell(handle);
        m_used++;
        if (index >= Count())
            m_cells.Add(cell);
        else
            m_cells.InsertAt(cell, index);
        return cell;
    }

    TObjectList<Cell> m_cells;
    TObjectList<void> m_chunks;
    char* m_chunk = nullptr;
    int m_room = 0;
    int m_used = 0;
};
