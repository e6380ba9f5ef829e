// CStreamReadFilterBZip2: decodes bzip2 data from its source through
// libbzip2. Concatenated bzip2 streams are decoded as one.
#pragma once

#include <bzlib.h>

#include "base/io/StreamReadBase.h"

class CStreamReadFilterBZip2 : public CStreamReadFilterBase {
public:
    explicit CStreamReadFilterBZip2(IStreamRead* source);
    ~CStreamReadFilterBZip2() override;

    bool Read(void* buffer, uint32_t* count) override;

private:
    bool InputUsedUp() const { return m_stream.avail_in == 0; }

    bz_stream m_stream;
    int m_result;  // the initialisation's until the first Read
    char m_input[kInputSize];
    bool m_sourceExhausted = false;
};
