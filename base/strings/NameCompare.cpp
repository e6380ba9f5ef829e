#include "base/strings/NameCompare.h"

namespace {

struct TTableFold {
    const CCaseTable& table;
    char32_t operator()(char32_t c) const { return table.ToUpper(c); }
};

}  // namespace

bool IsAsciiDigit(char32_t c) {
    return name_order::IsDigit(c);
}

int NamePlainCompare(const char32_t* a, const char32_t* b) {
    return name_order::PlainCompare(a, b, TTableFold{CCaseTable::Instance()});
}

int NameNaturalCompare(const char32_t* a, const char32_t* b) {
    return name_order::NaturalCompare(a, b, TTableFold{CCaseTable::Instance()});
}
