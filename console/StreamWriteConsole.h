// CStreamWriteConsole: a text sink that writes to the console at the cursor,
// teletype style (the script language's default output).
#pragma once

#include <cstdint>

#include "base/io/StreamWrite.h"

class CConsole;

class CStreamWriteConsole : public CStreamWriteBase {
public:
    explicit CStreamWriteConsole(CConsole* console) : console(console) {}

    // Writes the text up to its first NUL or its length, whichever comes
    // first; always true.
    bool Write(const char* text, uint32_t length) override;
    bool Close() override { return true; }

private:
    CConsole* console;  // not owned
};
