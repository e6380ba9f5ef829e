// IStreamRead: a source of bytes (a file, or a decompressing filter over
// another stream). Failure and the end of the data are both a false result;
// they are told apart by the stream's error record (GetError), which a plain
// end leaves untouched. IStreamReadFilter is a stream that reads another one.
#pragma once

#include <cstdint>

#include "base/io/StreamError.h"
#include "base/strings/Estring.h"

class IStreamRead {
public:
    virtual ~IStreamRead() = default;

    // On entry *count is the room in buffer; on a true result it is the number
    // of bytes delivered, which may be 0.
    virtual bool Read(void* buffer, uint32_t* count) = 0;
    // Exactly n bytes, or false.
    virtual bool ReadExact(void* buffer, int n) = 0;
    // Reads past n bytes.
    virtual bool Skip(int64_t n) = 0;
    // One line of bytes without its CR and LF; false at the end of the stream
    // when nothing was read.
    virtual bool ReadLine(Estring& line) = 0;
    // The stream's own record, valid as long as the stream.
    virtual TStreamError* GetError() = 0;
};

class IStreamReadFilter : public IStreamRead {
public:
    // The stream read from; not owned, and it must outlive the filter.
    virtual void SetSource(IStreamRead* source) = 0;
};
