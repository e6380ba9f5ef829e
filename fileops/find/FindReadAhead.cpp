#include "fileops/find/FindReadAhead.h"

#include <algorithm>
#include <chrono>
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

// Lists the directory of `listing` into it, testing each entry against the
// masks and each file they take against the text.
void FillListing(TFileFindJob& job, TFindListing& listing, DWORD attributeMask, MaskExpression& mask) {
    const TCONFIG& config = *job.config;
    const Westring& text = *job.text;
    CDirScanner scanner(listing.directory);
    entry* item = nullptr;
    DWORD error = scanner.FindFirst(Westring("*"), attributeMask | CDirScanner::ScanSeparateRecords, &item);
    for (; error == 0; error = scanner.FindNext(&item)) {
        if (job.stop != 0) {
            entry::Free(item);
            return;
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
        if (at.matched >= 1 && !text.IsEmpty() && (item->attributes & AttributeDirectory) == 0) {
            Westring path = AddTrailingBackslash(listing.directory);
            path += Westring(item->name);
            at.result = FileContainsText(path, text, config.FFCase != 0, config.FFWholeWord != 0);
        }
    }
    listing.complete = true;
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
    FillListing(job, *listing, attributeMask, mask);
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

size_t CFindReadAhead::Outstanding() {
    std::lock_guard<std::mutex> hold(lock);
    return slots.size();
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
    {
        std::unique_lock<std::mutex> hold(lock);
        int at = FindSlot(directory);
        if (at >= 0 && slots[at]->state != State::Waiting) {
            while (slots[at]->state == State::Listing) {
                listed.wait_for(hold, std::chrono::milliseconds(50));
                at = FindSlot(directory);
                if (slots[at]->state == State::Listing && (job.stop != 0 || (poll != nullptr && poll())))
                    return nullptr;
            }
            std::unique_ptr<TFindListing> listing = std::move(slots[at]->listing);
            slots.erase(slots.begin() + at);
            return listing;
        }
        // Not begun: listed here, without waiting for a helper to be free.
        if (at >= 0)
            slots.erase(slots.begin() + at);
    }
    return ListFindDirectory(job, directory, attributeMask);
}

void CFindReadAhead::Drop(const Westring& directory) {
    std::unique_lock<std::mutex> hold(lock);
    int at = FindSlot(directory);
    if (at < 0)
        return;
    // A listing being made is the helper's until it is done.
    while (slots[at]->state == State::Listing) {
        listed.wait(hold);
        at = FindSlot(directory);
    }
    slots.erase(slots.begin() + at);
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
        TSlot* slot = nullptr;
        wake.wait(hold, [&] {
            if (quit)
                return true;
            for (auto& candidate : slots) {
                if (candidate->state == State::Waiting) {
                    slot = candidate.get();
                    return true;
                }
            }
            return false;
        });
        if (quit)
            return;
        slot->state = State::Listing;
        TFindListing* listing = slot->listing.get();
        hold.unlock();
        try {
            FillListing(job, *listing, attributeMask, mask);
        } catch (...) {
            // Short of memory: the listing stays incomplete, as a stopped one
            // does, and the walk lists the directory again itself.
        }
        hold.lock();
        slot->state = State::Listed;
        listed.notify_all();
    }
}
