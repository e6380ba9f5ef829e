// Byte-for-byte translation of 8-bit text between two Windows code pages, so
// that text read in one code page can be shown through the console output
// code page; and the quoted-field splitter of comma-separated word lists.
#pragma once

#include "base/os/CMutex.h"
#include "base/strings/Estring.h"
#include "platform/win32.h"

// A 256-entry table from the bytes of one code page to those of another.
struct TCodePageMap {
    UINT sourcePage;
    UINT targetPage;
    unsigned char table[256];  // target byte for each source byte

    // Fills the table through the system's conversions; returns the number of
    // bytes converted or the system error code. A byte without an equivalent
    // becomes the target page's default character. When the pages do not map
    // byte for byte (a multi-byte page) the table stays the identity.
    int Build(UINT source, UINT target);
    // Every byte of the text replaced by its table entry.
    Estring Translate(const char* text) const;
};

// One cached map with its lock; conversions in one direction share a slot and
// rebuild its map only when the pair of code pages changes.
struct TCodePageMapSlot {
    CMutex lock;
    TCodePageMap* map = nullptr;

    TCodePageMapSlot() = default;
    ~TCodePageMapSlot() { delete map; }
    TCodePageMapSlot(const TCodePageMapSlot&) = delete;
    TCodePageMapSlot& operator=(const TCodePageMapSlot&) = delete;
};

// The text unchanged when either page is 0 or both are equal; otherwise
// translated through the slot's map.
Estring ConvertCodePage(const char* text, TCodePageMapSlot& slot, UINT sourcePage, UINT targetPage);
// From a code page to the console output code page, and back.
Estring ToConsoleCodePage(const char* text, UINT sourcePage);
Estring FromConsoleCodePage(const Estring& text, UINT targetPage);

// The next comma-separated field at the cursor, which moves past the field and
// its comma (or stays on the terminator). Double quotes group text that holds
// commas ("" inside quotes is one quote); a backslash takes up to three decimal
// digits as one byte, or the character after it as it is; line feeds are
// dropped; blanks are kept.
Estring NextQuotedField(const char*& cursor);
// The first field of the list; the list keeps what follows it.
Estring TakeQuotedField(Estring& list);
