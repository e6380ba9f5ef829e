// Reading tar headers from a stream, shared by the plain tar reader and the
// readers of tar over gzip, bzip2 and xz.
#pragma once

#include <cstdint>

#include "app/panels/PanelArchive.h"
#include "base/io/StreamRead.h"
#include "base/strings/Estring.h"

// What an extended ("x") header says about the next member.
struct TPaxRecords {
    Estring path;          // empty: not given
    int64_t size = 0;      // 0: not given
    bool hasTime = false;  // an mtime with a fraction was given
    TTimestamp time;
};

// Walks the tar headers of the stream into the archive's table: 0 when at
// least one member was read, else ArchiveNotRecognised.
DWORD ReadTarHeaders(CArchive& archive, IStreamRead& stream);

// A numeric header field: base-256 when the first byte has bit 7 set, 0 when
// it is a zero byte, else octal digits up to a zero byte (other bytes passed
// over). -1 when the number does not fit in 63 bits.
int64_t ParseTarNumber(const unsigned char* field, int width);

// Takes the "path", "mtime" and "size" records of extended-header data.
void ParsePaxRecords(const char* data, int size, TPaxRecords& records);
