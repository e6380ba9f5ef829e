#include "script/values/ValueHeap.h"

#include <new>

#include "base/io/StreamWrite.h"
#include "base/strings/Estring.h"
#include "script/ScriptErrors.h"
#include "script/values/IScriptValue.h"

namespace {

CValueHeap* Current = nullptr;

CValueHeap& ProcessHeap() {
    static CValueHeap heap;
    return heap;
}

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

uintptr_t StackLimit = 0;

uintptr_t FrameAddress() {
    return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
}

}  // namespace

void CValueTracker::Register(IScriptValue* value) {
    Insert(value);
}

bool CValueTracker::Unregister(IScriptValue* value) {
    // Values die mostly in the order they were made, newest first.
    int last = Count() - 1;
    if (last >= 0 && At(last) == value) {
        RemoveAt(last);
        return true;
    }
    int index;
    uint32_t serial = value->Serial();
    if (Search(&serial, index) != 0 || At(index) != value)
        return false;
    RemoveAt(index);
    return true;
}

const uint32_t* CValueTracker::KeyOf(const IScriptValue* value) {
    return value->SerialField();
}

int CValueTracker::CompareKeys(const uint32_t* a, const uint32_t* b) {
    return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

CValueHeap::CValueHeap() = default;

CValueHeap::~CValueHeap() {
    FreeLeakedValues();
}

void* CValueHeap::AllocateScriptValue(size_t size) {
    size_t total = sizeof(TPieceHeader) + ((size + 7) & ~size_t(7));
    void* memory = nullptr;
    int last = m_recycle.Count() - 1;
    if (last >= 0 && static_cast<TPieceHeader*>(m_recycle.At(last))->size == total) {
        memory = m_recycle.RemoveAt(last);
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
    m_recycle.Add(memory);
}

void CValueHeap::ResetValuePool() {
    m_recycle.RemoveAll();
    m_pool.Reset();
    m_poolUsed = 0;
}

void CValueHeap::ListLeakedValues(IStreamWrite& out) {
    for (int i = 0; i < tracker.Count(); i++) {
        Estring line;
        line.Format("Variable %u\n", tracker.At(i)->Serial());
        out.Write(line.Data(), uint32_t(line.Length()));
    }
}

void CValueHeap::FreeLeakedValues() {
    if (tracker.Count() == 0)
        return;
    TObjectList<IScriptValue> all;
    TObjectList<IScriptValue> owners;
    for (int i = 0; i < tracker.Count(); i++)
        all.Add(tracker.At(i));
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

CValueHeap& CurrentValueHeap() {
    return Current ? *Current : ProcessHeap();
}

CValueHeapScope::CValueHeapScope() : m_saved(Current) {
    Current = &m_heap;
}

CValueHeapScope::~CValueHeapScope() {
    m_heap.FreeLeakedValues();
    Current = m_saved;
}

void ReleaseScriptValue(IScriptValue* value) {
    if (Releasing) {
        ReleaseQueue().Add(value);
        return;
    }
    Releasing = true;
    delete value;
    TObjectList<IScriptValue>& queue = ReleaseQueue();
    while (queue.Count() > 0)
        delete queue.RemoveAt(queue.Count() - 1);
    Releasing = false;
}

void CheckScriptNesting() {
    if (StackLimit != 0 && FrameAddress() < StackLimit)
        throw ERunError(nullptr, Westring("Nesting too deep"));
}

CScriptNestingGuard::CScriptNestingGuard() : m_saved(StackLimit) {
    if (StackLimit == 0)
        StackLimit = FrameAddress() - StackBudget;
}

CScriptNestingGuard::~CScriptNestingGuard() {
    StackLimit = m_saved;
}
