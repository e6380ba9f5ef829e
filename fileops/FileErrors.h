// The one way a file operation asks the user about a Windows error, and the
// list of items the copy commands skipped without asking.
//
// ReportFileError turns the code into a short text, offers Retry/Skip/Cancel
// for errors that may go away and OK/Cancel for those that will not, and says
// whether the caller retries, gives the item up or stops. With the automatic
// skip option a retryable error is recorded in the skip list instead.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "base/strings/Westring.h"

// Bit of the copy option word that records retryable errors in the skip list
// instead of asking ("Skip On Error").
const uint32_t CopyOptionSkipOnError = 8;

// One item a copy or move skipped: its path (relative to the active panel's
// directory when it lies in or below it, else full) and the error's text.
struct TSkippedCopy {
    Westring name;
    Westring reason;
};

class CSkippedCopyList : public TObjectStore<TSkippedCopy> {
public:
    void Append(const Westring& name, const Westring& reason);
};

// The one skip list of the program, emptied before every operation.
CSkippedCopyList& SkippedCopies();

// What the table says about one code: its text, whether Retry is offered, and
// whether the destination (when given) is the path shown.
struct TFileErrorText {
    Westring text;
    bool retryable;
    bool showsDestination;
};
TFileErrorText DescribeFileError(int code);

// Asks about `code` for `source` (and `destination`, may be null). On return
// stop is 0 to retry and 1 to give the item up; code is -1 when the user
// cancelled the whole operation. Only CopyOptionSkipOnError of flags is read.
void ReportFileError(int& code, int& stop, const char32_t* source, const char32_t* destination, uint32_t flags);
