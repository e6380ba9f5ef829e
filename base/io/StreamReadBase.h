// Base classes of the readable streams: each holds its error record and
// implements ReadExact, Skip and ReadLine over the concrete Read. A filter's
// first line buffer is small (filters mostly read short header lines).
#pragma once

#include "base/io/StreamRead.h"

// The default operations, shared by every readable stream. None of them
// touches the error record: the failing Read has set it already.
bool StreamReadExact(IStreamRead& stream, void* buffer, int n);
bool StreamSkip(IStreamRead& stream, int64_t n);
bool StreamReadLine(IStreamRead& stream, Estring& line, int firstBufferSize);

template <class Interface, int LineBufferSize>
class TStreamReadDefaults : public Interface {
public:
    bool ReadExact(void* buffer, int n) override { return StreamReadExact(*this, buffer, n); }
    bool Skip(int64_t n) override { return StreamSkip(*this, n); }
    bool ReadLine(Estring& line) override { return StreamReadLine(*this, line, LineBufferSize); }
    TStreamError* GetError() override { return &m_error; }

protected:
    TStreamError m_error;
};

class CStreamReadBase : public TStreamReadDefaults<IStreamRead, 4096> {};

class CStreamReadFilterBase : public TStreamReadDefaults<IStreamReadFilter, 256> {
public:
    CStreamReadFilterBase() = default;
    // A filter holds a decoder's state, which cannot be shared.
    CStreamReadFilterBase(const CStreamReadFilterBase&) = delete;
    CStreamReadFilterBase& operator=(const CStreamReadFilterBase&) = delete;

    void SetSource(IStreamRead* source) override { m_source = source; }

protected:
    // Input is taken from the source in chunks of this size.
    static const int kInputSize = 16384;

    // Records a decoding failure of the filter; always false.
    bool FailDecoding(const Estring& text = "Decompression error");

    IStreamRead* m_source = nullptr;
};
