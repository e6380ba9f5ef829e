// Internal to the POSIX layer: UTF-16 (WCHAR) to and from UTF-8, the form in
// which names reach the system. Unpaired surrogates become U+FFFD; malformed
// UTF-8 becomes U+FFFD per bad sequence.
#pragma once

#include "platform/win32.h"

#include <string>

namespace w32 {

std::string ToUtf8(const WCHAR* text, size_t length);
// A zero-terminated text; null gives an empty string.
std::string ToUtf8(const WCHAR* text);
std::u16string ToUtf16(const std::string& utf8);

}  // namespace w32
