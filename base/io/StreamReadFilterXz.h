// CStreamReadFilterXz: decodes .xz data from its source through liblzma, with
// no memory limit; concatenated .xz streams are decoded as one. Each Read is
// one decoding step and may deliver no bytes while the decoder takes in input.
#pragma once

#include <lzma.h>

#include "base/io/StreamReadBase.h"

class CStreamReadFilterXz : public CStreamReadFilterBase {
public:
    explicit CStreamReadFilterXz(IStreamRead* source);
    ~CStreamReadFilterXz() override;

    bool Read(void* buffer, uint32_t* count) override;

private:
    lzma_stream* m_stream;
    int m_result;  // the initialisation's until the first Read
    uint8_t m_input[kInputSize];
};
