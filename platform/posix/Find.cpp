// Directory searches with the DOS wildcard rules Windows applies, ignoring case.
#include "platform/posix/FileInfo.h"
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace w32 {

namespace {

// The pattern after the rewriting FindFirstFileW does before matching:
// "*.*" is "*"; "?" matches one character or nothing at a dot or the end;
// "." before "?", "*" or the end of the pattern matches a dot or the end of the
// name; "*" before "." matches up to, not past, the name's last dot.
enum : WCHAR {
    kDosStar = 0xF001,
    kDosQm = 0xF002,
    kDosDot = 0xF003,
};

WString CompilePattern(const WString& pattern) {
    if (pattern == u"*.*") {
        return u"*";
    }
    WString out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        WCHAR c = pattern[i];
        WCHAR next = i + 1 < pattern.size() ? pattern[i + 1] : 0;
        if (c == u'?') {
            out += static_cast<WCHAR>(kDosQm);
        } else if (c == u'.' && (next == u'?' || next == u'*' || next == 0)) {
            out += static_cast<WCHAR>(kDosDot);
        } else if (c == u'*' && next == u'.') {
            out += static_cast<WCHAR>(kDosStar);
        } else {
            out += c;
        }
    }
    return out;
}

bool MatchFrom(const WString& p, size_t pi, const WString& n, size_t ni, size_t lastDot) {
    while (pi < p.size()) {
        WCHAR c = p[pi];
        if (c == u'*') {
            for (size_t k = ni; k <= n.size(); ++k) {
                if (MatchFrom(p, pi + 1, n, k, lastDot)) {
                    return true;
                }
            }
            return false;
        }
        if (c == kDosStar) {
            // Consumes characters but never the name's last dot.
            size_t limit = (lastDot == WString::npos || ni > lastDot) ? n.size() : lastDot;
            for (size_t k = ni; k <= limit; ++k) {
                if (MatchFrom(p, pi + 1, n, k, lastDot)) {
                    return true;
                }
            }
            return false;
        }
        if (c == kDosQm) {
            if (ni < n.size() && n[ni] != u'.') {
                ++ni;
            }
            ++pi;
            continue;
        }
        if (c == kDosDot) {
            if (ni < n.size() && n[ni] == u'.') {
                ++ni;
            } else if (ni != n.size()) {
                return false;
            }
            ++pi;
            continue;
        }
        if (ni >= n.size() || FoldCase(c) != FoldCase(n[ni])) {
            return false;
        }
        ++pi;
        ++ni;
    }
    return ni == n.size();
}

bool MatchesCompiled(const WString& compiled, const WString& name) {
    return MatchFrom(compiled, 0, name, 0, name.rfind(u'.'));
}

// A directory with more entries than this is listed through a pipeline: one
// thread goes on reading names in blocks while a few others examine the
// blocks already read, and the caller takes records as soon as their block is
// examined. A few blocks at most are ahead of the caller, so a huge directory
// never holds all its records at once.
const size_t kParallelFrom = 2048;
const size_t kBlockEntries = 1024;
const size_t kBlocksAhead = 8;

// What was found about an entry.
struct Examined {
    FileInfo info;
    bool present = false;
};

struct Block {
    std::vector<std::string> names;
    std::vector<Examined> examined;  // sized with the names before the block is queued
    bool taken = false;              // somebody is examining it (or has)
    bool done = false;
};

class FindObject : public HandleObject {
public:
    FindObject() : HandleObject(HandleKind::Find) {}
    ~FindObject() override {
        StopPipeline();
        if (dir) {
            ::closedir(dir);
        }
    }

    void StopPipeline() {
        {
            std::lock_guard<std::mutex> hold(lock);
            stop = true;
        }
        work.notify_all();
        room.notify_all();
        if (reader.joinable()) {
            reader.join();
        }
        for (std::thread& examiner : examiners) {
            examiner.join();
        }
        examiners.clear();
    }

    DIR* dir = nullptr;
    int fd = -1;              // the directory's descriptor (owned by dir)
    bool xattrs = true;       // its file system keeps user extended attributes
    bool root = false;        // a drive's root: no "." and ".." listed
    WString compiled;         // the name pattern, compiled
    bool everything = false;  // the pattern takes every name

    // A small directory: every matching name, "." and ".." first, examined
    // one by one as they are taken.
    std::vector<std::string> names;
    size_t next = 0;

    // A large one: "." and ".." (when they match) come first; the other names
    // follow in blocks, in the order they were read. The caller's block and
    // its place in it are the caller's alone.
    bool pipelined = false;
    bool dotsSorted = false;
    size_t nextDot = 0;
    std::unique_ptr<Block> current;
    size_t nextInBlock = 0;

    std::mutex lock;                // guards what follows
    std::condition_variable work;   // for the examiners: a block to examine, or the end
    std::condition_variable ready;  // for the caller: a block read or examined, or the end
    std::condition_variable room;   // for the reader: the caller took a block
    std::vector<std::string> dots;
    std::deque<std::unique_ptr<Block>> blocks;  // read and not yet taken by the caller
    int dotNamesSeen = 0;                       // "." and ".." met so far, matching or not
    bool readEnded = false;
    bool stop = false;
    std::thread reader;
    std::vector<std::thread> examiners;
};

bool IsDotOrParent(const std::string& name) {
    return name == "." || name == "..";
}

void Examine(const FindObject& find, const std::string& name, Examined& out) {
    out.present =
        QueryEntryInfoAt(find.fd, name.c_str(), IsDotOrParent(name) ? std::string() : name, find.xattrs, out.info);
}

void ExamineBlock(const FindObject& find, Block& block) {
    for (size_t i = 0; i < block.names.size(); ++i) {
        Examine(find, block.names[i], block.examined[i]);
    }
}

unsigned ExaminerCount() {
    // The reader and the caller take a core each where there are many.
    unsigned cores = std::thread::hardware_concurrency();
    return std::max(1u, std::min(6u, cores > 2 ? cores - 2 : 1u));
}

// Reads the next name that belongs in the listing: false at the end. Counts
// "." and ".." whether or not they match, so that the caller knows when no
// more of them can come.
bool ReadName(FindObject& find, std::string& name, bool& dot, int& dotNamesSeen) {
    while (struct dirent* entry = ::readdir(find.dir)) {
        name = entry->d_name;
        dot = IsDotOrParent(name);
        if (dot) {
            dotNamesSeen++;
            if (find.root) {
                continue;
            }
        }
        if (!find.everything && !MatchesCompiled(find.compiled, ToUtf16(name))) {
            continue;
        }
        return true;
    }
    return false;
}

// Examines blocks, the oldest not yet taken first, until the listing ends or stops.
void ExamineLoop(FindObject* find) {
    std::unique_lock<std::mutex> hold(find->lock);
    for (;;) {
        Block* next = nullptr;
        find->work.wait(hold, [&] {
            if (find->stop) {
                return true;
            }
            for (auto& block : find->blocks) {
                if (!block->taken) {
                    next = block.get();
                    return true;
                }
            }
            return find->readEnded;
        });
        if (next == nullptr) {
            return;  // stopped, or nothing more will come
        }
        next->taken = true;
        hold.unlock();
        ExamineBlock(*find, *next);
        hold.lock();
        next->done = true;
        find->ready.notify_one();
    }
}

// Goes on reading names, a block at a time, while the caller is no more than
// a few blocks behind; `bounded` false reads to the end at once (nobody else
// would take the blocks away).
void ReadLoop(FindObject* find, bool bounded) {
    auto block = std::make_unique<Block>();
    std::string name;
    bool dot = false;
    int dotsSeen = find->dotNamesSeen;  // set before this loop began
    bool dotsShown = dotsSeen >= 2;
    bool more = true;
    while (more) {
        more = ReadName(*find, name, dot, dotsSeen);
        if (more) {
            if (dot) {
                std::lock_guard<std::mutex> hold(find->lock);
                find->dots.push_back(name);
            } else {
                block->names.push_back(name);
            }
        }
        bool full = block->names.size() >= kBlockEntries;
        // The caller waits for the last of "." and ".." before it takes anything.
        bool lastDot = dotsSeen >= 2 && !dotsShown;
        if (!full && more && !lastDot) {
            continue;
        }
        dotsShown = dotsSeen >= 2;
        bool pushed = false;
        if (!block->names.empty() && (full || !more)) {
            // Room for the records is made here, so that the examiners
            // allocate nothing (each thread that allocates gets its own heap).
            block->examined.resize(block->names.size());
            pushed = true;
        }
        std::unique_lock<std::mutex> hold(find->lock);
        find->dotNamesSeen = dotsSeen;
        if (pushed) {
            find->blocks.push_back(std::move(block));
            block = std::make_unique<Block>();
        }
        find->readEnded = !more;
        if (find->readEnded) {
            find->work.notify_all();
        } else if (pushed) {
            find->work.notify_one();
        }
        find->ready.notify_one();
        if (bounded) {
            find->room.wait(hold, [&] { return find->stop || find->blocks.size() < kBlocksAhead; });
        }
        if (find->stop) {
            return;
        }
    }
}

// Starts the pipeline over the names read so far (the reading goes on from
// where it stands).
void StartPipeline(FindObject& find, std::vector<std::string>& first, int dotNamesSeen) {
    find.pipelined = true;
    find.dotNamesSeen = dotNamesSeen;
    for (size_t at = 0; at < first.size(); at += kBlockEntries) {
        auto block = std::make_unique<Block>();
        size_t end = std::min(first.size(), at + kBlockEntries);
        block->names.assign(std::make_move_iterator(first.begin() + at), std::make_move_iterator(first.begin() + end));
        block->examined.resize(block->names.size());
        find.blocks.push_back(std::move(block));
    }
    first.clear();
    for (unsigned i = 0; i < ExaminerCount(); ++i) {
        try {
            find.examiners.emplace_back(ExamineLoop, &find);
        } catch (const std::system_error&) {
            break;  // the caller examines what no examiner takes
        }
    }
    try {
        find.reader = std::thread(ReadLoop, &find, true);
    } catch (const std::system_error&) {
        ReadLoop(&find, false);
    }
}

// The next examined entry of a pipelined listing, in the order of the
// listing; false at its end.
bool NextPipelined(FindObject& find, std::string& name, Examined& out) {
    if (find.current && find.nextInBlock < find.current->names.size()) {
        size_t index = find.nextInBlock++;
        name = std::move(find.current->names[index]);
        out = find.current->examined[index];
        return true;
    }
    std::unique_lock<std::mutex> hold(find.lock);
    if (!find.dotsSorted) {
        // "." and ".." lead, so nothing is taken before it is sure that no
        // more of them can come.
        find.ready.wait(hold, [&] { return find.readEnded || find.dotNamesSeen >= 2 || find.root; });
        std::sort(find.dots.begin(), find.dots.end());
        find.dotsSorted = true;
    }
    if (find.nextDot < find.dots.size()) {
        name = find.dots[find.nextDot++];
        hold.unlock();
        Examine(find, name, out);
        return true;
    }
    find.current.reset();
    find.ready.wait(hold, [&] { return !find.blocks.empty() || find.readEnded; });
    if (find.blocks.empty()) {
        return false;
    }
    std::unique_ptr<Block> block = std::move(find.blocks.front());
    find.blocks.pop_front();
    find.room.notify_one();
    if (!block->taken) {
        // No examiner has come to it yet: it is examined here.
        block->taken = true;
        hold.unlock();
        ExamineBlock(find, *block);
        hold.lock();
        block->done = true;
    }
    find.ready.wait(hold, [&] { return block->done; });
    hold.unlock();
    find.current = std::move(block);
    find.nextInBlock = 0;
    return NextPipelined(find, name, out);
}

// Fills the record for the next name that still exists; false at the end.
bool Deliver(FindObject& find, WIN32_FIND_DATAW* data) {
    for (;;) {
        std::string name;
        Examined examined;
        if (find.pipelined) {
            if (!NextPipelined(find, name, examined)) {
                find.StopPipeline();
                return false;
            }
        } else {
            if (find.next >= find.names.size()) {
                return false;
            }
            name = std::move(find.names[find.next++]);
            Examine(find, name, examined);
        }
        if (!examined.present) {
            continue;  // gone since the directory was read
        }
        WString wide = ToUtf16(name);
        if (wide.size() >= MAX_PATH) {
            continue;  // no room in the record, as a Windows name could never be this long
        }
        const FileInfo& info = examined.info;
        std::memset(data, 0, sizeof *data);
        data->dwFileAttributes = info.attributes;
        data->ftCreationTime = info.creation;
        data->ftLastAccessTime = info.access;
        data->ftLastWriteTime = info.write;
        data->nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
        data->nFileSizeLow = static_cast<DWORD>(info.size & 0xFFFFFFFF);
        data->dwReserved0 = info.reparseTag;
        std::copy(wide.begin(), wide.end(), data->cFileName);
        return true;
    }
}

}  // namespace

}  // namespace w32

