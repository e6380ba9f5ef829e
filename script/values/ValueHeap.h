// Where script values live: the live-value registry CValueTracker, the pool
// and recycle list that plain values are carved from, and the serial
// counter. Each script run has a heap of its own (a script started by a
// script too), made current for the run's length; values made outside any
// run belong to the heap of the process.
//
// Deleting a value goes through ReleaseScriptValue: a deletion that happens
// while another is under way is queued and done after it, so that dropping a
// list nested a million deep frees it in a loop, not by recursion.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/containers/MemoryPool.h"
#include "base/containers/TObjectList.h"
#include "script/values/IScriptValue.h"

class IStreamWrite;

// Registered values in serial order; does not own them. The list is
// threaded through the values themselves: every value a script touches, a
// temporary included, registers and unregisters, so each costs a few
// pointer writes and never a search. Serial numbers only grow, so appending
// keeps the order.
class CValueTracker {
public:
    void Register(IScriptValue* value);
    // False when the value is not registered.
    bool Unregister(IScriptValue* value);
    int Count() const { return m_count; }
    // The registered values, oldest first: First, then Next until null.
    IScriptValue* First() const { return m_first; }
    static IScriptValue* Next(const IScriptValue* value);

private:
    IScriptValue* m_first = nullptr;
    IScriptValue* m_last = nullptr;
    int m_count = 0;
};

class CValueHeap {
public:
    CValueHeap();
    ~CValueHeap();
    CValueHeap(const CValueHeap&) = delete;
    CValueHeap& operator=(const CValueHeap&) = delete;

    // Memory for one plain value: the last recycled piece, else the pool.
    void* AllocateScriptValue(size_t size);
    void RecycleScriptValue(void* memory);
    // Forgets the recycled pieces and empties the pool.
    void ResetValuePool();

    // "Variable <serial>\n" for each registered value, in serial order.
    void ListLeakedValues(IStreamWrite& out);
    // Frees every registered value once, whatever they hold of each other.
    void FreeLeakedValues();

    CValueTracker tracker;
    uint32_t serialCounter = 0;
    // Where a value freed twice is reported; none outside a run.
    IStreamWrite* reportStream = nullptr;
    // Plain values made from this heap and not yet recycled.
    int liveAllocations = 0;
    // The most bytes the pool may hand out (0: as much as the system gives);
    // past it an allocation fails as the system's would. A seam for the
    // tests: the sanitizers end the process instead of failing an allocation.
    size_t poolLimit = 0;

private:
    size_t m_poolUsed = 0;
    MemoryPool m_pool;
    // The recycled pieces, newest first, each holding the next one: freeing
    // a value never allocates, so a script that ran out of memory can still
    // free everything it made.
    void* m_recycled = nullptr;
};

// The heap of the run under way (null outside any run), and that of the
// process, which holds the values made outside a run.
extern CValueHeap* RunValueHeap;
CValueHeap& ProcessValueHeap();
// The heap new values are registered in.
inline CValueHeap& CurrentValueHeap() {
    return RunValueHeap ? *RunValueHeap : ProcessValueHeap();
}

// The registry's list operations, inline: every value a script makes and
// drops passes through them.
inline void CValueTracker::Register(IScriptValue* value) {
    value->m_livePrev = m_last;
    value->m_liveNext = nullptr;
    value->m_registered = true;
    if (m_last)
        m_last->m_liveNext = value;
    else
        m_first = value;
    m_last = value;
    m_count++;
}

inline bool CValueTracker::Unregister(IScriptValue* value) {
    if (!value->m_registered)
        return false;
    value->m_registered = false;
    if (value->m_livePrev)
        value->m_livePrev->m_liveNext = value->m_liveNext;
    else
        m_first = value->m_liveNext;
    if (value->m_liveNext)
        value->m_liveNext->m_livePrev = value->m_livePrev;
    else
        m_last = value->m_livePrev;
    value->m_livePrev = value->m_liveNext = nullptr;
    m_count--;
    return true;
}

inline IScriptValue* CValueTracker::Next(const IScriptValue* value) {
    return value->m_liveNext;
}

// Makes a fresh heap current for its lifetime and restores the one before.
class CValueHeapScope {
public:
    CValueHeapScope();
    ~CValueHeapScope();
    CValueHeapScope(const CValueHeapScope&) = delete;
    CValueHeapScope& operator=(const CValueHeapScope&) = delete;
    CValueHeap& Heap() { return m_heap; }

private:
    CValueHeap m_heap;
    CValueHeap* m_saved;
};

// The lowest machine stack address the current run may reach; 0 for none.
extern uintptr_t ScriptStackLimit;
[[noreturn]] void RaiseNestingTooDeep();
// Raises the run error "Nesting too deep" (without a position) when the
// machine stack has grown past the budget of the current run. Inline: every
// statement and expression asks.
inline void CheckScriptNesting() {
    if (ScriptStackLimit != 0 && reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) < ScriptStackLimit)
        RaiseNestingTooDeep();
}

// Sets the stack budget for its lifetime, measured from where it stands,
// unless an outer guard set one already.
class CScriptNestingGuard {
public:
    static const size_t StackBudget = 384 * 1024;
    CScriptNestingGuard();
    ~CScriptNestingGuard();
    CScriptNestingGuard(const CScriptNestingGuard&) = delete;
    CScriptNestingGuard& operator=(const CScriptNestingGuard&) = delete;

private:
    uintptr_t m_saved;
};
