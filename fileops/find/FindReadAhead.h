// CFindReadAhead: the directories a find is about to enter, listed (and
// their files tested) on helper threads while the walk works through the
// directory before them.
//
// Listing a directory costs a status and an attribute query per entry, and a
// content test reads every candidate file: one thread spends nearly all its
// time waiting for the system. The walk itself keeps its order: it still
// takes one directory after another, smallest path first, and asks for each
// one's listing here; it gets the one a helper made, waits for the helper that
// is making it, or lists it itself when nobody has begun. Only the walk adds
// found entries, so the results come in the order a single thread gives.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "base/io/Entry.h"
#include "base/os/CWinHandle.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

struct TFileFindJob;
class MaskExpression;

// One directory listed: every entry the attribute mask lets through, in the
// order the system delivered them, each with the result of the mask and, for
// a file the mask took, of the content test.
struct TFindListing {
    TFindListing() = default;
    ~TFindListing();
    TFindListing(const TFindListing&) = delete;
    TFindListing& operator=(const TFindListing&) = delete;

    struct TItem {
        entry* record;   // malloc'd, owned by the listing
        int matched;     // MaskExpression::Match: 1, 0, or -1 for an error
        int64_t result;  // FileContainsText's answer; FileTextNotFound when not tested
    };
    Westring directory;
    std::vector<TItem> items;
    // The whole directory was listed (false when the walk was stopped
    // part-way: the rest is not looked at).
    bool complete = false;
};

// Lists one directory for the walk on the calling thread: what a helper does
// for the directories ahead.
std::unique_ptr<TFindListing> ListFindDirectory(TFileFindJob& job, const Westring& directory, DWORD attributeMask);

class CFindReadAhead {
public:
    // Up to `helpers` threads, started when the first directory is asked for
    // ahead; none with 0, and then every listing is made by Take.
    CFindReadAhead(TFileFindJob& job, DWORD attributeMask, int helpers);
    // Stops the helpers (their current file is finished first) and frees
    // every listing nobody took.
    ~CFindReadAhead();
    CFindReadAhead(const CFindReadAhead&) = delete;
    CFindReadAhead& operator=(const CFindReadAhead&) = delete;

    // The helpers a walk gets on this machine: one per processor besides the
    // walk's own, at most eight.
    static int DefaultHelpers();
    static constexpr int MaxHelpers = 8;

    // Asks for the directories to be listed ahead, in this order, as far as
    // there is room: directories already asked for are passed by.
    void Ahead(const std::vector<const Westring*>& directories);
    // Whether there is room for more directories ahead.
    bool HasRoom();
    // The listing of the directory: the one made ahead (waiting for it while
    // a helper makes it), or one made now on the calling thread. A directory
    // with many files to search has them searched by every helper that is
    // free and by the caller while it waits. `poll` is
    // called about every 50 ms while the walk waits; true from it stops the
    // wait and the listing is made no further.
    std::unique_ptr<TFindListing> Take(const Westring& directory, bool (*poll)());
    // Forgets the directory when it was asked for (the walk passes it by).
    void Drop(const Westring& directory);

private:
    // Waiting: asked for, nobody has begun. Listing: one thread reads the
    // directory (and tests its files when there are few). Testing: the
    // entries are read and the content tests are shared out: any helper
    // with nothing else to do, and the walk waiting for the listing, take
    // the next untested file. Listed: done.
    enum class State { Waiting, Listing, Testing, Listed };
    struct TSlot {
        State state = State::Waiting;
        std::unique_ptr<TFindListing> listing;  // the directory's name is in it from the start
        std::vector<size_t> candidates;         // items whose content is to be tested
        std::atomic<size_t> nextCandidate{0};   // the next one nobody took
        size_t tested = 0;                      // under the lock
        int testers = 0;                        // threads testing now (under the lock)
    };

    static unsigned __stdcall HelperRoutine(void* self);
    void Help();
    // The slot of the directory (under the lock), or -1.
    int FindSlot(const Westring& directory) const;
    void StartHelpers();
    // Lists the slot's directory (its state is Listing, the lock is not
    // held), then tests its files: alone when they are few, else shared out
    // among whoever is free. Returns with the lock held.
    void MakeListing(TSlot& slot, MaskExpression& mask, std::unique_lock<std::mutex>& hold);
    // Takes untested files of a Testing slot until none is left (the lock is
    // held on entry and on return); the last tester out makes it Listed.
    void TestShare(TSlot& slot, std::unique_lock<std::mutex>& hold);
    // A Testing slot with files nobody took (under the lock), or null.
    TSlot* SlotToShare();

    TFileFindJob& job;
    const DWORD attributeMask;
    const int helpers;
    const size_t room;  // at most this many listings outstanding

    std::mutex lock;
    std::condition_variable wake;    // helpers: a directory waits, or quit
    std::condition_variable listed;  // the walk: a listing was made
    std::vector<std::unique_ptr<TSlot>> slots;  // in the order asked
    bool quit = false;
    bool started = false;
    CWinHandle threads[MaxHelpers];
    std::unique_ptr<MaskExpression> walkMask;  // the walk's own, for the listings it makes
};
