// CCaseTable: the system's own Unicode case table.
//
// All case-insensitive comparison of 32-bit text goes through it, independent
// of the Windows locale. It is built once, on first use, from two generated
// lists of simple case mappings (CaseTableData.cpp), into pages of 256 code
// points up to U+104FF; a missing page maps every code point to itself.
#pragma once

#include <cstdint>

class CCaseTable {
public:
    static const int PageCount = 261;  // U+0000 .. U+104FF

    // One line of a source list: a lower or upper of 0 keeps the case.
    struct TCaseTriple {
        uint16_t code;
        uint16_t lower;
        uint16_t upper;
    };
    // One entry of a page: the low 16 bits of both mappings.
    struct TCasePair {
        uint16_t lower;
        uint16_t upper;
    };

    // The process-wide table, built on the first call (once, also when threads race).
    static const CCaseTable& Instance();
    // Drops the pages at process exit; the table then maps everything to itself.
    static void ReleaseInstance();

    CCaseTable();
    ~CCaseTable();
    CCaseTable(const CCaseTable&) = delete;
    CCaseTable& operator=(const CCaseTable&) = delete;

    // Loads a list ended by a code of 0; the plane is added to every code.
    void LoadPlane(const TCaseTriple* list, unsigned plane);

    // Inline, with ASCII answered without the pages: names are mostly ASCII
    // and sorting folds every character it compares.
    char32_t ToLower(char32_t c) const {
        if (c < 0x80 && asciiPlain)
            return c - U'A' < 26u ? c + 32 : c;
        unsigned pageNumber = c >> 8;
        if (pageNumber >= (unsigned)PageCount || !pages[pageNumber])
            return c;
        return (c & 0xF0000) | pages[pageNumber][c & 255].lower;
    }
    char32_t ToUpper(char32_t c) const {
        if (c < 0x80 && asciiPlain)
            return c - U'a' < 26u ? c - 32 : c;
        unsigned pageNumber = c >> 8;
        if (pageNumber >= (unsigned)PageCount || !pages[pageNumber])
            return c;
        return (c & 0xF0000) | pages[pageNumber][c & 255].upper;
    }
    void LowerInPlace(char32_t* text) const;
    void UpperInPlace(char32_t* text) const;

private:
    void FreePages();
    // Whether the pages map ASCII as the plain A-Z/a-z pairs and nothing else.
    bool AsciiIsPlain() const;

    TCasePair* pages[PageCount];
    bool asciiPlain = false;  // ASCII may take the inline path
};

// The generated source lists (plane 0 and plane 1, codes without their plane).
extern const CCaseTable::TCaseTriple CaseListPlane0[];
extern const CCaseTable::TCaseTriple CaseListPlane1[];

char32_t ToUpperChar(char32_t c);
char32_t ToLowerChar(char32_t c);
void Str32UpperInPlace(char32_t* text);
void Str32LowerInPlace(char32_t* text);
