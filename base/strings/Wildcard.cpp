#include "base/strings/Wildcard.h"

#include "base/strings/CaseTable.h"

// A set is evaluated member by member for the one character asked about, rather
// than by filling a flag for every code point: the last member that touches the
// character's upper-case form decides, exactly as a table filled in order would.

namespace {

bool OccursLater(const char32_t* p, char32_t c) {
    for (; *p; p++)
        if (*p == c)
            return true;
    return false;
}

// Whether some code point in lower..upper has the upper-case form target.
bool RangeHolds(const CCaseTable& table, char32_t lower, char32_t upper, char32_t target) {
    if (lower > upper)
        return false;
    // Case mappings stay in their plane, so beyond the basic plane only the
    // target itself and its lower-case form can map onto it.
    if (target >= 0x10000) {
        char32_t lowerForm = table.ToLower(target);
        return (target >= lower && target <= upper && table.ToUpper(target) == target) ||
               (lowerForm >= lower && lowerForm <= upper && table.ToUpper(lowerForm) == target);
    }
    char32_t last = upper > 0xFFFF ? 0xFFFF : upper;
    for (char32_t c = lower; c <= last; c++)
        if (table.ToUpper(c) == target)
            return true;
    return false;
}

struct TMatcher {
    const CCaseTable& table;

    bool Same(char32_t a, char32_t b) const { return table.ToUpper(a) == table.ToUpper(b); }

    // One alternative of a brace group at the text position; the cursor ends on
    // the comma or the closing brace. Returns the text after what it used, or
    // null when it does not match.
    const char32_t* MatchAlternative(const char32_t*& q, const char32_t* close, const char32_t* t) const {
        bool matching = true;
        while (q < close && *q != ',') {
            if (!matching) {
                q++;
                continue;
            }
            char32_t c = *q;
            if (c == '?') {
                if (*t)
                    t++;
                else
                    matching = false;
                q++;
            } else if (c == '[' && OccursLater(q + 1, ']')) {
                const char32_t* r = q;
                if (*t && MatchCharSet(r, *t)) {
                    t++;
                    q = r + 1;
                } else {
                    matching = false;
                    q++;
                }
            } else {
                if (*t && Same(c, *t))
                    t++;
                else
                    matching = false;
                q++;
            }
        }
        return matching ? t : nullptr;
    }

    // The brace group at p: 1 when some alternative and the rest of the pattern match.
    bool MatchAlternatives(const char32_t* p, const char32_t* t) const {
        const char32_t* close = p + 1;
        while (*close != '}')
            close++;
        if (close == p + 1)
            return false;  // "{}" has no alternatives
        const char32_t* q = p + 1;
        for (;;) {
            const char32_t* after = MatchAlternative(q, close, t);
            if (after && Match(close + 1, after))
                return true;
            if (q >= close)
                return false;
            q++;  // past the comma
        }
    }

    bool Match(const char32_t* p, const char32_t* t) const {
        while (*p) {
            char32_t c = *p;
            if (c == '?') {
                if (!*t)
                    return false;
                p++;
                t++;
            } else if (c == '[' && OccursLater(p + 1, ']')) {
                if (!*t)
                    return false;
                const char32_t* q = p;
                if (!MatchCharSet(q, *t))
                    return false;
                p = q + 1;
                t++;
            } else if (c == '*') {
                while (*p == '*')  // a run of stars matches what one star does
                    p++;
                if (!*p)
                    return true;
                for (;; t++) {
                    if (Match(p, t))
                        return true;
                    if (!*t)
                        return false;
                }
            } else {
                if (c == '{' && OccursLater(p + 1, '}') && MatchAlternatives(p, t))
                    return true;
                if (!*t || !Same(c, *t))
                    return false;
                p++;
                t++;
            }
        }
        return !*t;
    }
};

}  // namespace

int MatchWildcard(const char32_t* pattern, const char32_t* text) {
    TMatcher matcher{CCaseTable::Instance()};
    return matcher.Match(pattern, text) ? 1 : 0;
}

bool MatchCharSet(const char32_t*& cursor, char32_t ch) {
    const CCaseTable& table = CCaseTable::Instance();
    const char32_t target = table.ToUpper(ch);
    const char32_t* p = cursor + 1;
    bool memberValue = true;
    if (*p == '^') {
        memberValue = false;
        p++;
    }
    bool held = !memberValue;
    char32_t lower = 0;  // a '-' first in the set ranges from code point 0
    while (*p && *p != ']') {
        char32_t c = *p;
        if (c == '^') {
            if (p[1] == ']') {
                p++;
                break;
            }
            memberValue = !memberValue;
            p++;
        } else if (c == '-') {
            if (!p[1])
                break;
            char32_t upper = p[1] == ']' ? 255 : p[1];
            p += p[1] == ']' ? 1 : 2;
            if (RangeHolds(table, lower, upper, target))
                held = memberValue;
            if (upper >= lower && upper != 0xFFFFFFFF)
                lower = upper + 1;
        } else {
            if (table.ToUpper(c) == target)
                held = memberValue;
            lower = c;
            p++;
        }
    }
    cursor = p;
    return held;
}
