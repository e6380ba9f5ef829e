#include "viewedit/FormatSelectDlg.h"

#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "base/io/TextFile.h"
#include "base/strings/ConsoleCodePage.h"

namespace {

// Radio value and byte order for each encoding number.
struct TEncodingChoice {
    int32_t radio;
    uint8_t bigEndian;
};
const TEncodingChoice EncodingChoices[] = {
    {3, 0},  // UTF-32LE
    {3, 1},  // UTF-32BE
    {2, 0},  // UTF-16LE
    {2, 1},  // UTF-16BE
    {1, 0},  // UTF-8
    {0, 0},  // code page
};

}  // namespace

CFormatSelectDlg::CFormatSelectDlg(const char* title, int32_t* encoding, int32_t* codePage, uint8_t* byteOrderMark,
                                   int extraRows)
    : Dialog(-1, -4, 60, extraRows + 9, ColourOf(ColourMessages)), encoding(encoding), codePage(codePage),
      byteOrderMark(byteOrderMark), radio(0), bigEndian(0), lastRadio(0), startRadio(0),
      startByteOrderMark(*byteOrderMark) {
    const uint8_t attribute = Attribute();
    Estring framed = Estring(" ") + title + " ";
    WriteCentred(-1, framed.Data(), attribute);
    if (*encoding >= 0 && *encoding < int32_t(sizeof EncodingChoices / sizeof EncodingChoices[0])) {
        radio = EncodingChoices[*encoding].radio;
        bigEndian = EncodingChoices[*encoding].bigEndian;
    }
    startRadio = lastRadio = radio;
    if (*codePage == 0)
        *codePage = static_cast<int32_t>(GetTextCodePage());

    const int y = extraRows;
    WriteText(1, y + 1, "File Format:", attribute);
    AddRadioButton(14, y + 1, 2, &radio, 0, "Code Page");
    AddRadioButton(14, y + 2, 0, &radio, 1, "UTF-8");
    AddRadioButton(14, y + 3, 0, &radio, 2, "UTF-16");
    AddRadioButton(14, y + 4, 0, &radio, 3, "UTF-32");
    WriteText(34, y + 1, "Code Page:", attribute);
    AddIntegerField(45, y + 1, 1, codePage, 5, 0, FieldKindNoHistory);
    AddCheckBox(34, y + 2, 1, byteOrderMark, "Byte Order Mark", 1);
    AddCheckBox(34, y + 3, 0, &bigEndian, "Big-Endian", 1);
    AddOkCancelButtons(-1, -1, 1);
    SetHotKeys(extraRows > 0 ? "c863pben" : "c863pbe", extraRows > 0 ? 8 : 7);
}

void CFormatSelectDlg::OnEventHandled() {
    if (radio == lastRadio)
        return;
    if (radio == startRadio) {
        *byteOrderMark = startByteOrderMark;
        DrawElement(-1);
    } else if (radio == 2 || radio == 3) {
        *byteOrderMark = 1;
        DrawElement(-1);
    }
    lastRadio = radio;
}

int CFormatSelectDlg::Run() {
    int result;
    do {
        result = Dialog::Run();
    } while (result != 13 && result != 27);
    if (result == 13) {
        switch (radio) {
        case 1: *encoding = CTextFile::EncodingUtf8; break;
        case 2: *encoding = CTextFile::EncodingUtf16LE + bigEndian; break;
        case 3: *encoding = CTextFile::EncodingUtf32LE + bigEndian; break;
        default: *encoding = CTextFile::EncodingCodePage; break;
        }
    }
    return result;
}
