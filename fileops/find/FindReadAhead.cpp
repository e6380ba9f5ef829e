#include "fileops/find/FindReadAhead.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <thread>

#include "base/io/DirScanner.h"
#include "base/mask/MaskExpression.h"
#include "base/os/Threads.h"
#include "base/strings/Str32.h"
#include "fileops/FileContainsText.h"
#include "fileops/find/FileFindJob.h"
#include "fileops/find/SearchFileForText.h"

namespace {

const uint16_t AttributeDirectory = 0x10;

// Listings ahead per helper: enough that a helper never waits for the walk
// to ask, few enough that a tree of huge directories holds only a handful.
const size_t ListingsPerHelper = 4;

bool IsDotName(const char32_t* name) {
    return name[0] == U'.' && (name[1] == 0 || (name[1] == U'.' && name[2] == 0));
}

// A directory with more files to test than this shares the tests out among
// the helpers; with fewer, handing them round costs more than it saves.
const size_t ShareTestsFrom = 8;

// Reads the directory of `listing` into it, testing each entry against the
// masks. The files the masks took whose content is to be tested are added
// to `candidates` (by their place in the listing) when it is given, else
// tested here. False when the walk was stopped part-way.
bool ReadListing(TFileFindJob& job, TFindListing& listing, DWORD attributeMask, MaskExpression& mask,
                 std::vector<size_t>* candidates);

void TestItem(TFileFindJob& job, TFindListing& listing, size_t index) {
    const TCONFIG& config = *job.config;
    TFindListing::TItem& at = listing.items[index];
    Westring path = AddTrailingBackslash(listing.directory);
    path += Westring(at.record->name);
    at.result = FileContainsText(path, *job.text, config.FFCase != 0, config.FFWholeWord != 0);
}

bool ReadListing(TFileFindJob& job, TFindListing& listing, DWORD attributeMask, MaskExpression& mask,
                 std::vector<size_t>* candidates) {
    const bool testing = !job.text->IsEmpty();
    CDirScanner scanner(listing.directory);
    entry* item = nullptr;
    DWORD error = scanner.FindFirst(Westring("*"), attributeMask | CDirScanner::ScanSeparateRecords, &item);
    for (; error == 0; error = scanner.FindNext(&item)) {
        if (job.stop != 0) {
            entry::Free(item);
            return false;
        }
        TFindListing::TItem added{item, 0, FileTextNotFound};
        try {
            listing.items.push_back(added);
        } catch (...) {
            entry::Free(item);
            throw;
        }
        if (IsDotName(item->name))
            continue;
        TFindListing::TItem& at = listing.items.back();
        at.matched = mask.Match(*job.masks, listing.directory, item);
        if (at.matched >= 1 && testing && (item->attributes & AttributeDirectory) == 0) {
            if (candidates != nullptr)
                candidates->push_back(listing.items.size() - 1);
            else
                TestItem(job, listing, listing.items.size() - 1);
        }
    }
    return true;
}

}  // namespace

TFindListing::~TFindListing() {
    for (TItem& item : items)
        entry::Free(item.record);
}

std::unique_ptr<TFindListing> ListFindDirectory(TFileFindJob& job, const Westring& directory, DWORD attributeMask) {
    auto listing = std::make_unique<TFindListing>();
    listing->directory = directory;
    MaskExpression mask;
    listing->complete = ReadListing(job, *listing, attributeMask, mask, nullptr);
    return listing;
}

CFindReadAhead::CFindReadAhead(TFileFindJob& job, DWORD attributeMask, int helpers)
    : job(job), attributeMask(attributeMask), helpers(std::max(0, std::min(helpers, MaxHelpers))),
      room(ListingsPerHelper * static_cast<size_t>(std::max(0, std::min(helpers, MaxHelpers)))) {}

CFindReadAhead::~CFindReadAhead() {
    {
        std::lock_guard<std::mutex> hold(lock);
        quit = true;
    }
    wake.notify_all();
    for (CWinHandle& thread : threads) {
        if (thread.IsValid())
            thread.WaitAndClose();
    }
}

int CFindReadAhead::DefaultHelpers() {
    // The processors this process may use, not all the machine has: more
    // helpers than those only take turns and slow the walk down.
    DWORD_PTR mine = 0, all = 0;
    int processors = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &mine, &all)) {
        for (; mine != 0; mine &= mine - 1)
            processors++;
    } else {
        processors = static_cast<int>(std::thread::hardware_concurrency());
    }
    if (processors <= 1)
        return 0;
    return std::min(processors, static_cast<int>(MaxHelpers));
}

