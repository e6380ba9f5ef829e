#include "base/strings/MatchWildcardNarrow.h"

#include <cctype>
#include <cstring>

namespace {

inline unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

bool SameCharNoCase(char a, char b) {
    return toupper(Byte(a)) == toupper(Byte(b));
}

// A '[' or '{' opens a set or a list only when its closing partner follows;
// otherwise it is an ordinary character.
bool OpensSet(const char* p) {
    return *p == '[' && strchr(p + 1, ']') != nullptr;
}

bool MatchFrom(const char* pattern, const char* name);

// Tries each comma-separated piece of the brace list at `open` against the name;
// `close` is the first '}' after it.
bool MatchAlternatives(const char* open, const char* close, const char* name) {
    const char* piece = open + 1;
    for (;;) {
        const char* p = piece;
        const char* n = name;
        bool ok = true;
        while (p < close && *p != ',') {
            if (*n == 0) {
                ok = false;
                break;
            }
            if (*p == '?') {
                ++p;
            } else if (OpensSet(p)) {
                if (!MatchCharSetNarrow(p, *n)) {
                    ok = false;
                    break;
                }
                ++p;  // past the set's ']'
            } else {
                if (!SameCharNoCase(*p, *n)) {
                    ok = false;
                    break;
                }
                ++p;
            }
            ++n;
        }
        // A set whose ']' lies beyond the brace swallowed the rest of the list.
        if (p > close)
            return false;
        if (ok && MatchFrom(close + 1, n))
            return true;
        while (p < close && *p != ',')
            ++p;
        if (p >= close)
            return false;
        piece = p + 1;
    }
}

bool MatchFrom(const char* pattern, const char* name) {
    const char* p = pattern;
    const char* n = name;
    while (*p != 0) {
        switch (*p) {
        case '?':
            if (*n == 0)
                return false;
            ++p;
            ++n;
            continue;
        case '*':
            if (p[1] == 0)
                return true;
            for (const char* from = n;; ++from) {
                if (MatchFrom(p + 1, from))
                    return true;
                if (*from == 0)
                    return false;
            }
        case '[':
            if (OpensSet(p)) {
                if (*n == 0 || !MatchCharSetNarrow(p, *n))
                    return false;
                ++p;
                ++n;
                continue;
            }
            break;
        case '{': {
            const char* close = strchr(p + 1, '}');
            if (close != nullptr && MatchAlternatives(p, close, n))
                return true;
            break;  // no piece led to a match: the '{' is an ordinary character
        }
        default: break;
        }
        if (*n == 0 || !SameCharNoCase(*p, *n))
            return false;
        ++p;
        ++n;
    }
    return *n == 0;
}

}  // namespace

bool MatchCharSetNarrow(const char*& pattern, char c) {
    bool member[256];
    const char* p = pattern + 1;
    bool negated = *p == '^';
    if (negated)
        ++p;
    for (bool& m : member)
        m = negated;
    // Listed characters go in (or out of a negated set); a later '^' flips that.
    bool value = !negated;
    int previous = 0;
    while (*p != ']' && *p != 0) {
        if (*p == '-') {
            if (p[1] == 0)
                break;
            int last;
            bool endsSet = p[1] == ']';
            if (endsSet) {
                last = 255;
                ++p;  // onto the ']'
            } else {
                last = Byte(p[1]);
                p += 2;
            }
            for (int ch = previous; ch <= last; ++ch)
                member[tolower(ch) & 0xFF] = value;
            previous = last + 1;
            if (endsSet)
                break;
            continue;
        }
        if (*p == '^') {
            value = !value;
        } else {
            previous = Byte(*p);
            member[tolower(previous) & 0xFF] = value;
        }
        ++p;
    }
    pattern = p;
    return member[tolower(Byte(c)) & 0xFF];
}

bool MatchWildcardNarrow(const char* pattern, const char* name) {
    return MatchFrom(pattern, name);
}
