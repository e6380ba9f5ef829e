// Directory searches with the DOS wildcard rules Windows applies, ignoring case.
#include "platform/posix/FileInfo.h"
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <algorithm>
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

// Directories with more entries than this have their entries examined on a few
// threads, a block at a time: while the caller takes one block, the next is
// being examined.
const size_t kParallelFrom = 2048;
const size_t kBlockEntries = 2048;

class FindObject : public HandleObject {
public:
    FindObject() : HandleObject(HandleKind::Find) {}
    ~FindObject() override {
        JoinHelpers();
        if (dir) {
            ::closedir(dir);
        }
    }

    void JoinHelpers() {
        for (std::thread& helper : helpers) {
            helper.join();
        }
        helpers.clear();
    }

    DIR* dir = nullptr;
    int fd = -1;                     // the directory's descriptor (owned by dir)
    bool xattrs = true;              // its file system keeps user extended attributes
    std::vector<std::string> names;  // the matching names, "." and ".." first
    size_t next = 0;
    // What was found about an entry.
    struct Examined {
        FileInfo info;
        bool present = false;
    };
    // The block the caller takes from (entries blockStart onwards), and the
    // one the helpers are examining (aheadStart onwards).
    std::vector<Examined> block;
    size_t blockStart = 0;
    std::vector<Examined> ahead;
    size_t aheadStart = 0;
    std::vector<std::thread> helpers;
};

bool IsDotOrParent(const std::string& name) {
    return name == "." || name == "..";
}

void Examine(const FindObject& find, size_t index, FindObject::Examined& out) {
    const std::string& name = find.names[index];
    out.present =
        QueryEntryInfoAt(find.fd, name.c_str(), IsDotOrParent(name) ? std::string() : name, find.xattrs, out.info);
}

unsigned HelperCount() {
    return std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
}

// Examines the entries `start` onwards into `out`, split into `parts` shares;
// the shares from `firstHelped` on go to new threads (kept in the object's
// helpers), the others are done here.
void ExamineShares(FindObject& find, std::vector<FindObject::Examined>& out, size_t start, unsigned parts,
                   unsigned firstHelped) {
    size_t count = std::min(kBlockEntries, find.names.size() - start);
    out.assign(count, FindObject::Examined());
    size_t share = (count + parts - 1) / parts;
    auto work = [&find, &out, start, count, share](size_t part) {
        size_t from = part * share;
        size_t to = std::min(count, from + share);
        for (size_t i = from; i < to; ++i) {
            Examine(find, start + i, out[i]);
        }
    };
    for (size_t part = 0; part < parts && part * share < count; ++part) {
        if (part < firstHelped) {
            continue;
        }
        try {
            find.helpers.emplace_back(work, part);
        } catch (const std::system_error&) {
            work(part);  // no thread to be had: this one does the share
        }
    }
    for (size_t part = 0; part < firstHelped && part * share < count; ++part) {
        work(part);
    }
}

// Makes the block that holds `index` the current one and starts on the next.
void MoveToBlock(FindObject& find, size_t index) {
    find.JoinHelpers();
    if (!find.ahead.empty() && index >= find.aheadStart && index < find.aheadStart + find.ahead.size()) {
        find.block.swap(find.ahead);
        find.blockStart = find.aheadStart;
    } else {
        // The first block: this thread takes a share of it too.
        ExamineShares(find, find.block, index, HelperCount(), 1);
        find.JoinHelpers();
        find.blockStart = index;
    }
    find.ahead.clear();
    size_t following = find.blockStart + find.block.size();
    if (following < find.names.size()) {
        find.aheadStart = following;
        ExamineShares(find, find.ahead, following, HelperCount(), 0);
    }
}

// Fills the record for the next name that still exists; false at the end.
bool Deliver(FindObject& find, WIN32_FIND_DATAW* data) {
    bool parallel = find.names.size() >= kParallelFrom;
    while (find.next < find.names.size()) {
        size_t index = find.next++;
        const std::string& name = find.names[index];
        FindObject::Examined single;
        FindObject::Examined* examined = &single;
        if (parallel) {
            if (index < find.blockStart || index >= find.blockStart + find.block.size()) {
                MoveToBlock(find, index);
            }
            examined = &find.block[index - find.blockStart];
        } else {
            Examine(find, index, single);
        }
        if (!examined->present) {
            continue;  // gone since the directory was read
        }
        WString wide = ToUtf16(name);
        if (wide.size() >= MAX_PATH) {
            continue;  // no room in the record, as a Windows name could never be this long
        }
        const FileInfo& info = examined->info;
        std::memset(data, 0, sizeof *data);
        data->dwFileAttributes = info.attributes;
        data->ftCreationTime = info.creation;
        data->ftLastAccessTime = info.access;
        data->ftLastWriteTime = info.write;
        data->nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
        data->nFileSizeLow = static_cast<DWORD>(info.size & 0xFFFFFFFF);
        data->dwReserved0 = info.reparseTag;
        std::copy(wide.begin(), wide.end(), data->cFileName);
        if (find.next >= find.names.size()) {
            find.JoinHelpers();
            std::vector<FindObject::Examined>().swap(find.block);
            std::vector<FindObject::Examined>().swap(find.ahead);
        }
        return true;
    }
    return false;
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
    // A drive's root has no "." and ".." entries, as on Windows.
    bool root = w32::IsDriveRoot(posix);
    WString compiled = w32::CompilePattern(pattern);
    bool everything = compiled == u"*";
    std::vector<std::string> dots;
    errno = 0;
    while (struct dirent* entry = ::readdir(find->dir)) {
        std::string name = entry->d_name;
        bool dot = name == "." || name == "..";
        if (dot && root) {
            continue;
        }
        if (!everything && !w32::MatchesCompiled(compiled, w32::ToUtf16(name))) {
            continue;
        }
        (dot ? dots : find->names).push_back(name);
    }
    std::sort(dots.begin(), dots.end());
    find->names.insert(find->names.begin(), dots.begin(), dots.end());
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
