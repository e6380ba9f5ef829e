// The orders of file names in the panels.
//
// Both ignore case through the Unicode case table and count '_' as 1, so it
// sorts before every other character and a name sorts before its extensions.
// The folded forms compare names already upper-cased through the table (each
// folded once, then compared many times while sorting) and give the same order.
#pragma once

#include "base/strings/CaseTable.h"

bool IsAsciiDigit(char32_t c);

int NamePlainCompare(const char32_t* a, const char32_t* b);
// Runs of digits compare by value (a9 before a10; a01 equals a1).
int NameNaturalCompare(const char32_t* a, const char32_t* b);

namespace name_order {

inline bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

// The weight of a folded character: '_' before everything else and the end of
// the name (0) before that. No character folds to '_' but '_' itself. Every
// other character keeps a weight of its own (U+0001 too), or two names that
// differ there would compare equal whatever follows, and a sort by such an
// order would depend on the order the names came in.
inline int Weight(char32_t folded) {
    return folded == '_' ? 1 : folded == 0 ? 0 : (int)folded + 1;
}

// Compares two runs of decimal digits by value, however long they are; the
// cursors move past both runs.
template <class Unit>
inline int CompareDigitRuns(const Unit*& a, const Unit*& b) {
    while (*a == '0')
        a++;
    while (*b == '0')
        b++;
    const Unit* startA = a;
    const Unit* startB = b;
    while (IsDigit(*a))
        a++;
    while (IsDigit(*b))
        b++;
    long lengthA = a - startA;
    long lengthB = b - startB;
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    for (long i = 0; i < lengthA; i++)
        if (startA[i] != startB[i])
            return startA[i] < startB[i] ? -1 : 1;
    return 0;
}

// The two orders over any folding of the characters (digits fold to
// themselves and nothing else folds to a digit).
template <class Unit, class Fold>
inline int PlainCompare(const Unit* a, const Unit* b, Fold fold) {
    while (*a && *b && fold(*a) == fold(*b)) {
        a++;
        b++;
    }
    return Weight(fold(*a)) - Weight(fold(*b));
}

template <class Unit, class Fold>
inline int NaturalCompare(const Unit* a, const Unit* b, Fold fold) {
    for (;;) {
        if (IsDigit(*a) && IsDigit(*b)) {
            int order = CompareDigitRuns(a, b);
            if (order)
                return order;
        } else {
            int difference = Weight(fold(*a)) - Weight(fold(*b));
            if (difference)
                return difference;
            if (!*a)
                return 0;
            a++;
            b++;
        }
        if (!*a && !*b)
            return 0;
    }
}

struct TAlreadyFolded {
    char32_t operator()(char32_t c) const { return c; }
};

}  // namespace name_order

// The orders over names folded with Str32UpperInPlace's table.
inline int NamePlainCompareFolded(const char32_t* a, const char32_t* b) {
    return name_order::PlainCompare(a, b, name_order::TAlreadyFolded());
}
inline int NameNaturalCompareFolded(const char32_t* a, const char32_t* b) {
    return name_order::NaturalCompare(a, b, name_order::TAlreadyFolded());
}
