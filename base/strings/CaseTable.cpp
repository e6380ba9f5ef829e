#include "base/strings/CaseTable.h"

#include <cstdlib>

namespace {

CCaseTable* NewInstance() {
    CCaseTable* table = new CCaseTable();
    atexit(CCaseTable::ReleaseInstance);
    return table;
}

CCaseTable*& InstanceSlot() {
    // The table object itself is never deleted: code that runs during exit after
    // the release still gets a valid (identity) table.
    static CCaseTable* instance = NewInstance();
    return instance;
}

}  // namespace

const CCaseTable& CCaseTable::Instance() {
    return *InstanceSlot();
}

void CCaseTable::ReleaseInstance() {
    InstanceSlot()->FreePages();
}

CCaseTable::CCaseTable() {
    for (TCasePair*& page : pages)
        page = nullptr;
    LoadPlane(CaseListPlane0, 0);
    LoadPlane(CaseListPlane1, 1);
}

CCaseTable::~CCaseTable() {
    FreePages();
}

void CCaseTable::FreePages() {
    asciiPlain = false;
    for (TCasePair*& page : pages) {
        delete[] page;
        page = nullptr;
    }
}

bool CCaseTable::AsciiIsPlain() const {
    if (!pages[0])
        return false;
    for (char32_t c = 0; c < 0x80; c++) {
        char32_t lower = c >= 'A' && c <= 'Z' ? c + 32 : c;
        char32_t upper = c >= 'a' && c <= 'z' ? c - 32 : c;
        if (pages[0][c].lower != lower || pages[0][c].upper != upper)
            return false;
    }
    return true;
}

void CCaseTable::LoadPlane(const TCaseTriple* list, unsigned plane) {
    for (; list->code; list++) {
        char32_t c = list->code | (char32_t)(plane << 16);
        unsigned pageNumber = c >> 8;
        if (pageNumber >= (unsigned)PageCount)
            continue;
        TCasePair*& page = pages[pageNumber];
        if (!page) {
            page = new TCasePair[256];
            for (unsigned i = 0; i < 256; i++) {
                uint16_t self = (uint16_t)((pageNumber << 8) | i);
                page[i].lower = self;
                page[i].upper = self;
            }
        }
        TCasePair& entry = page[c & 255];
        entry.lower = list->lower ? list->lower : (uint16_t)c;
        entry.upper = list->upper ? list->upper : (uint16_t)c;
    }
    asciiPlain = AsciiIsPlain();
}

void CCaseTable::LowerInPlace(char32_t* text) const {
    for (; *text; text++)
        *text = ToLower(*text);
}

void CCaseTable::UpperInPlace(char32_t* text) const {
    for (; *text; text++)
        *text = ToUpper(*text);
}

char32_t ToUpperChar(char32_t c) {
    return CCaseTable::Instance().ToUpper(c);
}

char32_t ToLowerChar(char32_t c) {
    return CCaseTable::Instance().ToLower(c);
}

void Str32UpperInPlace(char32_t* text) {
    CCaseTable::Instance().UpperInPlace(text);
}

void Str32LowerInPlace(char32_t* text) {
    CCaseTable::Instance().LowerInPlace(text);
}
