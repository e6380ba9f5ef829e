// How control characters look on the console: characters 1 to 31 show as the
// glyphs of the old PC character set, 127 to 159 as the house sign. Both the
// client's shadow screen and the hosts' screen models store what the screen
// shows, so both map through this one table. Header only, no dependencies.
#pragma once

namespace ConsoleGlyphs {

constexpr char32_t LowGlyphs[32] = {
    0,      0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};
constexpr char32_t HouseGlyph = 0x2302;

// The character as the screen shows it, for text and cell writes.
constexpr char32_t MapGlyph(char32_t c) {
    return (c >= 1 && c <= 31) ? LowGlyphs[c] : (c >= 127 && c <= 159) ? HouseGlyph : c;
}

// A repeated cell: only 1 to 31 are mapped.
constexpr char32_t MapRepeatGlyph(char32_t c) {
    return (c >= 1 && c <= 31) ? LowGlyphs[c] : c;
}

}  // namespace ConsoleGlyphs
