#include "base/strings/NameCompare.h"

#include "base/strings/CaseTable.h"

namespace {

// The weight of a character in name order: its upper-case form, with '_'
// before everything else and the end of the name (0) before that.
int Weight(const CCaseTable& table, char32_t c)
{
    return c == '_' ? 1 : (int)table.ToUpper(c);
}

// Compares two runs of decimal digits by value, however long they are; the
// cursors move past both runs.
int CompareDigitRuns(const char32_t*& a, const char32_t*& b)
{
    while (*a == '0')
        a++;
    while (*b == '0')
        b++;
    const char32_t* startA = a;
    const char32_t* startB = b;
    while (IsAsciiDigit(*a))
        a++;
    while (IsAsciiDigit(*b))
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

} // namespace

bool IsAsciiDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

int NamePlainCompare(const char32_t* a, const char32_t* b)
{
    const CCaseTable& table = CCaseTable::Instance();
    while (*a && *b && table.ToUpper(*a) == table.ToUpper(*b)) {
        a++;
        b++;
    }
    return Weight(table, *a) - Weight(table, *b);
}

int NameNaturalCompare(const char32_t* a, const char32_t* b)
{
    const CCaseTable& table = CCaseTable::Instance();
    for (;;) {
        if (IsAsciiDigit(*a) && IsAsciiDigit(*b)) {
            int order = CompareDigitRuns(a, b);
            if (order)
                return order;
        } else {
            int difference = Weight(table, *a) - Weight(table, *b);
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