using w32::WString;

HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    WString path = w32::WideArg(lpFileName);
    // The directory is everything up to the last separator (or the drive's
    // colon); the name pattern is what follows and is matched, not translated.
    size_t split = path.find_last_of(u"\\/");
    if (split == WString::npos && path.size() >= 2 && path[1] == u':') {
        split = 1;
    }
    WString directory = split == WString::npos ? WString(u".") : path.substr(0, split + 1);
    WString pattern = split == WString::npos ? path : path.substr(split + 1);
    if (pattern.empty()) {
        w32::Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (directory.size() == 2 && directory[1] == u':') {
        directory += u'.';  // "X:pattern": drive X's current directory
    }
    std::string posix;
    if (!w32::ToPosixPath(directory, posix)) {
        return INVALID_HANDLE_VALUE;
    }
    auto find = std::make_shared<w32::FindObject>();
    int fd = w32::RetryEintr([&] { return ::open(posix.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    find->dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (fd >= 0 && !find->dir) {
        int error = errno;
        ::close(fd);
        errno = error;
    }
    if (!find->dir) {
        // A missing (or unreadable) directory is a path error whatever the pattern.
        if (errno == ENOENT || errno == ENOTDIR) {
            w32::Fail(ERROR_PATH_NOT_FOUND);
        } else {
            w32::FailErrno();
        }
        return INVALID_HANDLE_VALUE;
    }
    // A directory that may be listed but not searched gives names without
    // anything about them (not even about "." and ".."): Windows knows no such
    // directory, and a list of bare names would show wrong sizes and dates, so
    // it counts as a directory that cannot be read.
    if (::access(posix.c_str(), X_OK) != 0 && errno == EACCES) {
        w32::Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    find->fd = fd;
    find->xattrs = w32::DirectoryKeepsXattrs(fd);
    find->root = w32::IsDriveRoot(posix);
    find->compiled = w32::CompilePattern(pattern);
    find->everything = find->compiled == u"*";
    // The names of a small directory are read here at once; past a few
    // thousand the rest is read while the first are examined and taken.
    std::vector<std::string> dots;
    std::string name;
    bool dot = false;
    int dotNamesSeen = 0;
    bool more = true;
    while (find->names.size() < w32::kParallelFrom && (more = w32::ReadName(*find, name, dot, dotNamesSeen))) {
        (dot ? dots : find->names).push_back(name);
    }
    if (more) {
        find->dots = std::move(dots);
        w32::StartPipeline(*find, find->names, dotNamesSeen);
    } else {
        std::sort(dots.begin(), dots.end());
        find->names.insert(find->names.begin(), dots.begin(), dots.end());
    }
    if (!w32::Deliver(*find, lpFindFileData)) {
        w32::Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_SUCCESS);
    return w32::RegisterHandle(find);
}

BOOL WINAPI FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
    auto find = w32::LookupHandleAs<w32::FindObject>(hFindFile, w32::HandleKind::Find);
    if (!find) {
        return FALSE;
    }
    if (!w32::Deliver(*find, lpFindFileData)) {
        return w32::Fail(ERROR_NO_MORE_FILES);
    }
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
    if (!w32::LookupHandleAs<w32::FindObject>(hFindFile, w32::HandleKind::Find)) {
        return FALSE;
    }
    return CloseHandle(hFindFile);
}
