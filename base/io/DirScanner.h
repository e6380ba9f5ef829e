// CDirScanner: lists the items of one directory that match a wildcard pattern
// and an attribute mask, one item per call, as `entry` records.
//
// The only user of the system's directory search calls: panels, the tree scan,
// data-file look-ups, file masks, file operations and the command line all go
// through it. It keeps no list. Without ScanSeparateRecords every item is
// delivered in the scanner's own record, which the next call overwrites; with
// it each item is a new malloc'd record that belongs to the caller.
//
// Calling order: FindFirst, FindNext until it returns non-zero, then Close (or
// destroy). FindFirst may be called again for another pattern; it closes the
// running search first.
#pragma once

#include "base/io/Entry.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

class CDirScanner {
public:
    // Attribute mask bits (the DOS convention; read-only 1, system 4 and
    // archive 0x20 are accepted and ignored).
    static constexpr DWORD ScanHidden = 0x2;               // deliver hidden items too
    static constexpr DWORD ScanDirectories = 0x10;         // deliver directories too
    static constexpr DWORD ScanSeparateRecords = 0x10000;  // each item in a new record
    static constexpr DWORD ScanDirectoriesOnly = 0x20000;  // needs ScanDirectories as well
    // Passes by the roots of file systems the kernel makes up as they are read
    // (the system flags them FILE_ATTRIBUTE_VIRTUAL): every walk over a whole
    // tree asks for this, so that it neither reads without end nor hangs.
    static constexpr DWORD ScanNoVirtualRoots = 0x40000;
    // The masks the system passes.
    static constexpr DWORD ScanEverything = 0x37;
    static constexpr DWORD ScanFiles = 0x27;

    explicit CDirScanner(const Westring& baseDirectory);
    ~CDirScanner();
    CDirScanner(const CDirScanner&) = delete;
    CDirScanner& operator=(const CDirScanner&) = delete;

    // Starts a search for the pattern under the base directory and delivers the
    // first accepted item. 0, or the Windows error (ERROR_FILE_NOT_FOUND or
    // ERROR_NO_MORE_FILES when nothing matched). The search stays open even
    // when nothing was accepted.
    DWORD FindFirst(const Westring& pattern, DWORD mask, entry** out = nullptr);
    // The next accepted item; ERROR_NO_MORE_FILES at the end.
    DWORD FindNext(entry** out = nullptr);
    // FindFirst without an out pointer, then Close; 0 when something matched,
    // and the scanner's own record then holds it.
    DWORD Exists(const Westring& pattern, DWORD mask);
    // Ends an open search; harmless when none is open.
    void Close();

    static bool AcceptsAttributes(DWORD mask, DWORD attributes);
    // Fills the scanner's own record, or a new one in separate-record mode, from
    // a find record, and hands it out through `out` when that is given; 0, or
    // ERROR_NOT_ENOUGH_MEMORY when a separate record cannot be had.
    DWORD FillEntry(const WIN32_FIND_DATAW& record, entry** out);

    // The scanner's own record: the last item delivered without
    // ScanSeparateRecords (and the item Exists found).
    entry* Record() { return &inlineRecord.head; }
    DWORD LastError() const { return lastError; }
    // 1 after a FindFirst that delivered an item, 0 after one that did not.
    int Found() const { return found; }
    bool IsOpen() const { return findHandle != INVALID_HANDLE_VALUE; }

    static constexpr int MaxNameUnits = 512;

private:
    // Steps with FindNextFileW (unless `haveCurrent`) until an item passes the
    // mask; 0 or the error of the call that failed.
    DWORD SkipToAccepted(bool haveCurrent);

    struct TInlineRecord {
        entry head;
        char32_t room[MaxNameUnits];  // the name continues from head.name here
    } inlineRecord;
    Westring baseDirectory;
    DWORD attributeMask;  // of the running search, without ScanSeparateRecords
    DWORD lastError;
    WIN32_FIND_DATAW findData;
    HANDLE findHandle;
    int found;
    bool separateRecords;
};
