#include "base/io/StreamReadBase.h"

#include <cstring>

namespace {

const int kSkipChunk = 4096;

// The growing text of one line; freed on every way out, an out-of-memory
// exception included.
class CLineBuffer {
public:
    explicit CLineBuffer(int size) : m_text(new char[size + 1]), m_size(size), m_length(0) {}
    ~CLineBuffer() { delete[] m_text; }
    CLineBuffer(const CLineBuffer&) = delete;
    CLineBuffer& operator=(const CLineBuffer&) = delete;

    void Append(char byte) {
        m_text[m_length++] = byte;
        if (m_length + 1 == m_size)
            Grow();
    }
    // Zero-terminated: a NUL byte inside the line ends the text there.
    const char* Text() {
        m_text[m_length] = 0;
        return m_text;
    }

private:
    void Grow() {
        char* bigger = new char[m_size * 2 + 1];
        memcpy(bigger, m_text, m_length);
        delete[] m_text;
        m_text = bigger;
        m_size *= 2;
    }

    char* m_text;
    int m_size;
    int m_length;
};

}  // namespace

bool StreamReadExact(IStreamRead& stream, void* buffer, int n) {
    char* at = static_cast<char*>(buffer);
    while (n > 0) {
        uint32_t count = static_cast<uint32_t>(n);
        if (!stream.Read(at, &count))
            return false;
        at += count;
        n -= static_cast<int>(count);
    }
    return true;
}

bool StreamSkip(IStreamRead& stream, int64_t n) {
    char scratch[kSkipChunk];
    while (n > 0) {
        uint32_t count = static_cast<uint32_t>(n < kSkipChunk ? n : kSkipChunk);
        if (!stream.Read(scratch, &count))
            return false;
        n -= count;
    }
    return true;
}

bool StreamReadLine(IStreamRead& stream, Estring& line, int firstBufferSize) {
    CLineBuffer buffer(firstBufferSize);
    bool readAny = false;
    for (;;) {
        char byte;
        uint32_t count = 1;
        if (!stream.Read(&byte, &count))
            break;
        // A stream may deliver nothing on a successful call (a filter that
        // only took in input); that is not the end of the data.
        if (count == 0)
            continue;
        readAny = true;
        if (byte == '\n')
            break;
        if (byte != '\r')
            buffer.Append(byte);
    }
    line = buffer.Text();
    return readAny;
}

bool CStreamReadFilterBase::FailDecoding(const Estring& text) {
    m_error = TStreamError(TStreamError::kDecompression, 0, text);
    return false;
}
