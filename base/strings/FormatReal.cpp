#include "base/strings/FormatReal.h"

#include <cmath>

namespace {

// Bits per decimal digit; digits are counted and exponents estimated with it.
const double kBitsPerDigit = 3.321928;
// The extended type carries 64 bits, so no precision yields more digits than this.
const int kMaxDigits = 19;
// Largest decimal exponent of an extended value, with room to spare.
const int kMaxExponentDigits = 4960;

// A bounded text under construction: writes past the capacity are dropped, so a
// caller's buffer is never overrun.
class CBoundedText {
public:
    CBoundedText(char* buffer, int capacity) : m_buffer(buffer), m_capacity(capacity), m_length(0) {}

    void Append(char c) {
        if (m_length < m_capacity)
            m_buffer[m_length] = c;
        ++m_length;
    }
    void Append(const char* text, int n) {
        for (int i = 0; i < n; ++i)
            Append(text[i]);
    }
    void AppendRepeated(char c, int n) {
        for (int i = 0; i < n; ++i)
            Append(c);
    }
    // Length of what has been written (never more than the capacity).
    int Length() const { return m_length < m_capacity ? m_length : m_capacity; }
    char* Data() { return m_buffer; }
    void SetLength(int n) { m_length = n; }

private:
    char* m_buffer;
    int m_capacity;
    int m_length;
};

// Rounds text[0..length) at `cut`: the character there is the rounding digit and
// the text ends before it; '5' or more adds one to what remains (a '.' is
// stepped over, a carry out of the first character puts a '1' in front).
// Trailing '0's are then removed. Returns the carry (1 when a digit was added in
// front). The text must have room for one more character.
int RoundText(char* text, int& length, int cut) {
    if (cut < 0 || cut >= length)
        return 0;
    char digit = text[cut];
    length = cut;
    int carry = 0;
    if (digit >= '5') {
        int i = cut - 1;
        for (; i >= 0; --i) {
            if (text[i] == '.')
                continue;
            if (text[i] != '9') {
                ++text[i];
                break;
            }
            text[i] = '0';
        }
        if (i < 0) {
            for (int j = length; j > 0; --j)
                text[j] = text[j - 1];
            text[0] = '1';
            ++length;
            carry = 1;
        }
    }
    while (length > 0 && text[length - 1] == '0')
        --length;
    return carry;
}

// 10^n in extended precision by repeated squaring, so that both builds of the
// system scale by the same value.
long double PowerOfTen(int n) {
    long double result = 1.0L;
    long double base = 10.0L;
    while (n > 0) {
        if (n & 1)
            result *= base;
        base *= base;
        n >>= 1;
    }
    return result;
}

int DigitCountForPrecision(int precisionBits) {
    // The running count is single precision, as the digit count must match the
    // established output exactly (15 for doubles, 7 for floats).
    int n = 0;
    while (n < kMaxDigits && static_cast<float>(n + 1) * static_cast<float>(kBitsPerDigit) <= precisionBits)
        ++n;
    return n;
}

void AppendDecimal(CBoundedText& out, int value) {
    char digits[12];
    int n = 0;
    unsigned int magnitude = value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        out.Append('-');
    while (n > 0)
        out.Append(digits[--n]);
}

// The integer part of 0.d1d2... * 10^e: the first e digits, padded with '0'
// when there are fewer, or "0" when e <= 0.
void AppendIntegerPart(CBoundedText& out, const char* digits, int count, int e) {
    if (e <= 0) {
        out.Append('0');
        return;
    }
    for (int i = 0; i < e; ++i)
        out.Append(i < count ? digits[i] : '0');
}

void FormatZero(CBoundedText& out, int decimals, bool trailingSign) {
    out.Append('0');
    if (decimals > 0) {
        out.Append('.');
        out.AppendRepeated('0', decimals);
    }
    if (trailingSign)
        out.Append(' ');
}

// Fixed decimals; returns false when the number needs more than `room`.
bool FormatFixed(CBoundedText& out, char* digits, int& count, int& e, int room, int decimals) {
    int position = e + decimals;
    if (position < count)
        e += RoundText(digits, count, position);
    long long needed = static_cast<long long>(e) + decimals + (decimals > 0 ? 1 : 0);
    if (room < needed) {
        out.AppendRepeated('*', room - 1);
        return false;
    }
    AppendIntegerPart(out, digits, count, e);
    if (decimals > 0) {
        // The fraction is all '0' except where the digits behind the integer
        // part fall inside it.
        int offset = -1;
        if (e < 0 && -e <= decimals)
            offset = -e;
        else if (e >= 0 && e < count)
            offset = 0;
        int from = e > 0 ? e : 0;
        out.Append('.');
        for (int i = 0; i < decimals; ++i) {
            int d = from + i - offset;
            out.Append(offset >= 0 && i >= offset && d < count ? digits[d] : '0');
        }
    }
    return true;
}

void FormatAutomatic(CBoundedText& out, char* digits, int count, int e, int e10, int room) {
    long long needed = e10 >= 0 ? e : static_cast<long long>(count) - e10 + 1;
    if (room >= needed) {
        int start = out.Length();
        AppendIntegerPart(out, digits, count, e);
        int integerDigits = e > 0 ? e : 0;
        if (count > integerDigits) {
            out.Append('.');
            if (e < 0)
                out.AppendRepeated('0', -e);
            out.Append(digits + integerDigits, count - integerDigits);
        }
        int length = out.Length() - start;
        if (length > room) {
            RoundText(out.Data() + start, length, room);
            out.SetLength(start + length);
        }
        return;
    }
    // Exponent form: d.ddd followed by "e" and the exponent of the first digit.
    char mantissa[kMaxDigits + 3];
    int length = 0;
    mantissa[length++] = count > 0 ? digits[0] : '0';
    if (count > 1) {
        mantissa[length++] = '.';
        for (int i = 1; i < count; ++i)
            mantissa[length++] = digits[i];
    }
    char exponentText[16];
    CBoundedText exponent(exponentText, sizeof exponentText);
    exponent.Append('e');
    AppendDecimal(exponent, e - 1);
    if (length + exponent.Length() > room)
        RoundText(mantissa, length, room - exponent.Length());
    out.Append(mantissa, length);
    out.Append(exponentText, exponent.Length());
}

}  // namespace

