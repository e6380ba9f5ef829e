#include "base/io/StreamReadFilterGzip.h"

#include <cstring>

CStreamReadFilterGzip::CStreamReadFilterGzip(IStreamRead* source) {
    SetSource(source);
    memset(&m_stream, 0, sizeof(m_stream));
    // Window bits 15 plus 16: the gzip wrapper and nothing else.
    m_result = inflateInit2_(&m_stream, 15 + 16, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
}

CStreamReadFilterGzip::~CStreamReadFilterGzip() {
    inflateEnd(&m_stream);
}

bool CStreamReadFilterGzip::Read(void* buffer, uint32_t* count) {
    if (m_result == Z_STREAM_END) {
        *count = 0;
        return false;
    }
    m_stream.next_out = static_cast<Bytef*>(buffer);
    m_stream.avail_out = *count;
    while (m_result == Z_OK && m_stream.avail_out > 0) {
        m_result = inflate(&m_stream, Z_NO_FLUSH);
        if (m_result == Z_STREAM_END)
            break;
        if (m_stream.avail_in == 0) {
            uint32_t got = kInputSize;
            if (!m_source->Read(m_input, &got))
                break;
            m_stream.next_in = m_input;
            m_stream.avail_in = got;
            // Running out of input is not an error while more input comes.
            m_result = Z_OK;
        }
    }
    uint32_t produced = *count - m_stream.avail_out;
    *count = produced;
    if (m_result == Z_STREAM_END)
        return produced > 0;
    if (m_result == Z_OK)
        return true;
    return FailDecoding();
}
