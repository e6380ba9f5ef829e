#include "base/strings/NumberFormat.h"

char32_t ThousandsSeparator = ',';

namespace {

// Powers of ten for 32-bit values; the last two can never be exceeded, so a
// width wide enough for ten digits never switches to a unit.
const uint32_t Powers32[12] = {
    1u, 10u, 100u, 1000u, 10000u, 100000u, 1000000u, 10000000u, 100000000u, 1000000000u, 4294967295u, 4294967295u,
};

// How many digits a field of `width` cells holds when every fourth cell is a
// separator, bounded by `most`; never negative, so a width of 0 or less
// cannot reach outside the tables.
int DigitRoom(int width, int most) {
    int d = width - width / 4;
    if (d > most) {
        return most;
    }
    return d < 0 ? 0 : d;
}

// The magnitude in decimal, grouped, with an optional sign before it and an
// optional unit letter after it.
void WriteGrouped(uint64_t magnitude, bool negative, char unit, char32_t* destination) {
    char32_t digits[24];
    char32_t reversed[24];
    int n = 0;
    do {
        reversed[n++] = static_cast<char32_t>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int i = 0; i < n; i++) {
        digits[i] = reversed[n - 1 - i];
    }
    digits[n] = 0;
    char32_t* out = destination;
    if (negative) {
        *out++ = '-';
    }
    InsertThousandsSeparators(out, digits);
    if (unit != 0) {
        while (*out != 0) {
            out++;
        }
        out[0] = static_cast<char32_t>(unit);
        out[1] = 0;
    }
}

}  // namespace

void InsertThousandsSeparators(char32_t* destination, const char32_t* digits) {
    int n = 0;
    while (digits[n] != 0) {
        n++;
    }
    char32_t* out = destination;
    for (int i = 0; i < n; i++) {
        *out++ = digits[i];
        int after = n - 1 - i;
        if (ThousandsSeparator != 0 && after > 0 && after % 3 == 0) {
            *out++ = ThousandsSeparator;
        }
    }
    *out = 0;
}

void FormatNumberToWidth(uint32_t value, char32_t* destination, int width) {
    int d = DigitRoom(width, 11);
    uint32_t shown = value;
    char unit = 0;
    if (value > Powers32[d]) {
        shown = value >> 10;
        unit = 'K';
        if (shown > Powers32[d > 0 ? d - 1 : 0]) {
            shown = value >> 20;
            unit = 'M';
        }
    }
    WriteGrouped(shown, false, unit, destination);
}

void FormatNumberToWidth64(int64_t value, char32_t* destination, int width) {
    int d = DigitRoom(width, 18);
    int64_t limit = 1;
    for (int i = 0; i < d; i++) {
        limit *= 10;
    }
    if (value < limit) {
        // Below the limit, negative values included: every digit is shown.
        uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        WriteGrouped(magnitude, value < 0, 0, destination);
        return;
    }
    if (width % 4 != 0) {
        limit /= 10;
    }
    static const char units[] = "KMGT";
    int unit = 0;
    uint64_t shown = static_cast<uint64_t>(value) >> 10;
    while (unit < 3 && shown > static_cast<uint64_t>(limit)) {
        unit++;
        shown = static_cast<uint64_t>(value) >> (10 * (unit + 1));
    }
    WriteGrouped(shown, false, units[unit], destination);
}