int FormatExtendedBufferSize(int width, int decimals) {
    long long text = width > decimals + 3LL ? width : decimals + 3LL;
    // No text is longer than the digits of the largest exponent plus the decimals.
    long long longest = (decimals > 0 ? decimals : 0) + static_cast<long long>(kMaxExponentDigits);
    if (text > longest)
        text = longest;
    if (text < 0)
        text = 0;
    return static_cast<int>(text) + 32;
}

int FormatExtended(long double value, int precisionBits, int width, int decimals, bool trailingSign, char* buffer,
                   int bufferSize) {
    if (bufferSize < 1)
        return 0;
    CBoundedText out(buffer, bufferSize - 1);
    bool negative = value < 0;
    if (value == 0 || std::isnan(value) || std::isinf(value)) {
        FormatZero(out, decimals, trailingSign);
    } else {
        // 1. Scale into [0.1, 1): value = a * 10^e10.
        long double a = negative ? -value : value;
        int e2 = 0;
        frexpl(a, &e2);
        --e2;  // frexpl gives a mantissa in [0.5, 1); the unbiased exponent is one less
        int e10 = static_cast<int>(std::ceil(e2 / kBitsPerDigit));
        if (e10 > 0)
            a /= PowerOfTen(e10);
        else if (e10 < 0)
            a *= PowerOfTen(-e10);
        if (a >= 1) {
            a /= 10;
            ++e10;
        }

        // 2. Significant digits; the last of a full set only rounds the others.
        int maxDigits = DigitCountForPrecision(precisionBits);
        char digits[kMaxDigits + 2];
        int count = 0;
        while (count < maxDigits && a != 0) {
            long double scaled = a * 10;
            int digit = static_cast<int>(scaled);
            if (digit > 9)
                digit = 9;  // a rounded up to 1 within the last bit
            digits[count++] = static_cast<char>('0' + digit);
            a = scaled - digit;
        }
        int e = e10;
        if (count == maxDigits && count > 0)
            e += RoundText(digits, count, count - 1);

        // 4./5. The sign takes a place; more digits than places are rounded away.
        int room = width - ((negative || trailingSign) ? 1 : 0);
        if (count > room)
            e += RoundText(digits, count, room);

        if (!trailingSign && negative)
            out.Append('-');
        if (decimals >= 0)
            FormatFixed(out, digits, count, e, room, decimals);
        else
            FormatAutomatic(out, digits, count, e, e10, room);
        if (trailingSign)
            out.Append(negative ? '-' : ' ');
    }
    int length = out.Length();
    buffer[length] = 0;
    return length;
}

Estring FormatReal(double value, int width, int decimals, bool trailingSign) {
    char small[64];
    int size = FormatExtendedBufferSize(width, decimals);
    char* buffer = size <= static_cast<int>(sizeof small) ? small : new char[size];
    FormatExtended(value, 53, width, decimals, trailingSign, buffer, size);
    Estring text(buffer);
    if (buffer != small)
        delete[] buffer;
    return text;
}
