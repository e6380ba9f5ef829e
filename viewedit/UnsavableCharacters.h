// CUnsavableCharacters: counts the characters of a text that an encoding
// cannot hold. Unicode encodings hold every character; a code page has no
// byte for most of them, and writing would put its default character ("?")
// in their place. The answers of the conversion are kept per character, so a
// long text costs one conversion per distinct character.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/win32.h"

class CUnsavableCharacters {
public:
    CUnsavableCharacters(int encoding, UINT codePage);

    // How many of the n characters cannot be written.
    int64_t Count(const char32_t* text, int n);
    // Whether any character at all can be lost.
    bool CanLose() const { return lossy; }

private:
    bool Encodable(char32_t c);

    UINT codePage;
    bool lossy;
    // Per character of the first plane: 0 not asked yet, 1 encodable, 2 not.
    std::unique_ptr<uint8_t[]> known;
};
