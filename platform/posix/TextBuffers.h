// Internal to the POSIX layer: how the text functions (code-page conversions,
// locale answers, date texts, case mapping) hand a result to the caller's
// buffer: a size of 0 asks for the count, a buffer too small fails with
// ERROR_INSUFFICIENT_BUFFER, else the text is copied and counted.
#pragma once

#include "platform/win32.h"

#include <algorithm>
#include <string>

namespace w32 {

// `text` holds everything to be counted, the terminator included when the
// call counts one.
template <class Char>
int DeliverCounted(const std::basic_string<Char>& text, Char* buffer, int bufferLength) {
    if (bufferLength < 0 || (bufferLength > 0 && buffer == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (bufferLength == 0) {
        return static_cast<int>(text.size());
    }
    if (text.size() > static_cast<size_t>(bufferLength)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), buffer);
    return static_cast<int>(text.size());
}

}  // namespace w32
