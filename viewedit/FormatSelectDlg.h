// CFormatSelectDlg: chooses a file's format: code page, UTF-8, UTF-16 or
// UTF-32, the code page number, the byte-order mark and the byte order. The
// viewer's and the editor's "Select File Encoding" and the editor's Save As
// build on it.
#pragma once

#include <cstdint>

#include "ui/Dialog.h"

class CFormatSelectDlg : public Dialog {
public:
    // The values are read at construction and written by Run on Enter;
    // extraRows rows above the format fields are left for a subclass.
    CFormatSelectDlg(const char* title, int32_t* encoding, int32_t* codePage, uint8_t* byteOrderMark,
                     int extraRows = 0);
    // 13 (the values set) or 27.
    int Run();

    int32_t RadioValue() const { return radio; }
    uint8_t BigEndian() const { return bigEndian; }

protected:
    void OnEventHandled() override;

    int32_t* encoding;
    int32_t* codePage;
    uint8_t* byteOrderMark;
    int32_t radio;  // 0 code page, 1 UTF-8, 2 UTF-16, 3 UTF-32
    uint8_t bigEndian;
    int32_t lastRadio;
    int32_t startRadio;
    uint8_t startByteOrderMark;
};
