#include "base/io/TextFile.h"

#include <cstdlib>
#include <cstring>

#include "base/strings/CaseTable.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Utf8Codec.h"

namespace {

const uint32_t ReplacementChar = 0xFFFD;
const int64_t InitialLineUnits = 0x10000;

// Byte-order marks, searched in this order: the UTF-32 little-endian mark
// begins with the UTF-16 one and must win over it.
struct TByteOrderMark {
    int encoding;
    int length;
    unsigned char bytes[4];
};
const TByteOrderMark ByteOrderMarks[] = {
    {CTextFile::EncodingUtf32LE, 4, {0xFF, 0xFE, 0x00, 0x00}},
    {CTextFile::EncodingUtf32BE, 4, {0x00, 0x00, 0xFE, 0xFF}},
    {CTextFile::EncodingUtf16LE, 2, {0xFF, 0xFE, 0, 0}},
    {CTextFile::EncodingUtf16BE, 2, {0xFE, 0xFF, 0, 0}},
    {CTextFile::EncodingUtf8, 3, {0xEF, 0xBB, 0xBF, 0}},
};

// UTF-16 units that hardly ever occur in text (NUL, unassigned blocks, rare
// scripts, the private use area): a byte order that yields one is not the
// file's.
struct TUnitRange {
    uint32_t low;
    uint32_t high;
};
const TUnitRange ImplausibleUtf16Units[] = {
    {0x0000, 0x0000}, {0x07FB, 0x0900}, {0x1A20, 0x1AFF}, {0x1C80, 0x1CFF}, {0x2B55, 0x2BFF}, {0xA698, 0xA6FF},
    {0xA78D, 0xA7FA}, {0xA960, 0xA9FF}, {0xAA60, 0xABFF}, {0xD7A4, 0xD7FF}, {0xE000, 0xF8FF},
};

// The characters written for the line-end kinds CR LF, LF, CR and NUL.
const char32_t LineEndTexts[4][2] = {{'\r', '\n'}, {'\n', 0}, {'\r', 0}, {0, 0}};
const int LineEndLengths[4] = {2, 1, 1, 1};

// Word characters for whole-word search: digits, the underscore and letters
// (the Latin-1 letters and every character that has a case).
bool IsWordCharacter(uint32_t c) {
    if (c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    if (c < 0xC0 || c > 0x10FFFF)
        return false;
    if (c <= 0xFF)
        return c != 0xD7 && c != 0xF7;
    return ToUpperChar(c) != c || ToLowerChar(c) != c;
}

// The UTF-8 character at the position, read through byteAt, which gives
// NoChar past the end; the position moves past it.
template <class TByteAt>
uint32_t DecodeUtf8At(TByteAt byteAt, int64_t& position, int& badSequences) {
    uint32_t byte = byteAt(position);
    if (byte == CTextFile::NoChar)
        return CTextFile::NoChar;
    TUtf8Step step = DecodeUtf8Step([&](int k) {
        uint32_t next = byteAt(position + k);
        return next == CTextFile::NoChar ? -1L : long(next);
    });
    position += step.length;
    if (!step.valid) {
        badSequences++;
        return ReplacementChar;
    }
    return step.code;
}

// What a byte order looks like after some units: still possible, plausible
// (a blank and a line end met), or impossible.
enum TOrderState { OrderOpen, OrderSeen, OrderRejected };

}  // namespace

CTextFile::CTextFile()
    : fileLineEnd(LineEndUnknown), lastLineEnd(LineEndNone), codePage(GetTextCodePage()), bomFlag(false),
      moreFollows(false), keepNul(true), badSequences(0), encoding(EncodingUnknown), bigEndian(false), charPosition(0),
      bomLength(0), lineBuffer(static_cast<char32_t*>(malloc(sizeof(char32_t) * InitialLineUnits))),
      lineCapacity(lineBuffer ? InitialLineUnits : 0), tableCodePage(-1), piece(nullptr), pieceOffset(0),
      pieceCount(0) {}

CTextFile::~CTextFile() {
    free(lineBuffer);
    free(piece);
}

void CTextFile::SetSequential(bool on) {
    pieceOffset = 0;
    pieceCount = 0;
    if (on && !piece) {
        piece = static_cast<unsigned char*>(malloc(SequentialPiece));
    } else if (!on) {
        free(piece);
        piece = nullptr;
    }
}

// The piece that holds the offset, read past the block cache; NoChar at the
// end of the file (the size taken at opening, as ByteAt sees it), on a read
// error, and without sequential reading.
uint32_t CTextFile::PieceByteSlow(int64_t offset) {
    pieceCount = 0;
    const int64_t size = KnownSize();
    if (!piece || offset < 0 || (offset >= size && !IsGrowing()))
        return NoChar;
    uint32_t count = SequentialPiece;
    if (!IsGrowing() && size - offset < int64_t(count))
        count = uint32_t(size - offset);
    if (ReadAt(offset, piece, count) != 0 || count == 0)
        return NoChar;
    pieceOffset = offset;
    pieceCount = count;
    return piece[0];
}

uint32_t CTextFile::Open(const Westring& path, int mode, int shareLevel) {
    uint32_t error = CRandomFile::Open(path, mode, shareLevel);
    pieceCount = 0;
    moreFollows = false;
    charPosition = 0;
    bomLength = 0;
    badSequences = 0;
    fileLineEnd = LineEndUnknown;
    if (error != 0)
        return error;
    SetPosition(0);
    DetectEncoding();
    bigEndian = IsBigEndian();
    return 0;
}

bool CTextFile::IsPlausibleUtf16Unit(uint32_t unit) {
    for (const TUnitRange& range : ImplausibleUtf16Units) {
        if (unit >= range.low && unit <= range.high)
            return false;
    }
    return true;
}

void CTextFile::DetectEncoding() {
    bomFlag = false;
    unsigned char head[4];
    for (int i = 0; i < 4; i++)
        head[i] = static_cast<unsigned char>(ByteAt(i));
    for (const TByteOrderMark& mark : ByteOrderMarks) {
        // A mark counts only when the file holds all of it (ByteAt's end
        // value reads as 0xFF and would otherwise complete a mark).
        if (KnownSize() >= mark.length && memcmp(head, mark.bytes, mark.length) == 0) {
            encoding = mark.encoding;
            charPosition = bomLength = mark.length;
            bomFlag = true;
            return;
        }
    }
    if (encoding != EncodingUnknown)
        return;

    // UTF-8: at least one well-formed multi-byte sequence, and no NUL and no
    // stray byte above 0x7F.
    enum { Plain, MultiByte, Invalid } state = Plain;
    for (int64_t offset = 0; offset < DetectionBytes && state != Invalid;) {
        uint32_t byte = ByteAt(offset);
        if (byte == NoChar)
            break;
        int length = Utf8SequenceLength(byte);
        if (length > 1) {
            state = MultiByte;
            for (int k = 1; k < length; k++) {
                if (!IsUtf8Continuation(ByteAt(offset + k)))
                    state = Invalid;
            }
            offset += length;
        } else {
            if (byte == 0 || byte > 0x7F)
                state = Invalid;
            offset++;
        }
    }
    if (state == MultiByte) {
        encoding = EncodingUtf8;
        return;
    }
    if (state == Invalid)
        encoding = EncodingCodePage;

    if (DetectUtf32())
        return;
    DetectUtf16();
}

bool CTextFile::DetectUtf32() {
    TOrderState little = OrderOpen, big = OrderOpen;
    for (int64_t offset = 0; offset + 4 <= DetectionBytes; offset += 4) {
        uint32_t b[4];
        bool complete = true;
        for (int k = 0; k < 4; k++) {
            b[k] = ByteAt(offset + k);
            if (b[k] == NoChar)
                complete = false;
        }
        if (!complete)
            break;
        uint32_t values[2] = {b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24, b[3] | b[2] << 8 | b[1] << 16 | b[0] << 24};
        TOrderState* states[2] = {&little, &big};
        for (int order = 0; order < 2; order++) {
            if (*states[order] == OrderRejected)
                continue;
            if (values[order] >= 0x110000)
                *states[order] = OrderRejected;
            else if (values[order] == 0x0A || values[order] == 0x20)
                *states[order] = OrderSeen;
        }
        if (little == OrderRejected && big == OrderRejected)
            return false;
    }
    if (little == OrderSeen) {
        encoding = EncodingUtf32LE;
        return true;
    }
    if (big == OrderSeen) {
        encoding = EncodingUtf32BE;
        return true;
    }
    return false;
}

void CTextFile::DetectUtf16() {
    struct TOrder {
        TOrderState state;
        bool pendingHigh;
        bool blank;
        bool lineFeed;
    } orders[2] = {{OrderOpen, false, false, false}, {OrderOpen, false, false, false}};

    for (int64_t offset = 0; offset + 2 <= DetectionBytes; offset += 2) {
        uint32_t b0 = ByteAt(offset), b1 = ByteAt(offset + 1);
        if (b0 == NoChar || b1 == NoChar)
            break;
        uint32_t units[2] = {b0 | b1 << 8, b1 | b0 << 8};
        for (int i = 0; i < 2; i++) {
            TOrder& order = orders[i];
            uint32_t unit = units[i];
            if (order.state == OrderRejected)
                continue;
            if (!IsPlausibleUtf16Unit(unit)) {
                order.state = OrderRejected;
            } else if (IsLowSurrogate(unit)) {
                if (order.pendingHigh)
                    order.pendingHigh = false;
                else
                    order.state = OrderRejected;
            } else if (IsHighSurrogate(unit)) {
                order.pendingHigh = true;
            } else if (order.pendingHigh) {
                order.state = OrderRejected;
            } else {
                if (unit == 0x20)
                    order.blank = true;
                if (unit == 0x0A)
                    order.lineFeed = true;
                if (order.blank && order.lineFeed)
                    order.state = OrderSeen;
            }
        }
        if (orders[0].state == OrderRejected && orders[1].state == OrderRejected)
            break;
    }
    if (orders[0].state == OrderSeen)
        encoding = EncodingUtf16LE;
    else if (orders[1].state == OrderSeen)
        encoding = EncodingUtf16BE;
    else if (encoding == EncodingUnknown)
        encoding = EncodingCodePage;
}

uint32_t CTextFile::ReadUnit(int width) {
    uint32_t value = 0;
    for (int k = 0; k < width; k++) {
        uint32_t byte = ByteAt(charPosition + k);
        if (byte == NoChar)
            return NoChar;
        if (bigEndian)
            value = value << 8 | byte;
        else
            value |= byte << (8 * k);
    }
    charPosition += width;
    return value;
}

// A lead byte takes only the continuation bytes that follow it: a line end or
// any other byte after it stays a character of its own, so that a rewrite of
// malformed text keeps every line.
uint32_t CTextFile::ReadUtf8() {
    return DecodeUtf8At([this](int64_t offset) { return ByteAt(offset); }, charPosition, badSequences);
}

uint32_t CTextFile::ReadSequentialChar() {
    if (encoding == EncodingCodePage) {
        uint32_t byte = PieceByte(charPosition);
        if (byte == NoChar)
            return NoChar;
        charPosition++;
        return byte == 0 && !keepNul ? ' ' : byte;
    }
    if (encoding == EncodingUtf8) {
        uint32_t byte = PieceByte(charPosition);
        if (byte < 0x80) {
            charPosition++;
            return byte;
        }
        return DecodeUtf8At([this](int64_t offset) { return PieceByte(offset); }, charPosition, badSequences);
    }
    return ReadChar();
}

uint32_t CTextFile::ReadChar() {
    switch (encoding) {
    case EncodingUtf8: return ReadUtf8();
    case EncodingUtf16LE:
    case EncodingUtf16BE: {
        uint32_t unit = ReadUnit(2);
        if (unit == NoChar || !IsHighSurrogate(unit))
            return unit;
        int64_t afterHigh = charPosition;
        uint32_t low = ReadUnit(2);
        if (low != NoChar && IsLowSurrogate(low))
            return JoinSurrogates(unit, low);
        badSequences++;
        charPosition = afterHigh;
        return unit;
    }
    case EncodingUtf32LE:
    case EncodingUtf32BE: {
        uint32_t value = ReadUnit(4);
        if (value == 0 && !keepNul)
            return ' ';
        return value;
    }
    default: {
        // A code page, or not yet detected: one byte.
        uint32_t value = ReadUnit(1);
        if (value == 0 && !keepNul)
            return ' ';
        return value;
    }
    }
}

int64_t CTextFile::PrevUtf8Start() {
    int64_t last = charPosition - 1;
    if (last < bomLength)
        return -1;
    if (!IsUtf8Continuation(ByteAt(last)))
        return last;
    // The lead byte of a sequence that ends just here, else the stray byte
    // alone (which reads as a replacement character, as it does forwards).
    for (int k = 1; k <= 3 && last - k >= bomLength; k++) {
        uint32_t byte = ByteAt(last - k);
        if (IsUtf8Continuation(byte))
            continue;
        if (Utf8SequenceLength(byte) == k + 1)
            return last - k;
        break;
    }
    return last;
}

uint32_t CTextFile::PrevChar() {
    int64_t start;
    if (encoding == EncodingUtf8) {
        start = PrevUtf8Start();
        if (start < 0)
            return NoChar;
    } else {
        int width = (encoding == EncodingUtf32LE || encoding == EncodingUtf32BE)   ? 4
                    : (encoding == EncodingUtf16LE || encoding == EncodingUtf16BE) ? 2
                                                                                   : 1;
        start = charPosition - width;
        if (start < bomLength)
            return NoChar;
        if (width == 2 && start - 2 >= bomLength) {
            // Over a surrogate pair at once, as ReadChar reads it.
            charPosition = start;
            uint32_t low = ReadUnit(2);
            charPosition = start - 2;
            uint32_t high = ReadUnit(2);
            if (IsLowSurrogate(low) && IsHighSurrogate(high))
                start -= 2;
        }
    }
    charPosition = start;
    uint32_t c = ReadChar();
    charPosition = start;
    return c;
}

bool CTextFile::ReadRawUnits(void* buffer, int n) {
    unsigned char* bytes = static_cast<unsigned char*>(buffer);
    for (int k = 0; k < n; k++) {
        uint32_t byte = ByteAt(charPosition + k);
        if (byte == NoChar)
            return false;
        bytes[bigEndian ? n - 1 - k : k] = static_cast<unsigned char>(byte);
    }
    charPosition += n;
    return true;
}

void CTextFile::BuildCodePageTable() {
    codePageTable.Clear();
    for (int value = 0; value < 256; value++) {
        char single[2] = {static_cast<char>(value == 0 ? '.' : value), 0};
        Westring converted(single, codePage);
        codePageTable.AppendChar(converted.Length() == 1 ? converted[0] : char32_t(ReplacementChar));
    }
    tableCodePage = codePage;
}

bool CTextFile::GrowLineBuffer(int64_t count, int64_t needed) {
    int64_t capacity = lineCapacity;
    while (capacity < needed)
        capacity *= 2;
    char32_t* bigger = static_cast<char32_t*>(malloc(sizeof(char32_t) * size_t(capacity)));
    if (!bigger)
        return false;
    memcpy(bigger, lineBuffer, sizeof(char32_t) * size_t(count));
    free(lineBuffer);
    lineBuffer = bigger;
    lineCapacity = capacity;
    return true;
}

// The bytes from the position up to the next one that needs a closer look (a
// line end, NUL, or in UTF-8 the lead of a longer sequence), straight from the
// piece: one pass over them rather than a call per character.
int64_t CTextFile::TakePlainRun(int64_t count) {
    const uint64_t in = uint64_t(charPosition - pieceOffset);
    if (in >= pieceCount)
        return count;
    const unsigned char* bytes = piece + in;
    int64_t room = lineCapacity - count - 1;
    if (room <= 0) {
        if (!GrowLineBuffer(count, count + 2))
            return count;
        room = lineCapacity - count - 1;
    }
    const int64_t available = int64_t(pieceCount - in) < room ? int64_t(pieceCount - in) : room;
    char32_t* out = lineBuffer + count;
    int64_t i = 0;
    if (encoding == EncodingUtf8) {
        for (; i < available; i++) {
            const unsigned char b = bytes[i];
            if (b >= 0x80 || b == '\r' || b == '\n' || b == 0)
                break;
            out[i] = b;
        }
    } else {
        const char32_t* table = codePageTable.Data();
        for (; i < available; i++) {
            const unsigned char b = bytes[i];
            if (b == '\r' || b == '\n' || (b == 0 && keepNul))
                break;
            out[i] = table[b == 0 ? ' ' : b];
        }
    }
    charPosition += i;
    return count + i;
}

const char32_t* CTextFile::ReadLine(int64_t& length, int64_t maximum) {
    length = 0;
    if (!lineBuffer)
        return nullptr;
    if (encoding == EncodingCodePage && tableCodePage != int64_t(codePage))
        BuildCodePageTable();
    if (charPosition < bomLength)
        charPosition = bomLength;
    bigEndian = IsBigEndian();

    int64_t count = 0;
    uint32_t ender = NoChar;
    bool cut = false;
    const bool runs = piece && maximum < 1 && (encoding == EncodingCodePage || encoding == EncodingUtf8);
    for (;;) {
        if (runs)
            count = TakePlainRun(count);
        int64_t before = charPosition;
        uint32_t c = piece ? ReadSequentialChar() : ReadChar();
        if (c == NoChar || c == '\r' || c == '\n' || c == 0) {
            ender = c;
            break;
        }
        if (maximum >= 1 && count >= maximum) {
            // Given back: the next piece of the line starts with it.
            charPosition = before;
            cut = true;
            break;
        }
        if (count + 1 >= lineCapacity && !GrowLineBuffer(count, count + 2)) {
            // No room for more: deliver what fits, the rest comes next time.
            charPosition = before;
            cut = true;
            break;
        }
        lineBuffer[count++] = encoding == EncodingCodePage ? codePageTable[int(c & 0xFF)] : char32_t(c);
    }

    if (count == 0 && ender == NoChar) {
        lastLineEnd = LineEndNone;
        if (fileLineEnd == LineEndUnknown)
            fileLineEnd = LineEndCrLf;
        return nullptr;
    }

    int nul = 0, lf = 0, cr = 0;
    moreFollows = !cut && ender != NoChar;
    if (moreFollows) {
        uint32_t c = ender;
        int64_t before = charPosition;
        for (;;) {
            bool ends;
            if (c == '\n')
                ends = nul || lf;
            else if (c == '\r')
                ends = nul || lf || cr;
            else if (c == 0)
                ends = lf || cr || nul;
            else
                ends = true;
            if (ends) {
                charPosition = before;
                break;
            }
            if (c == '\n')
                lf++;
            if (c == '\r')
                cr++;
            if (c == 0)
                nul++;
            before = charPosition;
            c = piece ? ReadSequentialChar() : ReadChar();
        }
    }

    int kind = nul ? LineEndNul : cr ? (lf ? LineEndCrLf : LineEndCr) : lf ? LineEndLf : LineEndNone;
    lastLineEnd = kind;
    if (kind == LineEndNone) {
        if (fileLineEnd == LineEndUnknown)
            fileLineEnd = LineEndCrLf;
    } else if (fileLineEnd == LineEndUnknown) {
        fileLineEnd = kind;
    } else if (fileLineEnd != kind) {
        fileLineEnd = LineEndMixed;
    }

    lineBuffer[count] = 0;
    length = count;
    return lineBuffer;
}

uint32_t CTextFile::BeginRewrite() {
    Lock().Lock(INFINITE);
    uint32_t error = Rewind();
    if (error == 0 && bomFlag && encoding <= EncodingUtf8) {
        for (const TByteOrderMark& mark : ByteOrderMarks) {
            if (mark.encoding == encoding) {
                error = Write(mark.bytes, mark.length);
                break;
            }
        }
    }
    return error;
}

uint32_t CTextFile::WriteUnits(const char32_t* units, int n) {
    if (encoding == EncodingUnknown || n <= 0)
        return 0;
    if (encoding == EncodingUtf8 || encoding == EncodingCodePage) {
        Westring text;
        text.Assign(units, n);
        Estring bytes = encoding == EncodingUtf8 ? Estring(text) : Estring(text, codePage);
        return StdFile::WriteText(bytes.Data());
    }
    unsigned char chunk[4096];
    int used = 0;
    for (int i = 0; i < n; i++) {
        uint32_t c = units[i];
        uint32_t pieces[2] = {c, 0};
        int pieceCount = 1;
        int width = 4;
        if (encoding == EncodingUtf16LE || encoding == EncodingUtf16BE) {
            width = 2;
            char16_t units16[2] = {0, 0};  // the second stays unused outside the surrogate range
            pieceCount = EncodeUtf16(c, units16);
            pieces[0] = units16[0];
            pieces[1] = units16[1];
        }
        for (int p = 0; p < pieceCount; p++) {
            for (int k = 0; k < width; k++) {
                int shift = bigEndian ? 8 * (width - 1 - k) : 8 * k;
                chunk[used++] = static_cast<unsigned char>(pieces[p] >> shift);
            }
        }
        if (used > int(sizeof chunk) - 8 || i == n - 1) {
            uint32_t error = Write(chunk, used);
            if (error != 0)
                return error;
            used = 0;
        }
    }
    return 0;
}

uint32_t CTextFile::WriteText(const char32_t* text) {
    bigEndian = IsBigEndian();
    int n = 0;
    while (text[n])
        n++;
    return WriteUnits(text, n);
}

uint32_t CTextFile::WriteLine(const char32_t* text, int lineEndKind) {
    if (encoding == EncodingUnknown)
        return 0;
    uint32_t error = WriteText(text);
    if (error == 0 && lineEndKind >= LineEndCrLf && lineEndKind <= LineEndNul) {
        const char32_t* ending = LineEndTexts[lineEndKind];
        int n = LineEndLengths[lineEndKind];
        if (encoding == EncodingUtf8 || encoding == EncodingCodePage) {
            // The line end goes out as raw bytes, whatever the text mode.
            char bytes[2] = {static_cast<char>(ending[0]), static_cast<char>(ending[1])};
            error = Write(bytes, n);
        } else {
            error = WriteUnits(ending, n);
        }
    }
    return error != 0 ? Keep(error) : error;
}

uint32_t CTextFile::EndRewrite() {
    int64_t end = Tell();
    uint32_t error = Truncate(end);
    DropBlocks();
    SetKnownSize(end);
    if (error == 0)
        error = LastError();
    Lock().Unlock();
    return error;
}

int64_t CTextFile::Find(const Westring& pattern, int64_t start, bool caseSensitive, bool wholeWords, bool backwards,
                        bool (*stopRequested)()) {
    if (encoding == EncodingUnknown)
        DetectEncoding();
    if (encoding == EncodingUnknown || !IsOpen())
        return -1;
    bigEndian = IsBigEndian();

    // The caller's pattern stays as it is.
    Westring wanted = caseSensitive ? pattern : pattern.ToUpper();
    int length = wanted.Length();
    if (length == 0)
        return -2;
    if (backwards) {
        for (int i = 0, j = length - 1; i < j; i++, j--) {
            char32_t swap = wanted[i];
            wanted.SetAt(i, wanted[j]);
            wanted.SetAt(j, swap);
        }
    }

    charPosition = start < 0 ? bomLength : start;
    auto step = [&]() { return backwards ? PrevChar() : ReadChar(); };
    int matched = 0;
    int64_t candidate = charPosition;
    uint32_t previous = NoChar;  // the character stepped over last, none at the start
    for (uint32_t steps = 0;; steps++) {
        if (stopRequested != nullptr && steps % 1024 == 0 && stopRequested())
            return -1;
        if (matched == 0)
            candidate = charPosition;
        uint32_t raw = step();
        if (raw == NoChar)
            return -2;
        uint32_t c = caseSensitive ? raw : ToUpperChar(raw);
        bool equal = c == wanted[matched];
        if (equal && matched == 0 && wholeWords && previous != NoChar && IsWordCharacter(previous))
            equal = false;
        if (!equal) {
            if (matched > 0) {
                matched = 0;
                charPosition = candidate;
                previous = step();
                if (previous == NoChar)
                    return -2;
            } else {
                previous = raw;
            }
            continue;
        }
        previous = raw;
        if (++matched < length)
            continue;
        if (wholeWords) {
            int64_t here = charPosition;
            uint32_t next = step();
            charPosition = here;
            if (next != NoChar && IsWordCharacter(next)) {
                matched = 0;
                continue;
            }
        }
        return backwards ? charPosition : candidate;
    }
}

Estring CTextFile::EncodingName(int encoding, UINT codePage) {
    switch (encoding) {
    case EncodingUtf32LE:
    case EncodingUtf32BE: return Estring("UTF-32");
    case EncodingUtf16LE:
    case EncodingUtf16BE: return Estring("UTF-16");
    case EncodingUtf8: return Estring("UTF-8");
    case EncodingCodePage: {
        Estring name;
        name.Format("CP%d", int(codePage));
        return name;
    }
    default: return Estring();
    }
}
