#include "ui/WordRight.h"

#include "app/settings/Config.h"
#include "base/strings/WordChars.h"

namespace {

bool IsWordUnit(char32_t c) {
    return IsWordCharWide(c);
}

bool IsWordUnit(char c) {
    return IsWordCharByte(static_cast<unsigned char>(c));
}

// With the setting off: past the rest of this word and the blanks after it.
// With it on: up to the next word and past it. Starting one unit in when off
// makes a cursor already at a word start move on to the next one.
template <class T>
int WordRightStop(const T* text) {
    bool toWordEnd = Config.BriefWordRight != 0;
    int i = (text[0] != 0 && !toWordEnd) ? 1 : 0;
    while (text[i] != 0 && IsWordUnit(text[i]) != toWordEnd) {
        i++;
    }
    while (text[i] != 0 && IsWordUnit(text[i]) == toWordEnd) {
        i++;
    }
    return i;
}

}  // namespace

int WordRightOffset(const char32_t* text) {
    return WordRightStop(text);
}

int WordRightOffsetBytes(const char* text) {
    return WordRightStop(text);
}
