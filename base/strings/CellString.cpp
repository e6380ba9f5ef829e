#include "base/strings/CellString.h"

#include <cstring>

namespace {

inline TCell MakeCell(char32_t character, uint8_t attribute) {
    TCell cell;
    cell.character = character;
    cell.attribute = attribute;
    return cell;
}

// 8-bit text is widened byte by byte (Latin-1), 32-bit text taken as it is.
inline char32_t Widen(char c) {
    return static_cast<unsigned char>(c);
}
inline char32_t Widen(char32_t c) {
    return c;
}

template <class Char>
int TextLength(const Char* text) {
    int n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

// Copies up to `limit` characters (a negative limit: all) as cells, then the
// terminating cell unless the limit stopped the copy first.
template <class Char>
TCell* CopyAsCells(TCell* destination, const Char* text, uint8_t attribute, int limit) {
    int i = 0;
    for (; text[i] != 0; ++i) {
        if (limit >= 0 && i >= limit)
            return destination;
        destination[i] = MakeCell(Widen(text[i]), attribute);
    }
    if (limit < 0 || i < limit)
        destination[i] = MakeCell(0, attribute);
    return destination;
}

}  // namespace

CellString::CellString() : data(inlineCells), length(0), capacity(InlineCells), defaultAttribute(InitialAttribute) {}

CellString::CellString(int room) : CellString() {
    if (room > InlineCells) {
        data = new TCell[room];
        capacity = room;
    }
}

CellString::CellString(const char32_t* text, uint8_t attribute) : CellString() {
    defaultAttribute = attribute;
    *this = text;
}

CellString::CellString(const char* utf8, uint8_t attribute) : CellString(Westring(utf8).Data(), attribute) {}

CellString::CellString(const CellString& other) : CellString() {
    *this = other;
}

CellString::CellString(const CellString& first, const CellString& second) : CellString(first) {
    *this += second;
}

CellString::~CellString() {
    if (!IsInline())
        delete[] data;
}

bool CellString::Holds(const void* p) const {
    uintptr_t address = reinterpret_cast<uintptr_t>(p);
    uintptr_t start = reinterpret_cast<uintptr_t>(data);
    return address >= start && address < start + sizeof(TCell) * static_cast<size_t>(capacity);
}

CellString& CellString::operator=(const CellString& other) {
    if (this != &other) {
        AssignCells(other.data, other.length);
        defaultAttribute = other.defaultAttribute;
    }
    return *this;
}

CellString& CellString::operator=(const char* latin1) {
    int n = latin1 ? TextLength(latin1) : 0;
    ReserveDiscard(n);
    for (int i = 0; i < n; ++i)
        data[i] = MakeCell(Widen(latin1[i]), defaultAttribute);
    length = n;
    return *this;
}

CellString& CellString::operator=(const char32_t* text) {
    int n = text ? TextLength(text) : 0;
    ReserveDiscard(n);
    for (int i = 0; i < n; ++i)
        data[i] = MakeCell(text[i], defaultAttribute);
    length = n;
    return *this;
}

void CellString::AssignCells(const TCell* cells, int n) {
    if (n < 0)
        n = 0;
    // Cells taken from this string's own block are moved, never read after a release.
    if (Holds(cells)) {
        memmove(data, cells, sizeof(TCell) * n);
    } else {
        ReserveDiscard(n);
        if (n > 0)
            memcpy(data, cells, sizeof(TCell) * n);
    }
    length = n;
}

CellString& CellString::operator+=(const CellString& other) {
    AppendCells(other.data, other.length);
    return *this;
}

CellString& CellString::operator+=(const Westring& text) {
    AppendText(text.Data(), defaultAttribute, text.Length());
    return *this;
}

CellString& CellString::operator+=(const TCell& cell) {
    TCell copy = cell;  // the cell may live in this string's block
    Grow(length + 1);
    data[length++] = copy;
    return *this;
}

void CellString::AppendChar(char32_t character) {
    *this += MakeCell(character, defaultAttribute);
}

void CellString::AppendCells(const TCell* cells, int n) {
    if (n < 0)
        n = CellStrLength(cells);
    if (n == 0)
        return;
    // Appending a part of itself: find the source again after the block moves.
    bool own = Holds(cells);
    ptrdiff_t offset = own ? cells - data : 0;
    Grow(length + n);
    if (own)
        cells = data + offset;
    memmove(data + length, cells, sizeof(TCell) * n);
    length += n;
}

void CellString::AppendText(const char32_t* text, uint8_t attribute, int n) {
    int textLength = TextLength(text);
    if (n < 0 || n > textLength)
        n = textLength;
    Grow(length + n);
    for (int i = 0; i < n; ++i)
        data[length + i] = MakeCell(text[i], attribute);
    length += n;
}

CellString CellString::Left(int n) const {
    return Mid(0, n < 0 ? 0 : n);
}

CellString CellString::Mid(int start, int count) const {
    if (start < 0)
        start = 0;
    if (start > length)
        start = length;
    if (count < 0 || count > length - start)
        count = length - start;
    CellString part(count);
    part.defaultAttribute = defaultAttribute;
    part.AssignCells(data + start, count);
    return part;
}

CellString CellString::Pad(int n) const {
    if (n < 0)
        n = 0;
    CellString padded = Left(n);
    while (padded.length < n)
        padded.AppendChar(' ');
    return padded;
}

int CellString::FindLast(char32_t character) const {
    for (int i = length - 1; i >= 0; --i)
        if (data[i].character == character)
            return i;
    return -1;
}

void CellString::SetLength(int n) {
    if (n < 0)
        n = 0;
    Grow(n);
    length = n;
}

void CellString::ReserveDiscard(int n) {
    if (capacity >= n)
        return;
    if (!IsInline())
        delete[] data;
    // Back to the inline cells first, so a failed allocation leaves a sound string.
    data = inlineCells;
    capacity = InlineCells;
    length = 0;
    data = new TCell[n];
    capacity = n;
}

void CellString::Grow(int n) {
    if (capacity >= n)
        return;
    int newCapacity = n + n / 2;
    TCell* block = new TCell[newCapacity];
    memcpy(block, data, sizeof(TCell) * capacity);
    if (!IsInline())
        delete[] data;
    data = block;
    capacity = newCapacity;
}

TCell* CellStrCopyChars(TCell* destination, const char* text, uint8_t attribute) {
    return CopyAsCells(destination, text, attribute, -1);
}

TCell* CellStrCopyCharsN(TCell* destination, const char* text, uint8_t attribute, int n) {
    return CopyAsCells(destination, text, attribute, n < 0 ? 0 : n);
}

TCell* CellStrAppendChars(TCell* destination, const char* text, uint8_t attribute) {
    CopyAsCells(destination + CellStrLength(destination), text, attribute, -1);
    return destination;
}

TCell* CellStrCopyUnits(TCell* destination, const char32_t* text, uint8_t attribute) {
    return CopyAsCells(destination, text, attribute, -1);
}

TCell* CellStrCopyUnitsN(TCell* destination, const char32_t* text, uint8_t attribute, int n) {
    return CopyAsCells(destination, text, attribute, n < 0 ? 0 : n);
}

TCell* CellStrAppendUnits(TCell* destination, const char32_t* text, uint8_t attribute) {
    CopyAsCells(destination + CellStrLength(destination), text, attribute, -1);
    return destination;
}

TCell* CellStrCopy(TCell* destination, const TCell* source) {
    int n = CellStrLength(source);
    memmove(destination, source, sizeof(TCell) * (n + 1));
    return destination;
}

TCell* CellStrAppend(TCell* destination, const TCell* source) {
    CellStrCopy(destination + CellStrLength(destination), source);
    return destination;
}

int CellStrLength(const TCell* cells) {
    int n = 0;
    while (cells[n].character != 0)
        ++n;
    return n;
}

int CellsDiffer(const TCell& a, const TCell& b) {
    return (a.character != b.character || a.attribute != b.attribute) ? 1 : 0;
}
