// Utf8Codec: the one UTF-8 and UTF-16 codec of the code above the platform
// layer (the strings, the text file reader, the console hosts, the tests).
// It lives in this header alone, so the hosts and the test helpers use it
// without linking the rest of base.
//
// Decoding checks the structure of a sequence only: a lead byte and the
// continuation bytes it announces. Overlong forms and encoded surrogates
// decode to the value they spell, as texts written by older tools hold them.
// A byte that starts no complete sequence is taken alone and reported as
// stray; what it stands for is the caller's rule (its Latin-1 character in
// strings and host frames, U+FFFD in the text file reader).
#pragma once

#include <cstddef>
#include <string>

// One decoded sequence: the code point and the bytes it took. A stray byte
// takes one byte and comes back as its own value with `valid` false.
struct TUtf8Step {
    char32_t code;
    int length;
    bool valid;
};

// The length of the sequence a lead byte announces: 1 for ASCII, 2 to 4 for
// a lead byte, 0 for a continuation byte or a byte that leads nothing.
inline int Utf8SequenceLength(unsigned byte) {
    return byte < 0x80 ? 1 : (byte & 0xE0) == 0xC0 ? 2 : (byte & 0xF0) == 0xE0 ? 3 : (byte & 0xF8) == 0xF0 ? 4 : 0;
}

inline bool IsUtf8Continuation(long byte) {
    return byte >= 0 && (byte & 0xC0) == 0x80;
}

// Decodes the sequence at the start of a byte source: byteAt(k) gives the
// byte k places on (0 to 255), or a negative value past the end. Byte k is
// asked for only when the bytes before it continued the sequence, so a
// zero-terminated text is never read past its terminator.
template <class TByteAt>
TUtf8Step DecodeUtf8Step(TByteAt byteAt) {
    const long lead = byteAt(0);
    const int length = Utf8SequenceLength((unsigned)lead);
    if (length == 1)
        return {(char32_t)lead, 1, true};
    if (length == 0)
        return {(char32_t)lead, 1, false};
    static const unsigned payload[5] = {0, 0, 0x1F, 0x0F, 0x07};
    char32_t code = (char32_t)(lead & payload[length]);
    for (int k = 1; k < length; k++) {
        const long next = byteAt(k);
        if (!IsUtf8Continuation(next))
            return {(char32_t)lead, 1, false};
        code = (code << 6) | (char32_t)(next & 0x3F);
    }
    return {code, length, true};
}

// Bytes of a code point in UTF-8: 1 to 4.
inline int Utf8Length(char32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

// UTF-16.
inline bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

inline bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point of a high and a low surrogate.
inline char32_t JoinSurrogates(char32_t high, char32_t low) {
    return (((high & 0x3FF) << 10) | (low & 0x3FF)) + 0x10000;
}

// Units of a code point in UTF-16: 2 from 0x10000 to 0x10FFFF, else 1.
inline int Utf16Length(char32_t code) {
    return code >= 0x10000 && code <= 0x10FFFF ? 2 : 1;
}

// The same over n bytes (n at least 1).
inline TUtf8Step DecodeUtf8Step(const unsigned char* bytes, size_t n) {
    return DecodeUtf8Step([&](int k) { return (size_t)k < n ? (long)bytes[k] : -1L; });
}

// Writes the code point's Utf8Length bytes and returns their number. Values
// past 0x1FFFFF keep their low bits in the four-byte form.
inline int EncodeUtf8(char32_t code, char* out) {
    unsigned char* p = (unsigned char*)out;
    switch (Utf8Length(code)) {
    case 1: p[0] = (unsigned char)code; return 1;
    case 2:
        p[0] = (unsigned char)(0xC0 | (code >> 6));
        p[1] = (unsigned char)(0x80 | (code & 0x3F));
        return 2;
    case 3:
        p[0] = (unsigned char)(0xE0 | (code >> 12));
        p[1] = (unsigned char)(0x80 | ((code >> 6) & 0x3F));
        p[2] = (unsigned char)(0x80 | (code & 0x3F));
        return 3;
    default:
        p[0] = (unsigned char)(0xF0 | (code >> 18));
        p[1] = (unsigned char)(0x80 | ((code >> 12) & 0x3F));
        p[2] = (unsigned char)(0x80 | ((code >> 6) & 0x3F));
        p[3] = (unsigned char)(0x80 | (code & 0x3F));
        return 4;
    }
}

// Writes the code point's Utf16Length units and returns their number; a code
// point past U+10FFFF, which UTF-16 cannot hold, becomes U+FFFD.
inline int EncodeUtf16(char32_t code, char16_t* out) {
    if (code < 0x10000) {
        out[0] = (char16_t)code;
        return 1;
    }
    if (code > 0x10FFFF) {
        out[0] = 0xFFFD;
        return 1;
    }
    out[0] = (char16_t)(0xD800 + ((code - 0x10000) >> 10));
    out[1] = (char16_t)(0xDC00 + ((code - 0x10000) & 0x3FF));
    return 2;
}

// Whole texts. Stray bytes stand for their Latin-1 characters; a surrogate
// without its partner stands for itself.
inline std::u32string Utf8ToUtf32(const std::string& bytes) {
    std::u32string out;
    const unsigned char* p = (const unsigned char*)bytes.data();
    for (size_t i = 0; i < bytes.size();) {
        TUtf8Step step = DecodeUtf8Step(p + i, bytes.size() - i);
        out += step.code;
        i += (size_t)step.length;
    }
    return out;
}

inline std::string Utf32ToUtf8(const std::u32string& text) {
    std::string out;
    char buffer[4];
    for (char32_t code : text)
        out.append(buffer, (size_t)EncodeUtf8(code, buffer));
    return out;
}

inline std::u16string Utf8ToUtf16(const std::string& bytes) {
    std::u16string out;
    char16_t units[2];
    for (char32_t code : Utf8ToUtf32(bytes))
        out.append(units, (size_t)EncodeUtf16(code, units));
    return out;
}

inline std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    char buffer[4];
    for (size_t i = 0; i < text.size(); i++) {
        char32_t code = text[i];
        if (IsHighSurrogate(code) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            code = JoinSurrogates(code, text[++i]);
        out.append(buffer, (size_t)EncodeUtf8(code, buffer));
    }
    return out;
}
