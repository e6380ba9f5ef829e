// A readable stream over bytes in memory for the stream tests. It delivers at
// most `chunk` bytes per Read, can put a successful read of zero bytes before
// every real one, can fail with a system error once `failAt` bytes are out,
// and records the room asked for in every Read.
#pragma once

#include "base/io/StreamReadBase.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace qvtest {

class CMemoryStreamRead : public CStreamReadBase {
public:
    explicit CMemoryStreamRead(std::string data, size_t chunk = 1 << 30) : data(std::move(data)), chunk(chunk) {}

    bool Read(void* buffer, uint32_t* count) override {
        asked.push_back(*count);
        if (emptyReads && !lastWasEmpty) {
            lastWasEmpty = true;
            *count = 0;
            return true;
        }
        lastWasEmpty = false;
        if (position >= failAt) {
            m_error = TStreamError(TStreamError::kSystem, 23, "Data error (23)");
            return false;
        }
        size_t n = std::min({static_cast<size_t>(*count), chunk, data.size() - position, failAt - position});
        if (n == 0 && *count > 0)
            return false;
        memcpy(buffer, data.data() + position, n);
        position += n;
        *count = static_cast<uint32_t>(n);
        return true;
    }

    std::string data;
    size_t chunk;
    size_t position = 0;
    size_t failAt = static_cast<size_t>(-1);
    bool emptyReads = false;
    std::vector<uint32_t> asked;

private:
    bool lastWasEmpty = false;
};

}  // namespace qvtest
