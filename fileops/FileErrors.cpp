#include "fileops/FileErrors.h"

#include "app/panels/Panel.h"
#include "base/os/PathNormalizer.h"
#include "base/os/SystemError.h"
#include "ui/MessageBox.h"

namespace {

struct TErrorRow {
    int code;
    const char* text;
    bool retryable;
    bool showsDestination;
};

const TErrorRow ErrorRows[] = {
    {2, "File not found", false, false},     {3, "Path not found", false, true},
    {5, "Access Denied", true, false},       {19, "Disk write protected, cannot write", true, false},
    {21, "Drive not ready", true, false},    {23, "Error reading disk", true, false},
    {27, "Error reading disk", true, false}, {32, "Sharing violation", true, false},
    {82, "Cannot create", true, false},      {112, "No room for", true, false},
    {123, "Invalid name", false, false},     {206, "Name too long", false, true},
};

// The skipped item's name: the part after the active panel's directory when
// the source lies in or below it, else the whole path.
Westring SkippedName(const Westring& source) {
    if (Panels == nullptr) {
        return source;
    }
    Westring directory = RemoveTrailingBackslash(Westring(Panels[ActiveSide].path));
    if (directory.IsEmpty() || !IsSameOrSubPath(directory, source) || source.Length() == directory.Length()) {
        return source;
    }
    return source.Mid(directory.Length() + 1, 0);
}

}  // namespace

void CSkippedCopyList::Append(const Westring& name, const Westring& reason) {
    Add(new TSkippedCopy{name, reason});
}

CSkippedCopyList& SkippedCopies() {
    static CSkippedCopyList list;
    return list;
}

TFileErrorText DescribeFileError(int code) {
    for (const TErrorRow& row : ErrorRows) {
        if (row.code == code) {
            return {Westring(row.text), row.retryable, row.showsDestination};
        }
    }
    return {FormatSystemError(static_cast<DWORD>(code)), true, false};
}

void ReportFileError(int& code, int& stop, const char32_t* source, const char32_t* destination, uint32_t flags) {
    TFileErrorText error = DescribeFileError(code);
    Westring sourcePath(source);
    if (error.retryable && (flags & CopyOptionSkipOnError) != 0) {
        stop = 1;
        SkippedCopies().Append(SkippedName(sourcePath), error.text);
        return;
    }
    Westring path = error.showsDestination && destination != nullptr ? Westring(destination) : sourcePath;
    unsigned answer =
        ShowMessageBox(error.text, path, error.retryable ? MessageBoxRetrySkipCancel : MessageBoxOkCancel);
    if (answer == 27) {
        code = -1;
    }
    stop = answer == 'r' ? 0 : 1;
}
