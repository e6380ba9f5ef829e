#include "base/io/StreamReadFilterBZip2.h"

#include <cstring>

CStreamReadFilterBZip2::CStreamReadFilterBZip2(IStreamRead* source) {
    SetSource(source);
    memset(&m_stream, 0, sizeof(m_stream));
    m_result = BZ2_bzDecompressInit(&m_stream, 0, 0);
}

CStreamReadFilterBZip2::~CStreamReadFilterBZip2() {
    BZ2_bzDecompressEnd(&m_stream);
}

bool CStreamReadFilterBZip2::Read(void* buffer, uint32_t* count) {
    // A failed initialisation lands here too: it is an error, not an empty
    // stream.
    if (m_result < 0) {
        *count = 0;
        return FailDecoding();
    }
    m_stream.next_out = static_cast<char*>(buffer);
    m_stream.avail_out = *count;
    while (m_result == BZ_OK && m_stream.avail_out > 0) {
        int result = BZ2_bzDecompress(&m_stream);
        m_result = result;
        if (InputUsedUp() && !m_sourceExhausted) {
            uint32_t got = kInputSize;
            if (m_source->Read(m_input, &got)) {
                m_stream.next_in = m_input;
                m_stream.avail_in = got;
            } else {
                m_sourceExhausted = true;
            }
        }
        bool atEndOfInput = InputUsedUp() && m_sourceExhausted;
        if (result == BZ_STREAM_END && !atEndOfInput) {
            // Another bzip2 stream follows: decode it as part of this one.
            BZ2_bzDecompressEnd(&m_stream);
            m_result = BZ2_bzDecompressInit(&m_stream, 0, 0);
        } else if (result == BZ_OK && atEndOfInput) {
            // The data ended before the stream's end marker.
            break;
        }
    }
    uint32_t produced = *count - m_stream.avail_out;
    *count = produced;
    if (m_result < 0)
        return FailDecoding();
    if (m_result == BZ_OK && m_sourceExhausted && InputUsedUp() && produced == 0)
        return FailDecoding();
    return produced > 0;
}