int CFindReadAhead::FindSlot(const Westring& directory) const {
    for (size_t i = 0; i < slots.size(); i++) {
        if (Str32Compare(slots[i]->listing->directory.Data(), directory.Data()) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void CFindReadAhead::StartHelpers() {
    started = true;
    for (int i = 0; i < helpers; i++)
        threads[i].Reset(StartThread(HelperRoutine, this));
}

bool CFindReadAhead::HasRoom() {
    std::lock_guard<std::mutex> hold(lock);
    return slots.size() < room;
}

void CFindReadAhead::Ahead(const std::vector<const Westring*>& directories) {
    if (helpers == 0)
        return;
    bool added = false;
    {
        std::lock_guard<std::mutex> hold(lock);
        for (const Westring* directory : directories) {
            if (slots.size() >= room)
                break;
            if (FindSlot(*directory) >= 0)
                continue;
            auto slot = std::make_unique<TSlot>();
            slot->listing = std::make_unique<TFindListing>();
            slot->listing->directory = *directory;
            slots.push_back(std::move(slot));
            added = true;
        }
        if (added && !started)
            StartHelpers();
    }
    if (added)
        wake.notify_all();
}

std::unique_ptr<TFindListing> CFindReadAhead::Take(const Westring& directory, bool (*poll)()) {
    if (helpers == 0)
        return ListFindDirectory(job, directory, attributeMask);
    std::unique_lock<std::mutex> hold(lock);
    int at = FindSlot(directory);
    if (at < 0) {
        // Not asked for: listed here, with the helpers' help for its files.
        auto slot = std::make_unique<TSlot>();
        slot->listing = std::make_unique<TFindListing>();
        slot->listing->directory = directory;
        slots.push_back(std::move(slot));
        at = static_cast<int>(slots.size()) - 1;
    }
    TSlot* slot = slots[at].get();
    if (slot->state == State::Waiting) {
        // Not begun: made here, without waiting for a helper to be free.
        slot->state = State::Listing;
        if (walkMask == nullptr)
            walkMask = std::make_unique<MaskExpression>();
        MakeListing(*slot, *walkMask, hold);
    }
    while (slot->state != State::Listed) {
        // While it waits, the walk tests files of the directory too.
        if (slot->state == State::Testing && slot->nextCandidate.load() < slot->candidates.size()) {
            TestShare(*slot, hold);
            continue;
        }
        listed.wait_for(hold, std::chrono::milliseconds(50));
        if (slot->state == State::Listed)
            break;
        if (job.stop != 0)
            return nullptr;
        if (poll != nullptr) {
            // The keyboard is looked at without the lock: the helpers go on.
            hold.unlock();
            const bool broken = poll();
            hold.lock();
            if (broken && slot->state != State::Listed)
                return nullptr;
        }
    }
    std::unique_ptr<TFindListing> listing = std::move(slot->listing);
    for (size_t i = 0; i < slots.size(); i++) {
        if (slots[i].get() == slot) {
            slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    return listing;
}

void CFindReadAhead::Drop(const Westring& directory) {
    std::unique_lock<std::mutex> hold(lock);
    int at = FindSlot(directory);
    if (at < 0)
        return;
    // A listing being made is its makers' until it is done.
    while (slots[at]->state == State::Listing || slots[at]->state == State::Testing) {
        listed.wait(hold);
        at = FindSlot(directory);
    }
    slots.erase(slots.begin() + at);
}

void CFindReadAhead::MakeListing(TSlot& slot, MaskExpression& mask, std::unique_lock<std::mutex>& hold) {
    TFindListing& listing = *slot.listing;
    hold.unlock();
    bool read = false;
    try {
        read = ReadListing(job, listing, attributeMask, mask, &slot.candidates);
    } catch (...) {
        // Short of memory: the listing stays incomplete, as a stopped one
        // does, and the walk lists the directory again itself.
        slot.candidates.clear();
    }
    if (!read) {
        slot.candidates.clear();
    } else if (slot.candidates.size() < ShareTestsFrom) {
        try {
            for (size_t index : slot.candidates) {
                if (job.stop != 0) {
                    read = false;
                    break;
                }
                TestItem(job, listing, index);
            }
        } catch (...) {
            read = false;
        }
        slot.candidates.clear();
    }
    listing.complete = read;
    hold.lock();
    if (slot.candidates.empty()) {
        slot.state = State::Listed;
        listed.notify_all();
        return;
    }
    slot.state = State::Testing;
    if (!started)
        StartHelpers();
    wake.notify_all();
    listed.notify_all();  // the walk, when it waits for this directory, helps
    TestShare(slot, hold);
}

void CFindReadAhead::TestShare(TSlot& slot, std::unique_lock<std::mutex>& hold) {
    slot.testers++;
    hold.unlock();
    size_t tested = 0;
    bool whole = true;
    const size_t count = slot.candidates.size();
    for (size_t next; (next = slot.nextCandidate.fetch_add(1)) < count; tested++) {
        if (job.stop != 0) {
            whole = false;
            continue;
        }
        try {
            TestItem(job, *slot.listing, slot.candidates[next]);
        } catch (...) {
            whole = false;
        }
    }
    hold.lock();
    if (!whole)
        slot.listing->complete = false;
    slot.tested += tested;
    // The last one out: nobody touches the slot after this.
    if (--slot.testers == 0 && slot.tested == count) {
        slot.state = State::Listed;
        listed.notify_all();
    }
}

CFindReadAhead::TSlot* CFindReadAhead::SlotToShare() {
    for (auto& candidate : slots) {
        if (candidate->state == State::Testing && candidate->nextCandidate.load() < candidate->candidates.size())
            return candidate.get();
    }
    return nullptr;
}

unsigned __stdcall CFindReadAhead::HelperRoutine(void* self) {
    static_cast<CFindReadAhead*>(self)->Help();
    return 0;
}

void CFindReadAhead::Help() {
    // Only the walk looks at the keyboard; a helper stops when the walk is
    // stopped or a break was asked for.
    SetSearchEscapePolling(false);
    MaskExpression mask;
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
        TSlot* waiting = nullptr;
        TSlot* sharing = nullptr;
        wake.wait(hold, [&] {
            if (quit)
                return true;
            // Files of a directory already read first: the walk may be
            // waiting for them.
            sharing = SlotToShare();
            if (sharing != nullptr)
                return true;
            for (auto& candidate : slots) {
                if (candidate->state == State::Waiting) {
                    waiting = candidate.get();
                    return true;
                }
            }
            return false;
        });
        if (quit)
            return;
        if (sharing != nullptr) {
            TestShare(*sharing, hold);
        } else {
            waiting->state = State::Listing;
            MakeListing(*waiting, mask, hold);
        }
    }
}
