#include "viewedit/ParseHex.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

uint64_t ParseHex64(const char* text) {
    uint64_t value = 0;
    for (const char* p = text; p && HexDigit(*p) >= 0; p++)
        value = value << 4 | uint64_t(HexDigit(*p));
    return value;
}

uint32_t ParseHex(const char* text) {
    return static_cast<uint32_t>(ParseHex64(text));
}
