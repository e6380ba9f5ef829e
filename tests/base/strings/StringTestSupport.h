// Helpers for the string tests: readable failure output for the system's own
// string types, and exact (case-sensitive) comparison of 32-bit text.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

inline std::string Describe(const Westring& text) {
    std::string out = "\"" + std::string(Estring(text).Data()) + "\" [";
    char unit[16];
    for (int i = 0; i < text.Length(); i++) {
        snprintf(unit, sizeof unit, i ? " %X" : "%X", (unsigned)text.Data()[i]);
        out += unit;
    }
    return out + "]";
}

inline void PrintTo(const Westring& text, std::ostream* os) {
    *os << Describe(text);
}

inline void PrintTo(const Estring& text, std::ostream* os) {
    *os << "\"" << text.Data() << "\"";
}

// Same units in the same order, case included.
inline ::testing::AssertionResult SameUnits(const Westring& actual, const Westring& expected) {
    if (actual.EqualsExact(expected) && actual.Length() == expected.Length())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << Describe(actual) << ", expected " << Describe(expected);
}

inline ::testing::AssertionResult SameBytes(const Estring& actual, const char* expected) {
    if (std::string(actual.Data()) == expected && actual.Length() == (int)std::string(expected).size())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got \"" << actual.Data() << "\" (" << actual.Length()
                                         << " bytes), expected \"" << expected << "\"";
}

// A Westring from explicit code points.
inline Westring Units(std::initializer_list<char32_t> units) {
    Westring out;
    for (char32_t u : units)
        out.AppendChar(u);
    return out;
}

inline int Sign(int value) {
    return (value > 0) - (value < 0);
}
