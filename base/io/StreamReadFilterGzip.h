// CStreamReadFilterGzip: decodes gzip data from its source through zlib's
// inflate. Only the gzip wrapper is accepted, and decoding ends with the first
// gzip member: anything behind it is not read.
#pragma once

#include <zlib.h>

#include "base/io/StreamReadBase.h"

class CStreamReadFilterGzip : public CStreamReadFilterBase {
public:
    explicit CStreamReadFilterGzip(IStreamRead* source);
    ~CStreamReadFilterGzip() override;

    bool Read(void* buffer, uint32_t* count) override;

private:
    z_stream m_stream;
    int m_result;  // the initialisation's until the first Read
    unsigned char m_input[kInputSize];
};
