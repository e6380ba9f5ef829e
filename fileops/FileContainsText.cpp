#include "fileops/FileContainsText.h"

#include "base/io/TextFile.h"
#include "base/mask/MaskExpression.h"

int64_t FileContainsText(const Westring& path, const Westring& text, bool caseSensitive, bool wholeWords) {
    CTextFile file;
    if (file.Open(path, StdFile::ModeRead, StdFile::ShareReadWrite) != 0) return FileTextUnreadable;
    return file.Find(text, -1, caseSensitive, wholeWords, false);
}

void InstallMaskTextSearch() {
    MaskTextSearch = FileContainsText;
}
