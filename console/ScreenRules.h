// Rules that the client's shadow screen and the hosts' screen models both
// apply, so that they agree on every cell: clipping and teletype output.
// Header only, no dependencies.
//
// For Write, the screen type offers: int& X(), int& Y() (the cursor), int Width(),
// int Height(), void LineFeed() (cursor to the start of the next row,
// scrolling the whole screen up from the last row), void Put(x, y, ch) (in the
// current attribute) and void Bell().
#pragma once

namespace ScreenRules {

// The part of [start, start + length) that lies in [0, limit); false when
// nothing does.
constexpr bool ClipSpan(int& start, int& length, int limit) {
    if (start < 0) {
        length += start;
        start = 0;
    }
    if (length > limit - start) {
        length = limit - start;
    }
    return length > 0;
}

// What teletype output stores; other control characters are ignored.
constexpr bool IsPrintable(char32_t c) {
    return c >= 32 && c != 127 && !(c >= 0x80 && c < 0xA0);
}

template <class TScreen>
void Write(TScreen& screen, const char32_t* text, int n) {
    int& x = screen.X();
    int& y = screen.Y();
    y = y < 0 ? 0 : y >= screen.Height() ? screen.Height() - 1 : y;
    x = x < 0 ? 0 : x;
    for (int i = 0; i < n; ++i) {
        // A full row wraps before the next character, not after the last.
        if (x >= screen.Width()) {
            screen.LineFeed();
        }
        const char32_t c = text[i];
        switch (c) {
        case U'\t':
            x = (x | 7) + 1;  // the next multiple of 8
            break;
        case U'\r': x = 0; break;
        case U'\b':
            if (x > 0) {
                --x;
            }
            break;
        case U'\n': screen.LineFeed(); break;
        case 7: screen.Bell(); break;
        default:
            if (IsPrintable(c)) {
                screen.Put(x, y, c);
                ++x;
            }
        }
    }
}

}  // namespace ScreenRules
