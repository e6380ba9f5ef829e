#include "viewedit/UnsavableCharacters.h"

#include "base/io/TextFile.h"
#include "base/strings/Utf8Codec.h"

CUnsavableCharacters::CUnsavableCharacters(int encoding, UINT codePage)
    : codePage(codePage), lossy(encoding == CTextFile::EncodingCodePage && codePage != CP_UTF8) {}

bool CUnsavableCharacters::Encodable(char32_t c) {
    // Every code page the program writes holds ASCII as it is.
    if (c < 0x80)
        return true;
    if (c <= 0xFFFF && known && known[c] != 0)
        return known[c] == 1;
    char16_t pair[2] = {0, 0};
    const int n = EncodeUtf16(c, pair);
    const WCHAR units[2] = {WCHAR(pair[0]), WCHAR(pair[1])};
    char bytes[8];
    BOOL usedDefault = FALSE;
    // No best fit: a character written as a look-alike is lost as well.
    const bool encodable = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, units, n,
                                               bytes, int(sizeof bytes), nullptr, &usedDefault) > 0 &&
                           !usedDefault;
    if (c <= 0xFFFF) {
        if (!known)
            known.reset(new uint8_t[0x10000]());
        known[c] = encodable ? 1 : 2;
    }
    return encodable;
}

int64_t CUnsavableCharacters::Count(const char32_t* text, int n) {
    if (!lossy)
        return 0;
    int64_t count = 0;
    for (int i = 0; i < n; i++) {
        if (text[i] >= 0x80 && !Encodable(text[i]))
            count++;
    }
    return count;
}
