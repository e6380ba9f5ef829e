#include "base/io/StreamReadFilterXz.h"

#include <cstdint>

CStreamReadFilterXz::CStreamReadFilterXz(IStreamRead* source) : m_stream(new lzma_stream()) {
    SetSource(source);
    m_result = lzma_stream_decoder(m_stream, UINT64_MAX, LZMA_CONCATENATED);
}

CStreamReadFilterXz::~CStreamReadFilterXz() {
    lzma_end(m_stream);
    delete m_stream;
}

bool CStreamReadFilterXz::Read(void* buffer, uint32_t* count) {
    if (m_result == LZMA_STREAM_END) {
        *count = 0;
        return false;
    }
    m_stream->next_out = static_cast<uint8_t*>(buffer);
    m_stream->avail_out = *count;
    lzma_action action = LZMA_RUN;
    if (m_stream->avail_in == 0) {
        uint32_t got = kInputSize;
        if (m_source->Read(m_input, &got)) {
            m_stream->next_in = m_input;
            m_stream->avail_in = got;
        } else {
            action = LZMA_FINISH;
        }
    }
    m_result = lzma_code(m_stream, action);
    if (m_result == LZMA_OK || m_result == LZMA_STREAM_END) {
        *count -= static_cast<uint32_t>(m_stream->avail_out);
        return true;
    }
    *count = 0;
    return FailDecoding(Estring().Format("XZ Decompression error %d", m_result));
}
