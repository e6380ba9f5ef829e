#include "base/io/EError.h"

#include "base/io/StdFile.h"

EFileError::EFileError(const StdFile& file, const Westring& text)
    : EError(text + Westring(": ") + file.Path() + Westring(": ") + Westring(FormatSystemErrorA(file.LastError()))) {}
