#include "script/values/ValueHeap.h"

#include <new>

#include "base/io/StreamWrite.h"
#include "base/strings/Estring.h"
#include "script/ScriptErrors.h"
#include "script/values/IScriptValue.h"

namespace {

// Deletions asked for while one is under way wait here.
TObjectList<IScriptValue>& ReleaseQueue() {
    static TObjectList<IScriptValue> queue;
    return queue;
}
bool Releasing = false;

// Every piece of a plain value starts with this header, so that its memory
// finds its way back to the heap it came from.
struct TPieceHeader {
    CValueHeap* heap;
    size_t size;
};
static_assert(sizeof(TPieceHeader) % 8 == 0, "values stay aligned");

// Where a recycled piece keeps the next one: just after its header, in the
// room the value had.
void** NextRecycled(void* piece) {
    return reinterpret_cast<void**>(static_cast<TPieceHeader*>(piece) + 1);
}

uintptr_t FrameAddress() {
    return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
}

}  // namespace

uintptr_t ScriptStackLimit = 0;
CValueHeap* RunValueHeap = nullptr;

CValueHeap& ProcessValueHeap() {
    static CValueHeap heap;
    return heap;
}

CValueHeap::CValueHeap() = default;

CValueHeap::~CValueHeap() {
    FreeLeakedValues();
}

void* CValueHeap::AllocateScriptValue(size_t size) {
    size_t total = sizeof(TPieceHeader) + ((size + 7) & ~size_t(7));
    void* memory = nullptr;
    if (m_recycled && static_cast<TPieceHeader*>(m_recycled)->size == total) {
        memory = m_recycled;
        m_recycled = *NextRecycled(memory);
    } else {
        bool allowed = total <= 0x7fffffff && (poolLimit == 0 || m_poolUsed + total <= poolLimit);
        memory = allowed ? m_pool.Allocate(int(total)) : nullptr;
        if (!memory)
            throw std::bad_alloc();
        m_poolUsed += total;
    }
    TPieceHeader* header = static_cast<TPieceHeader*>(memory);
    header->heap = this;
    header->size = total;
    liveAllocations++;
    return header + 1;
}

void CValueHeap::RecycleScriptValue(void* memory) {
    liveAllocations--;
    *NextRecycled(memory) = m_recycled;
    m_recycled = memory;
}

void CValueHeap::ResetValuePool() {
    m_recycled = nullptr;
    m_pool.Reset();
    m_poolUsed = 0;
}

void CValueHeap::ListLeakedValues(IStreamWrite& out) {
    for (IScriptValue* value = tracker.First(); value; value = CValueTracker::Next(value)) {
        Estring line;
        line.Format("Variable %u\n", value->Serial());
        out.Write(line.Data(), uint32_t(line.Length()));
    }
}

void CValueHeap::FreeLeakedValues() {
    if (tracker.Count() == 0)
        return;
    TObjectList<IScriptValue> all;
    TObjectList<IScriptValue> owners;
    for (IScriptValue* value = tracker.First(); value; value = CValueTracker::Next(value))
        all.Add(value);
    // First every value lets go of the others, so that freeing one frees
    // nothing else; then each is freed once. Parts of other values (map
    // keys) go with their owners, so they are set aside before anything is
    // freed.
    for (int i = 0; i < all.Count(); i++) {
        all.At(i)->DetachHandles();
        if (!all.At(i)->IsEmbedded())
            owners.Add(all.At(i));
    }
    for (int i = 0; i < owners.Count(); i++)
        ReleaseScriptValue(owners.At(i));
}

CValueHeapScope::CValueHeapScope() : m_saved(RunValueHeap) {
    RunValueHeap = &m_heap;
}

CValueHeapScope::~CValueHeapScope() {
    m_heap.FreeLeakedValues();
    RunValueHeap = m_saved;
}

void ReleaseScriptValue(IScriptValue* value) {
    if (!value->HoldsOtherValues()) {
        delete value;
        return;
    }
    if (Releasing) {
        try {
            ReleaseQueue().Add(value);
            return;
        } catch (std::bad_alloc&) {
            // Out of memory: no room to put it off, so it goes now, one
            // level deeper (its own nested values are put off again).
        }
        delete value;
        return;
    }
    Releasing = true;
    delete value;
    TObjectList<IScriptValue>& queue = ReleaseQueue();
    while (queue.Count() > 0)
        delete queue.RemoveAt(queue.Count() - 1);
    Releasing = false;
}

void RaiseNestingTooDeep() {
    throw ERunError(nullptr, Westring("Nesting too deep"));
}

CScriptNestingGuard::CScriptNestingGuard() : m_saved(ScriptStackLimit) {
    if (ScriptStackLimit == 0)
        ScriptStackLimit = FrameAddress() - StackBudget;
}

CScriptNestingGuard::~CScriptNestingGuard() {
    ScriptStackLimit = m_saved;
}
