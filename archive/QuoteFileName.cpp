#include "archive/QuoteFileName.h"

Westring QuoteFileName(const Westring& name) {
    static const char32_t needsQuotes[] = {' ', '%', '&', '+', ','};
    bool quote = name.Length() > 0 && name[0] == '-';
    for (char32_t c : needsQuotes) {
        quote = quote || name.Find(c) >= 0;
    }
    if (!quote) {
        return name;
    }
    return Westring("\"") + name + Westring("\"");
}
