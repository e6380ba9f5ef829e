// IStreamWrite: a sink of text (a file, or the console). Failures are a false
// result with the cause in the stream's error record.
#pragma once

#include <cstdint>

#include "base/io/StreamError.h"

class IStreamWrite {
public:
    virtual ~IStreamWrite() = default;

    virtual bool Write(const char* text, uint32_t length) = 0;
    virtual bool Close() = 0;
    // Ends the output; for the plain sinks the same as Close.
    virtual bool Finish() = 0;
    virtual TStreamError* GetError() = 0;
};

class CStreamWriteBase : public IStreamWrite {
public:
    bool Finish() override { return Close(); }
    TStreamError* GetError() override { return &m_error; }

protected:
    TStreamError m_error;
};
