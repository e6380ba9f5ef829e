#include "fileops/FileContainsText.h"

#include "base/io/TextFile.h"
#include "base/mask/MaskExpression.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Estring.h"
#include "fileops/find/SearchFileForText.h"

uint32_t FindCodePage = 0;

int64_t FileContainsText(const Westring& path, const Westring& text, bool caseSensitive, bool wholeWords) {
    CTextFile file;
    if (file.Open(path, StdFile::ModeRead, StdFile::ShareReadWrite) != 0)
        return FileTextUnreadable;
    if (text.IsEmpty())
        return FileTextNotFound;
    int64_t result;
    switch (file.Encoding()) {
    case CTextFile::EncodingUnknown:
        // Nothing to tell the encoding by (an empty file among others): no
        // text can be in it.
        return FileTextNotFound;
    case CTextFile::EncodingCodePage: {
        const uint32_t codePage = FindCodePage != 0 ? FindCodePage : GetTextCodePage();
        // A text the code page cannot spell at all is in no file of it (and
        // the byte search would answer that as a break).
        if (Estring(text, codePage).IsEmpty())
            return FileTextNotFound;
        result = SearchFileForText(file, 0, text, false, caseSensitive, wholeWords, codePage);
        break;
    }
    default: result = file.Find(text, -1, caseSensitive, wholeWords, false, SearchBreakRequested); break;
    }
    // With the encoding known and the text not empty, both searches answer -1
    // only for a break; anything else negative is "not there".
    if (result == -1)
        return FileTextBroken;
    return result < 0 ? FileTextNotFound : result;
}

void InstallMaskTextSearch() {
    MaskTextSearch = FileContainsText;
}
