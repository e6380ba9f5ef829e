#include "console/StreamWriteConsole.h"

#include "console/Console.h"

bool CStreamWriteConsole::Write(const char* text, uint32_t length) {
    if (console == nullptr || text == nullptr) {
        return true;
    }
    uint32_t n = 0;
    while (n < length && text[n] != 0) {
        ++n;
    }
    Estring part;
    part.Assign(text, static_cast<int>(n));
    console->WriteTty(part.Data());
    return true;
}
