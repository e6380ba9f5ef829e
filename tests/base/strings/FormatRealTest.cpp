#include "base/strings/FormatReal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct TRealCase {
    double value;
    int width;
    int decimals;
    bool trailingSign;
    const char* text;
};

const double kInfinity = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Width 20, automatic decimals and a leading sign is how scripts show reals.
const TRealCase kCases[] = {
    {2.5, 20, -1, false, "2.5"},
    {0.1, 20, -1, false, "0.1"},
    {100, 20, -1, false, "100"},
    {-3, 20, -1, false, "-3"},
    {1.0 / 3, 20, -1, false, "0.33333333333333"},
    {2.0 / 3, 20, -1, false, "0.66666666666667"},
    {1e19, 20, -1, false, "10000000000000000000"},
    {1e20, 20, -1, false, "1e20"},
    {1.5e-10, 20, -1, false, "0.00000000015"},
    {1.5e-20, 20, -1, false, "1.5e-20"},
    {1e-5, 20, -1, false, "0.00001"},
    {123456789012345678.0, 20, -1, false, "123456789012350000"},
    {1e25, 20, -1, false, "1e25"},
    {-1e25, 20, -1, false, "-1e25"},
    {0, 20, -1, false, "0"},
    {-0.0, 20, -1, false, "0"},
    {kInfinity, 20, -1, false, "0"},
    {-kInfinity, 20, -1, false, "0"},
    {kNaN, 20, -1, false, "0"},
    {0, 20, -1, true, "0 "},
    // narrower fields round the digits, then the plain text, to the room
    {1.0 / 3, 10, -1, false, "0.33333333"},
    {-2.0 / 3, 10, -1, false, "-0.6666667"},
    {12345.678, 6, -1, false, "12346."},
    {1.23456789e30, 8, -1, false, "1.235e30"},
    // fixed decimals
    {3.14159, 20, 2, false, "3.14"},
    {-3.14159, 20, 2, false, "-3.14"},
    {0.004, 20, 2, false, "0.00"},
    {0.006, 20, 2, false, "0.01"},
    {0, 20, 2, false, "0.00"},
    {0, 20, 2, true, "0.00 "},
    {999.999, 20, 2, false, "1000.00"},
    {0.5, 20, 0, false, "1"},
    {1.5e-3, 20, 4, false, "0.0015"},
    {123.456, 5, 2, false, "****"},
    {1e19, 20, 2, false, "*******************"},
    // trailing sign
    {-1.5, 20, 2, true, "1.50-"},
    {1.5, 20, 2, true, "1.50 "},
    {-123.456, 5, 2, true, "***-"},
};

TEST(FormatReal, TableOfValues) {
    for (const TRealCase& c : kCases) {
        Estring text = FormatReal(c.value, c.width, c.decimals, c.trailingSign);
        EXPECT_STREQ(c.text, text.Data()) << "value " << c.value << " width " << c.width << " decimals " << c.decimals
                                          << " trailing " << c.trailingSign;
    }
}

TEST(FormatReal, SinglePrecisionKeepsSixDigits) {
    char buffer[64];
    int n = FormatExtended(1.0L / 3, 24, 20, -1, false, buffer, sizeof buffer);
    EXPECT_STREQ("0.333333", buffer);
    EXPECT_EQ(8, n);
}

TEST(FormatReal, WideFieldsAndManyDecimals) {
    // The field grows beyond any fixed buffer: 300 integer digits and 200 decimals.
    Estring wide = FormatReal(1e299, 600, 200, false);
    ASSERT_EQ(300 + 1 + 200, wide.Length());
    EXPECT_EQ('1', wide.Data()[0]);
    EXPECT_EQ('.', wide.Data()[300]);
    EXPECT_EQ('0', wide.Data()[500]);
}

TEST(FormatReal, NeverWritesPastTheCallersBuffer) {
    // Exponent forms are longer than a tiny width; the text is cut, not overrun.
    const int size = 4;
    char* buffer = new char[size];
    int n = FormatExtended(-1.5e-20L, 53, 20, -1, false, buffer, size);
    EXPECT_EQ(size - 1, n);
    EXPECT_EQ(std::string("-1."), std::string(buffer));
    delete[] buffer;
}

}  // namespace
