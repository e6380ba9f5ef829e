#include "base/strings/WordChars.h"

const TWordCharRange WordCharRanges[] = {
    {'0', '9'},     {'A', 'Z'},     {'_', '_'},     {'a', 'z'},     {0xC0, 0xD6},   {0xD8, 0xF6}, {0xF8, 0x24F},
    {0x370, 0x3FF}, {0x400, 0x52F}, {0x531, 0x587}, {0x5D0, 0x5EA}, {0x620, 0x64A}, {0, 0},
};

bool IsWordCharWide(char32_t c, const TWordCharRange* table) {
    for (const TWordCharRange* range = table; range->low != 0; range++) {
        if (c >= range->low && c <= range->high) {
            return true;
        }
    }
    return false;
}

bool IsWordCharByte(unsigned char c) {
    return c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 0x80 && c <= 0xFE);
}
