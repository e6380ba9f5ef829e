// CellString: one line of screen cells, each a character with a colour
// attribute.
//
// Panels, windows, dialogs, the shadow screen and the terminal emulator build
// their lines as CellStrings and hand them to the console client. Lines of up
// to 20 cells live inside the object; longer ones take a heap block that grows
// by half and never shrinks. Characters added without an attribute take the
// string's default attribute. Beside the class stand small functions over
// arrays of cells ended by a cell whose character is 0.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

struct TCell {
    char32_t character;
    uint8_t attribute;
};

class CellString {
public:
    static constexpr int InlineCells = 20;
    // Light grey on black, until the owner sets its own.
    static constexpr uint8_t InitialAttribute = 0x07;

    CellString();
    explicit CellString(int room);                        // empty; exactly n cells when n > 20
    CellString(const char32_t* text, uint8_t attribute);  // attribute becomes the default
    CellString(const char* utf8, uint8_t attribute);
    CellString(const CellString& other);
    CellString(const CellString& first, const CellString& second);
    ~CellString();

    CellString& operator=(const CellString& other);  // cells and default attribute
    CellString& operator=(const char* latin1);       // one cell per byte, default attribute
    CellString& operator=(const char32_t* text);     // one cell per unit, default attribute
    void AssignCells(const TCell* cells, int n);

    CellString& operator+=(const CellString& other);
    CellString& operator+=(const Westring& text);  // default attribute
    CellString& operator+=(const TCell& cell);
    void AppendChar(char32_t character);  // default attribute
    // n cells; a negative n means up to the array's terminating cell.
    void AppendCells(const TCell* cells, int n);
    // At most n units of the text in the attribute; a negative n, or one past
    // the text's end, means the whole text.
    void AppendText(const char32_t* text, uint8_t attribute, int n);

    CellString Left(int n) const;
    // A negative count, or one reaching past the end, means to the end.
    CellString Mid(int start, int count) const;
    // Exactly n cells: cut, or filled with blanks in the default attribute.
    CellString Pad(int n) const;
    int FindLast(char32_t character) const;  // index or -1

    // Room for n cells keeping the contents, then length n; cells past the old
    // length are left for the caller to write.
    void SetLength(int n);
    // Room for n cells; the contents may be lost.
    void ReserveDiscard(int n);
    // Room for n cells keeping the contents (grows to n + n/2).
    void Grow(int n);

    const TCell* Data() const { return data; }
    TCell* Data() { return data; }
    int Length() const { return length; }
    int Capacity() const { return capacity; }
    uint8_t DefaultAttribute() const { return defaultAttribute; }
    void SetDefaultAttribute(uint8_t attribute) { defaultAttribute = attribute; }

private:
    bool IsInline() const { return data == inlineCells; }
    bool Holds(const void* p) const;

    TCell inlineCells[InlineCells];
    TCell* data;
    int length;
    int capacity;
    uint8_t defaultAttribute;
};

// Functions over arrays of cells ended by a cell whose character is 0. The
// 8-bit forms widen each byte as an unsigned value (Latin-1).
TCell* CellStrCopyChars(TCell* destination, const char* text, uint8_t attribute);
// At most n cells; no terminating cell is written when n is reached first.
TCell* CellStrCopyCharsN(TCell* destination, const char* text, uint8_t attribute, int n);
TCell* CellStrAppendChars(TCell* destination, const char* text, uint8_t attribute);
TCell* CellStrCopyUnits(TCell* destination, const char32_t* text, uint8_t attribute);
TCell* CellStrCopyUnitsN(TCell* destination, const char32_t* text, uint8_t attribute, int n);
TCell* CellStrAppendUnits(TCell* destination, const char32_t* text, uint8_t attribute);
TCell* CellStrCopy(TCell* destination, const TCell* source);
TCell* CellStrAppend(TCell* destination, const TCell* source);
int CellStrLength(const TCell* cells);
// 1 when the cells differ in character or attribute, else 0.
int CellsDiffer(const TCell& a, const TCell& b);
