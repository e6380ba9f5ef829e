#include "viewedit/FormatSelectDlg.h"

#include <gtest/gtest.h>

#include "base/io/TextFile.h"
#include "tests/ui/UiConsole.h"

namespace {

class FormatSelectDlgTest : public qvtest::UiConsole {
protected:
    // Alt and a hot letter or digit, as the host sends it.
    void Alt(char key) {
        int code = key >= '1' && key <= '9' ? KEY_ALT_1 + (key - '1') : KeyAltLetter(key);
        Key(code, key, SHIFT_ALT);
    }
};

TEST_F(FormatSelectDlgTest, UnicodeTurnsTheByteOrderMarkOnAndGoingBackRestoresIt) {
    int32_t encoding = CTextFile::EncodingCodePage;
    int32_t codePage = 850;
    uint8_t mark = 0;
    CFormatSelectDlg dialog("Select File Encoding", &encoding, &codePage, &mark);
    EXPECT_NE(Row(dialog.Top()).find(" Select File Encoding "), std::string::npos) << Row(dialog.Top());
    Alt('6');
    Alt('c');
    Alt('3');
    Alt('e');
    Key(13, 13);
    EXPECT_EQ(dialog.Run(), 13);
    EXPECT_EQ(encoding, CTextFile::EncodingUtf32BE);
    EXPECT_EQ(mark, 1);
    EXPECT_EQ(codePage, 850);
}

TEST_F(FormatSelectDlgTest, StartsFromTheEncodingAndEscKeepsTheValues) {
    struct TCase {
        int32_t encoding;
        int32_t radio;
        uint8_t bigEndian;
    };
    const TCase cases[] = {
        {CTextFile::EncodingUtf32LE, 3, 0}, {CTextFile::EncodingUtf32BE, 3, 1}, {CTextFile::EncodingUtf16LE, 2, 0},
        {CTextFile::EncodingUtf16BE, 2, 1}, {CTextFile::EncodingUtf8, 1, 0},    {CTextFile::EncodingCodePage, 0, 0},
    };
    for (const TCase& c : cases) {
        int32_t encoding = c.encoding;
        int32_t codePage = 0;
        uint8_t mark = 0;
        CFormatSelectDlg dialog("Select File Encoding", &encoding, &codePage, &mark);
        EXPECT_EQ(dialog.RadioValue(), c.radio) << c.encoding;
        EXPECT_EQ(dialog.BigEndian(), c.bigEndian) << c.encoding;
        EXPECT_NE(codePage, 0) << "a code page of 0 becomes the text code page";
        Alt('8');
        Key(27, 27);
        EXPECT_EQ(dialog.Run(), 27);
        EXPECT_EQ(encoding, c.encoding);
    }
}

TEST_F(FormatSelectDlgTest, EnterSetsTheEncodingOfTheChoice) {
    struct TCase {
        char letter;
        int32_t encoding;
    };
    const TCase cases[] = {{'8', CTextFile::EncodingUtf8},
                           {'6', CTextFile::EncodingUtf16LE},
                           {'3', CTextFile::EncodingUtf32LE},
                           {'c', CTextFile::EncodingCodePage}};
    for (const TCase& c : cases) {
        int32_t encoding = CTextFile::EncodingUtf16BE;
        int32_t codePage = 1252;
        uint8_t mark = 0;
        CFormatSelectDlg dialog("Select File Encoding", &encoding, &codePage, &mark);
        Alt('e');  // off: the start was big-endian
        Alt(c.letter);
        Key(13, 13);
        EXPECT_EQ(dialog.Run(), 13);
        EXPECT_EQ(encoding, c.encoding) << c.letter;
    }
}

}  // namespace
