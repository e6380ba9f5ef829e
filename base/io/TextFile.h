// CTextFile: a text file in UTF-32, UTF-16 (either byte order), UTF-8 or an
// 8-bit code page, read as 32-bit code points and written back in its own
// encoding and line ends.
//
// The encoding comes from a byte-order mark or, without one, from a look at
// the first 32 KiB. Characters are decoded byte by byte through the block
// cache of CRandomFile, forwards (ReadChar, ReadLine) and backwards
// (PrevChar); Find searches in either direction. A rewrite (BeginRewrite,
// WriteLine..., EndRewrite) holds the reader's lock throughout, which keeps the
// read-ahead thread away while the file changes.
//
// A reader that goes through the whole file once (the editor's load) asks for
// sequential reading: ReadLine then decodes UTF-8 and code-page text from
// large pieces read past the block cache, a buffer at a time rather than a
// byte at a time through it.
//
// Reading never fails loudly: the end of the file and read errors both come
// as NoChar and a null line. Malformed input is decoded as a replacement
// character and counted in BadSequences.
#pragma once

#include <cstdint>

#include "base/io/RandomFile.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

class CTextFile : public CRandomFile {
public:
    enum {
        EncodingUtf32LE = 0,
        EncodingUtf32BE = 1,
        EncodingUtf16LE = 2,
        EncodingUtf16BE = 3,
        EncodingUtf8 = 4,
        EncodingCodePage = 5,
        EncodingUnknown = 6  // not yet detected
    };
    // Line-end kinds; the first four are what WriteLine writes.
    enum {
        LineEndCrLf = 0,
        LineEndLf = 1,
        LineEndCr = 2,
        LineEndNul = 3,
        LineEndMixed = 4,   // file kind only: lines end in different ways
        LineEndNone = 5,    // a last line without an end, or a line cut at the maximum
        LineEndUnknown = 6  // file kind before the first line
    };
    static constexpr uint32_t NoChar = 0xFFFFFFFF;
    // Bytes looked at to guess an encoding without a byte-order mark.
    static constexpr int DetectionBytes = 32768;

    CTextFile();
    ~CTextFile();

    // Opens through CRandomFile and detects the encoding. An encoding the
    // owner set before is kept unless a byte-order mark says otherwise.
    uint32_t Open(const Westring& path, int mode, int shareLevel = ShareReadWrite);
    void DetectEncoding();

    // The next character, NoChar at the end of the file.
    uint32_t ReadChar();
    // Steps back over the character before the position and returns it; NoChar
    // at the start of the text (the caller then sets the position again).
    uint32_t PrevChar();
    // The next line without its line end, zero-terminated, in a buffer that
    // the next call reuses; null at the end of the file. A maximum of 1 or
    // more cuts longer lines into pieces of that many characters.
    const char32_t* ReadLine(int64_t& length, int64_t maximum = -1);
    // On: ReadLine reads ahead in large pieces for a pass from the start to
    // the end; off frees them.
    void SetSequential(bool on);

    uint32_t BeginRewrite();
    uint32_t WriteLine(const char32_t* text, int lineEndKind);
    uint32_t WriteText(const char32_t* text);
    uint32_t EndRewrite();

    // Position of the first character of a match, -2 when there is none, -1
    // when the encoding cannot be told or stopRequested (asked now and then,
    // when given) answered true. A negative start begins after the byte-order
    // mark.
    int64_t Find(const Westring& pattern, int64_t start, bool caseSensitive, bool wholeWords, bool backwards,
                 bool (*stopRequested)() = nullptr);

    static Estring EncodingName(int encoding, UINT codePage);
    Estring GetEncodingName() const { return EncodingName(encoding, codePage); }
    static bool IsPlausibleUtf16Unit(uint32_t unit);

    bool IsBigEndian() const { return encoding == EncodingUtf32BE || encoding == EncodingUtf16BE; }
    // n bytes at the character position, reversed when the file is
    // big-endian; false when the file ends first.
    bool ReadRawUnits(void* buffer, int n);

    int Encoding() const { return encoding; }
    void SetEncoding(int value) { encoding = value; }
    UINT CodePage() const { return codePage; }
    void SetCodePage(UINT value) { codePage = value; }
    bool HasByteOrderMark() const { return bomFlag; }
    // Whether a rewrite starts with the encoding's byte-order mark.
    void SetByteOrderMark(bool on) { bomFlag = on; }
    int ByteOrderMarkLength() const { return bomLength; }
    int FileLineEnd() const { return fileLineEnd; }
    int LastLineEnd() const { return lastLineEnd; }
    // The last line read was ended by a character, not by the end of the file.
    bool MoreFollows() const { return moreFollows; }
    bool KeepsNul() const { return keepNul; }
    void SetKeepNul(bool on) { keepNul = on; }
    int BadSequences() const { return badSequences; }
    int64_t CharPosition() const { return charPosition; }
    void SetCharPosition(int64_t value) { charPosition = value; }

private:
    static constexpr uint32_t SequentialPiece = 1 << 20;

    uint32_t ReadUtf8();
    // The next character of a sequential pass: from the piece for UTF-8 and
    // code pages, else as ReadChar.
    uint32_t ReadSequentialChar();
    uint32_t PieceByte(int64_t offset) {
        uint64_t in = uint64_t(offset) - uint64_t(pieceOffset);
        return in < pieceCount ? piece[in] : PieceByteSlow(offset);
    }
    uint32_t PieceByteSlow(int64_t offset);
    int64_t TakePlainRun(int64_t count);
    // Room for at least `needed` units, keeping the first `count`.
    bool GrowLineBuffer(int64_t count, int64_t needed);
    uint32_t ReadUnit(int width);  // NoChar when the file ends inside it
    int64_t PrevUtf8Start();       // -1 when nothing precedes
    void BuildCodePageTable();
    uint32_t WriteUnits(const char32_t* units, int n);
    bool DetectUtf32();  // true when it settled the encoding
    void DetectUtf16();

    int fileLineEnd;
    int lastLineEnd;
    UINT codePage;
    bool bomFlag;
    bool moreFollows;
    bool keepNul;
    int badSequences;
    int encoding;
    bool bigEndian;
    int64_t charPosition;
    int bomLength;
    char32_t* lineBuffer;
    int64_t lineCapacity;
    Westring codePageTable;
    int64_t tableCodePage;  // -1 before the first table
    // The piece of a sequential pass: its bytes and where they lie.
    unsigned char* piece;
    int64_t pieceOffset;
    uint32_t pieceCount;
};
